#pragma once
// The action control's services on Windows, and the hooks through which the
// modules built beside it (viewers, control interaction, sound output) join in.
#include <functional>

#include "actions/OrbActionControl.h"

namespace orb {

struct ActionControlHooks {
    // Plays a control's or the main window's sound; empty: the system's sound
    // call plays WAV data from memory.
    std::function<void(const TWaveData& sound, bool wait)> playWave;
    std::function<void(TOrbForm& form, TOrbActionControl& control)> showPicture;
    std::function<void(TOrbForm& form, TOrbActionControl& control, const std::wstring& path)> runSlideShow;
    std::function<void(TOrbActionControl& control)> executeControlIA;
};

// Filled at start-up by whoever provides them; unset hooks do nothing.
ActionControlHooks& actionControlHooks();

}  // namespace orb
