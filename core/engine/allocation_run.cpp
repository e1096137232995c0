#include "core/engine/allocation_run.h"

#include <algorithm>
#include <filesystem>

#include "core/engine/parameters.h"
#include "core/engine/placement.h"
#include "core/engine/quick_save.h"
#include "core/engine/rearrangement.h"
#include "core/engine/table_slots.h"
#include "core/engine/write_back.h"
#include "core/store/priority_categories.h"

namespace tavrel::engine {

using namespace store;

namespace {

constexpr const char* kResumeQuestion =
    "Your previous allocation job is incomplete. If you select Yes, the allocation will start afresh. Select "
    "No to exit and use Resume to continue your incomplete job.";
constexpr const char* kContinuityQuestion =
    "Applying Resource continuity sequence upper limit slows  the allocation process. It may take more time "
    "if the allocation is complex. Select Yes to continue.";
constexpr const char* kReattemptLabel = "Reattempting for the failed allocations...";
constexpr int kPassDone = -1;  // the resume point of a re-attempt pass that has nothing left to do

// A percentage of a school with no periods is 0: nothing to do is not a division by zero.
int percent(int count, int total) {
  return total > 0 ? static_cast<int>(static_cast<long>(count) * 100 / total) : 0;
}

// Each write of a parameter row replaces the table's one row.
void storeParameters(Store& store, const TAPara& placing, const TRPara& failing) {
  auto& placingTable = store.table<TAPara>();
  placingTable.removeAll();
  TAPara placingRow = placing;
  placingTable.insert(placingRow);
  auto& failingTable = store.table<TRPara>();
  failingTable.removeAll();
  TRPara failingRow = failing;
  failingTable.insert(failingRow);
}

void setSaveDone(Store& store, int school, const std::string& value) {
  Transaction tx(store);
  auto record = store.table<TSchl>().find(TSchl::SCLCODE, {school});
  if (record && record->SSAVEDONE != value) {
    record->SSAVEDONE = value;
    store.table<TSchl>().update(*record);
  }
  tx.commit();
}

}  // namespace

std::uint64_t seedFromClock(const Clock& clock) {
  return static_cast<std::uint64_t>(clock.wallNow().time_since_epoch().count()) ^
         static_cast<std::uint64_t>(clock.now().time_since_epoch().count());
}

std::string elapsedText(std::chrono::steady_clock::duration elapsed) {
  const long seconds =
      std::max(0L, static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count()));
  return std::to_string(seconds / 3600) + ":" + std::to_string(seconds / 60 % 60) + ":" +
         std::to_string(seconds % 60);
}

// ---- The run ---------------------------------------------------------------------------------------

class AllocationRun::Run {
 public:
  Run(Session& session, EnginePorts ports, RunSettings settings)
      : settings_(settings), session_(session), store_(session.store()), ports_(ports) {}

  RunSettings settings_;
  WorkingSet set_;
  bool rearranging_ = false;
  std::optional<Rearranger<WorkingSet>> rearranger_;

  bool resumeEnabled() const {
    auto school = session_.school();
    return school && (school->SSAVEDONE == "Y" || school->SSAVEDONE == "R");
  }

  bool autoQuickSaveAvailable() const {
    auto school = session_.school();
    return school && school->SALLSERIAL > 25;
  }

  // ---- "&Allocate" and "&Resume" -----------------------------------------------------------------

  RunOutcome allocate() {
    auto school = session_.school();
    if (!school) return outcome(RunEnd::Declined);
    if (resumeEnabled() && !ports_.prompter.ask(MessageKind::Information, kResumeQuestion)) {
      return outcome(RunEnd::Declined);
    }
    if (store_.institution().ITSQUL && !ports_.prompter.ask(MessageKind::Information, kContinuityQuestion)) {
      return outcome(RunEnd::Declined);
    }
    tallies_.clear();
    session_.AllocMode = 'A';
    if (auto end = setup(LoadMode::Fresh, *school)) return outcome(*end);
    return carryOn(kPhaseBatch, 0, std::nullopt);
  }

