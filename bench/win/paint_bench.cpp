// Times a full repaint of a main window holding 200 drawn controls, and a page
// switch between two pages of 100, through the real window and GDI. Run under
// wine by scripts/bench.sh; prints the median and the fastest of many runs.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/FormBackground.h"
#include "app/OrbForm.h"
#include "framework/Application.h"
#include "framework/ControlPeers.h"
#include "framework/DrawnControl.h"
#include "framework/FormWindow.h"
#include "framework/Handles.h"

using namespace orb;

namespace {

// A typical drawn control: what lies behind it, a framed face and a caption.
class Tile final : public GraphicControl, public DrawnControl {
public:
    Tile(TOrbForm& form, int x, int y, int page) : GraphicControl(&form) {
        setParent(&form);
        setBounds(x, y, 36, 22);
        setTag(page);
    }
    void paintControl(HDC dc) override {
        PaintParentBackground(*this, dc);
        RECT face{2, 2, width() - 2, height() - 2};
        GdiObject brush(CreateSolidBrush(RGB(240, 240, 200)));
        FrameRect(dc, &face, static_cast<HBRUSH>(brush.get()));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, L"Go", 2, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

double milliseconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class F>
void report(const char* what, int runs, F&& step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        step(i);
        QueryPerformanceCounter(&b);
        times.push_back(milliseconds(a, b));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-48s median %7.3f ms  fastest %7.3f ms  (%d runs)\n", what, times[times.size() / 2], times[0], runs);
}

}  // namespace

int wmain() {
    TfrmMain form(nullptr);
    form.setClientWidth(800);
    form.setClientHeight(600);
    form.backGround = TOrbFillStyle::afsGradient;
    form.gradStyle = TOrbGradFillStyle::agsRadialC;
    form.setAlwaysShowPageZero(false);
    std::vector<std::unique_ptr<Tile>> tiles;
    for (int i = 0; i < 200; ++i) tiles.push_back(std::make_unique<Tile>(form, 10 + (i % 20) * 39, 10 + (i / 20) * 58, 1 + i % 2));
    auto peer = std::make_unique<FormWindow>(form, L"TPaintBench");
    FormWindow* window = peer.get();
    window->onPaint = [&form](HDC dc, const RECT& client) { paintFormBackground(dc, client, form); };
    HWND hwnd = window->hwnd();
    form.setPeer(std::move(peer));
    attachControlPeers(form, hwnd);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    Application::instance().processMessages();

    // Every tile showing: a whole repaint composes all 200.
    for (auto& t : tiles) t->setVisible(true);
    report("full repaint, 800 x 600, 200 drawn controls", 60, [&](int) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    });
    report("page switch, 100 controls per page", 60, [&](int i) {
        form.setActivePage(1 + i % 2);
        UpdateWindow(hwnd);
    });
    return 0;
}
