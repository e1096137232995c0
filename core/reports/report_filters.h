// Which records a report prints. The selection window, the print setup and the report catalogue
// leave their choices in the report tables (`TRPCode`, `TRPDay`, `TRPLect`) and in the list
// choice; a `ReportSelection` reads them once and the filters below judge each record by them.
#pragma once

#include <array>
#include <set>

#include "core/store/session.h"
#include "core/store/store.h"

namespace tavrel::reports {

struct ReportSelection {
  int school = 0;
  int code = 0;
  char view = 'C';        // "C", "T" or "S", from the code
  std::set<int> chosen;   // the codes in `TRPCode`
  std::array<bool, 10> days{};     // [1..9]: `RPDBOOL`
  std::array<bool, 13> periods{};  // [1..12]: `RPLBOOL`
  store::ListChoice choice;        // the list filter of the selection window

  bool dayTagged(int day) const { return day >= 1 && day <= 9 && days[static_cast<std::size_t>(day)]; }
  bool periodTagged(int period) const {
    return period >= 1 && period <= 12 && periods[static_cast<std::size_t>(period)];
  }
};

// The selection of a report of the school as the report tables hold it now.
ReportSelection readSelection(store::Store& store, int school, int code, const store::ListChoice& choice = {});

class ReportFilters {
 public:
  ReportFilters(store::Store& store, ReportSelection selection);

  const ReportSelection& selection() const { return selection_; }

  // `TTtblFilterRecord`: the timetable rows of chosen items on tagged days and periods (2, 12);
  // the free slots of the school on tagged days and periods, groups left out (4, 14); the free
  // slots of chosen items, tags aside (5, 15).
  bool timetableRow(const store::TTtbl& row) const;

  // `TClsFilterRecord`, `TTchFilterRecord`, `TSubFilterRecord`: chosen items of the view that
  // meet the list choice.
  bool classRow(const store::TClas& row) const;
  bool resourceRow(const store::TTeac& row) const;
  bool subjectRow(const store::TSubj& row) const;

  // `TAlloFilterRecord`: indents of the school whose class, resource or subject (by view) is
  // chosen.
  bool indentRow(const store::TAlloc& row) const;

 private:
  bool chosen(int code) const { return selection_.chosen.contains(code); }
  bool hasPassiveIndent(int index, int code) const;

  store::Store& store_;
  ReportSelection selection_;
};

}  // namespace tavrel::reports
