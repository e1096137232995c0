// The lists the proxy window offers: the absent items ("Proxy For:"), the subjects and partners a
// filter picks from, and the candidate substitutes ("Proxy By"). Every list is in name order.
#pragma once

#include <optional>
#include <vector>

#include "core/proxy/proxy_item.h"

namespace tavrel::proxy {

inline constexpr const char* kNothingToPick = "No items in the list.";

// For Proxy every resource with `TALLOCLEC` above 0 (every class with `CLSTOTALL` above 0); for Undo
// Proxy every item that is the absent item of a proxy record whose proxy indent still exists.
std::vector<Item> absentItems(store::Store& store, int school, Operation operation, ItemKind kind);

// What the filters pick from: the subjects, or the partners (classes of a resource, resources of
// a class), of the item's active indents.
std::vector<Item> subjectsOfActiveIndents(store::Store& store, int school, ItemKind kind, int item);
std::vector<Item> partnersOfActiveIndents(store::Store& store, int school, ItemKind kind, int item);

// A pick list as the filters show it: "No items in the list." when it is empty.
std::optional<std::vector<Item>> offerPickList(store::Session& session, std::vector<Item> items);

enum class CandidateFilter { All, Partner, Subject };  // "&Alll", "&Class"/"&Resource", "&Subject"

// The candidate substitutes: every item of the kind but the absent one ("&Alll"), or those with an
// active indent with the picked partner or of the picked subject.
std::vector<Item> candidates(store::Store& store, int school, ItemKind kind, int absent,
                             CandidateFilter filter, int picked = 0);

// Whether the item has an active indent of the subject (the same-subject option).
bool engagesSubject(store::Store& store, int school, ItemKind kind, int item, int subject);

}  // namespace tavrel::proxy
