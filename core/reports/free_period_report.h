// The free-period reports: every free slot of the school's classes or resources on the tagged
// days and periods (codes 4 and 14), or the free slots of chosen classes or resources, one item
// to a page (codes 5 and 15). One line per free slot: "Day", "Period" and the item.
#pragma once

#include <vector>

#include "core/reports/report_document.h"
#include "core/reports/report_filters.h"

namespace tavrel::reports {

// Lines of free slots on one A4 landscape page.
inline constexpr int kFreePeriodLinesPerPage = 28;

// The pages of the report, titled with the report's catalogue name.
std::vector<ReportPage> freePeriodPages(store::Store& store, const ReportFilters& filters, const std::string& title);

// The heading and column layout of a free-period table of the view, without rows.
Table freePeriodTable(char view);

}  // namespace tavrel::reports
