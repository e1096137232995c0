#include "core/proxy/proxy_run.h"

#include <gtest/gtest.h>

#include "core/grid/availability_change.h"
#include "core/grid/period_release.h"
#include "core/proxy/proxy_items.h"
#include "core/proxy/proxy_records.h"
#include "tests/core/proxy/proxy_school.h"

namespace tavrel::proxy {
namespace {

using namespace store;
using testing::ProxySchool;

class ProxyRunTest : public ::testing::Test {
 protected:
  ProxySchool school;

  // ADAMS teaches 1A Maths at day 1 period 1 and day 2 period 3.
  int adamsMaths() {
    return school.lesson({.cls = school.x, .resource = school.adams, .subject = school.maths, .periods = 2},
                         {{1, 1}, {2, 3}});
  }
  // The resource's own lesson with 1B at (day, period): it is busy there.
  void busy(int resource, int day, int period) {
    school.lesson({.cls = school.y, .resource = resource, .subject = school.art, .periods = 1},
                  {{day, period}});
  }
  ProxyOutcome proxyAdams(const std::vector<int>& substitutes, ProxyOptions options = {}) {
    return school.run(school.table(ItemKind::Resource, school.adams), substitutes, options);
  }
};

// ---- A simple proxy ---------------------------------------------------------------------------------

struct KindCase {
  const char* name;
  ItemKind kind;
};

class SimpleProxy : public ProxyRunTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(SimpleProxy, MovesEveryPeriodToTheFreeSubstituteAndDeletesTheEmptiedIndent) {
  const ItemKind kind = GetParam().kind;
  const int serial = adamsMaths();
  const int absent = kind == ItemKind::Resource ? school.adams : school.x;
  const int substitute = kind == ItemKind::Resource ? school.baker : school.y;
  const int serialsBefore = school.lastSerial();

  const ProxyOutcome outcome = school.run(school.table(kind, absent), {substitute});

  EXPECT_EQ(outcome.total, 2);
  EXPECT_EQ(outcome.done, 2);
  EXPECT_EQ(outcome.failedRestoration, 0);
  EXPECT_FALSE(school.indentExists(serial)) << "the emptied indent goes";
  // One copy took both periods; the next copy was never used and gave its serial back.
  EXPECT_EQ(school.lastSerial(), serialsBefore + 1);
  const TAlloc copy = school.s.f.indent(serialsBefore + 1);
  EXPECT_EQ(indentItem(copy, kind), substitute);
  EXPECT_EQ(copy.ANOOFLEC, 2);
  EXPECT_EQ(copy.ANOLECALL, 2);
  EXPECT_EQ(copy.AACTIVE, "Y");
  for (auto [day, period] : {std::pair{1, 1}, std::pair{2, 3}}) {
    EXPECT_EQ(school.classCell(kind == ItemKind::Resource ? school.x : school.y, day, period).TSERIAL,
              copy.ASERIALNO);
    EXPECT_EQ(
        school.resourceCell(kind == ItemKind::Resource ? school.baker : school.adams, day, period).TSERIAL,
        copy.ASERIALNO);
  }
  const auto records = school.proxyRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].PXTYPE, kind == ItemKind::Resource ? "T" : "C");
  EXPECT_EQ(records[0].PXFORCODE, absent);
  EXPECT_EQ(records[0].PXBYCODE, substitute);
  EXPECT_EQ(records[0].PXBYSERIALNO, copy.ASERIALNO);
  EXPECT_EQ(records[0].PXDATE, school.clock.todayIso());
  EXPECT_TRUE(school.auditPasses());
}

INSTANTIATE_TEST_SUITE_P(Kinds, SimpleProxy,
                         ::testing::Values(KindCase{"Resource", ItemKind::Resource},
                                           KindCase{"Class", ItemKind::Class}),
                         testing::CaseName{});

// ---- Priority and options -----------------------------------------------------------------------------

struct PriorityCase {
  const char* name;
  bool clarkFirst;
  bool bakerAwayAtFirstPeriod;  // BAKER not available at day 1 period 1
  int bakerTakes;
  int clarkTakes;
};

class PriorityOrder : public ProxyRunTest, public ::testing::WithParamInterface<PriorityCase> {};

