#include "core/engine/period_restore.h"

#include <algorithm>
#include <map>

#include "core/engine/checks.h"
#include "core/engine/parameters.h"
#include "core/engine/placement.h"
#include "core/engine/table_slots.h"

namespace tavrel::engine {

using namespace store;

namespace {

std::string cellWords(int day, int period) {
  return "day " + std::to_string(day) + " period " + std::to_string(period);
}

bool listed(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

class Restore {
 public:
  Restore(TableSlots& slots, const PlacementRules& rules, const IndentInHand& indent)
      : slots_(slots), rules_(rules), indent_(indent), context_{slots, rules, indent, noMove_, nullptr} {}

  Status regular(const std::vector<PeriodToRestore>& periods) {
    for (const PeriodToRestore& p : periods) {
      if (p.position != 1) return Error{cellWords(p.day, p.period) + ": a single period has no place in a cluster"};
      if (Status fits = fitsHere(p.day, p.period); !fits) return fits;
      // The same checks the engine's single placement makes.
      const SlotMap map = buildSlotMap(slots_, indent_, nullptr);
      if (!regularFits(context_, map, p.day, p.period))
        return Error{cellWords(p.day, p.period) + ": " + limitWords()};
      Allocate(slots_, indent_, p.day, p.period, p.period);
    }
    return {};
  }

  Status cluster(const std::vector<PeriodToRestore>& periods) {
    const int size = indent_.blockSize;
    std::map<std::pair<int, int>, int> byCell;  // (day, period) -> position
    for (const PeriodToRestore& p : periods) {
      if (!byCell.emplace(std::make_pair(p.day, p.period), p.position).second)
        return Error{cellWords(p.day, p.period) + ": the period is listed twice"};
    }
    // Blocks are read from their first period on: positions 1 to the block size, one period after
    // the other on one day.
    for (const auto& [cell, position] : byCell) {
      if (position != 1) continue;
      const auto [day, start] = cell;
      for (int k = 1; k < size; ++k) {
        auto next = byCell.find({day, start + k});
        if (next == byCell.end() || next->second != k + 1) {
          return Error{cellWords(day, start) + ": the cluster block of " + std::to_string(size) +
                       " periods starting here is not whole"};
        }
      }
    }
    for (const auto& [cell, position] : byCell) {
      const auto [day, start] = cell;
      if (position == 1) continue;
      auto first = byCell.find({day, start - position + 1});
      if (first == byCell.end() || first->second != 1 || position > size)
        return Error{cellWords(day, start) + ": the period belongs to no whole cluster block"};
    }
    for (const auto& [cell, position] : byCell) {
      if (position != 1) continue;
      const auto [day, start] = cell;
      for (int q = start; q < start + size; ++q) {
        if (Status fits = fitsHere(day, q); !fits) return fits;
      }
      if (indent_.noRecess && blockSpansRecess(start, size, rules_.recessAfter))
        return Error{cellWords(day, start) + ": the cluster block may not span a recess"};
      const SlotMap map = buildSlotMap(slots_, indent_, nullptr);
      if (!blockFits(context_, map, day, start))
        return Error{cellWords(day, start) + ": " + limitWords()};
      for (int q = start; q < start + size; ++q) Allocate(slots_, indent_, day, start, q);
    }
    return {};
  }

 private:
  // The indent's constraint and the free cells of its class and resource: named before the limits
  // so that the reason says which.
  Status fitsHere(int day, int period) {
    if (!listed(indent_.days, day) || !listed(indent_.periods, period))
      return Error{cellWords(day, period) + ": the period lies outside the indent's constraint or the week"};
    const SlotContent cls = slots_.classCell(indent_.cls, day, period);
    if (!cls.free()) {
      return Error{cellWords(day, period) + (cls.allocated() ? ": the class is taught something else then"
                                                             : ": the class is not available then")};
    }
    const SlotContent resource = slots_.resourceCell(indent_.resource, day, period);
    if (!resource.free()) {
      return Error{cellWords(day, period) + (resource.allocated() ? ": the resource is busy then"
                                                                   : ": the resource is not available then")};
    }
    return {};
  }

  static std::string limitWords() {
    return "a member of a group is busy then, or a per-day or continuity limit would be exceeded";
  }

  TableSlots& slots_;
  const PlacementRules& rules_;
  const IndentInHand& indent_;
  const std::optional<VacatedBlock> noMove_{};
  CheckContext<TableSlots> context_;
};

}  // namespace

Status restorePeriods(Session& session, int serial, const std::vector<PeriodToRestore>& periods) {
  Store& store = session.store();
  auto school = session.school();
  if (!school) return Error{"There is no current school."};
  if (periods.empty()) return {};
  Transaction tx(store);
  TableSlots slots(store, school->SCHOOLCODE);
  auto indent = slots.indent(serial);
  if (!indent || indent->AACTIVE != "Y") return Error{"only an active indent holds periods"};
  if (indent->ANOLECALL != 0) return Error{"the indent holds periods already"};
  const int count = static_cast<int>(periods.size());
  if (count > indent->ANOOFLEC) {
    return Error{std::to_string(count) + " periods are placed but the indent asks for " +
                 std::to_string(indent->ANOOFLEC)};
  }
  // Neighbouring periods of one subject are a preference that "Apply Cluster Permission" lifts,
  // not a rule a timetable breaks, so they do not stop a restore; every rule the audit holds a
  // timetable to does.
  const PlacementRules rules = PlacementRules::of(store.institution(), *school, true);
  const TAPara para = allocationParameters(*indent, count, kReattempt);
  const IndentInHand inHand = slots.prepare(para);
  Restore restore(slots, rules, inHand);
  Status placed = inHand.blockSize >= 2 ? restore.cluster(periods) : restore.regular(periods);
  if (!placed) return placed;  // the transaction rolls every cell of this indent back
  slots.addIndentAllocated(serial, count);
  slots.addTotals(inHand, count);
  tx.commit();
  session.flush(kFlushTimetable);
  return {};
}

}  // namespace tavrel::engine
