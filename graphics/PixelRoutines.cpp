#include "graphics/PixelRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orb {

namespace {

int channel(Rgb c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }
Rgb makeRgb(int r, int g, int b) {
    return static_cast<Rgb>(r & 0xFF) | (static_cast<Rgb>(g & 0xFF) << 8) | (static_cast<Rgb>(b & 0xFF) << 16);
}

// background x weight + colour x (1 - weight), each product truncated on its own.
Rgb mixStroke(Rgb background, Rgb color, float backgroundWeight) {
    int c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = static_cast<int>(static_cast<float>(channel(background, i)) * backgroundWeight) +
               static_cast<int>(static_cast<float>(channel(color, i)) * (1.0f - backgroundWeight));
    return makeRgb(std::min(c[0], 255), std::min(c[1], 255), std::min(c[2], 255));
}

void plot(PixelSurface& s, int x, int y, Rgb color, float backgroundWeight) {
    if (s.contains(x, y)) s.setPixel(x, y, mixStroke(s.pixel(x, y), color, backgroundWeight));
}

int roundHalfAway(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }
int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

std::optional<std::string> GraphicClassForExtension(std::wstring_view ext) {
    std::wstring e(ext);
    for (auto& c : e)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    if (e == L".png") return "TPNGObject";
    if (e == L".jpg" || e == L".jpeg") return "TJPEGImage";
    if (e == L".gif") return "TGIFImage";
    if (e == L".bmp") return "TBitmap";
    if (e == L".pcx") return "TJvPcx";
    if (e == L".ico") return "TIcon";
    if (e == L".wmf" || e == L".emf") return "TMetafile";
    return std::nullopt;
}

Rgb BlendColor(Rgb c1, Rgb c2, int step, int steps) {
    if (steps == 0) steps = 1;
    int c[3];
    for (int i = 0; i < 3; ++i) {
        double a = channel(c1, i), b = channel(c2, i);
        c[i] = static_cast<int>(std::trunc(a + (b - a) * step / steps));
    }
    return makeRgb(c[0], c[1], c[2]);
}

void blendRow(const Rgb* over, const Rgb* under, Rgb* out, size_t count, int weight) {
    weight = std::clamp(weight, 0, 255);
    for (size_t i = 0; i < count; ++i) {
        Rgb o = over[i], u = under[i];
        // Rounded 8-bit blend: exact at 0 and 255.
        Rgb rb = ((o & 0xFF00FF) * static_cast<Rgb>(weight) + (u & 0xFF00FF) * static_cast<Rgb>(255 - weight) +
                  0x800080);
        Rgb g = ((o & 0x00FF00) * static_cast<Rgb>(weight) + (u & 0x00FF00) * static_cast<Rgb>(255 - weight) +
                 0x008000);
        // Divide each 16-bit lane by 255 as (x + (x >> 8)) >> 8.
        rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
        g = ((g + ((g >> 8) & 0x00FF00)) >> 8) & 0x00FF00;
        out[i] = rb | g;
    }
}

std::vector<IntRect> opaqueRuns(int width, int height, const Rgb* pixels, Rgb key, int tolerance) {
    std::vector<IntRect> runs;
    auto transparent = [&](Rgb p) {
        for (int i = 0; i < 3; ++i) {
            int v = channel(p, i), k = channel(key, i);
            if (v < k || v > k + tolerance) return false;
        }
        return true;
    };
    for (int y = 0; y < height; ++y) {
        const Rgb* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        int x = 0;
        while (x < width) {
            while (x < width && transparent(row[x])) ++x;
            int start = x;
            while (x < width && !transparent(row[x])) ++x;
            if (x > start) runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}

void AALine(PixelSurface& s, int x1, int y1, int x2, int y2, Rgb color) {
    if (s.contains(x1, y1)) s.setPixel(x1, y1, color);
    if (s.contains(x2, y2)) s.setPixel(x2, y2, color);
    int dx = x2 - x1, dy = y2 - y1;
    if (std::abs(dx) > std::abs(dy)) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        float g = static_cast<float>(y2 - y1) / static_cast<float>(x2 - x1);
        float y = static_cast<float>(y1) + g;
        for (int x = x1 + 1; x < x2; ++x) {
            int t = static_cast<int>(y);
            float f = y - static_cast<float>(t);
            plot(s, x, t, color, f);
            plot(s, x, t + 1, color, 1.0f - f);
            y += g;
        }
    } else if (dy != 0) {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        float g = static_cast<float>(x2 - x1) / static_cast<float>(y2 - y1);
        float x = static_cast<float>(x1) + g;
        for (int y = y1 + 1; y < y2; ++y) {
            int t = static_cast<int>(x);
            float f = x - static_cast<float>(t);
            plot(s, t, y, color, f);
            plot(s, t + 1, y, color, 1.0f - f);
            x += g;
        }
    }
}

namespace {

void arcSegment(PixelSurface& s, int cx, int cy, int rx, int ry, double start, double end, Rgb color) {
    constexpr double kDegree = 3.1415 / 180;
    int x0 = roundHalfAway(rx * std::cos(start * kDegree));
    int x1 = static_cast<int>(rx * std::cos(end * kDegree));
    int y0 = roundHalfAway(ry * std::sin(start * kDegree));
    int y1 = static_cast<int>(ry * std::sin(end * kDegree));
    int sx = sign(x1 - x0), sy = sign(y1 - y0);
    bool upper = sx >= 0;
    if (sx != 0 && rx != 0) {
        int previous = y0;
        for (int n = x0; n != x1; n += sx) {
            double q = 1.0 - static_cast<double>(n) * n / (static_cast<double>(rx) * rx);
            double p = ry * std::sqrt(std::max(0.0, q));
            int t = static_cast<int>(p);
            float f = static_cast<float>(p - t);
            if (std::abs(previous - t) < 2) {
                int dir = upper ? -1 : 1;
                plot(s, cx + n, cy + dir * t, color, f);
                plot(s, cx + n, cy + dir * (t + 1), color, 1.0f - f);
            }
            previous = t;
        }
    }
    if (sy != 0 && ry != 0) {
        int previous = x0;
        for (int m = y0; m != y1; m += sy) {
            double q = 1.0 - static_cast<double>(m) * m / (static_cast<double>(ry) * ry);
            double p = rx * std::sqrt(std::max(0.0, q));
            int t = static_cast<int>(p);
            float f = static_cast<float>(p - t);
            if (std::abs(previous - t) < 2) {
                int dir = sy > 0 ? 1 : -1;
                plot(s, cx + dir * t, cy + m, color, f);
                plot(s, cx + dir * (t + 1), cy + m, color, 1.0f - f);
            }
            previous = t;
        }
    }
}

}  // namespace

void AAArc(PixelSurface& s, int x1, int y1, int x2, int y2, float startAngle, float endAngle, Rgb color) {
    int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    int rx = std::abs(x2 - x1) / 2, ry = std::abs(y2 - y1) / 2;
    double q = 0;
    while (q + 90 < startAngle) q += 90;
    double start = startAngle;
    while (q < endAngle) {
        arcSegment(s, cx, cy, rx, ry, start, std::min<double>(endAngle, q + 90), color);
        start = q + 90;
        q += 90;
    }
}

size_t chooseIconImage(const std::vector<IconImageInfo>& images, int w, int h, int depth, bool stretch) {
    if (images.empty()) return 0;
    std::optional<size_t> choice;
    IconImageInfo best{0, 0, 0};
    for (size_t i = 0; i < images.size(); ++i) {
        const auto& im = images[i];
        if (im.width > w || im.height > h || im.bitsPerPixel > depth) continue;
        bool larger = im.width > best.width && im.height > best.height;
        bool deeper = im.width == best.width && im.height == best.height && im.bitsPerPixel > best.bitsPerPixel;
        if (larger || deeper) {
            choice = i;
            best = im;
        }
    }
    size_t chosen = choice.value_or(0);
    if (stretch) {
        // The smallest image that still covers the target.
        for (size_t i = 0; i < images.size(); ++i) {
            const auto& im = images[i];
            const auto& cur = images[chosen];
            if (!((im.width > w || im.height > h) && im.bitsPerPixel <= depth)) continue;
            bool currentTooSmall = cur.width < w || cur.height < h;
            bool smaller = im.width < cur.width && im.height < cur.height;
            bool deeper = im.width == cur.width && im.height == cur.height && im.bitsPerPixel > cur.bitsPerPixel;
            if (currentTooSmall || smaller || deeper) chosen = i;
        }
    }
    return chosen;
}

IntRect fitImage(const IntRect& r, int iw, int ih, int flags) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (flags & kFitStretch) {
        if (!(flags & kFitKeepAspect) || iw <= 0 || ih <= 0 || w <= 0 || h <= 0) return r;
        auto mulDiv = [](int a, int b, int c) {
            return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
        };
        if (static_cast<double>(ih) / h >= static_cast<double>(iw) / w) {
            int fw = mulDiv(iw, h, ih);
            int left = r.left + (w - fw) / 2;
            return {left, r.top, left + fw, r.top + h};
        }
        int fh = mulDiv(ih, w, iw);
        int top = r.top + (h - fh) / 2;
        return {r.left, top, r.left + w, top + fh};
    }
    if (flags & kFitCentre) {
        int left = r.left + (w - iw) / 2, top = r.top + (h - ih) / 2;
        return {left, top, left + iw, top + ih};
    }
    return {r.left, r.top, r.left + iw, r.top + ih};
}

}  // namespace orb
