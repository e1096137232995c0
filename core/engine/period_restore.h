// Putting an active indent's periods back where a timetable had them: the import of an exchange
// file restores the timetable it carries this way. Every period goes through the same placement
// checks and the same `Allocate` as a period the engine places, so the cells, the per-day counts,
// the indent's allocated count and every total come out as if the engine had placed them. The
// timetable a file describes is taken only when it is sound here: a period that would double-book,
// lie outside the indent's constraint or the week, break a cluster block or a limit in force is
// refused, and the indent is then left with none of its periods placed.
#pragma once

#include <string>
#include <vector>

#include "core/store/session.h"
#include "core/util/result.h"

namespace tavrel::engine {

struct PeriodToRestore {
  int day = 0;
  int period = 0;
  int position = 1;  // place in its cluster block; 1 for a regular period
};

// Places the periods of the current school's active indent `serial`, which has none placed yet.
// The refusal names the first period that cannot go back and why; nothing is then written.
Status restorePeriods(store::Session& session, int serial, const std::vector<PeriodToRestore>& periods);

}  // namespace tavrel::engine
