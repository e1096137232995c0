#include "tests/support/report_school.h"

#include <map>
#include <stdexcept>

#include "core/reports/print_setup.h"

namespace tavrel::testing {

using namespace store;

namespace {

constexpr int kFree = 999;
constexpr int kDaysInWeek = 5;
constexpr int kPeriodsPerDay = 8;

template <class Row>
void insertNew(Table<Row>& table, Row row) {
  if (table.insert(row) != WriteStatus::Ok)
    throw std::logic_error("report school: a record of " + std::string(Row::def().component) + " already exists");
}

// The 108 rows of an owner: free inside the school's week, not available outside it.
void addTimetableRows(Store& store, int school, const char* kind, int owner) {
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      const bool inWeek = day <= kDaysInWeek && period <= kPeriodsPerDay;
      TTtbl cell;
      cell.TSCHOOL = school;
      cell.TTYPE = kind;
      cell.TSUBJECT = inWeek ? kFree : 0;
      const int partner = inWeek ? kFree : 0;
      cell.TCLASS = kind[0] == 'C' ? owner : partner;
      cell.TTEACHER = kind[0] == 'T' ? owner : partner;
      cell.TSCHL = owner;
      cell.TDAY = day;
      cell.TLECTNO = period;
      insertNew(store.table<TTtbl>(), cell);
    }
  }
}

struct IndentSpec {
  int serial, classCode, resource, subject, periods, clusterOf, clustersPerWeek;
  const char* priority;
  const char* active;
  const char* constraint;
  std::vector<std::pair<int, int>> placed;  // (day, period)
};

}  // namespace

void allocate(Store& store, int school, int classCode, int resourceCode, int subject, int serial, int day, int period) {
  auto& cells = store.table<TTtbl>();
  auto classCell = cells.find(TTtbl::TIMECLAS, {school, "C", classCode, day, period});
  auto resourceCell = cells.find(TTtbl::TIMETEAC, {school, "T", resourceCode, day, period});
  if (!classCell || !resourceCell) throw std::logic_error("report school: no timetable row to allocate");
  classCell->TSUBJECT = subject;
  classCell->TTEACHER = resourceCode;
  classCell->TSERIAL = serial;
  resourceCell->TSUBJECT = subject;
  resourceCell->TCLASS = classCode;
  resourceCell->TSERIAL = serial;
  cells.update(*classCell);
  cells.update(*resourceCell);
}

