#include "core/reports/print_setup.h"

#include "core/reports/report_catalogue.h"
#include "core/reports/timetable_report.h"
#include "core/store/day_words.h"

namespace tavrel::reports {

using namespace store;

namespace {

constexpr int kDays = 9;
constexpr int kPeriods = 12;

template <std::size_t N>
bool all(const std::array<bool, N>& ticks, int count) {
  for (int i = 1; i <= count; ++i) {
    if (!ticks[static_cast<std::size_t>(i)]) return false;
  }
  return true;
}

template <std::size_t N>
bool any(const std::array<bool, N>& ticks, int count) {
  for (int i = 1; i <= count; ++i) {
    if (ticks[static_cast<std::size_t>(i)]) return true;
  }
  return false;
}

}  // namespace

void ensureReportSettings(Store& store, const TSchl& school) {
  const int code = school.SCHOOLCODE;
  for (int day = 1; day <= kDays; ++day) {
    if (!store.table<TRPDay>().find(TRPDay::primary, {code, day})) {
      TRPDay row;
      row.RPDSCHL = code;
      row.RPDAY = day;
      row.RPDBOOL = true;
      store.table<TRPDay>().insert(row);
    }
    if (!store.table<TRPDate>().find(TRPDate::primary, {code, day})) {
      TRPDate row;
      row.RPDSCHL = code;
      row.RPDNO = day;
      row.RPDDAY = DayWords(day, school);
      store.table<TRPDate>().insert(row);
    }
  }
  for (int period = 1; period <= kPeriods; ++period) {
    if (!store.table<TRPLect>().find(TRPLect::primary, {code, period})) {
      TRPLect row;
      row.RPLSCHL = code;
      row.RPLECT = period;
      row.RPLBOOL = true;
      store.table<TRPLect>().insert(row);
    }
    if (!store.table<TRPTime>().find(TRPTime::primary, {code, period})) {
      TRPTime row;
      row.RPTMSCHL = code;
      row.RPTMLECT = period;
      store.table<TRPTime>().insert(row);
    }
  }
}

PrintSetup::PrintSetup(Session& session, int code) : session_(session), code_(code), school_(session.schoolCode()) {
  Store& store = session_.store();
  const auto school = session_.school();
  dayNames_ = school ? Fill_DayList(school->SWRKDAYS, school->SREGN) : Fill_DayList(912, "STANDARD");
  for (const TRPDay& row : store.table<TRPDay>().range(TRPDay::primary, {school_})) {
    if (row.RPDAY >= 1 && row.RPDAY <= kDays) days_[static_cast<std::size_t>(row.RPDAY)] = row.RPDBOOL;
  }
  for (const TRPLect& row : store.table<TRPLect>().range(TRPLect::primary, {school_})) {
    if (row.RPLECT >= 1 && row.RPLECT <= kPeriods) periods_[static_cast<std::size_t>(row.RPLECT)] = row.RPLBOOL;
  }
  if (school) remark = school->SPREMARK;
}

bool PrintSetup::dayTagged(int day) const { return day >= 1 && day <= kDays && days_[static_cast<std::size_t>(day)]; }

void PrintSetup::tagDay(int day, bool tagged) {
  if (day >= 1 && day <= kDays) days_[static_cast<std::size_t>(day)] = tagged;
}

bool PrintSetup::allDaysTagged() const { return all(days_, kDays); }

void PrintSetup::selectAllDays(bool tagged) {
  for (int day = 1; day <= kDays; ++day) tagDay(day, tagged);
}

bool PrintSetup::periodTagged(int period) const {
  return period >= 1 && period <= kPeriods && periods_[static_cast<std::size_t>(period)];
}

void PrintSetup::tagPeriod(int period, bool tagged) {
  if (period >= 1 && period <= kPeriods) periods_[static_cast<std::size_t>(period)] = tagged;
}

bool PrintSetup::allPeriodsTagged() const { return all(periods_, kPeriods); }

void PrintSetup::selectAllPeriods(bool tagged) {
  for (int period = 1; period <= kPeriods; ++period) tagPeriod(period, tagged);
}

std::vector<TRPTime> PrintSetup::timings() const {
  return session_.store().table<TRPTime>().range(TRPTime::primary, {school_});
}

std::vector<TRPDate> PrintSetup::dayTitles() const {
  return session_.store().table<TRPDate>().range(TRPDate::primary, {school_});
}

bool PrintSetup::setTiming(int period, const std::string& time) {
  Store& store = session_.store();
  auto row = store.table<TRPTime>().find(TRPTime::primary, {school_, period});
  if (!row) return false;
  Transaction tx(store);
  row->RPTMTIME = time;
  store.table<TRPTime>().update(*row);
  tx.commit();
  return true;
}

bool PrintSetup::setDayTitle(int day, const std::string& title) {
  Store& store = session_.store();
  auto row = store.table<TRPDate>().find(TRPDate::primary, {school_, day});
  if (!row) return false;
  Transaction tx(store);
  row->RPDDAY = title;
  store.table<TRPDate>().update(*row);
  tx.commit();
  return true;
}

void PrintSetup::appendRow() { session_.prompter().info(kCannotAppend); }

void PrintSetup::deleteRow() { session_.prompter().info(kCannotDelete); }

bool PrintSetup::showsReportType() const { return reportKind(code_) == ReportKind::Timetable; }

std::vector<std::string> PrintSetup::reportTypeNames() const {
  const char view = reportView(code_);
  return {reportTypeName(TimetableStyle::Regular, view), reportTypeName(TimetableStyle::Consolidated, view)};
}

bool PrintSetup::preview() {
  Store& store = session_.store();
  auto school = session_.school();
  if (!school) return false;
  {
    Transaction tx(store);
    ensureReportSettings(store, *school);
    for (TRPDay row : store.table<TRPDay>().range(TRPDay::primary, {school_})) {
      row.RPDBOOL = dayTagged(row.RPDAY);
      store.table<TRPDay>().update(row);
    }
    for (TRPLect row : store.table<TRPLect>().range(TRPLect::primary, {school_})) {
      row.RPLBOOL = periodTagged(row.RPLECT);
      store.table<TRPLect>().update(row);
    }
    school->SPREMARK = remark;
    store.table<TSchl>().update(*school);
    tx.commit();
  }
  session_.flush(kFlushSchools);
  if (!any(days_, kDays) || !any(periods_, kPeriods)) {
    session_.prompter().error(kTagDayAndPeriod);
    return false;
  }
  return true;
}

ReportOptions PrintSetup::options(std::string isoDate) const {
  ReportOptions result;
  result.isoDate = std::move(isoDate);
  result.periodHeadings = periodHeadings;
  result.style = showsReportType() ? style : TimetableStyle::Regular;
  return result;
}

}  // namespace tavrel::reports
