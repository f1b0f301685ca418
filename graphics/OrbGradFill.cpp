#include "graphics/OrbGradFill.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orb {

RgbImage RgbImage::create(int width, int height, uint32_t fill) {
    RgbImage image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    return image;
}

uint32_t resolveColor(Color color, const SystemColorLookup& systemColor) {
    auto u = static_cast<uint32_t>(color);
    if ((u & 0xFF000000u) == 0xFF000000u) u = systemColor ? systemColor(static_cast<int>(u & 0xFF)) : 0;
    return u & 0x00FFFFFFu;
}

GradRamp makeGradRamp(uint32_t beginBgr, uint32_t endBgr) {
    GradRamp ramp;
    // Channel c of the colour, counting red as 0; int, so a falling channel
    // divides a negative product and truncates toward the begin value.
    auto channel = [](uint32_t bgr, int c) { return static_cast<int>((bgr >> (8 * c)) & 0xFF); };
    for (int i = 0; i < 256; ++i) {
        int rgb[3];
        for (int c = 0; c < 3; ++c) {
            int b = channel(beginBgr, c);
            rgb[c] = b + (channel(endBgr, c) - b) * i / 255;
        }
        ramp[static_cast<size_t>(i)] =
            rgbPixel(static_cast<uint32_t>(rgb[0]), static_cast<uint32_t>(rgb[1]), static_cast<uint32_t>(rgb[2]));
    }
    return ramp;
}

