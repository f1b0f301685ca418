#include "graphics/OrbTextRender.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace orb {

namespace {

// The few entry points of the system's 2D vector library that text needs,
// looked up at run time so that a system without it falls back to plain text.
struct GpGraphics;
struct GpFont;
struct GpStringFormat;
struct GpBrush;
struct RectF {
    float x, y, width, height;
};
struct StartupInput {
    UINT32 version = 1;
    void* debugCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};

constexpr int kNoWrap = 0x1000, kNoClip = 0x4000;
constexpr int kHotkeyShow = 1, kHotkeyNone = 0;
constexpr int kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2;
constexpr int kHintAntiAlias = 4;

class VectorText {
public:
    static VectorText& instance() {
        static VectorText v;
        return v;
    }
    bool ok() const { return ok_; }

    int (WINAPI* createFromHdc)(HDC, GpGraphics**) = nullptr;
    int (WINAPI* createFontFromDc)(HDC, GpFont**) = nullptr;
    int (WINAPI* createStringFormat)(INT, LANGID, GpStringFormat**) = nullptr;
    int (WINAPI* setFormatFlags)(GpStringFormat*, INT) = nullptr;
    int (WINAPI* setHotkeyPrefix)(GpStringFormat*, INT) = nullptr;
    int (WINAPI* setAlign)(GpStringFormat*, INT) = nullptr;
    int (WINAPI* setTextHint)(GpGraphics*, INT) = nullptr;
    int (WINAPI* createSolidFill)(DWORD, GpBrush**) = nullptr;
    int (WINAPI* drawString)(GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*,
                             const GpBrush*) = nullptr;
    int (WINAPI* measureString)(GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*,
                                RectF*, INT*, INT*) = nullptr;
    int (WINAPI* deleteGraphics)(GpGraphics*) = nullptr;
    int (WINAPI* deleteFont)(GpFont*) = nullptr;
    int (WINAPI* deleteFormat)(GpStringFormat*) = nullptr;
    int (WINAPI* deleteBrush)(GpBrush*) = nullptr;

private:
    VectorText() {
        library_ = LoadLibraryW(L"gdiplus.dll");
        if (!library_) return;
        auto get = [this](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
                reinterpret_cast<void*>(GetProcAddress(library_, name)));
            return fn != nullptr;
        };
        int (WINAPI* startup)(ULONG_PTR*, const StartupInput*, void*) = nullptr;
        bool all = get(startup, "GdiplusStartup") && get(createFromHdc, "GdipCreateFromHDC") &&
                   get(createFontFromDc, "GdipCreateFontFromDC") && get(createStringFormat, "GdipCreateStringFormat") &&
                   get(setFormatFlags, "GdipSetStringFormatFlags") &&
                   get(setHotkeyPrefix, "GdipSetStringFormatHotkeyPrefix") &&
                   get(setAlign, "GdipSetStringFormatAlign") && get(setTextHint, "GdipSetTextRenderingHint") &&
                   get(createSolidFill, "GdipCreateSolidFill") && get(drawString, "GdipDrawString") &&
                   get(measureString, "GdipMeasureString") && get(deleteGraphics, "GdipDeleteGraphics") &&
                   get(deleteFont, "GdipDeleteFont") && get(deleteFormat, "GdipDeleteStringFormat") &&
                   get(deleteBrush, "GdipDeleteBrush");
        StartupInput input;
        ok_ = all && startup(&token_, &input, nullptr) == 0;
    }
    // The library stays loaded for the process: unloading it at exit races its own threads.
    HMODULE library_ = nullptr;
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

// One vector-library drawing session over a device context.
class VectorSession {
public:
    VectorSession(HDC dc, UINT flags, bool atPoint) : v_(VectorText::instance()) {
        v_.createFromHdc(dc, &graphics_);
        v_.createFontFromDc(dc, &font_);
        v_.createStringFormat(0, 0, &format_);
        if (!graphics_ || !font_ || !format_) return;
        int formatFlags = 0;
        if (!(flags & DT_WORDBREAK)) formatFlags |= kNoWrap;
        if (atPoint || (flags & DT_NOCLIP)) formatFlags |= kNoClip;
        v_.setFormatFlags(format_, formatFlags);
        v_.setHotkeyPrefix(format_, (flags & DT_NOPREFIX) ? kHotkeyNone : kHotkeyShow);
        v_.setAlign(format_, (flags & DT_CENTER) ? kAlignCenter : (flags & DT_RIGHT) ? kAlignFar : kAlignNear);
        v_.setTextHint(graphics_, kHintAntiAlias);
        COLORREF c = GetTextColor(dc);
        DWORD argb = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        v_.createSolidFill(argb, &brush_);
    }
    ~VectorSession() {
        if (brush_) v_.deleteBrush(brush_);
        if (format_) v_.deleteFormat(format_);
        if (font_) v_.deleteFont(font_);
        if (graphics_) v_.deleteGraphics(graphics_);
    }
    bool ok() const { return graphics_ && font_ && format_ && brush_; }
    void measure(std::wstring_view text, int& w, int& h) {
        RectF layout{0, 0, 0, 0}, box{0, 0, 0, 0};
        v_.measureString(graphics_, text.data(), static_cast<INT>(text.size()), font_, &layout, format_, &box,
                         nullptr, nullptr);
        w = static_cast<int>(std::lround(box.width));
        h = static_cast<int>(std::lround(box.height));
    }
    void draw(std::wstring_view text, const RectF& layout) {
        v_.drawString(graphics_, text.data(), static_cast<INT>(text.size()), font_, &layout, format_, brush_);
    }

private:
    VectorText& v_;
    GpGraphics* graphics_ = nullptr;
    GpFont* font_ = nullptr;
    GpStringFormat* format_ = nullptr;
    GpBrush* brush_ = nullptr;
};

std::vector<std::wstring_view> linesOf(std::wstring_view text, UINT flags) {
    std::vector<std::wstring_view> lines;
    if (flags & DT_SINGLELINE) {
        lines.push_back(text);
        return lines;
    }
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            start = i + 1;
        }
    }
    lines.push_back(text.substr(start));
    return lines;
}

