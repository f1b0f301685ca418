// Decoding graphics from their file bytes. Every fixture is assembled here,
// byte by byte, so each test states exactly what the file holds.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Picture.h"
#include "graphics/PictureDecode.h"

#if __has_include(<stb/stb_image_write.h>)
#define ORB_HAVE_STB_WRITE 1
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop
#endif

using namespace orb;

namespace {

using Bytes = std::vector<uint8_t>;
using PixelFn = std::function<uint32_t(int x, int y)>;

void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putBE32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}
void putText(Bytes& b, const char* s) { b.insert(b.end(), s, s + std::strlen(s)); }

// A BITMAPINFOHEADER and bottom-up rows, 24 or 32 bits; heightField lets
// icons store twice the height.
Bytes dib(int w, int h, int bpp, const PixelFn& px, int heightField) {
    Bytes b;
    put32(b, 40);
    put32(b, uint32_t(w));
    put32(b, uint32_t(heightField));
    put16(b, 1);
    put16(b, uint32_t(bpp));
    for (int i = 0; i < 6; ++i) put32(b, 0);
    const size_t rowBytes = (size_t(w) * bpp / 8 + 3) / 4 * 4;
    for (int y = h - 1; y >= 0; --y) {
        size_t start = b.size();
        for (int x = 0; x < w; ++x) {
            uint32_t p = px(x, y);
            b.push_back(blueOf(p));
            b.push_back(greenOf(p));
            b.push_back(redOf(p));
            if (bpp == 32) b.push_back(alphaOf(p));
        }
        b.resize(start + rowBytes, 0);
    }
    return b;
}

