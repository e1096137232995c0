// The allocation engine behind "Allocate Indent", the statistics repair and the proxy run: the
// indent is placed in table mode with the rearrangement allowed and the diagnosis on, under the
// session's cluster permission. When it stays short, the report names what was in its way (for the
// allocation assistance) and which of its class and resource has too few free periods for it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "core/indents/single_allocation.h"
#include "core/ports/progress.h"

namespace tavrel::indents {

struct EngineAllocatorSettings {
  std::optional<std::uint64_t> seed;  // empty: from the clock at every attempt
  std::chrono::steady_clock::duration rearrangeLimit = std::chrono::minutes(3);  // per pass
};

class EngineAllocator final : public IndentAllocator {
 public:
  EngineAllocator(Progress& progress, const Clock& clock, EngineAllocatorSettings settings = {})
      : progress_(progress), clock_(clock), settings_(settings) {}

  bool wired() const override { return true; }
  EngineReport allocate(store::Session& session, int serial) override;

 private:
  Progress& progress_;
  const Clock& clock_;
  EngineAllocatorSettings settings_;
};

}  // namespace tavrel::indents
