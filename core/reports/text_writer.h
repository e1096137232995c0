// The plain-text form of a report: each page as a fixed-width page with ruled tables, pages
// separated by a form feed, as a line printer or a text editor shows them.
#pragma once

#include <filesystem>
#include <string>

#include "core/reports/report_document.h"
#include "core/util/result.h"

namespace tavrel::reports {

std::string reportText(const ReportDocument& document);

// Writes a text form of a report to a file, whole or not at all.
Status saveReportFile(const std::string& content, const std::filesystem::path& file);

}  // namespace tavrel::reports
