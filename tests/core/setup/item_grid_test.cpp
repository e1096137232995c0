#include "core/setup/item_grid.h"

#include <gtest/gtest.h>

#include "core/setup/item_deletion.h"
#include "tests/core/setup/school_view_school.h"

namespace tavrel::setup {
namespace {

using namespace store;

std::vector<int> codes(const ItemGrid& grid) {
  std::vector<int> shown;
  for (int index = 0; grid.codeAt(index); ++index) shown.push_back(*grid.codeAt(index));
  return shown;
}

TEST(ItemGrid, ThirtyFourClassesTakeThirteenColumnsAndDeletingOneLeavesTwelve) {
  testing::SchoolFixture f;
  Transaction outer(f.store()), inner(f.store());
  for (int n = 1; n <= 34; ++n) f.addClass("C" + std::to_string(n));
  ItemGrid grid(GridKind::Class);
  grid.load(f.session());
  EXPECT_EQ(grid.items(), 34);
  EXPECT_EQ(grid.columns(), 13);
  EXPECT_EQ(grid.codeAt(33), 34);  // column 11, row 0
  EXPECT_TRUE(grid.cell(34).empty());
  ASSERT_TRUE(deleteGridItem(f.session(), grid, 5));
  EXPECT_EQ(grid.items(), 33);
  EXPECT_EQ(grid.columns(), 12);
  EXPECT_EQ(grid.codeAt(5), 7);
}

TEST(ItemGrid, PassivePresentShowsOnlyClassesWithAPassiveIndentAndKeepsTheFilterBoxShown) {
  SchoolViewSchool s;
  s.choose('C', StatusChoice::PassivePresent);
  ItemGrid grid = s.loaded(GridKind::Class);
  EXPECT_EQ(codes(grid), std::vector<int>{s.c8a});
  EXPECT_TRUE(grid.filterShown());
  EXPECT_EQ(grid.filterText(s.f.session()), "Passive Present");
}

TEST(ItemGrid, TheFilterTextNamesTheBasisOfAMeasuredStatus) {
  SchoolViewSchool s;
  s.choose('T', StatusChoice::Incomplete);
  s.f.session().set_gb_f(2, 'T', static_cast<int>(BasisChoice::Available));
  EXPECT_EQ(s.loaded(GridKind::Resource).filterText(s.f.session()), "Incomplete w.r.t. Available");
  EXPECT_EQ(s.loaded(GridKind::Class).filterText(s.f.session()), "All");
}

TEST(ItemGrid, WithEveryFilterAtAllAndNothingIndentedNoFilterBoxIsShown) {
  testing::SchoolFixture f;
  Transaction outer(f.store()), inner(f.store());
  const int cls = f.addClass("7A");
  const int resource = f.addResource("ADAMS");
  const int subject = f.addSubject("ART");
  for (GridKind kind : {GridKind::Class, GridKind::Resource, GridKind::Subject}) {
    ItemGrid grid(kind);
    grid.load(f.session());
    EXPECT_EQ(grid.items(), 1);
    EXPECT_FALSE(grid.filterShown());
  }
  f.addIndent({.cls = cls, .resource = resource, .subject = subject, .periods = 1, .active = false});
  for (GridKind kind : {GridKind::Class, GridKind::Resource, GridKind::Subject}) {
    ItemGrid grid(kind);
    grid.load(f.session());
    EXPECT_TRUE(grid.filterShown());
  }
}

TEST(ItemGrid, TheSubjectGridFollowsTheSubjectStatusChoice) {
  SchoolViewSchool s;
  EXPECT_EQ(codes(s.loaded(GridKind::Subject)), (std::vector<int>{s.maths, s.art, s.music}));
  s.choose('S', StatusChoice::Incomplete);  // MATHS 5 / 4, ART 2 / 1
  EXPECT_EQ(codes(s.loaded(GridKind::Subject)), (std::vector<int>{s.maths, s.art}));
  s.choose('S', StatusChoice::PassivePresent);
  EXPECT_EQ(codes(s.loaded(GridKind::Subject)), std::vector<int>{s.art});
  s.choose('S', StatusChoice::NoActiveIndent);  // MUSIC has no link at all
  EXPECT_EQ(codes(s.loaded(GridKind::Subject)), std::vector<int>{s.music});
}

TEST(ItemGrid, CellStatesFollowTheGroupFlagAndPartTime) {
  SchoolViewSchool s;
  TTeac adams = s.f.resourceRecord(s.adams);
  adams.TPARTTIME = "Y";
  s.f.store().table<TTeac>().update(adams);
  TTeac team = s.f.resourceRecord(s.team);
  team.TPARTTIME = "Y";
  s.f.store().table<TTeac>().update(team);
  ItemGrid grid = s.loaded(GridKind::Resource);
  EXPECT_EQ(grid.cell(0).state, kPartTimeResource);
  EXPECT_EQ(grid.cell(1).state, kSimpleItem);
  EXPECT_EQ(grid.cell(2).state, kGroupItem);  // a group is drawn as one, part time or not

  grid.markEditing(1);
  EXPECT_EQ(grid.cell(1).state, kSimpleItem + kEditingMark);
  grid.redrawResource(1, false, true);  // "Part Time" ticked while editing
  EXPECT_EQ(grid.cell(1).state, kPartTimeResource + kEditingMark);
  grid.unmark(1);
  EXPECT_EQ(grid.cell(1).state, kPartTimeResource);

  ItemGrid classes = s.loaded(GridKind::Class);
  EXPECT_EQ(classes.cell(2).state, kGroupItem);
  EXPECT_EQ(classes.place(99, kSimpleItem), 4);
}

}  // namespace
}  // namespace tavrel::setup
