#include <gtest/gtest.h>

#include <vector>

#include "app/OrbForm.h"
#include "controls/OrbButton.h"
#include "framework/ControlPeers.h"
#include "framework/CursorTable.h"
#include "framework/FormWindow.h"

using namespace orb;

namespace {

// Counts what reaches the dispatcher instead of acting.
class CountingServices final : public SilentActionControlServices {
public:
    CountingServices() : previous_(setActionControlServices(this)) {}
    ~CountingServices() override { setActionControlServices(previous_); }
    void performAction(TOrbForm*, TOrbActionType, const std::wstring& parameter, const std::wstring&,
                       TOrbWindowMode) override {
        performed.push_back(parameter);
    }

    std::vector<std::wstring> performed;

private:
    ActionControlServices* previous_;
};

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

// Two buttons overlapping in 60..110; the later one, B, lies on top.
struct Page {
    Page() {
        form.setClientWidth(300);
        form.setClientHeight(100);
        auto window = std::make_unique<FormWindow>(form, L"TMouseRouterTest");
        hwnd = window->hwnd();
        form.setPeer(std::move(window));
        place(a, L"A", 10);
        place(b, L"B", 60);
        attachControlPeers(form, hwnd);
    }
    ~Page() {
        a.setParent(nullptr);
        b.setParent(nullptr);
    }
    void place(TOrbButton& button, const wchar_t* name, int left) {
        button.setParent(&form);
        button.setBounds(left, 10, 100, 30);
        button.actionType = TOrbActionType::aatPopupMessage;
        button.parameter = name;
    }
    LRESULT send(UINT msg, WPARAM wp, LPARAM lp) { return SendMessageW(hwnd, msg, wp, lp); }

    TOrbForm form{nullptr};
    TOrbButton a{nullptr}, b{nullptr};
    HWND hwnd = nullptr;
    CountingServices services;
};

}  // namespace

TEST(MouseRouting, TheTopmostControlUnderThePointerIsHovered) {
    Page p;
    struct Step {
        int x, y;
        bool aInside, bInside;
    };
    for (Step s : {Step{80, 20, false, true}, Step{20, 20, true, false}, Step{140, 20, false, true},
                   Step{250, 20, false, false}, Step{80, 20, false, true}}) {
        p.send(WM_MOUSEMOVE, 0, at(s.x, s.y));
        EXPECT_EQ(p.a.mouseInside, s.aInside) << s.x;
        EXPECT_EQ(p.b.mouseInside, s.bInside) << s.x;
    }
    // Out of the window altogether.
    p.send(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(p.b.mouseInside);
    // A hidden or disabled top control lets the one below have the pointer.
    p.b.setEnabled(false);
    p.send(WM_MOUSEMOVE, 0, at(80, 20));
    EXPECT_TRUE(p.a.mouseInside);
}

TEST(MouseRouting, ReleaseOverTheSameControlClicksItOnce) {
    Page p;
    p.send(WM_MOUSEMOVE, 0, at(80, 20));
    p.send(WM_LBUTTONDOWN, MK_LBUTTON, at(80, 20));
    EXPECT_TRUE(p.b.pressed);
    EXPECT_FALSE(p.a.pressed);
    p.send(WM_LBUTTONUP, 0, at(81, 21));
    EXPECT_FALSE(p.b.pressed);
    EXPECT_EQ(p.services.performed, (std::vector<std::wstring>{L"B"}));
}

TEST(MouseRouting, DraggingOffReleasesAndComingBackPressesAgainWithoutAClickOutside) {
    Page p;
    p.send(WM_MOUSEMOVE, 0, at(20, 20));
    p.send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    // Over B now, but A holds the mouse: B stays cold.
    p.send(WM_MOUSEMOVE, MK_LBUTTON, at(150, 20));
    EXPECT_FALSE(p.a.pressed);
    EXPECT_FALSE(p.a.mouseInside);
    EXPECT_FALSE(p.b.mouseInside);
    p.send(WM_MOUSEMOVE, MK_LBUTTON, at(20, 20));
    EXPECT_TRUE(p.a.pressed);
    EXPECT_TRUE(p.a.mouseInside);
    p.send(WM_MOUSEMOVE, MK_LBUTTON, at(250, 80));
    p.send(WM_LBUTTONUP, 0, at(250, 80));
    EXPECT_TRUE(p.services.performed.empty());
    EXPECT_FALSE(p.a.pressed);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(MouseRouting, DoubleClickFiresItsEventAndNoSecondClick) {
    Page p;
    int doubles = 0;
    p.a.onDblClick = [&](TOrbActionControl&) { ++doubles; };
    p.send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    p.send(WM_LBUTTONUP, 0, at(20, 20));
    p.send(WM_LBUTTONDBLCLK, MK_LBUTTON, at(20, 20));
    p.send(WM_LBUTTONUP, 0, at(20, 20));
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(p.services.performed, (std::vector<std::wstring>{L"A"}));
}

TEST(MouseRouting, ControlsInsideAWindowedControlAreRoutedByItsWindow) {
    TOrbForm form{nullptr};
    form.setClientWidth(300);
    form.setClientHeight(100);
    auto window = std::make_unique<FormWindow>(form, L"TMouseRouterTest");
    HWND hwnd = window->hwnd();
    form.setPeer(std::move(window));
    WinControl panel(nullptr);
    panel.setParent(&form);
    panel.setBounds(100, 0, 200, 100);
    TOrbButton inside(nullptr);
    inside.setParent(&panel);
    inside.setBounds(10, 10, 50, 20);
    inside.actionType = TOrbActionType::aatPopupMessage;
    inside.parameter = L"inside";
    attachControlPeers(form, hwnd);
    CountingServices services;
    HWND child = windowOf(panel);
    ASSERT_NE(child, nullptr);
    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    SendMessageW(child, WM_LBUTTONUP, 0, at(20, 20));
    EXPECT_EQ(services.performed, (std::vector<std::wstring>{L"inside"}));
    inside.setParent(nullptr);
    panel.setParent(nullptr);
}

TEST(MouseRouting, AltAndTheAcceleratorClickTheButton) {
    Page p;
    p.a.setCaption(L"&Start");
    p.b.setCaption(L"&Quit");
    // WM_SYSCHAR comes with Alt down; the router asks the keyboard.
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved = keys[VK_MENU];
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    p.send(WM_SYSCHAR, L'q', 0);
    keys[VK_MENU] = saved;
    SetKeyboardState(keys);
    EXPECT_EQ(p.services.performed, (std::vector<std::wstring>{L"B"}));
}

TEST(MouseRouting, TheCursorIsTheControlsSlotOverItAndTheWindowsElsewhere) {
    Page p;
    HCURSOR hot = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    CursorTable::screen().setShared(kCursorSlotHot, hot);
    p.b.setCursor(kCursorSlotHot);
    SetWindowPos(p.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    POINT over{80, 20};
    ClientToScreen(p.hwnd, &over);
    SetCursorPos(over.x, over.y);
    LRESULT handled = p.send(WM_SETCURSOR, reinterpret_cast<WPARAM>(p.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(handled, TRUE);
    EXPECT_EQ(GetCursor(), hot);
    CursorTable::screen().setShared(kCursorSlotHot, nullptr);
}
