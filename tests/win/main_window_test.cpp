#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "actions/OrbAction.h"
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

namespace {

// The icons the shell shows now. With no desktop tray to dock into, the
// display driver keeps them as child windows of a stand-alone tray window.
int trayIconsShown() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    int shown = 0;
    for (HWND icon = tray ? GetWindow(tray, GW_CHILD) : nullptr; icon; icon = GetWindow(icon, GW_HWNDNEXT))
        shown += IsWindowVisible(icon) ? 1 : 0;
    return shown;
}

}  // namespace

TEST(MainWindow, TheTrayIconGoesWithTheWindowNotAfterIt) {
    Menu m;
    m.form.minimizeToTrayIcon = true;
    int before = trayIconsShown();
    SendMessageW(m.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(trayIconsShown(), before + 1);
    // The shell tidies up after dead windows only later, if at all.
    DestroyWindow(m.hwnd());
    EXPECT_EQ(trayIconsShown(), before);
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

TEST(MainWindow, PageCaptionAlsoTitlesTheProgramsOwnErrorMessages) {
    Menu m;
    m.form.pages.lines = {L"Home", L"Intro"};
    m.form.setUsePageCaption(true);
    m.form.setActivePage(1);
    m.form.setActivePage(5);  // no such page: the caption and the title stay
    std::vector<CapturedMessage> got;
    setMessageCapture([&](const CapturedMessage& message) { got.push_back(message); });
    // An octal escape past 255 is the one popup text that fails, with the program's title.
    PerformAction(m.form, TOrbActionType::aatPopupMessage, L"\\777", L"", TOrbWindowMode::awmNormal);
    setMessageCapture(nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(m.hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"Intro");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].title, L"Intro");
}

namespace {

// A PostScript printer whose port is a file, set up in the prefix for one
// test: 300 dots per inch, an A4 sheet (595 x 842 points) of which the
// printer reaches 18 to 577 across and 36 to 806 up, in points.
class FilePrinter {
public:
    static constexpr wchar_t kName[] = L"Orb File Printer", kDriver[] = L"Orb File PostScript";
    static constexpr int kDpi = 300, kSheetW = 595 * kDpi / 72, kSheetH = 842 * kDpi / 72;
    static constexpr int kMarginLeft = 18 * kDpi / 72, kMarginTop = kSheetH - 806 * kDpi / 72;

    FilePrinter() {
        wchar_t dir[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, dir);
        description_ = std::wstring(dir) + L"orb-file-printer.ppd";
        output_ = std::wstring(dir) + L"orb-file-printer.ps";
        std::ofstream(std::filesystem::path(description_), std::ios::binary) << "*PPD-Adobe: \"4.3\"\n"
                                                        "*FormatVersion: \"4.3\"\n"
                                                        "*LanguageLevel: \"2\"\n"
                                                        "*ColorDevice: True\n"
                                                        "*DefaultColorSpace: RGB\n"
                                                        "*NickName: \"Orb file printer\"\n"
                                                        "*DefaultResolution: 300dpi\n"
                                                        "*Resolution 300dpi: \"\"\n"
                                                        "*DefaultPageSize: A4\n"
                                                        "*PageSize A4: \"<</PageSize [595 842]>>setpagedevice\"\n"
                                                        "*DefaultImageableArea: A4\n"
                                                        "*ImageableArea A4: \"18 36 577 806\"\n"
                                                        "*DefaultPaperDimension: A4\n"
                                                        "*PaperDimension A4: \"595 842\"\n";
        DeleteFileW(output_.c_str());
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<wchar_t*>(kDriver);
        driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
        driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
        driver.pDataFile = description_.data();
        driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
        if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                                 APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
            return;
        PRINTER_INFO_2W info{};
        info.pPrinterName = const_cast<wchar_t*>(kName);
        info.pDriverName = const_cast<wchar_t*>(kDriver);
        info.pPortName = output_.data();  // a path as the port: each job goes to that file
        info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        info.pParameters = info.pShareName = info.pSepFile = const_cast<wchar_t*>(L"");
        HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        ready_ = printer != nullptr;
        if (printer) ClosePrinter(printer);
    }
    ~FilePrinter() {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterW(const_cast<wchar_t*>(kName), &printer, &access)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        DeletePrinterDriverExW(nullptr, nullptr, const_cast<wchar_t*>(kDriver), 0, 0);
        DeleteFileW(description_.c_str());
        DeleteFileW(output_.c_str());
    }
    FilePrinter(const FilePrinter&) = delete;
    FilePrinter& operator=(const FilePrinter&) = delete;

    bool ready() const { return ready_; }
    std::string printed() const {
        std::ifstream in(std::filesystem::path(output_), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void forget() const { DeleteFileW(output_.c_str()); }

private:
    std::wstring description_, output_;
    bool ready_ = false;
};

// The one page and the one image a print of the window writes, read back
// from the PostScript.
struct PrintedPage {
    std::string title;
    int pages = 0;
    int cornerX = 0, cornerY = 0;  // the printable corner, in dots from the sheet's lower left
    int imageX = 0, imageY = 0, imageW = 0, imageH = 0;  // in dots from the printable corner, downwards
    int columns = 0, rows = 0;
    bool topRowFirst = true;
    std::vector<uint8_t> rgb;

    uint32_t pixel(int x, int y) const {
        size_t at = (static_cast<size_t>(topRowFirst ? y : rows - 1 - y) * columns + x) * 3;
        return at + 2 < rgb.size() ? (uint32_t{rgb[at]} << 16) | (uint32_t{rgb[at + 1]} << 8) | rgb[at + 2]
                                   : 0xFFFFFFFF;
    }
};

std::vector<uint8_t> ascii85Decode(const std::string& text) {
    std::vector<uint8_t> out;
    uint32_t group = 0;
    int count = 0;
    for (char c : text) {
        if (c == '~') break;
        if (c == 'z' && count == 0) {
            out.insert(out.end(), 4, 0);
            continue;
        }
        if (c < '!' || c > 'u') continue;
        group = group * 85 + static_cast<uint32_t>(c - '!');
        if (++count == 5) {
            for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(group >> shift));
            group = 0;
            count = 0;
        }
    }
    if (count > 1) {
        for (int k = count; k < 5; ++k) group = group * 85 + 84;
        for (int k = 0; k < count - 1; ++k) out.push_back(static_cast<uint8_t>(group >> (24 - 8 * k)));
    }
    return out;
}

std::vector<uint8_t> runLengthDecode(const std::vector<uint8_t>& in) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < in.size();) {
        unsigned length = in[i++];
        if (length == 128) break;
        if (length < 128) {
            for (unsigned k = 0; k <= length && i < in.size(); ++k) out.push_back(in[i++]);
        } else if (i < in.size()) {
            out.insert(out.end(), 257 - length, in[i++]);
        }
    }
    return out;
}

// "A B word" and nothing else.
bool twoNumbersThen(const std::string& line, const char* word, int& a, int& b) {
    std::istringstream in(line);
    std::string got, rest;
    return (in >> a >> b >> got) && got == word && !(in >> rest);
}

PrintedPage readPrintedPage(const std::string& postscript) {
    PrintedPage page;
    std::istringstream lines(postscript);
    std::string line, data;
    enum { Prologue, PageSetup, Drawing, ImageData, Done } where = Prologue;
    bool imagePlaced = false;
    while (std::getline(lines, line)) {
        int a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
        if (line.rfind("%%Title: ", 0) == 0) page.title = line.substr(9);
        if (std::sscanf(line.c_str(), "%%%%Pages: %d", &a) == 1) page.pages = a;
        if (line == "%%BeginPageSetup") where = PageSetup;
        else if (line == "%%EndPageSetup") where = Drawing;
        else if (where == PageSetup && twoNumbersThen(line, "translate", a, b)) {
            page.cornerX = a;
            page.cornerY = b;
        } else if (where == Drawing && !imagePlaced && twoNumbersThen(line, "translate", a, b)) {
            page.imageX = a;
            page.imageY = b;
        } else if (where == Drawing && !imagePlaced && twoNumbersThen(line, "scale", a, b)) {
            page.imageW = a;
            page.imageH = b;
            imagePlaced = true;
        } else if (where == Drawing && std::sscanf(line.c_str(), " /Width %d", &a) == 1) page.columns = a;
        else if (where == Drawing && std::sscanf(line.c_str(), " /Height %d", &a) == 1) page.rows = a;
        else if (where == Drawing &&
                 std::sscanf(line.c_str(), " /ImageMatrix [%d %d %d %d %d %d]", &a, &b, &c, &d, &e, &f) == 6)
            page.topRowFirst = d > 0;
        else if (where == Drawing && line == "image") where = ImageData;
        else if (where == ImageData) {
            data += line;
            if (line.find("~>") != std::string::npos) where = Done;
        }
    }
    page.rgb = runLengthDecode(ascii85Decode(data));
    return page;
}

}  // namespace

