// "Allocate All": the engine behind the allocation window ("Allocation Setup"). A run loads the
// current school's working set, walks its active indents in `ALLOFLAG` order (priority letter,
// subject, serial) placing each one and rearranging for those that do not fit, and writes the
// working set back. A run can be stopped (it is then quick-saved) and resumed, in this object or,
// after the program was closed, from the quick-save files.
//
// The window shows what the run reports: the main label and bar through the Progress port, the
// counters, category labels and chart tallies through a RunListener, and the questions and the
// completion message through the Prompter. Stop is the Progress port's `pump()` answering true.
//
// Lifecycle of the school's saved job (`SSAVEDONE`): "N" when a fresh run starts and when a run
// ends normally; "Y" at every quick-save; "Y" becomes "R" when the window closes (and at program
// start, in the shell), after which a resume reloads the files.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/rearrangement.h"
#include "core/engine/slots.h"
#include "core/engine/working_set.h"
#include "core/ports/clock.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/session.h"

namespace tavrel::engine {

struct EnginePorts {
  Prompter& prompter;
  Progress& progress;
  const Clock& clock;
};

// Periods allocated and failed per category, in the order the categories were met.
struct CategoryTally {
  std::string category;
  int allocated = 0;
  int failed = 0;
};

// The run's counters as the window's labels and bars show them.
struct RunLabels {
  std::string allocated;  // "<done>/<total> periods allocated (<pct>%)"
  std::string failed;     // "<failed>/<total> periods failed allocation (<pct>%)"
  std::string processed;  // "<done + failed>/<total> periods processed (<pct>%)"
  std::string
      category;  // "<category>: <failed>/<processed> periods failed allocation", for the one just done
  int done = 0;
  int failedCount = 0;
  int total = 0;
};

class RunListener {
 public:
  virtual ~RunListener() = default;
  virtual void labels(const RunLabels&) {}
  virtual void tallies(const std::vector<CategoryTally>&) {}
};

struct RunSettings {
  std::optional<std::uint64_t> seed;                                             // empty: from the clock
  std::chrono::steady_clock::duration rearrangeLimit = std::chrono::minutes(3);  // per pass
  bool clusterPermission = false;  // "Apply Cluster Permission for Regular indents"
  // After the batch, every indent still short is placed once more, with the rearrangement, in
  // batch order ("Reattempting for the failed allocations..."). Measured on generated schools: it
  // placed about a quarter of what the batch had left before the rearrangement's chains existed,
  // and a few more periods of over-full schools since; it costs nothing when all are placed. So a
  // fresh run enters it too, and it takes every short indent, not only those of priority "Z".
  bool reattemptPass = true;
  RunListener* listener = nullptr;
};

enum class RunEnd {
  Completed,  // written back; the window closes
  Stopped,    // stopped and quick-saved (or, while loading, abandoned); Resume is enabled when saved
  Declined,   // a question was answered No; nothing happened
  Refused,    // a resume whose files do not fit the school; the message was shown
};

struct RunOutcome {
  RunEnd end = RunEnd::Declined;
  int totalPeriods = 0;
  int done = 0;
  int failed = 0;
  // Some indent ended short: the window opens "School Statistics" on its fourth page, passing
  // `elapsed`, instead of the completion message.
  bool anyIncomplete = false;
  std::string elapsed;  // "<h>:<m>:<s>"
  std::vector<CategoryTally> tallies;
  std::uint64_t seed = 0;
  std::string refusal;
};

// "<h>:<m>:<s>", unpadded, hours counted in full.
std::string elapsedText(std::chrono::steady_clock::duration elapsed);

// The seed of a run that was given none: from the clock.
std::uint64_t seedFromClock(const Clock& clock);

class AllocationRun {
 public:
  AllocationRun(store::Session& session, EnginePorts ports, RunSettings settings = {});
  ~AllocationRun();  // closes the window: `close()`
  AllocationRun(const AllocationRun&) = delete;
  AllocationRun& operator=(const AllocationRun&) = delete;

  // "&Allocate" (`BAllocClick`).
  RunOutcome allocate();
  // "&Resume" (`BRsumeClick`).
  RunOutcome resume();
  // Closing the window (`FormClose`): the arrays are released and a saved job becomes "R".
  void close();

  // The Resume button: the current school has a saved job ("Y" or "R").
  bool resumeEnabled() const;
  // The auto quick-save option: offered only for a school with more than 25 indent serials.
  bool autoQuickSaveAvailable() const;
  // True while the rearrangement works for an indent (the Stop button then asks to wait).
  bool rearranging() const;
  // While rearranging: the level at work and whether it is the class pass.
  RearrangeLevel rearrangeLevel() const;
  bool classPass() const;

  RunSettings& settings();
  const WorkingSet& workingSet() const;

 private:
  class Run;
  std::unique_ptr<Run> run_;
};

// ---- Table mode --------------------------------------------------------------------------------

struct TableModeSettings {
  std::optional<std::uint64_t> seed;
  std::chrono::steady_clock::duration rearrangeLimit = std::chrono::minutes(3);
  bool clusterPermission = false;
  bool rearrange = true;  // "with rearrangement allowed"
  bool diagnose = false;  // keep what blocked the indent, for the allocation assistance
  // Set while the rearrangement works for the indent: a Stop pressed then asks the person to wait.
  bool* rearranging = nullptr;
};

struct IndentAllocation {
  int gained = 0;   // periods placed now
  int missing = 0;  // periods the indent still lacks
  bool stopped = false;
  Diagnosis diagnosis;
  std::uint64_t seed = 0;
};

// One indent in table mode (the indent window's `MakeAlloc`, "Allocate Select", the proxy
// window): the parameter rows, the placement, the resource and class passes of the rearrangement
// when still short, and the class, resource and subject totals of what it gained. Everything is
// written to the tables in one transaction. Existing allocations stay. The session's allocation
// mode becomes 'S'.
IndentAllocation allocateIndent(store::Session& session, EnginePorts ports, int serial,
                                const TableModeSettings& settings = {});

}  // namespace tavrel::engine
