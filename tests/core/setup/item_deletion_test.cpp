#include "core/setup/item_deletion.h"

#include <gtest/gtest.h>

#include "core/setup/subjects.h"
#include "tests/core/setup/school_view_school.h"

namespace tavrel::setup {
namespace {

using namespace store;
using Names = std::vector<std::string>;

int rowsOfClass(Store& store, int code) {
  return store.table<TTtbl>().count(TTtbl::TIMECLAS, {1, "C", code});
}

bool indentExists(SchoolViewSchool& s, int serial) {
  return s.f.store().table<TAlloc>().find(TAlloc::primary, {1, serial}).has_value();
}

// ---- "Delete A&ll" ---------------------------------------------------------------------------

TEST(DeleteAll, AnsweredNoDeletesNothing) {
  SchoolViewSchool s;
  ItemGrid grid = s.loaded(GridKind::Resource);
  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting All Resources. Ok?", false);
  EXPECT_FALSE(deleteAllGridItems(s.f.session(), grid));
  EXPECT_EQ(s.resourceNames(), (Names{"ADAMS", "BAKER", "TEAM", "CLARK"}));
  EXPECT_EQ(grid.items(), 4);
}

TEST(DeleteAll, WithoutAFilterDeletesGroupsAndTheirMembersAndLeavesNothingPlaced) {
  SchoolViewSchool s;
  ItemGrid grid = s.loaded(GridKind::Class);
  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting All Classes. Ok?", true);
  auto outcome = deleteAllGridItems(s.f.session(), grid);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->deleted, 4);
  EXPECT_EQ(outcome->kept, 0);
  EXPECT_TRUE(s.classNames().empty());
  EXPECT_EQ(grid.items(), 0);
  EXPECT_EQ(grid.columns(), ItemGrid::kLeastColumns);
  EXPECT_EQ(s.f.store().table<TOptn>().count(TOptn::primary, {1, "C"}), 0);
  // The members went before their group: the group's periods were still freed from their rows.
  for (int serial : {s.artOf7a, s.mathsOf7ab, s.mathsOf8a}) {
    EXPECT_FALSE(indentExists(s, serial));
    EXPECT_TRUE(s.f.cellsHolding(serial).empty()) << "serial " << serial;
  }
  for (int resource : {s.adams, s.baker, s.team, s.clark}) {
    TTeac row = s.f.resourceRecord(resource);
    EXPECT_EQ(row.TCHREQLEC + row.TCHREQMLT + row.TALLOCLEC + row.TCHMLTALL, 0) << row.TCHNAME;
  }
  // What stays: passive indents naming the items and the items' timetable rows.
  EXPECT_TRUE(indentExists(s, s.passive));
  EXPECT_EQ(rowsOfClass(s.f.store(), s.c7ab), 108);
  s.expectMemberRowsNameLiveItems();
  s.expectAuditPasses();
}

// The mended fault: a run under a status filter deletes only the items the grid shows, and
// without the membership check a shown member of a hidden group would go while the group kept a
// member row naming it (and kept placing its periods in the gone class's rows).
TEST(DeleteAll, KeepsAMemberWhoseGroupTheStatusFilterHides) {
  SchoolViewSchool s;
  s.choose('C', StatusChoice::Incomplete);  // shows 7A (of the fully allocated 7AB) and 8A
  ItemGrid grid = s.loaded(GridKind::Class);
  ASSERT_EQ(grid.items(), 2);
  s.f.prompter()
      .expectQuestion(MessageKind::Warning, "Deleting All Classes. Ok?", true)
      .expectMessage(MessageKind::Error, "Cannot delete. Class used in 7AB.");
  auto outcome = deleteAllGridItems(s.f.session(), grid);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->deleted, 1);
  EXPECT_EQ(outcome->kept, 1);
  EXPECT_EQ(s.classNames(), (Names{"7A", "7B", "7AB"}));
  EXPECT_EQ(grid.codeAt(0), s.c7a);
  EXPECT_EQ(grid.items(), 1);
  // 7A is untouched: its own indent and the group's periods are still its.
  EXPECT_TRUE(indentExists(s, s.artOf7a));
  EXPECT_EQ(s.f.classRecord(s.c7a).CLSMLTALL, 2);
  s.expectMemberRowsNameLiveItems();
  s.expectAuditPasses();
}

