#include "core/engine/allocate_select.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"

namespace tavrel::engine {
namespace {

using namespace store;
using testing::FakeClock;
using testing::RunProgress;

constexpr const char* kContinuityReview =
    "Applying Resource continuity sequence upper limit slows  the allocation process. Particularly, if you "
    "have opted for this without setting timetable under \"Allocate All\" first. Select Yes to review "
    "allocation settings.";

// A change of the data that the test takes back at its end (two levels deep, so that a flush of
// the code under test does not commit it).
struct Scratch {
  explicit Scratch(Store& store) : outer(store), inner(store) {}
  Transaction outer;
  Transaction inner;
};

// Two classes sharing resources, with indents of several categories: 16 periods, all of which fit.
struct SelectSchool {
  testing::EngineSchool s;
  int c1, c2, r1, r2, maths, art, music;
  int simple1, cluster1, constrained1, simple2, music2;

  SelectSchool() {
    auto& f = s.f;
    Transaction tx(f.store());
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    maths = f.addSubject("Maths");
    art = f.addSubject("Art");
    music = f.addSubject("Music");
    simple1 = s.indent({.cls = c1, .resource = r1, .subject = maths, .periods = 4});
    cluster1 =
        s.indent({.cls = c1, .resource = r2, .subject = art, .periods = 4, .clusterOf = 2, .priority = "S"});
    constrained1 = s.indent(
        {.cls = c1, .resource = r2, .subject = music, .periods = 2, .priority = "Y", .days = ",1,2"});
    simple2 = s.indent({.cls = c2, .resource = r1, .subject = art, .periods = 3});
    music2 = s.indent({.cls = c2, .resource = r2, .subject = music, .periods = 3});
    tx.commit();
  }

  int allocated(int serial) { return s.f.indent(serial).ANOLECALL; }
};

class AllocateSelectTest : public ::testing::Test {
 protected:
  EnginePorts ports() { return EnginePorts{school.s.f.prompter(), progress, clock}; }
  AllocateSelect select(std::uint64_t seed = 5) {
    return AllocateSelect(school.s.f.session(), ports(), {.seed = seed, .listener = nullptr});
  }
  std::vector<SelectItem> tag(AllocateSelect& run, SelectList list, const std::vector<std::string>& names) {
    std::vector<SelectItem> tagged;
    for (const SelectItem& item : run.items(list)) {
      if (std::find(names.begin(), names.end(), item.name) != names.end()) tagged.push_back(item);
    }
    return tagged;
  }
  void expectDone(int allocated, int tagged) {
    school.s.f.prompter().expectMessage(
        MessageKind::Information,
        std::to_string(allocated) + "/" + std::to_string(tagged) + " periods allocated.Time elapsed: 0:0:0.");
  }
  void expectAuditPasses(const AuditSwitches& switches = {}) {
    const AuditReport audit = school.s.audit(switches);
    EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
  }

