// The lists of classes, resources and subjects with their period totals (codes 1, 11 and 21):
// what is available, the most allowed, and what is indented and allocated, each alone ("Solo"),
// through groups ("Multi") and in total.
#pragma once

#include <string>
#include <vector>

#include "core/reports/report_document.h"
#include "core/reports/report_filters.h"

namespace tavrel::reports {

inline constexpr int kListLinesPerPage = 45;
inline constexpr std::string_view kNotApplicable = "N.A.";

// "Class List (All)", "Resource List (Incomplete w.r.t. Indented)", ...
std::string listTitle(char view, const store::ListChoice& choice);

// The list's columns and its two heading rows, without rows.
Table listTable();

// The pages of the list of the chosen items that meet the list choice, in name order.
std::vector<ReportPage> listPages(store::Store& store, const ReportFilters& filters);

}  // namespace tavrel::reports