TEST(DeleteAll, UnderEachStatusFilterOnlyTheShownItemsGo) {
  struct Case {
    GridKind kind;
    char list;
    StatusChoice status;
    Names refusals;
    Names remaining;
  };
  const Case cases[] = {
      {GridKind::Class, 'C', StatusChoice::Allocated, {}, {"7A", "7B", "8A"}},
      {GridKind::Class, 'C', StatusChoice::Incomplete, {"Cannot delete. Class used in 7AB."}, {"7A", "7B", "7AB"}},
      {GridKind::Class, 'C', StatusChoice::NoActiveIndent, {"Cannot delete. Class used in 7AB."},
       {"7A", "7B", "7AB", "8A"}},
      {GridKind::Class, 'C', StatusChoice::PassivePresent, {}, {"7A", "7B", "7AB"}},
      {GridKind::Resource, 'T', StatusChoice::Allocated, {}, {"ADAMS", "BAKER", "TEAM"}},
      {GridKind::Resource, 'T', StatusChoice::Incomplete, {}, {"BAKER", "CLARK"}},
      {GridKind::Resource, 'T', StatusChoice::NoActiveIndent, {"Cannot delete. Resource used in TEAM."},
       {"ADAMS", "BAKER", "TEAM", "CLARK"}},
      {GridKind::Resource, 'T', StatusChoice::PassivePresent, {}, {"ADAMS", "BAKER", "TEAM"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.list) + " status " + statusCaption(c.status));
    SchoolViewSchool s;
    s.choose(c.list, c.status);
    ItemGrid grid = s.loaded(c.kind);
    const int shown = grid.items();
    s.f.prompter().expectQuestion(
        MessageKind::Warning,
        c.kind == GridKind::Class ? "Deleting All Classes. Ok?" : "Deleting All Resources. Ok?", true);
    for (const std::string& refusal : c.refusals) s.f.prompter().expectMessage(MessageKind::Error, refusal);
    auto outcome = deleteAllGridItems(s.f.session(), grid);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->deleted + outcome->kept, shown);
    EXPECT_EQ(outcome->kept, static_cast<int>(c.refusals.size()));
    EXPECT_EQ(grid.items(), outcome->kept);
    EXPECT_EQ(c.kind == GridKind::Class ? s.classNames() : s.resourceNames(), c.remaining);
    s.expectMemberRowsNameLiveItems();
    s.expectAuditPasses();
  }
}

TEST(DeleteAll, RefusedSubjectsKeepTheirCellsAndTheRunEnds) {
  SchoolViewSchool s;
  ensureSubjectLink(s.f.store(), 1, s.music);
  ItemGrid grid = s.loaded(GridKind::Subject);
  ASSERT_EQ(grid.items(), 3);
  s.f.prompter()
      .expectQuestion(MessageKind::Warning, "Deleting All Subjects. Ok?", true)
      .expectMessage(MessageKind::Error, "Cannot delete. Subject indented in SCHOOL1")
      .expectMessage(MessageKind::Error, "Cannot delete. Subject indented in SCHOOL1");
  auto outcome = deleteAllGridItems(s.f.session(), grid);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->deleted, 1);
  EXPECT_EQ(outcome->kept, 2);
  EXPECT_EQ(grid.codeAt(0), s.maths);
  EXPECT_EQ(grid.codeAt(1), s.art);
  EXPECT_FALSE(s.f.store().table<TSubj>().find(TSubj::SUBJCODE, {s.music}));
  EXPECT_FALSE(s.f.store().table<TSctl>().find(TSctl::primary, {1, s.music}));
  s.expectAuditPasses();
}

// ---- "&Delete Item" --------------------------------------------------------------------------

TEST(DeleteItem, AMemberOfAGroupIsRefusedAndNothingChanges) {
  SchoolViewSchool s;
  ItemGrid grid = s.loaded(GridKind::Class);
  const TClas before = s.f.classRecord(s.c7b);
  s.f.prompter().expectMessage(MessageKind::Error, "Cannot delete. Class used in 7AB.");
  EXPECT_FALSE(deleteGridItem(s.f.session(), grid, *grid.indexOf(s.c7b)));
  EXPECT_EQ(s.f.classRecord(s.c7b).CLSMLTALL, before.CLSMLTALL);
  EXPECT_EQ(grid.items(), 4);
  EXPECT_EQ(s.f.store().table<TOptn>().count(TOptn::primary, {1, "C", s.c7ab}), 2);
}