Bytes bmpFile(int w, int h, int bpp, const PixelFn& px) {
    Bytes body = dib(w, h, bpp, px, h);
    Bytes b;
    putText(b, "BM");
    put32(b, uint32_t(14 + body.size()));
    put32(b, 0);
    put32(b, 14 + 40);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

void pngChunk(Bytes& b, const char* type, const Bytes& data) {
    putBE32(b, uint32_t(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    b.insert(b.end(), typed.begin(), typed.end());
    putBE32(b, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

Bytes pngHeader(uint32_t w, uint32_t h) {
    Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    putBE32(ihdr, w);
    putBE32(ihdr, h);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
    pngChunk(b, "IHDR", ihdr);
    return b;
}

Bytes pngFile(int w, int h, const PixelFn& px, bool emptyChunkFirst = false) {
    Bytes b = pngHeader(uint32_t(w), uint32_t(h));
    if (emptyChunkFirst) pngChunk(b, "IDAT", {});
    Bytes raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < w; ++x) {
            uint32_t p = px(x, y);
            raw.insert(raw.end(), {redOf(p), greenOf(p), blueOf(p), alphaOf(p)});
        }
    }
    uLongf n = compressBound(uLong(raw.size()));
    Bytes z(n);
    EXPECT_EQ(compress(z.data(), &n, raw.data(), uLong(raw.size())), Z_OK);
    z.resize(n);
    pngChunk(b, "IDAT", z);
    pngChunk(b, "IEND", {});
    return b;
}

// GIF with a 4-colour table; every frame covers the whole screen. The LZW data
// sends a clear code before each pixel so the code width never grows.
const uint32_t kGifColors[4] = {argb(255, 255, 0, 0), argb(255, 0, 255, 0), argb(255, 0, 0, 255), argb(255, 255, 255, 255)};

Bytes gifFile(uint16_t sw, uint16_t sh, const std::vector<std::pair<std::vector<uint8_t>, int>>& frames,
              uint16_t fw = 0, uint16_t fh = 0) {
    if (!fw) fw = sw, fh = sh;
    Bytes b;
    putText(b, "GIF89a");
    put16(b, sw);
    put16(b, sh);
    b.insert(b.end(), {0x81, 0, 0});  // global table of 4 entries
    for (uint32_t c : kGifColors) b.insert(b.end(), {redOf(c), greenOf(c), blueOf(c)});
    for (auto& [indexes, delayCs] : frames) {
        b.insert(b.end(), {0x21, 0xF9, 4, 0});
        put16(b, uint32_t(delayCs));
        b.insert(b.end(), {0, 0});
        b.push_back(0x2C);
        put16(b, 0);
        put16(b, 0);
        put16(b, fw);
        put16(b, fh);
        b.push_back(0);
        b.push_back(2);  // minimum code size
        Bytes lzw;
        uint32_t acc = 0;
        int bits = 0;
        auto code = [&](uint32_t c) {
            acc |= c << bits;
            bits += 3;
            while (bits >= 8) {
                lzw.push_back(uint8_t(acc));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (uint8_t i : indexes) {
            code(4);
            code(i);
        }
        code(5);
        if (bits) lzw.push_back(uint8_t(acc));
        for (size_t at = 0; at < lzw.size(); at += 255) {
            size_t n = std::min<size_t>(255, lzw.size() - at);
            b.push_back(uint8_t(n));
            b.insert(b.end(), lzw.begin() + long(at), lzw.begin() + long(at + n));
        }
        b.push_back(0);
    }
    b.push_back(0x3B);
    return b;
}

// PCX of 8-bit planes, run-length coded; planes 1 uses the trailing palette
// (entry i is grey i), planes 3 takes red, green, blue from the pixel.
Bytes pcxFile(int w, int h, int planes, const PixelFn& px, uint16_t xmaxOverride = 0, uint16_t ymaxOverride = 0) {
    Bytes b(128, 0);
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    auto set16 = [&](size_t at, uint32_t v) {
        b[at] = uint8_t(v);
        b[at + 1] = uint8_t(v >> 8);
    };
    set16(8, xmaxOverride ? xmaxOverride : uint32_t(w - 1));
    set16(10, ymaxOverride ? ymaxOverride : uint32_t(h - 1));
    b[65] = uint8_t(planes);
    const int bpl = (w + 1) / 2 * 2;
    set16(66, uint32_t(bpl));
    for (int y = 0; y < h; ++y) {
        Bytes line;
        for (int p = 0; p < planes; ++p)
            for (int x = 0; x < bpl; ++x) {
                uint32_t c = x < w ? px(x, y) : 0;
                line.push_back(planes == 1 ? blueOf(c) : uint8_t(c >> (16 - 8 * p)));
            }
        for (size_t i = 0; i < line.size();) {
            size_t run = 1;
            while (i + run < line.size() && line[i + run] == line[i] && run < 63) ++run;
            if (run > 1 || line[i] >= 0xC0) b.push_back(uint8_t(0xC0 | run));
            b.push_back(line[i]);
            i += run;
        }
    }
    if (planes == 1) {
        b.push_back(0x0C);
        for (int i = 0; i < 256; ++i) b.insert(b.end(), {uint8_t(i), uint8_t(i), uint8_t(i)});
    }
    return b;
}

struct IconImage {
    int w, h;
    Bytes data;
};

Bytes iconFile(const std::vector<IconImage>& images, uint16_t type = 1) {
    Bytes b;
    put16(b, 0);
    put16(b, type);
    put16(b, uint32_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (auto& im : images) {
        b.push_back(uint8_t(im.w & 0xFF));
        b.push_back(uint8_t(im.h & 0xFF));
        b.insert(b.end(), {0, 0});
        put16(b, 1);
        put16(b, 32);
        put32(b, uint32_t(im.data.size()));
        put32(b, offset);
        offset += uint32_t(im.data.size());
    }
    for (auto& im : images) b.insert(b.end(), im.data.begin(), im.data.end());
    return b;
}

// An icon DIB: colour rows then a one-bit mask; mask(x, y) true means transparent.
Bytes iconDib(int w, int h, int bpp, const PixelFn& px, const std::function<bool(int, int)>& mask) {
    Bytes b = dib(w, h, bpp, px, 2 * h);
    const size_t maskRow = (size_t(w) + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(maskRow, 0);
        for (int x = 0; x < w; ++x)
            if (mask(x, y)) row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

uint32_t pattern(int x, int y) { return argb(255, 40 * x, 50 * y, 10 + x + y); }
uint32_t alphaPattern(int x, int y) { return argb(60 * x + 20 * y + 10, 40 * x, 50 * y, 10 + x + y); }

void expectImage(const Bitmap32& image, int w, int h, const PixelFn& px) {
    ASSERT_EQ(image.width(), w);
    ASSERT_EQ(image.height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(image.pixel(x, y), px(x, y)) << "at " << x << "," << y;
}

}  // namespace

TEST(Bitmap32, CreationIsBounded) {
    struct Case {
        int w, h;
        bool made;
    } cases[] = {{1, 1, true}, {8192, 8192, true}, {0, 5, false}, {5, 0, false}, {-1, 5, false}, {32769, 1, false},
                 {32768, 32768, false}, {16384, 8192, false}};
    for (auto c : cases) {
        Bitmap32 b = Bitmap32::create(c.w, c.h, 0x12345678);
        EXPECT_EQ(!b.empty(), c.made) << c.w << "x" << c.h;
        if (c.made) {
            EXPECT_EQ(b.pixel(c.w - 1, c.h - 1), 0x12345678u);
        }
    }
}

TEST(Bitmap32, PixelsAreRowMajorStraightArgb) {
    Bitmap32 b = Bitmap32::create(3, 2);
    b.setPixel(2, 1, argb(128, 1, 2, 3));
    EXPECT_EQ(b.pixels()[5], 0x80010203u);
    EXPECT_EQ(b.row(1)[2], 0x80010203u);
    EXPECT_EQ(alphaOf(b.pixel(2, 1)), 128);
    EXPECT_EQ(redOf(b.pixel(2, 1)), 1);
}

TEST(PictureDecode, StillFormatsDecodeToTheirPixels) {
    struct Case {
        const char* name;
        Bytes file;
        PictureFormat format;
        int w, h;
        PixelFn px;
    } cases[] = {
        {"bmp24", bmpFile(3, 2, 24, pattern), PictureFormat::Bmp, 3, 2, pattern},
        {"bmp32", bmpFile(3, 2, 32, alphaPattern), PictureFormat::Bmp, 3, 2, alphaPattern},
        {"png", pngFile(3, 2, alphaPattern), PictureFormat::Png, 3, 2, alphaPattern},
        {"png, empty data chunk first", pngFile(3, 2, alphaPattern, true), PictureFormat::Png, 3, 2, alphaPattern},
        {"pcx8", pcxFile(5, 2, 1, [](int x, int y) { return argb(255, 30 * x, 30 * x, 30 * x + y * 0); }),
         PictureFormat::Pcx, 5, 2, [](int x, int) { return argb(255, 30 * x, 30 * x, 30 * x); }},
        {"pcx24", pcxFile(5, 3, 3, pattern), PictureFormat::Pcx, 5, 3, pattern},
        {"pcx24-runs", pcxFile(70, 2, 3, [](int, int y) { return argb(255, 200, 7, y); }), PictureFormat::Pcx, 70, 2,
         [](int, int y) { return argb(255, 200, 7, y); }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sniffPictureFormat(c.file), c.format);
        DecodedPicture d = decodePicture(c.file);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.format, c.format);
        ASSERT_EQ(d.frames.size(), 1u);
        EXPECT_EQ(d.frames[0].delayMs, 0);
        expectImage(d.frames[0].image, c.w, c.h, c.px);
    }
}

TEST(PictureDecode, GifGivesEveryFrameWithItsDelay) {
    Bytes gif = gifFile(2, 2, {{{0, 1, 2, 3}, 10}, {{3, 3, 0, 0}, 25}});
    DecodedPicture d = decodePicture(gif);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, PictureFormat::Gif);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[0].delayMs, 100);
    EXPECT_EQ(d.frames[1].delayMs, 250);
    expectImage(d.frames[0].image, 2, 2, [](int x, int y) { return kGifColors[y * 2 + x]; });
    expectImage(d.frames[1].image, 2, 2, [](int, int y) { return kGifColors[y == 0 ? 3 : 0]; });
}

TEST(PictureDecode, GifFramesBeyondTheBudgetFailTheWhole) {
    std::vector<std::pair<std::vector<uint8_t>, int>> frames(6, {{1}, 1});
    Bytes gif = gifFile(100, 100, frames, 1, 1);
    DecodeLimits tight;
    tight.maxTotalBytes = 100 * 100 * 4 * 5;
    EXPECT_EQ(decodePicture(gif, tight).status, DecodeStatus::Failed);
    tight.maxTotalBytes = 100 * 100 * 4 * 6;
    EXPECT_EQ(decodePicture(gif, tight).frames.size(), 6u);

    // Many small frames on a large canvas, with the default limits.
    Bytes bomb = gifFile(3000, 3000, std::vector<std::pair<std::vector<uint8_t>, int>>(40, {{2}, 1}), 1, 1);
    EXPECT_LT(bomb.size(), 1000u);
    DecodedPicture d = decodePicture(bomb);
    EXPECT_EQ(d.status, DecodeStatus::Failed);
    EXPECT_TRUE(d.frames.empty());
}

#ifdef ORB_HAVE_STB_WRITE
TEST(PictureDecode, JpegDecodesCloseToItsSource) {
    const int w = 16, h = 8;
    std::vector<uint8_t> rgb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rgb.insert(rgb.end(), {uint8_t(x < 8 ? 220 : 20), 120, uint8_t(y * 20)});
    Bytes jpeg;
    stbi_write_jpg_to_func(
        [](void* ctx, void* data, int size) {
            auto* out = static_cast<Bytes*>(ctx);
            out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        },
        &jpeg, w, h, 3, rgb.data(), 95);
    ASSERT_EQ(sniffPictureFormat(jpeg), PictureFormat::Jpeg);
    DecodedPicture d = decodePicture(jpeg);
    ASSERT_TRUE(d.ok());
    ASSERT_EQ(d.width(), w);
    ASSERT_EQ(d.height(), h);
    uint32_t left = d.frames[0].image.pixel(2, 4), right = d.frames[0].image.pixel(13, 4);
    EXPECT_EQ(alphaOf(left), 255);
    EXPECT_GT(redOf(left), 180);
    EXPECT_LT(redOf(right), 60);
}
#endif

TEST(PictureDecode, IconImagesHonourTheirMask) {
    auto mask = [](int x, int y) { return x == y; };
    Bytes ico = iconFile({{2, 2, iconDib(2, 2, 24, pattern, mask)}});
    DecodedPicture d = decodePicture(ico);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, PictureFormat::Ico);
    expectImage(d.frames[0].image, 2, 2, [&](int x, int y) { return mask(x, y) ? pattern(x, y) & 0xFFFFFF : pattern(x, y); });

    // A 32-bit image keeps its own alpha; a PNG image is taken as it is.
    Bytes both = iconFile({{2, 2, iconDib(2, 2, 32, alphaPattern, [](int, int) { return false; })},
                           {3, 3, pngFile(3, 3, alphaPattern)}},
                          2);
    EXPECT_EQ(sniffPictureFormat(both), PictureFormat::Cur);
    DecodedPicture first = decodeIconImage(both, 0);
    ASSERT_TRUE(first.ok());
    expectImage(first.frames[0].image, 2, 2, alphaPattern);
    DecodedPicture largest = decodePicture(both);
    ASSERT_TRUE(largest.ok());
    expectImage(largest.frames[0].image, 3, 3, alphaPattern);
}

TEST(PictureDecode, IconDirectoryGivesEachImageItsOwnDepth) {
    auto none = [](int, int) { return false; };
    Bytes ico = iconFile({{16, 16, iconDib(16, 16, 24, pattern, none)},
                          {48, 48, iconDib(48, 48, 32, alphaPattern, none)},
                          {32, 32, pngFile(32, 32, pattern)}});
    auto entries = readIconDirectory(ico);
    ASSERT_EQ(entries.size(), 3u);
    const int sides[] = {16, 48, 32}, depths[] = {24, 32, 32};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].width, sides[i]);
        EXPECT_EQ(entries[i].height, sides[i]);
        EXPECT_EQ(entries[i].bitsPerPixel, depths[i]);
    }
    // Without a target the largest image is decoded.
    DecodedPicture d = decodePicture(ico);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.width(), 48);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(decodeIconImage(ico, i).width(), sides[i]);
    EXPECT_FALSE(decodeIconImage(ico, 3).ok());
}

