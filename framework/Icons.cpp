#include "framework/Icons.h"

#include "graphics/PictureDecode.h"
#include "graphics/PixelRoutines.h"

namespace orb {

int displayBitsPerPixel() {
    HDC screen = GetDC(nullptr);
    int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 32;
    if (screen) ReleaseDC(nullptr, screen);
    return bits;
}

IconHandle iconFromIcoBytes(const std::vector<uint8_t>& ico, int size) {
    std::vector<IconEntry> entries = readIconDirectory(ico);
    if (entries.empty()) return {};
    std::vector<IconImageInfo> infos(entries.begin(), entries.end());
    const IconEntry& chosen = entries[chooseIconImage(infos, size, size, displayBitsPerPixel(), false)];
    return IconHandle(CreateIconFromResourceEx(const_cast<uint8_t*>(ico.data()) + chosen.offset, chosen.size, TRUE,
                                               0x00030000, size, size, LR_DEFAULTCOLOR));
}

}  // namespace orb
