// The rearrangement: when an indent F is still short after its placement, periods of other
// indents that stand where F could go are moved elsewhere to make room. One pass frees cells of the
// pivot: F's resource in the resource pass (`RREARRNG` "T"), F's class in the class pass ("C").
// Only cells where F's partner (its class, or its resource) is free and that F's lists allow are
// worth freeing: the candidates.
//
// First level: every occupant of a candidate cell is tried at another place that is no candidate;
// when enough cells are free, F is placed. Occupants that could not be moved are recorded by their
// own partner. Second level: for each recorded occupant X, pivot cells where X itself could go
// (where X's own partner is free, not F's) are freed the same way, then X is moved, and F is placed
// where X was.
//
// Chains, last: the levels free one side of a cell at a time, so a cell where F's class and F's
// resource are both busy, or whose occupant can only move after something else has moved, stays
// closed to them. On a school known to be feasible the levels alone left about one period in a
// thousand unplaced; with the chains every period was placed (bench_allocate_all).
//
// A "SPECIFIC" occupant (priority A or B) is never moved. A move lands whole or leaves everything
// as it was, and while it is tried its own old block counts as vacated for its continuity and
// adjacency (in either pass: the block is blanked if the move succeeds). Each pass ends at its time
// limit (from the Clock) or at Stop, after the move attempt in hand.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <vector>

#include "core/engine/parameters.h"
#include "core/engine/placement.h"
#include "core/engine/slots.h"
#include "core/ports/clock.h"
#include "core/ports/progress.h"

namespace tavrel::engine {

// Where a pass stands while it runs: the window's Stop note and the tests of a stop in each stage
// read it.
enum class RearrangeLevel { None, First, Second, Chains };

// What a pass may spend, and how Stop reaches it.
struct PassLimits {
  const Clock& clock;
  Progress& progress;
  std::chrono::steady_clock::duration limit;
  bool& stopRequested;  // shared with the run: Stop pressed during a pass stops the run as well
};

template <SlotStore S>
class Rearranger {
 public:
  Rearranger(S& slots, Placer<S>& placer, PassLimits limits)
      : slots_(slots), placer_(placer), limits_(limits) {}

  // `rearrange`: one pass for the indent in `failing`, which lacks `missing` periods.
  void rearrange(const store::TRPara& failing, int missing) {
    start_ = limits_.clock.now();
    failing_ = failing;
    auto row = slots_.indent(failing.RSERIALNO);
    if (!row) return;
    f_ = *row;
    classPass_ = failing.RREARRNG == kClassPass;
    need_ = missing;
    freed_ = 0;
    mark_navl_alloc();
    if (!anyOpen()) return;
    mark_ipos(f_);
    const LevelScope first(level_, RearrangeLevel::First);
    shuffle(true);
    if (freed_ > 0) {
      placeFailing(need_);
      mark_navl_alloc();
    }
    level_ = RearrangeLevel::Second;
    secondLevel();
    record_.clear();
    level_ = RearrangeLevel::Chains;
    if (get_toalloc() > 0 && !expired()) chains();
  }

  // `get_toalloc`: the periods the failing indent still lacks.
  int get_toalloc() { return f_.ANOOFLEC - slots_.indentAllocated(f_.ASERIALNO); }

  // The level at work, None between passes; and whether the pass is the class pass.
  RearrangeLevel level() const { return level_; }
  bool classPass() const { return classPass_; }

 private:
  // Sets the level for the rest of a pass and back to None when the pass ends, however it ends.
  struct LevelScope {
    LevelScope(RearrangeLevel& level, RearrangeLevel value) : level_(level) { level_ = value; }
    ~LevelScope() { level_ = RearrangeLevel::None; }
    LevelScope(const LevelScope&) = delete;
    LevelScope& operator=(const LevelScope&) = delete;
    RearrangeLevel& level_;
  };

  static constexpr int kOpen = kFree;  // a pivot cell with no occupant, in `PivotOccupants`

  struct RecordedBlock {
    int serial;
    int day;
    int period;
    int position;  // the 1-based position in its block of the cell the block was met at
  };
  // The occupants met at the first level that could not be moved, under their own partner.
  struct PartyRecord {
    int party;
    int periods = 0;
    std::vector<RecordedBlock> blocks;
  };

  bool expired() {
    if (limits_.stopRequested) return true;
    return limits_.clock.now() - start_ >= limits_.limit;
  }

  // ---- The pivot and the candidates ------------------------------------------------------------

  int pivot() const { return classPass_ ? f_.ACLASS : f_.ATEACHER; }
  SlotContent pivotCell(int day, int period) {
    return classPass_ ? slots_.classCell(pivot(), day, period) : slots_.resourceCell(pivot(), day, period);
  }

