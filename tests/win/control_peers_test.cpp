#include <gtest/gtest.h>

#include "app/ControlClasses.h"
#include "app/OrbForm.h"
#include "core/ComponentReader.h"
#include "core/ComponentStream.h"
#include "core/TextForm.h"
#include "framework/ControlPeers.h"
#include "framework/FormWindow.h"

using namespace orb;

namespace {

bool shown(HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0; }

// A form read from text, its window and the peers of its controls.
struct PagedForm {
    explicit PagedForm(const char* text) {
        ClassRegistry registry;
        RegisterControlClasses(registry);
        auto bytes = objectTreeToBytes(parseTextForm(text));
        MemoryView stream(bytes);
        readComponentStream(stream, form, registry);
        auto window = std::make_unique<FormWindow>(form, L"TfrmMainTest");
        hwnd = window->hwnd();
        form.setPeer(std::move(window));
        attachControlPeers(form, hwnd);
    }
    HWND child(const char* name) { return windowOf(*dynamic_cast<Control*>(form.findComponent(name))); }
    TfrmMain form{nullptr};
    HWND hwnd = nullptr;
};

}  // namespace

TEST(ControlPeers, WindowedControlsGetChildWindowsWhereTheStreamPutThem) {
    PagedForm p("object F: TfrmMain\n  ClientWidth = 300\n  ClientHeight = 200\n"
                "  object Box: TOrbTextBox\n    Left = 10\n    Top = 20\n    Width = 100\n    Height = 50\n  end\n"
                "  object Pic: TOrbImage\n  end\nend\n");
    HWND box = p.child("Box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetParent(box), p.hwnd);
    RECT r;
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, p.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(p.child("Pic"), nullptr);  // window-less
}

TEST(ControlPeers, SwitchingPageShowsAndHidesTheChildWindows) {
    PagedForm p("object F: TfrmMain\n  AlwaysShowPageZero = True\n"
                "  object Common: TOrbTextBox\n    Tag = 0\n  end\n"
                "  object First: TOrbTextBox\n    Tag = 1\n  end\n"
                "  object Second: TOrbTextBox\n    Tag = 2\n  end\n"
                "  object Never: TOrbTextBox\n    Tag = -1\n  end\nend\n");
    struct Case {
        int page;
        bool common, first, second;
    };
    for (Case c : {Case{1, true, true, false}, Case{2, true, false, true}, Case{0, true, false, false}}) {
        p.form.setActivePage(c.page);
        EXPECT_EQ(shown(p.child("Common")), c.common) << "page " << c.page;
        EXPECT_EQ(shown(p.child("First")), c.first) << "page " << c.page;
        EXPECT_EQ(shown(p.child("Second")), c.second) << "page " << c.page;
        EXPECT_FALSE(shown(p.child("Never"))) << "page " << c.page;
    }
}
