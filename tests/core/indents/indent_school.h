// A school for the indent tests: indents are made the way the indent window makes them (a new
// passive indent, then its fields saved), so every test starts from what a person could have typed.
#pragma once

#include <optional>
#include <string>

#include "core/indents/indent_creation.h"
#include "core/store/store.h"
#include "tests/support/school_fixture.h"

namespace tavrel::indents {

// Keeps a test's writes in a transaction that is never committed: nothing waits for the disk, and
// the flushes inside the operations (which commit only an outermost transaction) stay inside it.
struct Uncommitted {
  store::Transaction outer;
  store::Transaction inner;
  explicit Uncommitted(store::Store& s) : outer(s), inner(s) {}
};

struct IndentSpec {
  int cls = 0;
  int resource = 0;
  int subject = 0;
  int count = 0;
  int clusterOf = 0;  // 2 or more: a cluster of `count` / `clusterOf` blocks
  bool onePerDay = false;
  std::string constraint = "None";  // any other text counts as a constraint with the lists below
  std::string days;
  std::string periods;
};

inline int makeIndent(testing::SchoolFixture& f, const IndentSpec& spec) {
  const bool cluster = spec.clusterOf >= 2;
  const int serial = AppndTAlloc(f.session(), {'C', spec.cls},
                                 cluster ? IndentKind::Cluster : IndentKind::Regular, {}, std::nullopt);
  store::TAlloc row = f.indent(serial);
  row.ATEACHER = spec.resource;
  row.ASUBJECT = spec.subject;
  row.ANOOFLEC = spec.count;
  row.AINCLUSOF = cluster ? spec.clusterOf : 0;
  row.ACLUSWEEK = cluster ? spec.count / spec.clusterOf : 0;
  row.ARECESS = spec.onePerDay ? "N" : "Y";
  if (spec.constraint != "None") {
    row.AQUERY = spec.constraint;
    row.ALISTDAY = spec.days;
    row.ALISTLEC = spec.periods;
  }
  RecPost(f.session(), row);
  return serial;
}

inline void setWeek(testing::SchoolFixture& f, int swrkdays) {
  store::TSchl school = *f.session().school();
  school.SWRKDAYS = swrkdays;
  f.store().table<store::TSchl>().update(school);
}

// Makes a slot of an owner not available.
inline void closeSlot(testing::SchoolFixture& f, char kind, int owner, int day, int period) {
  store::TTtbl row = f.cell(kind, owner, day, period);
  row.TSUBJECT = 0;
  (kind == 'C' ? row.TTEACHER : row.TCLASS) = 0;
  f.store().table<store::TTtbl>().update(row);
}

inline void markProxy(testing::SchoolFixture& f, int serial) {
  store::TProxy row{.PXSCHOOL = 1, .PXBYSERIALNO = serial, .PXTYPE = "T", .PXFORCODE = 1, .PXBYCODE = 1};
  f.store().table<store::TProxy>().insert(row);
}

inline std::optional<int> subjectLimit(testing::SchoolFixture& f, int cls, int subject) {
  auto row = f.store().table<store::TSOcc>().find(store::TSOcc::primary, {1, cls, subject});
  if (!row) return std::nullopt;
  return row->SOCCURENCE;
}

inline std::optional<int> resourceLimit(testing::SchoolFixture& f, int cls, int resource) {
  auto row = f.store().table<store::TTOcc>().find(store::TTOcc::primary, {1, cls, resource});
  if (!row) return std::nullopt;
  return row->TOCCURENCE;
}

inline store::TSctl subjectLink(testing::SchoolFixture& f, int subject) {
  return f.store().table<store::TSctl>().find(store::TSctl::primary, {1, subject}).value_or(store::TSctl{});
}

}  // namespace tavrel::indents
