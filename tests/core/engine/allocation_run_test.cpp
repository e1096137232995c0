#include "core/engine/allocation_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/engine/quick_save.h"
#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"
#include "tests/support/generated_school.h"

namespace tavrel::engine {
namespace {

namespace fs = std::filesystem;
using namespace store;
using testing::FakeClock;
using testing::RunProgress;

// Groups of classes and of resources, a cluster, a one-per-day and a constrained indent, all of
// which fit: 29 periods.
struct MixedSchool {
  testing::EngineSchool s;
  int c1, c2, pair, c3, c4, r1, r2, team, r3, r4, maths, art, music, science;
  std::vector<int> serials;

  MixedSchool() {
    auto& f = s.f;
    Transaction tx(f.store());
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    pair = f.addClass("1AB", {c1, c2});
    c3 = f.addClass("2A");
    c4 = f.addClass("2B");
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    team = f.addResource("TEAM", {r1, r2});
    r3 = f.addResource("CLARK");
    r4 = f.addResource("DAVIS");
    maths = f.addSubject("Maths");
    art = f.addSubject("Art");
    music = f.addSubject("Music");
    science = f.addSubject("Science");
    serials = {
        s.indent({.cls = pair, .resource = team, .subject = maths, .periods = 3, .priority = "K"}),
        s.indent({.cls = c1, .resource = r3, .subject = art, .periods = 4}),
        s.indent({.cls = c2, .resource = r4, .subject = music, .periods = 4}),
        s.indent(
            {.cls = c3, .resource = r1, .subject = maths, .periods = 5, .priority = "X", .onePerDay = true}),
        s.indent(
            {.cls = c3, .resource = r3, .subject = science, .periods = 4, .clusterOf = 2, .priority = "V"}),
        s.indent({.cls = c4,
                  .resource = r4,
                  .subject = art,
                  .periods = 6,
                  .priority = "Y",
                  .days = ",1,2,3",
                  .periodList = ",1,2,3,4",
                  .subjectPerDay = 2,
                  .resourcePerDay = 2}),
        s.indent({.cls = c4, .resource = r2, .subject = music, .periods = 3}),
    };
    tx.commit();
  }

  int totalPeriods() const { return 29; }
};

class AllocationRunTest : public ::testing::Test {
 protected:
  EnginePorts ports() { return EnginePorts{school.s.f.prompter(), progress, clock}; }
  std::unique_ptr<AllocationRun> window(RunSettings settings = {}) {
    if (!settings.seed) settings.seed = 11;
    return std::make_unique<AllocationRun>(school.s.f.session(), ports(), settings);
  }
  TSchl record() { return *school.s.f.session().school(); }
  void expectComplete(int total) {
    school.s.f.prompter().expectMessage(MessageKind::Information,
                                        std::to_string(total) + "/" + std::to_string(total) +
                                            " periods allocated. 100 % complete. Time elapsed: 0:0:0.");
  }
  void TearDown() override {
    EXPECT_TRUE(school.s.audit().passed()) << ::testing::PrintToString(school.s.audit().texts());
  }

