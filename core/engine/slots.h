// The slot interface: everything the placement checks read and the placement writes, with two
// implementations that the same check and placement code runs over:
//
//   WorkingSet  (working_set.h)  the in-memory working set of an "Allocate All" run: arrays read
//                                once from the tables and written back at the end.
//   TableSlots  (table_slots.h)  table mode ("Allocate Select", one indent from the indent window,
//                                proxies): reads and writes go to the tables.
//
// Where the two modes answer differently, the interface says so, and the difference is behaviour
// the person relies on:
//   - a cell without a timetable row exists only in table mode (`kNoRow`): a class or member
//     without a row does not block, and the continuity scan looks past the gap;
//   - a class without a per-day limit record for the subject (resource) may take no period of it
//     in memory (limit 0), and is not limited at all in table mode (`IndentInHand`);
//   - the diagnosis of a single indent (Diagnosis) is only kept in table mode.
//
// Days and periods are 1-based everywhere in this interface.
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/placement_rules.h"
#include "core/store/tables.h"

namespace tavrel::engine {

inline constexpr int kNotAvailable = 0;
inline constexpr int kFree = 999;
inline constexpr int kNoRow = -1;  // table mode: the owner has no timetable row for that cell

enum class SlotMode { Memory, Tables };

// One cell of a class row (partner: the resource) or a resource row (partner: the class).
struct SlotContent {
  int partner = kNotAvailable;  // 0 not available, 999 free, kNoRow no row, else the partner's code
  int subject = kNotAvailable;
  int serial = 0;
  int clusterTotal = 0;  // the block size of the indent in the cell; 0 for a regular indent
  int position = 0;      // 1-based position within its block; 0 for a regular indent

  bool exists() const { return partner != kNoRow; }
  bool free() const { return partner == kFree; }
  bool allocated() const { return partner != kNoRow && partner != kNotAvailable && partner != kFree; }

  static SlotContent freeCell() { return {kFree, kFree, 0, 0, 0}; }
};

// The range fields a table-mode placement writes beside the cell (`TSTARTLECT`...).
struct CellRanges {
  int firstPeriod = 0;
  int lastPeriod = 0;
  int firstDay = 0;
  int lastDay = 0;
};

// The indent in hand, read once from its parameter row (`TAPara`) and the records it refers to,
// so that the checks of every candidate cell are plain reads.
struct IndentInHand {
  store::TAPara para;
  int serial = 0;
  int cls = 0;
  int resource = 0;
  int subject = 0;
  int blockSize = 1;  // `PINCLUSOF` when 2 or more (a cluster), else 1
  bool classIsGroup = false;
  bool resourceIsGroup = false;
  std::vector<int> classMembers;            // in `TOptn` order
  std::vector<int> resourceMembers;         // in `TOptn` order
  std::vector<int> memberDayLimits;         // `TMAXLEC` of each resource member
  std::vector<int> memberContinuityLimits;  // `TMAXCON` of each resource member
  int resourceDayLimit = 0;                 // `L_PTMAXDAY`
  int continuityLimit = 0;                  // `L_PTMAXCON`
  // `L_PSOCC` and `L_PTOCC`. Memory: always set, 0 without a record. Tables: empty without one.
  std::optional<int> subjectDayLimit;
  std::optional<int> resourceClassDayLimit;
  std::string subjectBase;   // the subject's name up to "(*", for the adjacency rule
  bool noRecess = false;     // `PRECESS` "N"
  std::vector<int> days;     // `PLISTDAY`
  std::vector<int> periods;  // `PLISTLEC`
  CellRanges ranges;
  // Memory: where the class's counts of this subject and this resource start in `SUBLIM` and
  // `TCHLIM` (day d is at base + d).
  int subjectDayBase = 0;
  int resourceClassDayBase = 0;

  int basisClass() const { return classIsGroup && !classMembers.empty() ? classMembers.front() : cls; }
  bool moving() const { return para.PREARRNG == "L"; }
};

// The four switches of the institution and the cluster permission of the session.
struct PlacementRules {
  bool subjectPerDay = true;        // `ISUL_CLASS`
  bool resourcePerClassDay = true;  // `ITUL_CLASS`
  bool resourcePerDay = true;       // `ITUL_DAY`
  bool continuity = false;          // `ITSQUL`
  bool clusterPermission = false;   // off: no same subject in neighbouring periods of a regular indent
  std::vector<int> recessAfter;     // the school's `SRECESS`

  static PlacementRules of(const store::TInst& institution, const store::TSchl& school,
                           bool clusterPermission);
};

// What blocked a single indent, for the allocation assistance (table mode, diagnosis on). Cleared
// by the caller before the attempt.
struct Diagnosis {
  int NeedSubjectDay = 0;
  int NeedResourceClassDay = 0;
  int NeedResourceDay = 0;
  int NeedContinuity = 0;
  bool ResourceBusy = false;
  int ResourceBusyCount = 0;
  bool RecessBlocked = false;
  bool AdjacencyBlocked = false;
  bool LimitOnly = false;

  bool anyFinding() const {
    return NeedSubjectDay > 0 || NeedResourceClassDay > 0 || NeedResourceDay > 0 || NeedContinuity > 0 ||
           RecessBlocked || AdjacencyBlocked;
  }
};

// The block a move of the rearrangement's class pass is vacating: the checks treat it as free
// (`Chkdumy`).
struct VacatedBlock {
  int day = 0;
  int firstPeriod = 0;
  int size = 0;

  bool holds(int d, int p) const { return d == day && p >= firstPeriod && p < firstPeriod + size; }
};

// The members of a stored day or period list that lie in the grid (days 1 to 9, periods 1 to 12).
std::vector<int> listedMembers(std::string_view list, int largest);

template <class S>
concept SlotStore = requires(S& s, const IndentInHand& indent, const store::TAPara& para, int code, int day,
                             int period, int n, const SlotContent& content, const CellRanges& ranges) {
  { S::kMode } -> std::convertible_to<SlotMode>;
  // Reads.
  { s.classPartner(code, day, period) } -> std::same_as<int>;
  { s.resourcePartner(code, day, period) } -> std::same_as<int>;
  { s.classCell(code, day, period) } -> std::same_as<SlotContent>;
  { s.resourceCell(code, day, period) } -> std::same_as<SlotContent>;
  { s.subjectDayCount(indent, day) } -> std::same_as<int>;
  { s.resourceClassDayCount(indent, day) } -> std::same_as<int>;
  { s.resourceDayCount(code, day) } -> std::same_as<int>;
  { s.subjectName(code) } -> std::convertible_to<std::string_view>;
  { s.indentAllocated(code) } -> std::same_as<int>;
  { s.indent(code) } -> std::same_as<std::optional<store::TAlloc>>;
  { s.prepare(para) } -> std::same_as<IndentInHand>;
  // Writes.
  s.setClassCell(code, day, period, content, ranges);
  s.setResourceCell(code, day, period, content, ranges);
  s.addSubjectDay(indent, day, n);
  s.addResourceClassDay(indent, day, n);
  s.addResourceDay(code, day, n);
  s.addIndentAllocated(code, n);
  s.addTotals(indent, n);
};

}  // namespace tavrel::engine
