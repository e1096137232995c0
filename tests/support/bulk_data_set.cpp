#include "tests/support/bulk_data_set.h"

#include <stdexcept>
#include <string>

namespace tavrel::testing {

using namespace store;

namespace {

constexpr int kDays = 9;
constexpr int kPeriods = 12;
constexpr int kCellsPerOwner = kDays * kPeriods;
constexpr int kFree = 999;

// A clash means the store already held records the generator did not expect; the data set would
// not have the promised shape, so stop rather than measure or test the wrong thing.
template <class Row>
void insertNew(Table<Row>& table, Row& row) {
  if (table.insert(row) != WriteStatus::Ok) {
    throw std::logic_error("bulk data set: a record of " + std::string(Row::def().component) +
                           " already exists");
  }
}

std::string numbered(const char* prefix, int code) {
  std::string digits = std::to_string(code);
  return prefix + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

TSchl newSchool(int code, const BulkShape& shape) {
  TSchl school;
  school.SNAME = "SCHOOL" + std::to_string(code);
  school.SCHOOLCODE = code;
  school.SREGN = "STANDARD";
  school.SWRKDAYS = kDays * 100 + kPeriods;
  school.STOTLEC = kCellsPerOwner;
  school.SMAXLEC = kPeriods;
  school.STOTCLS = shape.classesPerSchool;
  school.STOTTCH = shape.resourcesPerSchool;
  school.SSAVEDONE = "N";
  return school;
}

TClas newClass(int school, int code) {
  TClas row;
  row.CSCHOOL = school;
  row.CLSNAME = numbered("CLASS ", code);
  row.CLSCODE = code;
  row.CLSOPTION = "N";
  row.CLSTOTLEC = kCellsPerOwner;
  return row;
}

TTeac newResource(int school, int code) {
  TTeac row;
  row.TSCHOOL = school;
  row.TCHNAME = numbered("RESOURCE ", code);
  row.TCHCODE = code;
  row.TCHOPTION = "N";
  row.TMAXLEC = kPeriods;
  row.TMAXLECWK = kCellsPerOwner;
  row.TMAXCON = 3;
  row.TCHTOTLEC = kCellsPerOwner;
  row.TPARTTIME = "N";
  return row;
}

// The 108 rows of one owner, free everywhere because the school is available everywhere. `kind` is
// "L", "C" or "T"; the owner's code goes into its own field and into TSCHL.
void appendTimetableRows(Table<TTtbl>& cells, int school, const char* kind, int owner) {
  TTtbl cell;
  cell.TSCHOOL = school;
  cell.TTYPE = kind;
  cell.TSUBJECT = kFree;
  cell.TCLASS = kind[0] == 'C' ? owner : kFree;
  cell.TTEACHER = kind[0] == 'T' ? owner : kFree;
  cell.TSCHL = owner;
  for (int day = 1; day <= kDays; ++day) {
    for (int period = 1; period <= kPeriods; ++period) {
      cell.TDAY = day;
      cell.TLECTNO = period;
      cell.rowid = 0;
      insertNew(cells, cell);
    }
  }
}

}  // namespace

long bulkTimetableRows(const BulkShape& shape) {
  return static_cast<long>(shape.schools) * (1 + shape.classesPerSchool + shape.resourcesPerSchool) *
         kCellsPerOwner;
}

void writeBulkDataSet(Store& store, const BulkShape& shape) {
  Transaction tx(store);
  TInst institution = store.institution();
  auto& cells = store.table<TTtbl>();
  for (int n = 1; n <= shape.schools; ++n) {
    const int school = institution.ISECTION + n;
    TSchl record = newSchool(school, shape);
    insertNew(store.table<TSchl>(), record);
    appendTimetableRows(cells, school, "L", school);
    for (int code = 1; code <= shape.classesPerSchool; ++code) {
      TClas row = newClass(school, code);
      insertNew(store.table<TClas>(), row);
      appendTimetableRows(cells, school, "C", code);
    }
    for (int code = 1; code <= shape.resourcesPerSchool; ++code) {
      TTeac row = newResource(school, code);
      insertNew(store.table<TTeac>(), row);
      appendTimetableRows(cells, school, "T", code);
    }
  }
  institution.ISECTION += shape.schools;
  store.saveInstitution(institution);
  tx.commit();
}

}  // namespace tavrel::testing
