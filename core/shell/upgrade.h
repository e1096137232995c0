// The upgrade of a school stored before the nine-day week frame existed: such a school has
// `SWRKDAYS` 0 (or below) and 72 timetable rows per owner (6 days of 12 periods). The upgrade adds
// the rows of days 7 to 9, not available, to the school and to every class and resource code,
// gives the school its week frame and the day names of the printed timetables.
//
// The upgrade shows no message itself. It runs at every activation of the main window, and a
// message box closing activates the main window again: a message shown from here would come back
// for ever. The caller reports a failure once per start and school from the outcome.
#pragma once

#include <string>
#include <vector>

#include "core/ports/progress.h"
#include "core/store/session.h"

namespace tavrel::shell {

enum class UpgradeResult { NotNeeded, Upgraded, Failed };

struct UpgradeOutcome {
  UpgradeResult result = UpgradeResult::NotNeeded;
  std::string message;                  // Failed: the message for the person
  std::vector<std::string> ownersLeft;  // Failed: the owners whose rows could not be completed
};

// `ChkUpgrade` for the session's current school. Owners with 72 rows are completed, owners that
// already have all 108 (an earlier, failed attempt) and codes without rows are passed over. An
// owner with any other number of rows (54 has no upgrade path) is left exactly as it is and named
// in the outcome: the upgrade then fails, `SWRKDAYS` stays as it was and the next activation tries
// again, keeping the rows the other owners already received. Rows are only ever added.
// On success `SWRKDAYS` becomes 612 in the live data set and 608 in the sample set, and the school
// gets the nine report days (`TRPDate`) named by `DayWords`.
UpgradeOutcome ChkUpgrade(store::Session& session, Progress& progress);

}  // namespace tavrel::shell
