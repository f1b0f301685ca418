#include "media/AudioPlayback.h"

#include <mmsystem.h>

#include <fstream>
#include <stdexcept>

#include "actions/TempFiles.h"
#include "media/BuiltInEngine.h"

namespace orb {

namespace {

std::wstring wideFromAnsi(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

void saveBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("Cannot write " + path);
}

EngineFormat engineFormatOf(AudioKind kind) {
    switch (kind) {
        case AudioKind::Wave: return EngineFormat::Wave;
        case AudioKind::TrackerModule: return EngineFormat::TrackerModule;
        case AudioKind::OggVorbis: return EngineFormat::OggVorbis;
        default: return EngineFormat::MpegAudio;
    }
}

}  // namespace

AudioPlayback::~AudioPlayback() { stop(); }

bool AudioPlayback::isPlaying() {
    switch (state_) {
        case AudioState::Midi: return midi_.isPlaying();
        case AudioState::None: return false;
        default: {
            const BuiltInEngine* engine = BuiltInEngine::current();
            return engine && engine->loaded() && engine->isPlaying();
        }
    }
}

void AudioPlayback::play(bool loop) {
    try {
        if (isPlaying()) return;
        stop();
        AudioKind kind = data_.detectFormat();
        switch (kind) {
            case AudioKind::Unknown: return;
            case AudioKind::Midi: playMidi(loop); return;
            default: {
                const BuiltInEngine* engine = BuiltInEngine::current();
                if (!engine || !engine->loaded()) return;
                const auto& bytes = data_.bytes();
                engine->play(bytes.data(), static_cast<int32_t>(bytes.size()), loop, engineFormatOf(kind));
                state_ = static_cast<AudioState>(kind);
            }
        }
    } catch (...) {
        // Music that cannot play stays silent.
    }
}

void AudioPlayback::playMidi(bool loop) {
    tempFile_ = NewTempFileName();
    state_ = AudioState::Midi;  // from here on Stop removes the file
    saveBytes(tempFile_, data_.bytes());
    midi_.fileName = wideFromAnsi(tempFile_);
    midi_.loop = loop;
    midi_.play();
}

void AudioPlayback::stop() {
    switch (state_) {
        case AudioState::None: break;
        case AudioState::Midi:
            midi_.stop();
            if (!tempFile_.empty()) DeleteFileA(tempFile_.c_str());
            tempFile_.clear();
            break;
        default:
            if (const BuiltInEngine* engine = BuiltInEngine::current(); engine && engine->loaded()) engine->stop();
    }
    state_ = AudioState::None;
}

SystemMediaPlayers::SystemMediaPlayers(PlaySoundFn playSound)
    : playSound_(playSound ? playSound : &PlaySoundW), previous_(mediaPlayers()) {
    setMediaPlayers(this);
}

SystemMediaPlayers::~SystemMediaPlayers() {
    stopAllWaves();
    if (mediaPlayers() == this) setMediaPlayers(previous_);
}

void SystemMediaPlayers::playWave(const std::vector<uint8_t>& bytes, bool wait) {
    if (bytes.empty()) return;
    // The sound plays from the value's own bytes; nothing is copied.
    playSound_(reinterpret_cast<LPCWSTR>(bytes.data()), nullptr, wait ? kWaveFlagsSync : kWaveFlagsAsync);
}

void SystemMediaPlayers::stopAllWaves() { playSound_(nullptr, nullptr, 0); }

std::unique_ptr<AudioDataPlayer> SystemMediaPlayers::newAudioPlayer(const TAudioData& data) {
    return std::make_unique<AudioPlayback>(data);
}

}  // namespace orb
