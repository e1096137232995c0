#include "core/store/counter_recount.h"

#include <map>
#include <set>
#include <tuple>

namespace tavrel::store {

namespace {

using OwnerCounts = CountedCounters::Owner;
using ClassSubjectDay = CountedCounters::ClassSubjectDay;
using ClassResourceDay = CountedCounters::ClassResourceDay;
using ResourceDay = CountedCounters::ResourceDay;
using Counted = CountedCounters;

class Recount {
 public:
  Recount(Store& store, int school) : store_(store), school_(school) { read(); }

  RecountReport run() {
    countRequirements();
    countClassCells();
    countResourceCells();
    compareOwners();
    compareIndents();
    compareSubjects();
    compareDays();
    return std::move(report_);
  }

  CountedCounters count() {
    countRequirements();
    countClassCells();
    countResourceCells();
    return std::move(counted_);
  }

 private:
  void read() {
    store_.table<TAlloc>().forEach(TAlloc::primary, {school_},
                                   [&](const TAlloc& row) { indents_[row.ASERIALNO] = row; });
    store_.table<TClas>().forEach(TClas::CLASCODE, {school_},
                                  [&](const TClas& row) { classes_[row.CLSCODE] = row; });
    store_.table<TTeac>().forEach(TTeac::TEACCODE, {school_},
                                  [&](const TTeac& row) { resources_[row.TCHCODE] = row; });
    store_.table<TSubj>().forEach(TSubj::SUBJCODE, {},
                                  [&](const TSubj& row) { subjectNames_[row.SUBCODE] = row.SUBNAME; });
    store_.table<TOptn>().forEach(TOptn::primary, {school_}, [&](const TOptn& row) {
      if (row.OPTYPE == "C") {
        auto group = classes_.find(row.OPMAINCODE);
        if (group != classes_.end() && group->second.CLSOPTION == "Y") {
          classMembers_[row.OPMAINCODE].insert(row.OPSUBCODE);
        }
      } else if (row.OPTYPE == "T") {
        auto group = resources_.find(row.OPMAINCODE);
        if (group != resources_.end() && group->second.TCHOPTION == "Y") {
          resourceMembers_[row.OPMAINCODE].insert(row.OPSUBCODE);
        }
      }
    });
  }

  void countRequirements() {
    for (const auto& [serial, indent] : indents_) {
      if (indent.AACTIVE != "Y") continue;
      const int n = indent.ANOOFLEC;
      counted_.classes[indent.ACLASS].required += n;
      counted_.resources[indent.ATEACHER].required += n;
      counted_.subjects[indent.ASUBJECT].required += n;
      for (int member : classMembers_[indent.ACLASS]) {
        counted_.classes[member].requiredThroughGroup += n;
      }
      for (int member : resourceMembers_[indent.ATEACHER]) {
        counted_.resources[member].requiredThroughGroup += n;
      }
    }
  }

  void countClassCells() {
    store_.table<TTtbl>().forEach(TTtbl::TIMECLAS, {school_, "C"}, [&](const TTtbl& cell) {
      if (!allocated(cell)) return;
      const TAlloc* indent = indentOf(cell, className(cell.TCLASS));
      if (!indent) return;
      if (indent->ACLASS == cell.TCLASS) {
        counted_.classes[cell.TCLASS].allocated += 1;
        counted_.indentAllocated[cell.TSERIAL] += 1;
        counted_.subjects[cell.TSUBJECT].allocated += 1;
        counted_.subjectDays[{cell.TCLASS, cell.TSUBJECT, cell.TDAY}] += 1;
        counted_.resourceClassDays[{cell.TCLASS, cell.TTEACHER, cell.TDAY}] += 1;
      } else if (classMembers_[indent->ACLASS].count(cell.TCLASS)) {
        counted_.classes[cell.TCLASS].allocatedThroughGroup += 1;
      } else {
        stray(cell, className(cell.TCLASS),
              "an indent of " + className(indent->ACLASS) + ", not of a group it is in");
      }
    });
  }

