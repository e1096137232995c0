// Recounting a school's counters from what they count: the requirement counters from the active
// indents and the group member lists, the allocation counters and per-day counts from the
// allocated timetable cells. The result lists every counter whose stored value differs, and every
// allocated cell that no indent accounts for, in plain words. Nothing is written: the statistics
// repair decides what to do with the findings.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <utility>
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

// What the school's data say the counters should be.
struct CountedCounters {
  struct Owner {
    int required = 0;               // CLSREQLEC / TCHREQLEC
    int requiredThroughGroup = 0;   // CLSREQMLT / TCHREQMLT
    int allocated = 0;              // CLSTOTALL / TALLOCLEC
    int allocatedThroughGroup = 0;  // CLSMLTALL / TCHMLTALL
  };
  struct Subject {
    int required = 0;   // SCTREQLEC
    int allocated = 0;  // SCTTOTALL
  };
  using ClassSubjectDay = std::tuple<int, int, int>;   // class, subject, day: SDALLOC
  using ClassResourceDay = std::tuple<int, int, int>;  // class, resource, day: TDALLOC
  using ResourceDay = std::pair<int, int>;             // resource, day: TDAALLOC

  std::map<int, Owner> classes, resources;
  std::map<int, int> indentAllocated;  // ANOLECALL by serial
  std::map<int, Subject> subjects;
  std::map<ClassSubjectDay, int> subjectDays;
  std::map<ClassResourceDay, int> resourceClassDays;
  std::map<ResourceDay, int> resourceDays;
};

// How a placed period is counted:
//   class row of the indent's class          CLSTOTALL, ANOLECALL, SCTTOTALL, SDALLOC, TDALLOC
//   class row of a member of its group       CLSMLTALL
//   resource row of the indent's resource    TALLOCLEC, TDAALLOC
//   resource row of a member of its group    TCHMLTALL, TDAALLOC
// and an active indent's count: CLSREQLEC, TCHREQLEC, SCTREQLEC, and CLSREQMLT / TCHREQMLT of the
// members of its group class / group resource.
RecountReport recountCounters(Store& store, int school);

// The counted values themselves, for a repair that writes them.
CountedCounters countCounters(Store& store, int school);

}  // namespace tavrel::store
