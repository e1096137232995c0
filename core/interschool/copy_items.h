// Copying classes or resources of one school into other schools: each copy is a new item of the
// destination with the same name, its own code, zero counters and its own timetable rows, whose
// availability follows either the source item or the destination school.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ports/progress.h"
#include "core/setup/items.h"
#include "core/store/session.h"

namespace tavrel::interschool {

using setup::ItemKind;

struct NamedCode {
  int code;
  std::string name;
};

// "Ok(&1)": the kind and the source school must be chosen and the school must have such items.
// The source school becomes current.
bool chooseSource(store::Session& session, std::optional<ItemKind> kind, std::optional<int> sourceSchool);

// The schools a copy may go to: every school but the source, by name.
std::vector<NamedCode> destinationChoices(store::Store& store, int sourceSchool);

// "Ok(&2)": at least one destination.
bool checkDestinations(store::Session& session, std::size_t ticked);

// The items offered: the source school's classes or resources that are not groups, by name.
std::vector<NamedCode> copyableItems(store::Store& store, int sourceSchool, ItemKind kind);

struct CopyRequest {
  ItemKind kind = ItemKind::Class;
  int sourceSchool = 0;
  std::vector<int> destinations;  // school codes, in list order
  std::vector<int> items;         // source item codes, in list order
  bool copyAvailability = true;
  bool allocatedAvailable = true;  // "Make Allocated Periods Available"; else not available
};

struct CopyOutcome {
  int copied = 0;
  int skipped = 0;
};

// "Ok(&3)": copies every ticked item into every ticked school. A name the destination already has
// is skipped with a message, and so is a destination that holds its 999 items already. Nothing
// when no item is ticked.
std::optional<CopyOutcome> copyItems(store::Session& session, Progress& progress, const CopyRequest& request);

}  // namespace tavrel::interschool
