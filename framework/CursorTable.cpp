#include "framework/CursorTable.h"

namespace orb {

namespace {
HCURSOR systemCursor(LPCWSTR id) { return LoadCursorW(nullptr, id); }
}  // namespace

CursorTable& CursorTable::screen() {
    static CursorTable table;
    return table;
}

CursorTable::CursorTable() { setShared(kCursorSlotEdit, systemCursor(IDC_IBEAM)); }

HCURSOR CursorTable::get(int id) const {
    auto found = slots_.find(id);
    return found != slots_.end() ? found->second.cursor : systemCursor(IDC_ARROW);
}

void CursorTable::adopt(int id, CursorHandle cursor) {
    if (!cursor) {
        slots_.erase(id);
        return;
    }
    Slot& slot = slots_[id];
    slot.cursor = cursor.get();
    slot.owned = std::move(cursor);
}

void CursorTable::setShared(int id, HCURSOR cursor) {
    if (!cursor) {
        slots_.erase(id);
        return;
    }
    Slot& slot = slots_[id];
    slot.owned.reset();
    slot.cursor = cursor;
}

}  // namespace orb
