#include "graphics/PictureDecode.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

#include "core/Picture.h"
#include "graphics/StbImage.h"

namespace orb {

namespace {

using Bytes = std::span<const uint8_t>;

uint16_t u16(Bytes b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t u32(Bytes b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 | static_cast<uint32_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(b[at + 3]) << 24;
}
int32_t i32(Bytes b, size_t at) { return static_cast<int32_t>(u32(b, at)); }
bool startsWith(Bytes b, std::string_view magic, size_t at = 0) {
    return b.size() >= at + magic.size() && std::memcmp(b.data() + at, magic.data(), magic.size()) == 0;
}

DecodedPicture failed(PictureFormat format, DecodeStatus status = DecodeStatus::Failed) {
    DecodedPicture d;
    d.format = format;
    d.status = status;
    return d;
}

DecodedPicture still(PictureFormat format, Bitmap32 image) {
    DecodedPicture d;
    d.format = format;
    d.status = DecodeStatus::Ok;
    d.frames.push_back({std::move(image), 0});
    return d;
}

// PCX: run-length coded scan lines of one to four byte planes.
DecodedPicture decodePcx(Bytes b, uint64_t budget) {
    constexpr size_t kHeader = 128;
    if (b.size() < kHeader || b[0] != 0x0A || b[2] > 1) return failed(PictureFormat::Pcx);
    const int bpp = b[3], planes = b[65];
    const int64_t w = int64_t(u16(b, 8)) - u16(b, 4) + 1, h = int64_t(u16(b, 10)) - u16(b, 6) + 1;
    const size_t bpl = u16(b, 66);
    if (bpp != 8 || (planes != 1 && planes != 3 && planes != 4)) return failed(PictureFormat::Pcx);
    if (!Bitmap32::fits(w, h) || uint64_t(w) * uint64_t(h) * 4 > budget || bpl < size_t(w)) return failed(PictureFormat::Pcx);

    size_t end = b.size();
    uint32_t palette[256];
    if (planes == 1) {
        // The 256-colour palette trails the image behind a marker byte.
        if (b.size() < kHeader + 769 || b[b.size() - 769] != 0x0C) return failed(PictureFormat::Pcx);
        end = b.size() - 769;
        for (int i = 0; i < 256; ++i) {
            const size_t at = end + 1 + size_t(i) * 3;
            palette[i] = argb(255, b[at], b[at + 1], b[at + 2]);
        }
    }
    // Reject before allocating when even the best compression cannot fill the image.
    const uint64_t lineBytes = uint64_t(bpl) * uint64_t(planes);
    if (b[2] == 1 ? (end - kHeader) * 63 < lineBytes * uint64_t(h) : end - kHeader < lineBytes * uint64_t(h))
        return failed(PictureFormat::Pcx);

    Bitmap32 image = Bitmap32::create(int(w), int(h));
    if (image.empty()) return failed(PictureFormat::Pcx);
    std::vector<uint8_t> line(lineBytes);
    size_t pos = kHeader;
    unsigned runLeft = 0;  // runs may continue into the next scan line
    uint8_t runValue = 0;
    for (int y = 0; y < h; ++y) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (b[2] == 0) {
                line[i] = b[pos++];
                continue;
            }
            if (runLeft == 0) {
                if (pos >= end) return failed(PictureFormat::Pcx);
                uint8_t c = b[pos++];
                if (c >= 0xC0) {
                    if (pos >= end) return failed(PictureFormat::Pcx);
                    runLeft = c & 0x3F;
                    runValue = b[pos++];
                    if (runLeft == 0) {
                        --i;  // an empty run produces nothing
                        continue;
                    }
                } else {
                    runLeft = 1;
                    runValue = c;
                }
            }
            line[i] = runValue;
            --runLeft;
        }
        uint32_t* row = image.row(y);
        for (int x = 0; x < w; ++x) {
            if (planes == 1) {
                row[x] = palette[line[size_t(x)]];
            } else {
                const uint8_t a = planes == 4 ? line[3 * bpl + size_t(x)] : 255;
                row[x] = argb(a, line[size_t(x)], line[bpl + size_t(x)], line[2 * bpl + size_t(x)]);
            }
        }
    }
    return still(PictureFormat::Pcx, std::move(image));
}

// A device-independent bitmap as icons hold it: no file header, twice the
// height (colour rows, then the one-bit mask).
DecodedPicture decodeIconDib(Bytes dib, uint64_t budget, PictureFormat format) {
    if (dib.size() < 40) return failed(format);
    const uint32_t hdr = u32(dib, 0);
    const int32_t w = i32(dib, 4), h2 = i32(dib, 8);
    const int bpp = u16(dib, 14);
    const uint32_t compression = u32(dib, 16), clrUsed = u32(dib, 32);
    if (hdr < 40 || hdr > dib.size() || w <= 0 || h2 == 0 || h2 == INT32_MIN) return failed(format);
    const bool topDown = h2 < 0;
    const int64_t h = (topDown ? -int64_t(h2) : int64_t(h2)) / 2;
    if (!Bitmap32::fits(w, h) || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
        return failed(format);
    uint64_t paletteBytes = 0;
    if (bpp <= 8) paletteBytes = uint64_t(clrUsed && clrUsed < (1u << bpp) ? clrUsed : 1u << bpp) * 4;
    if (compression == 3 && hdr == 40) paletteBytes = 12;
    const uint64_t colorOffset = hdr + paletteBytes;
    const uint64_t colorRow = (uint64_t(w) * uint64_t(bpp) + 31) / 32 * 4;
    const uint64_t colorEnd = colorOffset + colorRow * uint64_t(h);
    if (colorEnd > dib.size()) return failed(format);

    // Our BMP reader does the colour part from a file header put in front.
    std::vector<uint8_t> file(14 + size_t(colorEnd));
    file[0] = 'B';
    file[1] = 'M';
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    put32(2, uint32_t(file.size()));
    put32(10, uint32_t(14 + colorOffset));
    std::memcpy(file.data() + 14, dib.data(), size_t(colorEnd));
    put32(14 + 8, uint32_t(topDown ? -int32_t(h) : int32_t(h)));
    Bitmap32 image;
    if (!stb::decodeStill(file, budget, image) || image.width() != w || image.height() != h) return failed(format);

    const uint64_t maskRow = (uint64_t(w) + 31) / 32 * 4;
    if (colorEnd + maskRow * uint64_t(h) <= dib.size()) {
        for (int64_t y = 0; y < h; ++y) {
            const size_t at = size_t(colorEnd + maskRow * uint64_t(y));
            uint32_t* row = image.row(int(topDown ? y : h - 1 - y));
            for (int x = 0; x < w; ++x)
                if (dib[at + size_t(x) / 8] & (0x80 >> (x % 8))) row[x] &= 0x00FFFFFF;
        }
    }
    return still(format, std::move(image));
}

constexpr uint8_t kPngMagic[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool isPng(Bytes b) { return b.size() >= 8 && std::memcmp(b.data(), kPngMagic, 8) == 0; }

PictureFormat iconFormat(Bytes b) { return b.size() >= 4 && b[2] == 2 ? PictureFormat::Cur : PictureFormat::Ico; }

DecodedPicture decodeIconDefault(Bytes b, uint64_t budget) {
    auto entries = readIconDirectory(b);
    if (entries.empty()) return failed(iconFormat(b));
    DecodeLimits limits;
    limits.maxTotalBytes = budget;
    const std::vector<IconImageInfo> sizes(entries.begin(), entries.end());
    return decodeIconImage(b, chooseIconImage(sizes, INT_MAX, INT_MAX, 32, false), limits);
}

// Animated cursor: a RIFF "ACON" holding icon frames, their order and rates.
DecodedPicture decodeAni(Bytes b, uint64_t budget) {
    if (!startsWith(b, "RIFF") || !startsWith(b, "ACON", 8)) return failed(PictureFormat::Ani);
    const size_t end = std::min<uint64_t>(b.size(), uint64_t(u32(b, 4)) + 8);
    std::vector<Bytes> icons;
    std::vector<uint32_t> rates, sequence;
    uint32_t defaultRate = 0;
    auto walk = [&](auto& self, size_t pos, size_t stop, bool inFrames) -> void {
        while (pos + 8 <= stop) {
            const uint32_t size = u32(b, pos + 4);
            const size_t body = pos + 8;
            if (size > stop - body) return;  // truncated: keep what was complete
            Bytes chunk = b.subspan(body, size);
            if (inFrames && startsWith(b, "icon", pos)) {
                icons.push_back(chunk);
            } else if (startsWith(b, "LIST", pos) && size >= 4 && startsWith(chunk, "fram")) {
                self(self, body + 4, body + size, true);
            } else if (startsWith(b, "anih", pos) && size >= 36) {
                defaultRate = u32(chunk, 28);
            } else if (startsWith(b, "rate", pos) || startsWith(b, "seq ", pos)) {
                auto& list = startsWith(b, "rate", pos) ? rates : sequence;
                for (size_t i = 0; i + 4 <= size; i += 4) list.push_back(u32(chunk, i));
            }
            pos = body + size + (size & 1);
        }
    };
    walk(walk, 12, end, false);
    if (icons.empty()) return failed(PictureFormat::Ani);

    std::vector<Bitmap32> images;
    uint64_t used = 0;
    for (Bytes icon : icons) {
        DecodedPicture d = decodeIconDefault(icon, budget - used);
        if (!d.ok()) return failed(PictureFormat::Ani);
        used += d.frames[0].image.byteSize();
        images.push_back(std::move(d.frames[0].image));
    }
    if (sequence.empty())
        for (uint32_t i = 0; i < images.size(); ++i) sequence.push_back(i);
    DecodedPicture out;
    out.format = PictureFormat::Ani;
    used = 0;
    for (size_t step = 0; step < sequence.size(); ++step) {
        if (sequence[step] >= images.size()) return failed(PictureFormat::Ani);
        const Bitmap32& image = images[sequence[step]];
        used += image.byteSize();
        if (used > budget) return failed(PictureFormat::Ani);
        // Rates count sixtieths of a second.
        const uint64_t jiffies = step < rates.size() ? rates[step] : defaultRate;
        out.frames.push_back({image, int(std::min<uint64_t>(jiffies * 1000 / 60, INT_MAX))});
    }
    out.status = DecodeStatus::Ok;
    return out;
}

}  // namespace

PictureFormat sniffPictureFormat(Bytes b) {
    if (isPng(b)) return PictureFormat::Png;
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureFormat::Jpeg;
    if (startsWith(b, "GIF87a") || startsWith(b, "GIF89a")) return PictureFormat::Gif;
    if (startsWith(b, "BM")) return PictureFormat::Bmp;
    if (startsWith(b, "RIFF") && startsWith(b, "ACON", 8)) return PictureFormat::Ani;
    if (b.size() >= 6 && b[0] == 0 && b[1] == 0 && (b[2] == 1 || b[2] == 2) && b[3] == 0)
        return b[2] == 1 ? PictureFormat::Ico : PictureFormat::Cur;
    if (b.size() >= 44 && u32(b, 0) == 1 && startsWith(b, " EMF", 40)) return PictureFormat::Emf;
    if (b.size() >= 4 && u32(b, 0) == 0x9AC6CDD7) return PictureFormat::Wmf;  // placeable
    if (b.size() >= 18 && (u16(b, 0) == 1 || u16(b, 0) == 2) && u16(b, 2) == 9) return PictureFormat::Wmf;
    if (b.size() >= 128 && b[0] == 0x0A && b[1] <= 5 && b[2] <= 1) return PictureFormat::Pcx;
    return PictureFormat::Unknown;
}

std::vector<IconEntry> readIconDirectory(Bytes b) {
    std::vector<IconEntry> out;
    if (b.size() < 6 || u16(b, 0) != 0 || (u16(b, 2) != 1 && u16(b, 2) != 2)) return out;
    const size_t count = u16(b, 4);
    if (count == 0 || 6 + count * 16 > b.size()) return out;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 6 + i * 16;
        IconEntry e;
        e.width = b[at] ? b[at] : 256;
        e.height = b[at + 1] ? b[at + 1] : 256;
        e.bitsPerPixel = u16(b, at + 6);
        e.size = u32(b, at + 8);
        e.offset = u32(b, at + 12);
        if (e.offset > b.size() || e.size > b.size() - e.offset) return {};
        // The image's own header knows its depth better than the directory,
        // whose depth field cursors use for the hot spot.
        Bytes image = b.subspan(e.offset, e.size);
        if (isPng(image) && image.size() >= 26) {
            static const int channels[] = {1, 0, 3, 1, 2, 0, 4};
            const int type = image[25];
            e.bitsPerPixel = image[24] * (type <= 6 ? channels[type] : 0);
        } else if (image.size() >= 16) {
            e.bitsPerPixel = u16(image, 14);
        }
        out.push_back(e);
    }
    return out;
}

DecodedPicture decodeIconImage(Bytes b, size_t index, const DecodeLimits& limits) {
    const PictureFormat format = iconFormat(b);
    auto entries = readIconDirectory(b);
    if (index >= entries.size()) return failed(format);
    Bytes image = b.subspan(entries[index].offset, entries[index].size);
    if (isPng(image)) {
        Bitmap32 out;
        if (!stb::decodeStill(image, limits.maxTotalBytes, out)) return failed(format);
        return still(format, std::move(out));
    }
    return decodeIconDib(image, limits.maxTotalBytes, format);
}

DecodedPicture decodePicture(Bytes b, const DecodeLimits& limits) {
    const PictureFormat format = sniffPictureFormat(b);
    const uint64_t budget = std::min(limits.maxTotalBytes, Bitmap32::kMaxBytes * 64);
    switch (format) {
        case PictureFormat::Bmp:
        case PictureFormat::Png:
        case PictureFormat::Jpeg: {
            Bitmap32 image;
            if (!stb::decodeStill(b, budget, image)) return failed(format);
            return still(format, std::move(image));
        }
        case PictureFormat::Gif: {
            DecodedPicture d;
            d.format = format;
            if (!stb::decodeGif(b, budget, d.frames)) return failed(format);
            d.status = DecodeStatus::Ok;
            return d;
        }
        case PictureFormat::Pcx: return decodePcx(b, budget);
        case PictureFormat::Ico:
        case PictureFormat::Cur: return decodeIconDefault(b, budget);
        case PictureFormat::Ani: return decodeAni(b, budget);
        case PictureFormat::Wmf:
        case PictureFormat::Emf: return failed(format, DecodeStatus::NotDecodableHere);
        case PictureFormat::Unknown: break;
    }
    return failed(format);
}

DecodedPicture decodeGraphic(const Graphic& graphic, const DecodeLimits& limits) {
    const std::string& name = graphic.classInfo().name;
    if (name == "TMetafile") return failed(PictureFormat::Unknown, DecodeStatus::NotDecodableHere);
    DecodedPicture d = decodePicture(graphic.fileBytes(), limits);
    // The system's OLE loader reads picture streams we do not know.
    if (!d.ok() && d.format == PictureFormat::Unknown && name == "TOleGraphic") d.status = DecodeStatus::NotDecodableHere;
    return d;
}

bool graphicSize(const Graphic& graphic, int& width, int& height) {
    DecodedPicture d = decodeGraphic(graphic);
    if (!d.ok()) return false;
    width = d.width();
    height = d.height();
    return true;
}

}  // namespace orb
