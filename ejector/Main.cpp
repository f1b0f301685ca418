// ejector: opens the CD drive's door once menuhost has ended. menuhost cannot
// eject the disc it runs from while it still runs, so it starts this program
// and quits; the run mutex tells when it is gone.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>

#include "ejector/EjectorArgs.h"

namespace {

// False when menuhost still holds the mutex after about ten seconds.
bool waitUntilMenuEnds(const char* mutexName) {
    for (int retries = 0;; ++retries) {
        HANDLE mutex = CreateMutexA(nullptr, TRUE, mutexName);
        if (mutex && GetLastError() != ERROR_ALREADY_EXISTS) {
            CloseHandle(mutex);
            // Let the system finish with menuhost's files on the disc.
            Sleep(200);
            return true;
        }
        if (mutex) CloseHandle(mutex);
        if (retries == 20) return false;
        Sleep(500);
    }
}

void openDoor(char drive) {
    char root[3] = {drive, ':', '\0'};
    if (GetDriveTypeA(root) != DRIVE_CDROM) return;
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "cdaudio";
    open.lpstrElementName = root;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE,
                        reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return;
    MCI_SET_PARMS set{};
    mciSendCommandA(open.wDeviceID, MCI_SET, MCI_SET_DOOR_OPEN, reinterpret_cast<DWORD_PTR>(&set));
    MCI_GENERIC_PARMS close{};
    mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, reinterpret_cast<DWORD_PTR>(&close));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const orb::ejector::Request request = orb::ejector::parseCommandLine(GetCommandLineA());
    if (!request.drive) return 0;
    if (request.mutexName[0] && !waitUntilMenuEnds(request.mutexName)) return 0;
    openDoor(request.drive);
    return 0;
}