namespace {

using S = TOrbGradFillStyle;

// Distance from the middle of a 512-pixel axis whose two middle pixels are both 0.
constexpr int d256(int v) { return v <= 255 ? 255 - v : v - 256; }
// The same on a 362-pixel axis.
constexpr int d181(int v) { return v <= 180 ? 180 - v : v - 181; }

// Every radial style measures (dx, dy) with both in 0..180, so one table of
// rounded distances serves them all; it never changes once made.
class Radii {
public:
    Radii() : table_(table().data()) {}
    int operator()(int dx, int dy) const { return table_[dx * 181 + dy]; }

private:
    static const std::vector<uint8_t>& table() {
        static const std::vector<uint8_t> t = [] {
            std::vector<uint8_t> r(181 * 181);
            for (int x = 0; x <= 180; ++x)
                for (int y = 0; y <= 180; ++y)
                    r[static_cast<size_t>(x * 181 + y)] =
                        static_cast<uint8_t>(std::lround(std::sqrt(static_cast<double>(x * x + y * y))));
            return r;
        }();
        return t;
    }
    const uint8_t* table_;
};

// idx(x, y) = max(across(x), down(y)): the bands and the nested rectangles.
// Kept apart from other shapes because a row of it is a fixed edge row with
// one colour over the middle, which needs no per-pixel arithmetic.
template <class Across, class Down>
struct MaxOf {
    Across across;
    Down down;
    int operator()(int x, int y) const { return std::max(across(x), down(y)); }
};
template <class A, class D>
MaxOf(A, D) -> MaxOf<A, D>;
template <class T>
constexpr bool isMaxOf = false;
template <class A, class D>
constexpr bool isMaxOf<MaxOf<A, D>> = true;

S known(S style) { return style >= S::agsLinearH && style <= S::agsButterfly ? style : S::agsLinearH; }

// Calls paint with the style's idx(x, y), so the loops are compiled per style.
template <class Paint>
void withIndex(S style, Paint&& paint) {
    constexpr auto none = [](int) { return 0; };
    constexpr auto same = [](int v) { return v; };
    constexpr auto fromMiddle = [](int v) { return d256(v); };
    constexpr auto fromFar = [](int v) { return 255 - v; };
    switch (known(style)) {
        case S::agsLinearH: return paint(MaxOf{none, same});
        case S::agsLinearV: return paint(MaxOf{same, none});
        case S::agsReflectedH: return paint(MaxOf{none, fromMiddle});
        case S::agsReflectedV: return paint(MaxOf{fromMiddle, none});
        case S::agsRectangleC: return paint(MaxOf{fromMiddle, fromMiddle});
        case S::agsRectangleL: return paint(MaxOf{same, fromMiddle});
        case S::agsRectangleR: return paint(MaxOf{fromFar, fromMiddle});
        case S::agsRectangleT: return paint(MaxOf{fromMiddle, same});
        case S::agsRectangleB: return paint(MaxOf{fromMiddle, fromFar});
        case S::agsRectangleLT: return paint(MaxOf{same, same});
        case S::agsRectangleLB: return paint(MaxOf{same, fromFar});
        case S::agsRectangleRT: return paint(MaxOf{fromFar, same});
        case S::agsRectangleRB: return paint(MaxOf{fromFar, fromFar});
        default: break;
    }
    const Radii r;
    switch (known(style)) {
        case S::agsRadialC: return paint([r](int x, int y) { return r(d181(x), d181(y)); });
        case S::agsRadialL: return paint([r](int x, int y) { return r(x, d181(y)); });
        case S::agsRadialR: return paint([r](int x, int y) { return r(180 - x, d181(y)); });
        case S::agsRadialT: return paint([r](int x, int y) { return r(d181(x), y); });
        case S::agsRadialB: return paint([r](int x, int y) { return r(d181(x), 180 - y); });
        case S::agsRadialLT: return paint([r](int x, int y) { return r(x, y); });
        case S::agsRadialLB: return paint([r](int x, int y) { return r(x, 180 - y); });
        case S::agsRadialRT: return paint([r](int x, int y) { return r(180 - x, y); });
        case S::agsRadialRB: return paint([r](int x, int y) { return r(180 - x, 180 - y); });
        case S::agsDiagonalLF: return paint([](int x, int y) { return y - x + 127; });
        case S::agsDiagonalLB: return paint([](int x, int y) { return x + y; });
        case S::agsDiagonalRF: return paint([](int x, int y) { return std::abs(x - y); });
        case S::agsDiagonalRB: return paint([](int x, int y) { return std::abs(x + y - 255); });
        case S::agsArrowL: return paint([](int x, int y) { return y <= 127 ? 255 - (x + y) : y - x; });
        case S::agsArrowR: return paint([](int x, int y) { return y <= 127 ? x - y + 127 : x + y - 128; });
        case S::agsArrowU: return paint([](int x, int y) { return x <= 127 ? 255 - (x + y) : x - y; });
        case S::agsArrowD: return paint([](int x, int y) { return x <= 127 ? y - x + 127 : x + y - 128; });
        case S::agsDiamond:
            return paint([](int x, int y) {
                if (y <= 127) return x <= 127 ? 255 - (x + y) : x - y;
                return x <= 127 ? y - x : x + y - 255;
            });
        case S::agsButterfly:
            return paint([](int x, int y) {
                if (y <= 127) return x <= 127 ? x - y + 128 : 383 - (x + y);
                return x <= 127 ? x + y - 128 : y - x + 128;
            });
        default: break;  // the bands and rectangles, above
    }
}

// Where a part of the scaled image starts and how large it is; the part lies
// inside the scaled size.
struct Part {
    PatternSize pattern;
    int64_t dstWidth, dstHeight, fromX, fromY;
    int width, height;
    uint32_t* out;
    ptrdiff_t outStride;
};

// Calls makeRow(row, patternRow) for each target row that shows a pattern row
// the row above did not; growing repeats whole rows, and copying the one just
// made is the cheap way to repeat it.
template <class MakeRow>
void forEachRow(const Part& p, MakeRow makeRow) {
    const uint32_t* previous = nullptr;
    int previousSource = -1;
    for (int y = 0; y < p.height; ++y) {
        uint32_t* row = p.out + static_cast<ptrdiff_t>(y) * p.outStride;
        const int sy = stretchSource(p.fromY + y, p.dstHeight, p.pattern.height);
        if (sy == previousSource)
            std::memcpy(row, previous, static_cast<size_t>(p.width) * sizeof(uint32_t));
        else
            makeRow(row, sy);
        previous = row;
        previousSource = sy;
    }
}

// The part of a pattern scaled, where pixel(x, y) gives the pattern's pixels.
// Only the pattern pixels the part shows are asked for, each once: a small
// control's gradient costs about its own size, a large one at most the
// pattern's size plus the copying, and no pattern image needs to exist.
template <class Pixel>
void scalePart(Pixel pixel, const Part& p) {
    // The pattern columns shown, in order, and which of them each target column shows.
    std::vector<int> columns;
    columns.reserve(static_cast<size_t>(std::min(p.width, p.pattern.width)));
    std::vector<int> pick(static_cast<size_t>(p.width));
    for (int x = 0; x < p.width; ++x) {
        int s = stretchSource(p.fromX + x, p.dstWidth, p.pattern.width);
        if (columns.empty() || columns.back() != s) columns.push_back(s);
        pick[static_cast<size_t>(x)] = static_cast<int>(columns.size()) - 1;
    }
    const size_t shown = columns.size();
    std::vector<uint32_t> sampled(shown);
    const int width = p.width;  // a local: the row's stores might otherwise change an int
    forEachRow(p, [&](uint32_t* row, int sy) {
        if (shown == static_cast<size_t>(width)) {  // no column repeats
            for (size_t i = 0; i < shown; ++i) row[i] = pixel(columns[i], sy);
        } else if (shown == 1) {
            std::fill_n(row, width, pixel(columns[0], sy));
        } else {
            for (size_t i = 0; i < shown; ++i) sampled[i] = pixel(columns[i], sy);
            for (int x = 0; x < width; ++x) row[x] = sampled[static_cast<size_t>(pick[static_cast<size_t>(x)])];
        }
    });
}

// The same for max(across(x), down(y)): each target column's across value
// and colour once, then every row is the edge colour where across wins and
// the row's own colour elsewhere.
template <class Across, class Down>
void scaleMaxOf(const MaxOf<Across, Down>& idx, const GradRamp& ramp, const Part& p) {
    std::vector<int> across(static_cast<size_t>(p.width));
    std::vector<uint32_t> edge(static_cast<size_t>(p.width));
    for (size_t x = 0; x < across.size(); ++x) {
        across[x] = idx.across(stretchSource(p.fromX + static_cast<int64_t>(x), p.dstWidth, p.pattern.width));
        edge[x] = ramp[static_cast<size_t>(across[x])];
    }
    forEachRow(p, [&](uint32_t* row, int sy) {
        const int down = idx.down(sy);
        const uint32_t inner = ramp[static_cast<size_t>(down)];
        const int* a = across.data();
        const uint32_t* e = edge.data();
        const int n = p.width;  // a local: the row's stores might otherwise change an int
        for (int x = 0; x < n; ++x) {
            const uint32_t fromEdge = e[x];  // loaded either way, so the choice needs no branch
            row[x] = a[x] >= down ? fromEdge : inner;
        }
    });
}

}  // namespace

