#include "actions/OrbMsgForm.h"

#include <algorithm>
#include <cstddef>

#include "app/OrbForm.h"
#include "framework/CursorTable.h"
#include "framework/Fonts.h"
#include "graphics/OrbGraphics.h"
#include "graphics/ProgramIcon.h"

namespace orb {

namespace {

constexpr COLORREF kMessageColor = 0xE7FFFF;  // the frame picture's fill
constexpr Rgb kCutAway = 0xFF00FF;
constexpr int kFrameBorder = 16;
constexpr int kMinTextWidth = 40, kMinTextHeight = 32;
constexpr int kLabelLeft = 64, kLabelTop = 22;
constexpr RECT kIconRect{16, 16, 48, 48};
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

// The system's message-box font. The structure is asked for in its first,
// shortest form, which every system since the 9x family answers.
GdiObject messageBoxFont() {
    NONCLIENTMETRICSA metrics{};
    static_assert(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) == 340);
    metrics.cbSize = 340;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        if (HFONT font = CreateFontIndirectA(&metrics.lfMessageFont)) return GdiObject(font);
    return createFont(Font{});
}

// A 32-bit top-down DIB section holding the image's pixels.
GdiObject dibFrom(const Bitmap32& image) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width(), -image.height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (section && bits) std::copy(image.pixels().begin(), image.pixels().end(), static_cast<uint32_t*>(bits));
    return section;
}

// One piece of the nine: source rectangle stretched, nearest pixel, onto the destination rectangle.
void copyPiece(const Bitmap32& from, IntRect s, Bitmap32& to, IntRect d) {
    int sw = s.right - s.left, sh = s.bottom - s.top, dw = d.right - d.left, dh = d.bottom - d.top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    for (int y = 0; y < dh; ++y) {
        const uint32_t* src = from.row(s.top + static_cast<int>(int64_t(y) * sh / dh));
        uint32_t* dst = to.row(d.top + y);
        for (int x = 0; x < dw; ++x) dst[d.left + x] = src[s.left + static_cast<int>(int64_t(x) * sw / dw)];
    }
}

}  // namespace

// ---- TOKButton ----

TOKButton::TOKButton()
    : normal_(LoadPngResource(L"MSGBTN_NORMAL")),
      hover_(LoadPngResource(L"MSGBTN_HOVER")),
      pressed_(LoadPngResource(L"MSGBTN_PRESSED")) {}

void TOKButton::setPosition(int left, int top) {
    left_ = left;
    top_ = top;
}

bool TOKButton::contains(POINT p) const {
    RECT r = bounds();
    return PtInRect(&r, p) != FALSE;
}

void TOKButton::setState(State s) {
    if (s == state_) return;
    state_ = s;
    if (onRepaint) onRepaint();
}

void TOKButton::mouseEnter(bool heldOnButton) { setState(heldOnButton ? stPressed : stHover); }
void TOKButton::mouseLeave(bool heldOnButton) { setState(heldOnButton ? stHover : stNormal); }
void TOKButton::mouseDown() { setState(stPressed); }

bool TOKButton::mouseUp(bool over) {
    setState(stNormal);
    return over;
}

const Bitmap32& TOKButton::picture() const {
    switch (state_) {
        case stHover: return hover_;
        case stPressed: return pressed_;
        default: return normal_;
    }
}

void TOKButton::paint(HDC dc, HFONT font, COLORREF textColor) const {
    const Bitmap32& image = picture();
    if (!image.empty()) drawBitmap32(dc, IntRect{left_, top_, left_ + width(), top_ + height()}, image);
    SelectedObject selected(dc, font);
    static constexpr wchar_t kText[] = L"OK";
    SIZE extent{};
    GetTextExtentPoint32W(dc, kText, 2, &extent);
    int shift = state_ == stPressed ? 1 : 0;  // the sunken look moves the caption with it
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    TextOutW(dc, left_ + (width() - extent.cx) / 2 + shift, top_ + (height() - extent.cy) / 2 + shift, kText, 2);
}

// ---- layout ----

int messageTextWidthLimit(int screenWidth) { return screenWidth < 560 ? screenWidth - 80 : 480; }

MessageLayout layoutMessage(SIZE measured, SIZE button, SIZE screen) {
    int w = std::max<int>(measured.cx, kMinTextWidth), h = std::max<int>(measured.cy, kMinTextHeight);
    MessageLayout l;
    l.label = {kLabelLeft, kLabelTop, kLabelLeft + w, kLabelTop + h};
    int ww = w + 80, wh = h + 77;
    int x = (screen.cx - ww) / 2, y = (screen.cy - wh) / 2;
    l.window = {x, y, x + ww, y + wh};
    l.button = {(ww - button.cx) / 2, h + 38};
    return l;
}

Bitmap32 BuildMessageFrame(const Bitmap32& frame, int width, int height) {
    Bitmap32 out = Bitmap32::create(width, height);
    if (out.empty() || frame.empty()) return out;
    const int b = kFrameBorder, fw = frame.width(), fh = frame.height();
    const int sx[4] = {0, b, fw - b, fw}, sy[4] = {0, b, fh - b, fh};
    const int dx[4] = {0, b, width - b, width}, dy[4] = {0, b, height - b, height};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            copyPiece(frame, {sx[col], sy[row], sx[col + 1], sy[row + 1]}, out,
                      {dx[col], dy[row], dx[col + 1], dy[row + 1]});
    return out;
}

// ---- TOrbMsgForm ----

