#include "core/reports/free_period_report.h"

#include <algorithm>
#include <map>

#include "core/reports/report_catalogue.h"
#include "core/store/day_words.h"
#include "core/store/lookups.h"

namespace tavrel::reports {

using namespace store;

namespace {

constexpr int kFreeSlot = 999;

struct FreeSlot {
  int day;
  int period;
  std::string item;
};

std::string itemName(Store& store, const ReportSelection& selection, const TTtbl& row) {
  return selection.view == 'T' ? L_TTEACHERNAME(store, row) : L_TCLASSNAME(store, row);
}

std::vector<FreeSlot> freeSlots(Store& store, const ReportFilters& filters, int owner) {
  const ReportSelection& selection = filters.selection();
  const std::string kind = selection.view == 'T' ? "T" : "C";
  std::vector<TTtbl> rows;
  if (owner == 0) {
    rows = store.table<TTtbl>().range(TTtbl::TIMESUBJ, {selection.school, kind, kFreeSlot});
  } else if (selection.view == 'T') {
    rows = store.table<TTtbl>().range(TTtbl::TIMESTEAC, {selection.school, kind, kFreeSlot, owner});
  } else {
    rows = store.table<TTtbl>().range(TTtbl::TIMESCLAS, {selection.school, kind, kFreeSlot, owner});
  }
  std::vector<FreeSlot> slots;
  for (const TTtbl& row : rows) {
    if (filters.timetableRow(row)) slots.push_back({row.TDAY, row.TLECTNO, itemName(store, selection, row)});
  }
  std::stable_sort(slots.begin(), slots.end(), [](const FreeSlot& a, const FreeSlot& b) {
    if (a.day != b.day) return a.day < b.day;
    if (a.period != b.period) return a.period < b.period;
    return a.item < b.item;
  });
  return slots;
}

std::vector<TableRow> slotRows(const std::vector<FreeSlot>& slots, const std::map<int, std::string>& dayTitles) {
  std::vector<TableRow> rows;
  for (const FreeSlot& slot : slots) {
    TableRow row;
    auto title = dayTitles.find(slot.day);
    row.cells.push_back(cell(title == dayTitles.end() ? std::to_string(slot.day) : title->second));
    row.cells.push_back(cell(std::to_string(slot.period), Align::Centre));
    row.cells.push_back(cell(slot.item));
    rows.push_back(std::move(row));
  }
  return rows;
}

void addPages(std::vector<ReportPage>& pages, std::vector<TableRow> rows, char view, const std::string& caption,
              const std::string& name) {
  auto chunks = splitIntoPages(std::move(rows), kFreePeriodLinesPerPage);
  if (chunks.empty()) chunks.emplace_back();
  for (auto& chunk : chunks) {
    ReportPage page;
    page.name = name;
    page.captions.push_back({"", caption, "", LineSize::Heading, true});
    page.table = freePeriodTable(view);
    page.table.rows = std::move(chunk);
    pages.push_back(std::move(page));
  }
}

}  // namespace

Table freePeriodTable(char view) {
  Table table;
  table.columns = {{14, Align::Left, 0}, {8, Align::Centre, 0}, {25, Align::Left, 0}};
  TableRow heading;
  heading.cells = {boldCell("Day", Align::Left), boldCell("Period"), boldCell(view == 'T' ? "Resource" : "Class", Align::Left)};
  table.headingRows.push_back(std::move(heading));
  return table;
}

std::vector<ReportPage> freePeriodPages(Store& store, const ReportFilters& filters, const std::string& title) {
  const ReportSelection& selection = filters.selection();
  std::map<int, std::string> dayTitles;
  for (int day = 1; day <= 9; ++day) {
    std::string dayTitle = GetDay(store, selection.school, day);
    if (!dayTitle.empty()) dayTitles[day] = dayTitle;
  }
  std::vector<ReportPage> pages;
  if (reportKind(selection.code) == ReportKind::SchoolFreePeriods) {
    addPages(pages, slotRows(freeSlots(store, filters, 0), dayTitles), selection.view, title, "");
  } else {
    for (int code : selection.chosen) {
      const std::string name = selection.view == 'T' ? resourceName(store, selection.school, code)
                                                     : className(store, selection.school, code);
      if (name.empty()) continue;
      addPages(pages, slotRows(freeSlots(store, filters, code), dayTitles), selection.view,
               title + " (" + name + ")", name);
    }
  }
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (pages[i].name.empty()) pages[i].name = "Page " + std::to_string(i + 1);
  }
  return pages;
}

}  // namespace tavrel::reports
