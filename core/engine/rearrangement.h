// The rearrangement: when an indent F is still short after its placement, periods of other
// indents that stand where F could go are moved elsewhere to make room. One pass frees cells of the
// pivot: F's resource in the resource pass (`RREARRNG` "T"), F's class in the class pass ("C").
// Only cells where F's partner (its class, or its resource) is free and that F's lists allow are
// worth freeing: the candidates.
//
// First level: every occupant of a candidate cell is tried at another place that is no candidate;
// when enough cells are free, F is placed. Occupants that could not be moved are recorded by their
// own partner. Second level: for each recorded occupant X, the cells X itself could use are freed
// the same way, then X is moved, and F is placed where X was.
//
// A "SPECIFIC" occupant (priority A or B) is never moved. A move either lands whole or leaves
// everything as it was. Each pass ends at its time limit (from the Clock) or at Stop, after the
// move attempt in hand.
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
    shuffle(true);
    if (freed_ > 0) {
      placeFailing(need_);
      mark_navl_alloc();
    }
    secondLevel();
    record_.clear();
  }

  // `get_toalloc`: the periods the failing indent still lacks.
  int get_toalloc() { return f_.ANOOFLEC - slots_.indentAllocated(f_.ASERIALNO); }

 private:
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

  // `mark_ipos`: the candidates for an indent's lists: F's partner (and, for a group, the group and
  // every member) is free there and the indent's lists allow it. A cell without a row counts as
  // free; the pivot has no row there either, so it is never used.
  void mark_ipos(const store::TAlloc& lists) {
    const std::vector<int> days = listedMembers(lists.ALISTDAY, kDays);
    const std::vector<int> periods = listedMembers(lists.ALISTLEC, kPeriods);
    const IndentInHand f = slots_.prepare(allocationParameters(f_, 0, kReattempt));
    const bool partnerIsClass = !classPass_;
    const int partner = partnerIsClass ? f.cls : f.resource;
    const std::vector<int>& members = partnerIsClass ? f.classMembers : f.resourceMembers;
    const bool group = partnerIsClass ? f.classIsGroup : f.resourceIsGroup;
    auto freeAt = [&](int code, int day, int period) {
      const int held =
          partnerIsClass ? slots_.classPartner(code, day, period) : slots_.resourcePartner(code, day, period);
      return held == kFree || held == kNoRow;
    };
    candidates_.fill(false);
    for (int day : days) {
      for (int period : periods) {
        bool open = freeAt(partner, day, period);
        if (group) {
          for (int member : members) open = open && freeAt(member, day, period);
        }
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
    if (classPass_) placer_.vacated = VacatedBlock{day, first, size};
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

  S& slots_;
  Placer<S>& placer_;
  PassLimits limits_;
  std::chrono::steady_clock::time_point start_;
  store::TRPara failing_;
  store::TAlloc f_;
  bool classPass_ = false;
  int need_ = 0;
  int freed_ = 0;
  std::array<int, kSlotsPerOwner> pivotOccupants_{};
  Reservation candidates_{};
  std::vector<PartyRecord> record_;
};

}  // namespace tavrel::engine
