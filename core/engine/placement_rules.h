// The rules a placed period must keep, as pure predicates over what one day of one timetable row
// holds. The placement checks of the engine (checks.h) ask them before a period is placed; the
// audit (audit.h) asks the same ones of a finished timetable, so the engine and its judge can never
// disagree about what a rule means.
#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

namespace tavrel::engine {

inline constexpr int kDays = 9;  // the fixed grid every owner has, whatever its week
inline constexpr int kPeriods = 12;
inline constexpr int kSlotsPerOwner = kDays * kPeriods;

// What a period of a resource's day means to the continuity rule.
enum class PeriodUse {
  Busy,  // allocated: it lengthens the run
  Open,  // free, not available, or being vacated by the move in hand: it ends the run
  Skip,  // no timetable row (tables only): neither; the scan looks past it
};

struct ContinuityVerdict {
  bool passes = true;
  int run = 0;  // the run through the block as far as it was counted (stops once past the limit)
};

// The resource's run of consecutive busy periods through a block of `size` periods starting at
// `period` (1-based) must not pass `limit`. A block longer than the limit never passes, so a limit
// of 0 allows nothing. `useAt(q)` tells what period q (1-based) of the same day holds.
//
// Both directions are scanned as far as a run could still pass the limit. A vacated period ends the
// scan of its own direction only: the periods on its other side are still counted.
template <class UseAt>
ContinuityVerdict continuityAllows(int period, int size, int limit, UseAt useAt) {
  ContinuityVerdict verdict{true, size};
  if (verdict.run > limit) return {false, verdict.run};
  for (int q = period - 1; q >= std::max(1, period - limit); --q) {
    const PeriodUse use = useAt(q);
    if (use == PeriodUse::Open) break;
    if (use == PeriodUse::Skip) continue;
    if (++verdict.run > limit) return {false, verdict.run};
  }
  for (int q = period + size; q <= std::min(kPeriods, period + limit); ++q) {
    const PeriodUse use = useAt(q);
    if (use == PeriodUse::Open) break;
    if (use == PeriodUse::Skip) continue;
    if (++verdict.run > limit) return {false, verdict.run};
  }
  return verdict;
}

// Whether a cluster block of `size` periods from `start` would straddle a recess: a recess follows
// each period listed in `recessAfter`, and only the gaps inside the block matter (after its last
// period the block has ended).
inline bool blockSpansRecess(int start, int size, std::span<const int> recessAfter) {
  for (int q = start; q <= start + size - 2; ++q) {
    if (std::find(recessAfter.begin(), recessAfter.end(), q) != recessAfter.end()) return true;
  }
  return false;
}

// The part of a subject's name that its variants share: "Maths(*A)" and "Maths(*B)" are both
// "Maths". A name without "(*" is its own base.
inline std::string_view subjectBaseName(std::string_view name) {
  return name.substr(0, name.find("(*"));
}

// Whether a neighbouring period of the subject `neighbourCode` named `neighbourName` counts as the
// same subject as the one being placed (`code`, base name `base`), which the adjacency rule keeps
// out of the class's next period: the same code, the base itself, or any variant of the base.
inline bool sameSubject(int code, std::string_view base, int neighbourCode, std::string_view neighbourName) {
  if (neighbourCode == code) return true;
  if (neighbourName == base) return true;
  const std::string variant = std::string(base) + "(*";
  return neighbourName.find(variant) != std::string_view::npos;
}

}  // namespace tavrel::engine