  void countResourceCells() {
    store_.table<TTtbl>().forEach(TTtbl::TIMETEAC, {school_, "T"}, [&](const TTtbl& cell) {
      if (!allocated(cell)) return;
      const TAlloc* indent = indentOf(cell, resourceName(cell.TTEACHER));
      if (!indent) return;
      if (indent->ATEACHER == cell.TTEACHER) {
        counted_.resources[cell.TTEACHER].allocated += 1;
      } else if (resourceMembers_[indent->ATEACHER].count(cell.TTEACHER)) {
        counted_.resources[cell.TTEACHER].allocatedThroughGroup += 1;
      } else {
        stray(cell, resourceName(cell.TTEACHER),
              "an indent of " + resourceName(indent->ATEACHER) + ", not of a group it is in");
        return;
      }
      counted_.resourceDays[{cell.TTEACHER, cell.TDAY}] += 1;
    });
  }

  static bool allocated(const TTtbl& cell) { return cell.TSUBJECT != 0 && cell.TSUBJECT != 999; }

  const TAlloc* indentOf(const TTtbl& cell, const std::string& owner) {
    auto found = indents_.find(cell.TSERIAL);
    if (found == indents_.end()) {
      stray(cell, owner, "serial " + std::to_string(cell.TSERIAL) + ", which is no indent of the school");
      return nullptr;
    }
    return &found->second;
  }

  void stray(const TTtbl& cell, const std::string& owner, const std::string& whose) {
    report_.strayCells.push_back("The cell of " + owner + " on day " + std::to_string(cell.TDAY) +
                                 ", period " + std::to_string(cell.TLECTNO) + " is allocated to " + whose +
                                 ".");
  }

  void differ(std::string counter, std::string owner, int stored, int counted, bool missing = false) {
    if (!missing && stored == counted) return;
    if (missing && counted == 0) return;
    report_.differences.push_back({std::move(counter), std::move(owner), stored, counted, missing});
  }

  void compareOwners() {
    for (const auto& [code, row] : classes_) {
      const OwnerCounts c = counted_.classes[code];
      const std::string owner = className(code);
      differ("CLSREQLEC", owner, row.CLSREQLEC, c.required);
      differ("CLSREQMLT", owner, row.CLSREQMLT, c.requiredThroughGroup);
      differ("CLSTOTALL", owner, row.CLSTOTALL, c.allocated);
      differ("CLSMLTALL", owner, row.CLSMLTALL, c.allocatedThroughGroup);
    }
    for (const auto& [code, row] : resources_) {
      const OwnerCounts c = counted_.resources[code];
      const std::string owner = resourceName(code);
      differ("TCHREQLEC", owner, row.TCHREQLEC, c.required);
      differ("TCHREQMLT", owner, row.TCHREQMLT, c.requiredThroughGroup);
      differ("TALLOCLEC", owner, row.TALLOCLEC, c.allocated);
      differ("TCHMLTALL", owner, row.TCHMLTALL, c.allocatedThroughGroup);
    }
  }

  void compareIndents() {
    for (const auto& [serial, row] : indents_) {
      differ("ANOLECALL", "indent " + std::to_string(serial), row.ANOLECALL,
             counted_.indentAllocated[serial]);
    }
  }

  void compareSubjects() {
    std::set<int> seen;
    store_.table<TSctl>().forEach(TSctl::primary, {school_}, [&](const TSctl& row) {
      seen.insert(row.SCTCODE);
      const CountedCounters::Subject c = counted_.subjects[row.SCTCODE];
      differ("SCTREQLEC", subjectName(row.SCTCODE), row.SCTREQLEC, c.required);
      differ("SCTTOTALL", subjectName(row.SCTCODE), row.SCTTOTALL, c.allocated);
    });
    for (const auto& [code, c] : counted_.subjects) {
      if (seen.count(code)) continue;
      differ("SCTREQLEC", subjectName(code), 0, c.required, true);
      differ("SCTTOTALL", subjectName(code), 0, c.allocated, true);
    }
  }

