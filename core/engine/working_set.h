// The in-memory working set of an "Allocate All" run: the school's whole timetable state, read
// from the tables once (`LoadLim`), worked on in memory by the placement and the rearrangement,
// and written back once at the end (`UnLodLim`, `UnLodPart`). It is one of the two
// implementations of the slot interface (slots.h).
//
// Layout. Every class and every resource owns a block of 9 x 12 = 108 slots whatever the school's
// week; slot (d, p) of owner n is element (n - 1) x 108 + (d - 1) x 12 + (p - 1) of the slot
// arrays (base 0). Counters are indexed by code (base 1). A slot holds 999 free, 0 not available,
// or the partner's code.
//
//   CTBL CSTBL CLSRNO CCLUSTOT CCLUSLECNO   class slots: resource, subject, serial, cluster, position
//   TTBL TSTBL TCSRNO TCLUSTOT TCLUSLECNO   resource slots: class, subject, serial, cluster, position
//   SRLALLO                                 periods allocated per indent serial
//   CLSALLO CLSMALLO TCHALLO TCHMALLO        periods per class / resource, own and through groups
//   TCHDAYALLO                              periods of resource r on day d at (r - 1) x 9 + d
//   SUBALLO                                 periods per subject
//   CLSSUBJ CSUBTOT CSUBPOS SUBLIM          the subjects of each class's active indents and, packed
//                                           per class, their periods per day: SUBLIM[CSUBPOS[c] +
//                                           9 x k + d] for the k-th subject of class c
//   CLSTCHR CTCHTOT CTCHPOS TCHLIM          the same for the resources of each class
//
// The packed positions `CSUBPOS` and `CTCHPOS` are 32-bit: at 999 classes with a few subjects
// each they pass what 16 bits hold.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/dyn_array.h"
#include "core/engine/slots.h"
#include "core/ports/progress.h"
#include "core/store/store.h"

namespace tavrel::engine {

// The school's dimensions, from `TSchl` and `TInst`.
struct SchoolDimensions {
  int school = 0;
  int classes = 0;    // `STOTCLS`
  int resources = 0;  // `STOTTCH`
  int serials = 0;    // `SALLSERIAL`
  int subjects = 0;   // `ISUBJECT`
  int days = 0;       // of the week frame
  int periods = 0;
};

enum class LoadMode { Fresh, Resume };  // "A" and "R"

class WorkingSet {
 public:
  static constexpr SlotMode kMode = SlotMode::Memory;
  using Cell = std::int16_t;

  WorkingSet() = default;
  WorkingSet(const WorkingSet&) = delete;
  WorkingSet& operator=(const WorkingSet&) = delete;

  // ---- The arrays, named as their quick-save files -------------------------------------------
  DynComp<Cell> CTBL{0}, CSTBL{0}, CLSRNO{0}, CCLUSTOT{0}, CCLUSLECNO{0};
  DynComp<Cell> TTBL{0}, TSTBL{0}, TCSRNO{0}, TCLUSTOT{0}, TCLUSLECNO{0};
  DynComp<Cell> SRLALLO{1}, CLSALLO{1}, CLSMALLO{1}, TCHALLO{1}, TCHMALLO{1}, TCHDAYALLO{1}, SUBALLO{1};
  DynComp<Cell> CSUBTOT{1}, CTCHTOT{1};
  DynComp<std::int32_t> CSUBPOS{1}, CTCHPOS{1};
  DynComp<Cell> SUBLIM{1}, TCHLIM{1};
  std::vector<std::vector<int>> CLSSUBJ, CLSTCHR;  // element c - 1: the codes of class c, first seen first

  // ---- Filling and emptying ------------------------------------------------------------------
  // `LoadLim` steps 1 to 4 and 6: the school's reference data and the per-class lists from its
  // active indents; for a fresh run every slot free except where the tables say not available (and
  // outside the school's week), every counter 0. A resumed run fills the arrays from the quick-save
  // files instead (quick_save.h). `pump` stops the load between timetable rows: false then.
  bool load(store::Store& store, int school, LoadMode mode, Progress& progress);
  // `ClearMem`
  void ClearMem();
  bool loaded() const { return loaded_; }

  const SchoolDimensions& dimensions() const { return dimensions_; }
  int TotalPeriods() const { return totalPeriods_; }
  // The school's active indents in `ALLOFLAG` order (priority letter, subject, serial).
  const std::vector<int>& batchOrder() const { return batchOrder_; }
  // The expected element count of each array, for the resume's size check.
  std::vector<std::pair<std::string, std::int64_t>> expectedSizes() const;

