#include "core/engine/working_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/engine/placement.h"
#include "core/engine/quick_save.h"
#include "core/engine/write_back.h"
#include "tests/core/engine/engine_school.h"
#include "tests/support/recording_progress.h"

namespace tavrel::engine {
namespace {

namespace fs = std::filesystem;
using namespace store;

// A group class with two members and a class on its own; a group resource with two members and a
// resource on its own; regular, cluster and group indents; one passive indent whose periods are
// already in the timetable.
class WorkingSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& f = s.f;
    Transaction tx(f.store());
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    pair = f.addClass("1AB", {c1, c2});
    c3 = f.addClass("2A");
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    team = f.addResource("TEAM", {r1, r2});
    r3 = f.addResource("CLARK");
    maths = f.addSubject("Maths");
    art = f.addSubject("Art");
    s.indent({.cls = pair, .resource = team, .subject = maths, .periods = 3});
    s.indent({.cls = c1, .resource = r3, .subject = art, .periods = 4});
    s.indent({.cls = c3, .resource = r1, .subject = maths, .periods = 5});
    s.indent({.cls = c3, .resource = r3, .subject = art, .periods = 4, .clusterOf = 2});
    passive = s.indent({.cls = c2, .resource = r2, .subject = art, .periods = 2, .active = false});
    f.place(passive, 6, 1);
    f.place(passive, 7, 1);
    tx.commit();
  }

  // Whatever a test did, what it wrote back keeps every rule.
  void TearDown() override { EXPECT_TRUE(s.audit().passed()) << ::testing::PrintToString(s.audit().texts()); }

  WorkingSet& loaded() {
    EXPECT_TRUE(set.load(s.f.store(), s.f.school(), LoadMode::Fresh, silent));
    return set;
  }

  // What the batch does for each indent, without the rearrangement.
  void placeEveryIndent(std::uint64_t seed = 7) {
    RunRandom random(seed);
    const TInst institution = s.f.store().institution();
    const PlacementRules rules = PlacementRules::of(institution, *s.f.session().school(), false);
    Placer<WorkingSet> placer(set, rules, random, s.f.prompter());
    for (int serial : set.batchOrder()) {
      const TAlloc indent = *set.indent(serial);
      const int before = set.SRLALLO[serial];
      TAPara para = allocationParameters(indent, indent.ANOOFLEC - before, kFirstAttempt);
      placer.lecalloc(para);
      set.addTotals(set.prepare(para), set.SRLALLO[serial] - before);
    }
  }

  testing::EngineSchool s;
  WorkingSet set;
  SilentProgress silent;
  int c1, c2, pair, c3, r1, r2, team, r3, maths, art, passive;
};

TEST_F(WorkingSetTest, PacksEachClassesSubjectCountsPerDay) {
  // Subjects 5 and 7 for the first class, 7 for the second: SUBLIM holds 27 counts and subject 7
  // of the second class on day 3 is element 18 + 0 + 3.
  testing::EngineSchool small;
  Transaction tx(small.f.store());
  const int first = small.f.addClass("1A");
  const int second = small.f.addClass("1B");
  const int resource = small.f.addResource("ADAMS");
  for (const char* name : {"S1", "S2", "S3", "S4", "S5", "S6", "S7"}) small.f.addSubject(name);
  small.indent({.cls = first, .resource = resource, .subject = 5, .periods = 1});
  small.indent({.cls = first, .resource = resource, .subject = 7, .periods = 1});
  const int seventh = small.indent({.cls = second, .resource = resource, .subject = 7, .periods = 1});
  tx.commit();
  WorkingSet packed;
  ASSERT_TRUE(packed.load(small.f.store(), 1, LoadMode::Fresh, silent));
  EXPECT_EQ(packed.CSUBPOS[1], 0);
  EXPECT_EQ(packed.CSUBPOS[2], 18);
  EXPECT_EQ(packed.SUBLIM.Count(), 27);
  EXPECT_EQ(
      packed.prepare(allocationParameters(small.f.indent(seventh), 1, kFirstAttempt)).subjectDayBase + 3, 21);
}

