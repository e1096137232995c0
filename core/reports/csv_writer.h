// The comma-separated form of a report, for spreadsheets: the institution, school and date once,
// then each page's captions and table rows. A cell that spans columns is followed by empty
// fields, so that every value stays under its heading.
#pragma once

#include <string>
#include <string_view>

#include "core/reports/report_document.h"

namespace tavrel::reports {

std::string reportCsv(const ReportDocument& document);

// One field as CSV writes it: quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

}  // namespace tavrel::reports
