#include "core/grid/cell_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/grid/availability_change.h"
#include "core/grid/label_selection.h"
#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

// 2A: Maths with ADAMS on day 2 period 1 and day 5 period 5, Art with LAB TEAM on day 3 periods 1
// and 2, Maths with CLARK on day 6 periods 4 to 6.
class CellSearchTest : public ::testing::Test {
 protected:
  TimetableGrid grid() {
    return TimetableGrid::read(s.f.store(), *s.f.session().school(), {GridKind::Class, s.c3});
  }
  GridSchool s;
};

TEST(CellSearch, FoundTextHasFourLeadingBlanks) {
  EXPECT_EQ(foundText(0), "    0 Found");
  EXPECT_EQ(foundText(108), "    108 Found");
}

TEST_F(CellSearchTest, EachShowCommandLightsTheMatchingCells) {
  const TimetableGrid g = grid();
  struct Case {
    std::string name;
    Highlight highlight;
    std::vector<std::pair<int, int>> lit;
    int count;
  };
  const std::vector<Case> cases = {
      {"selected subject",
       showSelected(g, {2, 1, LabelLine::Upper}),
       {{2, 1}, {5, 5}, {6, 4}, {6, 5}, {6, 6}},
       5},
      {"selected partner", showSelected(g, {5, 5, LabelLine::Lower}), {{2, 1}, {5, 5}}, 2},
      {"subject from the list", showSubject(g, s.art), {{3, 1}, {3, 2}}, 2},
      {"resource from the list", showPartner(g, s.r3), {{6, 4}, {6, 5}, {6, 6}}, 3},
      {"an indent", showSerial(g, s.c3WithTeam), {{3, 1}, {3, 2}}, 2},
      {"not available", showNotAvailable(g), {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.highlight.count, c.count);
    for (const auto& [day, period] : c.lit) EXPECT_TRUE(c.highlight.lit(day, period)) << day << "," << period;
    int lit = 0;
    for (bool on : c.highlight.cells) lit += on ? 1 : 0;
    EXPECT_EQ(lit, c.count);
  }
  EXPECT_EQ(showFree(g).count, 108 - 7);
  EXPECT_EQ(showSelected(g, {9, 9, LabelLine::Lower}).count, 108 - 7);  // an "Available" label
  EXPECT_EQ(showSelected(g, {2, 1, LabelLine::Upper}).line, LabelLine::Upper);
  EXPECT_FALSE(showFree(g).line.has_value());
}

TEST_F(CellSearchTest, NotAvailableCellsCountOnlyInsideTheWeek) {
  ASSERT_EQ(makeNotAvailable(s.f.session(), {GridKind::Class, s.c3}, 9, 9), ChangeOutcome::Changed);
  EXPECT_EQ(showNotAvailable(grid()).count, 1);
  EXPECT_EQ(showSelected(grid(), {9, 9, LabelLine::Upper}).count, 1);

  testing::SchoolFixture shortWeek({.swrkdays = 508});
  const int cls = shortWeek.addClass("1A");
  const TimetableGrid g =
      TimetableGrid::read(shortWeek.store(), *shortWeek.session().school(), {GridKind::Class, cls});
  EXPECT_EQ(showNotAvailable(g).count, 0);  // the 68 cells outside the week do not count
  EXPECT_EQ(showFree(g).count, 40);
  EXPECT_EQ(showSelected(g, {7, 1, LabelLine::Upper}).count, 0);
}

// Show Selected goes by what the label stands for: a subject called "Available" lights its own
// periods, not the free cells.
TEST_F(CellSearchTest, ASubjectNamedLikeAFreeCellLightsOnlyItsPeriods) {
  const int odd = s.f.addSubject("Available");
  const int serial = s.f.addIndent({.cls = s.c3, .resource = s.r3, .subject = odd, .periods = 1});
  s.f.place(serial, 8, 8);
  const TimetableGrid g = grid();
  ASSERT_EQ(g.at(8, 8).upper, "Available");
  EXPECT_EQ(showSelected(g, {8, 8, LabelLine::Upper}).count, 1);
  EXPECT_EQ(showSelected(g, {9, 9, LabelLine::Upper}).count, 108 - 8);
}

TEST_F(CellSearchTest, DropListsHoldEachItemOfTheGridOnceInNameOrder) {
  const TimetableGrid g = grid();
  EXPECT_EQ(subjectsInGrid(g), (std::vector<ListedItem>{{s.art, "Art"}, {s.maths, "Maths"}}));
  EXPECT_EQ(partnersInGrid(g),
            (std::vector<ListedItem>{{s.r1, "ADAMS"}, {s.r3, "CLARK"}, {s.team, "LAB TEAM"}}));
  const TimetableGrid school =
      TimetableGrid::read(s.f.store(), *s.f.session().school(), {GridKind::School, 1});
  EXPECT_TRUE(partnersInGrid(school).empty());
  EXPECT_TRUE(subjectsInGrid(school).empty());
  EXPECT_EQ(showPartnerCaption(GridKind::Class), "Show Resource");
  EXPECT_EQ(showPartnerCaption(GridKind::Resource), "Show Class");
}

TEST_F(CellSearchTest, ALabelNamesTheItemItsCommandsActOn) {
  const TimetableGrid classGrid = grid();
  const TimetableGrid resourceGrid =
      TimetableGrid::read(s.f.store(), *s.f.session().school(), {GridKind::Resource, s.r3});
  struct Case {
    std::string name;
    const TimetableGrid* grid;
    LabelPosition label;
    NamedKind kind;
    int code;
    std::string edit;
    std::string statistics;
    ContextMenu menu;
  };
  const std::vector<Case> cases = {
      {"subject",
       &classGrid,
       {2, 1, LabelLine::Upper},
       NamedKind::Subject,
       s.maths,
       "&Edit Maths",
       "Maths &Statistics",
       {"&Edit Maths", "Show &Periods Maths", "&Statistics Maths", true}},
      {"resource partner",
       &classGrid,
       {2, 1, LabelLine::Lower},
       NamedKind::Resource,
       s.r1,
       "&Edit ADAMS",
       "ADAMS &Statistics",
       {"&Edit ADAMS", "Show &Periods ADAMS", "&Statistics ADAMS", true}},
      {"class partner",
       &resourceGrid,
       {1, 2, LabelLine::Lower},
       NamedKind::Class,
       s.c1,
       "&Edit 1A",
       "1A &Statistics",
       {"&Edit 1A", "Show &Periods 1A", "&Statistics 1A", true}},
      {"free cell",
       &classGrid,
       {9, 9, LabelLine::Upper},
       NamedKind::None,
       0,
       "E&dit Main",
       "S&tatistics Main",
       {"&Edit Available", "Show &Periods Available", "&Statistics Available", false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NamedItem item = namedItem(*c.grid, c.label);
    EXPECT_EQ(item.kind, c.kind);
    EXPECT_EQ(item.code, c.code);
    EXPECT_EQ(editCaption(item), c.edit);
    EXPECT_EQ(statisticsCaption(item), c.statistics);
    const ContextMenu menu = contextMenu(*c.grid, c.label);
    EXPECT_EQ(menu.edit, c.menu.edit);
    EXPECT_EQ(menu.showPeriods, c.menu.showPeriods);
    EXPECT_EQ(menu.statistics, c.menu.statistics);
    EXPECT_EQ(menu.enabled, c.menu.enabled);
  }
}

TEST(LabelSelection, SelectedCellNumbersRunUpperLabelsFirst) {
  struct Case {
    LabelPosition label;
    int number;
  };
  const std::vector<Case> cases = {
      {{1, 1, LabelLine::Upper}, 1},   {{2, 3, LabelLine::Upper}, 15},   {{9, 12, LabelLine::Upper}, 108},
      {{1, 1, LabelLine::Lower}, 109}, {{9, 12, LabelLine::Lower}, 216},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(selectedCellNumber(c.label), c.number);
    EXPECT_EQ(labelAt(c.number), c.label);
  }
  EXPECT_FALSE(labelAt(0).has_value());
  EXPECT_FALSE(labelAt(217).has_value());
}

}  // namespace
}  // namespace tavrel::grid
