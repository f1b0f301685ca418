#include "media/CursorData.h"

#include <fstream>

#include "actions/TempFiles.h"

namespace orb {

CursorHandle cursorFromData(const TCursorData& data) {
    if (data.isEmpty()) return {};
    std::string file;
    try {
        file = NewTempFileName();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.bytes().data()), static_cast<std::streamsize>(data.bytes().size()));
        out.close();
        CursorHandle cursor(out ? LoadCursorFromFileA(file.c_str()) : nullptr);
        DeleteFileA(file.c_str());
        return cursor;
    } catch (...) {
        if (!file.empty()) DeleteFileA(file.c_str());
        return {};
    }
}

void fillCursorSlot(CursorTable& table, int slot, const TCursorData& data) {
    if (data.isEmpty()) {
        table.setShared(slot, slot == kCursorSlotEdit ? LoadCursorW(nullptr, IDC_IBEAM) : nullptr);
        return;
    }
    if (CursorHandle cursor = cursorFromData(data)) table.adopt(slot, std::move(cursor));
}

void WatchFormCursors(TOrbForm& form) {
    struct Binding {
        TCursorData* data;
        int slot;
    };
    for (Binding b : {Binding{&form.orbCursor, kCursorSlotNormal}, Binding{&form.orbHotCursor, kCursorSlotHot},
                      Binding{&form.orbEditCursor, kCursorSlotEdit}}) {
        fillCursorSlot(CursorTable::screen(), b.slot, *b.data);
        b.data->onChange = [b] { fillCursorSlot(CursorTable::screen(), b.slot, *b.data); };
    }
}

}  // namespace orb
