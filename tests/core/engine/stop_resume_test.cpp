// Stop and resume of "Allocate All" on a school known to be feasible, stopped in each stage of a
// run: the batch, each level of the rearrangement's resource and class passes, the re-attempt pass
// and the write-back of the resource rows. The run must be quick-saved with the phase it stopped
// in, and the resume must finish it with every period placed and a timetable the audit passes,
// both in the same window and after the program was restarted (the working set then comes back
// from the quick-save files).
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/engine/allocation_run.h"
#include "core/engine/audit.h"
#include "core/engine/quick_save.h"
#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"
#include "tests/support/generated_school.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::engine {
namespace {

using namespace store;
using testing::FakeClock;
using testing::RunProgress;

// The data folder outlives the store, so that the program can be "restarted" over it.
class GeneratedData {
 public:
  GeneratedData() {
    open();
    generated_ = testing::writeGeneratedSchool(*store_, {.seed = 1});
    session_->setSchool(generated_.school);
  }

  // Closes everything the program holds and opens the data set again, as a new start does.
  void restart() {
    session_.reset();
    store_.reset();
    open();
    session_->setSchool(generated_.school);
  }

  Store& store() { return *store_; }
  Session& session() { return *session_; }
  testing::ScriptedPrompter& prompter() { return prompter_; }
  const testing::GeneratedSchool& generated() const { return generated_; }
  TSchl record() { return *session_->school(); }

 private:
  void open() {
    store_ = std::move(Store::open(ProgramFolders{folder_.path()}, DataSet::Live).value());
    session_ = std::make_unique<Session>(*store_, prompter_);
  }

  testing::TempFolder folder_;
  testing::ScriptedPrompter prompter_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Session> session_;
  testing::GeneratedSchool generated_;
};

// When to press Stop, given the window and what its progress bar shows.
using StopCondition = std::function<bool(const AllocationRun&, const RunProgress&)>;

struct StopCase {
  const char* name;
  StopCondition stopWhen;
  std::string savedPhase;
  // Until the re-attempt pass begins, a second passes at every reading of the clock, so that each
  // pass of the batch's rearrangement ends at once at its limit of a second.
  bool batchWithoutTime = false;
};

constexpr const char* kReattemptLabel = "Reattempting for the failed allocations...";

StopCondition inRearrangement(bool classPass, RearrangeLevel level) {
  return [classPass, level](const AllocationRun& run, const RunProgress&) {
    return run.rearranging() && run.classPass() == classPass && run.rearrangeLevel() == level;
  };
}

// On the generated school (run seed 1) the resource pass always succeeds, through its levels or
// its chains, so the class pass never runs there; the small school below reaches it.
const StopCase kGeneratedCases[] = {
    {"Batch",
     [](const AllocationRun& run, const RunProgress& p) {
       return !run.rearranging() && p.label.rfind("Allocating ", 0) == 0 && p.pumps >= 40;
     },
     "B"},
    {"ResourcePassFirstLevel", inRearrangement(false, RearrangeLevel::First), "B"},
    {"ResourcePassSecondLevel", inRearrangement(false, RearrangeLevel::Second), "B"},
    {"ResourcePassChains", inRearrangement(false, RearrangeLevel::Chains), "B"},
    {"ResourceRows",
     [](const AllocationRun&, const RunProgress& p) {
       return p.label.find("Resource timetable blocks saved") != std::string::npos;
     },
     "T"},
};

std::string caseName(const char* name, bool restart, const char* restartName) {
  return std::string(name) + (restart ? restartName : "InTheSameWindow");
}

void expectComplete(testing::ScriptedPrompter& prompter, int periods) {
  const std::string total = std::to_string(periods);
  prompter.expectMessage(MessageKind::Information,
                         total + "/" + total + " periods allocated. 100 % complete. Time elapsed: 0:0:0.");
}

// Stops the run, checks what was saved, and (after `reopen`, when given) resumes it to the end.
void stopThenResume(const StopCase& stopCase, std::uint64_t seed, RunProgress& progress, FakeClock& clock,
                    const std::function<std::unique_ptr<AllocationRun>(RunSettings)>& window,
                    const std::function<TSchl()>& record, const std::function<void()>& reopen) {
  RunSettings stopped{.seed = seed};
  if (stopCase.batchWithoutTime) {
    stopped.rearrangeLimit = std::chrono::seconds(1);
    clock.tick = std::chrono::seconds(1);
    clock.runsWhile = [&progress] { return progress.label != kReattemptLabel; };
  }
  auto run = window(stopped);
  progress.stopWhen = [&](const RunProgress& p) { return stopCase.stopWhen(*run, p); };
  ASSERT_EQ(run->allocate().end, RunEnd::Stopped) << "the run never reached the stage";
  EXPECT_EQ(record().SSAVEPOS, stopCase.savedPhase);
  EXPECT_EQ(record().SSAVEDONE, "Y");
  EXPECT_TRUE(run->resumeEnabled());
  progress.stopWhen = nullptr;
  clock.tick = {};
  clock.runsWhile = nullptr;
  if (reopen) {
    run.reset();  // the window closes
    EXPECT_EQ(record().SSAVEDONE, "R");
    reopen();
    run = window({.seed = seed + 1});
  }
  const RunOutcome resumed = run->resume();
  EXPECT_EQ(resumed.end, RunEnd::Completed);
  EXPECT_EQ(resumed.failed, 0);
  EXPECT_EQ(record().SSAVEDONE, "N");
}

class StopAndResume : public ::testing::TestWithParam<std::tuple<StopCase, bool>> {
 protected:
  GeneratedData data;
  RunProgress progress;
  FakeClock clock;
};

TEST_P(StopAndResume, TheResumeFinishesTheRunWithEveryPeriodPlaced) {
  const auto& [stopCase, restart] = GetParam();
  expectComplete(data.prompter(), data.generated().periods);
  stopThenResume(
      stopCase, 1, progress, clock,
      [&](RunSettings settings) {
        return std::make_unique<AllocationRun>(data.session(), EnginePorts{data.prompter(), progress, clock},
                                               settings);
      },
      [&] { return data.record(); }, restart ? std::function<void()>([&] { data.restart(); }) : nullptr);
  EXPECT_FALSE(std::filesystem::exists(quickSaveFolder(data.store(), data.generated().school)));
  for (int serial = 1; serial <= data.generated().indents; ++serial) {
    const TAlloc indent = *data.store().table<TAlloc>().find(TAlloc::primary, {data.generated().school, serial});
    EXPECT_EQ(indent.ANOLECALL, indent.ANOOFLEC) << serial;
  }
  const AuditReport audit = check(data.store(), data.generated().school);
  EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
}

INSTANTIATE_TEST_SUITE_P(EachStage, StopAndResume,
                         ::testing::Combine(::testing::ValuesIn(kGeneratedCases), ::testing::Bool()),
                         [](const auto& param) {
                           return caseName(std::get<0>(param.param).name, std::get<1>(param.param),
                                           "AfterRestart");
                         });

// A school of one day of four periods where the class pass must make room: class 1A is full, and
// TEAM, a group (so the resource pass has no chains), can teach only in period 1. The
// resource pass finds nothing to free; the class pass moves 1A's occupant of period 1, directly
// (first level) or after moving what holds the cell it can go to (second level).
struct ClassPassSchool {
  testing::EngineSchool s{{.swrkdays = 104}};
  int total = 6;

