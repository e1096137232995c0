#include "core/engine/write_back.h"

#include <array>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace tavrel::engine {

using namespace store;

namespace {

class WriteBack {
 public:
  WriteBack(const WorkingSet& set, Store& store, Prompter& prompter, Progress& progress)
      : set_(set),
        store_(store),
        prompter_(prompter),
        progress_(progress),
        school_(set.dimensions().school) {}

  // `UnLodLim` steps 1 to 7, each one step of the bar.
  void counters() {
    progress_.show("Saving...", 7 + set_.dimensions().classes + set_.dimensions().resources);
    subjectDays();
    progress_.step();
    resourceClassDays();
    progress_.step();
    resourceDays();
    progress_.step();
    indents();
    progress_.step();
    classes();
    progress_.step();
    resources();
    progress_.step();
    subjects();
    progress_.step();
  }

  // Steps 8 and 9 from `from`: the class rows (unless the point is already in the resource
  // rows), then the resource rows.
  WriteBackResult rows(WriteBackPoint from, bool reportMissing) {
    WriteBackResult result;
    if (from.phase == 'C') {
      if (!walk('C', from.owner, from.slot, reportMissing, result)) return result;
      from = WriteBackPoint{'T', 1, 0};
    }
    walk('T', from.owner, from.slot, reportMissing, result);
    return result;
  }

 private:
  // ---- Steps 1 to 3: per-day counts --------------------------------------------------------------

  // The counts of each class's subjects (resources) per day, from their packed arrays.
  template <class Row, class Field, class Positions>
  void classDayCounts(Field Row::*count, const std::vector<std::vector<int>>& lists,
                      const Positions& positions, const DynComp<WorkingSet::Cell>& counts) {
    auto& table = store_.table<Row>();
    std::map<std::tuple<int, int, int>, Row> existing;
    for (Row& row : table.range(Row::primary, {school_})) existing[keyOf(row)] = row;
    std::set<std::tuple<int, int, int>> held;
    for (int cls = 1; cls <= set_.dimensions().classes; ++cls) {
      const std::vector<int>& codes = lists[static_cast<std::size_t>(cls - 1)];
      for (std::size_t k = 0; k < codes.size(); ++k) {
        for (int day = 1; day <= kDays; ++day) {
          const int value = counts[positions[cls] + kDays * static_cast<int>(k) + day];
          const auto key = std::make_tuple(cls, codes[k], day);
          held.insert(key);
          auto found = existing.find(key);
          if (found != existing.end()) {
            if (found->second.*count != value) {
              Row changed = found->second;
              changed.*count = value;
              table.update(changed, found->second);
            }
          } else if (value > 0) {
            Row row = newRow<Row>(key, value);
            table.insert(row);
          }
        }
      }
    }
    for (auto& [key, row] : existing) {
      if (held.count(key) || row.*count == 0) continue;
      Row changed = row;
      changed.*count = 0;
      table.update(changed, row);
    }
  }

  static std::tuple<int, int, int> keyOf(const TSDAll& row) {
    return {row.SDCLASS, row.SDSUBJECT, row.SDDAYNO};
  }
  static std::tuple<int, int, int> keyOf(const TTDAll& row) {
    return {row.TDCLASS, row.TDTEACHER, row.TDDAYNO};
  }

  template <class Row>
  Row newRow(const std::tuple<int, int, int>& key, int value) const {
    const auto& [cls, code, day] = key;
    if constexpr (std::is_same_v<Row, TSDAll>) {
      return TSDAll{.SDSCHOOL = school_,
                    .SDCLASS = cls,
                    .SDSUBJECT = code,
                    .SDDAYNO = day,
                    .SDOCCURN = value,
                    .SDALLOC = value};
    } else {
      return TTDAll{.TDSCHOOL = school_,
                    .TDCLASS = cls,
                    .TDTEACHER = code,
                    .TDDAYNO = day,
                    .TDOCCURN = value,
                    .TDALLOC = value};
    }
  }

