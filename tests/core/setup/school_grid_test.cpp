#include "core/setup/school_grid.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tavrel::setup {
namespace {

using namespace store;

class SchoolGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store = std::move(Store::open(ProgramFolders{folder.path()}, DataSet::Live).value());
    // Codes in another order than names, so that name order shows.
    for (auto [code, name] : {std::pair{1, "WEST"}, {2, "EAST"}, {3, "NORTH"}}) {
      TSchl school;
      school.SCHOOLCODE = code;
      school.SNAME = name;
      ASSERT_EQ(store->table<TSchl>().insert(school), WriteStatus::Ok);
    }
    grid.load(*store);
  }

  std::vector<int> codes() const {
    std::vector<int> shown;
    for (int row = 0; row < SchoolGrid::kSlots; ++row) shown.push_back(grid.schoolAt(row).value_or(0));
    return shown;
  }

  testing::TempFolder folder;
  std::unique_ptr<Store> store;
  SchoolGrid grid;
};

TEST_F(SchoolGridTest, LoadingFillsTheSlotsInNameOrder) {
  EXPECT_EQ(codes(), (std::vector<int>{2, 3, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(grid.slot(0).state, SlotState::School);
  EXPECT_EQ(grid.slot(3).state, SlotState::Empty);
  EXPECT_EQ(grid.firstEmpty(), 3);
  EXPECT_EQ(grid.rowOf(1), 2);
  EXPECT_FALSE(grid.rowOf(7).has_value());
  EXPECT_TRUE(grid.listSelectEnabled());
}

TEST_F(SchoolGridTest, OnlyASchoolSlotIsMarkedAsBeingEdited) {
  grid.markEditing(1);
  grid.markEditing(5);
  EXPECT_EQ(grid.slot(1).state, SlotState::Editing);
  EXPECT_EQ(grid.slot(5).state, SlotState::Empty);
  EXPECT_EQ(grid.schoolAt(1), 3);  // the slot still shows its school while edited
  grid.unmark(1);
  EXPECT_EQ(grid.slot(1).state, SlotState::School);
}

TEST_F(SchoolGridTest, ANewSchoolTakesTheFirstEmptySlotAndDeletingClosesTheGap) {
  grid.place(*grid.firstEmpty(), 4);
  EXPECT_EQ(codes(), (std::vector<int>{2, 3, 1, 4, 0, 0, 0, 0, 0}));
  grid.closeGap(1);
  EXPECT_EQ(codes(), (std::vector<int>{2, 1, 4, 0, 0, 0, 0, 0, 0}));
  grid.closeGap(0);
  grid.closeGap(0);
  EXPECT_EQ(grid.schools(), 1);
  EXPECT_FALSE(grid.listSelectEnabled());
}

TEST_F(SchoolGridTest, NineSchoolsFillEverySlot) {
  for (int code = 4; code <= 9; ++code) grid.place(*grid.firstEmpty(), code);
  EXPECT_EQ(grid.schools(), SchoolGrid::kSlots);
  EXPECT_FALSE(grid.firstEmpty().has_value());
  grid.closeGap(8);
  EXPECT_EQ(grid.firstEmpty(), 8);
}

}  // namespace
}  // namespace tavrel::setup
