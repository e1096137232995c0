#include "core/engine/audit.h"

#include <array>
#include <map>
#include <set>
#include <tuple>

#include "core/engine/placement_rules.h"
#include "core/store/counter_recount.h"
#include "core/store/encoded_lists.h"
#include "core/store/week_frame.h"

namespace tavrel::engine {

namespace {

using namespace store;

constexpr int kNotAvailable = 0;
constexpr int kFree = 999;

struct Slot {
  int day = 0;
  int period = 0;
  auto operator<=>(const Slot&) const = default;
};

std::string at(Slot slot) {
  return "day " + std::to_string(slot.day) + ", period " + std::to_string(slot.period);
}

// One cell as the audit needs it: the partner field of its row kind, subject, serial, cluster.
struct CellView {
  bool exists = false;
  int partner = kNotAvailable;
  int subject = kNotAvailable;
  int serial = 0;
  int clusterTotal = 0;
  int position = 0;

  bool allocated() const { return exists && subject != kNotAvailable && subject != kFree; }
};

using Row = std::array<CellView, kSlotsPerOwner>;

int slotIndex(int day, int period) {
  return (day - 1) * kPeriods + (period - 1);
}

bool inGrid(int day, int period) {
  return day >= 1 && day <= kDays && period >= 1 && period <= kPeriods;
}

enum class Side { Class, Resource };

struct Owner {
  Side side;
  int code;
  auto operator<=>(const Owner&) const = default;
};

class Audit {
 public:
  Audit(Store& store, int school, const AuditSwitches& switches)
      : store_(store), school_(school), switches_(switches) {
    read();
  }

  AuditReport run() {
    collectOccupancy();
    for (const auto& [serial, slots] : occupancy_) {
      const TAlloc& indent = indents_.at(serial);
      checkCopies(indent, slots);
      checkPlaces(indent, slots);
      checkBlocks(indent, slots);
    }
    checkClassDayLimits();
    checkResourceRows();
    addRecount();
    return std::move(report_);
  }

 private:
  // ---- Reading -----------------------------------------------------------------------------------

  void read() {
    auto school = store_.table<TSchl>().find(TSchl::SCLCODE, {school_});
    if (school) {
      days_ = daysInCycle(school->SWRKDAYS);
      periods_ = periodsPerDay(school->SWRKDAYS);
      recessAfter_ = listMembers(school->SRECESS);
    }
    auto& indents = store_.table<TAlloc>();
    indents.forEach(TAlloc::primary, {school_}, [&](const TAlloc& row) { indents_[row.ASERIALNO] = row; });
    store_.table<TClas>().forEach(TClas::CLASCODE, {school_},
                                  [&](const TClas& row) { classes_[row.CLSCODE] = row; });
    store_.table<TTeac>().forEach(TTeac::TEACCODE, {school_},
                                  [&](const TTeac& row) { resources_[row.TCHCODE] = row; });
    store_.table<TSubj>().forEach(TSubj::SUBJCODE, {},
                                  [&](const TSubj& row) { subjects_[row.SUBCODE] = row.SUBNAME; });
    store_.table<TOptn>().forEach(TOptn::primary, {school_}, [&](const TOptn& row) {
      if (row.OPTYPE == "C" && isGroup(Owner{Side::Class, row.OPMAINCODE})) {
        members_[{Side::Class, row.OPMAINCODE}].push_back(row.OPSUBCODE);
      } else if (row.OPTYPE == "T" && isGroup(Owner{Side::Resource, row.OPMAINCODE})) {
        members_[{Side::Resource, row.OPMAINCODE}].push_back(row.OPSUBCODE);
      }
    });
    store_.table<TSOcc>().forEach(TSOcc::primary, {school_}, [&](const TSOcc& row) {
      subjectLimits_[{row.SOCLASS, row.SOSUBJECT}] = row.SOCCURENCE;
    });
    store_.table<TTOcc>().forEach(TTOcc::primary, {school_}, [&](const TTOcc& row) {
      resourceClassLimits_[{row.TOCLASS, row.TOTEACHER}] = row.TOCCURENCE;
    });
    auto& cells = store_.table<TTtbl>();
    cells.forEach(TTtbl::TIMECLAS, {school_, "C"}, [&](const TTtbl& row) {
      keep(rows_[{Side::Class, row.TCLASS}], row, row.TTEACHER);
    });
    cells.forEach(TTtbl::TIMETEAC, {school_, "T"}, [&](const TTtbl& row) {
      keep(rows_[{Side::Resource, row.TTEACHER}], row, row.TCLASS);
    });
    cells.forEach(TTtbl::TIMESCHL, {school_, "L", school_},
                  [&](const TTtbl& row) { keep(schoolRow_, row, row.TSUBJECT); });
  }

