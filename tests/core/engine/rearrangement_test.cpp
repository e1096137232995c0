#include "core/engine/rearrangement.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/engine/table_slots.h"
#include "core/engine/working_set.h"
#include "core/engine/write_back.h"
#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"

namespace tavrel::engine {
namespace {

using namespace store;
using namespace std::chrono_literals;

// The rearrangement over each implementation of the slot interface; what it leaves is written to
// the tables (memory) or committed (tables) and audited.
struct InMemory {
  WorkingSet set;
  SilentProgress silent;
  WorkingSet& open(testing::EngineSchool& school) {
    if (!set.loaded()) set.load(school.f.store(), school.f.school(), LoadMode::Fresh, silent);
    return set;
  }
  void finish(testing::EngineSchool& school) {
    if (set.loaded()) UnLodLim(set, school.f.store(), school.f.prompter(), silent);
  }
};

struct InTables {
  std::unique_ptr<Transaction> transaction;
  std::unique_ptr<TableSlots> slots;
  TableSlots& open(testing::EngineSchool& school) {
    if (!slots) {
      transaction = std::make_unique<Transaction>(school.f.store());
      slots = std::make_unique<TableSlots>(school.f.store(), school.f.school());
    }
    return *slots;
  }
  void finish(testing::EngineSchool&) {
    slots.reset();
    if (transaction) transaction->commit();
    transaction.reset();
  }
};

template <class Mode>
class Rearrangement : public ::testing::Test {
 protected:
  // One day of `periods` periods keeps every position in view.
  void build(int periods) {
    school =
        std::make_unique<testing::EngineSchool>(testing::SchoolFixture::Options{.swrkdays = 100 + periods});
    auto& f = school->f;
    Transaction tx(f.store());
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    c3 = f.addClass("1C");
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    subject = f.addSubject("Maths");
    tx.commit();
  }

  void TearDown() override {
    if (!school) return;
    mode.finish(*school);
    EXPECT_TRUE(school->audit().passed()) << ::testing::PrintToString(school->audit().texts());
  }

  auto& slots() { return mode.open(*school); }

  int indent(int cls, int resource, int periods, const std::string& periodList, int clusterOf = 0,
             const std::string& priority = "") {
    return school->indent({.cls = cls,
                           .resource = resource,
                           .subject = subject,
                           .periods = periods,
                           .clusterOf = clusterOf,
                           .priority = priority,
                           .periodList = periodList,
                           .subjectPerDay = 12,
                           .resourcePerDay = 12});
  }

  // Places a period (a cluster's whole block from `period`) as the engine does.
  void place(int serial, int period) {
    const TAlloc row = *slots().indent(serial);
    const IndentInHand inHand = slots().prepare(allocationParameters(row, 1, kFirstAttempt));
    for (int q = period; q < period + inHand.blockSize; ++q) Allocate(slots(), inHand, 1, period, q);
    slots().addIndentAllocated(serial, inHand.blockSize);
    slots().addTotals(inHand, inHand.blockSize);
  }

  // One pass for `serial` as the driver runs it; returns the periods it gained.
  int rearrange(int serial, const char* pass = kResourcePass) {
    auto& s = slots();
    const TInst institution = school->f.store().institution();
    const PlacementRules rules = PlacementRules::of(institution, *school->f.session().school(), true);
    RunRandom random(1);
    Placer<std::remove_reference_t<decltype(s)>> placer(s, rules, random, school->f.prompter());
    Rearranger<std::remove_reference_t<decltype(s)>> rearranger(
        s, placer, PassLimits{clock, progress, 3min, stopRequested});
    const TAlloc row = *s.indent(serial);
    const int before = s.indentAllocated(serial);
    rearranger.rearrange(rearrangeParameters(row, row.ANOOFLEC - before, pass), row.ANOOFLEC - before);
    const int gained = s.indentAllocated(serial) - before;
    s.addTotals(s.prepare(allocationParameters(row, 0, kReattempt)), gained);
    return gained;
  }

  int serialAt(int resource, int period) { return slots().resourceCell(resource, 1, period).serial; }

