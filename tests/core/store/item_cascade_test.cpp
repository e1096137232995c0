// What goes with an item's active indents besides their cells and counters (those are covered by
// the release routes in cell_release_test): indents, limit records, member lists and proxies.
#include "core/store/item_cascade.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/store/small_school.h"

namespace tavrel::store {
namespace {

void addProxy(SmallSchool& s, int bySerial, const char* absentKind, int absent, int substitute) {
  TProxy row{.PXSCHOOL = 1,
             .PXBYSERIALNO = bySerial,
             .PXTYPE = absentKind,
             .PXFORCODE = absent,
             .PXBYCODE = substitute};
  s.f.store().table<TProxy>().insert(row);
}

bool hasIndent(SmallSchool& s, int serial) {
  return s.f.store().table<TAlloc>().find(TAlloc::primary, {1, serial}).has_value();
}
bool hasProxy(SmallSchool& s, int serial) {
  return s.f.store().table<TProxy>().find(TProxy::primary, {1, serial}).has_value();
}
bool hasResourceLimit(SmallSchool& s, int cls, int resource) {
  return s.f.store().table<TTOcc>().find(TTOcc::primary, {1, cls, resource}).has_value();
}
bool hasSubjectLimit(SmallSchool& s, int cls, int subject) {
  return s.f.store().table<TSOcc>().find(TSOcc::primary, {1, cls, subject}).has_value();
}
int memberCount(SmallSchool& s, const char* kind, int group) {
  return s.f.store().table<TOptn>().count(TOptn::primary, {1, kind, group});
}

TEST(ItemCascade, ErasingAGroupClassKeepsItsIndentsAndDropsItsMembersAndProxies) {
  SmallSchool s;
  addProxy(s, s.c3WithR1, "C", s.group, s.c3);  // made for the group while it was absent
  addProxy(s, s.c1WithR3, "C", s.c1, s.c3);     // made for another class
  s.f.session().viewKind = 'C';

  ItmDel(s.f.session(), ReleaseMode::Erase, s.group);

  for (int serial : {s.groupWithTeam, s.groupWithR3}) {
    TAlloc indent = s.f.indent(serial);
    EXPECT_EQ(indent.AACTIVE, "Y");
    EXPECT_EQ(indent.ANOLECALL, 0);
    EXPECT_TRUE(s.f.cellsHolding(serial).empty());
  }
  EXPECT_EQ(s.f.classRecord(s.c1).CLSREQMLT, 0);
  EXPECT_EQ(s.f.classRecord(s.c2).CLSREQMLT, 0);
  EXPECT_EQ(s.f.classRecord(s.group).CLSREQLEC, 4);  // the indents still ask for their periods
  EXPECT_EQ(memberCount(s, "C", s.group), 0);
  EXPECT_EQ(memberCount(s, "T", s.team), 2);
  EXPECT_FALSE(hasProxy(s, s.c3WithR1));
  EXPECT_TRUE(hasProxy(s, s.c1WithR3));
  EXPECT_TRUE(hasResourceLimit(s, s.group, s.team));
  EXPECT_TRUE(hasSubjectLimit(s, s.group, s.maths));
  EXPECT_EQ(s.f.cellsHolding(s.c1WithR3).size(), 4u);  // a member's own indent is not the group's
}

TEST(ItemCascade, DeletingRemovesTheIndentsWithTheLimitRecordsOfTheView) {
  struct Limit {
    int SmallSchool::*cls;
    int SmallSchool::*item;
  };
  struct Case {
    const char* name;
    char view;
    int SmallSchool::*item;
    std::vector<int SmallSchool::*> deleted;
    std::vector<Limit> resourceLimitsGone, resourceLimitsKept, subjectLimitsGone, subjectLimitsKept;
  };
  using S = SmallSchool;
  const Case cases[] = {
      {"class view", 'C', &S::c1, {&S::c1WithR3}, {{&S::c1, &S::r3}}, {}, {{&S::c1, &S::art}}, {}},
      {"subject view",
       'S',
       &S::art,
       {&S::c1WithR3, &S::groupWithR3, &S::c3WithTeam},
       {},
       {{&S::c1, &S::r3}, {&S::group, &S::r3}, {&S::c3, &S::team}},
       {{&S::c1, &S::art}, {&S::group, &S::art}, {&S::c3, &S::art}},
       {}},
      {"resource view",
       'T',
       &S::r3,
       {&S::c1WithR3, &S::groupWithR3},
       {{&S::c1, &S::r3}, {&S::group, &S::r3}},
       {},
       {},
       {{&S::c1, &S::art}, {&S::group, &S::art}}},
  };
  SmallSchool s;
  for (int serial : s.serials()) addProxy(s, serial, "T", s.r1, s.r2);
  Transaction outer(s.f.store());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Transaction undo(s.f.store());
    s.f.session().viewKind = c.view;

    ItmDel(s.f.session(), ReleaseMode::Delete, s.*c.item);

    for (int serial : s.serials()) {
      bool deleted = false;
      for (auto d : c.deleted) deleted = deleted || s.*d == serial;
      EXPECT_EQ(hasIndent(s, serial), !deleted) << "indent " << serial;
      EXPECT_EQ(hasProxy(s, serial), !deleted) << "proxy of indent " << serial;
    }
    for (const Limit& l : c.resourceLimitsGone) EXPECT_FALSE(hasResourceLimit(s, s.*l.cls, s.*l.item));
    for (const Limit& l : c.resourceLimitsKept) EXPECT_TRUE(hasResourceLimit(s, s.*l.cls, s.*l.item));
    for (const Limit& l : c.subjectLimitsGone) EXPECT_FALSE(hasSubjectLimit(s, s.*l.cls, s.*l.item));
    for (const Limit& l : c.subjectLimitsKept) EXPECT_TRUE(hasSubjectLimit(s, s.*l.cls, s.*l.item));
  }
}

TEST(ItemCascade, DeletingAResourceGroupDropsItsMemberListAndTheProxiesMadeForIt) {
  SmallSchool s;
  addProxy(s, s.c3WithR1, "T", s.team, s.r1);
  s.f.session().viewKind = 'T';

  ItmDel(s.f.session(), ReleaseMode::Delete, s.team);

  EXPECT_EQ(memberCount(s, "T", s.team), 0);
  EXPECT_EQ(memberCount(s, "C", s.group), 2);
  EXPECT_FALSE(hasProxy(s, s.c3WithR1));
  EXPECT_TRUE(hasIndent(s, s.c3WithR1));
}

TEST(ItemCascade, RequiredThroughGroupCountersOfTheMembers) {
  struct Case {
    GroupSide side;
    CountChange change;
    int classMembersBy;
    int resourceMembersBy;
  };
  const Case cases[] = {
      {GroupSide::Class, CountChange::Add, 5, 0},
      {GroupSide::Resource, CountChange::Subtract, 0, -5},
      {GroupSide::Both, CountChange::Add, 5, 5},
  };
  SmallSchool s;
  Transaction outer(s.f.store());
  for (const Case& c : cases) {
    Transaction undo(s.f.store());
    const int c1 = s.f.classRecord(s.c1).CLSREQMLT;
    const int r2 = s.f.resourceRecord(s.r2).TCHREQMLT;
    const int c3 = s.f.classRecord(s.c3).CLSREQMLT;

    upd_mlt_ind(s.f.session(), 5, c.change, c.side, s.group, s.team);
    upd_mlt_ind(s.f.session(), 5, c.change, c.side, s.c3, s.r3);  // not groups: nothing to do

    EXPECT_EQ(s.f.classRecord(s.c1).CLSREQMLT, c1 + c.classMembersBy);
    EXPECT_EQ(s.f.resourceRecord(s.r2).TCHREQMLT, r2 + c.resourceMembersBy);
    EXPECT_EQ(s.f.classRecord(s.c3).CLSREQMLT, c3);
  }
}

}  // namespace
}  // namespace tavrel::store
