#include "core/engine/checks.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/engine/parameters.h"
#include "core/engine/table_slots.h"
#include "core/engine/working_set.h"
#include "tests/core/engine/engine_school.h"

namespace tavrel::engine {
namespace {

using namespace store;

// The same school judged through each implementation of the slot interface.
struct InMemory {
  WorkingSet set;
  SilentProgress progress;
  bool opened = false;

  WorkingSet& open(testing::EngineSchool& school) {
    if (!opened) opened = set.load(school.f.store(), school.f.school(), LoadMode::Fresh, progress);
    return set;
  }
  void close() { set.ClearMem(); }
};

struct InTables {
  std::unique_ptr<Transaction> transaction;  // rolled back: the tables end as they began
  std::unique_ptr<TableSlots> slots;

  TableSlots& open(testing::EngineSchool& school) {
    if (!slots) {
      transaction = std::make_unique<Transaction>(school.f.store());
      slots = std::make_unique<TableSlots>(school.f.store(), school.f.school());
    }
    return *slots;
  }
  void close() {
    slots.reset();
    transaction.reset();
  }
};

template <class Mode>
class PlacementChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& f = s.f;
    Transaction tx(f.store());
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    pair = f.addClass("1AB", {c1, c2});
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    team = f.addResource("TEAM", {r1, r2});
    maths = f.addSubject("Maths");
    mathsA = f.addSubject("Maths(*A)");
    mathsB = f.addSubject("Maths(*B)");
    art = f.addSubject("Art");
    c1Maths = s.indent({.cls = c1, .resource = r1, .subject = maths, .periods = 4});
    c1MathsA = s.indent({.cls = c1, .resource = r1, .subject = mathsA, .periods = 2});
    c1Block = s.indent({.cls = c1, .resource = r1, .subject = art, .periods = 4, .clusterOf = 2});
    pairTeam = s.indent({.cls = pair, .resource = team, .subject = art, .periods = 2});
    c2Art = s.indent({.cls = c2, .resource = r2, .subject = art, .periods = 1});
    tx.commit();
  }

  // Every change went through the slot interface and is gone with it: the school is as built.
  void TearDown() override {
    mode.close();
    EXPECT_TRUE(s.audit().passed());
  }

  auto& slots() { return mode.open(s); }
  IndentInHand inHand(int serial) {
    return slots().prepare(allocationParameters(s.f.indent(serial), 1, kFirstAttempt));
  }
  bool limits(const IndentInHand& indent, int day, int period, int size = 1) {
    return CheckLimits(
        CheckContext<std::remove_reference_t<decltype(slots())>>{slots(), rules, indent, vacated}, day,
        period, size);
  }
  auto context(const IndentInHand& indent) {
    return CheckContext<std::remove_reference_t<decltype(slots())>>{slots(), rules, indent, vacated};
  }
  // Another indent's period in the resource's row (or the class's).
  void busyResource(int resource, int day, int period) {
    slots().setResourceCell(resource, day, period, {c2, art, 99, 0, 0}, {});
  }
  void busyClass(int cls, int day, int period, int subject) {
    slots().setClassCell(cls, day, period, {r2, subject, 99, 0, 0}, {});
  }

  testing::EngineSchool s;
  Mode mode;
  PlacementRules rules;
  std::optional<VacatedBlock> vacated;
  int c1, c2, pair, r1, r2, team, maths, mathsA, mathsB, art;
  int c1Maths, c1MathsA, c1Block, pairTeam, c2Art;
};

using Modes = ::testing::Types<InMemory, InTables>;
class ModeNames {
 public:
  template <class T>
  static std::string GetName(int) {
    return std::is_same_v<T, InMemory> ? "InMemory" : "InTables";
  }
};
TYPED_TEST_SUITE(PlacementChecks, Modes, ModeNames);