PatternSize gradPatternSize(TOrbGradFillStyle style) {
    switch (known(style)) {
        case S::agsLinearH: return {1, 256};
        case S::agsLinearV: return {256, 1};
        case S::agsReflectedH: return {1, 512};
        case S::agsReflectedV: return {512, 1};
        case S::agsRectangleC: return {512, 512};
        case S::agsRectangleL:
        case S::agsRectangleR: return {256, 512};
        case S::agsRectangleT:
        case S::agsRectangleB: return {512, 256};
        case S::agsRectangleLT:
        case S::agsRectangleLB:
        case S::agsRectangleRT:
        case S::agsRectangleRB: return {256, 256};
        case S::agsRadialC: return {362, 362};
        case S::agsRadialL:
        case S::agsRadialR: return {181, 362};
        case S::agsRadialT:
        case S::agsRadialB: return {362, 181};
        case S::agsRadialLT:
        case S::agsRadialLB:
        case S::agsRadialRT:
        case S::agsRadialRB: return {181, 181};
        case S::agsDiagonalLF:
        case S::agsDiagonalLB: return {128, 129};
        case S::agsDiagonalRF:
        case S::agsDiagonalRB: return {256, 256};
        case S::agsArrowL:
        case S::agsArrowR: return {129, 256};
        case S::agsArrowU:
        case S::agsArrowD: return {256, 129};
        case S::agsDiamond:
        case S::agsButterfly: return {256, 256};
    }
    return {1, 256};
}

RgbImage makeGradPattern(TOrbGradFillStyle style, const GradRamp& ramp) {
    const PatternSize size = gradPatternSize(style);
    RgbImage image = RgbImage::create(size.width, size.height);
    paintGradPart(style, ramp, size.width, size.height, 0, 0, size.width, size.height, image.pixels.data(), size.width);
    return image;
}

void paintGradPart(TOrbGradFillStyle style, const GradRamp& ramp, int64_t dstWidth, int64_t dstHeight, int64_t fromX,
                   int64_t fromY, int width, int height, uint32_t* out, ptrdiff_t outStride) {
    if (width <= 0 || height <= 0) return;
    const Part part{gradPatternSize(style), dstWidth, dstHeight, fromX, fromY, width, height, out, outStride};
    withIndex(style, [&](auto idx) {
        if constexpr (isMaxOf<decltype(idx)>)
            scaleMaxOf(idx, ramp, part);
        else
            scalePart([&](int x, int y) { return ramp[static_cast<size_t>(idx(x, y))]; }, part);
    });
}

int stretchSource(int64_t dst, int64_t dstLen, int srcLen) {
    if (dstLen >= srcLen) {
        // The source pixel under the target pixel's centre.
        return static_cast<int>((2 * dst + 1) * srcLen / (2 * dstLen));
    }
    if (dstLen == 1) return 0;
    // Evenly from the first source pixel to the last, rounded to the nearest.
    return static_cast<int>((2 * dst * (srcLen - 1) + (dstLen - 1)) / (2 * (dstLen - 1)));
}

RgbImage stretchImage(const RgbImage& src, int width, int height) {
    RgbImage out = RgbImage::create(width, height);
    if (out.pixels.empty() || src.pixels.empty()) return out;
    scalePart([&](int x, int y) { return src.at(x, y); },
              Part{{src.width, src.height}, width, height, 0, 0, width, height, out.pixels.data(), width});
    return out;
}

void gradFill(PixelTarget target, const GradRect& rect, Color beginColor, Color endColor, TOrbGradFillStyle style,
              const SystemColorLookup& systemColor) {
    // 64 bits: a rectangle spanning most of the int range is still a size.
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || !target.pixels) return;
    const int64_t x0 = std::max<int64_t>(rect.left, 0), x1 = std::min<int64_t>(rect.right, target.width);
    const int64_t y0 = std::max<int64_t>(rect.top, 0), y1 = std::min<int64_t>(rect.bottom, target.height);
    if (x0 >= x1 || y0 >= y1) return;

    const GradRamp ramp = makeGradRamp(resolveColor(beginColor, systemColor), resolveColor(endColor, systemColor));
    paintGradPart(style, ramp, width, height, x0 - rect.left, y0 - rect.top, static_cast<int>(x1 - x0),
                  static_cast<int>(y1 - y0), target.pixels + y0 * target.stride + x0, target.stride);
}

}  // namespace orb