TEST_P(PriorityOrder, TheFirstTickedSubstituteTakesWhatItCan) {
  const PriorityCase& c = GetParam();
  adamsMaths();
  if (c.bakerAwayAtFirstPeriod)
    grid::makeNotAvailable(school.session(), {grid::GridKind::Resource, school.baker}, 1, 1);
  const std::vector<int> order = c.clarkFirst ? std::vector<int>{school.clark, school.baker}
                                              : std::vector<int>{school.baker, school.clark};

  const ProxyOutcome outcome = proxyAdams(order);

  std::vector<Share> expected;
  for (int code : order) {
    const int periods = code == school.baker ? c.bakerTakes : c.clarkTakes;
    if (periods > 0) expected.push_back({code, code == school.baker ? "BAKER" : "CLARK", periods});
  }
  EXPECT_EQ(outcome.bySubstitute, expected);
  EXPECT_EQ(outcome.done, 2);
  EXPECT_EQ(school.proxyRecords().size(), expected.size());
  EXPECT_TRUE(school.auditPasses());
}

INSTANTIATE_TEST_SUITE_P(Cases, PriorityOrder,
                         ::testing::Values(PriorityCase{"BakerFirst", false, false, 2, 0},
                                           PriorityCase{"ClarkFirst", true, false, 0, 2},
                                           PriorityCase{"BakerAwayForOnePeriod", false, true, 1, 1}),
                         testing::CaseName{});

TEST_F(ProxyRunTest, TheAbsentItemIsNeverItsOwnSubstitute) {
  adamsMaths();
  const ProxyOutcome outcome = proxyAdams({school.adams, school.baker});
  EXPECT_EQ(outcome.bySubstitute, (std::vector<Share>{{school.baker, "BAKER", 2}}));
  EXPECT_TRUE(school.auditPasses());
}

class SameSubjectOption : public ProxyRunTest, public ::testing::WithParamInterface<bool> {};

// CLARK teaches Maths, BAKER does not; BAKER is ticked first.
TEST_P(SameSubjectOption, KeepsOnlySubstitutesThatTeachTheSubject) {
  const bool sameSubject = GetParam();
  adamsMaths();
  school.lesson({.cls = school.y, .resource = school.clark, .subject = school.maths, .periods = 1}, {{5, 5}});

  const ProxyOutcome outcome = proxyAdams({school.baker, school.clark}, {.sameSubject = sameSubject});

  ASSERT_EQ(outcome.bySubstitute.size(), 1u);
  EXPECT_EQ(outcome.bySubstitute[0].code, sameSubject ? school.clark : school.baker);
  EXPECT_EQ(outcome.done, 2);
  EXPECT_TRUE(school.auditPasses());
}

INSTANTIATE_TEST_SUITE_P(OnAndOff, SameSubjectOption, ::testing::Bool());

