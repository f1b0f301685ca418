#pragma once
// What a click does, as rules over the main window and a small set of system
// services. The Windows layer supplies the services; tests supply fakes.
#include <cstdint>
#include <functional>
#include <string>

#include "actions/ActionText.h"
#include "app/OrbForm.h"
#include "graphics/OrbTypes.h"

namespace orb {

struct ElevatedLaunch {
    bool started = false;
    intptr_t instance = 0;   // the shell's result value; 32 or less is an error code
    uint32_t lastError = 0;  // 1223: the user cancelled the elevation prompt
};

class ActionSystem {
public:
    virtual ~ActionSystem() = default;
    virtual uint32_t windowsMajorVersion() const = 0;
    // The shell's execute with the form's window as owner; an empty verb is the default verb.
    virtual intptr_t shellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                                  const std::wstring& directory, int showCommand) = 0;
    virtual ElevatedLaunch shellExecuteElevated(const std::wstring& file, const std::wstring& parameters,
                                                const std::wstring& directory, int showCommand) = 0;
    // The operating system's message box; flags 0x30 warning, 0x40 information.
    virtual void systemMessage(const std::wstring& text, const std::wstring& title, uint32_t flags) = 0;
    // The menu's own skinned message box.
    virtual void menuMessage(const std::wstring& text) = 0;
    // An error that ends an action, shown the way the program shows unexpected failures.
    virtual void reportFailure(const std::wstring& text) = 0;
    virtual void minimize() = 0;
    virtual void close() = 0;
    virtual void ejectDisc(wchar_t driveLetter) = 0;
};

// The background music of the main window (its StartupSound, repeated when Loop
// is set); the audio side fills these at start-up. Unset entries do nothing.
struct BackgroundMusic {
    std::function<bool(TOrbForm& form)> isPlaying;
    std::function<void(TOrbForm& form)> play;
    std::function<void(TOrbForm& form)> stop;
};
BackgroundMusic& backgroundMusic();

class ActionDispatcher {
public:
    ActionDispatcher(TOrbForm& form, ActionSystem& system) : form_(form), system_(system) {}

    void performAction(TOrbActionType kind, const std::wstring& parameter, const std::wstring& secondParam,
                       TOrbWindowMode mode);
    void shellOpen(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                   const std::wstring& directory, int showCommand);
    void reportShellError(const std::wstring& file, intptr_t code);
    void handleLink(const std::wstring& link, LinkOrigin origin);
    void executeCommandLink(const std::wstring& command, const std::wstring& argument);
    void locateTarget(TOrbActionType kind, const std::wstring& parameter);
    void controlBackgroundMusic(TOrbBGMusicControl control);

private:
    void runAsAdmin(const std::wstring& parameter, const std::wstring& secondParam, TOrbWindowMode mode);
    void popupMessage(const std::wstring& parameter, const std::wstring& secondParam);
    void jumpToPage(const std::wstring& parameter);

    TOrbForm& form_;
    ActionSystem& system_;
};

}  // namespace orb