  static void keep(Row& row, const TTtbl& cell, int partner) {
    if (!inGrid(cell.TDAY, cell.TLECTNO)) return;
    row[static_cast<std::size_t>(slotIndex(cell.TDAY, cell.TLECTNO))] =
        CellView{true, partner, cell.TSUBJECT, cell.TSERIAL, cell.TCLUSTOT, cell.TCLUSLECNO};
  }

  bool isGroup(Owner owner) const {
    if (owner.side == Side::Class) {
      auto found = classes_.find(owner.code);
      return found != classes_.end() && found->second.CLSOPTION == "Y";
    }
    auto found = resources_.find(owner.code);
    return found != resources_.end() && found->second.TCHOPTION == "Y";
  }

  const std::vector<int>& membersOf(Owner owner) const {
    static const std::vector<int> none;
    auto found = members_.find(owner);
    return found == members_.end() ? none : found->second;
  }

  CellView cellOf(Owner owner, Slot slot) const {
    auto found = rows_.find(owner);
    if (found == rows_.end()) return {};
    return found->second[static_cast<std::size_t>(slotIndex(slot.day, slot.period))];
  }

  // Where each indent is: every slot at which any timetable row holds its serial. Cells of serials
  // that are no indent of the school are the recount's stray cells.
  void collectOccupancy() {
    for (const auto& [owner, row] : rows_) {
      for (int index = 0; index < kSlotsPerOwner; ++index) {
        const CellView& cell = row[static_cast<std::size_t>(index)];
        if (!cell.allocated() || !indents_.count(cell.serial)) continue;
        occupancy_[cell.serial].insert(Slot{index / kPeriods + 1, index % kPeriods + 1});
      }
    }
  }

  // ---- Naming ------------------------------------------------------------------------------------

  std::string plainName(Owner owner) const {
    if (owner.side == Side::Class) {
      auto found = classes_.find(owner.code);
      return found == classes_.end() ? "?" : found->second.CLSNAME;
    }
    auto found = resources_.find(owner.code);
    return found == resources_.end() ? "?" : found->second.TCHNAME;
  }

  // "class 1A (3)", "resource JONES (2)": as the recount names them.
  std::string name(Owner owner) const {
    return (owner.side == Side::Class ? "class " : "resource ") + plainName(owner) + " (" +
           std::to_string(owner.code) + ")";
  }

  std::string subjectName(int code) const {
    auto found = subjects_.find(code);
    return found == subjects_.end() ? "subject " + std::to_string(code) : found->second;
  }

  // "indent 4 (2A, CLARK, Art)"
  std::string describe(const TAlloc& indent) const {
    return "indent " + std::to_string(indent.ASERIALNO) + " (" + plainName({Side::Class, indent.ACLASS}) +
           ", " + plainName({Side::Resource, indent.ATEACHER}) + ", " + subjectName(indent.ASUBJECT) + ")";
  }

  std::string describeSerial(int serial) const {
    auto found = indents_.find(serial);
    return found == indents_.end() ? "serial " + std::to_string(serial) : describe(found->second);
  }

  void add(AuditRule rule, std::string text) { report_.violations.push_back({rule, std::move(text)}); }

  // ---- Every copy of a period --------------------------------------------------------------------

  struct Copy {
    Owner owner;
    int partner;  // what the partner field of that row must hold
  };

  // The rows that must hold each period of the indent: its class and every member of a group
  // class (partner: the resource), its resource and every member of a group resource (partner:
  // the class).
  std::vector<Copy> copiesOf(const TAlloc& indent) const {
    std::vector<Copy> copies;
    const Owner cls{Side::Class, indent.ACLASS};
    const Owner resource{Side::Resource, indent.ATEACHER};
    copies.push_back({cls, indent.ATEACHER});
    for (int member : membersOf(cls)) copies.push_back({{Side::Class, member}, indent.ATEACHER});
    copies.push_back({resource, indent.ACLASS});
    for (int member : membersOf(resource)) copies.push_back({{Side::Resource, member}, indent.ACLASS});
    return copies;
  }

