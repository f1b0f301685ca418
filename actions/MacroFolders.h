#pragma once
#include <string>

namespace orb {

// Fills the process's macro values from the system; cdrom starts as the
// program's folder until the project has been located.
void InitMacroValues(const std::wstring& programFolder);

}  // namespace orb
