#pragma once
// Small dialogs the actions need.
#include <string>

#include "core/Component.h"

namespace orb {

// Asks for one line of text. True with the edited text when confirmed with OK;
// false otherwise, leaving text as it was. masked shows every character as '*'.
bool InputDialog(Component* owner, const std::wstring& caption, const std::wstring& prompt, bool masked,
                 std::wstring& text);

}  // namespace orb