  void checkCopies(const TAlloc& indent, const std::set<Slot>& slots) {
    const std::vector<Copy> copies = copiesOf(indent);
    for (Slot slot : slots) {
      const CellView reference = cellOf(copies.front().owner, slot);
      for (const Copy& copy : copies) {
        const CellView cell = cellOf(copy.owner, slot);
        if (cell.allocated() && cell.serial == indent.ASERIALNO) {
          checkAgreement(indent, copy, slot, cell, reference);
        } else if (cell.allocated()) {
          reportTwoPlaces(copy.owner, slot, indent.ASERIALNO, cell.serial);
        } else {
          const char* state = !cell.exists            ? "has no cell there"
                              : cell.subject == kFree ? "is free there"
                                                      : "is not available there";
          add(AuditRule::MirrorMismatch, "The period of " + describe(indent) + " on " + at(slot) +
                                             " is missing from the timetable of " + name(copy.owner) +
                                             ", which " + state + ".");
        }
      }
    }
  }

  void checkAgreement(const TAlloc& indent, const Copy& copy, Slot slot, const CellView& cell,
                      const CellView& reference) {
    std::string wrong;
    if (cell.partner != copy.partner) {
      const Owner partner{copy.owner.side == Side::Class ? Side::Resource : Side::Class, 0};
      wrong =
          "names " + name({partner.side, cell.partner}) + " instead of " + name({partner.side, copy.partner});
    } else if (cell.subject != indent.ASUBJECT) {
      wrong = "has subject " + subjectName(cell.subject) + " instead of " + subjectName(indent.ASUBJECT);
    } else if (reference.allocated() && reference.serial == indent.ASERIALNO &&
               (cell.clusterTotal != reference.clusterTotal || cell.position != reference.position)) {
      wrong = "places it as period " + std::to_string(cell.position) + " of a cluster of " +
              std::to_string(cell.clusterTotal) + ", its class as period " +
              std::to_string(reference.position) + " of " + std::to_string(reference.clusterTotal);
    }
    if (wrong.empty()) return;
    add(AuditRule::MirrorMismatch, "The cell of " + name(copy.owner) + " on " + at(slot) + " holds " +
                                       describe(indent) + " but " + wrong + ".");
  }

  void reportTwoPlaces(Owner owner, Slot slot, int serial, int other) {
    const auto key = std::make_tuple(owner, slot, std::min(serial, other), std::max(serial, other));
    if (!twoPlaces_.insert(key).second) return;
    std::string text = name(owner) + " is in two places at once on " + at(slot) + ": " +
                       describeSerial(serial) + " and " + describeSerial(other) + ".";
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    add(AuditRule::DoubleBooking, std::move(text));
  }

  // ---- Where the periods are ---------------------------------------------------------------------

  void checkPlaces(const TAlloc& indent, const std::set<Slot>& slots) {
    const std::vector<int> days = listMembers(indent.ALISTDAY);
    const std::vector<int> periods = listMembers(indent.ALISTLEC);
    auto listed = [](const std::vector<int>& list, int n) {
      return std::find(list.begin(), list.end(), n) != list.end();
    };
    for (Slot slot : slots) {
      const CellView school = schoolRow_[static_cast<std::size_t>(slotIndex(slot.day, slot.period))];
      const bool inWeek = slot.day <= days_ && slot.period <= periods_;
      if (!inWeek || !school.exists || school.subject == kNotAvailable) {
        add(AuditRule::NotAvailable, "The period of " + describe(indent) + " on " + at(slot) +
                                         " lies where the school is not available.");
      }
      if (!listed(days, slot.day) || !listed(periods, slot.period)) {
        add(AuditRule::Constraint, "The period of " + describe(indent) + " on " + at(slot) +
                                       " lies outside its constraint (days \"" + indent.ALISTDAY +
                                       "\", periods \"" + indent.ALISTLEC + "\").");
      }
    }
    if (static_cast<int>(slots.size()) > indent.ANOOFLEC) {
      add(AuditRule::OverAllocated, capitalised(describe(indent)) + " holds " + std::to_string(slots.size()) +
                                        " periods but asks for " + std::to_string(indent.ANOOFLEC) + ".");
    }
  }

