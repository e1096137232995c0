#include "core/indents/single_allocation.h"

#include <gtest/gtest.h>

#include "core/indents/activation.h"
#include "core/store/counter_recount.h"
#include "tests/core/indents/indent_school.h"
#include "tests/core/indents/test_allocator.h"

namespace tavrel::indents {
namespace {

using testing::SchoolFixture;

struct OneIndent {
  SchoolFixture f;
  Uncommitted scratch{f.store()};
  int c1 = f.addClass("1A");
  int c2 = f.addClass("1B");
  int group = f.addClass("1A+1B", {c1, c2});
  int r1 = f.addResource("ADAMS");
  int team = f.addResource("TEAM", {r1});
  int maths = f.addSubject("Maths");
  FixedClock clock;

  int active(IndentSpec spec) {
    const int serial = makeIndent(f, spec);
    EXPECT_TRUE(MakeActv(f.session(), serial, Interaction::Interactive).activated);
    return serial;
  }
  IndentSpec spec(int count) const {
    return {.cls = group, .resource = team, .subject = maths, .count = count};
  }
};

TEST(SingleAllocation, TheEngineReceivesTheMissingPeriodsInItsParameterRows) {
  OneIndent s;
  const int serial = s.active(s.spec(3));
  s.f.place(serial, 1, 1);
  UnwiredAllocator none;
  const AllocationResult result = MakeAlloc(s.f.session(), none, serial);
  EXPECT_FALSE(result.report.attempted);
  const auto rows = s.f.store().table<store::TAPara>().all();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].PSERIALNO, serial);
  EXPECT_EQ(rows[0].PNOOFLEC, 2);
  EXPECT_EQ(rows[0].PNOLECALL, 0);
  EXPECT_EQ(rows[0].PREARRNG, "R");
  const auto rearrange = s.f.store().table<store::TRPara>().all();
  ASSERT_EQ(rearrange.size(), 1u);
  EXPECT_EQ(rearrange[0].RNOOFLEC, 2);
  EXPECT_EQ(rearrange[0].RREARRNG, "T");

  // Without an engine nothing is placed, and the person is told so rather than that it failed.
  s.f.prompter().expectMessage(MessageKind::Information, kEngineNotWired);
  EXPECT_EQ(AllocateIndent(s.f.session(), none, s.clock, serial).followUp, AllocateFollowUp::None);
  EXPECT_EQ(s.f.indent(serial).ANOLECALL, 1);
}

TEST(SingleAllocation, ClosingMessagesAndTheHelpForAnIncompleteIndent) {
  OneIndent s;
  FixtureAllocator engine(s.f);
  const int complete = s.active(s.spec(3));
  s.f.prompter().expectMessage(MessageKind::Information,
                               "3/3 periods allocated for this indent.Time elapsed: 0:0:0.");
  EXPECT_EQ(AllocateIndent(s.f.session(), engine, s.clock, complete).followUp, AllocateFollowUp::None);
  EXPECT_EQ(s.f.indent(complete).ANOLECALL, 3);

  FixtureAllocator slow(s.f, 1);
  const int unconstrained = s.active(s.spec(3));
  const std::string incomplete =
      "1/3 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.";
  s.f.prompter().expectQuestion(MessageKind::Information, incomplete, false);
  EXPECT_EQ(AllocateIndent(s.f.session(), slow, s.clock, unconstrained).followUp, AllocateFollowUp::None);
  s.f.prompter().expectQuestion(
      MessageKind::Information,
      "2/3 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.", true);
  s.f.prompter().expectMessage(MessageKind::Information,
                               "Allocation of this indent is not feasible.The reason could be that there are "
                               "too many indents with constraints "
                               "- as a result Tavrel does not have the opportunity to shuffle the timetable "
                               "to make the allocation possible.");
  EXPECT_EQ(AllocateIndent(s.f.session(), slow, s.clock, unconstrained).followUp, AllocateFollowUp::None);

  slow.report.diagnosis.NeedContinuity = 2;
  const int blocked = s.active(s.spec(2));
  s.f.prompter().expectQuestion(
      MessageKind::Information,
      "1/2 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.", true);
  EXPECT_EQ(AllocateIndent(s.f.session(), slow, s.clock, blocked).followUp, AllocateFollowUp::OpenAssistance);
  EXPECT_TRUE(store::recountCounters(s.f.store(), 1).clean());
}

TEST(SingleAllocation, AConstrainedIndentMayDropItsConstraintAndTryAgain) {
  OneIndent s;
  IndentSpec spec = s.spec(3);
  spec.constraint = "(Day in [MONDAY])";
  spec.days = ",1";
  spec.periods = ",1,2,3,4,5,6,7,8,9,10,11,";
  const int serial = s.active(spec);
  FixtureAllocator engine(s.f, 1);
  engine.report.shortOf = {{store::OwnerKind::Class, s.group}, {store::OwnerKind::Resource, s.team}};
  s.f.prompter().expectQuestion(
      MessageKind::Information,
      "1/3 periods allocated for this indent.Time elapsed: 0:0:0. Select Yes for assistance.", true);
  s.f.prompter().expectQuestion(MessageKind::Information,
                                "Change the indent constraint after reviewing the availability of 1A+1B and "
                                "TEAM.You will need to check the "
                                "availability of each of the group constituents since the 1A+1B and TEAM are "
                                "a group. Select Yes to remove the "
                                "constraint altogether and allocate.",
                                true);
  s.f.prompter().expectMessage(MessageKind::Information,
                               "3/3 periods allocated for this indent.Time elapsed: 0:0:0.");
  // The first attempt places one block only; the second, without the constraint, the rest.
  struct Widening final : IndentAllocator {
    FixtureAllocator& inner;
    explicit Widening(FixtureAllocator& e) : inner(e) {}
    bool wired() const override { return true; }
    EngineReport allocate(store::Session& session, int serial) override {
      EngineReport report = inner.allocate(session, serial);
      inner.limit_ = 1000;
      return report;
    }
  } widening(engine);
  EXPECT_EQ(AllocateIndent(s.f.session(), widening, s.clock, serial).followUp, AllocateFollowUp::None);
  EXPECT_EQ(s.f.indent(serial).AQUERY, "None");
  EXPECT_EQ(s.f.indent(serial).ALISTDAY, ",1,2,3,4,5,6,7,8,9");
  EXPECT_EQ(engine.attempts, 2);
}

TEST(SingleAllocation, ElapsedTimeIsUnpadded) {
  using namespace std::chrono;
  EXPECT_EQ(elapsedText(seconds(0)), "Time elapsed: 0:0:0");
  EXPECT_EQ(elapsedText(hours(13) + minutes(5) + seconds(9)), "Time elapsed: 13:5:9");
}

}  // namespace
}  // namespace tavrel::indents
