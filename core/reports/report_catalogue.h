// The report catalogue: which reports exist, what their codes mean and the names the report setup
// lists. A code's tens say whose report it is (1 to 10 classes, 11 to 20 resources, 21 to 30
// subjects); the units say which report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/store.h"

namespace tavrel::reports {

enum class ReportKind {
  List,                // 1, 11, 21: the items with their period totals
  Timetable,           // 2, 12: the timetables of chosen items
  IndentList,          // 3, 13, 23: the active indents of chosen items
  SchoolFreePeriods,   // 4, 14: every free slot of the school by day and period
  ItemFreePeriods,     // 5, 15: the free slots of chosen items
};

// The codes the system prints, in catalogue order.
const std::vector<int>& reportCodes();

// The kind of report a code names; none for a code that names no report.
std::optional<ReportKind> reportKind(int code);

// The view letter of a code: "C" for 1 to 10, "T" for 11 to 20, "S" for 21 to 30; 0 otherwise.
char reportView(int code);

// The name the catalogue gives a code when it is first seeded.
std::string defaultReportName(int code);

// The catalogue rows in name order, as the report setup lists them. A data set without a
// catalogue gets one first, so that every report can be reached.
std::vector<store::TReps> reportCatalogue(store::Store& store);

// The catalogue's name of a report code; empty when the catalogue has no row with the code.
std::string reportName(store::Store& store, int code);

}  // namespace tavrel::reports
