#include "graphics/ProgramIcon.h"

#include "graphics/OrbGraphics.h"
#include "graphics/PictureDecode.h"

namespace orb {

std::vector<uint8_t> programIconBytes() { return resourceBytes(L"BINDATA", L"BINR"); }

ProgramIcons iconsFromIcoBytes(const std::vector<uint8_t>& ico) {
    return {iconFromIcoBytes(ico, GetSystemMetrics(SM_CXICON)), iconFromIcoBytes(ico, GetSystemMetrics(SM_CXSMICON))};
}

namespace {

// The first image of exactly this size in 256 colours, which is what older
// systems show best in captions and the task bar.
IconHandle exactImage(const std::vector<uint8_t>& ico, int size) {
    for (const IconEntry& e : readIconDirectory(ico))
        if (e.width == size && e.height == size && e.bitsPerPixel == 8)
            return IconHandle(CreateIconFromResourceEx(const_cast<uint8_t*>(ico.data()) + e.offset, e.size, TRUE,
                                                       0x00030000, size, size, LR_DEFAULTCOLOR));
    return {};
}

// Read once and kept for the program's lifetime.
const ProgramIcons& olderSystemIcons() {
    static const ProgramIcons icons = [] {
        std::vector<uint8_t> ico = programIconBytes();
        return ProgramIcons{exactImage(ico, 32), exactImage(ico, 16)};
    }();
    return icons;
}

}  // namespace

void SetProgramIcon(ProgramIcons& icons, HWND window) {
    icons = iconsFromIcoBytes(programIconBytes());
    if (!window || windowsAtLeast(5, 1)) return;
    const ProgramIcons& older = olderSystemIcons();
    if (older.big) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(older.big.get()));
    if (older.small) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(older.small.get()));
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
