// The audit: one judge of a school's timetable, whoever made it ("Allocate All", "Allocate
// Select", a single indent, the grid, a proxy run). It reads the tables only and lists every
// broken hard rule in plain words:
//
//   DoubleBooking       a class, a resource or a member of a group is in two places at once
//   MirrorMismatch      an allocated period is missing from, or disagrees with, another timetable
//                       that must hold it (the class's, the resource's, a group member's)
//   NotAvailable        a period lies where the school is not available or outside its week
//   Constraint          a period lies outside its indent's day or period list
//   ClusterBlock        a cluster block that is broken, incomplete or of the wrong size
//   Recess              a cluster block that may not span a recess does
//   OverAllocated       an indent holds more periods than it asks for
//   SubjectPerDay       per-day limit of a subject for a class        (when the switch is on)
//   ResourcePerClassDay per-day limit of a resource for a class       (when the switch is on)
//   ResourcePerDay      per-day limit of a resource                   (when the switch is on)
//   Continuity          sequence continuity limit of a resource       (when the switch is on)
//   StrayCell           an allocated cell that no indent accounts for
//   Counter             `ANOLECALL` or any other counter differs from what the timetable says
//
// The limits are judged with the switches of the run that made the timetable; by default those of
// the institution record. Every engine test ends with this audit, and `tavrel-cli check` prints it.
#pragma once

#include <string>
#include <vector>

#include "core/store/store.h"

namespace tavrel::engine {

enum class AuditRule {
  DoubleBooking,
  MirrorMismatch,
  NotAvailable,
  Constraint,
  ClusterBlock,
  Recess,
  OverAllocated,
  SubjectPerDay,
  ResourcePerClassDay,
  ResourcePerDay,
  Continuity,
  StrayCell,
  Counter,
};

struct Violation {
  AuditRule rule;
  std::string text;
};

// Which limits were in force: `ISUL_CLASS`, `ITUL_CLASS`, `ITUL_DAY` and `ITSQUL`.
struct AuditSwitches {
  bool subjectPerDay = true;
  bool resourcePerClassDay = true;
  bool resourcePerDay = true;
  bool continuity = false;

  static AuditSwitches of(const store::TInst& institution);
};

struct AuditReport {
  std::vector<Violation> violations;

  bool passed() const { return violations.empty(); }
  int count(AuditRule rule) const;
  std::vector<std::string> texts() const;
};

// `check`: the school's timetable against every hard rule, with the institution's switches.
AuditReport check(store::Store& store, int school);
AuditReport check(store::Store& store, int school, const AuditSwitches& switches);

}  // namespace tavrel::engine
