// The bulk commands of the institution and school views.
#include <gtest/gtest.h>

#include "core/indents/activation.h"
#include "core/indents/bulk_deletion.h"
#include "core/indents/bulk_state_change.h"
#include "core/indents/school_availability.h"
#include "core/indents/timetable_undo.h"
#include "core/store/counter_recount.h"
#include "tests/core/indents/indent_school.h"
#include "tests/support/recording_progress.h"

namespace tavrel::indents {
namespace {

using store::OwnerKind;
using store::TAlloc;
using testing::SchoolFixture;

// Two classes and their group, two resources and their group, a plain class and resource; active
// indents of each kind with placed periods, one a cluster, and a passive indent.
struct School {
  SchoolFixture f;
  Uncommitted scratch{f.store()};
  testing::RecordingProgress progress;
  int c1 = f.addClass("1A");
  int c2 = f.addClass("1B");
  int group = f.addClass("1A+1B", {c1, c2});
  int c3 = f.addClass("2A");
  int r1 = f.addResource("ADAMS");
  int r2 = f.addResource("BAKER");
  int team = f.addResource("TEAM", {r1, r2});
  int r3 = f.addResource("CLARK");
  int maths = f.addSubject("Maths");
  int art = f.addSubject("Art");
  int groupWithTeam = active({.cls = group, .resource = team, .subject = maths, .count = 2});
  int c1WithR3 = active({.cls = c1, .resource = r3, .subject = art, .count = 2});
  int clusterOfC3 = active({.cls = c3, .resource = r1, .subject = maths, .count = 3, .clusterOf = 3});
  int passive = makeIndent(f, {.cls = c3, .resource = r3, .subject = art, .count = 1});

