#include "media/BuiltInEngine.h"

#include <utility>

#include "actions/TempFiles.h"
#include "core/Errors.h"
#include "framework/Handles.h"

namespace orb {

namespace {

BuiltInEngine* g_current = nullptr;

template <class F>
F exportOf(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw OrbError("Cannot create file " + path);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw OrbError("Cannot write file " + path);
}

}  // namespace

BuiltInEngine* BuiltInEngine::current() { return g_current; }

BuiltInEngine::BuiltInEngine(HMODULE module, const wchar_t* resourceName) {
    path_ = NewTempFileName();
    try {
        std::vector<uint8_t> library = resourceBytes(L"BINDATA", resourceName, module);
        if (library.empty()) throw OrbError("Resource BINP not found");
        writeFile(path_, library);
    } catch (...) {
        DeleteFileA(path_.c_str());
        throw;
    }
    load();
    previous_ = std::exchange(g_current, this);
}

BuiltInEngine::~BuiltInEngine() {
    if (g_current == this) g_current = previous_;
    unload();
    // Even a library that never loaded leaves its file behind otherwise.
    DeleteFileA(path_.c_str());
    path_.clear();
}

void BuiltInEngine::load() {
    // A library that cannot load must not stop the program with a system box.
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    module_ = LoadLibraryA(path_.c_str());
    SetErrorMode(old);
    if (!module_) return;
    play_ = exportOf<PlayFn>(module_, "Orb_Audiere_Play");
    playFile_ = exportOf<PlayFileFn>(module_, "Orb_Audiere_PlayFile");
    stop_ = exportOf<StopFn>(module_, "Orb_Audiere_Stop");
    isPlaying_ = exportOf<IsPlayingFn>(module_, "Orb_Audiere_IsPlaying");
    if (!play_ || !stop_ || !isPlaying_) unload();
}

void BuiltInEngine::unload() {
    if (module_) {
        if (stop_) stop_();
        FreeLibrary(module_);
    }
    module_ = nullptr;
    play_ = nullptr;
    playFile_ = nullptr;
    stop_ = nullptr;
    isPlaying_ = nullptr;
}

void BuiltInEngine::play(const void* data, int32_t size, bool loop, EngineFormat format) const {
    if (play_) play_(data, size, loop ? 1 : 0, static_cast<int32_t>(format));
}

void BuiltInEngine::stop() const {
    if (stop_) stop_();
}

bool BuiltInEngine::isPlaying() const { return isPlaying_ && isPlaying_() != 0; }

}  // namespace orb
