#pragma once
// The program's own icon, the BINDATA/BINR icon group carried in menuhost.
#include "core/Picture.h"
#include "framework/Icons.h"
#include "framework/Win32.h"

namespace orb {

// The built-in icon's file bytes; empty when this module carries none.
std::vector<uint8_t> programIconBytes();

// Icons at the system's large and small icon sizes.
struct ProgramIcons {
    IconHandle big, small;
};
ProgramIcons iconsFromIcoBytes(const std::vector<uint8_t>& ico);

// Loads the built-in icon into `icons`. Systems before XP do not take a
// window's icon from its class or the application, so the window gets both
// sizes explicitly there, each only when it was found.
void SetProgramIcon(ProgramIcons& icons, HWND window);

// The built-in icon as a picture holding an icon graphic (the message box's default).
void LoadProgramIconPicture(Picture& picture);

}  // namespace orb
