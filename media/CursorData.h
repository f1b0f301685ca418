#pragma once
// Cursor values of the project in the screen-wide cursor table. The system
// loads cursors, animated ones included, only from files, so the bytes pass
// through a temporary file that is gone again before the call returns.
#include "app/OrbData.h"
#include "app/OrbForm.h"
#include "framework/CursorTable.h"

namespace orb {

// None when the value is empty or the system cannot load it.
CursorHandle cursorFromData(const TCursorData& data);

// An empty value gives the slot back its default (the I-beam for the edit
// slot, the arrow otherwise); a cursor that does not load leaves the slot as it was.
void fillCursorSlot(CursorTable& table, int slot, const TCursorData& data);

// Fills the three project slots from the form's cursor values now and again
// whenever one of them changes.
void WatchFormCursors(TOrbForm& form);

}  // namespace orb