TEST(MainWindow, PrintingOnAFilePrinterPutsTheWindowImageInTheMiddleOfTheSheet) {
    FilePrinter printer;
    ASSERT_TRUE(printer.ready()) << "no PostScript printer could be set up";
    struct Case {
        const wchar_t* caption;
        const char* title;
    };
    for (Case c : {Case{L"Price list", "Price list"}, Case{L"", "Lumora"}}) {
        printer.forget();
        Menu m;  // 200 x 120, red
        m.window->onPaint = [](HDC dc, const RECT&) {
            RECT quarter{0, 0, 100, 60};
            FillRect(dc, &quarter, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        };
        m.form.setCaption(c.caption);
        InvalidateRect(m.hwnd(), nullptr, FALSE);
        UpdateWindow(m.hwnd());
        ASSERT_TRUE(m.services->printWindowImageOn(FilePrinter::kName, true));

        std::string postscript = printer.printed();
        ASSERT_EQ(postscript.rfind("%!PS-Adobe", 0), 0u) << postscript.substr(0, 200);
        PrintedPage page = readPrintedPage(postscript);
        EXPECT_EQ(page.title, c.title);
        EXPECT_EQ(page.pages, 1);
        // The printable corner, from the sheet's lower left.
        EXPECT_EQ(page.cornerX, FilePrinter::kMarginLeft);
        EXPECT_EQ(page.cornerY, FilePrinter::kSheetH - FilePrinter::kMarginTop);

        // Scaled from the screen's pixels per inch to the printer's dots...
        HDC screen = GetDC(nullptr);
        int ppi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(page.imageW, MulDiv(200, FilePrinter::kDpi, ppi));
        EXPECT_EQ(page.imageH, MulDiv(120, FilePrinter::kDpi, ppi));
        // ...and centred on the sheet, not on the printable area's corner.
        int centreX2 = 2 * (FilePrinter::kMarginLeft + page.imageX) + page.imageW;
        int centreY2 = 2 * (FilePrinter::kMarginTop + page.imageY) + page.imageH;
        EXPECT_NEAR(centreX2, FilePrinter::kSheetW, 2);
        EXPECT_NEAR(centreY2, FilePrinter::kSheetH, 2);

        // The window's own pixels, the right way up.
        ASSERT_EQ(page.columns, 200);
        ASSERT_EQ(page.rows, 120);
        ASSERT_EQ(page.rgb.size(), size_t{200} * 120 * 3);
        EXPECT_EQ(page.pixel(0, 0), 0xFFFFFFu);
        EXPECT_EQ(page.pixel(99, 59), 0xFFFFFFu);
        EXPECT_EQ(page.pixel(100, 59), 0xFF0000u);
        EXPECT_EQ(page.pixel(99, 60), 0xFF0000u);
        EXPECT_EQ(page.pixel(199, 119), 0xFF0000u);
    }
}
