#include "app/OrbData.h"

#include <cstring>

#include "core/Errors.h"

namespace orb {

const ClassInfo& TCustomData::staticClass() {
    static const ClassInfo info{"TCustomData", &Persistent::staticClass(), {}, {}};
    return info;
}
const ClassInfo& TWaveData::staticClass() {
    static const ClassInfo info{"TWaveData", &TCustomData::staticClass(), {}, {}};
    return info;
}
const ClassInfo& TAudioData::staticClass() {
    static const ClassInfo info{"TAudioData", &TCustomData::staticClass(), {}, {}};
    return info;
}
const ClassInfo& TCursorData::staticClass() {
    static const ClassInfo info{"TCursorData", &TCustomData::staticClass(), {}, {}};
    return info;
}
const ClassInfo& TIconData::staticClass() {
    static const ClassInfo info{"TIconData", &TCustomData::staticClass(), {}, {}};
    return info;
}

bool TCustomData::readDefinedProperty(std::string_view name, const Value& value) {
    if (name != "Data") return false;
    if (value.tag != ValueTag::Binary) throw ReadError(kInvalidPropertyValue);
    MemoryView data({reinterpret_cast<const uint8_t*>(value.bytes.data()), value.bytes.size()});
    readData(data);
    return true;
}

void TCustomData::assign(const TCustomData& source) {
    if (&source != this) bytes_ = source.bytes_;
    notify();
}

void TCustomData::readData(Stream& stream) {
    clear();
    auto size = static_cast<int32_t>(stream.readU32());
    if (size > 0) {
        int64_t left = stream.size() - stream.position();
        if (left >= 0 && size > left) throw StreamError(kStreamReadError);
        bytes_.resize(static_cast<size_t>(size));
        stream.readExact(bytes_.data(), bytes_.size());
    }
    notify();
}

void TCustomData::writeData(Stream& stream) const {
    stream.writeU32(static_cast<uint32_t>(bytes_.size()));
    stream.writeExact(bytes_.data(), bytes_.size());
}

void TCustomData::clear() {
    if (bytes_.empty()) return;
    bytes_.clear();
    bytes_.shrink_to_fit();
    notify();
}

void TCustomData::setData(const uint8_t* bytes, size_t count) {
    clear();
    if (count == 0) return;
    bytes_.assign(bytes, bytes + count);
    notify();
}

AudioKind detectAudioFormat(const uint8_t* d, size_t size) {
    if (size < 49) return AudioKind::Unknown;
    auto at = [&](size_t offset, const char* tag) { return std::memcmp(d + offset, tag, std::strlen(tag)) == 0; };
    if (at(0, "RIFF") && at(8, "WAVE")) return AudioKind::Wave;
    if (at(0, "RIFF") && at(8, "RMID")) return AudioKind::Midi;
    if (at(0, "MThd")) return AudioKind::Midi;
    if (at(0, "OggS")) return AudioKind::OggVorbis;
    if (d[0] == 0xFF && (d[1] == 0xFF || d[1] == 0xFD || d[1] == 0xFB)) return AudioKind::MpegAudio;
    if (at(0, "Extended Module:")) return AudioKind::TrackerModule;
    if (at(44, "SCRM") || at(0, "IMPM")) return AudioKind::TrackerModule;
    if (size <= 1083) return AudioKind::Unknown;
    for (const char* tag : {"M.K.", "M!K!", "FLT4", "4CHN", "6CHN", "8CHN", "CD81", "OKTA", "16CN", "32CN", "    "})
        if (at(1080, tag)) return AudioKind::TrackerModule;
    // Anything long enough and not recognised is tried as MPEG audio.
    return AudioKind::MpegAudio;
}

AudioKind TAudioData::detectFormat() const { return detectAudioFormat(bytes().data(), bytes().size()); }

namespace {
MediaPlayers* g_mediaPlayers = nullptr;
}

MediaPlayers* mediaPlayers() { return g_mediaPlayers; }
void setMediaPlayers(MediaPlayers* players) { g_mediaPlayers = players; }

void TWaveData::play() const {
    if (hasData() && g_mediaPlayers) g_mediaPlayers->playWave(bytes(), false);
}

void TWaveData::playSync() const {
    if (hasData() && g_mediaPlayers) g_mediaPlayers->playWave(bytes(), true);
}

void TWaveData::stopAll() const {
    if (g_mediaPlayers) g_mediaPlayers->stopAllWaves();
}

TAudioData::~TAudioData() = default;

AudioDataPlayer* TAudioData::player() {
    if (!player_ && g_mediaPlayers) player_ = g_mediaPlayers->newAudioPlayer(*this);
    return player_.get();
}

bool TAudioData::isPlaying() { return player_ && player_->isPlaying(); }

void TAudioData::play(bool loop) {
    if (AudioDataPlayer* p = player()) p->play(loop);
}

void TAudioData::stop() {
    if (player_) player_->stop();
}

}  // namespace orb