TYPED_TEST(PlacementChecks, ContinuityCountsTheWholeRunThroughTheNewPeriod) {
  this->rules.continuity = true;
  for (int period : {2, 3, 5}) this->busyResource(this->r1, 1, period);
  const IndentInHand indent = this->inHand(this->c1Maths);
  EXPECT_FALSE(ChkCon(this->context(indent), 1, 4, 1));  // 2, 3, 4, 5: four in a row, limit 3
  EXPECT_TRUE(ChkCon(this->context(indent), 1, 6, 1));   // 5, 6
  this->rules.continuity = false;
  EXPECT_TRUE(ChkCon(this->context(indent), 1, 4, 1));
}

TYPED_TEST(PlacementChecks, AContinuityLimitOfZeroAllowsNothing) {
  this->s.editResource(this->r1, [](TTeac& r) { r.TMAXCON = 0; });
  this->rules.continuity = true;
  const IndentInHand indent = this->inHand(this->c1Maths);
  EXPECT_FALSE(ChkCon(this->context(indent), 1, 1, 1));
}

TYPED_TEST(PlacementChecks, AVacatedBlockEndsTheScanOnlyOnItsOwnSide) {
  this->rules.continuity = true;
  for (int period : {2, 4, 5}) this->busyResource(this->r1, 1, period);
  this->vacated = VacatedBlock{1, 2, 1};
  const IndentInHand indent = this->inHand(this->c1Maths);
  EXPECT_TRUE(ChkCon(this->context(indent), 1, 3, 1));  // 3, 4, 5
  this->busyResource(this->r1, 1, 6);
  EXPECT_FALSE(ChkCon(this->context(indent), 1, 3, 1));  // 3, 4, 5, 6 although 2 is being vacated
}

TYPED_TEST(PlacementChecks, AClusterBlockCannotRunPastTheLastPeriod) {
  const IndentInHand indent = this->inHand(this->c1Block);
  const SlotMap map = buildSlotMap(this->slots(), indent, nullptr);
  EXPECT_FALSE(blockFits(this->context(indent), map, 3, 12));
  EXPECT_TRUE(blockFits(this->context(indent), map, 3, 11));
}

TYPED_TEST(PlacementChecks, AdjacencyKeepsASubjectAndItsVariantsApart) {
  this->busyClass(this->c1, 1, 2, this->maths);
  this->busyClass(this->c1, 2, 2, this->mathsB);
  const IndentInHand variant = this->inHand(this->c1MathsA);
  EXPECT_FALSE(ChkSCon(this->context(variant), 1, 3));  // Maths(*A) after Maths
  EXPECT_FALSE(ChkSCon(this->context(variant), 1, 1));  // and before it
  EXPECT_TRUE(ChkSCon(this->context(variant), 1, 4));
  const IndentInHand base = this->inHand(this->c1Maths);
  EXPECT_FALSE(ChkSCon(this->context(base), 2, 3));  // Maths after Maths(*B)
  this->rules.clusterPermission = true;
  EXPECT_TRUE(ChkSCon(this->context(variant), 1, 3));
  EXPECT_TRUE(ChkSCon(this->context(base), 2, 3));
}

TYPED_TEST(PlacementChecks, APerDaySubjectLimitIsReachedOnItsDayOnly) {
  this->s.setSubjectLimit(this->c1, this->maths, 2);
  const IndentInHand indent = this->inHand(this->c1Maths);
  this->slots().addSubjectDay(indent, 3, 2);
  EXPECT_FALSE(this->limits(indent, 3, 1));
  EXPECT_TRUE(this->limits(indent, 4, 1));
  this->slots().addSubjectDay(indent, 3, -2);
}

TYPED_TEST(PlacementChecks, WithoutALimitRecordOnlyTableModeMayPlace) {
  {
    Transaction tx(this->s.f.store());
    this->s.f.store().template table<TSOcc>().removeRange(TSOcc::primary, {1, this->c1, this->maths});
    tx.commit();
  }
  const IndentInHand indent = this->inHand(this->c1Maths);
  constexpr bool tableMode = std::remove_reference_t<decltype(this->slots())>::kMode == SlotMode::Tables;
  EXPECT_EQ(this->limits(indent, 1, 1), tableMode);
}