  // `mark_navl_alloc`: who holds each cell of the pivot.
  void mark_navl_alloc() {
    for (int r = 0; r < kSlotsPerOwner; ++r) {
      const SlotContent cell = pivotCell(r / kPeriods + 1, r % kPeriods + 1);
      pivotOccupants_[static_cast<std::size_t>(r)] = cell.allocated() ? cell.partner : kOpen;
    }
  }

  bool anyOpen() const {
    for (int occupant : pivotOccupants_) {
      if (occupant == kOpen) return true;
    }
    return false;
  }

  // `mark_ipos`: the candidates for an indent: the cells its lists allow where its partner on the
  // other side of the pass (and, for a group, the group and every member) is free. For F that is
  // where F could go once the pivot is free; for an occupant X of the second level, where X could
  // go. A cell without a row counts as free; the pivot has no row there either, so it is never used.
  void mark_ipos(const store::TAlloc& indent) {
    const std::vector<int> days = listedMembers(indent.ALISTDAY, kDays);
    const std::vector<int> periods = listedMembers(indent.ALISTLEC, kPeriods);
    const IndentInHand inHand = slots_.prepare(allocationParameters(indent, 0, kReattempt));
    const bool partnerIsClass = !classPass_;
    const int partner = partnerIsClass ? inHand.cls : inHand.resource;
    const std::vector<int>& members = partnerIsClass ? inHand.classMembers : inHand.resourceMembers;
    auto freeAt = [&](int code, int day, int period) {
      const int held =
          partnerIsClass ? slots_.classPartner(code, day, period) : slots_.resourcePartner(code, day, period);
      return held == kFree || held == kNoRow;
    };
    candidates_.fill(false);
    for (int day : days) {
      for (int period : periods) {
        bool open = freeAt(partner, day, period);
        for (int member : members) open = open && freeAt(member, day, period);
        candidates_[static_cast<std::size_t>(slotOf(day, period))] = open;
      }
    }
  }

  // ---- Moving one block --------------------------------------------------------------------------

  // `LessLim` / `AddLim`: the moved block's periods off, or back on, the per-day counts of its day.
  void adjustLimits(const IndentInHand& x, int day, int size) {
    slots_.addResourceDay(x.resource, day, size);
    for (int member : x.resourceMembers) slots_.addResourceDay(member, day, size);
    slots_.addSubjectDay(x, day, size);
    slots_.addResourceClassDay(x, day, size);
  }
  void LessLim(const IndentInHand& x, int day, int size) { adjustLimits(x, day, -size); }
  void AddLim(const IndentInHand& x, int day, int size) { adjustLimits(x, day, size); }

  // `blnkout`: the moved block's old cells become free in every row that held them.
  void blnkout(const IndentInHand& x, int day, int first, int size) {
    for (int period = first; period < first + size; ++period) {
      slots_.setClassCell(x.cls, day, period, SlotContent::freeCell(), {});
      for (int member : x.classMembers) slots_.setClassCell(member, day, period, SlotContent::freeCell(), {});
      slots_.setResourceCell(x.resource, day, period, SlotContent::freeCell(), {});
      for (int member : x.resourceMembers)
        slots_.setResourceCell(member, day, period, SlotContent::freeCell(), {});
    }
  }

  // Moves the block of `x` whose first period is `first` on `day` to a cell outside `reserved`;
  // true when it moved. A block that failed to move is left exactly as it was.
  bool move(const store::TAlloc& x, int day, int first, int size, const Reservation* reserved) {
    store::TAPara para = allocationParameters(x, size, kMove);
    const IndentInHand inHand = slots_.prepare(para);
    LessLim(inHand, day, size);
    placer_.vacated = VacatedBlock{day, first, size};
    const bool moved = placer_.lecalloc(para, reserved);
    placer_.vacated.reset();
    if (moved) {
      blnkout(inHand, day, first, size);
    } else {
      AddLim(inHand, day, size);
    }
    if (limits_.progress.pump()) limits_.stopRequested = true;
    return moved;
  }

  // ---- Sweeps --------------------------------------------------------------------------------------

