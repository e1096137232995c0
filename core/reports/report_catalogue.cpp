#include "core/reports/report_catalogue.h"

#include <algorithm>

namespace tavrel::reports {

using namespace store;

namespace {

struct CatalogueEntry {
  int code;
  ReportKind kind;
  const char* name;  // at most 35 characters, the width of REPNAME
};

// The names start with whose report it is, so that the setup's name order keeps each kind's
// reports together.
constexpr CatalogueEntry kCatalogue[] = {
    {1, ReportKind::List, "Class List"},
    {2, ReportKind::Timetable, "Class Timetable"},
    {3, ReportKind::IndentList, "Class Indent List"},
    {4, ReportKind::SchoolFreePeriods, "Class Free Periods, Whole School"},
    {5, ReportKind::ItemFreePeriods, "Class Free Periods"},
    {11, ReportKind::List, "Resource List"},
    {12, ReportKind::Timetable, "Resource Timetable"},
    {13, ReportKind::IndentList, "Resource Indent List"},
    {14, ReportKind::SchoolFreePeriods, "Resource Free Periods, Whole School"},
    {15, ReportKind::ItemFreePeriods, "Resource Free Periods"},
    {21, ReportKind::List, "Subject List"},
    {23, ReportKind::IndentList, "Subject Indent List"},
};

const CatalogueEntry* entry(int code) {
  for (const CatalogueEntry& e : kCatalogue) {
    if (e.code == code) return &e;
  }
  return nullptr;
}

void seedCatalogue(Store& store) {
  Transaction tx(store);
  for (const CatalogueEntry& e : kCatalogue) {
    TReps row;
    row.REPNAME = e.name;
    row.REPCODE = e.code;
    store.table<TReps>().insert(row);
  }
  tx.commit();
}

}  // namespace

const std::vector<int>& reportCodes() {
  static const std::vector<int> codes = [] {
    std::vector<int> all;
    for (const CatalogueEntry& e : kCatalogue) all.push_back(e.code);
    return all;
  }();
  return codes;
}

std::optional<ReportKind> reportKind(int code) {
  const CatalogueEntry* e = entry(code);
  if (!e) return std::nullopt;
  return e->kind;
}

char reportView(int code) {
  if (code >= 1 && code <= 10) return 'C';
  if (code >= 11 && code <= 20) return 'T';
  if (code >= 21 && code <= 30) return 'S';
  return 0;
}

std::string defaultReportName(int code) {
  const CatalogueEntry* e = entry(code);
  return e ? e->name : "";
}

std::vector<TReps> reportCatalogue(Store& store) {
  auto& table = store.table<TReps>();
  if (table.count(TReps::primary) == 0) seedCatalogue(store);
  return table.range(TReps::primary);
}

std::string reportName(Store& store, int code) {
  for (const TReps& row : store.table<TReps>().range(TReps::primary)) {
    if (row.REPCODE == code) return row.REPNAME;
  }
  return {};
}

}  // namespace tavrel::reports
