// The message box and the input dialog: real windows, real modal loops, driven
// from timers that fire inside those loops.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DibCanvas.h"
#include "actions/OrbMsgForm.h"
#include "actions/OrbUtils.h"
#include "app/OrbForm.h"
#include "framework/CursorTable.h"
#include "framework/Fonts.h"
#include "framework/FormWindow.h"
#include "graphics/OrbGraphics.h"
#include "graphics/ProgramIcon.h"

using namespace orb;

namespace {

// Runs steps one per timer tick from inside the next message loop (so after
// the modal window has shown and painted). Should a step leave the window
// open, a watchdog closes the active window so that a failing test cannot hang.
class DuringModal {
public:
    explicit DuringModal(std::vector<std::function<void()>> steps, UINT intervalMs = 60) : steps_(std::move(steps)) {
        current() = this;
        timer_ = SetTimer(nullptr, 0, intervalMs, &tick);
        watchdog_ = SetTimer(nullptr, 0, 5000, &rescue);
    }
    ~DuringModal() {
        KillTimer(nullptr, timer_);
        KillTimer(nullptr, watchdog_);
        current() = nullptr;
    }
    DuringModal(const DuringModal&) = delete;
    DuringModal& operator=(const DuringModal&) = delete;

    bool finished() const { return next_ == steps_.size(); }
    bool rescued() const { return rescued_; }

private:
    static DuringModal*& current() {
        static DuringModal* active = nullptr;
        return active;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        DuringModal* self = current();
        if (!self || self->finished()) return;
        self->steps_[self->next_++]();
    }
    static void CALLBACK rescue(HWND, UINT, UINT_PTR, DWORD) {
        DuringModal* self = current();
        if (!self) return;
        self->rescued_ = true;
        if (HWND active = GetActiveWindow()) PostMessageW(active, WM_CLOSE, 0, 0);
    }

    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0, watchdog_ = 0;
    bool rescued_ = false;
};

SIZE rectSize(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

uint32_t screenRgb(int x, int y) {  // 0x00RRGGBB
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void pressKey(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void clickAt(POINT screenPoint) {
    SetCursorPos(screenPoint.x, screenPoint.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

std::wstring windowText(HWND h) {
    wchar_t buffer[256] = {};
    GetWindowTextW(h, buffer, 256);
    return buffer;
}

constexpr uint32_t kFrameFill = 0xFFFFE7, kGrey = 0x7F7F7F;
constexpr uint32_t kButtonFill = 0xFEFEE6, kButtonEdge = 0xC6C2C6, kLight = 0xFEFEFE, kShadow = 0x868286;

}  // namespace

// ---- the pictures the build draws ----

struct PicturePixel {
    const wchar_t* resource;
    int width, height;
    int x, y;
    uint32_t argb;
};

class MessagePictures : public ::testing::TestWithParam<PicturePixel> {};

TEST_P(MessagePictures, SizeAndPixel) {
    const PicturePixel& c = GetParam();
    Bitmap32 image = LoadPngResource(c.resource);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    EXPECT_EQ(image.pixel(c.x, c.y), c.argb) << "at " << c.x << "," << c.y;
}

constexpr uint32_t opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

INSTANTIATE_TEST_SUITE_P(
    Resources, MessagePictures,
    ::testing::Values(
        // The frame: magenta outside the rounded outline, grey outline, pale-yellow inside.
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 0, 0, opaque(0xFF00FF)},
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 47, 47, opaque(0xFF00FF)},
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 2, 2, opaque(kGrey)},
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 24, 0, opaque(kGrey)},
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 47, 24, opaque(kGrey)},
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 24, 24, opaque(kFrameFill)},
        PicturePixel{L"MSGBOX_FRAME", 48, 48, 4, 4, opaque(kFrameFill)},
        // Buttons: corners cut away, plain grey outline when normal.
        PicturePixel{L"MSGBTN_NORMAL", 75, 23, 0, 0, 0},
        PicturePixel{L"MSGBTN_NORMAL", 75, 23, 1, 1, opaque(kGrey)},
        PicturePixel{L"MSGBTN_NORMAL", 75, 23, 37, 0, opaque(kGrey)},
        PicturePixel{L"MSGBTN_NORMAL", 75, 23, 37, 1, opaque(kButtonFill)},
        // Raised when hovered: light top and left, dark bottom and right.
        PicturePixel{L"MSGBTN_HOVER", 75, 23, 37, 0, opaque(kButtonEdge)},
        PicturePixel{L"MSGBTN_HOVER", 75, 23, 37, 1, opaque(kLight)},
        PicturePixel{L"MSGBTN_HOVER", 75, 23, 1, 11, opaque(kLight)},
        PicturePixel{L"MSGBTN_HOVER", 75, 23, 37, 21, opaque(kShadow)},
        PicturePixel{L"MSGBTN_HOVER", 75, 23, 73, 11, opaque(kShadow)},
        PicturePixel{L"MSGBTN_HOVER", 75, 23, 37, 11, opaque(kButtonFill)},
        // Sunken when pressed: the inner lines exchanged.
        PicturePixel{L"MSGBTN_PRESSED", 75, 23, 74, 22, 0},
        PicturePixel{L"MSGBTN_PRESSED", 75, 23, 37, 1, opaque(kShadow)},
        PicturePixel{L"MSGBTN_PRESSED", 75, 23, 1, 11, opaque(kShadow)},
        PicturePixel{L"MSGBTN_PRESSED", 75, 23, 37, 21, opaque(kLight)},
        PicturePixel{L"MSGBTN_PRESSED", 75, 23, 37, 22, opaque(kButtonEdge)}));