TOrbMsgForm::TOrbMsgForm(Component* owner) : TOrbModalForm(owner) {
    setColor(kMessageColor);
    setFont(messageBoxFont());
    button_.onRepaint = [this] {
        if (!hwnd()) return;
        RECT r = button_.bounds();
        InvalidateRect(hwnd(), &r, FALSE);
        UpdateWindow(hwnd());
    };
    createWindow(WS_POPUP | WS_CLIPCHILDREN, 0, L"", RECT{0, 0, 0, 0});
}

void TOrbMsgForm::chooseIcon(const Picture* given) {
    icon_ = nullptr;
    if (auto* form = dynamic_cast<const TOrbForm*>(owner())) {
        if (form->iconData.hasData()) {
            if (auto graphic = GraphicRegistry::instance().create(iconClass().name)) {
                graphic->setFileBytes(form->iconData.bytes());
                ownIcon_.setGraphic(std::move(graphic));
            }
        } else {
            LoadProgramIconPicture(ownIcon_);
        }
        if (!ownIcon_.empty()) icon_ = ownIcon_.graphic();
    } else if (given && !given->empty()) {
        icon_ = given->graphic();
    }
}

void TOrbMsgForm::prepare(const std::wstring& text, const Picture* icon) {
    text_ = text;
    windowCursor_ = nullptr;
    button_.cursor = nullptr;
    if (auto* form = dynamic_cast<const TOrbForm*>(owner()); form && !form->designMode()) {
        windowCursor_ = CursorTable::screen().get(kCursorSlotNormal);
        button_.cursor = CursorTable::screen().get(kCursorSlotHot);
    }

    SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT measured{0, 0, messageTextWidthLimit(screen.cx), 0};
    {
        HDC dc = GetDC(hwnd());
        SelectedObject selected(dc, font());
        UINT format = DT_CALCRECT | kTextFormat;
        if (GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_RTLREADING) format |= DT_RTLREADING;
        DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &measured, format);
        ReleaseDC(hwnd(), dc);
    }
    layout_ = layoutMessage({measured.right - measured.left, measured.bottom - measured.top},
                            {button_.width(), button_.height()}, screen);
    button_.setPosition(layout_.button.x, layout_.button.y);
    chooseIcon(icon);

    const RECT& w = layout_.window;
    int width = w.right - w.left, height = w.bottom - w.top;
    Bitmap32 frame = BuildMessageFrame(LoadPngResource(L"MSGBOX_FRAME"), width, height);
    background_ = dibFrom(frame);
    SetWindowPos(hwnd(), nullptr, w.left, w.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (background_) {
        RegionHandle region = RegionFromBitmap(static_cast<HBITMAP>(background_.get()), kCutAway, 0);
        // The window owns the region from here on.
        if (region && SetWindowRgn(hwnd(), region.get(), TRUE)) region.release();
    }
}

void TOrbMsgForm::paint(HDC dc, const RECT& client) {
    if (background_) {
        MemoryDc source(CreateCompatibleDC(dc));
        SelectedObject selected(source.get(), background_.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
    }
    if (icon_) DrawIconBestFit(dc, kIconRect, *icon_, kFitStretch);
    SelectedObject selected(dc, font());
    SetBkMode(dc, TRANSPARENT);
    COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT);
    SetTextColor(dc, textColor);
    RECT label = layout_.label;
    UINT format = kTextFormat;
    if (GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_RTLREADING) format |= DT_RTLREADING;
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &label, format);
    button_.paint(dc, font(), textColor);
}

void TOrbMsgForm::mouseMove(POINT p, bool leftDown) {
    bool over = button_.contains(p);
    if (over != overButton_) {
        overButton_ = over;
        bool held = buttonCaptured_ && leftDown;
        if (over)
            button_.mouseEnter(held);
        else
            button_.mouseLeave(held);
    }
    if (over && !trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
}

// As if the caption had been grabbed: the system moves the window with the mouse.
void TOrbMsgForm::beginWindowMove() {
    ReleaseCapture();
    SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

LRESULT TOrbMsgForm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE || wp == VK_RETURN || wp == VK_SPACE) {
                close(wp == VK_ESCAPE ? mrCancel : mrOk);
                return 0;
            }
            break;
        case WM_MOUSEMOVE: mouseMove(p, (wp & MK_LBUTTON) != 0); return 0;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            if (overButton_ && !buttonCaptured_) {
                overButton_ = false;
                button_.mouseLeave(false);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (button_.contains(p)) {
                SetCapture(hwnd());
                buttonCaptured_ = true;
                overButton_ = true;
                button_.mouseDown();
            } else {
                beginWindowMove();
            }
            return 0;
        case WM_LBUTTONUP:
            if (buttonCaptured_) {
                buttonCaptured_ = false;
                ReleaseCapture();
                bool over = button_.contains(p);
                overButton_ = over;
                if (button_.mouseUp(over)) close(mrOk);
                else if (!over) button_.mouseLeave(false);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (buttonCaptured_) {  // taken away while pressed: no click
                buttonCaptured_ = false;
                button_.mouseUp(false);
            }
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                POINT at;
                GetCursorPos(&at);
                ScreenToClient(hwnd(), &at);
                HCURSOR cursor = button_.contains(at) && button_.cursor ? button_.cursor : windowCursor_;
                if (cursor) {
                    SetCursor(cursor);
                    return TRUE;
                }
            }
            break;
        default: break;
    }
    return TOrbModalForm::handleMessage(msg, wp, lp);
}

void ShowMessageBox(Component* owner, const std::wstring& text, const Picture* icon) {
    TOrbMsgForm form(owner);
    form.prepare(text, icon);
    form.showModal();
}

}  // namespace orb
