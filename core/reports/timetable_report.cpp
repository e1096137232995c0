#include "core/reports/timetable_report.h"

#include <array>
#include <map>

#include "core/store/day_words.h"
#include "core/store/encoded_lists.h"
#include "core/store/lookups.h"
#include "core/store/week_frame.h"
#include "core/util/text.h"

namespace tavrel::reports {

using namespace store;

namespace {

constexpr int kNotAvailable = 0;
constexpr int kFreeSlot = 999;
constexpr int kHeadingColumnWidth = 14;

// What one cell of a timetable holds: the subject and the partner, already cut for printing.
struct Slot {
  std::string subject;
  std::string partner;
};
using WeekSlots = std::array<std::array<Slot, 13>, 10>;  // [day 1..9][period 1..12]

// The days and periods a timetable prints and what heads them.
struct Frame {
  std::vector<int> days;
  std::vector<int> periods;
  std::array<bool, 13> recessAfter{};
  std::map<int, std::string> dayTitles;
  std::map<int, std::string> timings;
};

Frame printedFrame(Store& store, const ReportSelection& selection) {
  Frame frame;
  int swrkdays = 912;
  if (auto school = store.table<TSchl>().find(TSchl::SCLCODE, {selection.school})) {
    // Days and periods the school's week does not have are never available: their columns and
    // rows would print empty, so a tag on them is passed over.
    if (school->SWRKDAYS > 0) swrkdays = school->SWRKDAYS;
    for (int period : listMembers(school->SRECESS)) {
      if (period >= 1 && period <= 11) frame.recessAfter[static_cast<std::size_t>(period)] = true;
    }
    for (int day = 1; day <= 9; ++day) {
      std::string title = GetDay(store, selection.school, day);
      frame.dayTitles[day] = title.empty() ? DayWords(day, *school) : title;
    }
  }
  for (int day = 1; day <= daysInCycle(swrkdays) && day <= 9; ++day) {
    if (selection.dayTagged(day)) frame.days.push_back(day);
  }
  for (int period = 1; period <= periodsPerDay(swrkdays) && period <= 12; ++period) {
    if (selection.periodTagged(period)) frame.periods.push_back(period);
  }
  for (const TRPTime& row : store.table<TRPTime>().range(TRPTime::primary, {selection.school})) {
    frame.timings[row.RPTMLECT] = row.RPTMTIME;
  }
  return frame;
}

std::string itemName(Store& store, const ReportSelection& selection, int code) {
  return selection.view == 'T' ? resourceName(store, selection.school, code)
                               : className(store, selection.school, code);
}

WeekSlots slotsOf(Store& store, const ReportFilters& filters, int code) {
  const ReportSelection& selection = filters.selection();
  const bool resourceView = selection.view == 'T';
  const Key owner{selection.school, resourceView ? "T" : "C", code};
  const auto rows = store.table<TTtbl>().range(resourceView ? TTtbl::TIMETEAC : TTtbl::TIMECLAS, owner);
  WeekSlots slots;  // every slot starts empty: its texts are default-constructed
  for (const TTtbl& row : rows) {
    if (!filters.timetableRow(row)) continue;
    if (row.TDAY < 1 || row.TDAY > 9 || row.TLECTNO < 1 || row.TLECTNO > 12) continue;
    if (row.TSUBJECT == kNotAvailable || row.TSUBJECT == kFreeSlot) continue;
    Slot& slot = slots[static_cast<std::size_t>(row.TDAY)][static_cast<std::size_t>(row.TLECTNO)];
    slot.subject = printedSubjectName(L_TSUBJECTNAME(store, row));
    const std::string partner = resourceView ? L_TCLASSNAME(store, row) : L_TTEACHERNAME(store, row);
    slot.partner = text::cutToWidth(partner, kTimetableCut);
  }
  return slots;
}

TableCell slotCell(const Slot& slot) {
  if (slot.subject.empty() && slot.partner.empty()) return cell("", Align::Centre);
  TableCell c = cellLines({slot.subject, slot.partner}, Align::Centre);
  return c;
}

TableCell headingCell(const Frame& frame, const ReportOptions& options, int period) {
  auto timing = frame.timings.find(period);
  TableCell c = cellLines({options.periodHeadings ? periodHeading(period) : "",
                           timing == frame.timings.end() ? "" : timing->second});
  // With the headings switched off the timing is the only line, and it goes on the first.
  if (!c.lines.empty() && c.lines.front().empty()) c.lines.erase(c.lines.begin());
  c.bold = true;
  return c;
}

TableRow recessRow(std::size_t columns) {
  TableRow row;
  for (std::size_t i = 0; i < columns; ++i) {
    TableCell c = boldCell(std::string(kRecess));
    c.shaded = true;
    row.cells.push_back(std::move(c));
  }
  return row;
}

std::vector<TableColumn> timetableColumns(std::size_t slotColumns) {
  std::vector<TableColumn> columns{{kHeadingColumnWidth, Align::Left, 0}};
  for (std::size_t i = 0; i < slotColumns; ++i) columns.push_back({kTimetableCut, Align::Centre, 1});
  return columns;
}

// The body rows of a timetable: a row per printed period, each followed by a recess row when the
// school has a recess after it. `slotOf(column, day index...)` gives each slot column's slot.
template <class SlotOf>
std::vector<TableRow> periodRows(const Frame& frame, const ReportOptions& options, std::size_t slotColumns,
                                 SlotOf slotOf) {
  std::vector<TableRow> rows;
  for (int period : frame.periods) {
    TableRow row;
    row.cells.push_back(headingCell(frame, options, period));
    for (std::size_t column = 0; column < slotColumns; ++column) row.cells.push_back(slotCell(slotOf(column, period)));
    rows.push_back(std::move(row));
    if (frame.recessAfter[static_cast<std::size_t>(period)]) rows.push_back(recessRow(slotColumns + 1));
  }
  return rows;
}

std::vector<HeaderLine> timetableCaptions(Store& store, int school, const std::string& forWhom) {
  std::vector<HeaderLine> captions;
  captions.push_back({"", std::string(kTimetableFor) + " " + forWhom, "", LineSize::Heading, true});
  if (auto row = store.table<TSchl>().find(TSchl::SCLCODE, {school}); row && !row->SPREMARK.empty())
    captions.push_back({"", row->SPREMARK, "", LineSize::Normal, false});
  return captions;
}

std::vector<ReportPage> regularPages(Store& store, const ReportFilters& filters, const ReportOptions& options,
                                     const Frame& frame) {
  const ReportSelection& selection = filters.selection();
  std::vector<ReportPage> pages;
  for (int code : selection.chosen) {
    const std::string name = itemName(store, selection, code);
    const WeekSlots slots = slotsOf(store, filters, code);
    ReportPage page;
    page.name = name;
    page.captions = timetableCaptions(store, selection.school, name);
    page.table.columns = timetableColumns(frame.days.size());
    page.table.fillsPage = true;
    TableRow titles;
    titles.cells.push_back(cell(""));
    for (int day : frame.days) titles.cells.push_back(boldCell(frame.dayTitles.at(day)));
    page.table.headingRows.push_back(std::move(titles));
    page.table.rows = periodRows(frame, options, frame.days.size(), [&](std::size_t column, int period) {
      return slots[static_cast<std::size_t>(frame.days[column])][static_cast<std::size_t>(period)];
    });
    pages.push_back(std::move(page));
  }
  return pages;
}

std::vector<ReportPage> consolidatedPages(Store& store, const ReportFilters& filters, const ReportOptions& options,
                                          const Frame& frame) {
  const ReportSelection& selection = filters.selection();
  struct Column {
    std::string name;
    int day;
    const WeekSlots* slots;
  };
  std::map<int, WeekSlots> slotsByItem;
  std::vector<Column> columns;
  for (int code : selection.chosen) {
    const WeekSlots& slots = slotsByItem.emplace(code, slotsOf(store, filters, code)).first->second;
    const std::string name = itemName(store, selection, code);
    for (int day : frame.days) columns.push_back({name, day, &slots});
  }
  const std::string typeName = reportTypeName(TimetableStyle::Consolidated, selection.view);
  std::vector<ReportPage> pages;
  for (std::size_t first = 0; first < columns.size(); first += kConsolidatedColumns) {
    const std::size_t count = std::min<std::size_t>(kConsolidatedColumns, columns.size() - first);
    ReportPage page;
    page.name = "Page " + std::to_string(pages.size() + 1);
    page.captions = timetableCaptions(store, selection.school, typeName);
    page.table.columns = timetableColumns(count);
    page.table.fillsPage = true;
    TableRow titles;
    titles.cells.push_back(cell(""));
    for (std::size_t i = 0; i < count; ++i) {
      const Column& column = columns[first + i];
      // The item's name may be twice as long as a column is wide: it goes on as many lines as it
      // needs, and the day under it.
      std::vector<std::string> lines = wrapText(column.name, kTimetableCut);
      lines.push_back(frame.dayTitles.at(column.day));
      TableCell title = cellLines(std::move(lines), Align::Centre);
      title.bold = true;
      titles.cells.push_back(std::move(title));
    }
    page.table.headingRows.push_back(std::move(titles));
    page.table.rows = periodRows(frame, options, count, [&](std::size_t i, int period) {
      const Column& column = columns[first + i];
      return (*column.slots)[static_cast<std::size_t>(column.day)][static_cast<std::size_t>(period)];
    });
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace

std::string periodHeading(int period) {
  // The last is spelt correctly on purpose: this text is pinned on notice boards.
  static constexpr std::array<const char*, 12> kHeadings = {
      "First Period", "Second Period", "Third Period", "Fourth Period",  "Fifth Period",    "Sixth Period",
      "Seventh Period", "Eighth Period", "Ninth Period", "Tenth Period", "Eleventh Period", "Twelfth Period"};
  if (period < 1 || period > 12) return {};
  return kHeadings[static_cast<std::size_t>(period - 1)];
}

std::string reportTypeName(TimetableStyle style, char view) {
  const std::string whose = view == 'C' ? "Class" : "Resource";
  return whose + (style == TimetableStyle::Regular ? " Regular TTbl" : " Consolidated TTbl");
}

std::string printedSubjectName(std::string_view name) {
  std::string printed(name);
  const std::size_t marker = printed.find("(*");
  if (marker != std::string::npos) {
    // The marker is "(*" n ")": remove it up to its closing bracket and no further, so that a
    // name that goes on after the marker keeps the rest. Without a bracket close by, "(*" and
    // the three characters after it go.
    std::size_t end = printed.find(')', marker + 2);
    if (end == std::string::npos || end > marker + 4) end = std::min(printed.size() - 1, marker + 4);
    printed.erase(marker, end - marker + 1);
    while (!printed.empty() && printed.back() == ' ') printed.pop_back();
  }
  return text::cutToWidth(printed, kTimetableCut);
}

std::vector<ReportPage> timetablePages(Store& store, const ReportFilters& filters, const ReportOptions& options) {
  const Frame frame = printedFrame(store, filters.selection());
  return options.style == TimetableStyle::Consolidated ? consolidatedPages(store, filters, options, frame)
                                                        : regularPages(store, filters, options, frame);
}

}  // namespace tavrel::reports
