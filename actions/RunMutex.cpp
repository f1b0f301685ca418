#include "actions/RunMutex.h"

#include <cstdio>
#include <cstdlib>

#include "framework/Handles.h"

namespace orb {

namespace {
KernelHandle g_mutex;
std::string g_name;
}  // namespace

void CreateRunMutex() {
    ReleaseRunMutex();
    // A name that keeps colliding with other objects is given up after a while: no eject then.
    for (int attempt = 0; attempt < 100; ++attempt) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        // A random signed 32-bit number; rand() gives 15 bits at a time.
        auto random = static_cast<int32_t>((static_cast<uint32_t>(std::rand()) << 30) ^
                                           (static_cast<uint32_t>(std::rand()) << 15) ^
                                           static_cast<uint32_t>(std::rand()));
        char name[64];
        std::snprintf(name, sizeof name, "%04u%02u%02u%02u%02u%02u%ld", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                      t.wSecond, static_cast<long>(random));
        HANDLE h = CreateMutexA(nullptr, TRUE, name);
        if (h && GetLastError() != ERROR_ALREADY_EXISTS) {
            g_mutex.reset(h);
            g_name = name;
            return;
        }
        if (h) CloseHandle(h);
    }
}

void ReleaseRunMutex() {
    g_mutex.reset();
    g_name.clear();
}

const std::string& RunMutexName() { return g_name; }

}  // namespace orb
