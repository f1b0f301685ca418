#include "graphics/ProgramIcon.h"

namespace orb {

std::vector<uint8_t> programIconBytes() { return resourceBytes(L"BINDATA", L"BINR"); }

ProgramIcons iconsFromIcoBytes(const std::vector<uint8_t>& ico) {
    return {iconFromIcoBytes(ico, GetSystemMetrics(SM_CXICON)), iconFromIcoBytes(ico, GetSystemMetrics(SM_CXSMICON))};
}

void SetProgramIcon(ProgramIcons& icons, HWND window) {
    icons = iconsFromIcoBytes(programIconBytes());
    if (!window || windowsAtLeast(5, 1)) return;
    if (icons.big) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.big.get()));
    if (icons.small) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small.get()));
}

void LoadProgramIconPicture(Picture& picture) {
    std::vector<uint8_t> bytes = programIconBytes();
    if (bytes.empty()) return;
    auto icon = GraphicRegistry::instance().create(iconClass().name);
    if (!icon) return;
    icon->setFileBytes(std::move(bytes));
    picture.setGraphic(std::move(icon));
}

}  // namespace orb
