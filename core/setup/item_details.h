// The details panel of the school view's chosen item: what it shows (the name, the counters and,
// for a resource, its upper limits and part time), which item commands the item's indents allow,
// and posting what was typed. The counters are shown only: they are repaired by the statistics
// diagnostic, never typed.
#pragma once

#include <optional>
#include <string>

#include "core/setup/item_grid.h"
#include "core/store/session.h"

namespace tavrel::setup {

struct ItemDetails {
  std::string name;
  // Subjects show the school link's "Indented" and "Allocated" only, 0 and 0 without a link.
  int indented = 0;
  int allocated = 0;
  // Classes and resources.
  int available = 0;
  int indentedThroughGroups = 0;
  int allocatedThroughGroups = 0;
  bool group = false;
  // Resources.
  bool partTime = false;
  int perSequence = 0;
  int perDay = 0;
  int perWeek = 0;
};

std::optional<ItemDetails> itemDetails(store::Session& session, GridKind kind, int code);

// A click on a counter box.
void refuseCounterEdit(Prompter& prompter);

// `Set_Menu`: the item commands that the item's indents allow.
struct ItemCommands {
  bool deleteActive = false;  // with "&Undo Timetable Allocations" and "Make Active Indents &Passive"
  bool deletePassive = false;  // with "Make Passive Indents &Active"
  bool deleteBoth = false;
  bool itemStatistics = false;
  bool applySchoolAvailability = false;  // classes and resources
};

ItemCommands itemCommands(store::Session& session, GridKind kind, int code);

// What the resource panel holds when it is posted; the limits as typed.
struct ResourcePanel {
  std::string name;
  bool partTime = false;
  std::string perSequence;
  std::string perDay;
  std::string perWeek;
};

// `RecPost`. A refusal shows its message and changes nothing: an empty name ("Resource name
// empty. Restoring old name."), a name another item has ("Duplicate resource name: <name>"), a
// limit outside its range (the range message; each box is also checked as it is left).
bool postResourceDetails(store::Session& session, int code, const ResourcePanel& panel);

// The subject panel: renames the subject (its name is the institution's) and gives the school a
// link to it when it has none.
bool postSubjectDetails(store::Session& session, int code, const std::string& name);

}  // namespace tavrel::setup