  // `shuffle`: one sweep over the candidates in cell order, freeing pivot cells by moving their
  // occupants to places that are no candidates. The first level records what it could not move.
  void shuffle(bool firstLevel) {
    if (firstLevel) record_.clear();
    if (expired()) return;
    for (int r = 0; r < kSlotsPerOwner; ++r) {
      if (!candidates_[static_cast<std::size_t>(r)]) continue;
      const int day = r / kPeriods + 1;
      const int period = r % kPeriods + 1;
      const SlotContent cell = pivotCell(day, period);
      if (!cell.exists() || cell.partner == kNotAvailable) continue;
      if (cell.free()) {
        pivotOccupants_[static_cast<std::size_t>(r)] = kOpen;
        ++freed_;
        continue;
      }
      if ((cell.clusterTotal != 0 && cell.position != 1) || cell.serial == 0) continue;
      const auto x = slots_.indent(cell.serial);
      if (!x || x->APRIORITY == "A" || x->APRIORITY == "B") continue;
      const int size = cell.clusterTotal != 0 ? cell.clusterTotal : 1;
      const int position = cell.position != 0 ? cell.position : 1;
      const int first = period - position + 1;
      if (move(*x, day, first, size, &candidates_)) {
        for (int q = r; q < r + size && q < kSlotsPerOwner; ++q)
          pivotOccupants_[static_cast<std::size_t>(q)] = kOpen;
        freed_ += size;
        if (freed_ >= need_) break;
      } else if (firstLevel && pivotOccupants_[static_cast<std::size_t>(r)] != kOpen) {
        recordBlock(pivotOccupants_[static_cast<std::size_t>(r)], {x->ASERIALNO, day, period, position},
                    size);
      }
      if (expired()) break;
    }
  }

  void recordBlock(int party, const RecordedBlock& block, int size) {
    auto entry =
        std::find_if(record_.begin(), record_.end(), [&](const PartyRecord& e) { return e.party == party; });
    if (entry == record_.end()) entry = record_.insert(record_.end(), PartyRecord{party});
    entry->periods += size;
    entry->blocks.push_back(block);
  }

  // Places what F lacks, up to `periods`, as a re-attempt.
  void placeFailing(int periods) {
    const int lacking = std::min(periods, get_toalloc());
    if (lacking <= 0) return;
    store::TAPara para = allocationParameters(f_, lacking, kReattempt);
    placer_.lecalloc(para);
  }

  // The second level: for each occupant F could not get past, make room for the occupant first.
  void secondLevel() {
    if (get_toalloc() <= 0 || record_.empty() || expired()) return;
    const std::vector<PartyRecord> recorded = std::move(record_);
    record_.clear();
    int freedForF = 0;
    for (const PartyRecord& party : recorded) {
      need_ = std::min(get_toalloc(), party.periods);
      freed_ = 0;
      int previousSerial = 0;
      for (const RecordedBlock& block : party.blocks) {
        if (expired()) break;
        const auto x = slots_.indent(block.serial);
        if (!x) continue;
        if (block.serial != previousSerial) {
          mark_ipos(*x);
          previousSerial = block.serial;
        }
        shuffle(false);
        if (freed_ <= 0) continue;
        // The block may have moved in the sweep; move it only where it still is.
        const SlotContent cell = pivotCell(block.day, block.period);
        if (!cell.allocated() || cell.serial != block.serial) continue;
        const int size = x->AINCLUSOF >= 2 ? x->AINCLUSOF : 1;
        if (move(*x, block.day, block.period - block.position + 1, size, nullptr)) freedForF += size;
      }
      if (freedForF >= get_toalloc() || expired()) break;
    }
    if (freedForF > 0) placeFailing(get_toalloc());
  }

  // ---- Chains of moves -----------------------------------------------------------------------------

  // The levels above free one side of a cell at a time: the pivot, where F's partner is already
  // free. A cell where both the class and the resource are busy, or where the occupant can only
  // move once something else has made room for it, stays closed to them. Chains open such cells:
  // each occupant of a cell F may use is moved out, and an occupant that cannot move directly gets
  // room first by moving, in turn, what holds a cell it could use, to a bounded depth. Every move of
  // a chain is a complete, legal move on its own, so a chain that stops halfway leaves a timetable
  // that keeps every rule.
  void chains() {
    const IndentInHand f = slots_.prepare(allocationParameters(f_, 1, kReattempt));
    if (f.classIsGroup || f.resourceIsGroup) return;  // a group's members are left to the levels above
    budget_ = kChainBudget;
    for (int day : f.days) {
      for (int start : f.periods) {
        if (get_toalloc() < f.blockSize || expired() || budget_ <= 0) return;
        if (!dayHasRoom(f, day, 0, f.blockSize) || !blockCellsListed(f, start)) continue;
        if (f.blockSize >= 2 && f.noRecess &&
            blockSpansRecess(start, f.blockSize, placer_.rules().recessAfter)) {
          continue;
        }
        if (roomFor(f, day, start, kChainDepth + 1, Reservation{})) placeFailing(get_toalloc());
      }
    }
  }

