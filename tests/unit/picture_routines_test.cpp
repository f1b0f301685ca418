#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include "core/Errors.h"
#include "graphics/PictureRoutines.h"

using namespace orb;
namespace fs = std::filesystem;

namespace {

// Pixels given as 0xAARRGGBB, written by the encoder into memory.
std::vector<uint8_t> encode(const std::vector<uint32_t>& argbPixels, int w, int h, const char* kind) {
    std::vector<uint8_t> rgba;
    for (uint32_t p : argbPixels) rgba.insert(rgba.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
    std::vector<uint8_t> out;
    auto sink = [](void* ctx, void* data, int size) {
        auto* o = static_cast<std::vector<uint8_t>*>(ctx);
        o->insert(o->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    std::string k = kind;
    if (k == "png") {
        stbi_write_png_to_func(sink, &out, w, h, 4, rgba.data(), w * 4);
    } else if (k == "bmp") {
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
        stbi_write_bmp_to_func(sink, &out, w, h, 3, rgb.data());
    } else {
        stbi_write_jpg_to_func(sink, &out, w, h, 4, rgba.data(), 90);
    }
    return out;
}

class Files {
public:
    Files() : dir_(fs::temp_directory_path() / ("orb-pictures-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                std::to_string(reinterpret_cast<uintptr_t>(this)))) {
        fs::create_directories(dir_);
    }
    ~Files() { fs::remove_all(dir_); }
    fs::path write(const std::string& name, const std::vector<uint8_t>& bytes) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    fs::path dir_;
};

constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kClear = 0x00000000, kHalf = 0x80FF0000;

std::unique_ptr<Picture> loaded(Files& files, const std::string& name, const std::vector<uint8_t>& bytes) {
    auto p = std::make_unique<Picture>();
    LoadPictureFromFile(*p, files.write(name, bytes));
    return p;
}

}  // namespace

TEST(PictureRoutines, LoadPictureFromFileChoosesTheKindByExtension) {
    Files files;
    Picture p;
    int changes = 0;
    p.onChange = [&] { ++changes; };
    LoadPictureFromFile(p, files.write("photo.JPEG", encode(std::vector<uint32_t>(16, kRed), 4, 4, "jpg")));
    EXPECT_EQ(p.graphicClassName(), "TJPEGImage");
    EXPECT_EQ(changes, 1);
    struct Bad {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    const Bad bad[] = {{"readme.txt", {1, 2, 3}, "Unknown picture file extension (.txt)"},
                       {"noextension", {1, 2, 3}, "Unknown picture file extension (.)"},
                       {"broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3}, nullptr}};
    for (const auto& b : bad) {
        try {
            LoadPictureFromFile(p, files.write(b.name, b.bytes));
            ADD_FAILURE() << b.name << " loaded";
        } catch (const OrbError& e) {
            if (b.message) {
                EXPECT_STREQ(e.what(), b.message);
            }
        }
        EXPECT_EQ(p.graphicClassName(), "TJPEGImage") << b.name << ": the old graphic must stay";
        EXPECT_EQ(changes, 1) << b.name;
    }
}

TEST(PictureRoutines, TransparencyOfPngs) {
    Files files;
    struct Case {
        const char* name;
        std::vector<uint32_t> pixels;
        bool transparent, alpha;
    };
    const Case cases[] = {{"opaque.png", {kWhite, kRed}, false, false},
                          {"holes.png", {kClear, kRed}, true, false},
                          {"soft.png", {kHalf, kRed}, true, true}};
    for (const auto& c : cases) {
        auto p = loaded(files, c.name, encode(c.pixels, 2, 1, "png"));
        EXPECT_EQ(IsTransparentPng(*p), c.transparent) << c.name;
        EXPECT_EQ(IsAlphaPng(*p), c.alpha) << c.name;
        EXPECT_FALSE(IsTransparentGif(*p)) << c.name;
    }
    auto bmp = loaded(files, "plain.bmp", encode({kWhite, kRed}, 2, 1, "bmp"));
    EXPECT_FALSE(IsTransparentPng(*bmp));
    EXPECT_FALSE(IsTransparentPng(Picture{}));
}

TEST(PictureRoutines, RegionRunsLeaveOutTransparentOrTopLeftColouredPixels) {
    Files files;
    auto bmp = loaded(files, "shape.bmp", encode({kWhite, kRed, kWhite}, 3, 1, "bmp"));
    EXPECT_EQ(pictureRegionRuns(*bmp->graphic()), (std::vector<IntRect>{{1, 0, 2, 1}}));
    // With transparent pixels, the top-left colour is no key: only the holes go.
    auto png = loaded(files, "shape.png", encode({kWhite, kClear, kWhite}, 3, 1, "png"));
    EXPECT_EQ(pictureRegionRuns(*png->graphic()), (std::vector<IntRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
}

TEST(PictureRoutines, PictureToRgbaKeepsAlphaOnlyWherePngOrGifGiveIt) {
    Files files;
    auto png = loaded(files, "soft.png", encode({kHalf}, 1, 1, "png"));
    EXPECT_EQ(alphaOf(PictureToRGBA(*png->graphic()).pixel(0, 0)), 0x80);
    auto bmp = loaded(files, "plain.bmp", encode({kRed}, 1, 1, "bmp"));
    EXPECT_EQ(PictureToRGBA(*bmp->graphic()).pixel(0, 0), kRed);
}
