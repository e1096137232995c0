// Recounting a school's counters from what they count: the requirement counters from the active
// indents and the group member lists, the allocation counters and per-day counts from the
// allocated timetable cells. The result lists every counter whose stored value differs, and every
// allocated cell that no indent accounts for, in plain words. Nothing is written: the statistics
// repair decides what to do with the findings.
#pragma once

#include <string>
#include <vector>

#include "core/store/store.h"

namespace tavrel::store {

struct CounterDifference {
  std::string counter;  // the field: "CLSTOTALL", "TDAALLOC", ...
  std::string owner;    // whose counter, in words: "class 1A (3)", "resource JONES (2), day 4"
  int stored = 0;
  int counted = 0;
  bool recordMissing = false;  // a per-day or subject record that should hold the count is missing

  std::string text() const;
};

struct RecountReport {
  std::vector<CounterDifference> differences;
  std::vector<std::string> strayCells;  // allocated cells that belong to no indent of the owner

  bool clean() const { return differences.empty() && strayCells.empty(); }
  std::vector<std::string> findings() const;  // every difference and stray cell, in plain words
};

// How a placed period is counted:
//   class row of the indent's class          CLSTOTALL, ANOLECALL, SCTTOTALL, SDALLOC, TDALLOC
//   class row of a member of its group       CLSMLTALL
//   resource row of the indent's resource    TALLOCLEC, TDAALLOC
//   resource row of a member of its group    TCHMLTALL, TDAALLOC
// and an active indent's count: CLSREQLEC, TCHREQLEC, SCTREQLEC, and CLSREQMLT / TCHREQMLT of the
// members of its group class / group resource.
RecountReport recountCounters(Store& store, int school);

}  // namespace tavrel::store