TEST(PictureDecode, AnimatedCursorFollowsSequenceAndRates) {
    Bytes red = iconFile({{1, 1, pngFile(1, 1, [](int, int) { return argb(255, 255, 0, 0); })}}, 2);
    Bytes blue = iconFile({{1, 1, pngFile(1, 1, [](int, int) { return argb(255, 0, 0, 255); })}}, 2);
    Bytes body;
    putText(body, "ACON");
    auto chunk = [](Bytes& b, const char* id, const Bytes& data) {
        putText(b, id);
        put32(b, uint32_t(data.size()));
        b.insert(b.end(), data.begin(), data.end());
        if (data.size() & 1) b.push_back(0);
    };
    Bytes anih;
    for (uint32_t v : {36u, 2u, 3u, 0u, 0u, 0u, 0u, 6u, 1u}) put32(anih, v);
    chunk(body, "anih", anih);
    Bytes rate, seq;
    for (uint32_t v : {6u, 12u, 3u}) put32(rate, v);
    for (uint32_t v : {1u, 0u, 1u}) put32(seq, v);
    chunk(body, "rate", rate);
    chunk(body, "seq ", seq);
    Bytes fram;
    putText(fram, "fram");
    chunk(fram, "icon", red);
    chunk(fram, "icon", blue);
    chunk(body, "LIST", fram);
    Bytes ani;
    chunk(ani, "RIFF", body);

    DecodedPicture d = decodePicture(ani);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, PictureFormat::Ani);
    ASSERT_EQ(d.frames.size(), 3u);
    const uint32_t expected[] = {argb(255, 0, 0, 255), argb(255, 255, 0, 0), argb(255, 0, 0, 255)};
    const int delays[] = {100, 200, 50};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(d.frames[i].image.pixel(0, 0), expected[i]);
        EXPECT_EQ(d.frames[i].delayMs, delays[i]);
    }
}

