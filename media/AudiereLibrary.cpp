#include "media/AudiereLibrary.h"

namespace orb {

namespace {

enum Entry : size_t { kOpenDevice = 14, kOpenSampleSource = 17, kOpenSampleSourceW = 18, kOpenSound = 20 };

template <class F>
F as(FARPROC p) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(p));
}

}  // namespace

const std::array<const char*, AudiereLibrary::kEntryCount>& AudiereLibrary::entryNames() {
    // The 32-bit decorated names; our library exports them so on 64 bits too.
    static const std::array<const char*, kEntryCount> names{
        "_AdrCreateLoopPointSource@4", "_AdrCreateMemoryFile@8",      "_AdrCreatePinkNoise@0",
        "_AdrCreateSampleBuffer@20",   "_AdrCreateSampleBufferFromSource@4", "_AdrCreateSquareWave@8",
        "_AdrCreateTone@8",            "_AdrCreateWhiteNoise@0",      "_AdrEnumerateCDDevices@0",
        "_AdrGetSampleSize@4",         "_AdrGetSupportedAudioDevices@0", "_AdrGetSupportedFileFormats@0",
        "_AdrGetVersion@0",            "_AdrOpenCDDevice@4",          "_AdrOpenDevice@8",
        "_AdrOpenFile@8",              "_AdrOpenMIDIDevice@4",        "_AdrOpenSampleSource@8",
        "_AdrOpenSampleSourceW@8",     "_AdrOpenSampleSourceFromFile@8", "_AdrOpenSound@12",
        "_AdrOpenSoundEffect@12"};
    return names;
}

AudiereLibrary& AudiereLibrary::instance() {
    static AudiereLibrary library;
    return library;
}

void AudiereLibrary::load(const wchar_t* fileName) {
    if (module_) return;
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(fileName);
    SetErrorMode(old);
    if (!module) return;
    bool complete = true;
    for (size_t i = 0; i < kEntryCount; ++i) {
        entries_[i] = GetProcAddress(module, entryNames()[i]);
        complete &= entries_[i] != nullptr;
    }
    if (!complete) {
        FreeLibrary(module);
        entries_.fill(nullptr);
        return;
    }
    module_ = module;
}

void AudiereLibrary::unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    entries_.fill(nullptr);
}

adr::AudioDevice* AudiereLibrary::openDevice(const char* name, const char* parameters) const {
    using F = adr::AudioDevice*(ADR_CALL*)(const char*, const char*);
    return module_ ? as<F>(entries_[kOpenDevice])(name, parameters) : nullptr;
}

adr::SampleSource* AudiereLibrary::openSampleSource(const char* fileName, adr::FileFormat format) const {
    using F = adr::SampleSource*(ADR_CALL*)(const char*, adr::FileFormat);
    return module_ ? as<F>(entries_[kOpenSampleSource])(fileName, format) : nullptr;
}

adr::SampleSource* AudiereLibrary::openSampleSourceW(const wchar_t* fileName, adr::FileFormat format) const {
    using F = adr::SampleSource*(ADR_CALL*)(const wchar_t*, adr::FileFormat);
    return module_ ? as<F>(entries_[kOpenSampleSourceW])(fileName, format) : nullptr;
}

adr::OutputStream* AudiereLibrary::openSound(adr::AudioDevice* device, adr::SampleSource* source,
                                             bool streaming) const {
    using F = adr::OutputStream*(ADR_CALL*)(adr::AudioDevice*, adr::SampleSource*, bool);
    return module_ ? as<F>(entries_[kOpenSound])(device, source, streaming) : nullptr;
}

}  // namespace orb
