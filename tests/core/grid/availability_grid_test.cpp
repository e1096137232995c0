// The window's model end to end: what the window shows after each command it passes on.
#include "core/grid/availability_grid.h"

#include <gtest/gtest.h>

#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

class AvailabilityGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session().viewKind = 'C';
    ASSERT_TRUE(selectOwner(session(), {GridKind::Class, s.group}));
  }
  store::Session& session() { return s.f.session(); }
  GridSchool s;
};

TEST_F(AvailabilityGridTest, OpeningOnAnIndentShowsWhereItWasPlacedUntilTheNextCommand) {
  session().pendingWindow = 'E';
  AvailabilityGrid grid(session(), {.highlightSerial = s.groupWithTeam});
  EXPECT_EQ(session().pendingWindow, 'N');
  EXPECT_EQ(grid.owner(), (GridOwner{GridKind::Class, s.group}));
  EXPECT_EQ(grid.caption(), "SCHOOL1 - Class Availability/Timetable (All)");
  EXPECT_EQ(grid.foundText(), "    3 Found");
  EXPECT_TRUE(grid.highlight()->lit(2, 3));
  EXPECT_EQ(grid.HighlightSerial(), s.groupWithTeam);
  EXPECT_EQ(grid.SelectedCell(), 0);

  grid.select({2, 3, LabelLine::Lower});
  EXPECT_EQ(grid.foundText(), "");
  EXPECT_EQ(grid.SelectedText(), "LAB TEAM");
  EXPECT_EQ(grid.SelectedCell(), 108 + 15);
  EXPECT_EQ(grid.SelectedDay(), 2);
  EXPECT_EQ(grid.SelectedPeriod(), 3);
  EXPECT_EQ(grid.selectedItem().code, s.team);
  EXPECT_EQ(grid.showSelected(), 3);
  EXPECT_EQ(grid.foundText(), "    3 Found");
  grid.ok();
  EXPECT_FALSE(grid.highlight().has_value());
  EXPECT_EQ(grid.showFree(), 108 - 4);
  EXPECT_EQ(grid.showSubject(s.art), 1);
  EXPECT_EQ(grid.showPartner(s.r3), 1);
  EXPECT_EQ(grid.showNotAvailable(), 0);
}

TEST_F(AvailabilityGridTest, AMembersCellMadeNotAvailableAndAvailableAgainThroughTheWindow) {
  ASSERT_TRUE(selectOwner(session(), {GridKind::Class, s.c1}));
  AvailabilityGrid grid(session());
  grid.select({2, 3, LabelLine::Upper});
  ASSERT_EQ(grid.SelectedText(), "Maths");
  s.f.prompter().expectQuestion(MessageKind::Warning, std::string(kEraseForNotAvailable), true);

  EXPECT_EQ(grid.makeNotAvailable(), ChangeOutcome::Changed);
  EXPECT_EQ(grid.grid().at(2, 3).state, CellState::NotAvailable);
  EXPECT_EQ(grid.SelectedText(), "N.A.");
  EXPECT_EQ(grid.makeAvailable(), ChangeOutcome::Changed);
  EXPECT_EQ(grid.SelectedText(), "Available");
  EXPECT_EQ(s.f.classRecord(s.c1).CLSTOTLEC, 108);
  EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 2);
  EXPECT_EQ(s.f.cell('C', s.group, 2, 3).TSUBJECT, 999);
  EXPECT_TRUE(countersAddUp(s.f.store(), 1));
}

TEST_F(AvailabilityGridTest, WeekSetupRunsOnlyOnAGridWithoutAllocation) {
  AvailabilityGrid grid(session());
  EXPECT_FALSE(grid.weekSetupEnabled());
  grid.applyWeekSetup({{}, setup::Direction::TopDown});
  EXPECT_EQ(grid.grid().at(9, 9).state, CellState::Free);

  const int fresh = s.f.addClass("3A");
  s.refreshLists();
  ASSERT_TRUE(grid.listSelect(fresh));
  ASSERT_TRUE(grid.weekSetupEnabled());
  EXPECT_EQ(grid.weekSetupForm().maximum(), 12);
  setup::WeekSetupResult sixADay{{}, setup::Direction::TopDown};
  sixADay.counts.fill(6);
  grid.applyWeekSetup(sixADay);
  EXPECT_EQ(grid.grid().at(1, 6).state, CellState::Free);
  EXPECT_EQ(grid.grid().at(1, 7).state, CellState::NotAvailable);
  EXPECT_EQ(s.f.classRecord(fresh).CLSTOTLEC, 54);
}

TEST_F(AvailabilityGridTest, MovingToAnotherOwnerStartsWithoutSelectionOrHighlight) {
  AvailabilityGrid grid(session());
  grid.select({1, 1, LabelLine::Lower});
  grid.showSelected();
  grid.step(store::Step::Next);  // 1A+1B, then 1B
  EXPECT_EQ(grid.owner(), (GridOwner{GridKind::Class, s.c2}));
  EXPECT_FALSE(grid.selected().has_value());
  EXPECT_FALSE(grid.highlight().has_value());

  EXPECT_FALSE(grid.listSelect(999));
  EXPECT_EQ(grid.owner().code, s.c2);

  ASSERT_TRUE(grid.toggle());
  EXPECT_EQ(grid.owner().kind, GridKind::Resource);
  EXPECT_EQ(grid.caption(), "SCHOOL1 - Resource Availability/Timetable (All)");
  ASSERT_TRUE(grid.listSelect(s.r3));
  grid.select({6, 4, LabelLine::Lower});
  EXPECT_TRUE(grid.requestView(ViewRequest::Class));
  EXPECT_EQ(session().pendingWindow, 'V');
  EXPECT_EQ(session().classes().current()->CLSCODE, s.c3);
}

TEST(AvailabilityGrid, WithoutAnOwnerEveryCommandDoesNothing) {
  testing::SchoolFixture f;
  f.session().viewKind = 'C';
  AvailabilityGrid grid(f.session());
  EXPECT_FALSE(grid.hasOwner());
  grid.select({1, 1, LabelLine::Upper});
  EXPECT_EQ(grid.makeNotAvailable(), ChangeOutcome::Unchanged);
  EXPECT_EQ(grid.showFree(), 0);
  EXPECT_FALSE(grid.weekSetupEnabled());
  EXPECT_FALSE(grid.toggle());
  EXPECT_FALSE(grid.requestView(ViewRequest::Institution));
  EXPECT_EQ(grid.caption(), "SCHOOL1 - Class Availability/Timetable (All)");
}

}  // namespace
}  // namespace tavrel::grid
