#include "actions/OrbAction.h"

namespace orb {

// Placeholders until the dispatcher lands: every action does nothing.
void PerformAction(TOrbForm&, TOrbActionType, const std::wstring&, const std::wstring&, TOrbWindowMode) {}
bool LaunchProgram(const std::wstring&, const std::wstring&, TOrbWindowMode, bool) { return false; }
void ControlBackgroundMusic(TOrbForm&, TOrbBGMusicControl) {}
void HandleLink(TOrbForm&, const std::wstring&, LinkOrigin) {}
void LocateTarget(TOrbForm&, TOrbActionType, const std::wstring&, const std::wstring&) {}

}  // namespace orb