  // ---- Cluster blocks ----------------------------------------------------------------------------

  void checkBlocks(const TAlloc& indent, const std::set<Slot>& slots) {
    const Owner cls{Side::Class, indent.ACLASS};
    const int size = indent.AINCLUSOF;
    std::set<Slot> reported;
    for (Slot slot : slots) {
      const CellView cell = cellOf(cls, slot);
      if (!cell.allocated() || cell.serial != indent.ASERIALNO) continue;  // a copy fault, reported there
      if (size < 2) {
        if (cell.clusterTotal >= 2) {
          add(AuditRule::ClusterBlock, "The period of " + describe(indent) + " on " + at(slot) +
                                           " is marked as part of a cluster of " +
                                           std::to_string(cell.clusterTotal) +
                                           ", but the indent is regular.");
        }
        continue;
      }
      const Slot start{slot.day, slot.period - cell.position + 1};
      if (reported.count(start)) continue;
      if (!wholeBlock(indent, cls, start, size)) {
        reported.insert(start);
        add(AuditRule::ClusterBlock, "The cluster block of " + describe(indent) + " on " + at(slot) +
                                         " is not a whole block of " + std::to_string(size) +
                                         " consecutive periods.");
        continue;
      }
      if (cell.position == 1 && indent.ARECESS == "N" && blockSpansRecess(start.period, size, recessAfter_)) {
        add(AuditRule::Recess,
            "The cluster block of " + describe(indent) + " on " + at(start) + " spans a recess.");
      }
    }
  }

  bool wholeBlock(const TAlloc& indent, Owner cls, Slot start, int size) const {
    if (start.period < 1 || start.period + size - 1 > kPeriods) return false;
    for (int position = 1; position <= size; ++position) {
      const CellView cell = cellOf(cls, {start.day, start.period + position - 1});
      if (!cell.allocated() || cell.serial != indent.ASERIALNO || cell.position != position ||
          cell.clusterTotal != size) {
        return false;
      }
    }
    // A block is exactly its size: the period before it and after it belong to other blocks.
    for (int period : {start.period - 1, start.period + size}) {
      if (period < 1 || period > kPeriods) continue;
      const CellView next = cellOf(cls, {start.day, period});
      if (next.allocated() && next.serial == indent.ASERIALNO &&
          next.position != (period < start.period ? size : 1)) {
        return false;
      }
    }
    return true;
  }

  // ---- Per-day limits of a class ------------------------------------------------------------------

  void checkClassDayLimits() {
    std::map<std::tuple<int, int, int>, int> subjectDays, resourceDays;  // class, subject/resource, day
    for (const auto& [serial, slots] : occupancy_) {
      const TAlloc& indent = indents_.at(serial);
      for (Slot slot : slots) {
        ++subjectDays[{indent.ACLASS, indent.ASUBJECT, slot.day}];
        ++resourceDays[{indent.ACLASS, indent.ATEACHER, slot.day}];
      }
    }
    if (switches_.subjectPerDay) {
      for (const auto& [key, count] : subjectDays) {
        const auto& [cls, subject, day] = key;
        auto limit = subjectLimits_.find({cls, subject});
        if (limit == subjectLimits_.end() || count <= limit->second) continue;
        add(AuditRule::SubjectPerDay, capitalised(name({Side::Class, cls})) + " has " +
                                          std::to_string(count) + " periods of " + subjectName(subject) +
                                          " on day " + std::to_string(day) + ", above its per-day limit of " +
                                          std::to_string(limit->second) + ".");
      }
    }
    if (switches_.resourcePerClassDay) {
      for (const auto& [key, count] : resourceDays) {
        const auto& [cls, resource, day] = key;
        auto limit = resourceClassLimits_.find({cls, resource});
        if (limit == resourceClassLimits_.end() || count <= limit->second) continue;
        add(AuditRule::ResourcePerClassDay,
            capitalised(name({Side::Class, cls})) + " has " + std::to_string(count) + " periods with " +
                name({Side::Resource, resource}) + " on day " + std::to_string(day) +
                ", above its per-day limit of " + std::to_string(limit->second) + ".");
      }
    }
  }

