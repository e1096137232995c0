// "Allocate Indent" with the allocation engine behind it: the closing texts, the assistance it
// leads to, and the help for an indent that nothing can relax.
#include <gtest/gtest.h>

#include "core/engine/allocation_assistance.h"
#include "core/indents/engine_allocator.h"
#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"

namespace tavrel::indents {
namespace {

using namespace store;

constexpr const char* kNotFeasible =
    "Allocation of this indent is not feasible.The reason could be that there are too many indents with "
    "constraints - as a result Tavrel does not have the opportunity to shuffle the timetable to make the "
    "allocation possible.";

struct IndentWindow {
  testing::EngineSchool s;
  testing::FakeClock clock;
  SilentProgress progress;
  EngineAllocator engine{progress, clock, {.seed = 1}};
  int c1 = 0, r1 = 0, r2 = 0, maths = 0, art = 0;

  IndentWindow() {
    Transaction tx(s.f.store());
    c1 = s.f.addClass("1A");
    r1 = s.f.addResource("ADAMS");
    r2 = s.f.addResource("BAKER");
    maths = s.f.addSubject("Maths");
    art = s.f.addSubject("Art");
    tx.commit();
  }

  // Two periods wanted in periods 1 and 2 of Monday.
  int mondayPair() {
    return s.indent({.cls = c1,
                     .resource = r1,
                     .subject = maths,
                     .periods = 2,
                     .days = ",1",
                     .periodList = ",1,2",
                     .subjectPerDay = 2,
                     .resourcePerDay = 2});
  }
  // A "SPECIFIC" indent of another resource that holds the class's Monday periods 1 and 2.
  void holdMondayPair() {
    const int held = s.indent({.cls = c1,
                               .resource = r2,
                               .subject = art,
                               .periods = 2,
                               .priority = "A",
                               .subjectPerDay = 2,
                               .resourcePerDay = 2});
    s.f.place(held, 1, 1);
    s.f.place(held, 1, 2);
  }
  AllocateIndentResult allocate(int serial) { return AllocateIndent(s.f.session(), engine, clock, serial); }
  void expectAsked(const std::string& text, bool answer) {
    s.f.prompter().expectQuestion(MessageKind::Information, text, answer);
  }
  void expectAuditPasses() {
    const engine::AuditReport audit = s.audit();
    EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
  }
};

TEST(IndentAllocation, ACompleteIndentIsReported) {
  IndentWindow w;
  const int serial = w.s.indent({.cls = w.c1, .resource = w.r1, .subject = w.maths, .periods = 3});
  w.s.f.prompter().expectMessage(MessageKind::Information,
                                 "3/3 periods allocated for this indent.Time elapsed: 0:0:0.");
  EXPECT_EQ(w.allocate(serial).followUp, AllocateFollowUp::None);
  EXPECT_EQ(w.s.f.indent(serial).ANOLECALL, 3);
  EXPECT_EQ(w.s.f.session().AllocMode, 'S');
  const auto parameters = w.s.f.store().table<TAPara>().all();
  ASSERT_EQ(parameters.size(), 1u);
  EXPECT_EQ(parameters[0].PSERIALNO, serial);
  w.expectAuditPasses();
}

// The adjacency rule holds the second period back; the assistance permits it, the indent is
// allocated again, and the cluster permission is put back afterwards.
TEST(IndentAllocation, AFindingLeadsToTheAssistanceAndASecondAttempt) {
  IndentWindow w;
  const int serial = w.mondayPair();
  w.expectAsked("1/2 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.",
                true);
  const AllocateIndentResult first = w.allocate(serial);
  ASSERT_EQ(first.followUp, AllocateFollowUp::OpenAssistance);
  EXPECT_TRUE(first.diagnosis.AdjacencyBlocked);
  const engine::Assistance offered = engine::assistanceFor(w.s.f.session(), serial, first.diagnosis);
  EXPECT_EQ(offered.rows.back().value, "Apply");
  EXPECT_TRUE(offered.rows.back().enabled);

  const bool before = w.s.f.session().ClusterPermission;
  engine::allocateAuto(w.s.f.session(), serial, first.diagnosis);
  EXPECT_TRUE(w.s.f.session().ClusterPermission);
  w.s.f.prompter().expectMessage(MessageKind::Information,
                                 "2/2 periods allocated for this indent.Time elapsed: 0:0:0.");
  EXPECT_EQ(AllocateAfterAssistance(w.s.f.session(), w.engine, w.clock, serial, before).followUp,
            AllocateFollowUp::None);
  EXPECT_FALSE(w.s.f.session().ClusterPermission);
  EXPECT_EQ(w.s.f.indent(serial).ANOLECALL, 2);
  w.expectAuditPasses();
}

TEST(IndentAllocation, DeclinedAssistanceChangesNothing) {
  IndentWindow w;
  const int serial = w.mondayPair();
  w.expectAsked("1/2 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.",
                false);
  EXPECT_EQ(w.allocate(serial).followUp, AllocateFollowUp::None);
  EXPECT_EQ(w.s.f.indent(serial).ANOLECALL, 1);
  w.expectAuditPasses();
}

// Nothing to relax: the class has no free period where the indent may go.
TEST(IndentAllocation, WithoutAConstraintTheIndentIsNotFeasible) {
  IndentWindow w;
  w.holdMondayPair();
  const int serial = w.mondayPair();
  w.expectAsked("0/2 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.",
                true);
  w.s.f.prompter().expectMessage(MessageKind::Information, kNotFeasible);
  EXPECT_EQ(w.allocate(serial).followUp, AllocateFollowUp::None);
  EXPECT_EQ(w.s.f.indent(serial).ANOLECALL, 0);
  w.expectAuditPasses();
}

// With a constraint the engine names the class that is short of free periods, and the constraint
// may go: the indent is then allocated across the week.
TEST(IndentAllocation, AConstrainedIndentNamesWhatIsShortAndMayDropTheConstraint) {
  IndentWindow w;
  w.holdMondayPair();
  const int serial = w.mondayPair();
  w.s.editIndent(serial, [](TAlloc& i) { i.AQUERY = "(Day in [MONDAY])"; });
  w.expectAsked("0/2 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.",
                true);
  w.expectAsked(
      "Change the indent constraint after reviewing the availability of 1A. Select Yes to remove the "
      "constraint altogether and allocate.",
      true);
  w.s.f.prompter().expectMessage(MessageKind::Information,
                                 "2/2 periods allocated for this indent.Time elapsed: 0:0:0.");
  EXPECT_EQ(w.allocate(serial).followUp, AllocateFollowUp::None);
  EXPECT_EQ(w.s.f.indent(serial).AQUERY, "None");
  EXPECT_EQ(w.s.f.indent(serial).ANOLECALL, 2);
  w.expectAuditPasses();
}

}  // namespace
}  // namespace tavrel::indents
