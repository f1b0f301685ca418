#pragma once
// Playing the media values: short sounds through the system's wave player
// straight from memory, music through the built-in engine or, for MIDI, the
// sequencer with a temporary file that lives exactly as long as the sound.
#include <memory>
#include <string>

#include "app/OrbData.h"
#include "media/MidiPlayer.h"

namespace orb {

// The system's sound-player flags: from memory, no default sound, no waiting
// when the player is busy; asynchronous unless the caller waits.
inline constexpr DWORD kWaveFlagsAsync = 0x2007, kWaveFlagsSync = 0x2006;

// Which player holds a TAudioData's sound.
enum class AudioState { None = 0, Wave = 1, Midi = 2, TrackerModule = 3, MpegAudio = 4, OggVorbis = 5 };

class AudioPlayback final : public AudioDataPlayer {
public:
    explicit AudioPlayback(const TAudioData& data) : data_(data) {}
    ~AudioPlayback() override;
    AudioPlayback(const AudioPlayback&) = delete;
    AudioPlayback& operator=(const AudioPlayback&) = delete;

    bool isPlaying() override;
    void play(bool loop) override;
    void stop() override;

    AudioState state() const { return state_; }
    const std::string& tempFile() const { return tempFile_; }
    const TOrbMidiPlayer& midiPlayer() const { return midi_; }

private:
    void playMidi(bool loop);

    const TAudioData& data_;
    TOrbMidiPlayer midi_;
    AudioState state_ = AudioState::None;
    std::string tempFile_;
};

// The media layer the values play through while it is installed.
class SystemMediaPlayers final : public MediaPlayers {
public:
    // How the system's sound player is called; replaceable to watch the calls.
    using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);

    explicit SystemMediaPlayers(PlaySoundFn playSound = nullptr);
    ~SystemMediaPlayers() override;
    SystemMediaPlayers(const SystemMediaPlayers&) = delete;
    SystemMediaPlayers& operator=(const SystemMediaPlayers&) = delete;

    void playWave(const std::vector<uint8_t>& bytes, bool wait) override;
    void stopAllWaves() override;
    std::unique_ptr<AudioDataPlayer> newAudioPlayer(const TAudioData& data) override;

private:
    PlaySoundFn playSound_;
    MediaPlayers* previous_;
};

}  // namespace orb
