#include "graphics/PictureRoutines.h"

#include <fstream>
#include <iterator>

#include "core/Errors.h"
#include "core/Text.h"
#include "graphics/PictureDecode.h"

namespace orb {

namespace {

std::string pathUtf8(const std::filesystem::path& p) {
    auto s = p.u8string();
    return std::string(s.begin(), s.end());
}

std::string className(const Picture& p) { return p.graphic() ? p.graphic()->classInfo().name : std::string(); }

// 0 none, 1 only fully transparent pixels, 2 some partly transparent.
int transparencyOf(const Picture& picture) {
    if (!picture.graphic()) return 0;
    DecodedPicture d = decodeGraphic(*picture.graphic());
    if (!d.ok()) return 0;
    int kind = 0;
    for (const auto& frame : d.frames)
        for (uint32_t p : frame.image.pixels()) {
            uint8_t a = alphaOf(p);
            if (a == 0) kind = std::max(kind, 1);
            else if (a < 255) return 2;
        }
    return kind;
}

}  // namespace

void LoadPictureFromFile(Picture& picture, const std::filesystem::path& fileName) {
    std::wstring extension = utf8ToUtf16(pathUtf8(fileName.extension()));
    auto kind = GraphicClassForExtension(extension);
    if (!kind) {
        std::string bare = utf16ToUtf8(extension.empty() ? extension : extension.substr(1));
        throw OrbError("Unknown picture file extension (." + bare + ")");
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw OrbError("Cannot open file \"" + pathUtf8(fileName) + "\"");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto graphic = GraphicRegistry::instance().create(*kind);
    if (!graphic) throw OrbError("Unknown picture file extension (." + *kind + ")");
    graphic->setFileBytes(std::move(bytes));
    // A picture never holds a graphic that cannot be shown.
    if (decodeGraphic(*graphic).status == DecodeStatus::Failed) throw OrbError("Invalid picture data in " + pathUtf8(fileName));
    picture.setGraphic(std::move(graphic));
}

bool IsTransparentGif(const Picture& picture) { return className(picture) == "TGIFImage" && transparencyOf(picture) > 0; }
bool IsTransparentPng(const Picture& picture) { return className(picture) == "TPNGObject" && transparencyOf(picture) > 0; }
bool IsAlphaPng(const Picture& picture) { return className(picture) == "TPNGObject" && transparencyOf(picture) == 2; }

Bitmap32 PictureToRGBA(const Graphic& graphic) {
    DecodedPicture d = decodeGraphic(graphic);
    if (!d.ok()) return {};
    Bitmap32 image = std::move(d.frames.front().image);
    const std::string& name = graphic.classInfo().name;
    bool keepsAlpha = (name == "TPNGObject" && d.format == PictureFormat::Png) ||
                      (name == "TGIFImage" && d.format == PictureFormat::Gif);
    if (!keepsAlpha)
        for (auto& p : image.pixels()) p |= 0xFF000000u;
    return image;
}

std::vector<IntRect> pictureRegionRuns(const Graphic& graphic) {
    DecodedPicture d = decodeGraphic(graphic);
    if (!d.ok()) return {};
    const Bitmap32& image = d.frames.front().image;
    bool keyedByAlpha = false;
    if (d.format == PictureFormat::Gif || d.format == PictureFormat::Png)
        for (uint32_t p : image.pixels())
            if (alphaOf(p) == 0) {
                keyedByAlpha = true;
                break;
            }
    if (keyedByAlpha) {
        // The decoder already turned the transparent colour into alpha 0.
        std::vector<IntRect> runs;
        for (int y = 0; y < image.height(); ++y) {
            const uint32_t* row = image.row(y);
            int x = 0;
            while (x < image.width()) {
                while (x < image.width() && alphaOf(row[x]) == 0) ++x;
                int start = x;
                while (x < image.width() && alphaOf(row[x]) != 0) ++x;
                if (x > start) runs.push_back({start, y, x, y + 1});
            }
        }
        return runs;
    }
    std::vector<Rgb> pixels(image.pixels().size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t p = image.pixels()[i];
        pixels[i] = static_cast<Rgb>(redOf(p)) | (static_cast<Rgb>(greenOf(p)) << 8) | (static_cast<Rgb>(blueOf(p)) << 16);
    }
    return opaqueRuns(image.width(), image.height(), pixels.data(), pixels.empty() ? 0 : pixels[0], 0);
}

}  // namespace orb