  // Moves the block that holds `held` at (day, period) to cells outside `kept`, making room for it
  // first, up to `depth` moves deep, when it cannot move directly. True when it moved.
  bool evict(const SlotContent& held, int day, int period, int depth, const Reservation& kept) {
    if (!held.allocated() || held.serial == 0 || held.serial == f_.ASERIALNO || --budget_ < 0) return false;
    const auto x = slots_.indent(held.serial);
    if (!x || x->APRIORITY == "A" || x->APRIORITY == "B") return false;
    const int size = held.clusterTotal != 0 ? held.clusterTotal : 1;
    const int first = period - (held.position != 0 ? held.position : 1) + 1;
    if (move(*x, day, first, size, &kept)) return true;
    if (depth == 0 || expired()) return false;
    const IndentInHand inHand = slots_.prepare(allocationParameters(*x, size, kMove));
    if (inHand.classIsGroup || inHand.resourceIsGroup) return false;
    Reservation deeper = kept;
    for (int q = first; q < first + size; ++q) deeper[static_cast<std::size_t>(slotOf(day, q))] = true;
    for (int toDay : inHand.days) {
      if (!dayHasRoom(inHand, toDay, toDay == day ? size : 0, size)) continue;
      for (int toStart : inHand.periods) {
        if (expired() || budget_ <= 0) return false;
        if (!blockCellsListed(inHand, toStart) ||
            (size >= 2 && inHand.noRecess && blockSpansRecess(toStart, size, placer_.rules().recessAfter))) {
          continue;
        }
        if (!roomFor(inHand, toDay, toStart, depth, deeper)) continue;
        if (move(*x, day, first, size, &kept)) return true;
      }
    }
    return false;
  }

  // Whether every later period of a block from `start` is in the indent's period list.
  static bool blockCellsListed(const IndentInHand& indent, int start) {
    if (start + indent.blockSize - 1 > kPeriods) return false;
    for (int q = start + 1; q < start + indent.blockSize; ++q) {
      if (std::find(indent.periods.begin(), indent.periods.end(), q) == indent.periods.end()) return false;
    }
    return true;
  }

  // Empties the class and resource cells of a block of the indent from (day, start), evicting what
  // holds them; false when a cell cannot be emptied (or was empty on both sides throughout, where
  // a direct move had already failed).
  bool roomFor(const IndentInHand& indent, int day, int start, int depth, Reservation kept) {
    bool anyBusy = false;
    for (int q = start; q < start + indent.blockSize; ++q) {
      const auto cell = static_cast<std::size_t>(slotOf(day, q));
      if (kept[cell]) return false;
      const SlotContent classHeld = slots_.classCell(indent.cls, day, q);
      const SlotContent resourceHeld = slots_.resourceCell(indent.resource, day, q);
      if (!classHeld.exists() || !resourceHeld.exists()) return false;
      if (classHeld.partner == kNotAvailable || resourceHeld.partner == kNotAvailable) return false;
      anyBusy = anyBusy || !classHeld.free() || !resourceHeld.free();
    }
    if (!anyBusy) return false;
    for (int q = start; q < start + indent.blockSize; ++q)
      kept[static_cast<std::size_t>(slotOf(day, q))] = true;
    for (int q = start; q < start + indent.blockSize; ++q) {
      const SlotContent classHeld = slots_.classCell(indent.cls, day, q);
      if (!classHeld.free() && !evict(classHeld, day, q, depth - 1, kept)) return false;
      const SlotContent resourceHeld = slots_.resourceCell(indent.resource, day, q);
      if (!resourceHeld.free() && !evict(resourceHeld, day, q, depth - 1, kept)) return false;
    }
    return true;
  }

  // Whether the per-day limits of the indent leave room for `size` more periods on the day,
  // counting `leaving` of its periods there as gone.
  bool dayHasRoom(const IndentInHand& indent, int day, int leaving, int size = 1) {
    const PlacementRules& rules = placer_.rules();
    if (rules.subjectPerDay && indent.subjectDayLimit &&
        *indent.subjectDayLimit < slots_.subjectDayCount(indent, day) - leaving + size) {
      return false;
    }
    if (rules.resourcePerClassDay && indent.resourceClassDayLimit &&
        *indent.resourceClassDayLimit < slots_.resourceClassDayCount(indent, day) - leaving + size) {
      return false;
    }
    return !rules.resourcePerDay ||
           indent.resourceDayLimit >= slots_.resourceDayCount(indent.resource, day) - leaving + size;
  }

  // How far a chain may reach and how many moves one indent's chains may try.
  static constexpr int kChainDepth = 2;
  static constexpr int kChainBudget = 400;

  S& slots_;
  Placer<S>& placer_;
  PassLimits limits_;
  std::chrono::steady_clock::time_point start_;
  store::TRPara failing_;
  store::TAlloc f_;
  bool classPass_ = false;
  RearrangeLevel level_ = RearrangeLevel::None;
  int need_ = 0;
  int freed_ = 0;
  std::array<int, kSlotsPerOwner> pivotOccupants_{};
  Reservation candidates_{};
  std::vector<PartyRecord> record_;
  int budget_ = 0;
};

}  // namespace tavrel::engine