  RunOutcome resume() {
    auto school = session_.school();
    if (!school || !resumeEnabled()) return outcome(RunEnd::Declined);
    tallies_.clear();
    session_.AllocMode = 'R';
    if (auto end = setup(LoadMode::Resume, *school)) return outcome(*end);
    const SaveState state = savedState(*school);
    if (state.phase == kPhaseClassRows || state.phase == kPhaseResourceRows) {
      return carryOn(state.phase, 0, state.point);
    }
    return carryOn(state.phase, state.serial, std::nullopt);
  }

  void close() {
    set_.ClearMem();
    loadedSchool_ = 0;
    if (auto school = session_.school(); school && school->SSAVEDONE == "Y") {
      setSaveDone(store_, school->SCHOOLCODE, "R");
    }
  }

 private:
  // ---- Setup (`BAllocSetup`) ------------------------------------------------------------------------

  // Empty when the run may go on; otherwise how it ended (a stop while loading, a refused resume).
  std::optional<RunEnd> setup(LoadMode mode, const TSchl& school) {
    random_.emplace(settings_.seed.value_or(seedFromClock(ports_.clock)));
    stopRequested_ = false;
    anyIncomplete_ = false;
    mode_ = mode;
    school_ = school;
    institution_ = store_.institution();
    autoSave_ = institution_.IASAVE && school.SALLSERIAL > 25;
    startTime_ = ports_.clock.now();
    if (mode == LoadMode::Fresh) {
      setSaveDone(store_, school.SCHOOLCODE, "N");
      std::error_code ec;
      std::filesystem::remove_all(quickSaveFolder(store_, school.SCHOOLCODE), ec);
    }
    // A job saved by this window is still in memory; one saved before the window (or the program)
    // closed is read back from its files.
    const bool inMemory = mode == LoadMode::Resume && school.SSAVEDONE == "Y" && set_.loaded() &&
                          loadedSchool_ == school.SCHOOLCODE;
    if (!inMemory) {
      ports_.progress.show("Loading...", 0);
      if (!set_.load(store_, school.SCHOOLCODE, mode, ports_.progress)) {
        stopProc(false);
        return RunEnd::Stopped;
      }
      if (mode == LoadMode::Resume) {
        Status files = loadQuickSaveFiles(set_, store_, school.SNAME);
        if (!files) {
          refusal_ = files.error();
          ports_.progress.hide();
          ports_.prompter.error(refusal_);
          return RunEnd::Refused;
        }
      }
      loadedSchool_ = school.SCHOOLCODE;
    }
    rules_ = PlacementRules::of(institution_, school, settings_.clusterPermission);
    placer_.emplace(set_, rules_, *random_, ports_.prompter);
    rearranger_.emplace(set_, *placer_,
                        PassLimits{ports_.clock, ports_.progress, settings_.rearrangeLimit, stopRequested_});
    countFromArrays(mode == LoadMode::Resume ? savedState(school) : SaveState{});
    return std::nullopt;
  }

  // `DoneCount` and `FailCount` from what the arrays hold: the school record keeps them only as
  // 16-bit numbers, and a count of the arrays is always right.
  void countFromArrays(const SaveState& state) {
    done_ = 0;
    failed_ = 0;
    const std::vector<int>& order = set_.batchOrder();
    const std::size_t processed = state.phase == kPhaseBatch ? batchPosition(state.serial) : order.size();
    for (std::size_t i = 0; i < order.size(); ++i) {
      const int serial = order[i];
      done_ += set_.SRLALLO[serial];
      if (mode_ == LoadMode::Resume && i < processed) failed_ += shortfall(serial);
    }
  }

  int shortfall(int serial) const {
    return std::max(0, set_.indentRow(serial).ANOOFLEC - set_.SRLALLO[serial]);
  }