  void subjectDays() { classDayCounts(&TSDAll::SDALLOC, set_.CLSSUBJ, set_.CSUBPOS, set_.SUBLIM); }
  void resourceClassDays() { classDayCounts(&TTDAll::TDALLOC, set_.CLSTCHR, set_.CTCHPOS, set_.TCHLIM); }

  void resourceDays() {
    auto& table = store_.table<TTDMAll>();
    std::map<std::pair<int, int>, TTDMAll> existing;
    for (TTDMAll& row : table.range(TTDMAll::primary, {school_}))
      existing[{row.TDATEACHER, row.TDADAYNO}] = row;
    for (int resource = 1; resource <= set_.dimensions().resources; ++resource) {
      for (int day = 1; day <= kDays; ++day) {
        const int value = set_.TCHDAYALLO[(resource - 1) * kDays + day];
        auto found = existing.find({resource, day});
        if (found == existing.end()) {
          if (value == 0) continue;
          TTDMAll row{.TDASCHOOL = school_, .TDATEACHER = resource, .TDADAYNO = day, .TDAALLOC = value};
          table.insert(row);
          continue;
        }
        if (found->second.TDAALLOC != value) {
          TTDMAll changed = found->second;
          changed.TDAALLOC = value;
          table.update(changed, found->second);
        }
        existing.erase(found);
      }
    }
    for (auto& [key, row] : existing) {
      if (row.TDAALLOC == 0) continue;
      TTDMAll changed = row;
      changed.TDAALLOC = 0;
      table.update(changed, row);
    }
  }

  // ---- Steps 4 to 7: counts and totals -----------------------------------------------------------

  static int valueAt(const DynComp<WorkingSet::Cell>& counts, int code) {
    return code >= counts.Low() && code <= counts.High() ? counts[code] : 0;
  }

  void indents() {
    auto& table = store_.table<TAlloc>();
    for (const TAlloc& row : table.range(TAlloc::primary, {school_})) {
      TAlloc changed = row;
      changed.ANOLECALL = valueAt(set_.SRLALLO, row.ASERIALNO);
      table.update(changed, row);
    }
  }

  void classes() {
    auto& table = store_.table<TClas>();
    for (const TClas& row : table.range(TClas::CLASCODE, {school_})) {
      TClas changed = row;
      changed.CLSTOTALL = valueAt(set_.CLSALLO, row.CLSCODE);
      changed.CLSMLTALL = valueAt(set_.CLSMALLO, row.CLSCODE);
      table.update(changed, row);
    }
  }

  void resources() {
    auto& table = store_.table<TTeac>();
    for (const TTeac& row : table.range(TTeac::TEACCODE, {school_})) {
      TTeac changed = row;
      changed.TALLOCLEC = valueAt(set_.TCHALLO, row.TCHCODE);
      changed.TCHMLTALL = valueAt(set_.TCHMALLO, row.TCHCODE);
      table.update(changed, row);
    }
  }

  void subjects() {
    auto& table = store_.table<TSctl>();
    for (const TSctl& row : table.range(TSctl::primary, {school_})) {
      TSctl changed = row;
      changed.SCTTOTALL = valueAt(set_.SUBALLO, row.SCTCODE);
      table.update(changed, row);
    }
  }

  // ---- Steps 8 and 9: the timetable rows ---------------------------------------------------------

  // The row as the working set says it must be: allocated, free or not available, with the range
  // fields of the indent that holds it (none for a cell that holds nothing).
  void fill(TTtbl& row, char kind, const SlotContent& cell) const {
    int& partner = kind == 'C' ? row.TTEACHER : row.TCLASS;
    if (cell.allocated()) {
      partner = cell.partner;
      row.TSUBJECT = cell.subject;
      row.TSERIAL = cell.serial;
      row.TCLUSTOT = cell.clusterTotal;
      row.TCLUSLECNO = cell.position;
      const auto indent = set_.indent(cell.serial);
      row.TSTARTLECT = indent ? indent->ASTLEC : 0;
      row.TENDLECT = indent ? indent->AENLEC : 0;
      row.TSTARTDAY = indent ? indent->ASTDAY : 0;
      row.TENDDAY = indent ? indent->AENDAY : 0;
      return;
    }
    partner = row.TSUBJECT = cell.partner == kNotAvailable ? kNotAvailable : kFree;
    row.TSERIAL = row.TCLUSTOT = row.TCLUSLECNO = 0;
    row.TSTARTLECT = row.TENDLECT = row.TSTARTDAY = row.TENDDAY = 0;
  }

