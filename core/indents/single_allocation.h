// Allocating one indent on its own ("Allocate Indent", the statistics repair, the proxy run). The
// indent is handed to the allocation engine through its parameter rows; the engine places what it
// can, rearranging other indents where that helps, and keeps every counter in step.
//
// The engine plugs in through `IndentAllocator`: `EngineAllocator` (engine_allocator.h) is the
// allocation engine in table mode. `UnwiredAllocator` places nothing and says so, for a caller
// that has no engine at hand, so that "not attempted" is never mistaken for "not possible".
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/engine/slots.h"
#include "core/indents/indent_facts.h"
#include "core/ports/clock.h"

namespace tavrel::indents {

// What the engine reports about one attempt.
struct EngineReport {
  bool attempted = true;  // false: no engine placed anything, nothing was tried
  // The limits the attempt found in the indent's way, for the allocation assistance.
  engine::Diagnosis diagnosis;
  // The class and/or resource the engine found short of slots, in the order to name them.
  std::vector<store::Owner> shortOf;

  // The assistance window has reasons to show.
  bool blockingReasonsRecorded() const { return diagnosis.anyFinding(); }
};

class IndentAllocator {
 public:
  virtual ~IndentAllocator() = default;
  // Whether this allocator can place periods at all.
  virtual bool wired() const = 0;
  // Places the periods still missing of the indent described by the parameter rows `TAPara` and
  // `TRPara` (serial `serial`), rearranging if allowed; on return the timetable, the indent's
  // allocated count and every counter agree.
  virtual EngineReport allocate(store::Session& session, int serial) = 0;
};

class UnwiredAllocator final : public IndentAllocator {
 public:
  bool wired() const override { return false; }
  EngineReport allocate(store::Session&, int) override { return EngineReport{.attempted = false}; }
};

inline constexpr const char* kEngineNotWired =
    "The allocation engine is not available in this build. No periods were allocated.";

struct AllocationResult {
  EngineReport report;
  int placedBefore = 0;
  int placedAfter = 0;
  int count = 0;
  bool complete() const { return placedAfter >= count; }
};

// `MakeAlloc`: fills the parameter rows with the indent's missing periods and runs the engine.
AllocationResult MakeAlloc(store::Session& session, IndentAllocator& allocator, int serial);

// What the indent window does after "Allocate Indent".
enum class AllocateFollowUp {
  None,            // done, declined, or nothing more to offer
  OpenAssistance,  // open the allocation-assistance window; after OK, allocate again
};

struct AllocateIndentResult {
  AllocateFollowUp followUp = AllocateFollowUp::None;
  // With OpenAssistance: what the assistance window offers to relax (engine/allocation_assistance.h).
  engine::Diagnosis diagnosis;
};

// "Allocate Indent": `MakeAlloc` with its closing messages and the help offered when the indent
// stays incomplete (removing a constraint and trying again is done here).
AllocateIndentResult AllocateIndent(store::Session& session, IndentAllocator& allocator, const Clock& clock,
                                    int serial);

// After the assistance window closed accepted: "Allocate Indent" once more, after which the
// cluster permission returns to what it was before the assistance changed it.
AllocateIndentResult AllocateAfterAssistance(store::Session& session, IndentAllocator& allocator,
                                             const Clock& clock, int serial, bool clusterPermissionBefore);

// "Time elapsed: <h>:<m>:<s>", unpadded.
std::string elapsedText(std::chrono::steady_clock::duration elapsed);

}  // namespace tavrel::indents
