#include "core/indents/statistics_repair.h"

#include <map>

#include "core/indents/allocation_undo.h"
#include "core/indents/progress_scope.h"
#include "core/setup/subjects.h"
#include "core/store/counter_recount.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

constexpr int kCellsPerOwner = 108;
constexpr int kStages = 5;

// Available slots: every cell of the 9 × 12 grid that is not marked unavailable.
std::map<int, int> availableSlots(Store& store, int school, OwnerKind kind) {
  std::map<int, int> available;
  const bool isClass = kind == OwnerKind::Class;
  store.table<TTtbl>().forEach(isClass ? TTtbl::TIMECLAS : TTtbl::TIMETEAC, {school, isClass ? "C" : "T"},
                               [&](const TTtbl& row) {
                                 const int owner = isClass ? row.TCLASS : row.TTEACHER;
                                 available.try_emplace(owner, kCellsPerOwner);
                                 if (partnerOf(row) == 0) available[owner] -= 1;
                               });
  return available;
}

int placedPeriods(Store& store, const TAlloc& indent) {
  int placed = 0;
  store.table<TTtbl>().forEach(TTtbl::TIMECSERL, {indent.ASCHOOL, "C", indent.ACLASS, indent.ASERIALNO},
                               [&](const TTtbl& row) {
                                 if (row.TSUBJECT != 0 && row.TSUBJECT != 999) ++placed;
                               });
  return placed;
}

std::string correctionQuestion(Store& store, const TAlloc& indent, int placed) {
  return "Check this indent : Class -" + L_ACLASSNM(store, indent) + ", Resource - " +
         L_ATEACHERNM(store, indent) + ", Subject - " + L_ASUBJECTNM(store, indent) + ", Type - " +
         (indent.AINCLUSOF < 2 ? "Regular" : "Cluster") + ", Count/Wk - " + std::to_string(indent.ANOOFLEC) +
         ". " + "Actual Allocation : " + std::to_string(placed) +
         ", Indent shows : " + std::to_string(indent.ANOLECALL) + ". Select Yes to correct " +
         " the problem.";
}

class Repair {
 public:
  Repair(Session& session, Progress& progress, IndentAllocator& allocator)
      : session_(session),
        store_(session.store()),
        school_(session.schoolCode()),
        progress_(progress),
        allocator_(allocator) {}

  RepairReport run() {
    session_.ChkBug();
    ProgressScope shown(progress_, "Statistics Diagnostic/Repair...", kStages);
    shown->text("Preparing");
    shown->step();
    shown->text("Collecting Statistics");
    const std::map<int, int> classSlots = availableSlots(store_, school_, OwnerKind::Class);
    const std::map<int, int> resourceSlots = availableSlots(store_, school_, OwnerKind::Resource);
    checkAllocatedCounts();
    shown->step();
    const CountedCounters counted = countCounters(store_, school_);
    Transaction tx(store_);
    shown->text("Updating Resource Statistics");
    updateResources(counted, resourceSlots);
    shown->step();
    shown->text("Updating Class Statistics");
    updateClasses(counted, classSlots);
    shown->step();
    shown->text("Updating Subject Statistics");
    updateSubjects(counted);
    updateDayCounts(counted);
    shown->step();
    tx.commit();
    session_.TComFill();
    session_.flushList();
    session_.tableNumbers.clear();
    report_.strayCells = recountCounters(store_, school_).strayCells;
    return report_;
  }

 private:
  void checkAllocatedCounts() {
    for (const TAlloc& listed : store_.table<TAlloc>().range(TAlloc::ALLOFLAG, {school_, "Y"})) {
      auto indent = findIndent(session_, listed.ASERIALNO);
      if (!indent) continue;
      const int placed = placedPeriods(store_, *indent);
      if (placed == indent->ANOLECALL) continue;
      ++report_.correctionsOffered;
      if (!session_.prompter().ask(MessageKind::Information, correctionQuestion(store_, *indent, placed)))
        continue;
      ++report_.correctionsMade;
      indent->ANOLECALL = placed;
      store_.table<TAlloc>().update(*indent);
      // Allocated afresh, the indent's periods and their per-day counts are rebuilt together. Without
      // an engine that could place them again the periods found are kept as they are.
      if (placed > 0 && allocator_.wired()) {
        UndoAllocation(session_, indent->ASERIALNO, Interaction::Silent);
        MakeAlloc(session_, allocator_, indent->ASERIALNO);
      }
    }
  }

  template <class Row>
  void rewriteIf(Row& row, bool differs) {
    if (!differs) return;
    store_.table<Row>().update(row);
    ++report_.recordsRewritten;
  }

  void updateResources(const CountedCounters& counted, const std::map<int, int>& slots) {
    for (TTeac row : store_.table<TTeac>().range(TTeac::TEACCODE, {school_})) {
      const CountedCounters::Owner c = valueOr(counted.resources, row.TCHCODE);
      const int available = valueOr(slots, row.TCHCODE, kCellsPerOwner);
      const bool differs = row.TCHREQLEC != c.required || row.TALLOCLEC != c.allocated ||
                           row.TCHREQMLT != c.requiredThroughGroup ||
                           row.TCHMLTALL != c.allocatedThroughGroup || row.TCHTOTLEC != available;
      row.TCHREQLEC = c.required;
      row.TALLOCLEC = c.allocated;
      row.TCHREQMLT = c.requiredThroughGroup;
      row.TCHMLTALL = c.allocatedThroughGroup;
      row.TCHTOTLEC = available;
      rewriteIf(row, differs);
    }
  }

