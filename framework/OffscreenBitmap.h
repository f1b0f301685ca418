#pragma once
// A 32-bit top-down DIB section selected into its own memory DC: what drawn
// controls paint into before one copy reaches the screen, with direct access
// to the pixels for blending and for reading back.
#include <cstdint>

#include "framework/Handles.h"

namespace orb {

class OffscreenBitmap {
public:
    OffscreenBitmap(int w, int h, uint32_t fillRrggbb = 0) : width_(w > 0 ? w : 0), height_(h > 0 ? h : 0) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width_ ? width_ : 1, -(height_ ? height_ : 1), 1, 32, BI_RGB, 0, 0,
                        0,
                        0,
                        0};
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<uint32_t*>(bits);
        dc_.reset(CreateCompatibleDC(nullptr));
        old_ = SelectObject(dc_.get(), bitmap_.get());
        fill(fillRrggbb);
    }
    ~OffscreenBitmap() { SelectObject(dc_.get(), old_); }
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    bool valid() const { return pixels_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    // Lets the bitmap go from the DC for the scope, for routines that read bitmaps held by no DC.
    class Released {
    public:
        explicit Released(OffscreenBitmap& c) : c_(c) { SelectObject(c_.dc_.get(), c_.old_); }
        ~Released() { SelectObject(c_.dc_.get(), c_.bitmap_.get()); }

    private:
        OffscreenBitmap& c_;
    };

    void fill(uint32_t rrggbb) {
        if (!pixels_) return;
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) pixels_[i] = rrggbb & 0xFFFFFF;
    }
    void set(int x, int y, uint32_t rrggbb) { pixels_[y * width_ + x] = rrggbb; }
    uint32_t rgbAt(int x, int y) const {  // 0x00RRGGBB
        GdiFlush();
        return pixels_[y * width_ + x] & 0xFFFFFF;
    }
    uint32_t colorRefAt(int x, int y) const {  // 0x00BBGGRR, as project colours are
        uint32_t v = rgbAt(x, y);
        return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
    }
    // Copies the whole bitmap to dc at (x, y).
    void copyTo(HDC dc, int x, int y) const { BitBlt(dc, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY); }

private:
    int width_, height_;
    GdiObject bitmap_;
    MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
    uint32_t* pixels_ = nullptr;
};

}  // namespace orb