  SelectSchool school;
  RunProgress progress;
  FakeClock clock;
};

TEST_F(AllocateSelectTest, ItemsListTheirIncompletePeriods) {
  AllocateSelect run = select();
  const std::vector<SelectItem> classes = run.items(SelectList::Class);
  ASSERT_EQ(classes.size(), 2u);
  EXPECT_EQ(classes[0].name, "1A");
  EXPECT_EQ(classes[0].incomplete, 10);
  EXPECT_EQ(classes[1].incomplete, 6);
  const std::vector<SelectItem> subjects = run.items(SelectList::Subject);
  ASSERT_EQ(subjects.size(), 3u);  // in name order
  EXPECT_EQ(subjects[0].name, "Art");
  EXPECT_EQ(subjects[0].incomplete, 7);
  EXPECT_EQ(run.items(SelectList::Resource)[1].incomplete, 9);
  EXPECT_EQ(categoryLetters("GROUP"), "D,E,F,G,H,K");
  EXPECT_EQ(categoryLetters("SIMPLE"), "Z");
}

// Tagged items of each list and tagged categories: exactly the incomplete indents of both are
// allocated, in addition to what the timetable already holds.
TEST_F(AllocateSelectTest, AllocatesOnlyTheTaggedItemsAndCategories) {
  struct Case {
    const char* name;
    SelectList list;
    std::vector<std::string> items;
    std::vector<std::string> categories;
    std::vector<int SelectSchool::*> placed;  // every other indent stays as it was
    int tagged;
  };
  const Case cases[] = {
      {"one class, every category",
       SelectList::Class,
       {"1A"},
       selectCategories(),
       {&SelectSchool::simple1, &SelectSchool::cluster1, &SelectSchool::constrained1},
       10},
      {"one class, only SIMPLE", SelectList::Class, {"1A"}, {"SIMPLE"}, {&SelectSchool::simple1}, 10},
      {"a resource, CLUSTER and CONSTRAINT",
       SelectList::Resource,
       {"BAKER"},
       {"CLUSTER", "CONSTRAINT"},
       {&SelectSchool::cluster1, &SelectSchool::constrained1},
       9},
      {"a subject, every category",
       SelectList::Subject,
       {"Music"},
       selectCategories(),
       {&SelectSchool::constrained1, &SelectSchool::music2},
       5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch scratch(school.s.f.store());
    school.s.f.place(school.simple2, 3, 1);  // an allocation made before, which stays
    AllocateSelect run = select();
    ASSERT_TRUE(run.tagItems(c.list, tag(run, c.list, c.items)));
    ASSERT_TRUE(run.tagCategories(c.categories));
    int expected = 0;
    for (auto member : c.placed) expected += school.s.f.indent(school.*member).ANOOFLEC;
    expectDone(expected, c.tagged);
    const SelectOutcome outcome = run.allocate(allocationOptions(school.s.f.session()));
    EXPECT_EQ(outcome.end, SelectEnd::Done);
    EXPECT_EQ(outcome.allocated, expected);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_EQ(school.s.f.session().AllocMode, 'S');
    for (int SelectSchool::*member : {&SelectSchool::simple1, &SelectSchool::cluster1,
                                      &SelectSchool::constrained1, &SelectSchool::music2}) {
      const bool chosen = std::find(c.placed.begin(), c.placed.end(), member) != c.placed.end();
      const TAlloc indent = school.s.f.indent(school.*member);
      EXPECT_EQ(indent.ANOLECALL, chosen ? indent.ANOOFLEC : 0) << indent.ASERIALNO;
    }
    EXPECT_EQ(school.allocated(school.simple2), 1);
    EXPECT_EQ(school.s.f.cell('C', school.c2, 3, 1).TSERIAL, school.simple2);
    expectAuditPasses();
  }
}

TEST_F(AllocateSelectTest, AnItemWithNothingIncompleteIsPassedOver) {
  for (int p = 1; p <= 3; ++p) school.s.f.place(school.simple2, p, 1);
  for (int p = 1; p <= 3; ++p) school.s.f.place(school.music2, p, 3);
  const auto before = school.s.f.cellsHolding(school.simple2);
  AllocateSelect run = select();
  ASSERT_TRUE(run.tagItems(SelectList::Class, tag(run, SelectList::Class, {"1B"})));
  ASSERT_TRUE(run.tagCategories(selectCategories()));
  expectDone(0, 0);
  const SelectOutcome outcome = run.allocate(allocationOptions(school.s.f.session()));
  EXPECT_EQ(outcome.indents, 0);
  EXPECT_EQ(school.s.f.cellsHolding(school.simple2).size(), before.size());
  EXPECT_EQ(school.allocated(school.constrained1), 0);
  expectAuditPasses();
}

TEST_F(AllocateSelectTest, NothingTaggedStaysOnTheStep) {
  AllocateSelect run = select();
  school.s.f.prompter().expectMessage(MessageKind::Error,
                                      "No items tagged in the checked list box. Click the box to tag.");
  EXPECT_FALSE(run.tagItems(SelectList::Class, {}));
  EXPECT_TRUE(school.s.f.store().table<TRPCode>().all().empty());
  ASSERT_TRUE(run.tagItems(SelectList::Class, run.items(SelectList::Class)));
  EXPECT_EQ(school.s.f.store().table<TRPCode>().all().size(), 2u);
  school.s.f.prompter().expectMessage(MessageKind::Error,
                                      "No categories tagged in the checked list box. Click the box to tag.");
  EXPECT_FALSE(run.tagCategories({}));
  ASSERT_TRUE(run.tagCategories({"SIMPLE", "SPECIFIC"}));
  EXPECT_EQ(run.letters(), ",A,B,Z");  // in category order
  expectAuditPasses();
}

// The continuity question: Yes goes back to review the options; No allocates with the limit on.
TEST_F(AllocateSelectTest, TheContinuityLimitAsksFirst) {
  AllocateSelect run = select();
  ASSERT_TRUE(run.tagItems(SelectList::Class, run.items(SelectList::Class)));
  ASSERT_TRUE(run.tagCategories(selectCategories()));
  AllocationOptions options = allocationOptions(school.s.f.session());
  options.continuity = true;
  school.s.f.prompter().expectQuestion(MessageKind::Information, kContinuityReview, true);
  EXPECT_EQ(run.allocate(options).end, SelectEnd::Review);
  EXPECT_FALSE(school.s.f.store().institution().ITSQUL);
  EXPECT_EQ(school.allocated(school.simple1), 0);

  school.s.f.prompter().expectQuestion(MessageKind::Information, kContinuityReview, false);
  expectDone(16, 16);
  EXPECT_EQ(run.allocate(options).end, SelectEnd::Done);
  EXPECT_TRUE(school.s.f.store().institution().ITSQUL);  // the options were posted with the run
  expectAuditPasses({.continuity = true});
}

// Each switch, on and off, over an indent of 1B that its limit holds back: 3 periods that may only
// go to periods 1, 3 and 4 of Monday, with that limit at 1 a day (continuity: 1 in a row).
TEST_F(AllocateSelectTest, EachSwitchDecidesWhetherItsLimitHoldsBack) {
  struct Case {
    const char* name;
    std::function<void(SelectSchool&)> limit;
    bool AllocationOptions::*option;
    int whenOn;
    int whenOff;
  };
  const Case cases[] = {
      {"subject per day", [](SelectSchool& sc) { sc.s.setSubjectLimit(sc.c2, sc.art, 1); },
       &AllocationOptions::subjectPerDay, 1, 3},
      {"resource per class per day", [](SelectSchool& sc) { sc.s.setResourceClassLimit(sc.c2, sc.r1, 1); },
       &AllocationOptions::resourcePerClassDay, 1, 3},
      {"resource per day",
       [](SelectSchool& sc) { sc.s.editResource(sc.r1, [](TTeac& r) { r.TMAXLEC = 1; }); },
       &AllocationOptions::resourcePerDay, 1, 3},
      {"continuity", [](SelectSchool& sc) { sc.s.editResource(sc.r1, [](TTeac& r) { r.TMAXCON = 1; }); },
       &AllocationOptions::continuity, 2, 3},
      // The adjacency rule: no two periods of one subject side by side, unless permitted.
      {"cluster permission", [](SelectSchool&) {}, &AllocationOptions::clusterPermission, 3, 2},
  };
  for (const Case& c : cases) {
    for (bool on : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (on ? " on" : " off"));
      Scratch scratch(school.s.f.store());
      const int held = school.s.indent({.cls = school.c2,
                                        .resource = school.r1,
                                        .subject = school.art,
                                        .periods = 3,
                                        .priority = "Y",
                                        .days = ",1",
                                        .periodList = ",1,3,4",
                                        .subjectPerDay = 3,
                                        .resourcePerDay = 3});
      school.s.editResource(school.r1, [](TTeac& r) {
        r.TMAXLEC = 12;
        r.TMAXCON = 12;
      });
      c.limit(school);
      // Every other limit out of the way; the adjacency rule only where it is the case.
      AllocationOptions options{.subjectPerDay = false,
                                .resourcePerClassDay = false,
                                .resourcePerDay = false,
                                .continuity = false,
                                .clusterPermission = c.option != &AllocationOptions::clusterPermission};
      options.*(c.option) = on;
      AllocateSelect run = select();
      ASSERT_TRUE(run.tagItems(SelectList::Class, tag(run, SelectList::Class, {"1B"})));
      ASSERT_TRUE(run.tagCategories({"CONSTRAINT"}));
      if (options.continuity) {
        school.s.f.prompter().expectQuestion(MessageKind::Information, kContinuityReview, false);
      }
      const int expected = on ? c.whenOn : c.whenOff;
      expectDone(expected, 9);
      run.allocate(options);
      EXPECT_EQ(school.allocated(held), expected);
      EXPECT_EQ(school.s.f.session().ClusterPermission, options.clusterPermission);
      EXPECT_EQ(school.s.f.store().institution().ITUL_DAY, options.resourcePerDay);
      expectAuditPasses({.subjectPerDay = options.subjectPerDay,
                         .resourcePerClassDay = options.resourcePerClassDay,
                         .resourcePerDay = options.resourcePerDay,
                         .continuity = options.continuity});
      school.s.f.session().ClusterPermission = false;
    }
  }
}

TEST_F(AllocateSelectTest, StopEndsTheRunAfterTheIndentInHand) {
  progress.stopWhen = [](const RunProgress& p) { return p.pumps >= 1; };
  AllocateSelect run = select();
  ASSERT_TRUE(run.tagItems(SelectList::Class, run.items(SelectList::Class)));
  ASSERT_TRUE(run.tagCategories(selectCategories()));
  // 1A's first indent in letter order is its CLUSTER indent of 4 periods.
  expectDone(4, 16);
  const SelectOutcome outcome = run.allocate(allocationOptions(school.s.f.session()));
  EXPECT_EQ(outcome.end, SelectEnd::Stopped);
  EXPECT_EQ(outcome.indents, 1);
  EXPECT_EQ(school.allocated(school.cluster1), 4);
  EXPECT_EQ(school.allocated(school.simple1), 0);
  EXPECT_EQ(progress.label, "Done");
  expectAuditPasses();
}

}  // namespace
}  // namespace tavrel::engine