  // Where a serial stands in the batch; a serial of 0 (or one no longer active) is the batch's end.
  std::size_t batchPosition(int serial) const {
    const std::vector<int>& order = set_.batchOrder();
    auto found = std::find(order.begin(), order.end(), serial);
    return static_cast<std::size_t>(found - order.begin());
  }

  // ---- The phases in order ---------------------------------------------------------------------------

  RunOutcome carryOn(char phase, int serial, std::optional<WriteBackPoint> writeBackFrom) {
    if (phase == kPhaseBatch) {
      if (!BatchAlloc(mode_ == LoadMode::Resume ? batchPosition(serial) : 0)) return outcome(RunEnd::Stopped);
      phase = kPhaseReattempt;
      serial = 0;
    }
    if (phase == kPhaseReattempt) {
      if (settings_.reattemptPass && !reattemptPass(serial)) return outcome(RunEnd::Stopped);
      if (autoSave_) {
        quickSave(kPhaseReattempt, 0, {});
        saveStage_ = 5;
      }
    }
    return BAllocShut(writeBackFrom);
  }

  // ---- The batch (`BatchAlloc`) ------------------------------------------------------------------------

  // False when stopped (the run is then quick-saved).
  bool BatchAlloc(std::size_t from) {
    savePos_ = kPhaseBatch;
    saveStage_ = mode_ == LoadMode::Resume ? std::min(4, percent(done_, set_.TotalPeriods()) / 20) : 0;
    const std::vector<int>& order = set_.batchOrder();
    std::string category = from < order.size() ? categoryOf(order[from]) : std::string();
    showMain("Allocating " + category + " periods...");
    int categoryDone = 0;
    int categoryFailed = 0;
    for (std::size_t i = from; i < order.size(); ++i) {
      const int serial = order[i];
      if (const std::string next = categoryOf(serial); next != category) {
        finishCategory(category, categoryDone, categoryFailed);
        category = next;
        categoryDone = categoryFailed = 0;
        showMain("Allocating " + category + " periods...");
      }
      const int before = set_.SRLALLO[serial];
      const bool interrupted = BAllocMain(serial, kFirstAttempt);
      categoryDone += set_.SRLALLO[serial] - before;
      categoryFailed += interrupted ? 0 : shortfall(serial);
      autoQuickSave(serial);
      if (!stopRequested_ && ports_.progress.pump()) stopRequested_ = true;
      if (stopRequested_) {
        addTally(category, categoryDone, categoryFailed);
        // An indent whose rearrangement was cut short is done again; a finished one is not.
        const std::size_t resumeAt = interrupted ? i : i + 1;
        stopProc(true, resumeAt < order.size() ? kPhaseBatch : kPhaseReattempt,
                 resumeAt < order.size() ? order[resumeAt] : 0);
        return false;
      }
    }
    finishCategory(category, categoryDone, categoryFailed);
    return true;
  }

  std::string categoryOf(int serial) const {
    const std::string& letter = set_.indentRow(serial).APRIORITY;
    return Figure_category(letter.empty() ? ' ' : letter.front());
  }

  void addTally(const std::string& category, int allocated, int failed) {
    auto tally = std::find_if(tallies_.begin(), tallies_.end(),
                              [&](const CategoryTally& t) { return t.category == category; });
    if (tally == tallies_.end()) tally = tallies_.insert(tallies_.end(), CategoryTally{category});
    tally->allocated += allocated;
    tally->failed += failed;
  }

  void finishCategory(const std::string& category, int allocated, int failed) {
    addTally(category, allocated, failed);
    labels_.category = category + ": " + std::to_string(failed) + "/" + std::to_string(allocated + failed) +
                       " periods failed allocation";
    if (settings_.listener) {
      settings_.listener->tallies(tallies_);
      settings_.listener->labels(labels_);
    }
  }

