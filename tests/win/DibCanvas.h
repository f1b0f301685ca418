#pragma once
// A 32-bit top-down DIB section selected into its own memory DC: something
// to paint on and read back pixel by pixel in the Windows tests.
#include <cstdint>

#include "framework/Handles.h"

namespace orb::test {

class DibCanvas {
public:
    DibCanvas(int w, int h, uint32_t fillRrggbb = 0) : width_(w), height_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<uint32_t*>(bits);
        dc_.reset(CreateCompatibleDC(nullptr));
        old_ = SelectObject(dc_.get(), bitmap_.get());
        fill(fillRrggbb);
    }
    ~DibCanvas() { SelectObject(dc_.get(), old_); }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    // Lets the bitmap go from the DC for the scope, for routines that read bitmaps held by no DC.
    class Released {
    public:
        explicit Released(DibCanvas& c) : c_(c) { SelectObject(c_.dc_.get(), c_.old_); }
        ~Released() { SelectObject(c_.dc_.get(), c_.bitmap_.get()); }

    private:
        DibCanvas& c_;
    };

    void fill(uint32_t rrggbb) {
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

private:
    int width_, height_;
    GdiObject bitmap_;
    MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
    uint32_t* pixels_ = nullptr;
};

}  // namespace orb::test
