#include "core/reports/report_filters.h"

#include "core/reports/report_catalogue.h"
#include "core/store/lookups.h"

namespace tavrel::reports {

using namespace store;

namespace {

constexpr int kFreeSlot = 999;

// The status test of class and resource lists, given the counters that play each role.
bool statusPasses(const ListChoice& choice, bool isGroup, bool passivePresent, int required, int allocated,
                  int allocatedThroughGroups, int available) {
  switch (choice.status) {
    case StatusChoice::All: return true;
    case StatusChoice::NoActiveIndent: return required == 0;
    case StatusChoice::PassivePresent: return passivePresent;
    case StatusChoice::Allocated:
    case StatusChoice::Incomplete: break;
  }
  const bool wantAllocated = choice.status == StatusChoice::Allocated;
  if (required <= 0) return false;
  if (choice.basis == BasisChoice::Indented) return (allocated >= required) == wantAllocated;
  // A group's own periods are its members' periods: measured against what is available it would
  // count them twice.
  if (isGroup) return false;
  return (allocated + allocatedThroughGroups >= available) == wantAllocated;
}

// The code of the item that owns a timetable row of the view.
int ownerOf(const TTtbl& row, char view) {
  switch (view) {
    case 'C': return row.TCLASS;
    case 'T': return row.TTEACHER;
    default: return row.TSUBJECT;
  }
}

// The row kind a view reads: subjects are read from the class rows.
std::string rowKindOf(char view) { return view == 'T' ? "T" : "C"; }

}  // namespace

ReportSelection readSelection(Store& store, int school, int code, const ListChoice& choice) {
  ReportSelection selection;
  selection.school = school;
  selection.code = code;
  selection.view = reportView(code) ? reportView(code) : 'C';
  selection.choice = choice;
  for (const TRPCode& row : store.table<TRPCode>().range(TRPCode::BYCODE)) selection.chosen.insert(row.RPTCODE);
  for (const TRPDay& row : store.table<TRPDay>().range(TRPDay::primary, {school})) {
    if (row.RPDAY >= 1 && row.RPDAY <= 9) selection.days[static_cast<std::size_t>(row.RPDAY)] = row.RPDBOOL;
  }
  for (const TRPLect& row : store.table<TRPLect>().range(TRPLect::primary, {school})) {
    if (row.RPLECT >= 1 && row.RPLECT <= 12)
      selection.periods[static_cast<std::size_t>(row.RPLECT)] = row.RPLBOOL;
  }
  return selection;
}

ReportFilters::ReportFilters(Store& store, ReportSelection selection)
    : store_(store), selection_(std::move(selection)) {}

bool ReportFilters::timetableRow(const TTtbl& row) const {
  const ReportSelection& s = selection_;
  if (row.TSCHOOL != s.school || row.TTYPE != rowKindOf(s.view)) return false;
  const bool tagged = s.dayTagged(row.TDAY) && s.periodTagged(row.TLECTNO);
  switch (reportKind(s.code).value_or(ReportKind::Timetable)) {
    case ReportKind::SchoolFreePeriods: {
      if (row.TSUBJECT != kFreeSlot || !tagged) return false;
      const std::string group = s.view == 'T' ? resourceOption(store_, row.TSCHOOL, row.TTEACHER)
                                              : classOption(store_, row.TSCHOOL, row.TCLASS);
      return group != "Y";
    }
    case ReportKind::ItemFreePeriods: return row.TSUBJECT == kFreeSlot && chosen(ownerOf(row, s.view));
    default: return tagged && chosen(ownerOf(row, s.view));
  }
}

bool ReportFilters::hasPassiveIndent(int index, int code) const {
  return store_.table<TAlloc>().count(index, {selection_.school, "N", code}) > 0;
}

bool ReportFilters::classRow(const TClas& row) const {
  if (row.CSCHOOL != selection_.school || selection_.view != 'C' || !chosen(row.CLSCODE)) return false;
  const bool passive =
      selection_.choice.status == StatusChoice::PassivePresent && hasPassiveIndent(TAlloc::ALLOCLS, row.CLSCODE);
  return statusPasses(selection_.choice, row.CLSOPTION == "Y", passive, row.CLSREQLEC, row.CLSTOTALL,
                      row.CLSMLTALL, row.CLSTOTLEC);
}

bool ReportFilters::resourceRow(const TTeac& row) const {
  if (row.TSCHOOL != selection_.school || selection_.view != 'T' || !chosen(row.TCHCODE)) return false;
  const bool passive =
      selection_.choice.status == StatusChoice::PassivePresent && hasPassiveIndent(TAlloc::ALLOTCH, row.TCHCODE);
  return statusPasses(selection_.choice, row.TCHOPTION == "Y", passive, row.TCHREQLEC, row.TALLOCLEC,
                      row.TCHMLTALL, row.TCHTOTLEC);
}

bool ReportFilters::subjectRow(const TSubj& row) const {
  if (selection_.view != 'S' || !chosen(row.SUBCODE)) return false;
  const auto link = store_.table<TSctl>().find(TSctl::primary, {selection_.school, row.SUBCODE});
  const int required = link ? link->SCTREQLEC : 0;
  const int allocated = link ? link->SCTTOTALL : 0;
  switch (selection_.choice.status) {
    case StatusChoice::All: return true;
    case StatusChoice::NoActiveIndent: return required == 0;
    case StatusChoice::PassivePresent:
      return store_.table<TAlloc>().count(TAlloc::ALLOSUBJ, {selection_.school, "N", row.SUBCODE}) > 0;
    case StatusChoice::Allocated: return required > 0 && allocated >= required;
    case StatusChoice::Incomplete: return required > 0 && allocated < required;
  }
  return false;
}

bool ReportFilters::indentRow(const TAlloc& row) const {
  if (row.ASCHOOL != selection_.school) return false;
  switch (selection_.view) {
    case 'C': return chosen(row.ACLASS);
    case 'T': return chosen(row.ATEACHER);
    default: return chosen(row.ASUBJECT);
  }
}

}  // namespace tavrel::reports
