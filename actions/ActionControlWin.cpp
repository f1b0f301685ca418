#include "actions/ActionControlWin.h"

#include "actions/OrbAction.h"
#include "actions/OrbMacros.h"
#include "actions/OrbUtils.h"
#include "app/OrbForm.h"
#include "framework/ControlPeers.h"
#include "framework/FormWindow.h"
#include "framework/Handles.h"

namespace orb {

namespace {

HWND windowOfParent(const Control& control) {
    const WinControl* parent = control.parent();
    if (!parent) return nullptr;
    if (auto* form = dynamic_cast<const FormWindow*>(parent->peer())) return form->hwnd();
    return windowOf(*parent);
}

struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
using MenuHandle = UniqueResource<HMENU, MenuTraits>;

class WindowsServices final : public ActionControlServices {
public:
    void playSound(const TWaveData& sound, bool wait) override {
        if (auto& hook = actionControlHooks().playWave) {
            hook(sound, wait);
            return;
        }
        if (sound.isEmpty()) return;
        // Looked up rather than linked: the sound library stays unloaded until a control has a sound.
        using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
        static const auto play = [] {
            HMODULE winmm = LoadLibraryW(L"winmm.dll");
            return winmm ? reinterpret_cast<PlaySoundFn>(reinterpret_cast<void*>(GetProcAddress(winmm, "PlaySoundW")))
                         : nullptr;
        }();
        constexpr DWORD kMemory = 0x0004, kNoDefault = 0x0002, kAsync = 0x0001, kSync = 0x0000;
        if (play)
            play(reinterpret_cast<LPCWSTR>(sound.bytes().data()), nullptr,
                 kMemory | kNoDefault | (wait ? kSync : kAsync));
    }
    bool askPassword(Component* owner, const std::wstring& title, const std::wstring& prompt,
                     std::wstring& text) override {
        return InputDialog(owner, title, prompt, true, text);
    }
    void controlMusic(TOrbForm* form, TOrbBGMusicControl control) override {
        if (form) ControlBackgroundMusic(*form, control);
    }
    void performAction(TOrbForm* form, TOrbActionType kind, const std::wstring& parameter,
                       const std::wstring& secondParam, TOrbWindowMode mode) override {
        if (form) PerformAction(*form, kind, parameter, secondParam, mode);
    }
    bool launchProgram(const std::wstring& file, const std::wstring& parameters, TOrbWindowMode mode,
                       bool wait) override {
        return LaunchProgram(file, parameters, mode, wait);
    }
    void locateTarget(TOrbForm* form, TOrbActionType kind, const std::wstring& parameter,
                      const std::wstring& secondParam) override {
        if (form) LocateTarget(*form, kind, parameter, secondParam);
    }
    void handleLink(TOrbForm* form, const std::wstring& link) override {
        if (form) HandleLink(*form, link, LinkOrigin::Menu);
    }
    void showPicture(TOrbForm* form, TOrbActionControl& control) override {
        if (auto& hook = actionControlHooks().showPicture; hook && form) hook(*form, control);
    }
    void runSlideShow(TOrbForm* form, TOrbActionControl& control, const std::wstring& path) override {
        if (auto& hook = actionControlHooks().runSlideShow; hook && form) hook(*form, control, path);
    }
    void executeControlIA(TOrbActionControl& control) override {
        if (auto& hook = actionControlHooks().executeControlIA) hook(control);
    }
    std::wstring expandMacros(const std::wstring& text) override { return ExpandMacros(text); }

    int showPopupMenu(TOrbActionControl& control, const std::vector<std::wstring>& captions, bool atPointer) override {
        HWND owner = windowOfParent(control);
        if (!owner) return -1;
        MenuHandle menu(CreatePopupMenu());
        if (!menu) return -1;
        // Command 0 means "nothing chosen", so items count from 1.
        for (size_t i = 0; i < captions.size(); ++i)
            AppendMenuW(menu.get(), MF_STRING, i + 1, captions[i].c_str());
        POINT at{control.left(), control.top() + control.height()};
        if (atPointer) GetCursorPos(&at);
        else ClientToScreen(owner, &at);
        UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                                                       TPM_RIGHTBUTTON,
                                                       at.x, at.y, 0, owner, nullptr));
        return chosen == 0 ? -1 : static_cast<int>(chosen - 1);
    }
    bool pointerInside(const Control& control) override {
        HWND owner = windowOfParent(control);
        POINT p;
        if (!owner || !GetCursorPos(&p) || !ScreenToClient(owner, &p)) return false;
        return p.x >= control.left() && p.x < control.left() + control.width() && p.y >= control.top() &&
               p.y < control.top() + control.height();
    }
};

}  // namespace

ActionControlHooks& actionControlHooks() {
    static ActionControlHooks hooks;
    return hooks;
}

ActionControlServices& platformActionControlServices() {
    static WindowsServices services;
    return services;
}

}  // namespace orb
