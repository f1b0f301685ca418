#pragma once
// The built-in engine, tunecore, that menuhost carries as its resource
// BINDATA/BINP: written to a temporary file at start, loaded, and gone again
// (file included) at the end of the run, whatever happened in between.
#include <cstdint>
#include <string>

#include "framework/Win32.h"

namespace orb {

// tunecore's file-format codes.
enum class EngineFormat : int32_t { Wave = 1, OggVorbis = 2, MpegAudio = 4, TrackerModule = 5 };

class BuiltInEngine {
public:
    // Extracts the resource "BINP" of type "BINDATA" from module (this program
    // when none) and loads it. Throws when the file cannot be written or the
    // resource is missing; a file that does not load leaves the engine unloaded.
    explicit BuiltInEngine(HMODULE module = nullptr, const wchar_t* resourceName = L"BINP");
    // Stops the sound, unloads the library and deletes its file.
    ~BuiltInEngine();
    BuiltInEngine(const BuiltInEngine&) = delete;
    BuiltInEngine& operator=(const BuiltInEngine&) = delete;

    // The one engine of the process, or none outside its lifetime.
    static BuiltInEngine* current();

    bool loaded() const { return module_ != nullptr; }
    const std::string& libraryPath() const { return path_; }
    bool hasPlayFile() const { return playFile_ != nullptr; }

    // Only while loaded. The bytes stay ours and must outlive the sound.
    void play(const void* data, int32_t size, bool loop, EngineFormat format) const;
    void stop() const;
    bool isPlaying() const;

private:
    using PlayFn = void (*)(const void*, int32_t, uint8_t, int32_t);
    using PlayFileFn = void (*)(const char*, uint8_t);
    using StopFn = void (*)();
    using IsPlayingFn = int32_t (*)();

    void load();
    void unload();

    std::string path_;
    HMODULE module_ = nullptr;
    PlayFn play_ = nullptr;
    PlayFileFn playFile_ = nullptr;
    StopFn stop_ = nullptr;
    IsPlayingFn isPlaying_ = nullptr;
    BuiltInEngine* previous_ = nullptr;
};

}  // namespace orb
