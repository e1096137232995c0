#include "core/engine/quick_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <system_error>

namespace tavrel::engine {

namespace fs = std::filesystem;
using namespace store;

namespace {

fs::path staging(const fs::path& folder) {
  return folder.string() + ".new";
}
fs::path previous(const fs::path& folder) {
  return folder.string() + ".old";
}

// Makes a rename inside `folder` durable.
void syncFolder(const fs::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// A crash between the two renames of a save leaves the previous folder under its ".old" name.
void recoverInterruptedSwap(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec) && fs::exists(previous(folder), ec)) fs::rename(previous(folder), folder, ec);
}

int smallint(int value) {
  return std::clamp(value, 0, static_cast<int>(std::numeric_limits<std::int16_t>::max()));
}

std::string cannotResume(const std::string& schoolName, const std::string& why) {
  return schoolName + ": the allocation cannot be resumed because " + why +
         " Select Allocate to start afresh.";
}

}  // namespace

fs::path quickSaveFolder(const Store& store, int school) {
  return store.mainFolder() / "QuickSave" / ("School " + std::to_string(school));
}

void writeQuickSaveFiles(const WorkingSet& set, const Store& store, Progress& progress) {
  const fs::path folder = quickSaveFolder(store, set.dimensions().school);
  const fs::path next = staging(folder);
  const fs::path old = previous(folder);
  recoverInterruptedSwap(folder);
  fs::remove_all(next);
  fs::create_directories(next);
  progress.show("Quick saving work done...", 22);
  set.forEachSaved([&](const char* name, const auto& array) {
    // An empty array (a school without classes, say) has no file: nothing can be saved of it.
    if (array.Count() > 0) array.SaveToFile(next / name);
    progress.step();
  });
  fs::remove_all(old);
  std::error_code ec;
  if (fs::exists(folder, ec)) fs::rename(folder, old);
  fs::rename(next, folder);
  syncFolder(folder.parent_path());
  fs::remove_all(old);
  progress.step();
}

void recordSaveState(Store& store, int school, const SaveState& state) {
  Transaction tx(store);
  auto& schools = store.table<TSchl>();
  auto record = schools.find(TSchl::SCLCODE, {school});
  if (!record) return;
  record->SSAVEDONE = "Y";
  record->SSAVEPOS = std::string(1, state.phase);
  // The counts are shown, not trusted: a resume recounts them from the saved arrays.
  record->SDNALLOC = smallint(state.done);
  record->SFLALLOC = smallint(state.failed);
  if (state.phase == kPhaseClassRows || state.phase == kPhaseResourceRows) {
    record->SSAVESRL = state.point.owner;
    record->SDNSAVE = state.point.slot;
  } else {
    record->SSAVESRL = state.serial;
  }
  schools.update(*record);
  tx.commit();
}

SaveState savedState(const TSchl& school) {
  SaveState state;
  state.phase = school.SSAVEPOS.empty() ? kPhaseBatch : school.SSAVEPOS.front();
  state.done = school.SDNALLOC;
  state.failed = school.SFLALLOC;
  if (state.phase == kPhaseClassRows || state.phase == kPhaseResourceRows) {
    state.point = WriteBackPoint{state.phase, std::max(1, school.SSAVESRL),
                                 std::clamp(school.SDNSAVE, 0, kSlotsPerOwner - 1)};
  } else {
    state.serial = school.SSAVESRL;
  }
  return state;
}

Status loadQuickSaveFiles(WorkingSet& set, const Store& store, const std::string& schoolName) {
  const fs::path folder = quickSaveFolder(store, set.dimensions().school);
  recoverInterruptedSwap(folder);
  std::map<std::string, std::int64_t> expected;
  for (const auto& [name, count] : set.expectedSizes()) expected[name] = count;
  // The packed positions are rebuilt from the active indents; the saved ones must agree, or the
  // saved per-day counts would be read against another layout.
  DynComp<std::int32_t> savedSubjectPositions{1}, savedResourcePositions{1};
  std::optional<Error> refusal;
  set.forEachSaved([&](const char* name, auto& array) {
    if (refusal) return;
    const std::int64_t count = expected.at(name);
    using Array = std::remove_reference_t<decltype(array)>;
    Array* target = &array;
    if constexpr (std::is_same_v<Array, DynComp<std::int32_t>>) {
      target = std::string(name) == "CSUBPOS" ? &savedSubjectPositions : &savedResourcePositions;
    }
    const fs::path file = folder / name;
    std::error_code ec;
    if (count == 0) {
      target->Clear();
      return;
    }
    if (!fs::exists(file, ec)) {
      refusal = Error{cannotResume(schoolName, "its quick-save file " + std::string(name) + " is missing.")};
      return;
    }
    const auto bytes = fs::file_size(file, ec);
    const auto held = static_cast<std::int64_t>(bytes / static_cast<std::uintmax_t>(Array::ItemSize()));
    if (ec || held != count || bytes % static_cast<std::uintmax_t>(Array::ItemSize()) != 0) {
      refusal = Error{cannotResume(
          schoolName, "the quick-save file " + std::string(name) + " holds " + std::to_string(held) +
                          " elements and the school now needs " + std::to_string(count) + ".")};
      return;
    }
    try {
      target->LoadFromFile(file, static_cast<std::int32_t>(count));
    } catch (const EDynArrayException& failure) {
      refusal = Error{cannotResume(schoolName, "its quick-save file " + std::string(name) +
                                                   " cannot be read (" + failure.what() + ").")};
    }
  });
  if (!refusal) {
    auto same = [](const DynComp<std::int32_t>& a, const DynComp<std::int32_t>& b) {
      return std::equal(a.items().begin(), a.items().end(), b.items().begin(), b.items().end());
    };
    if (!same(savedSubjectPositions, set.CSUBPOS) || !same(savedResourcePositions, set.CTCHPOS)) {
      refusal = Error{cannotResume(schoolName, "its active indents have changed since the quick-save.")};
    }
  }
  if (refusal) {
    set.ClearMem();
    return *refusal;
  }
  return {};
}

}  // namespace tavrel::engine
