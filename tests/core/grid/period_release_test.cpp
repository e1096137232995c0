#include "core/grid/period_release.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

TEST(PeriodRelease, TheBlockOfACellRunsOverItsClusterOnThatDay) {
  GridSchool s;
  // 2A's two-period block on day 3 claims a third period, which holds another lesson of 2A.
  const int next = s.f.addIndent({.cls = s.c3, .resource = s.r3, .subject = s.art, .periods = 1});
  s.f.place(next, 3, 3);
  store::TTtbl stale = s.f.cell('C', s.c3, 3, 2);
  stale.TCLUSTOT = 3;
  s.f.store().table<store::TTtbl>().update(stale);

  struct Case {
    std::string name;
    GridOwner owner;
    int day;
    int period;
    std::vector<int> block;
  };
  const std::vector<Case> cases = {
      {"a single period", {GridKind::Class, s.c3}, 2, 1, {1}},
      {"the first of three", {GridKind::Class, s.c3}, 6, 4, {4, 5, 6}},
      {"the last of three, from the resource", {GridKind::Resource, s.r3}, 6, 6, {4, 5, 6}},
      {"a member's cell of a block", {GridKind::Resource, s.r2}, 3, 1, {1, 2}},
      {"cluster fields that reach into the next lesson", {GridKind::Class, s.c3}, 3, 2, {1, 2}},
      {"a free cell", {GridKind::Class, s.c3}, 9, 9, {}},
      {"the school", {GridKind::School, 1}, 1, 1, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(allocationBlock(s.f.store(), 1, c.owner, c.day, c.period), c.block) << c.name;
  }
}

TEST(PeriodRelease, OnePeriodGoesFromEveryRowAndCounterButTheOwnersAvailabilityStays) {
  GridSchool s;
  EXPECT_TRUE(releasePeriod(s.f.session(), {GridKind::Class, s.c2}, 2, 3));  // a member of the group
  EXPECT_FALSE(releasePeriod(s.f.session(), {GridKind::Class, s.c2}, 2, 3));
  EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 2);
  for (const store::TTtbl& held : s.f.cellsHolding(s.groupWithTeam)) EXPECT_NE(held.TDAY, 2);
  EXPECT_EQ(s.f.cell('C', s.c2, 2, 3).TSUBJECT, 999);
  EXPECT_EQ(s.f.classRecord(s.c2).CLSTOTLEC, 108);
  EXPECT_TRUE(countersAddUp(s.f.store(), 1));
}

}  // namespace
}  // namespace tavrel::grid
