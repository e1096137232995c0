// The fixture of the report tests: a data set holding the report school, a session on it with a
// scripted prompter, and small helpers to make the choices the report windows make.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/reports/build_report.h"
#include "core/store/session.h"
#include "tests/support/report_school.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::reports {

class ReportTest : public ::testing::Test {
 protected:
  using R = testing::ReportSchool;

  void SetUp() override {
    store = std::move(store::Store::open(store::ProgramFolders{folder.path()}, store::DataSet::Live).value());
    school = testing::writeReportSchool(*store);
    session = std::make_unique<store::Session>(*store, prompter);
    session->setSchool(school);
  }

  // The items of the report, as "&Preview" of the selection window records them.
  void choose(std::initializer_list<int> codes, const std::string& prefix = "ITEM ") {
    store->table<store::TRPCode>().removeAll();
    for (int code : codes) {
      store::TRPCode row;
      row.RPTNAME = prefix + std::to_string(code);
      row.RPTCODE = code;
      store->table<store::TRPCode>().insert(row);
    }
  }

  // Tags exactly the given days and periods to print.
  void tagOnly(std::initializer_list<int> days, std::initializer_list<int> periods) {
    for (store::TRPDay row : store->table<store::TRPDay>().range(store::TRPDay::primary, {school})) {
      row.RPDBOOL = std::find(days.begin(), days.end(), row.RPDAY) != days.end();
      store->table<store::TRPDay>().update(row);
    }
    for (store::TRPLect row : store->table<store::TRPLect>().range(store::TRPLect::primary, {school})) {
      row.RPLBOOL = std::find(periods.begin(), periods.end(), row.RPLECT) != periods.end();
      store->table<store::TRPLect>().update(row);
    }
  }

  void updateSchool(const std::function<void(store::TSchl&)>& change) {
    auto row = store->table<store::TSchl>().find(store::TSchl::SCLCODE, {school});
    change(*row);
    store->table<store::TSchl>().update(*row);
  }

  ReportDocument build(int code, ReportOptions options = {}) {
    if (options.isoDate.empty()) options.isoDate = "2025-03-07";
    return buildReport(*store, school, code, options);
  }

  testing::TempFolder folder;
  std::unique_ptr<store::Store> store;
  testing::ScriptedPrompter prompter;
  std::unique_ptr<store::Session> session;
  int school = 0;
};

// The texts of a row's cells, their lines joined by "/" (the lines of a wrapped text by a blank).
inline std::vector<std::string> texts(const TableRow& row) {
  std::vector<std::string> result;
  for (const TableCell& c : row.cells) result.push_back(c.text(c.wrapped ? " " : "/"));
  return result;
}

// The row whose first cell's first line is `first`; fails the test when there is none.
inline const TableRow& rowStartingWith(const Table& table, const std::string& first) {
  for (const TableRow& row : table.rows) {
    if (!row.cells.empty() && !row.cells.front().lines.empty() && row.cells.front().lines.front() == first) return row;
  }
  ADD_FAILURE() << "no row starts with " << first;
  static const TableRow none;
  return none;
}

inline std::string captionOf(const ReportPage& page) {
  return page.captions.empty() ? std::string() : page.captions.front().centre;
}

}  // namespace tavrel::reports