  // Writes the rows of every owner of the kind from (owner, slot) on; false when stopped.
  bool walk(char kind, int firstOwner, int firstSlot, bool reportMissing, WriteBackResult& result) {
    const int owners = kind == 'C' ? set_.dimensions().classes : set_.dimensions().resources;
    const long total = static_cast<long>(kSlotsPerOwner) * owners;
    auto& table = store_.table<TTtbl>();
    const int index = kind == 'C' ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
    for (int owner = std::max(1, firstOwner); owner <= owners; ++owner) {
      std::array<std::optional<TTtbl>, kSlotsPerOwner> rows;
      table.forEach(index, {school_, std::string(1, kind), owner}, [&](const TTtbl& row) {
        if (row.TDAY >= 1 && row.TDAY <= kDays && row.TLECTNO >= 1 && row.TLECTNO <= kPeriods) {
          rows[static_cast<std::size_t>((row.TDAY - 1) * kPeriods + row.TLECTNO - 1)] = row;
        }
      });
      bool missing = false;
      for (int slot = owner == firstOwner ? firstSlot : 0; slot < kSlotsPerOwner; ++slot) {
        auto& row = rows[static_cast<std::size_t>(slot)];
        if (!row) {
          missing = true;
          continue;
        }
        const int day = slot / kPeriods + 1;
        const int period = slot % kPeriods + 1;
        TTtbl wanted = *row;
        fill(wanted, kind,
             kind == 'C' ? set_.classCell(owner, day, period) : set_.resourceCell(owner, day, period));
        table.update(wanted, *row);
      }
      // One box per owner: a whole block without rows would otherwise be 108 boxes.
      if (missing && reportMissing) {
        prompter_.info((kind == 'C' ? "Class " : "Resource ") + std::to_string(owner) + " SAVE FAILURE.");
      }
      progress_.text(std::to_string(static_cast<long>(owner) * kSlotsPerOwner) + "/" + std::to_string(total) +
                     (kind == 'C' ? " Class timetable blocks saved" : " Resource timetable blocks saved"));
      progress_.step();
      if (progress_.pump()) {
        result.stopped = true;
        result.reached = owner < owners
                             ? WriteBackPoint{kind, owner + 1, 0}
                             : (kind == 'C' ? WriteBackPoint{'T', 1, 0} : WriteBackPoint{'T', owners + 1, 0});
        return false;
      }
    }
    result.reached = WriteBackPoint{kind == 'C' ? 'T' : 'T', kind == 'C' ? 1 : owners + 1, 0};
    return true;
  }

  const WorkingSet& set_;
  Store& store_;
  Prompter& prompter_;
  Progress& progress_;
  int school_;
};

}  // namespace

WriteBackResult UnLodLim(const WorkingSet& set, Store& store, Prompter& prompter, Progress& progress) {
  Transaction tx(store);
  WriteBack writeBack(set, store, prompter, progress);
  writeBack.counters();
  WriteBackResult result = writeBack.rows(WriteBackPoint{'C', 1, 0}, true);
  tx.commit();
  return result;
}

WriteBackResult UnLodPart(const WorkingSet& set, Store& store, Prompter& prompter, Progress& progress,
                          WriteBackPoint from) {
  Transaction tx(store);
  WriteBack writeBack(set, store, prompter, progress);
  progress.show("Saving...", set.dimensions().classes + set.dimensions().resources);
  WriteBackResult result = writeBack.rows(from, false);
  tx.commit();
  return result;
}

}  // namespace tavrel::engine