TEST(PictureDecode, MetafilesAreLeftToTheSystem) {
    Bytes emf(44, 0);
    emf[0] = 1;
    std::memcpy(emf.data() + 40, " EMF", 4);
    Bytes wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0};
    for (const Bytes& b : {emf, wmf}) EXPECT_EQ(decodePicture(b).status, DecodeStatus::NotDecodableHere);
}

TEST(PictureDecode, HostileBytesFailCleanly) {
    Bytes giantBmp = bmpFile(1, 1, 24, pattern);
    giantBmp[18] = giantBmp[19] = giantBmp[22] = giantBmp[23] = 0xFF;
    Bytes zeroBmp = bmpFile(1, 1, 24, pattern);
    zeroBmp[18] = 0;
    Bytes giantPng = pngHeader(65535, 65535);
    pngChunk(giantPng, "IDAT", {0x78, 0x9C, 0x03, 0x00});
    Bytes zeroPng = pngFile(1, 1, pattern);
    zeroPng[19] = 0;  // width 0; the CRC is now wrong as well
    Bytes giantGif = gifFile(1, 1, {{{0}, 1}});
    giantGif[6] = giantGif[7] = giantGif[8] = giantGif[9] = 0xFF;
    Bytes zeroGif = gifFile(1, 1, {{{0}, 1}});
    zeroGif[6] = zeroGif[7] = 0;
    Bytes giantIco = iconFile({{1, 1, iconDib(1, 1, 24, pattern, [](int, int) { return false; })}});
    giantIco[22 + 4] = giantIco[22 + 5] = 0xFF;  // DIB width 65535
    struct Case {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"giant bmp", giantBmp},
        {"zero bmp", zeroBmp},
        {"giant png", giantPng},
        {"zero png", zeroPng},
        {"giant gif", giantGif},
        {"zero gif", zeroGif},
        {"giant pcx", pcxFile(1, 1, 3, pattern, 65535, 65535)},
        {"zero pcx", pcxFile(1, 1, 3, pattern, 0, 0xFFFF)},
        {"giant icon image", giantIco},
        {"icon offset outside", Bytes{0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 0xF0, 0xFF, 0, 0}},
        {"not a picture", Bytes{'h', 'e', 'l', 'l', 'o'}},
    };
    for (auto& c : cases) {
        DecodedPicture d = decodePicture(c.file);
        EXPECT_EQ(d.status, DecodeStatus::Failed) << c.name;
        EXPECT_TRUE(d.frames.empty()) << c.name;
    }
}