  ClassPassSchool() {
    auto& f = s.f;
    Transaction tx(f.store());
    const int a = f.addClass("1A"), b = f.addClass("1B"), c = f.addClass("1C");
    const int evans = f.addResource("EVANS"), fox = f.addResource("FOX");
    const int team = f.addResource("TEAM", {evans, fox}), baker = f.addResource("BAKER");
    const int clark = f.addResource("CLARK");
    const int maths = f.addSubject("Maths"), art = f.addSubject("Art"), music = f.addSubject("Music");
    const int drama = f.addSubject("Drama"), pe = f.addSubject("PE");
    s.indent({.cls = b, .resource = baker, .subject = pe, .periods = 1, .priority = "W"});
    s.indent({.cls = c, .resource = baker, .subject = pe, .periods = 1, .priority = "W"});
    s.indent({.cls = a, .resource = baker, .subject = art, .periods = 1, .priority = "X"});
    s.indent({.cls = a, .resource = clark, .subject = music, .periods = 1, .priority = "Y", .resourcePerDay = 2});
    s.indent({.cls = a, .resource = clark, .subject = drama, .periods = 1, .priority = "Y", .resourcePerDay = 2});
    s.indent({.cls = a, .resource = team, .subject = maths, .periods = 1});
    tx.commit();
    for (int period : {2, 3, 4}) {
      s.editCell('T', team, 1, period, [](TTtbl& cell) { cell.TCLASS = cell.TSUBJECT = 0; });
    }
  }
};

const StopCase kClassPassCases[] = {
    {"ClassPassFirstLevel", inRearrangement(true, RearrangeLevel::First), "B"},
    {"ClassPassSecondLevel", inRearrangement(true, RearrangeLevel::Second), "B"},
    // The batch's rearrangement runs out of time at once, so TEAM's indent is still short when the
    // re-attempt pass begins; that pass has the time, and is stopped while it rearranges.
    {"ReattemptPass",
     [](const AllocationRun& run, const RunProgress& p) {
       return p.label == kReattemptLabel && run.rearranging();
     },
     "F", true},
};

class StopAndResumeInTheClassPass : public ::testing::TestWithParam<std::tuple<StopCase, bool>> {
 protected:
  ClassPassSchool school;
  RunProgress progress;
  FakeClock clock;
};

TEST_P(StopAndResumeInTheClassPass, TheResumeFinishesTheRunWithEveryPeriodPlaced) {
  const auto& [stopCase, closeWindow] = GetParam();
  auto& f = school.s.f;
  expectComplete(f.prompter(), school.total);
  stopThenResume(
      stopCase, 5, progress, clock,
      [&](RunSettings settings) {
        return std::make_unique<AllocationRun>(f.session(), EnginePorts{f.prompter(), progress, clock}, settings);
      },
      [&] { return *f.session().school(); }, closeWindow ? std::function<void()>([] {}) : nullptr);
  const AuditReport audit = school.s.audit();
  EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
}

INSTANTIATE_TEST_SUITE_P(EachStage, StopAndResumeInTheClassPass,
                         ::testing::Combine(::testing::ValuesIn(kClassPassCases), ::testing::Bool()),
                         [](const auto& param) {
                           return caseName(std::get<0>(param.param).name, std::get<1>(param.param),
                                           "FromTheFiles");
                         });

}  // namespace
}  // namespace tavrel::engine
