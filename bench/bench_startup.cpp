// Start-up of the program on the largest institution the system allows in practice: 9 schools of
// 200 classes and 200 resources, that is 9 × 401 × 108 = 389,772 timetable rows. Timed: program
// start (`Application::start`, which opens the tables and checks the indexes) and the first
// main-window activation (`Application::activate`), whose backup rotation copies the data folder.
//
// The rotation's cost depends on what the backup folders already hold, so the activation is timed
// in three states of the folder:
//   no_backups     a fresh installation: the data are copied once, into "Backup Current";
//   data_changed   every file changed since the last start: "Backup Current" goes to "Backup
//                  Previous" and the data to "Backup Current", so everything is copied twice;
//   unchanged      a start right after another one: every backup is still exact and is skipped.
//
// Own flags, given before the benchmark library's:
//   --program-folder=DIR  use (and when empty, fill) this program folder instead of a temporary one
//   --generate-only       write the data set and stop; bench/startup.sh uses this
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/ports/clock.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/shell/application.h"
#include "tests/support/bulk_data_set.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace tavrel;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr testing::BulkShape kLargeInstitution{9, 200, 200};

// Nobody answers: a question or a message during start-up would be a finding in itself.
class CountingPrompter final : public Prompter {
 public:
  void show(MessageKind, std::string_view text) override { std::cerr << "message: " << text << '\n'; }
  bool ask(MessageKind, std::string_view text) override {
    std::cerr << "question: " << text << '\n';
    return false;
  }
  void beep() override {}
};

struct Options {
  std::optional<fs::path> programFolder;
  bool generateOnly = false;
};
Options options;

std::optional<testing::TempFolder> temporaryFolder;

fs::path programFolder() {
  if (options.programFolder) return *options.programFolder;
  if (!temporaryFolder) temporaryFolder.emplace();
  return temporaryFolder->path();
}

Milliseconds generateLargeDataSet(const fs::path& folder) {
  auto begin = std::chrono::steady_clock::now();
  auto store = store::Store::open(store::ProgramFolders{folder}, store::DataSet::Live);
  if (!store) throw std::runtime_error(store.error());
  testing::writeBulkDataSet(**store, kLargeInstitution);
  return std::chrono::steady_clock::now() - begin;
}

// The shared data set, written once per process and outside every timing.
const fs::path& largeProgramFolder() {
  static const fs::path folder = [] {
    fs::path home = programFolder();
    if (!fs::exists(home / "Data" / "tvrl_8.db")) {
      Milliseconds took = generateLargeDataSet(home);
      std::cerr << "Generated " << testing::bulkTimetableRows(kLargeInstitution) << " timetable rows in "
                << took.count() << " ms\n";
    }
    return home;
  }();
  return folder;
}

// Copies the ordinary files of `source` into `target` with their modification times, so that the
// rotation finds the copies exact.
void mirrorFiles(const fs::path& source, const fs::path& target) {
  fs::create_directories(target);
  for (const auto& entry : fs::directory_iterator(source)) {
    if (!entry.is_regular_file()) continue;
    fs::path copy = target / entry.path().filename();
    fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
    fs::last_write_time(copy, entry.last_write_time());
  }
}

void touchFiles(const fs::path& folder, fs::file_time_type when) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) fs::last_write_time(entry.path(), when);
  }
}

enum class Backups { None, Stale, Exact };

void prepareBackups(const store::ProgramFolders& folders, Backups state) {
  switch (state) {
    case Backups::None:
      fs::remove_all(folders.backupCurrent());
      fs::remove_all(folders.backupPrevious());
      break;
    case Backups::Stale: {
      mirrorFiles(folders.live(), folders.backupCurrent());
      mirrorFiles(folders.live(), folders.backupPrevious());
      // Touch both: Current then differs from Previous, and the data from Current.
      auto now = fs::file_time_type::clock::now();
      touchFiles(folders.backupCurrent(), now);
      touchFiles(folders.live(), now + std::chrono::seconds(1));
      break;
    }
    case Backups::Exact:
      mirrorFiles(folders.live(), folders.backupCurrent());
      mirrorFiles(folders.live(), folders.backupPrevious());
      break;
  }
}

void BM_GenerateLargeDataSet(benchmark::State& state) {
  for (auto _ : state) {
    testing::TempFolder folder;
    Milliseconds took = generateLargeDataSet(folder.path());
    state.SetIterationTime(std::chrono::duration<double>(took).count());
  }
  state.counters["rows"] = static_cast<double>(testing::bulkTimetableRows(kLargeInstitution));
}
BENCHMARK(BM_GenerateLargeDataSet)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

void BM_StartAndActivate(benchmark::State& state, Backups backups) {
  const store::ProgramFolders folders{largeProgramFolder()};
  CountingPrompter prompter;
  SilentProgress progress;
  SystemClock clock;
  Milliseconds start{}, activate{};
  // Manual time: preparing the backup folders and closing the tables afterwards are not start-up.
  for (auto _ : state) {
    prepareBackups(folders, backups);
    auto t0 = std::chrono::steady_clock::now();
    shell::Application application(folders, shell::Ports{prompter, progress, clock});
    if (!application.start()) state.SkipWithError("start failed");
    auto t1 = std::chrono::steady_clock::now();
    if (!application.activate()) state.SkipWithError("activation failed");
    auto t2 = std::chrono::steady_clock::now();
    start += t1 - t0;
    activate += t2 - t1;
    state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["start_ms"] = start.count() / runs;
  state.counters["activate_ms"] = activate.count() / runs;
}
BENCHMARK_CAPTURE(BM_StartAndActivate, no_backups, Backups::None)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_StartAndActivate, data_changed, Backups::Stale)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_StartAndActivate, unchanged, Backups::Exact)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();

// Takes this benchmark's own flags out of argv before the library sees them.
void takeOwnFlags(int& argc, char** argv) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strncmp(arg, "--program-folder=", 17) == 0) {
      options.programFolder = fs::absolute(arg + 17);
    } else if (std::strcmp(arg, "--generate-only") == 0) {
      options.generateOnly = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
}

}  // namespace

int main(int argc, char** argv) {
  takeOwnFlags(argc, argv);
  if (options.generateOnly) {
    if (!options.programFolder) {
      std::cerr << "--generate-only needs --program-folder=DIR\n";
      return 2;
    }
    fs::create_directories(*options.programFolder);
    largeProgramFolder();
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
