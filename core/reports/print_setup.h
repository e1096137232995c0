// "Timetable Print Setup": the days and periods a timetable or free-period report prints, the
// period timings and day titles, the remark line and the report type. The ticks and texts are the
// school's own and stay for the next report.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/reports/report_options.h"
#include "core/store/session.h"

namespace tavrel::reports {

inline constexpr std::string_view kCannotAppend = "Cannot append.";
inline constexpr std::string_view kCannotDelete = "Cannot delete.";
inline constexpr std::string_view kTagDayAndPeriod =
    "At least one day and one period must be tagged. Click on the box to tag.";

class PrintSetup {
 public:
  // Opens the setup on the session's current school for the report `code` (2, 12, 4 or 14): the
  // ticks as they were stored, "Print Period Headings" ticked, the regular report type.
  PrintSetup(store::Session& session, int code);

  int code() const { return code_; }

  // ---- "Tag Days to print:" and "Tag Periods to print:" --------------------------------------
  const std::vector<std::string>& dayNames() const { return dayNames_; }  // days 1 to 9
  bool dayTagged(int day) const;
  void tagDay(int day, bool tagged);
  bool allDaysTagged() const;        // the "Select All" box of the days
  void selectAllDays(bool tagged);
  bool periodTagged(int period) const;
  void tagPeriod(int period, bool tagged);
  bool allPeriodsTagged() const;
  void selectAllPeriods(bool tagged);

  // ---- The timing and day-title grids ---------------------------------------------------------
  // The rows the school has; a person edits the texts but never adds or removes a row.
  std::vector<store::TRPTime> timings() const;
  std::vector<store::TRPDate> dayTitles() const;
  bool setTiming(int period, const std::string& time);   // false when the school has no such row
  bool setDayTitle(int day, const std::string& title);
  void appendRow();  // refused: "Cannot append."
  void deleteRow();  // refused: "Cannot delete."

  // ---- The remark, the headings and the report type --------------------------------------------
  std::string remark;  // `SPREMARK`, stored by "&Preview"
  bool periodHeadings = true;
  TimetableStyle style = TimetableStyle::Regular;
  bool showsReportType() const;                    // timetables only
  std::vector<std::string> reportTypeNames() const;  // regular, consolidated

  // "&Preview": creates the school's missing day-title and timing rows, stores the ticks and the
  // remark, and refuses when no day or no period is tagged. True when the report may be shown.
  bool preview();

  // The options the report is built with after a preview.
  ReportOptions options(std::string isoDate) const;

 private:
  store::Session& session_;
  int code_;
  int school_;
  std::vector<std::string> dayNames_;
  std::array<bool, 10> days_{};
  std::array<bool, 13> periods_{};
};

// Makes the rows a school's report settings must have: a print tick for every day and period, a
// title for every day, a timing for every period. Rows that exist are left as they are.
void ensureReportSettings(store::Store& store, const store::TSchl& school);

}  // namespace tavrel::reports
