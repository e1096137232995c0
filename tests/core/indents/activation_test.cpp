// Activation and deactivation with everything they record, deletion, and undoing allocations.
#include "core/indents/activation.h"

#include <gtest/gtest.h>

#include "core/indents/allocation_undo.h"
#include "core/indents/deactivation.h"
#include "core/store/counter_recount.h"
#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

// A group class and a group resource, their members, and a plain class and resource.
struct Groups {
  SchoolFixture f;
  Uncommitted scratch{f.store()};
  int c1 = f.addClass("1A");
  int c2 = f.addClass("1B");
  int group = f.addClass("1A+1B", {c1, c2});
  int r1 = f.addResource("ADAMS");
  int r2 = f.addResource("BAKER");
  int team = f.addResource("TEAM", {r1, r2});
  int maths = f.addSubject("Maths");

  int indent(int count, int clusterOf = 0) {
    return makeIndent(
        f, {.cls = group, .resource = team, .subject = maths, .count = count, .clusterOf = clusterOf});
  }
  bool activate(int serial) { return MakeActv(f.session(), serial, Interaction::Interactive).activated; }
  void expectCountersAddUp() {
    const auto report = store::recountCounters(f.store(), 1);
    EXPECT_TRUE(report.clean()) << ::testing::PrintToString(report.findings());
  }
};

TEST(Activation, RecordsTheDemandAndRaisesTheLimitsUntilDeactivationGivesThemBack) {
  Groups g;
  store::TTeac team = g.f.resourceRecord(g.team);
  team.TMAXCON = 2;
  g.f.store().table<store::TTeac>().update(team);

  const int regular = g.indent(4);
  ASSERT_TRUE(g.activate(regular));
  EXPECT_EQ(g.f.indent(regular).AACTIVE, "Y");
  EXPECT_EQ(subjectLimit(g.f, g.group, g.maths), 1);  // 4 periods over 9 days
  EXPECT_EQ(resourceLimit(g.f, g.group, g.team), 1);
  EXPECT_EQ(g.f.classRecord(g.group).CLSREQLEC, 4);
  for (int member : {g.c1, g.c2}) EXPECT_EQ(g.f.classRecord(member).CLSREQMLT, 4);
  EXPECT_EQ(g.f.resourceRecord(g.team).TCHREQLEC, 4);
  for (int member : {g.r1, g.r2}) EXPECT_EQ(g.f.resourceRecord(member).TCHREQMLT, 4);
  EXPECT_EQ(subjectLink(g.f, g.maths).SCTREQLEC, 4);
  g.expectCountersAddUp();

  // A cluster of 3 needs 3 a day of the subject and the resource, and 3 in a row of the resource.
  const int cluster = g.indent(6, 3);
  ASSERT_TRUE(g.activate(cluster));
  EXPECT_EQ(subjectLimit(g.f, g.group, g.maths), 3);
  EXPECT_EQ(resourceLimit(g.f, g.group, g.team), 3);
  EXPECT_EQ(g.f.resourceRecord(g.team).TMAXCON, 3);
  EXPECT_EQ(g.f.resourceRecord(g.team).TMAXLEC, 12);
  EXPECT_EQ(g.f.classRecord(g.group).CLSREQLEC, 10);
  g.expectCountersAddUp();

  g.f.place(cluster, 2, 1);
  g.f.place(regular, 3, 4);
  ASSERT_TRUE(MakePsv(g.f.session(), cluster, Interaction::Interactive));
  EXPECT_EQ(g.f.indent(cluster).AACTIVE, "N");
  EXPECT_EQ(g.f.indent(cluster).ANOLECALL, 0);
  EXPECT_TRUE(g.f.cellsHolding(cluster).empty());
  EXPECT_EQ(subjectLimit(g.f, g.group, g.maths), 1);  // what the regular indent alone needs
  EXPECT_EQ(resourceLimit(g.f, g.group, g.team), 1);
  g.expectCountersAddUp();

  ASSERT_TRUE(MakePsv(g.f.session(), regular, Interaction::Interactive));
  EXPECT_EQ(subjectLimit(g.f, g.group, g.maths), 0);
  EXPECT_EQ(g.f.classRecord(g.group).CLSREQLEC, 0);
  for (int member : {g.c1, g.c2}) EXPECT_EQ(g.f.classRecord(member).CLSREQMLT, 0);
  EXPECT_EQ(subjectLink(g.f, g.maths).SCTREQLEC, 0);
  g.expectCountersAddUp();
  EXPECT_FALSE(MakePsv(g.f.session(), regular, Interaction::Interactive));  // already passive
}

