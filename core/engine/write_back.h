// Writing the working set back to the tables at the end of an "Allocate All" run: the per-day
// counts, the indents' allocated counts, the class, resource and subject totals (`UnLodLim` steps 1
// to 7), then every class timetable row and every resource timetable row (steps 8 and 9). A Stop
// between two owners ends the walk there; the rows written so far are committed, and the run is
// quick-saved with the point reached so that `UnLodPart` can finish it.
//
// Every counter the working set does not hold goes to 0: a fresh run discards every allocation of
// the school, those of passive indents included, so their per-day counts must go as well.
#pragma once

#include "core/engine/working_set.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/store.h"

namespace tavrel::engine {

// Where the timetable write-back stands: the phase ('C' class rows, 'T' resource rows) and the
// next owner and slot within its block. An owner code and a slot, rather than one slot index, so
// that the point fits the school record at 999 classes.
struct WriteBackPoint {
  char phase = 'C';
  int owner = 1;
  int slot = 0;  // 0 to 107

  // The slot index reached over all blocks of the phase, as the progress label counts it.
  long slotIndex() const { return static_cast<long>(owner - 1) * kSlotsPerOwner + slot; }
};

struct WriteBackResult {
  bool stopped = false;
  WriteBackPoint reached;  // where a resumed write-back continues
};

// `UnLodLim`: the whole write-back.
WriteBackResult UnLodLim(const WorkingSet& set, store::Store& store, Prompter& prompter, Progress& progress);

// `UnLodPart`: finishes a write-back that stopped at `from` (steps 1 to 7 were done before it).
WriteBackResult UnLodPart(const WorkingSet& set, store::Store& store, Prompter& prompter, Progress& progress,
                          WriteBackPoint from);

}  // namespace tavrel::engine
