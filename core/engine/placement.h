// Placing the periods of one indent: `lecalloc` draws days and periods at random from the
// indent's lists and places single periods (`SimAlloc`) or cluster blocks (`ClusAlloc`) that pass
// the placement checks; `Allocate` writes one period into every timetable that holds it. Written
// once over the slot interface: "Allocate All" runs it on the working set, table mode on the
// tables.
#pragma once

#include <optional>
#include <vector>

#include "core/engine/checks.h"
#include "core/engine/parameters.h"
#include "core/engine/run_random.h"
#include "core/engine/slots.h"
#include "core/ports/prompter.h"

namespace tavrel::engine {

// `Allocate`: period `period` of the block that starts at `blockStart` on `day` goes into the
// rows of the class and of every member of a group class, and of the resource and of every member
// of a group resource; the per-day counts of the day follow.
template <SlotStore S>
void Allocate(S& slots, const IndentInHand& indent, int day, int blockStart, int period) {
  const bool cluster = indent.blockSize >= 2;
  const int clusterTotal = cluster ? indent.blockSize : 0;
  const int position = cluster ? period - blockStart + 1 : 0;
  const SlotContent inClassRow{indent.resource, indent.subject, indent.serial, clusterTotal, position};
  const SlotContent inResourceRow{indent.cls, indent.subject, indent.serial, clusterTotal, position};
  slots.setClassCell(indent.cls, day, period, inClassRow, indent.ranges);
  for (int member : indent.classMembers) slots.setClassCell(member, day, period, inClassRow, indent.ranges);
  slots.setResourceCell(indent.resource, day, period, inResourceRow, indent.ranges);
  slots.addResourceDay(indent.resource, day, 1);
  for (int member : indent.resourceMembers) {
    slots.setResourceCell(member, day, period, inResourceRow, indent.ranges);
    slots.addResourceDay(member, day, 1);
  }
  slots.addSubjectDay(indent, day, 1);
  slots.addResourceClassDay(indent, day, 1);
}

template <SlotStore S>
class Placer {
 public:
  Placer(S& slots, const PlacementRules& rules, RunRandom& random, Prompter& prompter)
      : slots_(slots), rules_(rules), random_(random), prompter_(prompter) {}

  const PlacementRules& rules() const { return rules_; }

  // While the rearrangement moves a block in its class pass, the block it vacates (`Chkdumy`).
  std::optional<VacatedBlock> vacated;
  // Table mode with diagnosis on: what blocked the indent.
  Diagnosis* diagnosis = nullptr;

  // `lecalloc`: places up to `PNOOFLEC` periods of the indent in `para`, counting them in
  // `PNOLECALL`, never in a reserved cell. A move (`PREARRNG` "L") answers whether the whole
  // block found a new place; any other attempt adds what it placed to the indent's allocated count
  // and answers true.
  bool lecalloc(store::TAPara& para, const Reservation* reserved = nullptr) {
    const IndentInHand indent = slots_.prepare(para);
    const SlotMap map = buildSlotMap(slots_, indent, reserved);
    const CheckContext<S> context{slots_, rules_, indent, vacated, diagnosis};
    if (indent.blockSize >= 2) {
      ClusAlloc(context, map, para);
    } else {
      SimAlloc(context, map, para);
    }
    if (para.PREARRNG != kFirstAttempt && para.PREARRNG != kReattempt) return para.PNOLECALL >= para.PNOOFLEC;
    if (para.PNOLECALL > 0) {
      slots_.addIndentAllocated(indent.serial, para.PNOLECALL);
      auto row = slots_.indent(indent.serial);
      if (row && slots_.indentAllocated(indent.serial) > row->ANOOFLEC) prompter_.error("ERROR");
    }
    return true;
  }

 private:
  // `SimAlloc`: each listed period number in random order is tried on every listed day in random
  // order before the next period number, so one indent may take the same period on several days.
  void SimAlloc(const CheckContext<S>& c, const SlotMap& map, store::TAPara& para) {
    std::vector<int> periods = c.indent.periods;
    while (para.PNOLECALL < para.PNOOFLEC && !periods.empty()) {
      const int period = random_.draw(periods);
      std::vector<int> days = c.indent.days;
      while (para.PNOLECALL < para.PNOOFLEC && !days.empty()) {
        const int day = random_.draw(days);
        if (!regularFits(c, map, day, period)) continue;
        Allocate(slots_, c.indent, day, period, period);
        ++para.PNOLECALL;
      }
    }
  }

  // `ClusAlloc`: each listed day in random order gets at most one block per call, at the first
  // start period (in random order) that gives an eligible block. A block is placed only whole and
  // only while the indent still needs a whole block.
  void ClusAlloc(const CheckContext<S>& c, const SlotMap& map, store::TAPara& para) {
    const int size = c.indent.blockSize;
    std::vector<int> days = c.indent.days;
    while (para.PNOLECALL + size <= para.PNOOFLEC && !days.empty()) {
      const int day = random_.draw(days);
      std::vector<int> starts = c.indent.periods;
      while (!starts.empty()) {
        const int start = random_.draw(starts);
        if (!blockFits(c, map, day, start)) continue;
        for (int period = start; period < start + size; ++period)
          Allocate(slots_, c.indent, day, start, period);
        para.PNOLECALL += size;
        break;
      }
    }
  }

  S& slots_;
  const PlacementRules& rules_;
  RunRandom& random_;
  Prompter& prompter_;
};

}  // namespace tavrel::engine
