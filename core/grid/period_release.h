// Releasing an allocated period from an owner's grid. A period is one lesson of one indent, and it
// occupies a cell in the rows of the indent's class and resource and of every member of a group
// class or group resource, and is counted in their totals, the subject's, the per-day counts and
// the indent's `ANOLECALL`. Whichever of those rows the grid shows, the whole period goes: it is
// released through the indent's own class (in a class grid) or own resource (in a resource grid).
// A member that frees only its own row would leave the group, the other members and the partner
// holding a lesson the member can no longer attend, and its freed cell could then be booked twice.
#pragma once

#include <vector>

#include "core/grid/grid_owner.h"
#include "core/store/session.h"

namespace tavrel::grid {

// The periods of the allocation block the owner's cell at (day, period) belongs to, in order: the
// period alone, or for a cluster the periods from `TCLUSLECNO` − 1 before it to `TCLUSTOT` −
// `TCLUSLECNO` after it, as far as they lie in the day and hold the same indent. Empty when the
// cell holds no allocation.
std::vector<int> allocationBlock(store::Store& store, int school, GridOwner owner, int day, int period);

// Releases the period the owner holds at (day, period) everywhere it lives, with every counter,
// and lowers the indent's allocated count by one. False when the cell holds no allocation.
bool releasePeriod(store::Session& session, GridOwner owner, int day, int period);

}  // namespace tavrel::grid
