// The choices a person makes for one printing of a report that the report tables do not keep:
// the day it is printed, the list filter, the timetable's report type and its period headings.
#pragma once

#include <string>

#include "core/store/session.h"

namespace tavrel::reports {

enum class TimetableStyle { Regular, Consolidated };

struct ReportOptions {
  std::string isoDate;                                 // "YYYY-MM-DD"
  store::ListChoice choice;                            // lists: the selection window's filter
  TimetableStyle style = TimetableStyle::Regular;      // timetables: "Report Type"
  bool periodHeadings = true;                          // timetables: "Print Period Headings"
};

}  // namespace tavrel::reports
