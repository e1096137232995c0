// The constraint of an indent that has none: every day of the school's cycle and every period of
// its day, as ranges and as number lists.
#pragma once

#include <string>

#include "core/store/tables.h"

namespace tavrel::store {

// The seven constraint fields of an indent, named as in `TAlloc`.
struct DefaultConstraint {
  std::string AQUERY;
  int ASTLEC = 0;
  int AENLEC = 0;
  int ASTDAY = 0;
  int AENDAY = 0;
  std::string ALISTLEC;
  std::string ALISTDAY;

  bool operator==(const DefaultConstraint&) const = default;
};

// `qry_init`: the default constraint of a school with week frame `swrkdays`. A frame outside the
// grid (a school stored before the nine-day frame has 0) gives the whole grid, 9 days of 12
// periods, for the ranges as for the lists, so the two always describe the same cells.
DefaultConstraint qry_init(int swrkdays);

// `AsgnDefault`: writes the constraint into the indent; the caller posts it.
void AsgnDefault(TAlloc& indent, const DefaultConstraint& constraint);

}  // namespace tavrel::store
