// menuhost's start-up sequence: find and read the project, prepare the main
// window, then run the message loop until the window closes.
#include <cstdlib>
#include <ctime>
#include <memory>

#include "actions/HintAppearance.h"
#include "actions/MacroFolders.h"
#include "actions/OrbAction.h"
#include "actions/OrbMacros.h"
#include "actions/RunMutex.h"
#include "app/FormBackground.h"
#include "app/MainWindow.h"
#include "app/Administrator.h"
#include "app/ControlClasses.h"
#include "app/OrbForm.h"
#include "app/ProjectFonts.h"
#include "app/StartupRules.h"
#include "core/ComponentReader.h"
#include "core/Stream.h"
#include "framework/Application.h"
#include "framework/ControlPeers.h"
#include "framework/FormWindow.h"
#include "framework/SystemCodePage.h"
#include "graphics/ProgramIcon.h"
#include "media/CursorData.h"
#include "media/MediaStartup.h"
#include "project/ReadProject.h"

#include <commctrl.h>

using namespace orb;

namespace {

constexpr wchar_t kDefaultTitle[] = L"Lumora";

struct Startup {
    std::vector<std::wstring> arguments;
    CommandLineOptions options;
    ProjectLocation project;
    std::wstring projectDir;
    ProjectFonts fonts;
    ClassRegistry registry;
    std::unique_ptr<TfrmMain> form;
    FormWindow* window = nullptr;  // owned by the form, as its peer
    std::unique_ptr<MainWindow> mainWindow;  // goes before the form it serves
    ProgramIcons icons;
};

Startup* g_startup = nullptr;

// The main window as the embedded form resource describes it.
std::unique_ptr<TfrmMain> createMainForm(const ClassRegistry& registry) {
    auto form = std::make_unique<TfrmMain>(nullptr);
    std::vector<uint8_t> resource = resourceBytes(reinterpret_cast<LPCWSTR>(RT_RCDATA), L"TFRMMAIN");
    MemoryView stream(resource);
    readComponentStream(stream, *form, registry);
    return form;
}

void LocateProject(Startup& s) {
    s.options = ParseCommandLine(s.arguments);
    s.project = {};
    if (!s.options.projectPath.empty()) {
        // A project named relative to the working folder, or with forward slashes,
        // would leave the project folder (and so %CDROM%) empty or wrong.
        s.project.path = fullPathName(s.options.projectPath);
    } else {
        std::wstring self = moduleFileName();
        s.project = FindAppendedProjectIn(self);
        if (!s.project.appended) s.project.path = DefaultProjectPath(self);
    }
    s.projectDir = ProjectDirOf(s.project.path);
    processMacroValues().cdrom = s.projectDir;
}

// Our window framework has no application icon that windows inherit, so the
// main window always gets both sizes itself.
void applyIcons(Startup& s) {
    HWND hwnd = s.window->hwnd();
    const auto& data = s.form->iconData.bytes();
    if (data.empty())
        SetProgramIcon(s.icons, hwnd);
    else
        s.icons = iconsFromIcoBytes(data);
    if (s.icons.big) SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(s.icons.big.get()));
    if (s.icons.small) SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(s.icons.small.get()));
}

// Leaves without entering the loop: no end screen on these paths.
[[noreturn]] void CloseWithoutRunning(Startup& s, bool keepFonts) {
    s.mainWindow.reset();
    s.window = nullptr;
    s.form.reset();
    Application::instance().processMessages();
    if (!keepFonts) s.fonts.unload();
    ShutdownMedia();
    ExitProcess(0);
}

// Runs when the main window closes, before the loop ends.
bool OnProgramTerminate(Startup& s) {
    s.fonts.unload();
    if (s.window) ShowWindow(s.window->hwnd(), SW_HIDE);
    ReleaseRunMutex();
    return true;
}

int runMenu() {
    Startup s;
    g_startup = &s;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    setAnsiCodePage(systemCodePage());
    InitMacroValues(ProjectDirOf(moduleFileName()));

    Application& app = Application::instance();
    app.setTitle(kDefaultTitle);
    s.form = createMainForm(s.registry);
    RegisterControlClasses(s.registry);

    s.arguments = SplitCommandLine(GetCommandLineW());
    LocateProject(s);
    s.fonts.load(s.projectDir);
    ReadProject(s.project, s.form, s.registry, [&] { return createMainForm(s.registry); });

    TfrmMain& form = *s.form;
    HWND owner = nullptr;
    if (form.hideTaskBar) {
        owner = app.hiddenOwner();
        form.setBorderIcons(form.borderIcons() & ~setBit(1));  // no minimise box
    }
    app.setTitle(form.caption());

    if (form.adminOnly) {
        if (windowsMajorVersion() >= 6) {
            if (!s.options.runAsRequested) CloseWithoutRunning(s, RelaunchElevated(s.arguments));
        } else if (!IsUserAdmin()) {
            ShowAdminMessage(form.adminMsg, form.caption());
            CloseWithoutRunning(s, false);
        }
    }

    auto window = std::make_unique<FormWindow>(form, L"TfrmMain", owner);
    window->onPaint = [&form](HDC dc, const RECT& client) { paintFormBackground(dc, client, form); };
    s.window = window.get();
    HWND hwnd = window->hwnd();
    form.setPeer(std::move(window));
    attachControlPeers(form, hwnd);
    s.mainWindow = std::make_unique<MainWindow>(form, *s.window);
    applyIcons(s);

    WatchFormCursors(form);
    WarnMissingAudioEngine(form);
    form.setDesignMode(false);
    form.setActivePage(SelectStartPage(form, s.options.startPageName));
    if (form.windowStyle() != TOrbWindowStyle::awsFullScreen) {
        form.setLeft(centredOrigin(GetSystemMetrics(SM_CXSCREEN), form.width()));
        form.setTop(centredOrigin(GetSystemMetrics(SM_CYSCREEN), form.height()));
    }
    StartBackgroundMusic(form, *s.window);

    if (!form.launchApp.empty()) {
        LaunchProgram(form.launchApp, form.launchParam, form.launchWinMode, form.launchWait && !form.launchOnly);
        if (form.launchOnly) CloseWithoutRunning(s, false);  // the menu itself never shows
    }
    form.UpdateTopMost();
    ApplyHintSettings(form);
    CreateRunMutex();
    s.window->onCloseRequest = [&s, hwnd] {
        if (!OnProgramTerminate(s)) return;
        DestroyWindow(hwnd);
        PostQuitMessage(0);
    };
    form.setVisible(true);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return app.run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MediaRuntime media;
    if (!media.started()) return 0;
    try {
        runMenu();
    } catch (...) {
        // A start-up that cannot go on ends quietly; there is no one to tell.
    }
    return 0;
}
