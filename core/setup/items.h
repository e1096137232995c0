// Creating and editing classes and resources ("items"): one at a time or several from the school
// view, and through the New/Edit dialog with the group members and, for a resource, its upper
// limits and part-time status.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/ports/progress.h"
#include "core/store/session.h"
#include "core/util/result.h"

namespace tavrel::setup {

enum class ItemKind { Class, Resource };

constexpr int kMostItems = 999;

// Item codes are never reused and never 999: that value marks a free cell in the timetable, so an
// item with it could not be told from no item at all. The code after 998 is 1000.
int nextItemCode(int highestIssued);

// "CLASS" or "RESOURCE" followed by the next code; with `unique`, "+" until the school has no item
// of that name.
std::string defaultItemName(store::Store& store, int school, ItemKind kind, bool unique);

int itemCount(store::Store& store, int school, ItemKind kind);

// Makes the timetable rows of `count` new codes after the school's highest code (taking over rows
// that exist already), skipping the code 999. False when cancelled.
bool prepareItemRows(store::Session& session, Progress& progress, ItemKind kind, int count);

// A single creation from the school view: the code of the new item with its default name.
std::optional<int> createItemFromSchoolView(store::Session& session, Progress& progress, ItemKind kind);

// Multiple creation: the limit check before anything is made ("Total classes in the Class grid
// exceed ..."), then the rows of all of them in one pass.
bool startMultipleCreation(store::Session& session, Progress& progress, ItemKind kind, int count);
// The same limit check for subjects, counted over the institution.
bool checkMultipleSubjects(store::Session& session, int count);

// Renaming from the school view's name box: an empty name is refused (the old one stays) and so is
// a name another item of the school has.
bool renameItem(store::Session& session, ItemKind kind, int code, const std::string& name);

// The number dialog: a count above 0, or the message to show.
Result<int> parseItemCount(const std::string& text);
Status numberDialogKey(char key);

// The New/Edit dialog.
struct ItemForm {
  std::string name;
  std::string notes;
  bool group = false;
  std::set<int> members;  // codes of the ticked items
  // Resources only: the three upper limits as typed, and part time.
  std::string perDay;
  std::string perWeek;
  std::string sequence;
  bool partTime = false;
};

// The form of a new item (default name and institution defaults) or of an existing one.
ItemForm newItemForm(store::Store& store, int school, ItemKind kind);
std::optional<ItemForm> itemForm(store::Store& store, int school, ItemKind kind, int code);

// Items that may be members of a group: not groups themselves, not the item being edited, in name
// order. Empty: "No items available for grouping." is shown.
struct GroupCandidate {
  int code;
  std::string name;
};
std::vector<GroupCandidate> groupCandidates(store::Session& session, ItemKind kind, int editedCode);

// Checks a resource limit box as it is left; false after the range message was shown. The week
// limit is bounded by the school's week. The New/Edit dialog bounds the day and sequence limits by
// the 12 periods of the grid; the school view's details panel, where the school is known, by the
// school's periods per day.
enum class ResourceLimit { PerDay, PerWeek, Sequence };
enum class DayBound { GridPeriods, SchoolPeriods };
bool checkResourceLimit(store::Session& session, ResourceLimit limit, const std::string& text,
                        DayBound bound = DayBound::GridPeriods);

// "O&k" and "&NextNew" for a new item, "O&k" for an existing one. They return the item's code,
// or nothing after a refusal was shown; `cancelled` is set when the dialog must close with
// Cancel (the school is full).
std::optional<int> saveNewItem(store::Session& session, Progress& progress, ItemKind kind,
                               const ItemForm& form, bool& cancelled);
std::optional<int> saveEditedItem(store::Session& session, ItemKind kind, int code, const ItemForm& form);

}  // namespace tavrel::setup
