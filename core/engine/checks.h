// The placement checks: may one period of the indent in hand (or one cluster block of it) go to
// day d, period p? They only answer; placing and moving are elsewhere (allocation.h,
// rearrangement.h). Written once over the slot interface (slots.h), so the in-memory run and
// table mode judge a cell by the same code, and with the same rule predicates as the audit.
//
// Where this differs from the checks of earlier versions, the earlier behaviour let a timetable
// break a rule the audit holds it to:
//   - a group class or group resource must be free in its own row as well as in its members' rows
//     (its own not-available cells were being overwritten);
//   - a class or resource whose group flag is neither "Y" nor "N" is checked as a plain one, not
//     waved through;
//   - a group resource keeps its own per-day and continuity limits, and each member its own: a
//     member's limit is a property of that member, whatever group it teaches in;
//   - a period vacated by the move in hand ends the continuity and adjacency scans in its own
//     direction only; the other side is still looked at;
//   - the checks never write: a per-day count without a record reads as 0, and the placement
//     creates the record (table mode).
#pragma once

#include <algorithm>
#include <array>
#include <optional>

#include "core/engine/placement_rules.h"
#include "core/engine/slots.h"

namespace tavrel::engine {

// The cells the indent may use on this attempt: its basis class (the class, or the first member
// of a group class) is free there, and the cell is not reserved for the indent the rearrangement
// works for. Index (d - 1) * 12 + (p - 1).
using SlotMap = std::array<bool, kSlotsPerOwner>;
using Reservation = std::array<bool, kSlotsPerOwner>;

constexpr int slotOf(int day, int period) {
  return (day - 1) * kPeriods + (period - 1);
}

template <SlotStore S>
struct CheckContext {
  S& slots;
  const PlacementRules& rules;
  const IndentInHand& indent;
  const std::optional<VacatedBlock>& vacated;
  Diagnosis* diagnosis = nullptr;  // table mode with diagnosis on only

