// "Allocate All" on a realistic school that is known to be feasible: 40 classes (4 of them groups),
// 60 resources (4 groups, 8 part-time), about 1,600 periods of regular, one-per-day, cluster,
// constrained and group indents over a week of 6 days of 8 periods. Measured: the whole command
// (load, batch with rearrangement, write-back, commit), the load alone and the write-back alone,
// and the share of the periods placed; every period placed is the goal.
//
// `--generate=generated|limits --program-folder=DIR` only writes a school for bench/cli-timings.sh.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "bench/bench_data_set.h"
#include "core/engine/allocation_run.h"
#include "core/engine/audit.h"
#include "core/engine/placement.h"
#include "core/engine/rearrangement.h"
#include "core/engine/working_set.h"
#include "core/engine/write_back.h"
#include "core/ports/clock.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/session.h"
#include "core/store/store.h"
#include "tests/support/generated_school.h"

namespace {

using namespace tavrel;
using namespace tavrel::engine;
using namespace tavrel::store;
using tavrel::bench::QuietPrompter;
using tavrel::bench::TemporaryDataSet;

class BenchSchool {
 public:
  explicit BenchSchool(bool continuity = false) {
    generated_ = testing::writeGeneratedSchool(data_.store(), {});
    Transaction tx(data_.store());
    TInst institution = data_.store().institution();
    institution.ITSQUL = continuity;
    data_.store().saveInstitution(institution);
    tx.commit();
    session_ = std::make_unique<Session>(data_.store(), prompter_);
    session_->setSchool(generated_.school);
  }

  Session& session() { return *session_; }
  Store& store() { return data_.store(); }
  const testing::GeneratedSchool& generated() const { return generated_; }
  EnginePorts ports() { return EnginePorts{prompter_, progress_, clock_}; }

 private:
  TemporaryDataSet data_;
  QuietPrompter prompter_{true};
  SilentProgress progress_;
  SystemClock clock_;
  std::unique_ptr<Session> session_;
  testing::GeneratedSchool generated_;
};

void report(benchmark::State& state, long placed, long total, long audited, long runs) {
  state.counters["periods"] = static_cast<double>(total) / static_cast<double>(runs);
  state.counters["placed_share"] = static_cast<double>(placed) / static_cast<double>(total);
  state.counters["unplaced_per_run"] = static_cast<double>(total - placed) / static_cast<double>(runs);
  state.counters["audit_failures"] = static_cast<double>(audited);
}

void allocateAll(benchmark::State& state, bool continuity) {
  BenchSchool school(continuity);
  std::uint64_t seed = 1;
  long placed = 0;
  long total = 0;
  long auditFailures = 0;
  long runs = 0;
  for (auto _ : state) {
    AllocationRun run(school.session(), school.ports(), RunSettings{.seed = seed++});
    RunOutcome outcome = run.allocate();
    state.PauseTiming();
    placed += outcome.done;
    total += outcome.totalPeriods;
    ++runs;
    if (!check(school.store(), school.generated().school).passed()) ++auditFailures;
    state.ResumeTiming();
  }
  report(state, placed, total, auditFailures, runs);
}

void BM_AllocateAll(benchmark::State& state) {
  allocateAll(state, false);
}
void BM_AllocateAllWithContinuity(benchmark::State& state) {
  allocateAll(state, true);
}

void BM_LoadWorkingSet(benchmark::State& state) {
  BenchSchool school;
  SilentProgress progress;
  for (auto _ : state) {
    WorkingSet set;
    set.load(school.store(), school.generated().school, LoadMode::Fresh, progress);
    benchmark::DoNotOptimize(set.CTBL.Count());
  }
}

// The write-back of a whole run over the timetable of an earlier run, committed.
void BM_WriteBack(benchmark::State& state) {
  BenchSchool school;
  SilentProgress progress;
  QuietPrompter prompter{true};
  SystemClock clock;
  std::uint64_t seed = 100;
  for (auto _ : state) {
    state.PauseTiming();
    WorkingSet set;
    set.load(school.store(), school.generated().school, LoadMode::Fresh, progress);
    RunRandom random(seed++);
    const PlacementRules rules =
        PlacementRules::of(school.store().institution(), *school.session().school(), false);
    Placer<WorkingSet> placer(set, rules, random, prompter);
    for (int serial : set.batchOrder()) {
      const TAlloc& indent = set.indentRow(serial);
      TAPara para = allocationParameters(indent, indent.ANOOFLEC, kFirstAttempt);
      placer.lecalloc(para);
      set.addTotals(set.prepare(para), set.SRLALLO[serial]);
    }
    state.ResumeTiming();
    UnLodLim(set, school.store(), prompter, progress);
  }
}

// The floor of the write-back: the same timetable written again changes no row, so what remains is
// reading the rows and the durable commit of the tables it touches.
void BM_WriteBackUnchanged(benchmark::State& state) {
  BenchSchool school;
  SilentProgress progress;
  QuietPrompter prompter{true};
  WorkingSet set;
  set.load(school.store(), school.generated().school, LoadMode::Fresh, progress);
  UnLodLim(set, school.store(), prompter, progress);
  for (auto _ : state) UnLodLim(set, school.store(), prompter, progress);
}

}  // namespace

BENCHMARK(BM_AllocateAll)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AllocateAllWithContinuity)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadWorkingSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBack)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_WriteBackUnchanged)->Unit(benchmark::kMillisecond)->Iterations(10);
namespace {

// `--generate=generated|limits --program-folder=DIR`: writes that school into the program
// folder's live data set and stops, for the whole-program timings of bench/cli-timings.sh.
// "limits" is a school of 999 classes and 999 resources on a full week of 9 days of 12 periods.
int generateOnly(const std::string& kind, const std::filesystem::path& folder) {
  testing::GeneratedShape shape;
  if (kind == "limits") {
    shape = testing::GeneratedShape{.plainClasses = 995,
                                    .classGroups = 4,
                                    .plainResources = 995,
                                    .resourceGroups = 4,
                                    .days = 9,
                                    .periods = 12,
                                    .partTimeResources = 8};
  } else if (kind != "generated") {
    std::cerr << "--generate takes generated or limits\n";
    return 2;
  }
  auto opened = Store::open(ProgramFolders{folder}, DataSet::Live);
  if (!opened) {
    std::cerr << opened.error() << "\n";
    return 1;
  }
  const testing::GeneratedSchool school = testing::writeGeneratedSchool(*opened.value(), shape);
  std::cout << "SCHOOL" << school.school << ": " << school.classes << " classes, " << school.resources
            << " resources, " << school.indents << " indents, " << school.periods << " periods\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string generate;
  std::optional<std::filesystem::path> folder;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--generate=", 0) == 0) {
      generate = arg.substr(11);
    } else if (arg.rfind("--program-folder=", 0) == 0) {
      folder = std::filesystem::absolute(arg.substr(17));
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  if (!generate.empty()) {
    if (!folder) {
      std::cerr << "--generate needs --program-folder=DIR\n";
      return 2;
    }
    return generateOnly(generate, *folder);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