TEST_F(WorkingSetTest, AFreshLoadStartsFreeExceptWhereNothingMayGo) {
  s.editCell('C', c3, 2, 4, [](TTtbl& cell) { cell.TTEACHER = cell.TSUBJECT = 0; });
  loaded();
  EXPECT_EQ(set.classPartner(c3, 2, 4), kNotAvailable);
  EXPECT_EQ(set.classPartner(c2, 6, 1), kFree);  // the passive indent's period is discarded
  EXPECT_EQ(set.resourcePartner(r2, 6, 1), kFree);
  EXPECT_EQ(set.TotalPeriods(), 3 + 4 + 5 + 4);
  EXPECT_EQ(set.CTBL.Count(), 4 * 108);
}

TEST_F(WorkingSetTest, CellsOutsideTheWeekOrWithoutRowsHoldNothing) {
  testing::EngineSchool week({.swrkdays = 508});
  Transaction tx(week.f.store());
  const int cls = week.f.addClass("1A");
  const int resource = week.f.addResource("ADAMS");
  week.f.store().table<TTtbl>().remove(week.f.cell('C', cls, 1, 1));
  tx.commit();
  WorkingSet five;
  ASSERT_TRUE(five.load(week.f.store(), 1, LoadMode::Fresh, silent));
  EXPECT_EQ(five.classPartner(cls, 1, 1), kNotAvailable);  // no row
  EXPECT_EQ(five.classPartner(cls, 1, 2), kFree);
  EXPECT_EQ(five.classPartner(cls, 6, 1), kNotAvailable);  // day 6 of a five-day week
  EXPECT_EQ(five.resourcePartner(resource, 1, 9), kNotAvailable);
}

TEST_F(WorkingSetTest, StopWhileLoadingAbandonsTheLoad) {
  testing::RecordingProgress stopAtOnce;
  stopAtOnce.cancelAtPump = 1;
  testing::EngineSchool week({.swrkdays = 508});  // plenty of rows not available: the load pumps
  week.f.addClass("1A");
  EXPECT_FALSE(set.load(week.f.store(), 1, LoadMode::Fresh, stopAtOnce));
  EXPECT_FALSE(set.loaded());
}

TEST_F(WorkingSetTest, WriteBackLeavesTheTablesAsTheWorkingSetSays) {
  loaded();
  placeEveryIndent();
  WriteBackResult result = UnLodLim(set, s.f.store(), s.f.prompter(), silent);
  EXPECT_FALSE(result.stopped);
  int placed = 0;
  for (int serial : set.batchOrder()) {
    EXPECT_EQ(s.f.indent(serial).ANOLECALL, set.SRLALLO[serial]);
    placed += set.SRLALLO[serial];
  }
  EXPECT_EQ(placed, set.TotalPeriods());
  EXPECT_EQ(s.f.indent(passive).ANOLECALL, 0);
  EXPECT_EQ(s.f.cell('C', c2, 6, 1).TSUBJECT, kFree);
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      EXPECT_EQ(s.f.cell('C', c3, day, period).TTEACHER, set.classPartner(c3, day, period));
      EXPECT_EQ(s.f.cell('T', r3, day, period).TSERIAL, set.resourceCell(r3, day, period).serial);
    }
  }
  EXPECT_TRUE(s.audit().passed()) << ::testing::PrintToString(s.audit().texts());
}

TEST_F(WorkingSetTest, AStoppedWriteBackContinuesFromTheNextClass) {
  loaded();
  placeEveryIndent();
  testing::RecordingProgress stopAfterTwo;
  stopAfterTwo.cancelAtPump = 2;
  WriteBackResult stopped = UnLodLim(set, s.f.store(), s.f.prompter(), stopAfterTwo);
  ASSERT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.reached.phase, 'C');
  EXPECT_EQ(stopped.reached.owner, 3);
  EXPECT_EQ(stopped.reached.slotIndex(), 216);
  EXPECT_FALSE(s.audit().passed());  // half old, half new
  WriteBackResult finished = UnLodPart(set, s.f.store(), s.f.prompter(), silent, stopped.reached);
  EXPECT_FALSE(finished.stopped);
  EXPECT_TRUE(s.audit().passed()) << ::testing::PrintToString(s.audit().texts());
}