TEST(MessageFrame, CornersKeptEdgesStretched) {
    Bitmap32 frame = LoadPngResource(L"MSGBOX_FRAME");
    Bitmap32 built = BuildMessageFrame(frame, 200, 120);
    ASSERT_EQ(built.width(), 200);
    ASSERT_EQ(built.height(), 120);
    // Each corner is the picture's corner, pixel for pixel.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(built.pixel(x, y), frame.pixel(x, y));
            ASSERT_EQ(built.pixel(199 - x, 119 - y), frame.pixel(47 - x, 47 - y));
            ASSERT_EQ(built.pixel(199 - x, y), frame.pixel(47 - x, y));
            ASSERT_EQ(built.pixel(x, 119 - y), frame.pixel(x, 47 - y));
        }
    // The straight outline runs the whole length; the inside is the fill.
    for (int x = 16; x < 184; ++x) {
        ASSERT_EQ(built.pixel(x, 0), opaque(kGrey));
        ASSERT_EQ(built.pixel(x, 119), opaque(kGrey));
    }
    for (int y = 16; y < 104; ++y) ASSERT_EQ(built.pixel(199, y), opaque(kGrey));
    EXPECT_EQ(built.pixel(100, 60), opaque(kFrameFill));
}

// ---- layout ----

struct WidthLimitCase {
    int screenWidth, limit;
};
class MessageWidthLimit : public ::testing::TestWithParam<WidthLimitCase> {};

TEST_P(MessageWidthLimit, WrapsAt) { EXPECT_EQ(messageTextWidthLimit(GetParam().screenWidth), GetParam().limit); }

INSTANTIATE_TEST_SUITE_P(Screens, MessageWidthLimit,
                         ::testing::Values(WidthLimitCase{1024, 480}, WidthLimitCase{560, 480},
                                           WidthLimitCase{559, 479}, WidthLimitCase{500, 420}));

