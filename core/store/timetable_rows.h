// The timetable rows of an owner: every class, every resource and the school itself own one row
// per cell of the 9-day by 12-period grid, whatever the school's own week. A new class or
// resource is free exactly where the school is available, so the school's rows come first.
#pragma once

#include <string>
#include <string_view>

#include "core/ports/progress.h"
#include "core/store/session.h"

namespace tavrel::store {

inline constexpr std::string_view kVendorAddress = "https://tavrel.org/support";

// "Upgrade to 9 day week cycle failed. Contact vendor  (<address>)."
std::string upgradeFailedMessage();

// `TTAppnd`: makes the timetable rows of `count` new owners of the session's view kind ("C"
// classes, "T" resources, "L" the school itself).
//
// Normal form (the school has a week frame): the owners are the codes `firstCode` + 1 to
// `firstCode` + `count`, so callers pass the highest code in use (`STOTCLS` or `STOTTCH`); the
// school level makes the school's own rows. An owner that already has rows is skipped, so rows
// made for codes an interrupted creation never used are taken over later. The work runs under the
// progress display and can be cancelled between owners: the rows already made stay and the result
// is false with the session's cancel flag set. Success beeps.
//
// Upgrade form (a school stored before the nine-day frame, `SWRKDAYS` 0 or below): completes the
// rows of the one owner `firstCode` (the school's code at school level) to the nine-day grid, see
// `completeNineDayRows`. An owner that cannot be completed is reported with
// `upgradeFailedMessage`, sets the cancel flag and gives false.
bool TTAppnd(Session& session, Progress& progress, int firstCode, int count);

// How the rows of one owner of a school stored before the nine-day frame were completed.
enum class RowCompletion {
  Completed,        // 72 rows (6 days): the rows of days 7, 8 and 9 were added, not available
  AlreadyComplete,  // 108 rows: an earlier attempt completed it
  NoRows,           // a code without rows: nothing to complete
  CannotComplete,   // 54 rows (4½ days): no upgrade path; left as it was
  Irregular,        // any other count, or rows that clash with days 7 to 9: left as it was
};

struct OwnerCompletion {
  RowCompletion result;
  int rowsFound;
};

// Completes one owner's rows (kind "C", "T" or "L"); never deletes or changes an existing row.
OwnerCompletion completeNineDayRows(Store& store, int school, char kind, int owner);

}  // namespace tavrel::store