  // `BAllocMain`: one indent, then the rearrangement's resource and class passes while it is short.
  // True when Stop cut its rearrangement short.
  bool BAllocMain(int serial, const char* kind) {
    const TAlloc& indent = set_.indentRow(serial);
    const int before = set_.SRLALLO[serial];
    const int missing = indent.ANOOFLEC - before;
    failing_ = rearrangeParameters(indent, missing, kResourcePass);
    placing_ = allocationParameters(indent, missing, kind);
    placer_->lecalloc(placing_);
    bool interrupted = false;
    if (shortfall(serial) > 0 && !stopRequested_) {
      rearranging_ = true;
      rearranger_->rearrange(failing_, shortfall(serial));
      if (shortfall(serial) > 0 && !stopRequested_) {
        failing_.RNOOFLEC = shortfall(serial);
        failing_.RREARRNG = kClassPass;
        rearranger_->rearrange(failing_, shortfall(serial));
      }
      rearranging_ = false;
      interrupted = stopRequested_;
    }
    if (shortfall(serial) > 0) anyIncomplete_ = true;
    const int gained = set_.SRLALLO[serial] - before;
    if (gained != 0) set_.addTotals(set_.prepare(placing_), gained);
    done_ += gained;
    if (kind == kFirstAttempt) {
      if (!interrupted) failed_ += shortfall(serial);
    } else {
      failed_ -= gained;
    }
    ports_.progress.step(gained);
    showCounters();
    return interrupted;
  }

  void showCounters() {
    const int total = set_.TotalPeriods();
    labels_.allocated = std::to_string(done_) + "/" + std::to_string(total) + " periods allocated (" +
                        std::to_string(percent(done_, total)) + "%)";
    labels_.failed = std::to_string(failed_) + "/" + std::to_string(total) + " periods failed allocation (" +
                     std::to_string(percent(failed_, total)) + "%)";
    labels_.processed = std::to_string(done_ + failed_) + "/" + std::to_string(total) +
                        " periods processed (" + std::to_string(percent(done_ + failed_, total)) + "%)";
    labels_.done = done_;
    labels_.failedCount = failed_;
    labels_.total = total;
    if (settings_.listener) settings_.listener->labels(labels_);
  }

  void showMain(const std::string& label) {
    mainLabel_ = label;
    ports_.progress.show(label, set_.TotalPeriods());
    ports_.progress.step(done_);
  }

  // Automatic quick-saves as 20, 40, 60 and 80 % of the periods are allocated.
  void autoQuickSave(int serial) {
    if (!autoSave_ || saveStage_ >= 4) return;
    const int stage = std::min(4, percent(done_, set_.TotalPeriods()) / 20);
    if (stage <= saveStage_) return;
    saveStage_ = stage;
    const std::vector<int>& order = set_.batchOrder();
    const std::size_t next = batchPosition(serial) + 1;
    quickSave(next < order.size() ? kPhaseBatch : kPhaseReattempt, next < order.size() ? order[next] : 0, {});
    showMain(mainLabel_);
  }

  // ---- The re-attempt pass -----------------------------------------------------------------------------

  // Every active indent still short, in batch order, is placed again as a re-attempt with the
  // rearrangement's passes, from `serial` on (0: from the start; -1: the pass is done). False when
  // stopped.
  bool reattemptPass(int serial) {
    savePos_ = kPhaseReattempt;
    showMain(kReattemptLabel);
    const std::vector<int>& order = set_.batchOrder();
    const std::size_t from = serial == 0 ? 0 : std::min(batchPosition(serial), order.size());
    for (std::size_t i = from; i < order.size(); ++i) {
      if (shortfall(order[i]) == 0) continue;
      const bool interrupted = BAllocMain(order[i], kReattempt);
      if (!stopRequested_ && ports_.progress.pump()) stopRequested_ = true;
      if (stopRequested_) {
        const std::size_t resumeAt = interrupted ? i : i + 1;
        stopProc(true, kPhaseReattempt, resumeAt < order.size() ? order[resumeAt] : kPassDone);
        return false;
      }
    }
    return true;
  }

