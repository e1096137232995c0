#include "core/store/counter_recount.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/store/small_school.h"

namespace tavrel::store {
namespace {

TEST(CounterRecount, ReportsEveryCounterThatDriftedAndEveryStrayCell) {
  SmallSchool s;
  Store& store = s.f.store();
  ASSERT_TRUE(recountCounters(store, 1).clean());
  Transaction tx(store);
  TClas member = s.f.classRecord(s.c2);
  member.CLSMLTALL += 2;
  store.table<TClas>().update(member);
  TTeac team = s.f.resourceRecord(s.team);
  team.TCHREQLEC = 0;
  store.table<TTeac>().update(team);
  store.table<TSDAll>().removeRange(TSDAll::primary, {1, s.c3, s.maths, 5});
  store.table<TTDMAll>().removeRange(TTDMAll::primary, {1, s.r2, 3});
  TTtbl stray = s.f.cell('C', s.c3, 9, 1);
  stray.TSUBJECT = s.art;
  stray.TTEACHER = s.r3;
  stray.TSERIAL = 99;
  store.table<TTtbl>().update(stray);
  TTtbl notItsGroups = s.f.cell('T', s.r3, 9, 2);
  notItsGroups.TSUBJECT = s.maths;
  notItsGroups.TCLASS = s.group;
  notItsGroups.TSERIAL = s.groupWithTeam;
  store.table<TTtbl>().update(notItsGroups);
  tx.commit();

  RecountReport report = recountCounters(store, 1);

  const std::vector<std::string> expected = {
      "class 1B (2): CLSMLTALL is 6, counted 4.",
      "resource LAB TEAM (3): TCHREQLEC is 0, counted 5.",
      "class 2A (4), subject Maths (1), day 5: SDALLOC has no record, counted 1.",
      "resource BAKER (2), day 3: TDAALLOC has no record, counted 3.",
      "The cell of class 2A (4) on day 9, period 1 is allocated to serial 99, which is no indent of the "
      "school.",
      "The cell of resource CLARK (4) on day 9, period 2 is allocated to an indent of resource LAB TEAM (3), "
      "not of "
      "a group it is in.",
  };
  std::vector<std::string> findings = report.findings();
  for (const std::string& line : expected) {
    EXPECT_NE(std::find(findings.begin(), findings.end(), line), findings.end()) << line;
  }
  EXPECT_EQ(findings.size(), expected.size());
}

}  // namespace
}  // namespace tavrel::store