TEST(MsgBox, ShortMessageGetsTheMinimumWindowCentredAndCut) {
    TOrbMsgForm form(nullptr);
    form.prepare(L"Hi", nullptr);
    const MessageLayout& l = form.layout();
    EXPECT_EQ(rectSize(l.label).cx, 40);
    EXPECT_EQ(rectSize(l.label).cy, 32);
    EXPECT_EQ(l.label.left, 64);
    EXPECT_EQ(l.label.top, 22);

    RECT w;
    GetWindowRect(form.hwnd(), &w);
    EXPECT_EQ(rectSize(w).cx, 120);
    EXPECT_EQ(rectSize(w).cy, 109);
    EXPECT_EQ(w.left, (GetSystemMetrics(SM_CXSCREEN) - 120) / 2);
    EXPECT_EQ(w.top, (GetSystemMetrics(SM_CYSCREEN) - 109) / 2);

    RECT b = form.okButton().bounds();
    EXPECT_EQ(b.left, (120 - 75) / 2);
    EXPECT_EQ(b.top, 32 + 38);
    EXPECT_EQ(rectSize(b).cx, 75);
    EXPECT_EQ(rectSize(b).cy, 23);

    GdiObject region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(form.hwnd(), static_cast<HRGN>(region.get())), ERROR);
    HRGN r = static_cast<HRGN>(region.get());
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    EXPECT_FALSE(PtInRegion(r, 119, 0));
    EXPECT_FALSE(PtInRegion(r, 0, 108));
    EXPECT_FALSE(PtInRegion(r, 119, 108));
    EXPECT_TRUE(PtInRegion(r, 60, 0));  // the outline belongs to the window
    EXPECT_TRUE(PtInRegion(r, 0, 54));
    EXPECT_TRUE(PtInRegion(r, 60, 54));
    EXPECT_FALSE(form.hasIcon());  // no menu window, no picture given
}

TEST(MsgBox, LongMessageWrapsAtTheLimit) {
    std::wstring text;
    for (int i = 0; i < 12; ++i) text += L"Please insert the second disc and press OK to continue. ";
    TOrbMsgForm form(nullptr);
    form.prepare(text, nullptr);
    SIZE label = rectSize(form.layout().label);
    EXPECT_LE(label.cx, 480);
    EXPECT_GT(label.cx, 400);  // lines are filled up to the limit, give or take a word

    HDC dc = GetDC(form.hwnd());
    HGDIOBJ old = SelectObject(dc, form.font());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(form.hwnd(), dc);
    EXPECT_GE(label.cy, 4 * tm.tmHeight);
    RECT w;
    GetWindowRect(form.hwnd(), &w);
    EXPECT_EQ(rectSize(w).cx, label.cx + 80);
    EXPECT_EQ(rectSize(w).cy, label.cy + 77);
    EXPECT_EQ(form.okButton().bounds().top, label.cy + 38);
}

TEST(MsgBox, LineBreaksAndAmpersandsAreTakenAsTheyAre) {
    const std::wstring line = L"Tom & Jerry & Friends Company";
    TOrbMsgForm one(nullptr), three(nullptr);
    one.prepare(line, nullptr);
    three.prepare(line + L"\nsecond\nthird", nullptr);

    HDC dc = GetDC(one.hwnd());
    HGDIOBJ old = SelectObject(dc, one.font());
    SIZE plain{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &plain);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(one.hwnd(), dc);
    EXPECT_EQ(rectSize(one.layout().label).cx, plain.cx);  // no "&" swallowed as an accelerator mark
    EXPECT_EQ(rectSize(three.layout().label).cx, plain.cx);
    EXPECT_EQ(rectSize(three.layout().label).cy, 3 * tm.tmHeight);
}

// ---- the window on screen ----

TEST(MsgBox, ShowsFrameOutlineIconAndButtonOnScreen) {
    TOrbForm menu(nullptr);  // a menu window without an icon of its own: the built-in icon shows
    TOrbMsgForm form(&menu);
    form.prepare(L"Disc ejected.", nullptr);
    EXPECT_TRUE(form.hasIcon());
    RECT w;
    GetWindowRect(form.hwnd(), &w);
    RECT b = form.okButton().bounds();
    std::vector<uint32_t> seen;
    int iconPixels = 0;
    DuringModal during({[&] {
        seen = {screenRgb(w.left + 56, w.top + 6), screenRgb(w.left + 56, w.top), screenRgb(w.left, w.top + 50),
                screenRgb(w.right - 1, w.top + 50), screenRgb(w.left + b.left + 5, w.top + b.top + 11),
                screenRgb(w.left + b.left + 10, w.top + b.top)};
        for (int y = 16; y < 48; ++y)
            for (int x = 16; x < 48; ++x) iconPixels += screenRgb(w.left + x, w.top + y) != kFrameFill;
        PostMessageW(form.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    }});
    EXPECT_EQ(form.showModal(), mrOk);
    EXPECT_FALSE(during.rescued());
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], kFrameFill);
    EXPECT_EQ(seen[1], kGrey);
    EXPECT_EQ(seen[2], kGrey);
    EXPECT_EQ(seen[3], kGrey);
    EXPECT_EQ(seen[4], kButtonFill);
    EXPECT_EQ(seen[5], kGrey);
    EXPECT_GT(iconPixels, 100);
}

