#include "core/setup/item_deletion.h"

#include <set>
#include <string>

#include "core/setup/subjects.h"
#include "core/store/item_cascade.h"

namespace tavrel::setup {

using namespace store;

namespace {

const char* memberType(GridKind kind) {
  return kind == GridKind::Class ? "C" : "T";
}

std::optional<std::string> groupName(Store& store, int school, GridKind kind, int code) {
  if (kind == GridKind::Class) {
    if (auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code})) return row->CLSNAME;
  } else if (auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code})) {
    return row->TCHNAME;
  }
  return std::nullopt;
}

// The name of the first group the item is a member of and that is not among `going`.
std::optional<std::string> groupThatStays(Store& store, int school, GridKind kind, int code,
                                          const std::set<int>& going) {
  for (const TOptn& row : store.table<TOptn>().range(TOptn::OPSUBMAIN, {school, memberType(kind), code})) {
    if (going.count(row.OPMAINCODE)) continue;
    if (auto name = groupName(store, school, kind, row.OPMAINCODE)) return name;
  }
  return std::nullopt;
}

void removeItemRecord(Store& store, int school, GridKind kind, int code) {
  if (kind == GridKind::Class) {
    if (auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code})) store.table<TClas>().remove(*row);
  } else if (auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code})) {
    store.table<TTeac>().remove(*row);
  }
}

// A member of a group goes only together with every group it is in. A group whose member had
// gone would keep a member row naming an item that no longer exists, and every period placed for
// the group would go on claiming that item's timetable rows. So a single delete refuses any
// member, and a run over the grid lets a member go only when each of its groups is among the
// items of the same run (`going`). A member of a group that the status filter hides is refused
// as a single delete would refuse it, and stays; taking it out of its group instead would change
// the group's timetable behind the person's back.
bool deleteClassOrResource(Session& session, GridKind kind, int code, const std::set<int>& going) {
  Store& store = session.store();
  const int school = session.schoolCode();
  if (auto group = groupThatStays(store, school, kind, code, going)) {
    session.prompter().error(std::string(kind == GridKind::Class ? "Cannot delete. Class used in "
                                                                 : "Cannot delete. Resource used in ") +
                             *group + ".");
    return false;
  }
  Transaction tx(store);
  const char view = session.viewKind;
  session.viewKind = viewKindOf(kind);
  ItmDel(session, ReleaseMode::Delete, code);
  session.viewKind = view;
  store.table<TOptn>().removeRange(TOptn::primary, {school, memberType(kind), code});
  removeItemRecord(store, school, kind, code);
  tx.commit();
  return true;
}

bool deleteCell(Session& session, ItemGrid& grid, int index, const std::set<int>& going) {
  auto code = grid.codeAt(index);
  if (!code) return false;
  const bool deleted = grid.kind() == GridKind::Subject
                           ? deleteSubject(session, *code, 0)
                           : deleteClassOrResource(session, grid.kind(), *code, going);
  if (!deleted) return false;
  grid.closeGap(index);
  session.TComFill();
  session.flushList();
  session.tableNumbers.clear();
  return true;
}

const char* pluralCaption(GridKind kind) {
  switch (kind) {
    case GridKind::Class:
      return "Classes";
    case GridKind::Resource:
      return "Resources";
    case GridKind::Subject:
      return "Subjects";
  }
  return "";
}

}  // namespace

bool deleteGridItem(Session& session, ItemGrid& grid, int index) {
  return deleteCell(session, grid, index, {});
}

std::optional<DeleteAllOutcome> deleteAllGridItems(Session& session, ItemGrid& grid) {
  if (!session.prompter().ask(MessageKind::Warning,
                              std::string("Deleting All ") + pluralCaption(grid.kind()) + ". Ok?")) {
    return std::nullopt;
  }
  // Every item the grid shows goes in this run; a group among them takes its members' check along.
  std::set<int> going;
  for (int index = 0; index < grid.items(); ++index) going.insert(*grid.codeAt(index));

  // The first cell is deleted over and over; an item that is refused keeps its cell and the run
  // moves on past it, so a refused subject cannot hold the run in the first cell for ever.
  DeleteAllOutcome outcome;
  int index = 0;
  while (grid.codeAt(index)) {
    if (deleteCell(session, grid, index, going)) {
      ++outcome.deleted;
    } else {
      ++outcome.kept;
      ++index;
    }
  }
  return outcome;
}

}  // namespace tavrel::setup