  bool diagnosing() const { return S::kMode == SlotMode::Tables && diagnosis != nullptr; }
};

// `Chkdumy`: the cell belongs to the block the move in hand is vacating.
inline bool Chkdumy(const std::optional<VacatedBlock>& vacated, int day, int period) {
  return vacated && vacated->holds(day, period);
}

namespace detail {

// Free, or (table mode) no row at all, which does not block.
inline bool clear(int partner) {
  return partner == kFree || partner == kNoRow;
}

inline void lowerNeed(int& need, int value) {
  if (need == 0 || value < need) need = value;
}

}  // namespace detail

// `clsavail`: a group class and every one of its members are free at (d, p). A group without
// members cannot be placed.
template <SlotStore S>
bool clsavail(S& slots, const IndentInHand& indent, int day, int period) {
  if (indent.classMembers.empty()) return false;
  if (!detail::clear(slots.classPartner(indent.cls, day, period))) return false;
  for (int member : indent.classMembers) {
    if (!detail::clear(slots.classPartner(member, day, period))) return false;
  }
  return true;
}

// `tchavail`: the same for a group resource.
template <SlotStore S>
bool tchavail(S& slots, const IndentInHand& indent, int day, int period) {
  if (indent.resourceMembers.empty()) return false;
  if (!detail::clear(slots.resourcePartner(indent.resource, day, period))) return false;
  for (int member : indent.resourceMembers) {
    if (!detail::clear(slots.resourcePartner(member, day, period))) return false;
  }
  return true;
}

// `tchdayavail`: `size` more periods on day d keep the group resource and each member within
// their own per-day limits.
template <SlotStore S>
bool tchdayavail(S& slots, const IndentInHand& indent, int day, int size) {
  if (indent.resourceDayLimit < slots.resourceDayCount(indent.resource, day) + size) return false;
  for (std::size_t i = 0; i < indent.resourceMembers.size(); ++i) {
    if (indent.memberDayLimits[i] < slots.resourceDayCount(indent.resourceMembers[i], day) + size)
      return false;
  }
  return true;
}

// `CheckLimits`: class and resource free at (d, p), and `size` more periods on day d within the
// per-day limits whose switches are on. In diagnosis a limit that fails is recorded, marks the
// cell `LimitOnly` and the check goes on, so every limit in the way is found.
template <SlotStore S>
bool CheckLimits(const CheckContext<S>& c, int day, int period, int size) {
  const IndentInHand& indent = c.indent;
  S& slots = c.slots;
  const bool classFree = indent.classIsGroup ? clsavail(slots, indent, day, period)
                                             : detail::clear(slots.classPartner(indent.cls, day, period));
  if (!classFree) return false;
  const bool resourceFree = indent.resourceIsGroup
                                ? tchavail(slots, indent, day, period)
                                : detail::clear(slots.resourcePartner(indent.resource, day, period));
  if (!resourceFree) {
    if (c.diagnosing()) {
      c.diagnosis->ResourceBusy = true;
      ++c.diagnosis->ResourceBusyCount;
    }
    return false;
  }
  if (c.rules.subjectPerDay && indent.subjectDayLimit) {
    const int count = slots.subjectDayCount(indent, day);
    if (*indent.subjectDayLimit < count + size) {
      if (!c.diagnosing()) return false;
      detail::lowerNeed(c.diagnosis->NeedSubjectDay, count + size);
      c.diagnosis->LimitOnly = true;
    }
  }
  if (c.rules.resourcePerDay) {
    if (indent.resourceIsGroup) {
      if (!tchdayavail(slots, indent, day, size)) return false;
    } else {
      const int count = slots.resourceDayCount(indent.resource, day);
      if (indent.resourceDayLimit < count + size) {
        if (!c.diagnosing()) return false;
        detail::lowerNeed(c.diagnosis->NeedResourceDay, count + size);
        c.diagnosis->LimitOnly = true;
      }
    }
  }
  if (c.rules.resourcePerClassDay && indent.resourceClassDayLimit) {
    const int count = slots.resourceClassDayCount(indent, day);
    if (*indent.resourceClassDayLimit < count + size) {
      if (!c.diagnosing()) return false;
      detail::lowerNeed(c.diagnosis->NeedResourceClassDay, count + size);
      c.diagnosis->LimitOnly = true;
    }
  }
  return true;
}

namespace detail {

template <SlotStore S>
ContinuityVerdict continuityOf(const CheckContext<S>& c, int resource, int limit, int day, int period,
                               int size) {
  auto use = [&](int q) {
    if (Chkdumy(c.vacated, day, q)) return PeriodUse::Open;
    const int partner = c.slots.resourcePartner(resource, day, q);
    if (partner == kNoRow) return PeriodUse::Skip;
    return partner == kFree || partner == kNotAvailable ? PeriodUse::Open : PeriodUse::Busy;
  };
  return continuityAllows(period, size, limit, use);
}

}  // namespace detail

// `ChkCon`: a block of `size` periods from (d, p) keeps the resource's run of consecutive periods
// within its continuity limit; a group resource keeps its own and each member keeps its own.
template <SlotStore S>
bool ChkCon(const CheckContext<S>& c, int day, int period, int size) {
  if (!c.rules.continuity) return true;
  const IndentInHand& indent = c.indent;
  const ContinuityVerdict own =
      detail::continuityOf(c, indent.resource, indent.continuityLimit, day, period, size);
  if (!indent.resourceIsGroup) {
    if (own.passes) return true;
    if (!c.diagnosing()) return false;
    detail::lowerNeed(c.diagnosis->NeedContinuity, own.run);
    c.diagnosis->LimitOnly = true;
    return true;
  }
  if (!own.passes) return false;
  for (std::size_t i = 0; i < indent.resourceMembers.size(); ++i) {
    if (!detail::continuityOf(c, indent.resourceMembers[i], indent.memberContinuityLimits[i], day, period,
                              size)
             .passes) {
      return false;
    }
  }
  return true;
}

// `ChkSCon`: no period of the same subject (or a variant of it) right before or after (d, p) in
// the class's day, unless the cluster permission is on.
template <SlotStore S>
bool ChkSCon(const CheckContext<S>& c, int day, int period) {
  if (c.rules.clusterPermission) return true;
  for (int q : {period - 1, period + 1}) {
    if (q < 1 || q > kPeriods || Chkdumy(c.vacated, day, q)) continue;
    const SlotContent neighbour = c.slots.classCell(c.indent.cls, day, q);
    if (!neighbour.allocated()) continue;
    if (!sameSubject(c.indent.subject, c.indent.subjectBase, neighbour.subject,
                     c.slots.subjectName(neighbour.subject))) {
      continue;
    }
    if (!c.diagnosing()) return false;
    c.diagnosis->AdjacencyBlocked = true;
    c.diagnosis->LimitOnly = true;
  }
  return true;
}

// Whether one period of a regular indent may go to (d, p): the slot map, `CheckLimits`, `ChkCon`
// and `ChkSCon`; in diagnosis a cell that failed only on a recorded limit is not used.
template <SlotStore S>
bool regularFits(const CheckContext<S>& c, const SlotMap& map, int day, int period) {
  if (!map[static_cast<std::size_t>(slotOf(day, period))]) return false;
  if (c.diagnosing()) c.diagnosis->LimitOnly = false;
  if (!CheckLimits(c, day, period, 1)) return false;
  if (!ChkCon(c, day, period, 1)) return false;
  if (!ChkSCon(c, day, period)) return false;
  return !(c.diagnosing() && c.diagnosis->LimitOnly);
}

// Whether a cluster block of the indent's block size may start at (d, s): every later period of
// the block is in the indent's period list, the block does not cross a recess when the indent
// forbids it, every period of it is in the slot map and passes `CheckLimits` for the whole block,
// and the whole block passes `ChkCon`.
template <SlotStore S>
bool blockFits(const CheckContext<S>& c, const SlotMap& map, int day, int start) {
  const IndentInHand& indent = c.indent;
  const int size = indent.blockSize;
  if (start + size - 1 > kPeriods) return false;
  for (int q = start + 1; q < start + size; ++q) {
    if (std::find(indent.periods.begin(), indent.periods.end(), q) == indent.periods.end()) return false;
  }
  if (c.diagnosing()) c.diagnosis->LimitOnly = false;
  if (indent.noRecess && blockSpansRecess(start, size, c.rules.recessAfter)) {
    if (!c.diagnosing()) return false;
    c.diagnosis->RecessBlocked = true;
    c.diagnosis->LimitOnly = true;
  }
  for (int q = start; q < start + size; ++q) {
    if (!map[static_cast<std::size_t>(slotOf(day, q))]) return false;
    if (!CheckLimits(c, day, q, size)) return false;
  }
  if (!ChkCon(c, day, start, size)) return false;
  return !(c.diagnosing() && c.diagnosis->LimitOnly);
}

// The slot map of the indent in hand: its basis class is free, minus the reserved cells.
template <SlotStore S>
SlotMap buildSlotMap(S& slots, const IndentInHand& indent, const Reservation* reserved) {
  SlotMap map{};
  const int basis = indent.basisClass();
  for (int day = 1; day <= kDays; ++day) {
    for (int period = 1; period <= kPeriods; ++period) {
      const auto slot = static_cast<std::size_t>(slotOf(day, period));
      map[slot] = slots.classPartner(basis, day, period) == kFree && !(reserved && (*reserved)[slot]);
    }
  }
  return map;
}

}  // namespace tavrel::engine