TEST_F(ProxyRunTest, AtTheSamePeriodASubstituteBusyThereTakesNothingAndTheIndentGetsItsCellsBack) {
  const int serial = adamsMaths();
  busy(school.baker, 1, 1);
  busy(school.baker, 2, 3);
  const int serialsBefore = school.lastSerial();

  const ProxyOutcome outcome = proxyAdams({school.baker}, {.shuffle = false});

  EXPECT_EQ(outcome.done, 0);
  EXPECT_EQ(outcome.failedRestoration, 0);
  EXPECT_TRUE(outcome.bySubstitute.empty());
  EXPECT_EQ(school.s.f.indent(serial).ANOOFLEC, 2);
  EXPECT_EQ(school.s.f.indent(serial).ANOLECALL, 2);
  EXPECT_EQ(school.resourceCell(school.adams, 1, 1).TSERIAL, serial);
  EXPECT_EQ(school.resourceCell(school.adams, 2, 3).TSERIAL, serial);
  EXPECT_EQ(school.lastSerial(), serialsBefore) << "the unused copy gives its serial back";
  EXPECT_TRUE(school.proxyRecords().empty());
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, AnywhereInTheWeekTheBusySubstituteTakesThePeriodsElsewhere) {
  adamsMaths();
  busy(school.baker, 1, 1);
  busy(school.baker, 2, 3);

  const ProxyOutcome outcome = proxyAdams({school.baker}, {.shuffle = false, .samePeriod = false});

  EXPECT_EQ(outcome.done, 2);
  const TAlloc copy = school.s.f.indent(school.lastSerial());
  EXPECT_EQ(copy.ATEACHER, school.baker);
  EXPECT_EQ(school.s.f.cellsHolding(copy.ASERIALNO).size(), 4u);  // two periods, class and resource rows
  EXPECT_NE(school.resourceCell(school.baker, 1, 1).TSERIAL, copy.ASERIALNO);
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, PeriodsNoSubstituteTakesAndThatCannotGoBackFailRestoration) {
  // The indent may only use day 3, where 1A is away: its periods at days 1 and 2 can leave, but
  // they cannot be placed again.
  const int serial = adamsMaths();
  school.s.editIndent(serial, [](TAlloc& a) { a.ALISTDAY = ",3"; });
  for (int period = 1; period <= 12; ++period)
    grid::makeNotAvailable(school.session(), {grid::GridKind::Class, school.x}, 3, period);

  const ProxyOutcome outcome = proxyAdams({school.baker}, {.shuffle = false, .samePeriod = false});

  EXPECT_EQ(outcome.done, 0);
  EXPECT_EQ(outcome.failedRestoration, 2);
  EXPECT_EQ(school.s.f.indent(serial).ANOOFLEC, 2) << "the indent keeps its size";
  EXPECT_EQ(school.s.f.indent(serial).ANOLECALL, 0);
  EXPECT_TRUE(school.auditPasses());
}

// ---- Parts of an indent, clusters ---------------------------------------------------------------------

TEST_F(ProxyRunTest, AnIgnoredCellStaysWithTheAbsentItemAndItsIndentStays) {
  const int serial = adamsMaths();
  CellTable cells = school.table(ItemKind::Resource, school.adams);
  ASSERT_TRUE(cells.toggle(school.session(), 2, 3));

  const ProxyOutcome outcome = school.run(cells, {school.baker});

  EXPECT_EQ(outcome.done, 1);
  EXPECT_EQ(school.s.f.indent(serial).ANOOFLEC, 1);
  EXPECT_EQ(school.s.f.indent(serial).ANOLECALL, 1);
  EXPECT_EQ(school.resourceCell(school.adams, 2, 3).TSERIAL, serial);
  EXPECT_EQ(school.resourceCell(school.baker, 1, 1).TCLASS, school.x);
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, ACellOfAClusterMovesTheWholeBlock) {
  const int serial = school.lesson(
      {.cls = school.x, .resource = school.adams, .subject = school.art, .periods = 2, .clusterOf = 2},
      {{4, 2}});
  CellTable cells = school.table(ItemKind::Resource, school.adams);
  ASSERT_TRUE(cells.toggle(school.session(), 4, 3));  // only the block's first cell stays ticked

  const ProxyOutcome outcome = school.run(cells, {school.clark});

  EXPECT_EQ(outcome.total, 2) << "the whole block is counted";
  EXPECT_EQ(outcome.done, 2);
  EXPECT_FALSE(school.indentExists(serial));
  const TAlloc copy = school.s.f.indent(school.lastSerial());
  EXPECT_EQ(copy.AINCLUSOF, 2);
  EXPECT_EQ(copy.ACLUSWEEK, 1);
  EXPECT_EQ(school.resourceCell(school.clark, 4, 2).TSERIAL, copy.ASERIALNO);
  EXPECT_EQ(school.resourceCell(school.clark, 4, 3).TSERIAL, copy.ASERIALNO);
  EXPECT_TRUE(school.auditPasses());
}

// ---- Groups ---------------------------------------------------------------------------------------------

