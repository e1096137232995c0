// The Excel form of a report: one worksheet per report page (named after the page's item where
// it has one), the header lines merged across the table, cells ruled as printed, counts as
// numbers, each sheet set up to print on the report's paper and orientation.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/reports/report_document.h"
#include "core/util/result.h"

namespace tavrel::reports {

Status saveReportXlsx(const ReportDocument& document, const std::filesystem::path& file);

// The worksheet names of the pages: the page's name made valid and unique (at most 31
// characters, none of []:*?/\, no leading or trailing apostrophe).
std::vector<std::string> worksheetNames(const ReportDocument& document);

}  // namespace tavrel::reports
