#include "core/indents/statistics_repair.h"

#include <gtest/gtest.h>

#include "core/indents/activation.h"
#include "core/store/counter_recount.h"
#include "core/store/default_constraint.h"
#include "tests/core/indents/indent_school.h"
#include "tests/core/indents/test_allocator.h"
#include "tests/support/recording_progress.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

constexpr const char* kRun =
    "Statistics Diagnostic checks all statistics and repairs them if necessary. Select Yes to run the "
    "dianostic.";

// A member class of two groups, the groups' indents placed, and a plain class with its own.
struct Drifting {
  SchoolFixture f;
  Uncommitted scratch{f.store()};
  testing::RecordingProgress progress;
  UnwiredAllocator noEngine;
  int a = f.addClass("1A");
  int b = f.addClass("1B");
  int c = f.addClass("1C");
  int ab = f.addClass("1A+1B", {a, b});
  int bc = f.addClass("1B+1C", {b, c});
  int r1 = f.addResource("ADAMS");
  int r2 = f.addResource("BAKER");
  int team = f.addResource("TEAM", {r1, r2});
  int maths = f.addSubject("Maths");
  int abIndent = f.addIndent({.cls = ab, .resource = team, .subject = maths, .periods = 3});
  int bcIndent = f.addIndent({.cls = bc, .resource = r1, .subject = maths, .periods = 4});
  int own = f.addIndent({.cls = a, .resource = r2, .subject = maths, .periods = 3, .clusterOf = 3});

  Drifting() {
    TAlloc whole = f.indent(own);  // the week the engine may place it in
    store::AsgnDefault(whole, store::qry_init(912));
    f.store().table<TAlloc>().update(whole);
    f.place(abIndent, 1, 1);
    f.place(bcIndent, 2, 1);
    f.place(own, 3, 1);
  }
  std::optional<RepairReport> repair(IndentAllocator& allocator) {
    f.prompter().expectQuestion(MessageKind::Information, kRun, true);
    return statisticsRepair(f.session(), progress, allocator);
  }
  std::string correction(int actual, int shown) {
    return "Check this indent : Class -1A, Resource - BAKER, Subject - Maths, Type - Cluster, Count/Wk - 3. "
           "Actual "
           "Allocation : " +
           std::to_string(actual) + ", Indent shows : " + std::to_string(shown) +
           ". Select Yes to correct  the problem.";
  }
};

TEST(StatisticsRepair, RewritesEveryCounterThatDriftedAndFindsNothingTheSecondTime) {
  Drifting d;
  ASSERT_TRUE(store::recountCounters(d.f.store(), 1).clean());
  store::TClas b = d.f.classRecord(d.b);
  b.CLSREQMLT = 2;
  b.CLSMLTALL = 9;
  b.CLSTOTLEC = 50;
  d.f.store().table<store::TClas>().update(b);
  store::TTeac r1 = d.f.resourceRecord(d.r1);
  r1.TALLOCLEC = 0;
  r1.TCHREQMLT = 1;
  d.f.store().table<store::TTeac>().update(r1);
  store::TSctl link = subjectLink(d.f, d.maths);
  link.SCTTOTALL = 40;
  d.f.store().table<store::TSctl>().update(link);
  d.f.store().table<store::TTDMAll>().removeRange(store::TTDMAll::primary, {1});
  closeSlot(d.f, 'C', d.c, 9, 12);
  store::TSchl school = *d.f.session().school();
  school.STOTCLS = 2;  // lower than the highest class code in use
  d.f.store().table<store::TSchl>().update(school);

  const auto report = d.repair(d.noEngine);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->correctionsOffered, 0);
  EXPECT_GT(report->recordsRewritten, 0);
  EXPECT_TRUE(report->strayCells.empty());
  const auto recount = store::recountCounters(d.f.store(), 1);
  EXPECT_TRUE(recount.clean()) << ::testing::PrintToString(recount.findings());
  EXPECT_EQ(d.f.classRecord(d.b).CLSREQMLT, 7);  // a member of two groups with 3 and 4 periods
  EXPECT_EQ(d.f.classRecord(d.b).CLSTOTLEC, 108);
  EXPECT_EQ(d.f.classRecord(d.c).CLSTOTLEC, 107);
  EXPECT_EQ(d.f.session().school()->STOTCLS, d.bc);
  EXPECT_EQ(d.progress.shownText, "Updating Subject Statistics");
  EXPECT_TRUE(d.progress.hidden);

  const auto again = d.repair(d.noEngine);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->recordsRewritten, 0);
  EXPECT_EQ(again->correctionsOffered, 0);
}

TEST(StatisticsRepair, AnIndentWhoseCountDisagreesWithItsCellsIsOfferedACorrection) {
  struct Case {
    const char* name;
    bool yes;
    bool engine;
    int shownAfter;
  };
  const Case cases[] = {
      {"declined", false, false, 2},
      {"corrected without an engine: the periods stay", true, false, 3},
      {"corrected and allocated afresh", true, true, 3},
  };
  Drifting d;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store::Transaction undo(d.f.store());
    TAlloc own = d.f.indent(d.own);
    own.ANOLECALL = 2;
    d.f.store().table<TAlloc>().update(own);
    FixtureAllocator engine(d.f);
    d.f.prompter().expectQuestion(MessageKind::Information, kRun, true);
    d.f.prompter().expectQuestion(MessageKind::Information, d.correction(3, 2), c.yes);
    const auto report = statisticsRepair(d.f.session(), d.progress,
                                         c.engine ? static_cast<IndentAllocator&>(engine) : d.noEngine);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->correctionsMade, c.yes ? 1 : 0);
    EXPECT_EQ(d.f.indent(d.own).ANOLECALL, c.shownAfter);
    EXPECT_EQ(d.f.classRecord(d.a).CLSTOTALL, 3);  // the cells count, whatever the answer
    EXPECT_EQ(engine.attempts, c.engine ? 1 : 0);
    EXPECT_EQ(d.f.cellsHolding(d.own).size(), 6u);
  }
}

TEST(StatisticsRepair, DecliningChangesNothing) {
  Drifting d;
  store::TClas a = d.f.classRecord(d.a);
  a.CLSREQLEC = 99;
  d.f.store().table<store::TClas>().update(a);
  d.f.prompter().expectQuestion(MessageKind::Information, kRun, false);
  EXPECT_FALSE(statisticsRepair(d.f.session(), d.progress, d.noEngine));
  EXPECT_EQ(d.f.classRecord(d.a).CLSREQLEC, 99);
}

}  // namespace
}  // namespace tavrel::indents