  std::unique_ptr<testing::EngineSchool> school;
  Mode mode;
  testing::FakeClock clock;
  testing::RunProgress progress;
  bool stopRequested = false;
  int c1, c2, c3, r1, r2, subject;
};

using Modes = ::testing::Types<InMemory, InTables>;
class ModeNames {
 public:
  template <class T>
  static std::string GetName(int) {
    return std::is_same_v<T, InMemory> ? "InMemory" : "InTables";
  }
};
TYPED_TEST_SUITE(Rearrangement, Modes, ModeNames);

TYPED_TEST(Rearrangement, MovesTheOccupantOfTheResourceAndPlacesTheFailingIndent) {
  this->build(4);
  const int occupant = this->indent(this->c2, this->r1, 1, ",1,2,3,4");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(occupant, 1);
  EXPECT_EQ(this->rearrange(failing), 1);
  EXPECT_EQ(this->serialAt(this->r1, 1), failing);
  EXPECT_EQ(this->slots().indentAllocated(occupant), 1);
}

TYPED_TEST(Rearrangement, NeverMovesASpecificIndent) {
  this->build(4);
  const int specific = this->indent(this->c2, this->r1, 1, ",1,2,3,4", 0, "A");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(specific, 1);
  EXPECT_EQ(this->rearrange(failing), 0);
  EXPECT_EQ(this->serialAt(this->r1, 1), specific);
}

TYPED_TEST(Rearrangement, AClusterBlockMovesWholeWhereverItIsMet) {
  this->build(8);
  const int block = this->indent(this->c2, this->r1, 3, ",1,2,3,4,5,6,7,8", 3);
  const int middle = this->indent(this->c1, this->r1, 1, ",5");
  this->place(block, 4);  // periods 4 to 6: the wanted period 5 is the middle of the block
  EXPECT_EQ(this->rearrange(middle), 1);
  EXPECT_EQ(this->serialAt(this->r1, 5), middle);
  for (int period : {4, 6}) EXPECT_NE(this->serialAt(this->r1, period), block);
  EXPECT_EQ(this->slots().indentAllocated(block), 3);  // the audit checks the block is whole
}

TYPED_TEST(Rearrangement, AFreeCandidateCountsWithoutAMove) {
  this->build(4);
  const int failing = this->indent(this->c1, this->r1, 1, ",2");
  EXPECT_EQ(this->rearrange(failing), 1);
  EXPECT_EQ(this->serialAt(this->r1, 2), failing);
}

TYPED_TEST(Rearrangement, AMovedOccupantNeverLandsWhereTheFailingIndentMayGo) {
  this->build(6);
  const int first = this->indent(this->c2, this->r1, 1, ",1,2,3,4,5,6");
  const int second = this->indent(this->c3, this->r1, 1, ",1,2,3,4,5,6");
  const int failing = this->indent(this->c1, this->r1, 2, ",1,2");
  this->place(first, 1);
  this->place(second, 2);
  EXPECT_EQ(this->rearrange(failing), 2);
  EXPECT_EQ(this->serialAt(this->r1, 1), failing);
  EXPECT_EQ(this->serialAt(this->r1, 2), failing);
}

TYPED_TEST(Rearrangement, StopEndsTheSweepAfterTheMoveInHand) {
  this->build(6);
  const int first = this->indent(this->c2, this->r1, 1, ",1,2,3,4,5,6");
  const int second = this->indent(this->c3, this->r1, 1, ",1,2,3,4,5,6");
  const int failing = this->indent(this->c1, this->r1, 2, ",1,2");
  this->place(first, 1);
  this->place(second, 2);
  this->progress.stopWhen = [](const testing::RunProgress& p) { return p.pumps == 1; };
  EXPECT_EQ(this->rearrange(failing), 1);
  EXPECT_TRUE(this->stopRequested);
  EXPECT_EQ(this->serialAt(this->r1, 2), second);
}

TYPED_TEST(Rearrangement, EndsAtItsTimeLimit) {
  this->build(4);
  const int occupant = this->indent(this->c2, this->r1, 1, ",1,2,3,4");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(occupant, 1);
  this->clock.tick = 4min;
  EXPECT_EQ(this->rearrange(failing), 0);
  EXPECT_EQ(this->serialAt(this->r1, 1), occupant);
}

TYPED_TEST(Rearrangement, TheClassPassMovesTheOccupantOfTheClass) {
  this->build(4);
  const int occupant = this->indent(this->c1, this->r2, 1, ",1,2,3,4");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(occupant, 1);
  EXPECT_EQ(this->rearrange(failing, kClassPass), 1);
  EXPECT_EQ(this->serialAt(this->r1, 1), failing);
  EXPECT_EQ(this->slots().classCell(this->c1, 1, 1).serial, failing);
}

TYPED_TEST(Rearrangement, TheSecondLevelMakesRoomForAnOccupantThatCouldNotMove) {
  this->build(3);
  // The occupant of period 1 could only go to period 2, which another indent of the resource
  // holds; that one can go to period 3.
  const int occupant = this->indent(this->c2, this->r1, 1, ",1,2");
  const int blocker = this->indent(this->c3, this->r1, 1, ",2,3");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(occupant, 1);
  this->place(blocker, 2);
  EXPECT_EQ(this->rearrange(failing), 1);
  EXPECT_EQ(this->serialAt(this->r1, 1), failing);
  EXPECT_EQ(this->serialAt(this->r1, 2), occupant);
  EXPECT_EQ(this->serialAt(this->r1, 3), blocker);
}

TYPED_TEST(Rearrangement, ChainsOpenACellThatIsBusyOnBothSides) {
  this->build(4);
  // The failing indent may only use period 1, where its class and its resource both teach: neither
  // pass sees that cell as a candidate, as each needs the other side free.
  const int classSide = this->indent(this->c1, this->r2, 1, ",1,2,3,4");
  const int resourceSide = this->indent(this->c2, this->r1, 1, ",1,2,3,4");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(classSide, 1);
  this->place(resourceSide, 1);
  EXPECT_EQ(this->rearrange(failing), 1);
  EXPECT_EQ(this->serialAt(this->r1, 1), failing);
  EXPECT_EQ(this->slots().indentAllocated(classSide), 1);
  EXPECT_EQ(this->slots().indentAllocated(resourceSide), 1);
}

TYPED_TEST(Rearrangement, ChainsMakeRoomForAnOccupantBeforeMovingIt) {
  this->build(3);
  // Period 1 of the resource is wanted; its occupant may only go to period 2, where its own class
  // is busy with an indent of another resource, which can go to period 3.
  const int occupant = this->indent(this->c2, this->r1, 1, ",1,2");
  const int inTheWay = this->indent(this->c2, this->r2, 1, ",2,3");
  const int failing = this->indent(this->c1, this->r1, 1, ",1");
  this->place(occupant, 1);
  this->place(inTheWay, 2);
  EXPECT_EQ(this->rearrange(failing), 1);
  EXPECT_EQ(this->serialAt(this->r1, 1), failing);
  EXPECT_EQ(this->serialAt(this->r1, 2), occupant);
  EXPECT_EQ(this->serialAt(this->r2, 3), inTheWay);
}

}  // namespace
}  // namespace tavrel::engine
