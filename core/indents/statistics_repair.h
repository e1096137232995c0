// "Statistics &Diagnostics/ Repair": recomputes every counter of the school from what it counts
// (the timetable cells, the active indents and the group member lists) and rewrites those that
// differ. An indent whose allocated count disagrees with its cells is shown to the person, who may
// have it corrected; a corrected indent with periods placed is allocated afresh, so its periods
// and every count of them are rebuilt together.
//
// The counters rewritten are the available, demand and allocation counters of classes and
// resources, the subject links' totals, and the per-day counts the engine keeps (they drift with
// the others and the engine trusts them just the same). Running the repair twice in a row finds
// nothing the second time.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/indents/single_allocation.h"
#include "core/ports/progress.h"

namespace tavrel::indents {

struct RepairReport {
  int correctionsOffered = 0;
  int correctionsMade = 0;
  int recordsRewritten = 0;
  // Allocated cells that no indent of their owner accounts for. They are left as they are: the
  // repair cannot tell what they were meant to be.
  std::vector<std::string> strayCells;
};

// Nothing when the person declined to run it.
std::optional<RepairReport> statisticsRepair(store::Session& session, Progress& progress,
                                             IndentAllocator& allocator);

}  // namespace tavrel::indents
