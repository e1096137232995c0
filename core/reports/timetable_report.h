// The printed timetables of chosen classes or resources (report codes 2 and 12).
//
// Regular: one page per item, a heading column of the tagged periods with their timings and one
// column per tagged day. Consolidated: the items side by side, one column per item and tagged day,
// nine columns to a page. Both print a "Recess" row after every tagged period the school's recess
// list names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/reports/page_header.h"
#include "core/reports/report_document.h"
#include "core/reports/report_filters.h"
#include "core/reports/report_options.h"

namespace tavrel::reports {

inline constexpr std::string_view kTimetableFor = "Timetable For:";
inline constexpr std::string_view kRecess = "Recess";
inline constexpr int kTimetableCut = 12;         // characters of a subject, class or resource name
inline constexpr int kConsolidatedColumns = 9;   // item-day columns on one consolidated page

// "First Period" ... for periods 1 to 12; empty for any other number.
std::string periodHeading(int period);

// The name of a report type as the print setup offers it and the consolidated header prints it.
// The resource timetables say "Resource", the class timetables "Class".
std::string reportTypeName(TimetableStyle style, char view);

// A subject's name as a timetable prints it: without the one-per-day marker "(*n)" the engine
// adds to a subject's variants, cut to 12 characters.
std::string printedSubjectName(std::string_view name);

// The pages of the timetable report of the chosen items (the selection), without the running
// header that `finishPages` adds.
std::vector<ReportPage> timetablePages(store::Store& store, const ReportFilters& filters,
                                       const ReportOptions& options);

}  // namespace tavrel::reports