  // Calls `f(name, array)` for each array that a quick-save keeps, in the order of its files.
  template <class F>
  void forEachSaved(F&& f) {
    f("CSUBPOS", CSUBPOS);
    f("CTCHPOS", CTCHPOS);
    f("SRLALLO", SRLALLO);
    f("CLSALLO", CLSALLO);
    f("CLSMALLO", CLSMALLO);
    f("TCHALLO", TCHALLO);
    f("TCHMALLO", TCHMALLO);
    f("SUBALLO", SUBALLO);
    f("SUBLIM", SUBLIM);
    f("TCHLIM", TCHLIM);
    f("TCHDAYALLO", TCHDAYALLO);
    f("CTBL", CTBL);
    f("CSTBL", CSTBL);
    f("CLSRNO", CLSRNO);
    f("CCLUSTOT", CCLUSTOT);
    f("CCLUSLECNO", CCLUSLECNO);
    f("TTBL", TTBL);
    f("TSTBL", TSTBL);
    f("TCSRNO", TCSRNO);
    f("TCLUSTOT", TCLUSTOT);
    f("TCLUSLECNO", TCLUSLECNO);
  }
  template <class F>
  void forEachSaved(F&& f) const {
    const_cast<WorkingSet*>(this)->forEachSaved([&](const char* name, const auto& array) { f(name, array); });
  }

  // ---- The slot interface ----------------------------------------------------------------------
  int classPartner(int cls, int day, int period) const { return CTBL[slot(cls, day, period)]; }
  int resourcePartner(int resource, int day, int period) const { return TTBL[slot(resource, day, period)]; }
  SlotContent classCell(int cls, int day, int period) const;
  SlotContent resourceCell(int resource, int day, int period) const;
  int subjectDayCount(const IndentInHand& indent, int day) const {
    return indent.subjectDayBase < 0 ? 0 : SUBLIM[indent.subjectDayBase + day];
  }
  int resourceClassDayCount(const IndentInHand& indent, int day) const {
    return indent.resourceClassDayBase < 0 ? 0 : TCHLIM[indent.resourceClassDayBase + day];
  }
  int resourceDayCount(int resource, int day) const { return TCHDAYALLO[(resource - 1) * kDays + day]; }
  std::string_view subjectName(int code) const;
  int indentAllocated(int serial) const { return SRLALLO[serial]; }
  std::optional<store::TAlloc> indent(int serial) const;
  // The row of an indent of the school as loaded; the serial must be one (batch order serials are).
  const store::TAlloc& indentRow(int serial) const { return indents_.at(serial); }
  IndentInHand prepare(const store::TAPara& para) const;

  void setClassCell(int cls, int day, int period, const SlotContent& content, const CellRanges&);
  void setResourceCell(int resource, int day, int period, const SlotContent& content, const CellRanges&);
  void addSubjectDay(const IndentInHand& indent, int day, int n) {
    if (indent.subjectDayBase >= 0) add(SUBLIM, indent.subjectDayBase + day, n);
  }
  void addResourceClassDay(const IndentInHand& indent, int day, int n) {
    if (indent.resourceClassDayBase >= 0) add(TCHLIM, indent.resourceClassDayBase + day, n);
  }
  void addResourceDay(int resource, int day, int n) { add(TCHDAYALLO, (resource - 1) * kDays + day, n); }
  void addIndentAllocated(int serial, int n) { add(SRLALLO, serial, n); }
  void addTotals(const IndentInHand& indent, int n);  // `CTTotUpdt`

  // ---- Reference data ----------------------------------------------------------------------------
  bool classIsGroup(int cls) const;
  bool resourceIsGroup(int resource) const;
  const std::vector<int>& classMembers(int cls) const;
  const std::vector<int>& resourceMembers(int resource) const;
  // The slot index of (d, p) of owner n.
  static std::int32_t slot(int owner, int day, int period) {
    return (owner - 1) * kSlotsPerOwner + (day - 1) * kPeriods + (period - 1);
  }

 private:
  struct ResourceLimits {
    int perDay = 0;      // `TMAXLEC`
    int continuity = 0;  // `TMAXCON`
  };

  static void add(DynComp<Cell>& array, std::int32_t index, int n) {
    array[index] = static_cast<Cell>(array[index] + n);
  }
  void readReferenceData(store::Store& store);
  void readActiveIndents(store::Store& store);
  void buildFresh();
  bool markNotAvailable(store::Store& store, Progress& progress);
  void markMissingRows(store::Store& store, char kind, DynComp<Cell>& partners, DynComp<Cell>& subjects,
                       int owners);
  static int position(const std::vector<int>& list, int code);

  bool loaded_ = false;
  SchoolDimensions dimensions_;
  int totalPeriods_ = 0;
  std::vector<int> batchOrder_;
  std::map<int, store::TAlloc> indents_;
  std::vector<char> classGroup_, resourceGroup_;  // by code - 1
  std::vector<std::vector<int>> classMembers_, resourceMembers_;
  std::vector<ResourceLimits> resourceLimits_;
  std::map<std::pair<int, int>, int> subjectLimits_, resourceClassLimits_;  // `TSOcc`, `TTOcc`
  std::vector<std::string> subjectNames_;                                   // by code
};

}  // namespace tavrel::engine
