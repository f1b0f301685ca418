// The button's look on the system's device contexts.
#include <vector>

#include "controls/OrbButton.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/OffscreenBitmap.h"
#include "graphics/OrbGraphics.h"
#include "graphics/OrbTextRender.h"
#include "graphics/PictureDecode.h"
#include "graphics/PictureRoutines.h"

namespace orb {

namespace {

// The visual-style calls, looked up once: older systems have no theme library.
class ButtonTheme {
public:
    static ButtonTheme& instance() {
        static ButtonTheme theme;
        return theme;
    }
    bool active() const { return isThemeActive_ && isThemeActive_() && open_ && draw_ && close_; }
    // partState: 1 normal, 2 hot, 3 pressed, 4 disabled.
    bool drawPushButton(HDC dc, const RECT& r, int state) const {
        HANDLE theme = open_(nullptr, L"BUTTON");
        if (!theme) return false;
        bool ok = SUCCEEDED(draw_(theme, dc, 1 /* BP_PUSHBUTTON */, state, &r, nullptr));
        close_(theme);
        return ok;
    }

private:
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using OpenFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
    using DrawFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    using CloseFn = HRESULT(WINAPI*)(HANDLE);
    ButtonTheme() {
        library_ = LoadLibraryW(L"uxtheme.dll");
        if (!library_) return;
        isThemeActive_ = reinterpret_cast<IsThemeActiveFn>(reinterpret_cast<void*>(GetProcAddress(library_, "IsThemeActive")));
        open_ = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(library_, "OpenThemeData")));
        draw_ = reinterpret_cast<DrawFn>(reinterpret_cast<void*>(GetProcAddress(library_, "DrawThemeBackground")));
        close_ = reinterpret_cast<CloseFn>(reinterpret_cast<void*>(GetProcAddress(library_, "CloseThemeData")));
    }
    ~ButtonTheme() {
        if (library_) FreeLibrary(library_);
    }
    HMODULE library_ = nullptr;
    IsThemeActiveFn isThemeActive_ = nullptr;
    OpenFn open_ = nullptr;
    DrawFn draw_ = nullptr;
    CloseFn close_ = nullptr;
};

void fillRect(HDC dc, const RECT& r, Color color) {
    GdiObject brush(CreateSolidBrush(colorToRgb(color)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF rgb) {
    GdiObject pen(CreatePen(PS_SOLID, 1, rgb));
    SelectedObject selected(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// One pixel on the outermost pixels: light top and left, dark right and bottom (swapped when sunken).
void bevel(HDC dc, int w, int h, bool sunken) {
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    if (sunken) std::swap(light, dark);
    line(dc, 0, h - 1, 0, 0, light);
    line(dc, 0, 0, w, 0, light);
    line(dc, w - 1, 0, w - 1, h, dark);
    line(dc, 0, h - 1, w - 1, h - 1, dark);
}

void dottedFrame(HDC dc, int w, int h) {
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
    GdiObject pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr));
    SelectedObject selectedPen(dc, pen.get());
    SelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, w, h);
}

// The icon's pixels of the key colour left out.
void keyOut(Bitmap32& image, Color key) {
    COLORREF rgb = colorToRgb(key);
    uint32_t wanted = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
    for (uint32_t& p : image.pixels())
        if ((p & 0xFFFFFF) == wanted) p = 0;
}

void drawIcon(HDC dc, int x, int y, const Picture& picture, Color transparentColor) {
    const Graphic& graphic = *picture.graphic();
    DecodedPicture decoded = decodeGraphic(graphic);
    if (decoded.status == DecodeStatus::NotDecodableHere) {
        int w = 0, h = 0;
        EnhMetafile meta = metafileFromBytes(graphic.fileBytes(), w, h);
        RECT r{x, y, x + w, y + h};
        if (meta) PlayEnhMetaFile(dc, meta.get(), &r);
        return;
    }
    if (!decoded.ok()) return;
    Bitmap32& image = decoded.frames[0].image;
    bool ownTransparency = IsTransparentGif(picture) || IsTransparentPng(picture) ||
                           decoded.format == PictureFormat::Ico || decoded.format == PictureFormat::Cur ||
                           transparentColor == kClNone;
    if (!ownTransparency) keyOut(image, transparentColor);
    drawBitmap32(dc, x, y, image);
}

}  // namespace