TEST(PictureDecode, EveryTruncationEndsInAResult) {
    const Bytes files[] = {bmpFile(3, 2, 24, pattern), pngFile(3, 2, alphaPattern), gifFile(2, 2, {{{0, 1, 2, 3}, 10}, {{3, 3, 0, 0}, 25}}),
                           pcxFile(5, 3, 3, pattern), pcxFile(5, 2, 1, pattern),
                           iconFile({{2, 2, iconDib(2, 2, 24, pattern, [](int, int) { return true; })}})};
    for (const Bytes& file : files)
        for (size_t n = 0; n < file.size(); ++n) {
            DecodedPicture d = decodePicture(std::span<const uint8_t>(file.data(), n));
            if (d.ok()) {
                ASSERT_FALSE(d.frames.empty());
                EXPECT_GT(d.width(), 0);
            } else {
                EXPECT_TRUE(d.frames.empty());
            }
        }
}

TEST(PictureDecode, GraphicsDecodeOnDemand) {
    auto gif = GraphicRegistry::instance().create("TGIFImage");
    ASSERT_TRUE(gif);
    gif->setFileBytes(gifFile(2, 2, {{{0, 1, 2, 3}, 10}, {{3, 3, 0, 0}, 25}}));
    DecodedPicture d = decodeGraphic(*gif);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.frames.size(), 2u);
    int w = 0, h = 0;
    ASSERT_TRUE(graphicSize(*gif, w, h));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);

    // A stored PCX graphic holds a BMP.
    auto pcx = GraphicRegistry::instance().create("TJvPcx");
    pcx->setFileBytes(bmpFile(4, 1, 24, pattern));
    ASSERT_TRUE(graphicSize(*pcx, w, h));
    EXPECT_EQ(w, 4);

    auto meta = GraphicRegistry::instance().create("TMetafile");
    meta->setFileBytes({1, 2, 3, 4, 5});
    EXPECT_EQ(decodeGraphic(*meta).status, DecodeStatus::NotDecodableHere);
    auto ole = GraphicRegistry::instance().create("TOleGraphic");
    ole->setFileBytes({9, 9, 9, 9});
    EXPECT_EQ(decodeGraphic(*ole).status, DecodeStatus::NotDecodableHere);
    auto empty = GraphicRegistry::instance().create("TPNGObject");
    EXPECT_FALSE(graphicSize(*empty, w, h));
}
