#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "framework/Application.h"
#include "framework/FormWindow.h"
#include "graphics/OrbGraphics.h"

using namespace orb;

namespace {

// A main window as start-up leaves it: out of design mode, shown.
struct Menu {
    Menu() {
        form.setDesignMode(true);
        form.setColor(0x000000FF);  // red
        form.setClientWidth(200);
        form.setClientHeight(120);
        auto peer = std::make_unique<FormWindow>(form, L"TMainWindowTest");
        window = peer.get();
        form.setPeer(std::move(peer));
        services = std::make_unique<MainWindow>(form, *window);
        form.setDesignMode(false);
        ShowWindow(window->hwnd(), SW_SHOW);
        UpdateWindow(window->hwnd());
    }
    ~Menu() { services.reset(); }
    HWND hwnd() const { return window->hwnd(); }
    int itemsWithId(UINT id) const {
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        int n = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) n += GetMenuItemID(menu, i) == id;
        return n;
    }
    static void pump(DWORD ms) {
        DWORD until = GetTickCount() + ms;
        while (GetTickCount() < until) {
            Application::instance().processMessages();
            Sleep(10);
        }
    }
    TfrmMain form{nullptr};
    FormWindow* window = nullptr;
    std::unique_ptr<MainWindow> services;
};

}  // namespace

TEST(MainWindow, AboutEntryIsAddedOnceAndRemovedWithItsSeparator) {
    Menu m;
    EXPECT_EQ(m.itemsWithId(kAboutCommand), 1);
    EXPECT_EQ(m.itemsWithId(kAboutSeparatorCommand), 1);
    m.form.setHideAboutMenu(true);
    EXPECT_EQ(m.itemsWithId(kAboutCommand), 0);
    EXPECT_EQ(m.itemsWithId(kAboutSeparatorCommand), 0);
    m.form.setHideAboutMenu(false);
    m.form.setHideAboutMenu(false);
    EXPECT_EQ(m.itemsWithId(kAboutCommand), 1);

    std::wstring shown;
    m.services->showAbout = [&](const std::wstring& notice) { shown = notice; };
    SendMessageW(m.hwnd(), WM_SYSCOMMAND, kAboutCommand, 0);
    EXPECT_EQ(shown, aboutNoticeText());
}

TEST(MainWindow, MinimisingGoesToTheTrayWhenAskedAndDoubleClickComesBack) {
    for (bool toTray : {true, false}) {
        Menu m;
        m.form.minimizeToTrayIcon = toTray;
        SendMessageW(m.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_EQ(m.services->trayShown(), toTray);
        if (!toTray) {
            EXPECT_TRUE(IsIconic(m.hwnd()));
            continue;
        }
        EXPECT_FALSE(IsWindowVisible(m.hwnd()));
        // The shell restarting asks for the icon again; it stays.
        SendMessageW(m.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_TRUE(m.services->trayShown());
        SendMessageW(m.hwnd(), kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
        EXPECT_FALSE(m.services->trayShown());
        EXPECT_TRUE(IsWindowVisible(m.hwnd()));
    }
}

TEST(MainWindow, CopyPutsTheWindowsPixelsOnTheClipboardAMomentLater) {
    Menu m;
    m.pump(200);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    m.form.CopyWindowImage(true);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));  // not before the delay
    m.pump(600);
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    int w = 0, h = 0;
    std::vector<Rgb> pixels = bitmap ? bitmapPixels(bitmap, w, h) : std::vector<Rgb>{};
    CloseClipboard();
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 120);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels[0], 0x0000FFu);  // 0x00BBGGRR red
    EXPECT_EQ(pixels[static_cast<size_t>(w) * h - 1], 0x0000FFu);
}

TEST(MainWindow, OpacityAndTopMostReachTheWindow) {
    Menu m;
    m.form.setTopMost(true);
    EXPECT_TRUE(GetWindowLongW(m.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    m.form.setTopMost(false);
    EXPECT_FALSE(GetWindowLongW(m.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    m.services->applyAlphaBlend(true, 127);
    m.form.UpdateBorderStyle();  // a new border keeps the window layered
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(m.hwnd(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 127);
    m.services->applyAlphaBlend(false, 255);
    EXPECT_FALSE(GetWindowLongW(m.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(MainWindow, ControlsHearOfTheFirstShowOnlyOnce) {
    struct Starter final : GraphicControl, ShowAware {
        using GraphicControl::GraphicControl;
        void formShown() override { ++starts; }
        int starts = 0;
    };
    TfrmMain form{nullptr};
    form.setDesignMode(true);
    Starter starter(&form);
    starter.setParent(&form);
    auto peer = std::make_unique<FormWindow>(form, L"TMainWindowTest");
    FormWindow* window = peer.get();
    form.setPeer(std::move(peer));
    MainWindow services(form, *window);
    ShowWindow(window->hwnd(), SW_SHOW);
    ShowWindow(window->hwnd(), SW_HIDE);
    ShowWindow(window->hwnd(), SW_SHOW);
    EXPECT_EQ(starter.starts, 1);
}
