// The school of the release tests with one more indent, a block of three periods, and the session's
// lists read again so that the grid's navigation sees every item.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/grid/grid_owner.h"
#include "core/store/counter_recount.h"
#include "tests/core/store/small_school.h"

namespace tavrel::grid {

struct GridSchool : store::SmallSchool {
  int trio = 0;  // 2A with CLARK, Maths: one block of three periods, day 6 periods 4 to 6

  GridSchool() {
    store::Transaction tx(f.store());
    trio = f.addIndent({.cls = c3, .resource = r3, .subject = maths, .periods = 3, .clusterOf = 3});
    f.place(trio, 6, 4);
    tx.commit();
    refreshLists();
  }

  void refreshLists() {
    f.session().flush(store::kFlushClasses);
    f.session().flush(store::kFlushResources);
    f.session().flush(store::kFlushSubjects);
  }

  store::TTtbl row(GridOwner owner, int day, int period) {
    return f.cell(rowType(owner.kind), owner.code, day, period);
  }
};

// Every counter of the school agrees with the indents and the timetable.
inline ::testing::AssertionResult countersAddUp(store::Store& store, int school) {
  const store::RecountReport report = store::recountCounters(store, school);
  if (report.clean()) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure();
  for (const std::string& finding : report.findings()) failure << "\n  " << finding;
  return failure;
}

}  // namespace tavrel::grid