struct CloseKey {
    WORD vk;
    int result;
};
class MsgBoxKeys : public ::testing::TestWithParam<CloseKey> {};

TEST_P(MsgBoxKeys, CloseTheWindow) {
    TOrbMsgForm form(nullptr);
    form.prepare(L"Press a key", nullptr);
    DuringModal during({[&] { PostMessageW(form.hwnd(), WM_KEYDOWN, GetParam().vk, 0); }});
    EXPECT_EQ(form.showModal(), GetParam().result);
    EXPECT_FALSE(during.rescued());
    EXPECT_FALSE(IsWindowVisible(form.hwnd()));
}

INSTANTIATE_TEST_SUITE_P(Keys, MsgBoxKeys,
                         ::testing::Values(CloseKey{VK_SPACE, mrOk}, CloseKey{VK_RETURN, mrOk},
                                           CloseKey{VK_ESCAPE, mrCancel}),
                         [](const ::testing::TestParamInfo<CloseKey>& info) {
                             return std::string(info.param.vk == VK_SPACE    ? "Space"
                                                : info.param.vk == VK_RETURN ? "Enter"
                                                                             : "Escape");
                         });

TEST(MsgBox, OtherKeysLeaveItOpen) {
    TOrbMsgForm form(nullptr);
    form.prepare(L"Press a key", nullptr);
    bool openAfterA = false;
    DuringModal during({[&] { PostMessageW(form.hwnd(), WM_KEYDOWN, 'A', 0); },
                        [&] {
                            openAfterA = form.modalResult() == mrNone && IsWindowVisible(form.hwnd());
                            PostMessageW(form.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
                        }});
    form.showModal();
    EXPECT_TRUE(openAfterA);
}

TEST(MsgBox, RealSpaceKeyAndMouseClickClose) {
    {
        TOrbMsgForm form(nullptr);
        form.prepare(L"Typed", nullptr);
        DuringModal during({[&] {
            SetForegroundWindow(form.hwnd());
            pressKey(VK_SPACE);
        }});
        EXPECT_EQ(form.showModal(), mrOk);
        EXPECT_FALSE(during.rescued());
    }
    {
        TOrbMsgForm form(nullptr);
        form.prepare(L"Clicked", nullptr);
        RECT w, b = form.okButton().bounds();
        GetWindowRect(form.hwnd(), &w);
        DuringModal during({[&] {
            SetForegroundWindow(form.hwnd());
            clickAt({w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2});
        }});
        EXPECT_EQ(form.showModal(), mrOk);
        EXPECT_FALSE(during.rescued());
    }
}

TEST(MsgBox, ModalLoopDisablesTheOwnerUntilClosed) {
    TOrbForm menu(nullptr);
    auto peer = std::make_unique<FormWindow>(menu, L"TMsgBoxTestOwner");
    HWND owner = peer->hwnd();
    menu.setPeer(std::move(peer));
    TOrbMsgForm form(&menu);
    form.prepare(L"Owned", nullptr);
    EXPECT_EQ(GetWindow(form.hwnd(), GW_OWNER), owner);
    bool ownerEnabledDuring = true;
    DuringModal during({[&] {
        ownerEnabledDuring = IsWindowEnabled(owner) != FALSE;
        form.close(mrOk);
    }});
    form.showModal();
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(MsgBox, IconChoiceFollowsTheOwner) {
    Picture given;
    auto graphic = GraphicRegistry::instance().create(iconClass().name);
    graphic->setFileBytes(programIconBytes());
    given.setGraphic(std::move(graphic));
    Picture empty;

    TOrbMsgForm plainWithIcon(nullptr), plainWithEmpty(nullptr);
    plainWithIcon.prepare(L"x", &given);
    plainWithEmpty.prepare(L"x", &empty);
    EXPECT_TRUE(plainWithIcon.hasIcon());
    EXPECT_FALSE(plainWithEmpty.hasIcon());

    TOrbForm withIcon(nullptr);
    std::vector<uint8_t> ico = programIconBytes();
    withIcon.iconData.setData(ico.data(), ico.size());
    TOrbMsgForm owned(&withIcon);
    owned.prepare(L"x", nullptr);  // a menu window's own icon wins over no picture
    EXPECT_TRUE(owned.hasIcon());
}

struct CursorCase {
    bool designMode;
    LPCWSTR onWindow, onButton;
};
class MsgBoxCursors : public ::testing::TestWithParam<CursorCase> {};

TEST_P(MsgBoxCursors, ComeFromTheTableOutsideDesignMode) {
    CursorTable& table = CursorTable::screen();
    table.setShared(kCursorSlotNormal, LoadCursorW(nullptr, IDC_CROSS));
    table.setShared(kCursorSlotHot, LoadCursorW(nullptr, IDC_HAND));
    TOrbForm menu(nullptr);
    menu.setDesignMode(GetParam().designMode);
    TOrbMsgForm form(&menu);
    form.prepare(L"Cursors", nullptr);
    RECT w, b = form.okButton().bounds();
    GetWindowRect(form.hwnd(), &w);
    HCURSOR overWindow = nullptr, overButton = nullptr;
    auto cursorAt = [&](int x, int y) {
        SetCursorPos(w.left + x, w.top + y);
        SendMessageW(form.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    DuringModal during({[&] {
        overWindow = cursorAt(30, 8);
        overButton = cursorAt((b.left + b.right) / 2, (b.top + b.bottom) / 2);
        form.close(mrOk);
    }});
    form.showModal();
    table.setShared(kCursorSlotNormal, nullptr);
    table.setShared(kCursorSlotHot, nullptr);
    EXPECT_EQ(overWindow, LoadCursorW(nullptr, GetParam().onWindow));
    EXPECT_EQ(overButton, LoadCursorW(nullptr, GetParam().onButton));
}

INSTANTIATE_TEST_SUITE_P(Modes, MsgBoxCursors,
                         ::testing::Values(CursorCase{false, IDC_CROSS, IDC_HAND},
                                           CursorCase{true, IDC_ARROW, IDC_ARROW}));

TEST(CursorTable, UnknownIdsGiveTheArrowAndTheEditSlotStartsAsIBeam) {
    CursorTable table;
    EXPECT_EQ(table.get(1999), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(table.get(12345), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(table.get(kCursorSlotEdit), LoadCursorW(nullptr, IDC_IBEAM));
    table.setShared(2999, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(table.get(2999), LoadCursorW(nullptr, IDC_HAND));
    table.setShared(2999, nullptr);
    EXPECT_EQ(table.get(2999), LoadCursorW(nullptr, IDC_ARROW));
}

// ---- the OK button ----

struct ButtonStep {
    enum Event { Enter, EnterHeld, Leave, LeaveHeld, Down, UpOver, UpOutside } event;
    TOKButton::State after;
    bool click;
};

TEST(OKButton, StateFollowsThePointer) {
    struct Sequence {
        const char* name;
        std::vector<ButtonStep> steps;
    };
    using S = TOKButton::State;
    using E = ButtonStep;
    const std::vector<Sequence> sequences = {
        {"hover and leave", {{E::Enter, S::stHover, false}, {E::Leave, S::stNormal, false}}},
        {"click", {{E::Enter, S::stHover, false}, {E::Down, S::stPressed, false}, {E::UpOver, S::stNormal, true}}},
        {"press, wander off and back",
         {{E::Down, S::stPressed, false},
          {E::LeaveHeld, S::stHover, false},
          {E::EnterHeld, S::stPressed, false},
          {E::UpOver, S::stNormal, true}}},
        {"press and release outside",
         {{E::Down, S::stPressed, false}, {E::LeaveHeld, S::stHover, false}, {E::UpOutside, S::stNormal, false}}},
    };
    for (const Sequence& seq : sequences) {
        TOKButton button;
        int repaints = 0;
        button.onRepaint = [&] { ++repaints; };
        int changes = 0;
        TOKButton::State before = button.state();
        for (const ButtonStep& step : seq.steps) {
            bool click = false;
            switch (step.event) {
                case E::Enter: button.mouseEnter(false); break;
                case E::EnterHeld: button.mouseEnter(true); break;
                case E::Leave: button.mouseLeave(false); break;
                case E::LeaveHeld: button.mouseLeave(true); break;
                case E::Down: button.mouseDown(); break;
                case E::UpOver: click = button.mouseUp(true); break;
                case E::UpOutside: click = button.mouseUp(false); break;
            }
            EXPECT_EQ(button.state(), step.after) << seq.name;
            EXPECT_EQ(click, step.click) << seq.name;
            changes += step.after != before;
            before = step.after;
        }
        EXPECT_EQ(repaints, changes) << seq.name;  // every change of state repaints, and only those
    }
}

namespace {
// The bounding box of the caption's (near-black) pixels.
RECT textBox(const test::DibCanvas& canvas, int w, int h) {
    RECT box{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = canvas.rgbAt(x, y);
            if (((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    return box;
}
}  // namespace

TEST(OKButton, PaintsEachStatePictureWithCentredCaption) {
    TOKButton button;
    ASSERT_EQ(button.width(), 75);
    ASSERT_EQ(button.height(), 23);
    GdiObject font = createFont(Font{});
    HFONT hfont = static_cast<HFONT>(font.get());
    struct Painted {
        uint32_t topInner, bottomInner;
        RECT text;
    };
    auto paint = [&] {
        test::DibCanvas canvas(75, 23, kFrameFill);
        button.paint(canvas.dc(), hfont, RGB(0, 0, 0));
        return Painted{canvas.rgbAt(37, 1), canvas.rgbAt(37, 21), textBox(canvas, 75, 23)};
    };
    // Where the caption's ink lies within its text cell, to place the centred cell exactly.
    SIZE cell{};
    RECT ink{};
    {
        test::DibCanvas canvas(75, 23, kFrameFill);
        SelectedObject selected(canvas.dc(), hfont);
        GetTextExtentPoint32W(canvas.dc(), L"OK", 2, &cell);
        SetBkMode(canvas.dc(), TRANSPARENT);
        SetTextColor(canvas.dc(), RGB(0, 0, 0));
        TextOutW(canvas.dc(), 0, 0, L"OK", 2);
        ink = textBox(canvas, 75, 23);
    }
    Painted normal = paint();
    button.mouseEnter(false);
    Painted hover = paint();
    button.mouseDown();
    Painted pressed = paint();

    EXPECT_EQ(normal.topInner, kButtonFill);
    EXPECT_EQ(hover.topInner, kLight);
    EXPECT_EQ(hover.bottomInner, kShadow);
    EXPECT_EQ(pressed.topInner, kShadow);
    EXPECT_EQ(pressed.bottomInner, kLight);

    ASSERT_GT(ink.right, ink.left) << "the caption draws";
    EXPECT_EQ(normal.text.left, (75 - cell.cx) / 2 + ink.left);
    EXPECT_EQ(normal.text.top, (23 - cell.cy) / 2 + ink.top);
    EXPECT_EQ(hover.text.left, normal.text.left);
    EXPECT_EQ(hover.text.top, normal.text.top);
    EXPECT_EQ(pressed.text.left, normal.text.left + 1);  // pressed: one pixel right and down
    EXPECT_EQ(pressed.text.top, normal.text.top + 1);
}

// ---- the input dialog ----

namespace {
HWND activeDialog() { return GetActiveWindow(); }
HWND editOf(HWND dialog) { return FindWindowExW(dialog, nullptr, L"Edit", nullptr); }
void typeInto(HWND edit, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
}
}  // namespace

struct InputCase {
    const char* name;
    std::function<void(HWND dialog)> finish;
    bool result;
    const wchar_t* text;  // what the caller's text holds afterwards
};

class InputDialogEnding : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputDialogEnding, ReturnsTheTextOnlyOnOk) {
    std::wstring text = L"old";
    DuringModal during({[&] {
        HWND dialog = activeDialog();
        typeInto(editOf(dialog), L"new text");
        GetParam().finish(dialog);
    }});
    bool ok = InputDialog(nullptr, L"Password", L"&Enter Password:", false, text);
    EXPECT_FALSE(during.rescued());
    EXPECT_EQ(ok, GetParam().result);
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, InputDialogEnding,
    ::testing::Values(
        InputCase{"Enter", [](HWND d) { PostMessageW(editOf(d), WM_KEYDOWN, VK_RETURN, 0); }, true, L"new text"},
        InputCase{"OkButton",
                  [](HWND d) { SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }, true, L"new text"},
        InputCase{"Escape", [](HWND d) { PostMessageW(editOf(d), WM_KEYDOWN, VK_ESCAPE, 0); }, false, L"old"},
        InputCase{"CancelButton",
                  [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }, false, L"old"},
        InputCase{"Closed", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }, false, L"old"}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST(InputDialog, LaysOutPromptEditAndButtons) {
    RECT client{}, window{};
    std::wstring caption;
    struct Child {
        RECT r;
        std::wstring text;
        LONG style;
    };
    auto childRect = [](HWND dialog, HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    Child edit{}, ok{}, cancel{}, prompt{};
    LOGFONTW face{};
    std::wstring text = L"abc";
    DuringModal during({[&] {
        HWND d = activeDialog();
        GetClientRect(d, &client);
        GetWindowRect(d, &window);
        caption = windowText(d);
        HWND e = editOf(d), o = GetDlgItem(d, IDOK), c = GetDlgItem(d, IDCANCEL);
        HWND p = FindWindowExW(d, nullptr, L"Static", nullptr);
        edit = {childRect(d, e), windowText(e), GetWindowLongW(e, GWL_STYLE)};
        ok = {childRect(d, o), windowText(o), GetWindowLongW(o, GWL_STYLE)};
        cancel = {childRect(d, c), windowText(c), GetWindowLongW(c, GWL_STYLE)};
        prompt = {childRect(d, p), windowText(p), GetWindowLongW(p, GWL_STYLE)};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(e, WM_GETFONT, 0, 0)), sizeof face, &face);
        PostMessageW(d, WM_CLOSE, 0, 0);
    }});
    InputDialog(nullptr, L"Protected", L"&Name:", false, text);
    EXPECT_EQ(caption, L"Protected");
    EXPECT_EQ(rectSize(client).cx, 300);
    EXPECT_EQ(rectSize(client).cy, 90);
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - rectSize(window).cx) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - rectSize(window).cy) / 2);

    EXPECT_EQ(edit.r.left, 8);
    EXPECT_EQ(edit.r.top, 26);
    EXPECT_EQ(rectSize(edit.r).cx, 284);
    EXPECT_EQ(rectSize(edit.r).cy, 21);
    EXPECT_EQ(edit.text, L"abc");
    EXPECT_EQ(edit.style & ES_PASSWORD, 0);

    EXPECT_EQ(prompt.r.left, 8);
    EXPECT_EQ(prompt.r.top, 8);
    EXPECT_EQ(prompt.text, L"&Name:");

    EXPECT_EQ(ok.r.left, 55);
    EXPECT_EQ(ok.r.top, 57);
    EXPECT_EQ(rectSize(ok.r).cx, 75);
    EXPECT_EQ(rectSize(ok.r).cy, 25);
    EXPECT_EQ(ok.text, L"OK");
    EXPECT_EQ(ok.style & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(cancel.r.left, 170);
    EXPECT_EQ(cancel.r.top, 57);
    EXPECT_EQ(rectSize(cancel.r).cx, 75);
    EXPECT_EQ(cancel.text, L"Cancel");

    bool segoe = screenFontInstalled(L"Segoe UI") && windowsMajorVersion() > 5;
    EXPECT_EQ(std::wstring(face.lfFaceName), segoe ? L"Segoe UI" : L"Tahoma");
    EXPECT_EQ(face.lfHeight, segoe ? -12 : -11);
}

TEST(InputDialog, MaskedInputShowsStarsAndReturnsWhatWasTyped) {
    std::wstring text;
    LONG style = 0;
    LRESULT mask = 0;
    DuringModal during({[&] {
        HWND e = editOf(activeDialog());
        style = GetWindowLongW(e, GWL_STYLE);
        mask = SendMessageW(e, EM_GETPASSWORDCHAR, 0, 0);
        typeInto(e, L"s3cret");
        PostMessageW(e, WM_KEYDOWN, VK_RETURN, 0);
    }});
    EXPECT_TRUE(InputDialog(nullptr, L"Password", L"&Enter Password:", true, text));
    EXPECT_NE(style & ES_PASSWORD, 0);
    EXPECT_EQ(mask, L'*');
    EXPECT_EQ(text, L"s3cret");
}

TEST(InputDialog, PromptAcceleratorFocusesTheEditLine) {
    std::wstring text;
    HWND edit = nullptr, focusAfter = nullptr;
    DuringModal during({[&] {
                            HWND d = activeDialog();
                            edit = editOf(d);
                            SetFocus(GetDlgItem(d, IDCANCEL));
                            PostMessageW(GetDlgItem(d, IDCANCEL), WM_SYSCHAR, L'n', 1 << 29);
                        },
                        [&] {
                            focusAfter = GetFocus();
                            PostMessageW(activeDialog(), WM_CLOSE, 0, 0);
                        }});
    InputDialog(nullptr, L"Accel", L"&Name:", false, text);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(focusAfter, edit);
}

TEST(InputDialog, OwnerWindowIsDisabledWhileItShows) {
    CustomForm owner(nullptr);
    auto peer = std::make_unique<FormWindow>(owner, L"TInputTestOwner");
    HWND ownerWindow = peer->hwnd();
    owner.setPeer(std::move(peer));
    HWND dialogOwner = nullptr;
    bool enabledDuring = true;
    std::wstring text;
    DuringModal during({[&] {
        HWND d = activeDialog();
        dialogOwner = GetWindow(d, GW_OWNER);
        enabledDuring = IsWindowEnabled(ownerWindow) != FALSE;
        PostMessageW(d, WM_CLOSE, 0, 0);
    }});
    InputDialog(&owner, L"Owned", L"Prompt", false, text);
    EXPECT_EQ(dialogOwner, ownerWindow);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

struct VistaFontCase {
    bool vista, segoeInstalled;
    const char* name;
    int32_t height;
    const char* expectName;
    int32_t expectHeight;
};
class VistaFont : public ::testing::TestWithParam<VistaFontCase> {};

TEST_P(VistaFont, GrowsOnePointIntoSegoeUiOnlyWhereItShould) {
    const VistaFontCase& c = GetParam();
    Font font;
    font.name = c.name;
    font.height = c.height;
    ApplyVistaFont(font, c.vista, c.segoeInstalled);
    EXPECT_EQ(font.name, c.expectName);
    EXPECT_EQ(font.height, c.expectHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, VistaFont,
    ::testing::Values(VistaFontCase{false, true, "Tahoma", -11, "Tahoma", -11},         // before Vista
                      VistaFontCase{true, true, "Tahoma", -11, "Segoe UI", -12},        // 8 pt becomes 9 pt
                      VistaFontCase{true, false, "Tahoma", -11, "Tahoma", -11},         // face not installed
                      VistaFontCase{true, true, "segoe ui", -11, "segoe ui", -11}));    // already that face
