// Table mode on the realistic school of bench_allocate_all (40 classes, 60 resources, about 1,600
// periods): the school is first allocated in full, then some indents lose their periods and are
// allocated again straight on the tables, as the indent window ("Allocate Indent") and "Allocate
// Select" do. Measured: one indent, and "Allocate Select" of the classes that hold about 100
// indents; the share of the released periods placed again is reported beside the time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_data_set.h"
#include "core/engine/allocate_select.h"
#include "core/engine/allocation_run.h"
#include "core/engine/audit.h"
#include "core/indents/allocation_undo.h"
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

// The generated school with every period placed by "Allocate All".
class AllocatedSchool {
 public:
  AllocatedSchool() {
    generated_ = testing::writeGeneratedSchool(data_.store(), {});
    session_ = std::make_unique<Session>(data_.store(), prompter_);
    session_->setSchool(generated_.school);
    AllocationRun(*session_, ports(), RunSettings{.seed = 1}).allocate();
  }

  Session& session() { return *session_; }
  Store& store() { return data_.store(); }
  int school() const { return generated_.school; }
  EnginePorts ports() { return EnginePorts{prompter_, progress_, clock_}; }

  std::vector<TAlloc> activeIndents() {
    return data_.store().table<TAlloc>().range(TAlloc::ALLOCLAS, {generated_.school, "Y"});
  }

  // Takes the placed periods of the indents out of the timetable; returns how many.
  int release(const std::vector<TAlloc>& indents) {
    int released = 0;
    for (const TAlloc& indent : indents) {
      released += data_.store()
                      .table<TAlloc>()
                      .find(TAlloc::primary, {generated_.school, indent.ASERIALNO})
                      ->ANOLECALL;
      indents::UndoAllocation(*session_, indent.ASERIALNO, indents::Interaction::Silent);
    }
    return released;
  }

 private:
  TemporaryDataSet data_;
  QuietPrompter prompter_{true};
  SilentProgress progress_;
  SystemClock clock_;
  std::unique_ptr<Session> session_;
  testing::GeneratedSchool generated_;
};

void report(benchmark::State& state, long placed, long released, long auditFailures) {
  state.counters["released"] = static_cast<double>(released) / static_cast<double>(state.iterations());
  state.counters["placed_share"] =
      released > 0 ? static_cast<double>(placed) / static_cast<double>(released) : 1.0;
  state.counters["audit_failures"] = static_cast<double>(auditFailures);
}

// One indent at a time, in turn over every active indent: its periods are released, then placed
// again in table mode with the rearrangement allowed.
void BM_AllocateIndentTableMode(benchmark::State& state) {
  AllocatedSchool school;
  const std::vector<TAlloc> indents = school.activeIndents();
  std::size_t next = 0;
  long placed = 0, released = 0, auditFailures = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const TAlloc& indent = indents[next++ % indents.size()];
    released += school.release({indent});
    state.ResumeTiming();
    const IndentAllocation result =
        allocateIndent(school.session(), school.ports(), indent.ASERIALNO, {.seed = next});
    state.PauseTiming();
    placed += result.gained;
    if (next % 50 == 0 && !check(school.store(), school.school()).passed()) ++auditFailures;
    state.ResumeTiming();
  }
  report(state, placed, released, auditFailures);
}

// "Allocate Select" of the first classes (in name order) that hold 100 indents between them, every
// category tagged, after their periods were released.
void BM_AllocateSelect100(benchmark::State& state) {
  AllocatedSchool school;
  AllocateSelect probe(school.session(), school.ports());
  const std::vector<SelectItem> classes = probe.items(SelectList::Class);
  long placed = 0, released = 0, auditFailures = 0;
  std::uint64_t seed = 1;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<SelectItem> tagged;
    std::vector<TAlloc> chosen;
    for (const SelectItem& cls : classes) {
      if (chosen.size() >= 100) break;
      for (const TAlloc& indent :
           school.store().table<TAlloc>().range(TAlloc::ALLOCLAS, {school.school(), "Y", cls.code})) {
        chosen.push_back(indent);
      }
      tagged.push_back(cls);
    }
    released += school.release(chosen);
    AllocateSelect select(school.session(), school.ports(), {.seed = seed++});
    const std::vector<SelectItem> refreshed = select.items(SelectList::Class);
    std::vector<SelectItem> taggedNow;
    for (const SelectItem& item : refreshed) {
      for (const SelectItem& cls : tagged) {
        if (cls.code == item.code) taggedNow.push_back(item);
      }
    }
    select.tagItems(SelectList::Class, taggedNow);
    select.tagCategories(selectCategories());
    state.counters["indents"] = static_cast<double>(chosen.size());
    state.ResumeTiming();
    const SelectOutcome outcome = select.allocate(allocationOptions(school.session()));
    state.PauseTiming();
    placed += outcome.allocated;
    if (!check(school.store(), school.school()).passed()) ++auditFailures;
    state.ResumeTiming();
  }
  report(state, placed, released, auditFailures);
}

}  // namespace

BENCHMARK(BM_AllocateIndentTableMode)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_AllocateSelect100)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
