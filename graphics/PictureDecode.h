#pragma once
// Decoding a graphic's file bytes into 32-bit images, without the system.
// Every reader here takes untrusted bytes: any failure ends in an empty result
// with status Failed, never in a crash or an allocation out of proportion.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/Bitmap32.h"
#include "graphics/PixelRoutines.h"

namespace orb {

class Graphic;

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Gif, Pcx, Ico, Cur, Ani, Wmf, Emf };

// Told apart by content, not by name: a stored TJvPcx holds a BMP, for one.
PictureFormat sniffPictureFormat(std::span<const uint8_t> bytes);

enum class DecodeStatus {
    Ok,
    Failed,            // broken, truncated, too large, or not a picture
    NotDecodableHere,  // metafiles and OLE picture streams: the system draws them
};

struct DecodedFrame {
    Bitmap32 image;
    int delayMs = 0;  // 0 for still pictures
};

struct DecodedPicture {
    DecodeStatus status = DecodeStatus::Failed;
    PictureFormat format = PictureFormat::Unknown;
    std::vector<DecodedFrame> frames;  // one for still pictures; never empty when Ok

    bool ok() const { return status == DecodeStatus::Ok; }
    int width() const { return frames.empty() ? 0 : frames[0].image.width(); }
    int height() const { return frames.empty() ? 0 : frames[0].image.height(); }
};

struct DecodeLimits {
    // All frames of one picture together; animated files repeat a full canvas
    // per frame, so this is what keeps a small file from claiming gigabytes.
    uint64_t maxTotalBytes = Bitmap32::kMaxBytes;
};

DecodedPicture decodePicture(std::span<const uint8_t> bytes, const DecodeLimits& limits = {});

// Icons and cursors hold several images; these pick one.
// Sizes and depth as the chooser of PixelRoutines takes them, plus where the image lies.
struct IconEntry : IconImageInfo {
    uint32_t offset = 0;
    uint32_t size = 0;
};
// Empty for anything that is not a well-formed directory inside the bytes.
std::vector<IconEntry> readIconDirectory(std::span<const uint8_t> bytes);

// One image of an icon or cursor file, its mask applied to the alpha channel.
DecodedPicture decodeIconImage(std::span<const uint8_t> bytes, size_t index, const DecodeLimits& limits = {});

// A graphic of a picture, decoded now from the bytes it keeps. Icons give the
// image that best fits an unbounded target on a 32-bit screen: the largest,
// deepest one, which is what scaling down loses least from.
DecodedPicture decodeGraphic(const Graphic& graphic, const DecodeLimits& limits = {});
// Width and height without keeping the pixels; false when not decodable here.
bool graphicSize(const Graphic& graphic, int& width, int& height);

}  // namespace orb