  School() {
    f.place(groupWithTeam, 1, 1);
    f.place(groupWithTeam, 2, 1);
    f.place(c1WithR3, 1, 2);
    f.place(clusterOfC3, 3, 1);
    markProxy(f, c1WithR3);
  }
  int active(const IndentSpec& spec) {
    const int serial = makeIndent(f, spec);
    EXPECT_TRUE(MakeActv(f.session(), serial, Interaction::Silent).activated);
    return serial;
  }
  void expectCountersAddUp() {
    const auto report = store::recountCounters(f.store(), 1);
    EXPECT_TRUE(report.clean()) << ::testing::PrintToString(report.findings());
  }
  std::vector<int> serials(const char* active) {
    std::vector<int> found;
    for (const TAlloc& row : indentsInScope(f.session(), IndentScope::school(), active))
      found.push_back(row.ASERIALNO);
    return found;
  }
  int rows(int number) {
    switch (number) {
      case 10:
        return f.store().table<store::TSDAll>().count(store::TSDAll::primary, {1});
      case 11:
        return f.store().table<store::TTDAll>().count(store::TTDAll::primary, {1});
      case 17:
        return f.store().table<store::TTDMAll>().count(store::TTDMAll::primary, {1});
      default:
        return f.store().table<store::TProxy>().count(store::TProxy::primary, {1});
    }
  }
};

TEST(BulkCommands, UndoingTheTimetableKeepsTheIndentsActiveWithNothingPlaced) {
  School s;
  s.f.prompter().expectQuestion(MessageKind::Warning, "Undoing Timetable Allocations. Ok?", false);
  EXPECT_FALSE(undoSchoolTimetable(s.f.session(), s.progress));
  EXPECT_EQ(s.f.indent(s.clusterOfC3).ANOLECALL, 3);

  s.f.prompter().expectQuestion(MessageKind::Warning, "Undoing Timetable Allocations. Ok?", true);
  EXPECT_TRUE(undoSchoolTimetable(s.f.session(), s.progress));
  const TAlloc cluster = s.f.indent(s.clusterOfC3);
  EXPECT_EQ(cluster.AACTIVE, "Y");
  EXPECT_EQ(cluster.ANOLECALL, 0);
  for (int period : {1, 2, 3}) {
    const store::TTtbl cell = s.f.cell('C', s.c3, 3, period);
    EXPECT_EQ(std::tie(cell.TSUBJECT, cell.TTEACHER, cell.TSERIAL, cell.TCLUSTOT),
              std::make_tuple(999, 999, 0, 0));
  }
  for (int table : {10, 11, 17, 30}) EXPECT_EQ(s.rows(table), 0) << table;
  EXPECT_EQ(s.f.classRecord(s.group).CLSREQLEC, 2);  // the demand stays
  EXPECT_EQ(s.progress.shownText, "Undoing Timetable Allocations...");
  EXPECT_TRUE(s.progress.hidden);
  s.expectCountersAddUp();
}

TEST(BulkCommands, DeletingIndentsOfTheWholeSchool) {
  struct Case {
    const char* name;
    bool (*command)(store::Session&, Progress&);
    const char* question;
    const char* progress;
    bool passiveKept;
  };
  const Case cases[] = {
      {"all", Zap1Click, "Deleting All Indents. Ok?", "Deleting All Indents...", false},
      {"active", ZapA1Click, "Deleting Active Indents. Ok?", "Deleting Active Indents...", true},
  };
  School s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store::Transaction undo(s.f.store());
    s.f.prompter().expectQuestion(MessageKind::Warning, c.question, false);
    EXPECT_FALSE(c.command(s.f.session(), s.progress));
    EXPECT_EQ(s.serials("Y").size(), 3u);

    s.f.prompter().expectQuestion(MessageKind::Warning, c.question, true);
    EXPECT_TRUE(c.command(s.f.session(), s.progress));
    EXPECT_TRUE(s.serials("Y").empty());
    EXPECT_EQ(s.serials("N").size(), c.passiveKept ? 1u : 0u);
    for (int cls : {s.c1, s.c2, s.group, s.c3}) {
      const store::TClas row = s.f.classRecord(cls);
      EXPECT_EQ(std::tie(row.CLSREQLEC, row.CLSREQMLT, row.CLSTOTALL, row.CLSMLTALL),
                std::make_tuple(0, 0, 0, 0));
    }
    EXPECT_EQ(s.progress.shownText, c.progress);
    s.expectCountersAddUp();
  }
}

TEST(BulkCommands, DeletingThePassiveIndentsOfAnItem) {
  School s;
  const int another = makeIndent(s.f, {.cls = s.c3, .resource = s.r1, .subject = s.maths, .count = 2});
  makeIndent(s.f, {.cls = s.c1, .resource = s.r1, .subject = s.maths, .count = 2});
  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting Passive Indents. Ok?", true);
  s.f.prompter().expectMessage(MessageKind::Information, "2 Passive Indents deleted.");
  EXPECT_EQ(ZapP1Click(s.f.session(), s.progress, IndentScope::ofClass(s.c3)), 2);
  EXPECT_FALSE(findIndent(s.f.session(), another));
  EXPECT_FALSE(findIndent(s.f.session(), s.passive));
  EXPECT_EQ(s.serials("N").size(), 1u);  // 1A's
  EXPECT_EQ(s.progress.shownMaximum, 2);

  // Both kinds of an item: the passive ones, then the active ones, each with its question.
  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting Passive Indents. Ok?", true);
  s.f.prompter().expectMessage(MessageKind::Information, "1 Passive Indents deleted.");
  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting Active Indents. Ok? ", true);
  s.f.prompter().expectMessage(MessageKind::Information, "1/1 active indents deleted. ");
  deleteBothPassiveAndActive(s.f.session(), s.progress, IndentScope::ofClass(s.c1));
  EXPECT_TRUE(indentsInScope(s.f.session(), IndentScope::ofClass(s.c1), "N").empty());
  EXPECT_TRUE(indentsInScope(s.f.session(), IndentScope::ofClass(s.c1), "Y").empty());
  s.expectCountersAddUp();
}

TEST(BulkCommands, MakingPassiveIndentsActiveCountsTheFailures) {
  School s;
  std::vector<int> made;
  for (int i = 0; i < 9; ++i) {
    made.push_back(
        makeIndent(s.f, {.cls = s.c3, .resource = s.r3, .subject = s.art, .count = i < 3 ? 0 : 1}));
  }
  s.f.prompter().expectQuestion(MessageKind::Warning, "Ok to make indents active? ", false);
  EXPECT_FALSE(MakeActive1Click(s.f.session(), s.progress, IndentScope::ofClass(s.c3), BulkCaller::Person));
  s.f.prompter().expectQuestion(MessageKind::Warning, "Ok to make indents active? ", true);
  s.f.prompter().expectMessage(MessageKind::Information, "7/10 indents activated. 3 failed validation.");
  const auto count =
      MakeActive1Click(s.f.session(), s.progress, IndentScope::ofClass(s.c3), BulkCaller::Person);
  ASSERT_TRUE(count);
  EXPECT_EQ(count->done, 7);
  EXPECT_EQ(s.progress.shownText, "7/10 indents activated");
  EXPECT_EQ(s.progress.position, 7);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.f.indent(made[static_cast<std::size_t>(i)]).AACTIVE, "N");
  s.expectCountersAddUp();

