#pragma once
// The audio library as the music player reaches it: "audiere.dll" found by the
// system's ordinary search (our own folder first), usable only when it has
// every one of the 22 entry points we know, so that a foreign or cut-down
// file counts as absent.
#include <array>

#include "audio/AudioInterface.h"
#include "framework/Win32.h"

namespace orb {

class AudiereLibrary {
public:
    static constexpr size_t kEntryCount = 22;
    // The exported names, in the order of the entry table.
    static const std::array<const char*, kEntryCount>& entryNames();

    // The process's binding.
    static AudiereLibrary& instance();

    // Does nothing once the library is present.
    void load(const wchar_t* fileName = L"audiere.dll");
    bool available() const { return module_ != nullptr; }
    void unload();

    AudiereLibrary() = default;
    ~AudiereLibrary() { unload(); }
    AudiereLibrary(const AudiereLibrary&) = delete;
    AudiereLibrary& operator=(const AudiereLibrary&) = delete;

    // The entry points the music player calls; only while available.
    adr::AudioDevice* openDevice(const char* name, const char* parameters) const;
    adr::SampleSource* openSampleSource(const char* fileName, adr::FileFormat format) const;
    adr::SampleSource* openSampleSourceW(const wchar_t* fileName, adr::FileFormat format) const;
    adr::OutputStream* openSound(adr::AudioDevice* device, adr::SampleSource* source, bool streaming) const;
    // Any entry by its place in the table.
    FARPROC entry(size_t index) const { return entries_[index]; }

private:
    HMODULE module_ = nullptr;
    std::array<FARPROC, kEntryCount> entries_{};
};

}  // namespace orb