void TOrbButton::paintControl(HDC target) {
    using enum TOrbButtonStyle;
    if (!visible()) return;
    const int w = width(), h = height();
    OffscreenBitmap picture(w, h);
    if (!picture.valid()) return;
    HDC dc = picture.dc();
    PaintParentBackground(*this, dc);
    const RECT all{0, 0, w, h};

    // Face.
    bool themed = false;
    if (xpThemesSupport && ButtonTheme::instance().active()) {
        int state = !enabled() ? 4 : pressed ? 3 : mouseInside ? 2 : 1;
        themed = ButtonTheme::instance().drawPushButton(dc, all, state);
    }
    if (!themed) {
        Color face = pressed ? downColor : mouseInside ? overColor : color();
        const RECT inner{1, 1, w - 1, h - 1};
        switch (style) {
            case absWindows: {
                RECT r = all;
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
                break;
            }
            case absNormal:
            case absFlat: fillRect(dc, inner, face); break;
            case absSolid:
                if (pressed || mouseInside) fillRect(dc, inner, face);
                break;
            case absSemiTransparent: BlendWithColor(dc, all, *this, face); break;
            default: break;
        }
    }

    // Caption and icon.
    if (style != absHotSpot) {
        GdiObject gdiFont = createFont(font());
        SelectedObject selectedFont(dc, gdiFont.get());
        SetBkMode(dc, TRANSPARENT);
        const bool antiAlias = textMode == TOrbTextRenderMode::atmAntiAlias;
        const std::wstring text = displayedCaption();
        ButtonLayoutInput in;
        in.width = w;
        in.height = h;
        in.hasText = !text.empty();
        if (in.hasText) MeasureText(dc, text, antiAlias, DT_CENTER, in.textWidth, in.textHeight);
        in.hasIcon = !imgIcon.empty() && graphicSize(*imgIcon.graphic(), in.iconWidth, in.iconHeight);
        if (!in.hasIcon && !imgIcon.empty()) {
            // Metafiles are measured by the system.
            int mw = 0, mh = 0;
            if (metafileFromBytes(imgIcon.graphic()->fileBytes(), mw, mh)) {
                in.hasIcon = true;
                in.iconWidth = mw;
                in.iconHeight = mh;
            }
        }
        in.layout = layout;
        in.horizontal = horizontalAlignment;
        in.vertical = verticalAlignment;
        in.horizontalMargin = horizontalMargin;
        in.verticalMargin = verticalMargin;
        in.glyphMargin = glyphMargin;
        const ButtonLayout placed = layoutButton(in);
        const int shift = pressed && !themed ? 1 : 0;

        if (in.hasText) {
            UINT flags = DT_NOCLIP | (placed.align == TextAlign::Left    ? DT_LEFT
                                      : placed.align == TextAlign::Right ? DT_RIGHT
                                                                         : DT_CENTER);
            RECT r{placed.text.left, placed.text.top, placed.text.right, placed.text.bottom};
            if (pressed) {
                OffsetRect(&r, shift, shift);
                SetTextColor(dc, colorToRgb(downFontColor));
                DrawTextInRect(dc, text, r, flags, antiAlias);
            } else {
                if (textStyle != TOrbCoolButtonTextStyle::abtNormal) {
                    int d = textStyle == TOrbCoolButtonTextStyle::abtLowered ? 1 : -1;
                    RECT shadow = r;
                    OffsetRect(&shadow, d, d);
                    SetTextColor(dc, colorToRgb(shadowColor));
                    DrawTextInRect(dc, text, shadow, flags, antiAlias);
                }
                Color textColor = mouseInside ? overFontColor : enabled() ? font().color : Color{0x808080};
                SetTextColor(dc, colorToRgb(textColor));
                DrawTextInRect(dc, text, r, flags, antiAlias);
            }
        }
        if (in.hasIcon) drawIcon(dc, placed.icon.left + shift, placed.icon.top + shift, imgIcon, transparentColor);
    }

    // Frame.
    if (!themed && style != absWindows) {
        if (!showsFrame()) {
            if (designMode()) dottedFrame(dc, w, h);
        } else if (pressed) {
            bevel(dc, w, h, true);
        } else if (mouseInside || style != absFlat) {
            bevel(dc, w, h, false);
        } else {
            GdiObject pen(CreatePen(PS_SOLID, 1, colorToRgb(borderColor)));
            SelectedObject selectedPen(dc, pen.get());
            SelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, 0, 0, w, h);
        }
    }

    if (opacity() >= 100) {
        picture.copyTo(target, 0, 0);
        return;
    }
    OffscreenBitmap background(w, h);
    if (!background.valid()) return;
    PaintParentBackground(*this, background.dc());
    OffscreenBitmap::Released a(background), b(picture);
    BlendBitmaps(background.bitmap(), picture.bitmap(), target, (100 - opacity()) * 255 / 100);
}

}  // namespace orb
