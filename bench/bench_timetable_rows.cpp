// Making the timetable rows of many new classes at once: 200 classes are 21,600 rows, written in
// one transaction through the cached insert, committed durably at the end as the command does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/bench_data_set.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/session.h"
#include "core/store/store.h"
#include "core/store/timetable_rows.h"

namespace {

using namespace tavrel;
using namespace tavrel::store;
using tavrel::bench::QuietPrompter;
using tavrel::bench::TemporaryDataSet;

// A data set in a fresh temporary program folder with one school and its available rows.
class BenchSchool {
 public:
  BenchSchool() {
    Transaction tx(data_.store());
    TSchl school{.SNAME = "SCHOOL1", .SCHOOLCODE = 1, .SREGN = "STANDARD", .SWRKDAYS = 912, .STOTLEC = 108};
    data_.store().table<TSchl>().insert(school);
    tx.commit();
    session_ = std::make_unique<Session>(data_.store(), prompter_);
    session_->setSchool(1);
    session_->viewKind = 'L';
    SilentProgress progress;
    TTAppnd(*session_, progress, 0, 1);
    session_->viewKind = 'C';
  }

  Session& session() { return *session_; }

  void removeClassRows() {
    Transaction tx(data_.store());
    data_.store().table<TTtbl>().removeRange(TTtbl::TIMECLAS, {1, "C"});
    tx.commit();
  }

 private:
  TemporaryDataSet data_;
  QuietPrompter prompter_{false};
  std::unique_ptr<Session> session_;
};

void BM_TimetableRowsOfNewClasses(benchmark::State& state) {
  BenchSchool school;
  SilentProgress progress;
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    school.removeClassRows();
    state.ResumeTiming();
    if (!TTAppnd(school.session(), progress, 0, count)) state.SkipWithError("row creation failed");
  }
  state.SetItemsProcessed(state.iterations() * count * 108);
  state.counters["rows"] = count * 108;
}
BENCHMARK(BM_TimetableRowsOfNewClasses)->Arg(1)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
