// Releasing allocated timetable cells. An allocated period lives in the class row and the resource
// row of its cell, in the row of every member of a group class or group resource, and in the
// counters that counted it: the owners' allocated totals, the subject's total and the per-day
// counts. Releasing a period frees every one of those cells and takes it out of every counter.
//
// The work is split as callers need it: `TTRecIProc` releases the partner side and the counters,
// `TTRecInit` frees the owner's own cells and `TTOptnInit` the cells of the owner's group members.
// A command runs the three in that order for the same owner, serial and cell, and then sets the
// indent's allocated count (`ANOLECALL`) itself.
//
// The owner is the indent's own class or resource: the class in class view, the resource in
// resource and subject view. A member's cells are released through its group, never on their own:
// a call for an owner that is not the indent's own class (resource) changes nothing.
//
// Only cells that hold the serial are touched; a cell of another indent at the same day and period,
// a free cell and a cell that is not available stay as they are.
#pragma once

#include <optional>

#include "core/store/session.h"

namespace tavrel::store {

enum class ReleaseMode { Erase, Delete };  // "E": the indent stays; "D": it is about to be deleted
enum class CountAs { Own, Member };        // "M": the owner's own total; "O": its total through groups
enum class OwnerKind { Class, Resource };

struct Owner {
  OwnerKind kind;
  int code;
};

struct Cell {
  int day;
  int period;
};

// The owner of an indent's cells in a view: the class in class view ("C"), the resource otherwise.
Owner ownerInView(char viewKind, const TAlloc& indent);

// `TTRecIProc`: for each of the owner's cells of the serial (only `cell` when given): lowers the
// subject total, the per-day counts of the subject and the resource for the class and of the
// resource (and of each member of a group resource), frees the partner's cell with the partner's
// total and the cells of the partner's group members with their totals. In `Delete` mode the
// class's per-day limit of the resource goes too. The owner's own cells are left for `TTRecInit`.
void TTRecIProc(Session& session, ReleaseMode mode, Owner owner, int serial, std::optional<Cell> cell = {});

// `TTFldInit`: frees one allocated cell and lowers its owner's total (own or through groups).
void TTFldInit(Session& session, TTtbl& row, CountAs countAs);

// `TTRecInit`: frees the owner's cells of the serial (only `cell` when given), lowering its total.
// A cell of the owner that names the serial without being allocated loses the serial and keeps its
// availability. Returns the number of allocated cells freed.
int TTRecInit(Session& session, Owner owner, int serial, CountAs countAs, std::optional<Cell> cell = {});

// `TTOptnInit`: for a group owner, frees the serial's cells (only `cell` when given) of every
// member, lowering the members' totals through groups.
void TTOptnInit(Session& session, Owner owner, int serial, std::optional<Cell> cell = {});

}  // namespace tavrel::store
