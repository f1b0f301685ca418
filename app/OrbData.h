#pragma once
// Embedded files (sounds, music, cursors, icons) carried in a project as
// "Data": a 4-byte size, then the file's bytes.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/Component.h"
#include "core/Stream.h"

namespace orb {

class TCustomData : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    void assign(const TCustomData& source);
    void readData(Stream& stream);
    void writeData(Stream& stream) const;
    void clear();
    void setData(const uint8_t* bytes, size_t count);
    bool isEmpty() const { return bytes_.empty(); }
    bool hasData() const { return !bytes_.empty(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    std::function<void()> onChange;

protected:
    void notify() {
        if (onChange) onChange();
    }

private:
    std::vector<uint8_t> bytes_;
};

class TAudioData;

// The playback of one TAudioData: which player holds it, and its temporary file.
class AudioDataPlayer {
public:
    virtual ~AudioDataPlayer() = default;  // stops what it plays
    virtual bool isPlaying() = 0;
    virtual void play(bool loop) = 0;
    virtual void stop() = 0;
};

// The system's players behind the values. The values stay free of the
// platform; menuhost installs its media layer here for the run, and without
// one the values play nothing.
class MediaPlayers {
public:
    virtual ~MediaPlayers() = default;
    // The bytes as an in-memory wave file; wait returns only when it has finished.
    virtual void playWave(const std::vector<uint8_t>& bytes, bool wait) = 0;
    virtual void stopAllWaves() = 0;
    virtual std::unique_ptr<AudioDataPlayer> newAudioPlayer(const TAudioData& data) = 0;
};
MediaPlayers* mediaPlayers();
void setMediaPlayers(MediaPlayers* players);

class TWaveData : public TCustomData {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    // Nothing when empty; never waits for the sound.
    void play() const;
    void playSync() const;
    // Silences the system's wave player, even when this value is empty.
    void stopAll() const;
};

// Kinds DetectFormat tells apart.
enum class AudioKind { Unknown = 0, Wave = 1, Midi = 2, TrackerModule = 3, MpegAudio = 4, OggVorbis = 5 };

class TAudioData : public TCustomData {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    ~TAudioData() override;
    AudioKind detectFormat() const;

    bool isPlaying();
    // A sound that is still playing is not restarted.
    void play(bool loop);
    void stop();

private:
    AudioDataPlayer* player();
    std::unique_ptr<AudioDataPlayer> player_;
};

class TCursorData : public TCustomData {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
};

class TIconData : public TCustomData {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
};

AudioKind detectAudioFormat(const uint8_t* data, size_t size);

}  // namespace orb
