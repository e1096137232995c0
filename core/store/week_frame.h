// The school's week frame `SWRKDAYS` = days in the cycle × 100 + periods per day (912 for a new
// school). Every owner still has the full 9 × 12 timetable rows; the frame says which are in use.
#pragma once

namespace tavrel::store {

constexpr int daysInCycle(int swrkdays) {
  return swrkdays / 100;
}
constexpr int periodsPerDay(int swrkdays) {
  return swrkdays % 100;
}

}  // namespace tavrel::store
