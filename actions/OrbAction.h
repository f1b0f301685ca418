#pragma once
// What a click does: the action dispatcher, the "orb://" command links, the
// background-music switch and the launcher of programs.
#include <string>

#include "app/OrbForm.h"
#include "graphics/OrbTypes.h"

namespace orb {

// Where a link comes from decides what it may do: only the menu's own
// content may run programs through command links.
enum class LinkOrigin {
    Menu,        // popup menus and markup stored in the project
    LocalPage,   // a page loaded from the project's folder or another local file
    RemotePage,  // anything fetched from a network
};

void PerformAction(TOrbForm& form, TOrbActionType kind, const std::wstring& parameter,
                   const std::wstring& secondParam, TOrbWindowMode mode);
// Starts a program through the shell; true when it started.
bool LaunchProgram(const std::wstring& file, const std::wstring& parameters, TOrbWindowMode mode, bool wait);
void ControlBackgroundMusic(TOrbForm& form, TOrbBGMusicControl control);
void HandleLink(TOrbForm& form, const std::wstring& link, LinkOrigin origin);
// Opens the folder that holds an action's target.
void LocateTarget(TOrbForm& form, TOrbActionType kind, const std::wstring& parameter,
                  const std::wstring& secondParam);

}  // namespace orb
