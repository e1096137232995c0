// The dynamic array store against a plain std::vector, on the size of the largest school's slot
// table (999 owners x 108 slots of 16 bits): random reads and read-modify-writes as the placement
// checks do them, whole-table scans as the write-back does them, and the quick-save and resume of
// one such table.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/engine/dyn_array.h"

namespace {

using tavrel::engine::DynComp;
namespace fs = std::filesystem;

constexpr std::int32_t kSlots = 999 * 108;
constexpr std::size_t kLookups = 1 << 16;

struct Tables {
  std::vector<std::int16_t> vector;
  DynComp<std::int16_t> dyn{0};
  std::vector<std::int32_t> randomSlots;

  Tables() {
    vector.reserve(kSlots);
    dyn.reserve(kSlots);
    for (std::int32_t k = 0; k < kSlots; ++k) {
      const auto value = static_cast<std::int16_t>(k % 7 == 0 ? 0 : 999);
      vector.push_back(value);
      dyn.Add(value);
    }
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::int32_t> slot(0, kSlots - 1);
    for (std::size_t i = 0; i < kLookups; ++i) randomSlots.push_back(slot(random));
  }
};

Tables& tables() {
  static Tables instance;
  return instance;
}

// ---- Random access -------------------------------------------------------------------------------

void BM_RandomRead_Vector(benchmark::State& state) {
  auto& t = tables();
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (std::int32_t slot : t.randomSlots) sum += t.vector[static_cast<std::size_t>(slot)];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kLookups);
}
BENCHMARK(BM_RandomRead_Vector);

void BM_RandomRead_VectorAt(benchmark::State& state) {
  auto& t = tables();
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (std::int32_t slot : t.randomSlots) sum += t.vector.at(static_cast<std::size_t>(slot));
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kLookups);
}
BENCHMARK(BM_RandomRead_VectorAt);

void BM_RandomRead_DynComp(benchmark::State& state) {
  auto& t = tables();
  const auto& dyn = t.dyn;
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (std::int32_t slot : t.randomSlots) sum += dyn[slot];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kLookups);
}
BENCHMARK(BM_RandomRead_DynComp);

void BM_RandomIncrement_Vector(benchmark::State& state) {
  auto& t = tables();
  for (auto _ : state) {
    for (std::int32_t slot : t.randomSlots) ++t.vector[static_cast<std::size_t>(slot)];
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kLookups);
}
BENCHMARK(BM_RandomIncrement_Vector);

void BM_RandomIncrement_DynComp(benchmark::State& state) {
  auto& t = tables();
  for (auto _ : state) {
    for (std::int32_t slot : t.randomSlots) ++t.dyn[slot];
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kLookups);
}
BENCHMARK(BM_RandomIncrement_DynComp);

// ---- Sequential scan -----------------------------------------------------------------------------

void BM_Scan_Vector(benchmark::State& state) {
  auto& t = tables();
  for (auto _ : state) {
    std::int64_t free = 0;
    for (std::size_t k = 0; k < t.vector.size(); ++k) free += t.vector[k] == 999;
    benchmark::DoNotOptimize(free);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kSlots);
}
BENCHMARK(BM_Scan_Vector);

void BM_Scan_DynCompIndexed(benchmark::State& state) {
  auto& t = tables();
  const auto& dyn = t.dyn;
  for (auto _ : state) {
    std::int64_t free = 0;
    for (std::int32_t k = dyn.Low(); k <= dyn.High(); ++k) free += dyn[k] == 999;
    benchmark::DoNotOptimize(free);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kSlots);
}
BENCHMARK(BM_Scan_DynCompIndexed);

void BM_Scan_DynCompItems(benchmark::State& state) {
  auto& t = tables();
  for (auto _ : state) {
    std::int64_t free = 0;
    for (std::int16_t value : t.dyn.items()) free += value == 999;
    benchmark::DoNotOptimize(free);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kSlots);
}
BENCHMARK(BM_Scan_DynCompItems);

// ---- Quick-save and resume of one table ----------------------------------------------------------

struct ScratchFolder {
  fs::path path;
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "tavrel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
};

ScratchFolder& scratch() {
  static ScratchFolder folder;
  return folder;
}

constexpr std::int64_t kTableBytes = std::int64_t{kSlots} * 2;

// The safe save: temporary file, forced to disk, renamed into place.
void BM_Save_DynComp(benchmark::State& state) {
  const fs::path name = scratch().path / "CTBL";
  for (auto _ : state) tables().dyn.SaveToFile(name);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kTableBytes);
}
BENCHMARK(BM_Save_DynComp)->Unit(benchmark::kMicrosecond);

// What a save costs without those guarantees: one write into the file itself, left to the cache.
void BM_Save_PlainStream(benchmark::State& state) {
  const fs::path name = scratch().path / "CTBL.plain";
  const auto& vector = tables().vector;
  for (auto _ : state) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(vector.data()), static_cast<std::streamsize>(kTableBytes));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kTableBytes);
}
BENCHMARK(BM_Save_PlainStream)->Unit(benchmark::kMicrosecond);

void BM_Load_DynComp(benchmark::State& state) {
  const fs::path name = scratch().path / "CTBL.load";
  tables().dyn.SaveToFile(name);
  DynComp<std::int16_t> loaded(0);
  for (auto _ : state) {
    loaded.LoadFromFile(name, kSlots);
    benchmark::DoNotOptimize(loaded.items().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kTableBytes);
}
BENCHMARK(BM_Load_DynComp)->Unit(benchmark::kMicrosecond);

void BM_Load_PlainStream(benchmark::State& state) {
  const fs::path name = scratch().path / "CTBL.load";
  tables().dyn.SaveToFile(name);
  for (auto _ : state) {
    std::ifstream in(name, std::ios::binary);
    std::vector<std::int16_t> loaded(kSlots);
    in.read(reinterpret_cast<char*>(loaded.data()), static_cast<std::streamsize>(kTableBytes));
    benchmark::DoNotOptimize(loaded.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kTableBytes);
}
BENCHMARK(BM_Load_PlainStream)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
