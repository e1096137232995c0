// Applying a week pattern from the "Week Setup" dialog to one owner's cells: per day, the counted
// periods (the first ones of the day with TopDown, the last ones with BottomUp) become available
// and the others not available. Allocated cells are never touched; the grid offers the command
// only while it holds no allocation at all.
#pragma once

#include "core/grid/grid_owner.h"
#include "core/grid/timetable_grid.h"
#include "core/setup/week_setup.h"
#include "core/store/session.h"

namespace tavrel::grid {

bool weekSetupEnabled(const TimetableGrid& grid);

// The dialog as it opens for the owner.
setup::WeekSetupForm weekSetupForm(const store::TSchl& school, GridOwner owner);

struct WeekSetupApplied {
  int madeAvailable = 0;
  int madeNotAvailable = 0;
};

// Changes the owner's free and not-available cells to the pattern and sets its availability total
// to the number of its available cells. A resource is part time afterwards exactly when one of its
// cells is not available where the school's is. For the school itself the periods per day of its
// week frame become the largest count of a day (12 with BottomUp, which fills days from the end).
WeekSetupApplied applyWeekSetup(store::Session& session, GridOwner owner,
                                const setup::WeekSetupResult& pattern);

}  // namespace tavrel::grid
