#include "core/grid/timetable_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

TimetableGrid readGrid(testing::SchoolFixture& f, GridOwner owner) {
  return TimetableGrid::read(f.store(), *f.session().school(), owner);
}

TEST(TimetableGrid, LiveCellsFollowTheWeekShape) {
  struct Case {
    int swrkdays;
    GridKind kind;
    int day;
    int period;
    bool live;
  };
  const std::vector<Case> cases = {
      {508, GridKind::Class, 5, 8, true},
      {508, GridKind::Class, 6, 1, false},
      {508, GridKind::Resource, 1, 9, false},
      {508, GridKind::School, 9, 12, true},
      {912, GridKind::Class, 9, 12, true},
      {911, GridKind::Class, 9, 11, true},
      {911, GridKind::Class, 9, 12, false},
      {913, GridKind::Class, 1, 12, false},  // 12 only in a 12-period week
      {0, GridKind::Class, 1, 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(weekShape(c.swrkdays, c.kind).live(c.day, c.period), c.live)
        << c.swrkdays << " day " << c.day << " period " << c.period;
  }
}

TEST(TimetableGrid, LabelsNameTheSubjectOverThePartner) {
  GridSchool s;
  struct Case {
    std::string name;
    GridOwner owner;
    int day;
    int period;
    CellState state;
    std::string upper;
    std::string lower;
  };
  const std::vector<Case> cases = {
      {"a member class's group period",
       {GridKind::Class, s.c1},
       1,
       1,
       CellState::Allocated,
       "Maths",
       "LAB TEAM"},
      {"a class's own period", {GridKind::Class, s.c1}, 1, 2, CellState::Allocated, "Art", "CLARK"},
      {"a resource's period", {GridKind::Resource, s.r3}, 1, 2, CellState::Allocated, "Art", "1A"},
      {"a member resource's group period",
       {GridKind::Resource, s.r1},
       3,
       2,
       CellState::Allocated,
       "Art",
       "2A"},
      {"a free cell", {GridKind::Class, s.c1}, 9, 12, CellState::Free, "Available", "Available"},
      {"the school", {GridKind::School, 1}, 1, 1, CellState::Free, "Available", "Available"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GridCell cell = readGrid(s.f, c.owner).at(c.day, c.period);
    EXPECT_EQ(cell.state, c.state);
    EXPECT_EQ(cell.upper, c.upper);
    EXPECT_EQ(cell.lower, c.lower);
  }
  const GridCell block = readGrid(s.f, {GridKind::Class, s.c3}).at(6, 5);
  EXPECT_EQ(block.serial, s.trio);
  EXPECT_EQ(block.partner, s.r3);
  EXPECT_EQ(block.clusterTotal, 3);
  EXPECT_EQ(block.clusterPosition, 2);
}

TEST(TimetableGrid, CellsOutsideTheWeekAndWithoutRowsCarryNoLabels) {
  testing::SchoolFixture f({.swrkdays = 508});
  const int cls = f.addClass("1A");
  f.store().table<store::TTtbl>().remove(f.cell('C', cls, 2, 2));
  const TimetableGrid grid = readGrid(f, {GridKind::Class, cls});
  EXPECT_EQ(grid.at(1, 1).upper, "Available");
  EXPECT_EQ(grid.at(1, 9).state, CellState::NotAvailable);
  EXPECT_EQ(grid.at(1, 9).upper, "");
  EXPECT_EQ(grid.at(2, 2).state, CellState::Missing);
  EXPECT_EQ(grid.at(2, 2).lower, "");
  EXPECT_FALSE(grid.holdsAllocation());
  const TimetableGrid school = readGrid(f, {GridKind::School, 1});
  EXPECT_EQ(school.at(1, 9).upper, "N.A.");  // the school's grid shows its whole 9 × 12 frame
}

TEST(TimetableGrid, AnyAllocatedRowCountsAsAllocation) {
  GridSchool s;
  EXPECT_TRUE(readGrid(s.f, {GridKind::Class, s.c2}).holdsAllocation());  // through its group only
  EXPECT_FALSE(readGrid(s.f, {GridKind::School, 1}).holdsAllocation());
}

}  // namespace
}  // namespace tavrel::grid
