// A realistic school that is known to be feasible, for the engine's benchmarks and its tests of
// whole runs: 40 classes of 40 periods a week and groups of them, plain resources (some part-time) and groups
// of resources, regular, one-per-day, cluster (some not across the recess), constrained and group indents,
// with per-day limits.
//
// Feasible by construction: a timetable is planted first, keeping every rule the engine keeps,
// and the indents and limits are then read off it, so the planted timetable is one solution. The
// data set looks as activation leaves it: requirement counters, limit records and priority letters
// set, nothing allocated.
#pragma once

#include <cstdint>

#include "core/store/store.h"

namespace tavrel::testing {

// The default is the benchmark's school. At least 56 plain resources; more are shared out over the
// subjects as the 56 are, so a school at the limits is {995, 4, 995, 4, 9, 12, ...}.
struct GeneratedShape {
  int plainClasses = 40;
  int classGroups = 4;  // each of two plain classes, beside them
  int plainResources = 56;
  int resourceGroups = 4;  // each of two plain resources
  int days = 6;
  int periods = 8;
  int partTimeResources = 8;  // not available on the last two days
  std::uint64_t seed = 1;
};

struct GeneratedSchool {
  int school = 0;
  int classes = 0;
  int resources = 0;
  int indents = 0;
  int periods = 0;  // the active indents' periods, all of which the planted timetable holds
};

// Adds the school after the highest school code issued, in one transaction.
GeneratedSchool writeGeneratedSchool(store::Store& store, const GeneratedShape& shape);

}  // namespace tavrel::testing
