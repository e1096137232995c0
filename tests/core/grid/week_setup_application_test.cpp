#include "core/grid/week_setup_application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/grid/availability_change.h"
#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

using setup::Direction;
using setup::WeekSetupResult;

WeekSetupResult pattern(std::array<int, 9> counts, Direction direction = Direction::TopDown) {
  return {counts, direction};
}

WeekSetupResult everyDay(int count, Direction direction = Direction::TopDown) {
  WeekSetupResult result{{}, direction};
  result.counts.fill(count);
  return result;
}

TEST(WeekSetupApplication, ThePatternTurnsFreeAndUnavailableCellsButNeverAnAllocation) {
  GridSchool s;
  const GridOwner owner{GridKind::Class,
                        s.c1};  // periods 1 (its group's) and 2 (its own) of day 1 are allocated
  ASSERT_EQ(makeNotAvailable(s.f.session(), owner, 2, 7), ChangeOutcome::Changed);

  auto day1 = everyDay(12);
  day1.counts[0] = 1;
  const WeekSetupApplied applied = applyWeekSetup(s.f.session(), owner, day1);

  EXPECT_EQ(applied.madeNotAvailable, 10);
  EXPECT_EQ(applied.madeAvailable, 1);
  EXPECT_EQ(s.row(owner, 1, 1).TSERIAL, s.groupWithTeam);
  EXPECT_EQ(s.row(owner, 1, 2).TSERIAL, s.c1WithR3);
  for (int period = 3; period <= 12; ++period) {
    EXPECT_EQ(s.row(owner, 1, period).TSUBJECT, 0) << period;
    EXPECT_EQ(s.row(owner, 1, period).TTEACHER, 0) << period;
  }
  EXPECT_EQ(s.row(owner, 2, 7).TSUBJECT, 999);
  EXPECT_EQ(availabilityTotal(s.f.store(), 1, owner), 108 - 10);
  EXPECT_TRUE(countersAddUp(s.f.store(), 1));
}

TEST(WeekSetupApplication, TheSchoolsPatternSetsItsTotalAndItsPeriodsPerDay) {
  struct Case {
    std::string name;
    WeekSetupResult pattern;
    int swrkdays;
    int total;
    std::pair<int, int> lastAvailable;
    std::pair<int, int> firstNotAvailable;
  };
  const std::vector<Case> cases = {
      {"TopDown: the largest count of a day", pattern({8, 6, 8, 8, 8, 8, 0, 0, 0}), 908, 46, {2, 6}, {2, 7}},
      {"BottomUp: always 12", everyDay(4, Direction::BottomUp), 912, 36, {1, 12}, {1, 8}},
      {"BottomUp beyond 12 fills the day", everyDay(15, Direction::BottomUp), 912, 108, {1, 1}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::SchoolFixture f;
    const GridOwner school{GridKind::School, 1};
    applyWeekSetup(f.session(), school, c.pattern);
    const store::TSchl record = *f.session().school();
    EXPECT_EQ(record.SWRKDAYS, c.swrkdays);
    EXPECT_EQ(record.STOTLEC, c.total);
    const store::TTtbl on = f.cell('L', 1, c.lastAvailable.first, c.lastAvailable.second);
    EXPECT_EQ(on.TSUBJECT, 999);
    EXPECT_EQ(on.TCLASS, 999);
    if (c.firstNotAvailable.first > 0) {
      const store::TTtbl off = f.cell('L', 1, c.firstNotAvailable.first, c.firstNotAvailable.second);
      EXPECT_EQ(off.TSUBJECT, 0);
      EXPECT_EQ(off.TCLASS, 0);
      EXPECT_EQ(off.TTEACHER, 0);
    }
  }
}

// Part time means not available somewhere the school is: decided from all the resource's cells
// after the pattern, also those the pattern found off already.
TEST(WeekSetupApplication, AResourceIsPartTimeExactlyWhenItIsOffWhereTheSchoolIsOn) {
  testing::SchoolFixture f;
  auto allButLastOfDay1 = everyDay(12);
  allButLastOfDay1.counts[0] = 11;
  auto sixOnDay1 = everyDay(12);
  sixOnDay1.counts[0] = 6;
  auto markPartTime = [&](int resource) {
    auto row = *f.store().table<store::TTeac>().find(store::TTeac::TEACCODE, {1, resource});
    row.TPARTTIME = "Y";
    f.store().table<store::TTeac>().update(row);
  };
  auto offAtDay1Period12 = [&](int resource) {
    ASSERT_EQ(makeNotAvailable(f.session(), {GridKind::Resource, resource}, 1, 12), ChangeOutcome::Changed);
  };
  auto schoolAlsoOff = [&](int resource) {
    ASSERT_EQ(makeNotAvailable(f.session(), {GridKind::School, 1}, 1, 12), ChangeOutcome::Changed);
    offAtDay1Period12(resource);
  };
  struct Case {
    std::string name;
    std::function<void(int)> before;
    WeekSetupResult pattern;
    std::string partTime;
  };
  const std::vector<Case> cases = {
      {"the pattern matches the school", markPartTime, everyDay(12), "N"},
      {"the pattern turns cells off", [](int) {}, sixOnDay1, "Y"},
      {"a cell off before stays off", offAtDay1Period12, allButLastOfDay1, "Y"},
      {"off only where the school is off too", schoolAlsoOff, allButLastOfDay1, "N"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int resource = f.addResource(c.name);
    c.before(resource);
    applyWeekSetup(f.session(), {GridKind::Resource, resource}, c.pattern);
    EXPECT_EQ(f.resourceRecord(resource).TPARTTIME, c.partTime);
  }
}

TEST(WeekSetupApplication, TheDialogOpensForTheOwnerAndOnlyOnAGridWithoutAllocation) {
  GridSchool s;
  const store::TSchl school = *s.f.session().school();
  EXPECT_EQ(weekSetupForm(school, {GridKind::School, 1}).maximum(), 12);
  store::TSchl shortDays = school;
  shortDays.SWRKDAYS = 508;
  EXPECT_EQ(weekSetupForm(shortDays, {GridKind::Class, s.c1}).maximum(), 8);
  EXPECT_FALSE(weekSetupForm(shortDays, {GridKind::Resource, s.r1}).dayEnabled(6));

  EXPECT_FALSE(weekSetupEnabled(TimetableGrid::read(s.f.store(), school, {GridKind::Class, s.c2})));
  EXPECT_TRUE(weekSetupEnabled(
      TimetableGrid::read(s.f.store(), school, {GridKind::Resource, s.f.addResource("NEW")})));
}

}  // namespace
}  // namespace tavrel::grid
