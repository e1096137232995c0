// The indent lists (codes 3, 13 and 23): the active indents of each chosen class, resource or
// subject, one item to a page, in the order the engine takes them (priority letter, serial).
#pragma once

#include <string>
#include <vector>

#include "core/reports/report_document.h"
#include "core/reports/report_filters.h"

namespace tavrel::reports {

inline constexpr int kIndentListLinesPerPage = 45;
inline constexpr int kIndentNameCut = 10;         // characters of the two other dimensions' names
inline constexpr int kConstraintLineWidth = 24;   // the constraint text wraps at this width

// "Allocation Indents (Class View - 7A)", and the same for the resource and subject views.
std::string indentListTitle(char view, const std::string& itemName);

// The columns and the heading row of the view's indent list, without rows.
Table indentListTable(char view);

std::vector<ReportPage> indentListPages(store::Store& store, const ReportFilters& filters);

}  // namespace tavrel::reports