TEST_F(ProxyRunTest, AGroupsPeriodInAMembersWeekCannotBeTickedAlone) {
  school.lesson({.cls = school.y, .resource = school.team, .subject = school.art, .periods = 1}, {{3, 3}});
  adamsMaths();
  CellTable cells = school.table(ItemKind::Resource, school.adams);
  EXPECT_EQ(cells.at(3, 3).state, CellState::Ignored);
  EXPECT_EQ(cells.at(3, 3).group, school.team);
  EXPECT_EQ(cells.toProxy(), 2);

  school.prompter().expectMessage(
      MessageKind::Error,
      "ADAMS takes this period as a member of the group LAB TEAM. Proxy LAB TEAM to move it.");
  EXPECT_FALSE(cells.toggle(school.session(), 3, 3));
  EXPECT_EQ(cells.at(3, 3).state, CellState::Ignored);
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, ACellThatBecameAGroupsPeriodSinceTheTableWasBuiltIsRefusedBeforeAnythingChanges) {
  const int own = school.lesson(
      {.cls = school.y, .resource = school.adams, .subject = school.art, .periods = 1}, {{3, 3}});
  const int teamLesson =
      school.s.indent({.cls = school.x, .resource = school.team, .subject = school.art, .periods = 1});
  CellTable cells = school.table(ItemKind::Resource, school.adams);
  ASSERT_EQ(cells.at(3, 3).serial, own);
  // Meanwhile the period goes and the group's lesson takes the cell.
  grid::releasePeriod(school.session(), {grid::GridKind::Resource, school.adams}, 3, 3);
  school.s.f.place(teamLesson, 3, 3);

  school.prompter().expectMessage(
      MessageKind::Error,
      "ADAMS takes this period as a member of the group LAB TEAM. Proxy LAB TEAM to move it.");
  const ProxyOutcome outcome = school.run(cells, {school.baker});

  EXPECT_TRUE(outcome.refused);
  EXPECT_EQ(school.resourceCell(school.davis, 3, 3).TSERIAL, teamLesson) << "the group's period is untouched";
  EXPECT_EQ(school.resourceCell(school.adams, 3, 3).TSERIAL, teamLesson);
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, ProxyingTheGroupMovesItsWholePeriodOffEveryMember) {
  const int serial = school.lesson(
      {.cls = school.y, .resource = school.team, .subject = school.art, .periods = 1}, {{3, 3}});

  const ProxyOutcome outcome = school.run(school.table(ItemKind::Resource, school.team), {school.baker});

  EXPECT_EQ(outcome.done, 1);
  EXPECT_FALSE(school.indentExists(serial));
  for (int resource : {school.team, school.adams, school.davis})
    EXPECT_EQ(school.resourceCell(resource, 3, 3).TSUBJECT, 999) << resource;
  EXPECT_EQ(school.resourceCell(school.baker, 3, 3).TCLASS, school.y);
  EXPECT_EQ(school.s.f.resourceRecord(school.adams).TCHREQMLT, 0);
  EXPECT_TRUE(school.auditPasses());
}

// ---- Undo Proxy ---------------------------------------------------------------------------------------

TEST_F(ProxyRunTest, UndoProxyGivesThePeriodsBackAndDeletesTheProxyIndentWithItsRecord) {
  adamsMaths();
  proxyAdams({school.baker});
  const int proxyIndent = school.lastSerial();
  ASSERT_EQ(absentItems(school.store(), 1, Operation::UndoProxy, ItemKind::Resource),
            (std::vector<Item>{{school.adams, "ADAMS"}}));

  const CellTable cells = school.table(ItemKind::Resource, school.adams, Operation::UndoProxy);
  EXPECT_EQ(cells.toProxy(), 2);
  EXPECT_EQ(cells.at(1, 1).owner, school.baker);
  EXPECT_EQ(cells.at(1, 1).serial, proxyIndent);
  EXPECT_EQ(cells.at(1, 1).date, school.clock.todayIso());
  const ProxyOutcome outcome = school.run(cells, {});

  EXPECT_EQ(outcome.done, 2);
  EXPECT_FALSE(school.indentExists(proxyIndent));
  EXPECT_TRUE(school.proxyRecords().empty());
  const TAlloc back = school.s.f.indent(school.lastSerial());
  EXPECT_EQ(back.ATEACHER, school.adams);
  EXPECT_EQ(back.ANOLECALL, 2);
  EXPECT_EQ(school.resourceCell(school.adams, 1, 1).TSERIAL, back.ASERIALNO);
  EXPECT_EQ(school.resourceCell(school.adams, 2, 3).TSERIAL, back.ASERIALNO);
  EXPECT_EQ(school.resourceCell(school.baker, 1, 1).TSUBJECT, 999);
  EXPECT_TRUE(absentItems(school.store(), 1, Operation::UndoProxy, ItemKind::Resource).empty());
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, UndoTakesBackProxyPeriodsOfTwoSubstitutesAtTheSameCell) {
  // Proxies made anywhere in the week can put two substitutes' periods at one day and period.
  const int byBaker =
      school.lesson({.cls = school.x, .resource = school.baker, .subject = school.maths, .periods = 1}, {{1, 1}});
  const int byClark =
      school.lesson({.cls = school.y, .resource = school.clark, .subject = school.art, .periods = 1}, {{1, 1}});
  {
    Transaction tx(school.store());
    appendProxyRecord(school.store(), 1, ItemKind::Resource, school.adams, school.baker, byBaker, "2026-01-05");
    appendProxyRecord(school.store(), 1, ItemKind::Resource, school.adams, school.clark, byClark, "2026-01-05");
    tx.commit();
  }
  const CellTable cells = school.table(ItemKind::Resource, school.adams, Operation::UndoProxy);
  EXPECT_EQ(cells.toProxy(), 2);
  EXPECT_EQ(cells.periodCells().size(), 2u);

  const ProxyOutcome outcome = school.run(cells, {}, {.samePeriod = false});

  EXPECT_EQ(outcome.done, 2);
  EXPECT_FALSE(school.indentExists(byBaker));
  EXPECT_FALSE(school.indentExists(byClark));
  EXPECT_TRUE(school.proxyRecords().empty());
  EXPECT_EQ(school.s.f.resourceRecord(school.adams).TALLOCLEC, 2);
  EXPECT_TRUE(school.auditPasses());
}