TEST(DeleteItem, AGroupClassGoesWithItsIndentsAndMemberListAndFreesItsMembers) {
  SchoolViewSchool s;
  ItemGrid grid = s.loaded(GridKind::Class);
  EXPECT_TRUE(deleteGridItem(s.f.session(), grid, *grid.indexOf(s.c7ab)));
  EXPECT_EQ(s.classNames(), (Names{"7A", "7B", "8A"}));
  EXPECT_EQ(grid.codeAt(2), s.c8a);  // the gap is closed
  EXPECT_EQ(grid.items(), 3);
  EXPECT_EQ(s.f.store().table<TOptn>().count(TOptn::primary, {1, "C", s.c7ab}), 0);
  EXPECT_FALSE(indentExists(s, s.mathsOf7ab));
  EXPECT_TRUE(s.f.cellsHolding(s.mathsOf7ab).empty());
  for (int member : {s.c7a, s.c7b}) {
    EXPECT_EQ(s.f.classRecord(member).CLSREQMLT, 0);
    EXPECT_EQ(s.f.classRecord(member).CLSMLTALL, 0);
  }
  EXPECT_EQ(s.f.resourceRecord(s.clark).TCHREQLEC, 0);
  EXPECT_EQ(rowsOfClass(s.f.store(), s.c7ab), 108);
  s.expectAuditPasses();
}

TEST(DeleteItem, AGroupResourceGoesWithItsActiveIndentsButItsPassiveIndentsStay) {
  SchoolViewSchool s;
  ItemGrid grid = s.loaded(GridKind::Resource);
  EXPECT_TRUE(deleteGridItem(s.f.session(), grid, *grid.indexOf(s.team)));
  EXPECT_TRUE(deleteGridItem(s.f.session(), grid, *grid.indexOf(s.clark)));
  EXPECT_EQ(s.resourceNames(), (Names{"ADAMS", "BAKER"}));
  EXPECT_FALSE(indentExists(s, s.mathsOf8a));
  EXPECT_FALSE(indentExists(s, s.mathsOf7ab));
  EXPECT_TRUE(indentExists(s, s.passive));
  EXPECT_EQ(s.f.classRecord(s.c8a).CLSREQLEC, 0);
  EXPECT_EQ(s.f.classRecord(s.c8a).CLSTOTALL, 0);
  TTeac adams = s.f.resourceRecord(s.adams);
  EXPECT_EQ(adams.TCHREQMLT, 0);
  EXPECT_EQ(adams.TCHMLTALL, 0);
  EXPECT_EQ(adams.TCHREQLEC, 2);  // its own indent is not the team's
  s.expectAuditPasses();
}

TEST(DeleteItem, ASubjectIndentedInTheSchoolIsRefusedAndAnUnusedOneGoesWithItsLinks) {
  SchoolViewSchool s;
  ensureSubjectLink(s.f.store(), 1, s.music);
  ItemGrid grid = s.loaded(GridKind::Subject);
  s.f.prompter().expectMessage(MessageKind::Error, "Cannot delete. Subject indented in SCHOOL1");
  EXPECT_FALSE(deleteGridItem(s.f.session(), grid, *grid.indexOf(s.maths)));
  EXPECT_TRUE(deleteGridItem(s.f.session(), grid, *grid.indexOf(s.music)));
  EXPECT_EQ(grid.items(), 2);
  EXPECT_FALSE(s.f.store().table<TSubj>().find(TSubj::SUBJCODE, {s.music}));
  EXPECT_EQ(s.f.store().table<TSctl>().count(TSctl::SUBSCHOOL, {s.music}), 0);
  s.expectAuditPasses();
}

TEST(DeleteItem, AnEmptyCellDeletesNothing) {
  SchoolViewSchool s;
  ItemGrid grid = s.loaded(GridKind::Class);
  EXPECT_FALSE(deleteGridItem(s.f.session(), grid, grid.items()));
  EXPECT_EQ(s.classNames().size(), 4u);
}

}  // namespace
}  // namespace tavrel::setup
