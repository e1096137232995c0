// The HTML form of a report: one printable page per report page, on the report's paper and
// orientation, every text escaped.
#pragma once

#include <string>
#include <string_view>

#include "core/reports/report_document.h"

namespace tavrel::reports {

std::string reportHtml(const ReportDocument& document);

// Text as HTML shows it literally: &, <, >, " and ' escaped.
std::string htmlEscaped(std::string_view text);

}  // namespace tavrel::reports
