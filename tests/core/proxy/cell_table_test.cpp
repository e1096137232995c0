#include "core/proxy/cell_table.h"

#include <gtest/gtest.h>

#include "core/grid/availability_change.h"
#include "tests/core/proxy/proxy_school.h"

namespace tavrel::proxy {
namespace {

using namespace store;
using testing::ProxySchool;

// ADAMS: 1A Maths at day 1 period 1, 1B Art at day 2 period 2; not available at day 1 period 5.
class CellTableTest : public ::testing::Test {
 protected:
  CellTableTest() {
    maths = school.lesson(
        {.cls = school.x, .resource = school.adams, .subject = school.maths, .periods = 1, .priority = "Y"},
        {{1, 1}});
    art = school.lesson({.cls = school.y, .resource = school.adams, .subject = school.art, .periods = 1},
                        {{2, 2}});
    grid::makeNotAvailable(school.session(), {grid::GridKind::Resource, school.adams}, 1, 5);
  }

  ProxySchool school;
  int maths = 0, art = 0;
};

TEST_F(CellTableTest, AllocatedCellsAreToProxyWithTheirIndentAndLetter) {
  const CellTable cells = school.table(ItemKind::Resource, school.adams);
  EXPECT_EQ(cells.at(1, 1).state, CellState::ToProxy);
  EXPECT_EQ(cells.at(1, 1).serial, maths);
  EXPECT_EQ(cells.at(1, 1).priority, "Y");
  EXPECT_EQ(cells.at(1, 1).partner, school.x);
  EXPECT_EQ(cells.at(2, 2).priority, "Z");
  EXPECT_EQ(cells.at(1, 2).state, CellState::Free);
  EXPECT_EQ(cells.at(1, 2).serial, 0);
  EXPECT_EQ(cells.at(1, 5).state, CellState::NotAvailable);
  EXPECT_EQ(cells.at(9, 12).state, CellState::Free);
  EXPECT_EQ(cells.toProxy(), 2);
  EXPECT_EQ(cells.ignored(), 0);
}

struct SelectionCase {
  const char* name;
  CellSelection selection;
  CellState mathsCell;  // day 1 period 1
  CellState artCell;    // day 2 period 2
};

class CellSelectionTest : public CellTableTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(CellSelectionTest, FiltersAndTheConstraintIgnoreCells) {
  CellSelection selection = GetParam().selection;
  // The cases name the picked item by its place in the fixture.
  if (selection.picked == -1) selection.picked = school.maths;
  if (selection.picked == -2) selection.picked = school.y;
  const CellTable cells = school.table(ItemKind::Resource, school.adams, Operation::Proxy, selection);
  EXPECT_EQ(cells.at(1, 1).state, GetParam().mathsCell);
  EXPECT_EQ(cells.at(2, 2).state, GetParam().artCell);
  EXPECT_EQ(cells.ignored(),
            (GetParam().mathsCell == CellState::Ignored) + (GetParam().artCell == CellState::Ignored));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellSelectionTest,
    ::testing::Values(
        SelectionCase{"All", {}, CellState::ToProxy, CellState::ToProxy},
        SelectionCase{"Subject",
                      {.filter = PeriodFilterKind::Subject, .picked = -1},
                      CellState::ToProxy,
                      CellState::Ignored},
        SelectionCase{"Partner",
                      {.filter = PeriodFilterKind::Partner, .picked = -2},
                      CellState::Ignored,
                      CellState::ToProxy},
        SelectionCase{"ConstraintDays", {.constraintDays = ",2,3"}, CellState::Ignored, CellState::ToProxy},
        SelectionCase{"ConstraintPeriods",
                      {.constraintDays = ",1,2", .constraintPeriods = ",1"},
                      CellState::ToProxy,
                      CellState::Ignored}),
    testing::CaseName{});

TEST_F(CellTableTest, TheCheckBoxFlipsOnlyCellsWithAnIndent) {
  CellTable cells = school.table(ItemKind::Resource, school.adams);
  EXPECT_TRUE(cells.toggle(school.session(), 1, 1));
  EXPECT_EQ(cells.at(1, 1).state, CellState::Ignored);
  EXPECT_EQ(cells.ignored(), 1);
  EXPECT_TRUE(cells.toggle(school.session(), 1, 1));
  EXPECT_EQ(cells.at(1, 1).state, CellState::ToProxy);
  EXPECT_FALSE(cells.toggle(school.session(), 1, 2)) << "a free cell";
  EXPECT_FALSE(cells.toggle(school.session(), 1, 5)) << "a cell not available";
}

TEST_F(CellTableTest, LeavingThePanelWithNothingToProxyIsRefused) {
  CellTable cells = school.table(ItemKind::Resource, school.adams);
  EXPECT_TRUE(cells.confirmSelection(school.session()));
  cells.toggle(school.session(), 1, 1);
  cells.toggle(school.session(), 2, 2);
  school.prompter().expectMessage(MessageKind::Error, "No periods selected. Ensure at least one selection.");
  EXPECT_FALSE(cells.confirmSelection(school.session()));
}

TEST_F(CellTableTest, UndoShowsTheAbsentItemsWeekWithNothingToUndoBeforeAProxy) {
  const CellTable cells = school.table(ItemKind::Resource, school.adams, Operation::UndoProxy);
  EXPECT_EQ(cells.toProxy(), 0);
  EXPECT_EQ(cells.at(1, 1).state, CellState::Free);
  EXPECT_EQ(cells.at(1, 5).state, CellState::NotAvailable);
}

}  // namespace
}  // namespace tavrel::proxy