TEST_F(WorkingSetTest, AQuickSaveIsReadBackExactlyFromTheSchoolsOwnFolder) {
  loaded();
  placeEveryIndent();
  writeQuickSaveFiles(set, s.f.store(), silent);
  const fs::path folder = quickSaveFolder(s.f.store(), 1);
  EXPECT_EQ(folder, s.f.store().mainFolder() / "QuickSave" / "School 1");
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 21);
  EXPECT_FALSE(fs::exists(folder.string() + ".new"));
  EXPECT_FALSE(fs::exists(folder.string() + ".old"));
  EXPECT_EQ(fs::file_size(folder / "CTBL"), 4u * 108u * 2u);

  WorkingSet resumed;
  ASSERT_TRUE(resumed.load(s.f.store(), 1, LoadMode::Resume, silent));
  ASSERT_TRUE(loadQuickSaveFiles(resumed, s.f.store(), "SCHOOL1"));
  set.forEachSaved([&](const char* name, const auto& array) {
    resumed.forEachSaved([&](const char* other, const auto& loadedArray) {
      if (std::string(name) != other) return;
      EXPECT_TRUE(std::equal(array.items().begin(), array.items().end(), loadedArray.items().begin(),
                             loadedArray.items().end()))
          << name;
    });
  });
  UnLodLim(resumed, s.f.store(), s.f.prompter(), silent);
  EXPECT_TRUE(s.audit().passed());
}

TEST_F(WorkingSetTest, AResumeRefusesFilesThatDoNotFitTheSchool) {
  loaded();
  placeEveryIndent();
  writeQuickSaveFiles(set, s.f.store(), silent);
  s.f.addClass("3A");
  WorkingSet grown;
  ASSERT_TRUE(grown.load(s.f.store(), 1, LoadMode::Resume, silent));
  Status refused = loadQuickSaveFiles(grown, s.f.store(), "SCHOOL1");
  ASSERT_FALSE(refused);
  EXPECT_EQ(
      refused.error(),
      "SCHOOL1: the allocation cannot be resumed because the quick-save file CSUBPOS holds 4 elements and "
      "the school now needs 5. Select Allocate to start afresh.");
  EXPECT_FALSE(grown.loaded());

  fs::remove(quickSaveFolder(s.f.store(), 1) / "TTBL");
  WorkingSet same;
  Transaction tx(s.f.store());
  TSchl school = *s.f.session().school();
  school.STOTCLS = 4;  // as it was saved
  s.f.store().table<TSchl>().update(school);
  ASSERT_TRUE(same.load(s.f.store(), 1, LoadMode::Resume, silent));
  Status missing = loadQuickSaveFiles(same, s.f.store(), "SCHOOL1");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error(),
            "SCHOOL1: the allocation cannot be resumed because its quick-save file TTBL is missing. Select "
            "Allocate to start afresh.");
}

TEST_F(WorkingSetTest, TheResumePointHoldsAtNineHundredAndNinetyNineOwners) {
  SaveState writing{kPhaseResourceRows, 0, WriteBackPoint{kPhaseResourceRows, 999, 107}, 40000, 0};
  recordSaveState(s.f.store(), 1, writing);
  const TSchl school = *s.f.session().school();
  EXPECT_EQ(school.SSAVEDONE, "Y");
  const SaveState read = savedState(school);
  EXPECT_EQ(read.phase, kPhaseResourceRows);
  EXPECT_EQ(read.point.owner, 999);
  EXPECT_EQ(read.point.slot, 107);
  EXPECT_EQ(read.point.slotIndex(), 998L * 108 + 107);
  recordSaveState(s.f.store(), 1, SaveState{kPhaseBatch, 4, {}, 10, 2});
  EXPECT_EQ(savedState(*s.f.session().school()).serial, 4);
}

}  // namespace
}  // namespace tavrel::engine
