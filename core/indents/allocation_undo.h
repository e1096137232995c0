// Undoing an indent's allocation: its placed periods leave the timetable (the class, resource and
// group members' cells) and every counter that counted them, and the indent stays active with
// nothing placed. A proxy indent loses its proxy status with its periods.
#pragma once

#include <vector>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

// Frees every cell of the indent and takes each of its periods out of the counters. The indent's
// own allocated count is left to the caller. Returns the number of its class's cells freed.
int releasePlacements(store::Session& session, const store::TAlloc& indent);

// Whether any period of the indent is placed (by its count or by a cell still holding it).
bool hasPlacements(store::Session& session, const store::TAlloc& indent);

enum class UndoOutcome { NothingPlaced, Declined, Undone };

// "&Undo Allocation" of one indent. Interactive: a proxy indent asks first, and "Allocation
// undone." closes it.
UndoOutcome UndoAllocation(store::Session& session, int serial, Interaction interaction);

// "Undo Allocation &All" over the active grid's indents; false when the proxy question was answered
// No.
bool UndoAllocationAll(store::Session& session, const std::vector<int>& activeSerials);

}  // namespace tavrel::indents
