#pragma once
// The screen-wide cursor table: cursors registered under integer ids that
// controls name instead of holding a handle, so one assignment re-skins every
// control that refers to the id.
#include <map>

#include "framework/Handles.h"

namespace orb {

struct CursorTraits {
    static HCURSOR invalid() { return nullptr; }
    static void close(HCURSOR h) { DestroyCursor(h); }
};
using CursorHandle = UniqueResource<HCURSOR, CursorTraits>;

// The project's slots; empty ones answer the arrow, the edit slot starts as the I-beam.
inline constexpr int kCursorSlotNormal = 1999, kCursorSlotHot = 2999, kCursorSlotEdit = 3999;

class CursorTable {
public:
    static CursorTable& screen();

    // The cursor under id; the arrow for an id nobody filled.
    HCURSOR get(int id) const;
    // A cursor the table takes over and destroys when it is replaced or the table ends.
    void adopt(int id, CursorHandle cursor);
    // A system cursor, shared and never destroyed; none empties the slot.
    void setShared(int id, HCURSOR cursor);

    CursorTable();
    CursorTable(const CursorTable&) = delete;
    CursorTable& operator=(const CursorTable&) = delete;

private:
    struct Slot {
        HCURSOR cursor = nullptr;
        CursorHandle owned;
    };
    std::map<int, Slot> slots_;
};

}  // namespace orb
