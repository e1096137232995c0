// A fresh data set with one school for tests of the record routines. Items and indents are written
// straight into the tables, and periods are placed the way the allocation engine places them, with
// every cell and counter in step, so a test starts from data that add up.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/store/session.h"
#include "core/store/store.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::testing {

class SchoolFixture {
 public:
  struct Options {
    int swrkdays = 912;  // the school's week frame; the school is available inside it
    store::DataSet dataSet = store::DataSet::Live;
  };

  SchoolFixture() : SchoolFixture(Options{}) {}
  explicit SchoolFixture(Options options);
  // Writes the school into a data set opened elsewhere (the window tests' application) and makes
  // it current in that session; the session's own prompter shows whatever is shown.
  SchoolFixture(store::Store& store, store::Session& session, Options options);
  ~SchoolFixture();

  store::Store& store() { return *store_; }
  store::Session& session() { return *session_; }
  ScriptedPrompter& prompter() { return prompter_; }
  int school() const { return 1; }

  // The next code of the kind, with its record and its 108 rows, free where the school is
  // available. With members it is a group of them.
  int addClass(const std::string& name, const std::vector<int>& members = {});
  int addResource(const std::string& name, const std::vector<int>& members = {});
  int addSubject(const std::string& name);

  struct IndentSpec {
    int cls = 0;
    int resource = 0;
    int subject = 0;
    int periods = 0;
    int clusterOf = 0;  // below 2: regular
    bool active = true;
  };
  // A new indent. An active one is counted as activation counts it: the requirement of its class,
  // resource and subject, the required-through-group counters of their members, and the class's
  // per-day limit records for the subject and the resource.
  int addIndent(const IndentSpec& spec);

  // Places one period of the indent (a cluster's whole block from `period` on) in the class's and
  // the resource's rows and their group members' rows, counting it in the owners' totals, the
  // indent's allocated count, the subject's total and the per-day counts.
  void place(int serial, int day, int period);

  // Every timetable row of the school that holds the serial.
  std::vector<store::TTtbl> cellsHolding(int serial);

  store::TTtbl cell(char kind, int owner, int day, int period);
  store::TClas classRecord(int code);
  store::TTeac resourceRecord(int code);
  store::TAlloc indent(int serial);

 private:
  void writeSchool(const Options& options);
  void addRows(char kind, int owner);
  void placeOne(const store::TAlloc& indent, int day, int period, int position);
  std::vector<int> members(char kind, int group);

  TempFolder folder_;
  ScriptedPrompter prompter_;
  std::unique_ptr<store::Store> ownStore_;
  std::unique_ptr<store::Session> ownSession_;
  store::Store* store_ = nullptr;
  store::Session* session_ = nullptr;
};

}  // namespace tavrel::testing