  void compareDays() {
    std::set<ClassSubjectDay> seenSubjectDays;
    store_.table<TSDAll>().forEach(TSDAll::primary, {school_}, [&](const TSDAll& row) {
      ClassSubjectDay key{row.SDCLASS, row.SDSUBJECT, row.SDDAYNO};
      seenSubjectDays.insert(key);
      differ("SDALLOC", subjectDay(key), row.SDALLOC, count(counted_.subjectDays, key));
    });
    for (const auto& [key, n] : counted_.subjectDays) {
      if (!seenSubjectDays.count(key)) differ("SDALLOC", subjectDay(key), 0, n, true);
    }

    std::set<ClassResourceDay> seenResourceClassDays;
    store_.table<TTDAll>().forEach(TTDAll::primary, {school_}, [&](const TTDAll& row) {
      ClassResourceDay key{row.TDCLASS, row.TDTEACHER, row.TDDAYNO};
      seenResourceClassDays.insert(key);
      differ("TDALLOC", resourceClassDay(key), row.TDALLOC, count(counted_.resourceClassDays, key));
    });
    for (const auto& [key, n] : counted_.resourceClassDays) {
      if (!seenResourceClassDays.count(key)) differ("TDALLOC", resourceClassDay(key), 0, n, true);
    }

    std::set<ResourceDay> seenResourceDays;
    store_.table<TTDMAll>().forEach(TTDMAll::primary, {school_}, [&](const TTDMAll& row) {
      ResourceDay key{row.TDATEACHER, row.TDADAYNO};
      seenResourceDays.insert(key);
      differ("TDAALLOC", resourceDay(key), row.TDAALLOC, count(counted_.resourceDays, key));
    });
    for (const auto& [key, n] : counted_.resourceDays) {
      if (!seenResourceDays.count(key)) differ("TDAALLOC", resourceDay(key), 0, n, true);
    }
  }

  template <class Map, class K>
  static int count(const Map& map, const K& key) {
    auto found = map.find(key);
    return found == map.end() ? 0 : found->second;
  }

  std::string className(int code) const {
    auto found = classes_.find(code);
    return "class " + (found == classes_.end() ? std::string("?") : found->second.CLSNAME) + " (" +
           std::to_string(code) + ")";
  }
  std::string resourceName(int code) const {
    auto found = resources_.find(code);
    return "resource " + (found == resources_.end() ? std::string("?") : found->second.TCHNAME) + " (" +
           std::to_string(code) + ")";
  }
  std::string subjectName(int code) const {
    auto found = subjectNames_.find(code);
    return "subject " + (found == subjectNames_.end() ? std::string("?") : found->second) + " (" +
           std::to_string(code) + ")";
  }
  std::string subjectDay(const ClassSubjectDay& key) const {
    return className(std::get<0>(key)) + ", " + subjectName(std::get<1>(key)) + ", day " +
           std::to_string(std::get<2>(key));
  }
  std::string resourceClassDay(const ClassResourceDay& key) const {
    return className(std::get<0>(key)) + ", " + resourceName(std::get<1>(key)) + ", day " +
           std::to_string(std::get<2>(key));
  }
  std::string resourceDay(const ResourceDay& key) const {
    return resourceName(key.first) + ", day " + std::to_string(key.second);
  }

  Store& store_;
  int school_;
  std::map<int, TAlloc> indents_;
  std::map<int, TClas> classes_;
  std::map<int, TTeac> resources_;
  std::map<int, std::string> subjectNames_;
  std::map<int, std::set<int>> classMembers_, resourceMembers_;
  Counted counted_;
  RecountReport report_;
};

}  // namespace

std::string CounterDifference::text() const {
  if (recordMissing) {
    return owner + ": " + counter + " has no record, counted " + std::to_string(counted) + ".";
  }
  return owner + ": " + counter + " is " + std::to_string(stored) + ", counted " + std::to_string(counted) +
         ".";
}

std::vector<std::string> RecountReport::findings() const {
  std::vector<std::string> all;
  for (const CounterDifference& difference : differences) all.push_back(difference.text());
  all.insert(all.end(), strayCells.begin(), strayCells.end());
  return all;
}

RecountReport recountCounters(Store& store, int school) {
  return Recount(store, school).run();
}

CountedCounters countCounters(Store& store, int school) {
  return Recount(store, school).count();
}

}  // namespace tavrel::store