// ---- Stop -----------------------------------------------------------------------------------------------

TEST_F(ProxyRunTest, StopEndsTheRunAfterTheIndentInHand) {
  const int first = school.lesson(
      {.cls = school.x, .resource = school.adams, .subject = school.maths, .periods = 1, .priority = "Y"},
      {{1, 1}});
  const int second = school.lesson(
      {.cls = school.y, .resource = school.adams, .subject = school.art, .periods = 1}, {{4, 4}});
  school.progress.stopWhen = [](const testing::RunProgress& p) { return p.position >= 1; };
  school.prompter().expectMessage(MessageKind::Information,
                                  "Please wait. Proxy allocation will stop in a while.");

  const ProxyOutcome outcome = proxyAdams({school.baker});

  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.done, 1);
  EXPECT_FALSE(school.indentExists(first));
  EXPECT_EQ(school.resourceCell(school.adams, 4, 4).TSERIAL, second) << "the next indent was not started";
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, TheSessionsCancelFlagStopsTheRunBeforeItStarts) {
  const int serial = adamsMaths();
  school.session().cancelFlag = true;
  school.prompter().expectMessage(MessageKind::Information,
                                  "Please wait. Proxy allocation will stop in a while.");

  const ProxyOutcome outcome = proxyAdams({school.baker});

  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.done, 0);
  EXPECT_EQ(school.s.f.indent(serial).ANOLECALL, 2);
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyRunTest, TheRunShowsItsProgress) {
  adamsMaths();
  struct Listener final : ProxyRunListener {
    std::vector<std::string> lines;
    void periodsDone(std::string_view text) override { lines.emplace_back(text); }
  } listener;
  school.run(school.table(ItemKind::Resource, school.adams), {school.baker});
  EXPECT_EQ(school.progress.shown, (std::vector<std::string>{"Attempting Proxy..."}));
  EXPECT_EQ(school.progress.maximumShown, 2);
  EXPECT_EQ(school.progress.position, 2);
  runProxy(school.session(), school.ports(), school.table(ItemKind::Resource, school.baker), {school.clark},
           {.seed = 7}, &listener);
  EXPECT_EQ(listener.lines, (std::vector<std::string>{"2/2 periods done"}));
  EXPECT_EQ(attemptText(Operation::Proxy, "BAKER"), "Attempting Proxy (BAKER)...");
  EXPECT_EQ(attemptText(Operation::UndoProxy, "BAKER"), "Undoing Proxy (BAKER)...");
  EXPECT_TRUE(school.auditPasses());
}

}  // namespace
}  // namespace tavrel::proxy