  void updateClasses(const CountedCounters& counted, const std::map<int, int>& slots) {
    for (TClas row : store_.table<TClas>().range(TClas::CLASCODE, {school_})) {
      const CountedCounters::Owner c = valueOr(counted.classes, row.CLSCODE);
      const int available = valueOr(slots, row.CLSCODE, kCellsPerOwner);
      const bool differs = row.CLSREQLEC != c.required || row.CLSTOTALL != c.allocated ||
                           row.CLSREQMLT != c.requiredThroughGroup ||
                           row.CLSMLTALL != c.allocatedThroughGroup || row.CLSTOTLEC != available;
      row.CLSREQLEC = c.required;
      row.CLSTOTALL = c.allocated;
      row.CLSREQMLT = c.requiredThroughGroup;
      row.CLSMLTALL = c.allocatedThroughGroup;
      row.CLSTOTLEC = available;
      rewriteIf(row, differs);
    }
  }

  void updateSubjects(const CountedCounters& counted) {
    for (const auto& [code, c] : counted.subjects) {
      if (c.required != 0 || c.allocated != 0) setup::ensureSubjectLink(store_, school_, code);
    }
    for (TSctl row : store_.table<TSctl>().range(TSctl::primary, {school_})) {
      const CountedCounters::Subject c = valueOr(counted.subjects, row.SCTCODE);
      const bool differs = row.SCTREQLEC != c.required || row.SCTTOTALL != c.allocated;
      row.SCTREQLEC = c.required;
      row.SCTTOTALL = c.allocated;
      rewriteIf(row, differs);
    }
  }

  void updateDayCounts(const CountedCounters& counted) {
    std::map<CountedCounters::ClassSubjectDay, int> subjectDays = counted.subjectDays;
    for (TSDAll row : store_.table<TSDAll>().range(TSDAll::primary, {school_})) {
      const int n = take(subjectDays, {row.SDCLASS, row.SDSUBJECT, row.SDDAYNO});
      const bool differs = row.SDALLOC != n;
      row.SDALLOC = n;
      rewriteIf(row, differs);
    }
    for (const auto& [key, n] : subjectDays) {
      TSDAll row{.SDSCHOOL = school_,
                 .SDCLASS = std::get<0>(key),
                 .SDSUBJECT = std::get<1>(key),
                 .SDDAYNO = std::get<2>(key),
                 .SDOCCURN = n,
                 .SDALLOC = n};
      store_.table<TSDAll>().insert(row);
      ++report_.recordsRewritten;
    }
    std::map<CountedCounters::ClassResourceDay, int> resourceClassDays = counted.resourceClassDays;
    for (TTDAll row : store_.table<TTDAll>().range(TTDAll::primary, {school_})) {
      const int n = take(resourceClassDays, {row.TDCLASS, row.TDTEACHER, row.TDDAYNO});
      const bool differs = row.TDALLOC != n;
      row.TDALLOC = n;
      rewriteIf(row, differs);
    }
    for (const auto& [key, n] : resourceClassDays) {
      TTDAll row{.TDSCHOOL = school_,
                 .TDCLASS = std::get<0>(key),
                 .TDTEACHER = std::get<1>(key),
                 .TDDAYNO = std::get<2>(key),
                 .TDOCCURN = n,
                 .TDALLOC = n};
      store_.table<TTDAll>().insert(row);
      ++report_.recordsRewritten;
    }
    std::map<CountedCounters::ResourceDay, int> resourceDays = counted.resourceDays;
    for (TTDMAll row : store_.table<TTDMAll>().range(TTDMAll::primary, {school_})) {
      const int n = take(resourceDays, {row.TDATEACHER, row.TDADAYNO});
      const bool differs = row.TDAALLOC != n;
      row.TDAALLOC = n;
      rewriteIf(row, differs);
    }
    for (const auto& [key, n] : resourceDays) {
      TTDMAll row{.TDASCHOOL = school_, .TDATEACHER = key.first, .TDADAYNO = key.second, .TDAALLOC = n};
      store_.table<TTDMAll>().insert(row);
      ++report_.recordsRewritten;
    }
  }

  template <class Map, class K>
  static typename Map::mapped_type valueOr(const Map& map, const K& key,
                                           typename Map::mapped_type absent = {}) {
    auto found = map.find(key);
    return found == map.end() ? absent : found->second;
  }

  // The count of a key that has a record, leaving in the map only the counts that have none.
  template <class Map>
  static int take(Map& map, const typename Map::key_type& key) {
    auto found = map.find(key);
    if (found == map.end()) return 0;
    const int n = found->second;
    map.erase(found);
    return n;
  }

  Session& session_;
  Store& store_;
  int school_;
  Progress& progress_;
  IndentAllocator& allocator_;
  RepairReport report_;
};

}  // namespace

std::optional<RepairReport> statisticsRepair(Session& session, Progress& progress,
                                             IndentAllocator& allocator) {
  if (!session.prompter().ask(
          MessageKind::Information,
          "Statistics Diagnostic checks all statistics and repairs them if necessary. Select Yes "
          "to run the dianostic.")) {
    return std::nullopt;
  }
  return Repair(session, progress, allocator).run();
}

}  // namespace tavrel::indents