  MixedSchool school;
  RunProgress progress;
  FakeClock clock;
};

TEST_F(AllocationRunTest, PlacesEverythingThatFitsAndSaysSo) {
  expectComplete(29);
  RunOutcome outcome = window()->allocate();
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_EQ(outcome.done, 29);
  EXPECT_EQ(outcome.failed, 0);
  EXPECT_FALSE(outcome.anyIncomplete);
  for (int serial : school.serials) {
    EXPECT_EQ(school.s.f.indent(serial).ANOLECALL, school.s.f.indent(serial).ANOOFLEC) << serial;
  }
  EXPECT_EQ(record().SSAVEDONE, "N");
  EXPECT_EQ(school.s.f.store().table<TAPara>().all().size(), 1u);
  EXPECT_EQ(school.s.f.store().table<TRPara>().all().size(), 1u);
  EXPECT_EQ(school.s.f.prompter().beeps, 1);
  const std::vector<std::string> categories = {"GROUP", "CLUSTER", "ONE PER DAY", "CONSTRAINT", "SIMPLE"};
  ASSERT_EQ(outcome.tallies.size(), categories.size());
  for (std::size_t i = 0; i < categories.size(); ++i) EXPECT_EQ(outcome.tallies[i].category, categories[i]);
}

// What the window's labels would show, as the run reports it.
class RecordingListener final : public RunListener {
 public:
  void labels(const RunLabels& shown) override {
    last = shown;
    if (!shown.category.empty() && (categories.empty() || categories.back() != shown.category)) {
      categories.push_back(shown.category);
    }
  }
  RunLabels last;
  std::vector<std::string> categories;
};

TEST_F(AllocationRunTest, ReportsItsProgressInTheWindowsWords) {
  RecordingListener listener;
  expectComplete(29);
  window({.listener = &listener})->allocate();
  EXPECT_EQ(listener.last.allocated, "29/29 periods allocated (100%)");
  EXPECT_EQ(listener.last.failed, "0/29 periods failed allocation (0%)");
  EXPECT_EQ(listener.last.processed, "29/29 periods processed (100%)");
  EXPECT_EQ(listener.categories.front(), "GROUP: 0/3 periods failed allocation");
  EXPECT_EQ(listener.categories.back(), "SIMPLE: 0/11 periods failed allocation");
  for (const char* label : {"Loading...", "Allocating GROUP periods...", "Allocating CLUSTER periods...",
                            "Allocating ONE PER DAY periods...", "Allocating CONSTRAINT periods...",
                            "Allocating SIMPLE periods...", "Saving..."}) {
    EXPECT_EQ(progress.timesShown(label), 1) << label;
  }
}

std::vector<TTtbl> timetable(Store& store) {
  return store.table<TTtbl>().range(TTtbl::TIMESCHL, {1});
}

TEST_F(AllocationRunTest, TheSameSeedGivesTheSameTimetable) {
  expectComplete(29);
  window({.seed = 5})->allocate();
  MixedSchool again;
  again.s.f.prompter().expectMessage(MessageKind::Information,
                                     "29/29 periods allocated. 100 % complete. Time elapsed: 0:0:0.");
  AllocationRun(again.s.f.session(), EnginePorts{again.s.f.prompter(), progress, clock}, {.seed = 5})
      .allocate();
  EXPECT_EQ(timetable(school.s.f.store()), timetable(again.s.f.store()));
  MixedSchool other;
  other.s.f.prompter().expectMessage(MessageKind::Information,
                                     "29/29 periods allocated. 100 % complete. Time elapsed: 0:0:0.");
  AllocationRun(other.s.f.session(), EnginePorts{other.s.f.prompter(), progress, clock}, {.seed = 6})
      .allocate();
  EXPECT_NE(timetable(school.s.f.store()), timetable(other.s.f.store()));
}

TEST_F(AllocationRunTest, AnIndentThatCannotBePlacedIsCountedAsFailed) {
  // Two periods, but the constraint offers one cell.
  const int tight = school.s.indent({.cls = school.c4,
                                     .resource = school.r3,
                                     .subject = school.science,
                                     .periods = 2,
                                     .priority = "Y",
                                     .days = ",4",
                                     .periodList = ",6"});
  RunOutcome outcome = window()->allocate();  // no completion message: the statistics open instead
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_TRUE(outcome.anyIncomplete);
  EXPECT_EQ(outcome.done, 30);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(school.s.f.indent(tight).ANOLECALL, 1);
  auto constraint = std::find_if(outcome.tallies.begin(), outcome.tallies.end(),
                                 [](const CategoryTally& t) { return t.category == "CONSTRAINT"; });
  ASSERT_NE(constraint, outcome.tallies.end());
  EXPECT_EQ(constraint->failed, 1);
}

TEST_F(AllocationRunTest, ASchoolWithoutPeriodsCompletesAtZeroPercent) {
  testing::EngineSchool empty;
  empty.f.addClass("1A");
  empty.f.prompter().expectMessage(MessageKind::Information,
                                   "0/0 periods allocated. 0 % complete. Time elapsed: 0:0:0.");
  RunOutcome outcome =
      AllocationRun(empty.f.session(), EnginePorts{empty.f.prompter(), progress, clock}).allocate();
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_EQ(outcome.totalPeriods, 0);
  EXPECT_TRUE(empty.audit().passed());
}

TEST_F(AllocationRunTest, AFreshRunDiscardsEarlierAllocationsOfPassiveIndents) {
  const int passive = school.s.indent(
      {.cls = school.c1, .resource = school.r4, .subject = school.science, .periods = 2, .active = false});
  school.s.f.place(passive, 9, 1);
  expectComplete(29);
  window()->allocate();
  EXPECT_EQ(school.s.f.indent(passive).ANOLECALL, 0);
  EXPECT_TRUE(school.s.f.cellsHolding(passive).empty());
}

TEST_F(AllocationRunTest, StopDuringTheBatchQuickSavesAndResumeFinishesInMemory) {
  progress.stopWhen = [](const RunProgress& p) { return p.pumps == 2; };
  auto allocation = window();
  RunOutcome stopped = allocation->allocate();
  EXPECT_EQ(stopped.end, RunEnd::Stopped);
  TSchl saved = record();
  EXPECT_EQ(saved.SSAVEDONE, "Y");
  EXPECT_EQ(saved.SSAVEPOS, "B");
  EXPECT_TRUE(allocation->resumeEnabled());
  EXPECT_TRUE(fs::exists(quickSaveFolder(school.s.f.store(), 1) / "CTBL"));
  EXPECT_EQ(school.s.f.indent(saved.SSAVESRL).ANOLECALL, 0);  // tables untouched until the end

  progress.stopWhen = nullptr;
  expectComplete(29);
  RunOutcome resumed = allocation->resume();
  EXPECT_EQ(resumed.end, RunEnd::Completed);
  EXPECT_EQ(resumed.done, 29);
  EXPECT_EQ(record().SSAVEDONE, "N");
  EXPECT_FALSE(fs::exists(quickSaveFolder(school.s.f.store(), 1)));
}

TEST_F(AllocationRunTest, AJobSavedBeforeTheWindowClosedResumesFromItsFiles) {
  progress.stopWhen = [](const RunProgress& p) { return p.pumps == 3; };
  window()->allocate();  // the window closes with the object
  EXPECT_EQ(record().SSAVEDONE, "R");
  progress.stopWhen = nullptr;
  expectComplete(29);
  RunOutcome resumed = window()->resume();
  EXPECT_EQ(resumed.end, RunEnd::Completed);
  EXPECT_EQ(resumed.done, 29);
}

TEST_F(AllocationRunTest, AResumeWhoseFilesNoLongerFitIsRefused) {
  progress.stopWhen = [](const RunProgress& p) { return p.pumps == 2; };
  window()->allocate();
  progress.stopWhen = nullptr;
  school.s.f.addClass("3A");
  school.s.f.prompter().expectMessage(MessageKind::Error,
                                      "SCHOOL1: the allocation cannot be resumed because the quick-save file "
                                      "CSUBPOS holds 5 elements and the "
                                      "school now needs 6. Select Allocate to start afresh.");
  RunOutcome refused = window()->resume();
  EXPECT_EQ(refused.end, RunEnd::Refused);
  // Start afresh instead.
  school.s.f.prompter().expectQuestion(MessageKind::Information,
                                       "Your previous allocation job is incomplete. If you select Yes, the "
                                       "allocation will start afresh. Select No "
                                       "to exit and use Resume to continue your incomplete job.",
                                       true);
  expectComplete(29);
  EXPECT_EQ(window()->allocate().end, RunEnd::Completed);
}

TEST_F(AllocationRunTest, DecliningAQuestionChangesNothing) {
  school.s.editInstitution([](TInst& i) { i.ITSQUL = true; });
  school.s.f.prompter().expectQuestion(MessageKind::Information,
                                       "Applying Resource continuity sequence upper limit slows  the "
                                       "allocation process. It may take more time if "
                                       "the allocation is complex. Select Yes to continue.",
                                       false);
  EXPECT_EQ(window()->allocate().end, RunEnd::Declined);
  EXPECT_EQ(record().SSAVEDONE, "N");
  EXPECT_TRUE(school.s.f.cellsHolding(school.serials[0]).empty());
}

TEST_F(AllocationRunTest, StopDuringTheWriteBackIsFinishedByTheResume) {
  progress.stopWhen = [](const RunProgress& p) { return p.label.rfind("108/", 0) == 0; };
  RunOutcome stopped = window()->allocate();
  EXPECT_EQ(stopped.end, RunEnd::Stopped);
  TSchl saved = record();
  EXPECT_EQ(saved.SSAVEPOS, "C");
  EXPECT_EQ(saved.SSAVESRL, 2);  // the next class
  EXPECT_EQ(saved.SDNSAVE, 0);
  EXPECT_EQ(saved.SSAVEDONE, "R");
  progress.stopWhen = nullptr;
  expectComplete(29);
  EXPECT_EQ(window()->resume().end, RunEnd::Completed);
}

TEST_F(AllocationRunTest, AutomaticQuickSavesAtEveryFifthOfThePeriodsAndAtTheEnd) {
  testing::EngineSchool many;
  Transaction tx(many.f.store());
  const int cls = many.f.addClass("1A");
  const int resource = many.f.addResource("ADAMS");
  const int subject = many.f.addSubject("Maths");
  for (int i = 0; i < 26; ++i)
    many.indent({.cls = cls,
                 .resource = resource,
                 .subject = subject,
                 .periods = 1,
                 .subjectPerDay = 12,
                 .resourcePerDay = 12});
  tx.commit();
  many.editInstitution([](TInst& i) { i.IASAVE = true; });
  many.f.prompter().expectMessage(MessageKind::Information,
                                  "26/26 periods allocated. 100 % complete. Time elapsed: 0:0:0.");
  AllocationRun run(many.f.session(), EnginePorts{many.f.prompter(), progress, clock}, {.seed = 3});
  EXPECT_TRUE(run.autoQuickSaveAvailable());
  EXPECT_EQ(run.allocate().end, RunEnd::Completed);
  EXPECT_EQ(progress.timesShown("Quick saving work done..."), 5);
  EXPECT_TRUE(many.audit().passed());
}

TEST_F(AllocationRunTest, WithTwentyFiveSerialsThereIsNoAutomaticQuickSave) {
  school.s.editInstitution([](TInst& i) { i.IASAVE = true; });
  expectComplete(29);
  auto allocation = window();
  EXPECT_FALSE(allocation->autoQuickSaveAvailable());
  allocation->allocate();
  EXPECT_EQ(progress.timesShown("Quick saving work done..."), 0);
}

// ---- Table mode ----------------------------------------------------------------------------------

TEST_F(AllocationRunTest, OneIndentInTableModeAddsToWhatIsThere) {
  expectComplete(29);
  window()->allocate();
  const int extra =
      school.s.indent({.cls = school.c2, .resource = school.r3, .subject = school.science, .periods = 3});
  const auto before = timetable(school.s.f.store());
  IndentAllocation result = allocateIndent(school.s.f.session(), ports(), extra, {.seed = 2});
  EXPECT_EQ(result.gained, 3);
  EXPECT_EQ(result.missing, 0);
  EXPECT_EQ(school.s.f.indent(extra).ANOLECALL, 3);
  EXPECT_EQ(school.s.f.cellsHolding(extra).size(), 6u);  // class and resource rows
  for (int serial : school.serials)
    EXPECT_EQ(school.s.f.indent(serial).ANOLECALL, school.s.f.indent(serial).ANOOFLEC);
  const TTtbl placed = school.s.f.cellsHolding(extra).front();
  EXPECT_EQ(placed.TSTARTLECT, 1);
  EXPECT_EQ(placed.TENDLECT, 12);
}

TEST_F(AllocationRunTest, TableModeDiagnosisNamesTheLimitInTheWay) {
  school.s.editResource(school.r3, [](TTeac& r) { r.TMAXLEC = 0; });
  const int blocked =
      school.s.indent({.cls = school.c2, .resource = school.r3, .subject = school.science, .periods = 1});
  IndentAllocation result = allocateIndent(school.s.f.session(), ports(), blocked,
                                           {.seed = 2, .rearrange = false, .diagnose = true});
  EXPECT_EQ(result.gained, 0);
  EXPECT_EQ(result.missing, 1);
  EXPECT_EQ(result.diagnosis.NeedResourceDay, 1);
  EXPECT_TRUE(result.diagnosis.anyFinding());
}

// ---- A whole school -------------------------------------------------------------------------------

// A realistic school known to be feasible (its timetable was planted first): every period must be
// placed, with and without the continuity limit.
class FeasibleSchool : public ::testing::TestWithParam<bool> {};

TEST_P(FeasibleSchool, GetsEveryPeriodPlaced) {
  testing::SchoolFixture f;
  const testing::GeneratedSchool generated = testing::writeGeneratedSchool(f.store(), {.seed = 3});
  Transaction tx(f.store());
  TInst institution = f.store().institution();
  institution.ITSQUL = GetParam();
  f.store().saveInstitution(institution);
  tx.commit();
  ASSERT_TRUE(f.session().setSchool(generated.school));
  ASSERT_TRUE(check(f.store(), generated.school).passed());
  if (GetParam()) {
    f.prompter().expectQuestion(
        MessageKind::Information,
        "Applying Resource continuity sequence upper limit slows  the allocation process. "
        "It may take more time if the allocation is complex. Select Yes to continue.",
        true);
  }
  f.prompter().expectMessage(MessageKind::Information,
                             std::to_string(generated.periods) + "/" + std::to_string(generated.periods) +
                                 " periods allocated. 100 % complete. Time elapsed: 0:0:0.");
  SilentProgress progress;
  FakeClock clock;
  RunOutcome outcome =
      AllocationRun(f.session(), EnginePorts{f.prompter(), progress, clock}, {.seed = 8}).allocate();
  EXPECT_EQ(outcome.done, generated.periods);
  AuditReport audit = check(f.store(), generated.school);
  EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
}

INSTANTIATE_TEST_SUITE_P(ContinuityOffAndOn, FeasibleSchool, ::testing::Bool());

}  // namespace
}  // namespace tavrel::engine