  // All of them passing ends with the bare count.
  for (int i = 0; i < 3; ++i) {
    store::TAlloc fixed = s.f.indent(made[static_cast<std::size_t>(i)]);
    fixed.ANOOFLEC = 1;
    s.f.store().table<TAlloc>().update(fixed);
  }
  s.f.prompter().expectQuestion(MessageKind::Warning, "Ok to make indents active? ", true);
  s.f.prompter().expectMessage(MessageKind::Information, "3/3 indents activated. ");
  MakeActive1Click(s.f.session(), s.progress, IndentScope::ofClass(s.c3), BulkCaller::Person);
}

TEST(BulkCommands, MakingTheIndentsOfAResourcePassiveResetsOnlyItsOwnLimits) {
  School s;
  // Another class has limits of the same subject, which the resource has nothing to do with.
  const int other = s.active({.cls = s.c2, .resource = s.r2, .subject = s.art, .count = 4});
  setClassLimit(s.f.store(), 1, store::LimitKind::Subject, s.c2, s.art, 3);
  // 1A keeps an indent of Art with another resource that needs 2 a day.
  s.active({.cls = s.c1, .resource = s.r2, .subject = s.art, .count = 4, .clusterOf = 2});
  setClassLimit(s.f.store(), 1, store::LimitKind::Resource, s.c1, s.r3, 5);

  s.f.prompter().expectQuestion(MessageKind::Warning, "Ok to make indents passive? ", true);
  s.f.prompter().expectMessage(MessageKind::Information, "1/1 indents made passive. ");
  const auto count = MakePassive1Click(s.f.session(), s.progress, IndentScope::ofResource(s.r3),
                                       PassiveMode::MakePassive, BulkCaller::Person);
  ASSERT_TRUE(count);
  EXPECT_EQ(s.f.indent(s.c1WithR3).AACTIVE, "N");
  EXPECT_EQ(resourceLimit(s.f, s.c1, s.r3), 1);
  EXPECT_EQ(subjectLimit(s.f, s.c1, s.art), 2);  // what the cluster still needs
  EXPECT_EQ(subjectLimit(s.f, s.c2, s.art), 3);  // not the resource's business
  EXPECT_EQ(s.f.indent(other).AACTIVE, "Y");
  EXPECT_EQ(s.progress.shownText, "Initialising Resource Occurence...");
  s.expectCountersAddUp();

  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting Active Indents. Ok? ", true);
  s.f.prompter().expectMessage(MessageKind::Information, "1/1 active indents deleted. ");
  MakePassive1Click(s.f.session(), s.progress, IndentScope::ofClass(s.c1), PassiveMode::Delete,
                    BulkCaller::Person);
  EXPECT_TRUE(indentsInScope(s.f.session(), IndentScope::ofClass(s.c1), "Y").empty());
  EXPECT_EQ(subjectLimit(s.f, s.c1, s.art), 1);
  s.expectCountersAddUp();
}