int writeReportSchool(Store& store) {
  using R = ReportSchool;
  const int s = R::kSchool;
  Transaction tx(store);
  TInst inst = store.institution();
  inst.INSTITUTION = R::kInstitution;
  inst.ISECTION = s;
  inst.ISUBJECT = R::kArt;
  store.saveInstitution(inst);

  TSchl school;
  school.SNAME = R::kSchoolName;
  school.SCHOOLCODE = s;
  school.SREGN = "STANDARD";
  school.SWRKDAYS = kDaysInWeek * 100 + kPeriodsPerDay;
  school.SREMARK = R::kRemark;
  school.SPREMARK = R::kPrintRemark;
  school.STOTLEC = kDaysInWeek * kPeriodsPerDay;
  school.SMAXLEC = kPeriodsPerDay;
  school.SRECESS = ",2,5";
  school.STOTCLS = R::kHonours;
  school.STOTTCH = R::kLab;
  school.SALLSERIAL = 6;
  school.SSAVEDONE = "N";
  insertNew(store.table<TSchl>(), school);
  reports::ensureReportSettings(store, school);
  static const char* kTimes[] = {"08:30-09:10", "09:10-09:50", "10:10-10:50", "10:50-11:30",
                                 "11:30-12:10", "13:00-13:40", "13:40-14:20", "14:20-15:00"};
  for (int period = 1; period <= kPeriodsPerDay; ++period) {
    auto time = store.table<TRPTime>().find(TRPTime::primary, {s, period});
    time->RPTMTIME = kTimes[period - 1];
    store.table<TRPTime>().update(*time);
  }

  const std::map<int, std::pair<const char*, const char*>> classes = {
      {R::k7A, {"7A", "N"}}, {R::k7B, {"7B", "N"}}, {R::kScienceGroup, {"SCIENCE GROUP", "Y"}},
      {R::kHonours, {"EIGHTH GRADE HONOURS", "N"}}};
  for (const auto& [code, spec] : classes) {
    TClas row;
    row.CSCHOOL = s;
    row.CLSCODE = code;
    row.CLSNAME = spec.first;
    row.CLSOPTION = spec.second;
    row.CLSTOTLEC = school.STOTLEC;
    insertNew(store.table<TClas>(), row);
    addTimetableRows(store, s, "C", code);
  }
  for (int member : {R::k7A, R::k7B}) insertNew(store.table<TOptn>(), TOptn{0, s, "C", R::kScienceGroup, member});

  const std::map<int, const char*> resources = {
      {R::kOsei, "MS OSEI"}, {R::kLindqvist, "MR LINDQVIST-BARRINGTON"}, {R::kLab, "LAB 1"}};
  for (const auto& [code, name] : resources) {
    TTeac row;
    row.TSCHOOL = s;
    row.TCHCODE = code;
    row.TCHNAME = name;
    row.TCHOPTION = "N";
    row.TMAXLEC = kPeriodsPerDay;
    row.TMAXLECWK = 30 + code;
    row.TMAXCON = 3;
    row.TCHTOTLEC = school.STOTLEC;
    row.TPARTTIME = "N";
    insertNew(store.table<TTeac>(), row);
    addTimetableRows(store, s, "T", code);
  }
  addTimetableRows(store, s, "L", s);

  const std::map<int, const char*> subjects = {{R::kMaths, "MATHEMATICS"},
                                               {R::kEnglish, "ENGLISH"},
                                               {R::kPhysics, "PHYSICS(*1)"},
                                               {R::kHistory, "HISTORY & <CIVICS>"},
                                               {R::kArt, "ART"}};
  for (const auto& [code, name] : subjects) {
    insertNew(store.table<TSubj>(), TSubj{0, name, code});
    if (code != R::kArt) insertNew(store.table<TSctl>(), TSctl{0, s, code, 0, 0, ""});
  }

  // 7B is not available in the last period of the week.
  auto lastSlot = store.table<TTtbl>().find(TTtbl::TIMECLAS, {s, "C", R::k7B, kDaysInWeek, kPeriodsPerDay});
  lastSlot->TSUBJECT = 0;
  lastSlot->TTEACHER = 0;
  store.table<TTtbl>().update(*lastSlot);

  const std::vector<IndentSpec> indents = {
      {1, R::k7A, R::kOsei, R::kMaths, 5, 0, 0, "Z", "Y", "None", {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {2, R::k7A, R::kLindqvist, R::kEnglish, 2, 0, 0, "Z", "Y", "None", {{1, 2}, {2, 3}}},
      {3, R::k7A, R::kLab, R::kPhysics, 2, 2, 1, "S", "Y", R::kPhysicsConstraint, {{1, 3}, {1, 4}}},
      {4, R::k7B, R::kOsei, R::kHistory, 3, 0, 0, "Z", "Y", "None", {{1, 2}, {3, 6}}},
      {5, R::kHonours, R::kLindqvist, R::kMaths, 1, 0, 0, "Z", "Y", "None", {{5, 8}}},
      {6, R::k7B, R::kLab, R::kPhysics, 2, 0, 0, "Z", "N", "None", {}},
  };
  std::map<int, TClas> classRows;
  for (const TClas& row : store.table<TClas>().range(TClas::CLASCODE, {s})) classRows[row.CLSCODE] = row;
  std::map<int, TTeac> resourceRows;
  for (const TTeac& row : store.table<TTeac>().range(TTeac::TEACCODE, {s})) resourceRows[row.TCHCODE] = row;
  std::map<int, TSctl> links;
  for (const TSctl& row : store.table<TSctl>().range(TSctl::primary, {s})) links[row.SCTCODE] = row;
  for (const IndentSpec& spec : indents) {
    TAlloc indent;
    indent.ASCHOOL = s;
    indent.ASERIALNO = spec.serial;
    indent.ACLASS = spec.classCode;
    indent.ATEACHER = spec.resource;
    indent.ASUBJECT = spec.subject;
    indent.AQUERY = spec.constraint;
    indent.ANOOFLEC = spec.periods;
    indent.AINCLUSOF = spec.clusterOf;
    indent.ACLUSWEEK = spec.clustersPerWeek;
    indent.APRIORITY = spec.priority;
    indent.AACTIVE = spec.active;
    indent.ANOLECALL = static_cast<int>(spec.placed.size());
    indent.ARECESS = "Y";
    insertNew(store.table<TAlloc>(), indent);
    for (auto [day, period] : spec.placed) allocate(store, s, spec.classCode, spec.resource, spec.subject, spec.serial, day, period);
    if (indent.AACTIVE != "Y") continue;
    classRows[spec.classCode].CLSREQLEC += spec.periods;
    classRows[spec.classCode].CLSTOTALL += indent.ANOLECALL;
    resourceRows[spec.resource].TCHREQLEC += spec.periods;
    resourceRows[spec.resource].TALLOCLEC += indent.ANOLECALL;
    links[spec.subject].SCTREQLEC += spec.periods;
    links[spec.subject].SCTTOTALL += indent.ANOLECALL;
  }
  for (auto& [code, row] : classRows) store.table<TClas>().update(row);
  for (auto& [code, row] : resourceRows) store.table<TTeac>().update(row);
  for (auto& [code, row] : links) store.table<TSctl>().update(row);
  tx.commit();
  return s;
}

}  // namespace tavrel::testing
