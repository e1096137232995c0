// Small facts about an indent and its school that every indent operation asks: what kind of indent
// it is, the school's week, the group members of a class or resource, whether an indent carries a
// proxy, and where the user-facing switches of an operation (silent or not) are kept.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/cell_release.h"
#include "core/store/per_day_limits.h"
#include "core/store/session.h"

namespace tavrel::indents {

// Silent operations show no message and ask no question; they decide as the bulk commands need.
enum class Interaction { Interactive, Silent };

// Cluster indents place their periods in runs of `AINCLUSOF` consecutive periods; a size of 0 or 1
// places them singly.
inline bool isCluster(const store::TAlloc& indent) {
  return indent.AINCLUSOF >= 2;
}
inline bool hasConstraint(const store::TAlloc& indent) {
  return indent.AQUERY != "None";
}
// `ARECESS` "N" on a regular indent: at most one of its periods a day.
inline bool isRegularOnePerDay(const store::TAlloc& indent) {
  return !isCluster(indent) && indent.ARECESS == "N";
}
inline bool isActive(const store::TAlloc& indent) {
  return indent.AACTIVE == "Y";
}

// The school's week as indents use it: a frame outside the 9 × 12 grid counts as the whole grid.
struct SchoolWeek {
  int days = 9;
  int periods = 12;
  int slots() const { return days * periods; }
};
SchoolWeek schoolWeek(const store::TSchl& school);
SchoolWeek schoolWeek(store::Session& session);

std::optional<store::TAlloc> findIndent(store::Session& session, int serial);

bool isGroup(store::Store& store, int school, store::OwnerKind kind, int code);
// The members of a group in code order; empty for an item that is not a group.
std::vector<int> groupMembers(store::Store& store, int school, store::OwnerKind kind, int group);
// The groups the item belongs to.
std::vector<int> groupsContaining(store::Store& store, int school, store::OwnerKind kind, int member);
std::string ownerName(store::Store& store, int school, store::OwnerKind kind, int code);

// A proxy indent carries the periods of an absent item; its `TProxy` row says so.
bool isProxyIndent(store::Store& store, int school, int serial);

// The timetable row of an owner at a day and period.
std::optional<store::TTtbl> slotRow(store::Store& store, int school, store::OwnerKind kind, int owner,
                                    int day, int period);
// The partner field of a row: 0 when the slot is not available.
inline int partnerOf(const store::TTtbl& row) {
  return row.TTYPE == "C" ? row.TTEACHER : row.TCLASS;
}

// The class's per-day limit of a subject (resource), or nothing when the class has no row for it.
std::optional<int> classLimit(store::Store& store, int school, store::LimitKind kind, int classCode,
                              int code);
// Stores the limit, adding the row when the class has none; the caller commits.
void setClassLimit(store::Store& store, int school, store::LimitKind kind, int classCode, int code,
                   int value);

// The active indents of an item in priority order (`ALLOCLAS` / `ALLOTEAC`).
std::vector<store::TAlloc> activeIndentsOf(store::Store& store, int school, store::OwnerKind kind, int code);

}  // namespace tavrel::indents