TEST(BulkCommands, ApplyingTheSchoolAvailabilityFitsTheResourcesToTheWeek) {
  School s;
  setWeek(s.f, 608);
  // The school is open 6 days of 8 periods.
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      if (day > 6 || period > 8) closeSlot(s.f, 'L', 1, day, period);
    }
  }
  store::TTeac adams = s.f.resourceRecord(s.r1);
  adams.TMAXLECWK = 50;
  adams.TMAXLEC = 10;
  s.f.store().table<store::TTeac>().update(adams);
  closeSlot(s.f, 'C', s.c3, 6, 8);  // a special availability that the school's overwrites

  const std::string full =
      "First, all active indents will be made passive, School availability applied and then passive indents "
      "will be "
      "revalidated before again making them active. All timetable allocations will be undone so you will "
      "need to "
      "reallocate. Ok to proceed applying School availability?";
  s.f.prompter().expectQuestion(MessageKind::Warning, full, false);
  EXPECT_FALSE(ApplyAvailProc(s.f.session(), s.progress, AvailabilityTarget::Both));
  s.f.prompter().expectQuestion(MessageKind::Warning, full, true);
  EXPECT_TRUE(ApplyAvailProc(s.f.session(), s.progress, AvailabilityTarget::Both));

  adams = s.f.resourceRecord(s.r1);
  EXPECT_EQ(std::tie(adams.TMAXLECWK, adams.TMAXLEC, adams.TCHTOTLEC), std::make_tuple(48, 8, 48));
  EXPECT_EQ(s.f.classRecord(s.c3).CLSTOTLEC, 48);
  EXPECT_EQ(s.f.cell('C', s.c3, 6, 8).TSUBJECT, 999);
  EXPECT_EQ(s.f.cell('C', s.c3, 7, 1).TSUBJECT, 0);
  EXPECT_EQ(s.f.cell('T', s.r1, 1, 9).TCLASS, 0);
  // Every indent is active again, the passive one too, with nothing placed.
  EXPECT_TRUE(s.serials("N").empty());
  for (int serial : s.serials("Y")) EXPECT_EQ(s.f.indent(serial).ANOLECALL, 0);
  s.expectCountersAddUp();

  // With no active indent only the last sentence is asked.
  s.f.prompter().expectQuestion(MessageKind::Warning, "Deleting All Indents. Ok?", true);
  Zap1Click(s.f.session(), s.progress);
  s.f.prompter().expectQuestion(MessageKind::Warning, "Ok to proceed applying School availability?", true);
  EXPECT_TRUE(ApplyAvailProc(s.f.session(), s.progress, AvailabilityTarget::Classes));
}

TEST(BulkCommands, ApplyingTheSchoolAvailabilityToAGroupMemberReleasesTheGroupsPeriodsWhole) {
  School s;
  const std::string full =
      "First, all active indents will be made passive, School availability applied and then passive indents "
      "will be "
      "revalidated before again making them active. All timetable allocations will be undone so you will "
      "need to "
      "reallocate. Ok to proceed applying School availability?";
  s.f.prompter().expectQuestion(MessageKind::Warning, full, true);
  s.f.prompter().expectMessage(MessageKind::Information, "School Availability applied.");
  EXPECT_TRUE(applySchoolAvailabilityToItem(s.f.session(), s.progress, OwnerKind::Class, s.c1));

  // The group's two periods are gone from every timetable that held them, and from the counters.
  EXPECT_TRUE(s.f.cellsHolding(s.groupWithTeam).empty());
  EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 0);
  EXPECT_EQ(s.f.classRecord(s.c2).CLSMLTALL, 0);
  EXPECT_EQ(s.f.resourceRecord(s.r1).TCHMLTALL, 0);
  // 1A's own indent is undone and active again; 2A's periods stay.
  EXPECT_EQ(s.f.indent(s.c1WithR3).AACTIVE, "Y");
  EXPECT_EQ(s.f.indent(s.c1WithR3).ANOLECALL, 0);
  EXPECT_EQ(s.f.indent(s.clusterOfC3).ANOLECALL, 3);
  s.expectCountersAddUp();

  // A member resource without indents of its own: only the undo sentence is asked.
  s.f.place(s.groupWithTeam, 4, 4);
  s.f.prompter().expectQuestion(MessageKind::Warning,
                                "All timetable allocations will be undone so you will need to reallocate. Ok "
                                "to proceed applying School "
                                "availability?",
                                true);
  s.f.prompter().expectMessage(MessageKind::Information, "School Availability applied.");
  EXPECT_TRUE(applySchoolAvailabilityToItem(s.f.session(), s.progress, OwnerKind::Resource, s.r2));
  EXPECT_TRUE(s.f.cellsHolding(s.groupWithTeam).empty());
  s.expectCountersAddUp();
}

TEST(BulkCommands, UndoingTheAllocationsOfAnItem) {
  School s;
  s.f.prompter().expectQuestion(MessageKind::Warning, "Ok to undo indents allocations? ", true);
  s.f.prompter().expectMessage(MessageKind::Information, "2 indents allocation undone.");
  EXPECT_EQ(undoItemAllocations(s.f.session(), IndentScope::ofSubject(s.maths), BulkCaller::Person), 2);
  EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 0);
  EXPECT_EQ(s.f.indent(s.clusterOfC3).ANOLECALL, 0);
  EXPECT_EQ(s.f.indent(s.c1WithR3).ANOLECALL, 1);
  s.expectCountersAddUp();
}

}  // namespace
}  // namespace tavrel::indents
