// What every page of every report carries: the institution, the school and its remark, the date
// it was printed and the page number; and the line that closes the report.
#pragma once

#include <string>
#include <string_view>

#include "core/reports/report_document.h"
#include "core/store/store.h"

namespace tavrel::reports {

inline constexpr std::string_view kPrintedOn = "Printed on:";
inline constexpr std::string_view kPage = "Page:";
inline constexpr std::string_view kEndOfReport = "*** End of Report";

struct PageHeaderTexts {
  std::string institution;  // `INSTITUTION`
  std::string school;       // `SNAME`
  std::string remark;       // `SREMARK`; no line when empty
  std::string printedOn;    // the date as printed
};

// The header texts of the school's reports, printed on `isoDate` ("YYYY-MM-DD").
PageHeaderTexts pageHeaderTexts(store::Store& store, int school, std::string_view isoDate);

// "2025-03-07" as "07 Mar 2025": the month spelt out cannot be misread whichever way round the
// reader writes dates. Any other text is printed as it is.
std::string printedDate(std::string_view isoDate);

// Gives every page its running header with its number and closes the last page with
// "*** End of Report". A report without pages gets one, so that it still says what it is.
void finishPages(ReportDocument& document, const PageHeaderTexts& texts, const std::vector<HeaderLine>& emptyCaptions,
                 const Table& emptyTable);

}  // namespace tavrel::reports