void measureLine(HDC dc, std::wstring_view line, bool antiAlias, UINT flags, int& w, int& h) {
    w = h = 0;
    if (antiAlias && vectorTextAvailable()) {
        VectorSession session(dc, flags, false);
        if (session.ok()) {
            // An empty line still has the height of one.
            session.measure(line.empty() ? std::wstring_view(L" ") : line, w, h);
            if (line.empty()) w = 0;
            return;
        }
    }
    RECT r{0, 0, 0, 0};
    std::wstring copy(line.empty() ? L" " : line);
    DrawTextW(dc, copy.c_str(), static_cast<int>(copy.size()), &r, flags | DT_CALCRECT);
    w = line.empty() ? 0 : r.right;
    h = r.bottom;
}

void drawLine(HDC dc, std::wstring_view line, const RECT& r, UINT flags, bool antiAlias, bool atPoint) {
    if (line.empty()) return;
    if (antiAlias && vectorTextAvailable()) {
        VectorSession session(dc, flags, atPoint);
        if (session.ok()) {
            RectF layout{static_cast<float>(r.left), static_cast<float>(r.top),
                         atPoint ? 0.0f : static_cast<float>(r.right - r.left) + 0.5f,
                         atPoint ? 0.0f : static_cast<float>(r.bottom - r.top) + 0.5f};
            session.draw(line, layout);
            return;
        }
    }
    RECT box = r;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, line.data(), static_cast<int>(line.size()), &box, flags);
    SetBkMode(dc, oldMode);
}

}  // namespace

bool vectorTextAvailable() { return VectorText::instance().ok(); }

void MeasureText(HDC dc, std::wstring_view text, bool antiAlias, UINT flags, int& width, int& height) {
    width = height = 0;
    if (text.empty()) return;
    for (std::wstring_view line : linesOf(text, flags)) {
        int w, h;
        measureLine(dc, line, antiAlias, flags, w, h);
        width = std::max(width, w);
        height += h;
    }
}

void DrawTextAt(HDC dc, std::wstring_view text, int x, int y, UINT flags, bool antiAlias) {
    if (text.empty()) return;
    for (std::wstring_view line : linesOf(text, flags)) {
        int w, h;
        measureLine(dc, line, antiAlias, flags, w, h);
        drawLine(dc, line, RECT{x, y, x + 100, y + 100}, flags | DT_SINGLELINE | DT_NOCLIP, antiAlias, true);
        y += h;
    }
}

void DrawTextInRect(HDC dc, std::wstring_view text, const RECT& rect, UINT flags, bool antiAlias) {
    if (text.empty()) return;
    RECT r = rect;
    for (std::wstring_view line : linesOf(text, flags)) {
        int w, h;
        measureLine(dc, line, antiAlias, flags, w, h);
        drawLine(dc, line, r, flags, antiAlias, false);
        r.top += h;
    }
}

void DrawTextInBox(HDC dc, std::wstring_view text, int left, int top, int width, int height, UINT flags,
                   bool antiAlias) {
    DrawTextInRect(dc, text, RECT{left, top, left + width, top + height}, flags, antiAlias);
}

}  // namespace orb