TEST(Activation, TheSubjectLimitSpreadsThePeriodsOverTheSchoolsOwnDays) {
  struct Case {
    int swrkdays;
    int count;
    int limit;
  };
  const Case cases[] = {{912, 6, 1}, {506, 6, 2}, {506, 11, 3}, {306, 4, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.swrkdays * 100 + c.count);
    SchoolFixture f({.swrkdays = c.swrkdays});
    Uncommitted scratch(f.store());
    const int cls = f.addClass("1A");
    const int resource = f.addResource("ADAMS");
    const int subject = f.addSubject("Maths");
    const int serial =
        makeIndent(f, {.cls = cls, .resource = resource, .subject = subject, .count = c.count});
    ASSERT_TRUE(MakeActv(f.session(), serial, Interaction::Interactive).activated);
    EXPECT_EQ(subjectLimit(f, cls, subject), c.limit);
    EXPECT_EQ(resourceLimit(f, cls, resource), c.limit);
  }
}

TEST(Activation, ActivateAllIsSilentAndCountsTheFailures) {
  Groups g;
  std::vector<int> passive;
  for (int i = 0; i < 10; ++i) passive.push_back(g.indent(i == 3 || i == 7 ? 0 : 1));
  g.f.prompter().expectMessage(
      MessageKind::Information,
      "2 indent(s) failed validation. Not activated. Attempt activating individually to know "
      "the problem.");
  EXPECT_EQ(ActivateAll(g.f.session(), passive), (std::vector<int>{passive[3], passive[7]}));
  EXPECT_EQ(g.f.classRecord(g.group).CLSREQLEC, 8);
  EXPECT_TRUE(ActivateAll(g.f.session(), {passive[0]}).empty());  // already active: nothing to say
  g.expectCountersAddUp();
}

TEST(Activation, DeletingPassiveAndActiveIndents) {
  Groups g;
  const int a = g.indent(2);
  const int b = g.indent(2);
  const int c = g.indent(3);
  ASSERT_TRUE(g.activate(c));
  g.f.place(c, 1, 1);

  g.f.prompter().expectQuestion(MessageKind::Warning, "Deleting All Passive Indents. Ok?", false);
  EXPECT_FALSE(DeleteAllPassive(g.f.session(), {a, b}));
  EXPECT_TRUE(findIndent(g.f.session(), a));
  g.f.prompter().expectQuestion(MessageKind::Warning, "Deleting All Passive Indents. Ok?", true);
  EXPECT_TRUE(DeleteAllPassive(g.f.session(), {a, b}));
  EXPECT_FALSE(findIndent(g.f.session(), a));
  EXPECT_FALSE(findIndent(g.f.session(), b));

  g.f.prompter().expectQuestion(MessageKind::Warning, "Deleting All Active Indents. Ok?", true);
  EXPECT_TRUE(DeleteAllActive(g.f.session(), {c}));
  EXPECT_FALSE(findIndent(g.f.session(), c));
  EXPECT_TRUE(g.f.cellsHolding(c).empty());
  EXPECT_EQ(g.f.classRecord(g.c1).CLSMLTALL, 0);
  EXPECT_EQ(g.f.classRecord(g.c1).CLSREQMLT, 0);
  g.expectCountersAddUp();
}