  // ---- Quick-save and stop -------------------------------------------------------------------------------

  // `SaveArray`: the files (unless the final automatic save already holds these arrays), the
  // parameter rows and the resume state, which commits with the caller's transaction if any.
  void quickSave(char phase, int serial, WriteBackPoint point) {
    Transaction tx(store_);
    if (!(autoSave_ && saveStage_ == 5)) writeQuickSaveFiles(set_, store_, ports_.progress);
    storeParameters(store_, placing_, failing_);
    recordSaveState(store_, school_.SCHOOLCODE, SaveState{phase, serial, point, done_, failed_});
    tx.commit();
    savePos_ = phase;
  }

  // `StopProc`.
  void stopProc(bool save, char phase = kPhaseBatch, int serial = 0, WriteBackPoint point = {}) {
    ports_.progress.hide();
    if (save) quickSave(phase, serial, point);
    stopRequested_ = false;
    anyIncomplete_ = false;
  }

  // ---- Shutdown (`BAllocShut`) ---------------------------------------------------------------------------

  RunOutcome BAllocShut(std::optional<WriteBackPoint> from) {
    ports_.progress.hide();
    Transaction tx(store_);
    const WriteBackResult written = from ? UnLodPart(set_, store_, ports_.prompter, ports_.progress, *from)
                                         : UnLodLim(set_, store_, ports_.prompter, ports_.progress);
    if (written.stopped) {
      stopProc(true, written.reached.phase, 0, written.reached);
      tx.commit();
      return outcome(RunEnd::Stopped);
    }
    // A fresh run set "N" when it started: writing it again would add the school file to the commit.
    if (auto record = store_.table<TSchl>().find(TSchl::SCLCODE, {school_.SCHOOLCODE})) {
      TSchl done = *record;
      done.SSAVEDONE = "N";
      store_.table<TSchl>().update(done, *record);
    }
    store_.table<TProxy>().removeRange(TProxy::primary, {school_.SCHOOLCODE});
    storeParameters(store_, placing_, failing_);
    tx.commit();
    std::error_code ec;
    std::filesystem::remove_all(quickSaveFolder(store_, school_.SCHOOLCODE), ec);

    anyIncomplete_ = false;
    for (int serial : set_.batchOrder()) anyIncomplete_ = anyIncomplete_ || shortfall(serial) > 0;
    RunOutcome result = outcome(RunEnd::Completed);
    ports_.prompter.beep();
    if (!anyIncomplete_) {
      ports_.prompter.info(std::to_string(done_) + "/" + std::to_string(set_.TotalPeriods()) +
                           " periods allocated. " + std::to_string(percent(done_, set_.TotalPeriods())) +
                           " % complete. Time elapsed: " + result.elapsed + ".");
    }
    set_.ClearMem();
    loadedSchool_ = 0;
    return result;
  }

  RunOutcome outcome(RunEnd end) const {
    RunOutcome result;
    result.end = end;
    result.totalPeriods = set_.loaded() ? set_.TotalPeriods() : 0;
    result.done = done_;
    result.failed = failed_;
    result.anyIncomplete = anyIncomplete_;
    result.elapsed = elapsedText(ports_.clock.now() - startTime_);
    result.tallies = tallies_;
    result.seed = random_ ? random_->seed() : 0;
    result.refusal = refusal_;
    return result;
  }

  Session& session_;
  Store& store_;
  EnginePorts ports_;
  LoadMode mode_ = LoadMode::Fresh;
  TSchl school_;
  TInst institution_;
  PlacementRules rules_;
  std::optional<RunRandom> random_;
  std::optional<Placer<WorkingSet>> placer_;
  int loadedSchool_ = 0;
  bool stopRequested_ = false;
  bool anyIncomplete_ = false;
  bool autoSave_ = false;
  int saveStage_ = 0;
  char savePos_ = kPhaseBatch;
  int done_ = 0;
  int failed_ = 0;
  std::chrono::steady_clock::time_point startTime_{};
  std::vector<CategoryTally> tallies_;
  RunLabels labels_;
  std::string mainLabel_;
  std::string refusal_;
  TAPara placing_;
  TRPara failing_;
};

