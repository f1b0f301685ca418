#pragma once
// What a click does: the action dispatcher, the "orb://" command links, the
// background-music switch, the launcher of programs and the disc eject.
//
// Copy and print reach the main window through TOrbForm::CopyWindowImage and
// PrintWindowImage (its FormWindowEffects). Background music is switched
// through backgroundMusic() (actions/ActionDispatch.h), which the audio side
// fills at start-up.
#include <cstdint>
#include <functional>
#include <string>

#include "actions/ActionDispatch.h"
#include "actions/ActionText.h"
#include "app/OrbForm.h"
#include "graphics/OrbTypes.h"

namespace orb {

void PerformAction(TOrbForm& form, TOrbActionType kind, const std::wstring& parameter,
                   const std::wstring& secondParam, TOrbWindowMode mode);
// Starts a program through the shell; true when it started. With wait, returns
// when the program has ended; meanwhile only painting goes on, clicks wait.
bool LaunchProgram(const std::wstring& file, const std::wstring& parameters, TOrbWindowMode mode, bool wait);
void ControlBackgroundMusic(TOrbForm& form, TOrbBGMusicControl control);
void HandleLink(TOrbForm& form, const std::wstring& link, LinkOrigin origin);
// One "orb://" command, as the menu's own content may give it.
void ExecuteCommandLink(TOrbForm& form, const std::wstring& command, const std::wstring& argument);
// Opens the folder that holds an action's target.
void LocateTarget(TOrbForm& form, TOrbActionType kind, const std::wstring& parameter,
                  const std::wstring& secondParam);
// The shell's execute owned by the form's window; failures are shown as a popup message.
void ShellOpen(TOrbForm& form, const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
               const std::wstring& directory, int showCommand);
void ReportShellError(TOrbForm& form, const std::wstring& file, intptr_t code);

// Ejects the disc in drive letter once menuhost has ended, through the eject
// program carried as a resource; nothing for a drive that is not a CD-ROM.
void EjectDisc(wchar_t letter);
// Writes the eject program to a new temporary ".exe" and starts it for the drive
// and the run mutex; answers the file written. Throws OrbError when it cannot.
std::string StartEjector(char letter, const std::string& mutexName);

// Popup messages of actions, handed over instead of shown while a capture is
// set (tests); systemBox tells the system's box from the menu's own.
struct CapturedMessage {
    std::wstring text, title;
    uint32_t flags = 0;
    bool systemBox = false;
};
using MessageCapture = std::function<void(const CapturedMessage&)>;
void setMessageCapture(MessageCapture capture);

}  // namespace orb
