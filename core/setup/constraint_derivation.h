// From the conditions of a constraint to the values the allocation engine reads: the day and period
// ranges (`ASTDAY`/`AENDAY`, `ASTLEC`/`AENLEC`) and the day and period lists (`ALISTDAY`,
// `ALISTLEC`) from which it draws where to place an indent's periods.
//
// A derivation either succeeds with values that lie inside the school's week, or is refused with the
// message for the person. Stored texts outlive changes of the week: a school whose cycle got shorter,
// or whose week setup now names its days differently, may hold texts that name days or periods it no
// longer has; those are refused rather than turned into days the engine would never find.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/setup/constraint_text.h"
#include "core/store/tables.h"
#include "core/util/result.h"

namespace tavrel::setup {

// The school's week as constraints see it.
struct ConstraintWeek {
  int days = 9;      // days in the cycle, 1 to 9
  int periods = 12;  // periods per day, 1 to 12
  // The nine upper-case day names of the constraint window, day 1 first: the weekday names of the
  // week setup for a cycle of at most 7 days, "DAY1" to "DAY7" otherwise, then "DAY8" and "DAY9".
  std::vector<std::string> dayNames;
};

// The week of a school with week frame `swrkdays` and week setup `sregn`. A frame whose days are not
// 1 to 9 counts as 9 days, one whose periods are not 1 to 12 as 12 periods: the widths the default
// lists fall back to, so ranges and lists always agree.
ConstraintWeek constraintWeek(int swrkdays, std::string_view sregn);
ConstraintWeek constraintWeek(const store::TSchl& school);

// The derived values of a constraint, as the indent's fields hold them.
struct ConstraintValues {
  std::string text;  // `AQUERY`
  int firstPeriod = 1;
  int lastPeriod = 1;
  std::string periodList;  // `ALISTLEC`, cut to its 25 characters (the full list then ends in a comma)
  int firstDay = 1;
  int lastDay = 1;
  std::string dayList;  // `ALISTDAY`

  friend bool operator==(const ConstraintValues&, const ConstraintValues&) = default;
};

inline constexpr int kListFieldWidth = 25;

inline constexpr std::string_view kPeriodRangeInverted =
    "Period range selection invalid. Lower value exceeds the upper.";
inline constexpr std::string_view kDayRangeInvalid = "Day range selection incomplete or invalid.";
inline constexpr std::string_view kClusterMismatch =
    "Period constraint selection inconsistent with the number of periods in the cluster.";

// "Day \"MONDAY\" is not a day of the school's 8-day week cycle. Please reselect the constraint."
std::string dayNotInWeekMessage(std::string_view dayName, int days);
// "Period 10 is not a period of the school's 8-period day. Please reselect the constraint."
std::string periodNotInDayMessage(std::string_view period, int periods);

// The values of an indent without constraint: "None", every day and every period of the week.
ConstraintValues noConstraint(const ConstraintWeek& week);

// The day number (1 to 9) of a day name, or 0 when the week has no day of that name.
int dayNumber(const ConstraintWeek& week, std::string_view dayName);

// Whether a condition can be derived in this week: its form (`checkConditionForm`), every item a
// day or period of the week, and a range whose low item does not come after its high one.
Status checkCondition(const Condition& condition, const ConstraintWeek& week);

// Whether the periods (ascending) hold a run of `clusterSize` consecutive ones, which a cluster
// block needs; always true for a cluster size below 2.
bool fitsCluster(const std::vector<int>& periods, int clusterSize);

// The values of at most two conditions on different dimensions in this week, for an indent whose
// cluster blocks have `clusterSize` periods (0 or 1 for a regular indent or a proxy).
Result<ConstraintValues> deriveConstraint(const std::vector<Condition>& conditions,
                                          const ConstraintWeek& week, int clusterSize);
// The same for a stored or written text (`parseConstraint` first).
Result<ConstraintValues> deriveConstraint(std::string_view text, const ConstraintWeek& week, int clusterSize);

}  // namespace tavrel::setup
