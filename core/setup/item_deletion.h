// Deleting items from the school view: the chosen item ("&Delete Item", asked nothing), or every
// item its grid shows ("Delete A&ll", after one question). A class or resource goes with its
// active indents and all they hold (`ItmDel`), its member list and the proxies made for it; a
// subject goes from the whole institution with its links. Passive indents naming the item and
// its timetable rows stay. The grid closes the gap of every deleted item.
#pragma once

#include <optional>

#include "core/setup/item_grid.h"
#include "core/store/session.h"

namespace tavrel::setup {

// "&Delete Item" on the grid's cell `index`. Refused with a message, changing nothing, for a
// member of a group ("Cannot delete. Class used in <group>.") and for a subject indented in any
// school. False when refused or when the cell is empty.
bool deleteGridItem(store::Session& session, ItemGrid& grid, int index);

struct DeleteAllOutcome {
  int deleted = 0;
  int kept = 0;  // refused, and left in the grid
};

// "Delete A&ll": asks "Deleting All Classes. Ok?" (Resources, Subjects) and deletes every item the
// grid shows, from the first cell on. Nothing on No.
std::optional<DeleteAllOutcome> deleteAllGridItems(store::Session& session, ItemGrid& grid);

}  // namespace tavrel::setup