TYPED_TEST(PlacementChecks, AGroupClassNeedsItsOwnCellAndEveryMembersFree) {
  const IndentInHand indent = this->inHand(this->pairTeam);
  EXPECT_TRUE(this->limits(indent, 2, 2));
  this->busyClass(this->c2, 2, 2, this->maths);
  EXPECT_FALSE(this->limits(indent, 2, 2));
  this->slots().setClassCell(this->pair, 2, 3, {kNotAvailable, kNotAvailable, 0, 0, 0}, {});
  EXPECT_FALSE(this->limits(indent, 2, 3));
  this->slots().setClassCell(this->pair, 2, 3, SlotContent::freeCell(), {});
}

TYPED_TEST(PlacementChecks, GroupResourceMembersKeepTheirOwnLimits) {
  this->s.editResource(this->r2, [](TTeac& r) {
    r.TMAXLEC = 1;
    r.TMAXCON = 1;
  });
  this->rules.continuity = true;
  const IndentInHand indent = this->inHand(this->pairTeam);
  this->slots().addResourceDay(this->r2, 2, 1);
  EXPECT_FALSE(this->limits(indent, 2, 5));
  EXPECT_TRUE(this->limits(indent, 3, 5));
  this->slots().addResourceDay(this->r2, 2, -1);
  this->busyResource(this->r2, 4, 1);
  EXPECT_FALSE(ChkCon(this->context(indent), 4, 2, 1));  // a run of 2 for BAKER, whose limit is 1
  EXPECT_TRUE(ChkCon(this->context(indent), 4, 3, 1));
}

// ---- Table mode only -----------------------------------------------------------------------------

class TableModeChecks : public PlacementChecks<InTables> {};

TEST_F(TableModeChecks, DiagnosisRecordsEveryLimitInTheWayAndKeepsTheCellUnused) {
  s.editResource(r1, [](TTeac& r) { r.TMAXLEC = 1; });
  const IndentInHand indent = inHand(c1Maths);
  slots().addResourceDay(r1, 1, 1);
  slots().addSubjectDay(indent, 1, 1);
  Diagnosis diagnosis;
  const SlotMap map = buildSlotMap(slots(), indent, nullptr);
  CheckContext<TableSlots> c{slots(), rules, indent, vacated, &diagnosis};
  EXPECT_FALSE(regularFits(c, map, 1, 3));
  EXPECT_EQ(diagnosis.NeedResourceDay, 2);
  EXPECT_EQ(diagnosis.NeedSubjectDay, 2);
  EXPECT_TRUE(diagnosis.LimitOnly);
  EXPECT_FALSE(diagnosis.ResourceBusy);
}

TEST_F(TableModeChecks, ACellWithoutARowNeverBlocksAndIsNeverUsed) {
  {
    Transaction tx(s.f.store());
    s.f.store().table<TTtbl>().remove(s.f.cell('C', c2, 1, 1));
    tx.commit();
  }
  const IndentInHand indent = inHand(pairTeam);
  EXPECT_EQ(slots().classPartner(c2, 1, 1), kNoRow);
  EXPECT_TRUE(limits(indent, 1, 1));                               // a member without the row is passed over
  EXPECT_FALSE(buildSlotMap(slots(), inHand(c2Art), nullptr)[0]);  // but no period of its own goes there
  mode.close();
  TTtbl row{.TSCHOOL = 1,
            .TTYPE = "C",
            .TCLASS = c2,
            .TTEACHER = 999,
            .TSUBJECT = 999,
            .TDAY = 1,
            .TLECTNO = 1,
            .TSCHL = c2};
  Transaction tx(s.f.store());
  s.f.store().table<TTtbl>().insert(row);
  tx.commit();
}

}  // namespace
}  // namespace tavrel::engine