  // ---- A resource's day ----------------------------------------------------------------------------

  void checkResourceRows() {
    for (const auto& entry : rows_) {
      const Owner owner = entry.first;
      const Row& row = entry.second;
      if (owner.side != Side::Resource) continue;
      auto record = resources_.find(owner.code);
      if (record == resources_.end()) continue;
      for (int day = 1; day <= kDays; ++day) {
        auto busy = [&](int period) {
          return row[static_cast<std::size_t>(slotIndex(day, period))].allocated();
        };
        if (switches_.resourcePerDay) checkDayLimit(owner, record->second.TMAXLEC, day, busy);
        if (switches_.continuity) checkRuns(owner, record->second.TMAXCON, day, busy);
      }
    }
  }

  template <class Busy>
  void checkDayLimit(Owner owner, int limit, int day, Busy busy) {
    int count = 0;
    for (int period = 1; period <= kPeriods; ++period) count += busy(period) ? 1 : 0;
    if (count <= limit) return;
    add(AuditRule::ResourcePerDay, capitalised(name(owner)) + " has " + std::to_string(count) +
                                       " periods on day " + std::to_string(day) +
                                       ", above its per-day limit of " + std::to_string(limit) + ".");
  }

  template <class Busy>
  void checkRuns(Owner owner, int limit, int day, Busy busy) {
    for (int period = 1; period <= kPeriods; ++period) {
      if (!busy(period) || (period > 1 && busy(period - 1))) continue;  // the first period of a run
      int length = 0;
      while (period + length <= kPeriods && busy(period + length)) ++length;
      auto use = [&](int q) { return busy(q) ? PeriodUse::Busy : PeriodUse::Open; };
      if (continuityAllows(period, 1, limit, use).passes) continue;
      add(AuditRule::Continuity, capitalised(name(owner)) + " has " + std::to_string(length) +
                                     " consecutive periods on day " + std::to_string(day) + " from period " +
                                     std::to_string(period) + ", above its continuity limit of " +
                                     std::to_string(limit) + ".");
    }
  }

  // ---- Counters ------------------------------------------------------------------------------------

  void addRecount() {
    RecountReport recount = recountCounters(store_, school_);
    for (const CounterDifference& difference : recount.differences)
      add(AuditRule::Counter, difference.text());
    for (std::string& stray : recount.strayCells) add(AuditRule::StrayCell, std::move(stray));
  }

  static std::string capitalised(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
  }

  Store& store_;
  int school_;
  AuditSwitches switches_;
  int days_ = 0;
  int periods_ = 0;
  std::vector<int> recessAfter_;
  std::map<int, TAlloc> indents_;
  std::map<int, TClas> classes_;
  std::map<int, TTeac> resources_;
  std::map<int, std::string> subjects_;
  std::map<Owner, std::vector<int>> members_;
  std::map<std::pair<int, int>, int> subjectLimits_, resourceClassLimits_;
  std::map<Owner, Row> rows_;
  Row schoolRow_{};
  std::map<int, std::set<Slot>> occupancy_;
  std::set<std::tuple<Owner, Slot, int, int>> twoPlaces_;
  AuditReport report_;
};

}  // namespace

AuditSwitches AuditSwitches::of(const store::TInst& institution) {
  return AuditSwitches{institution.ISUL_CLASS, institution.ITUL_CLASS, institution.ITUL_DAY,
                       institution.ITSQUL};
}

int AuditReport::count(AuditRule rule) const {
  int n = 0;
  for (const Violation& violation : violations) n += violation.rule == rule ? 1 : 0;
  return n;
}

std::vector<std::string> AuditReport::texts() const {
  std::vector<std::string> all;
  for (const Violation& violation : violations) all.push_back(violation.text);
  return all;
}

AuditReport check(store::Store& store, int school) {
  return check(store, school, AuditSwitches::of(store.institution()));
}

AuditReport check(store::Store& store, int school, const AuditSwitches& switches) {
  return Audit(store, school, switches).run();
}

}  // namespace tavrel::engine
