#include "core/reports/build_report.h"

#include "core/reports/free_period_report.h"
#include "core/reports/indent_list_report.h"
#include "core/reports/list_report.h"
#include "core/reports/page_header.h"
#include "core/reports/report_catalogue.h"
#include "core/reports/report_filters.h"
#include "core/reports/timetable_report.h"

namespace tavrel::reports {

using namespace store;

Orientation reportOrientation(int code) {
  switch (reportKind(code).value_or(ReportKind::List)) {
    case ReportKind::Timetable:
    case ReportKind::SchoolFreePeriods:
    case ReportKind::ItemFreePeriods: return Orientation::Landscape;
    case ReportKind::List:
    case ReportKind::IndentList: return Orientation::Portrait;
  }
  return Orientation::Portrait;
}

ReportDocument buildReport(Store& store, int school, int code, const ReportOptions& options) {
  ReportDocument document;
  document.title = reportName(store, code);
  if (document.title.empty()) document.title = defaultReportName(code);
  document.orientation = reportOrientation(code);
  const ReportFilters filters(store, readSelection(store, school, code, options.choice));
  const char view = filters.selection().view;

  // What a report with nothing to print says about itself.
  std::vector<HeaderLine> emptyCaptions;
  Table emptyTable;
  auto caption = [](std::string text) { return HeaderLine{"", std::move(text), "", LineSize::Heading, true}; };
  switch (reportKind(code).value_or(ReportKind::List)) {
    case ReportKind::List:
      document.pages = listPages(store, filters);
      emptyCaptions.push_back(caption(listTitle(view, options.choice)));
      emptyTable = listTable();
      break;
    case ReportKind::Timetable:
      document.pages = timetablePages(store, filters, options);
      emptyCaptions.push_back(caption(std::string(kTimetableFor)));
      break;
    case ReportKind::IndentList:
      document.pages = indentListPages(store, filters);
      emptyCaptions.push_back(caption(indentListTitle(view, "")));
      emptyTable = indentListTable(view);
      break;
    case ReportKind::SchoolFreePeriods:
    case ReportKind::ItemFreePeriods:
      document.pages = freePeriodPages(store, filters, document.title);
      emptyCaptions.push_back(caption(document.title));
      emptyTable = freePeriodTable(view);
      break;
  }
  finishPages(document, pageHeaderTexts(store, school, options.isoDate), emptyCaptions, emptyTable);
  return document;
}

}  // namespace tavrel::reports