// ---- AllocationRun ---------------------------------------------------------------------------------

AllocationRun::AllocationRun(Session& session, EnginePorts ports, RunSettings settings)
    : run_(std::make_unique<Run>(session, ports, settings)) {}

AllocationRun::~AllocationRun() {
  try {
    run_->close();
  } catch (...) {
    // Closing must not throw; a failure to mark the job "R" leaves it "Y", which the next start
    // turns into "R" anyway.
  }
}

RunOutcome AllocationRun::allocate() {
  return run_->allocate();
}
RunOutcome AllocationRun::resume() {
  return run_->resume();
}
void AllocationRun::close() {
  run_->close();
}
bool AllocationRun::resumeEnabled() const {
  return run_->resumeEnabled();
}
bool AllocationRun::autoQuickSaveAvailable() const {
  return run_->autoQuickSaveAvailable();
}
bool AllocationRun::rearranging() const {
  return run_->rearranging_;
}
RearrangeLevel AllocationRun::rearrangeLevel() const {
  return run_->rearranger_ ? run_->rearranger_->level() : RearrangeLevel::None;
}
bool AllocationRun::classPass() const {
  return run_->rearranger_ && run_->rearranger_->classPass();
}
RunSettings& AllocationRun::settings() {
  return run_->settings_;
}
const WorkingSet& AllocationRun::workingSet() const {
  return run_->set_;
}

// ---- Table mode ------------------------------------------------------------------------------------

IndentAllocation allocateIndent(Session& session, EnginePorts ports, int serial,
                                const TableModeSettings& settings) {
  IndentAllocation result;
  Store& store = session.store();
  auto school = session.school();
  if (!school) return result;
  session.AllocMode = 'S';
  Transaction tx(store);
  TableSlots slots(store, school->SCHOOLCODE);
  auto indent = slots.indent(serial);
  if (!indent) return result;
  RunRandom random(settings.seed.value_or(seedFromClock(ports.clock)));
  result.seed = random.seed();
  const PlacementRules rules = PlacementRules::of(store.institution(), *school, settings.clusterPermission);
  const int before = indent->ANOLECALL;
  const int missing = indent->ANOOFLEC - before;
  TRPara failing = rearrangeParameters(*indent, missing, kResourcePass);
  TAPara placing = allocationParameters(*indent, missing, kReattempt);
  storeParameters(store, placing, failing);

  Placer<TableSlots> placer(slots, rules, random, ports.prompter);
  if (settings.diagnose) placer.diagnosis = &result.diagnosis;
  placer.lecalloc(placing);
  placer.diagnosis = nullptr;  // the moves of other indents are no finding about this one
  auto lacking = [&] { return indent->ANOOFLEC - slots.indentAllocated(serial); };
  bool stop = false;
  if (settings.rearrange && lacking() > 0) {
    if (settings.rearranging) *settings.rearranging = true;
    Rearranger<TableSlots> rearranger(slots, placer,
                                      PassLimits{ports.clock, ports.progress, settings.rearrangeLimit, stop});
    rearranger.rearrange(failing, lacking());
    if (lacking() > 0 && !stop) {
      failing.RNOOFLEC = lacking();
      failing.RREARRNG = kClassPass;
      rearranger.rearrange(failing, lacking());
    }
    if (settings.rearranging) *settings.rearranging = false;
  }
  const int after = slots.indentAllocated(serial);
  result.gained = after - before;
  result.missing = indent->ANOOFLEC - after;
  result.stopped = stop;
  if (result.gained != 0) slots.addTotals(slots.prepare(placing), result.gained);
  storeParameters(store, placing, failing);
  tx.commit();
  return result;
}

}  // namespace tavrel::engine
