// The names of the days of a school's week cycle, as shown in lists, grids and printed timetables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/store/tables.h"

namespace tavrel::store {

class Store;

// The name of day 1 to 9 for a school with week frame `swrkdays` and week setup `sregn`: weekday
// names for a cycle of at most 7 days ("STANDARD" starts on Monday, any other setup on Saturday),
// "Day1" ... "Day9" otherwise; days 8 and 9 are always "Day8" and "Day9". Empty for any other day.
std::string DayWords(int day, int swrkdays, std::string_view sregn);
std::string DayWords(int day, const TSchl& school);

// `DayWords` of days 1 to 9, in that order.
std::vector<std::string> Fill_DayList(int swrkdays, std::string_view sregn);

// The day title `RPDDAY` of the n-th (from 1) `TRPDate` record of the school, in `RPDNO` order:
// the title the user gave that day for printed timetables. Empty when there is no n-th record.
std::string GetDay(Store& store, int school, int n);

}  // namespace tavrel::store
