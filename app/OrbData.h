#pragma once
// Embedded files (sounds, music, cursors, icons) carried in a project as
// "Data": a 4-byte size, then the file's bytes.
#include <cstdint>
#include <functional>
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

class TWaveData : public TCustomData {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
};

// Kinds DetectFormat tells apart.
enum class AudioKind { Unknown = 0, Wave = 1, Midi = 2, TrackerModule = 3, MpegAudio = 4, OggVorbis = 5 };

class TAudioData : public TCustomData {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    AudioKind detectFormat() const;
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