TEST(Activation, UndoAllocationFreesThePeriodsAndEndsTheProxy) {
  Groups g;
  const int plain = g.indent(3);
  const int proxy = g.indent(2);
  for (int serial : {plain, proxy}) ASSERT_TRUE(g.activate(serial));
  g.f.place(plain, 1, 1);
  g.f.place(plain, 2, 1);
  g.f.place(proxy, 3, 1);
  markProxy(g.f, proxy);

  g.f.prompter().expectMessage(MessageKind::Information, "Allocation undone.");
  EXPECT_EQ(UndoAllocation(g.f.session(), plain, Interaction::Interactive), UndoOutcome::Undone);
  EXPECT_EQ(g.f.indent(plain).ANOLECALL, 0);
  EXPECT_EQ(g.f.indent(plain).AACTIVE, "Y");
  EXPECT_TRUE(g.f.cellsHolding(plain).empty());
  EXPECT_EQ(UndoAllocation(g.f.session(), plain, Interaction::Interactive), UndoOutcome::NothingPlaced);
  g.expectCountersAddUp();

  const char* question =
      "This is a proxy indent.Undoing Allocation will cancel the proxy status.Select Yes to undo.";
  g.f.prompter().expectQuestion(MessageKind::Information, question, false);
  EXPECT_EQ(UndoAllocation(g.f.session(), proxy, Interaction::Interactive), UndoOutcome::Declined);
  EXPECT_EQ(g.f.indent(proxy).ANOLECALL, 1);
  EXPECT_TRUE(isProxyIndent(g.f.store(), 1, proxy));

  const char* all =
      "Proxy indent(s) are present in the Active Grid. Undoing their allocation will cancel their proxy "
      "status.Select "
      "Yes to undo all.";
  g.f.prompter().expectQuestion(MessageKind::Information, all, false);
  EXPECT_FALSE(UndoAllocationAll(g.f.session(), {plain, proxy}));
  EXPECT_EQ(g.f.indent(proxy).ANOLECALL, 1);
  g.f.prompter().expectQuestion(MessageKind::Information, all, true);
  g.f.prompter().expectMessage(MessageKind::Information, "Allocation undone.");
  EXPECT_TRUE(UndoAllocationAll(g.f.session(), {plain, proxy}));
  EXPECT_EQ(g.f.prompter().beeps, 1);
  EXPECT_EQ(g.f.indent(proxy).ANOLECALL, 0);
  EXPECT_FALSE(isProxyIndent(g.f.store(), 1, proxy));
  g.expectCountersAddUp();
}

TEST(Activation, MakingAProxyIndentPassiveAsksFirst) {
  Groups g;
  const int proxy = g.indent(2);
  const int other = g.indent(1);
  for (int serial : {proxy, other}) ASSERT_TRUE(g.activate(serial));
  markProxy(g.f, proxy);

  g.f.prompter().expectQuestion(
      MessageKind::Information,
      "This is a proxy indent.Making it passive will cancel the proxy status.Select Yes to "
      "make the indent passive.",
      false);
  EXPECT_FALSE(MakePsv(g.f.session(), proxy, Interaction::Interactive));
  EXPECT_EQ(g.f.indent(proxy).AACTIVE, "Y");

  const char* all =
      "Proxy indent(s) are present in the Active Grid. Making them passive will cancel their proxy "
      "status.Select Yes "
      "to make them passive.";
  g.f.prompter().expectQuestion(MessageKind::Information, all, false);
  EXPECT_FALSE(PassiveAll(g.f.session(), {proxy, other}));
  EXPECT_EQ(g.f.indent(other).AACTIVE, "Y");
  g.f.prompter().expectQuestion(MessageKind::Information, all, true);
  EXPECT_TRUE(PassiveAll(g.f.session(), {proxy, other}));
  for (int serial : {proxy, other}) EXPECT_EQ(g.f.indent(serial).AACTIVE, "N");
  EXPECT_FALSE(isProxyIndent(g.f.store(), 1, proxy));
  g.expectCountersAddUp();
}

}  // namespace
}  // namespace tavrel::indents
