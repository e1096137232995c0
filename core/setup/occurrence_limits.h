// Per-day occurrence limits of a class for a subject or a resource, as the occurrence window
// edits and finds them. The rows themselves are made by activation and go with their items.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/per_day_limits.h"
#include "core/store/session.h"

namespace tavrel::setup {

// Stores an edited "Maximum Occurence". A value below what the class's active indents need is
// reported (`MinMsg`) and the minimum stored instead; the stored value is returned.
int editOccurrenceLimit(store::Session& session, store::LimitKind kind, int classCode, int itemCode,
                        int value);

// The names the list select offers: classes (search index "Class") or subjects / resources that
// have at least one limit row of the kind in the school.
struct NamedCode {
  int code;
  std::string name;
};
std::vector<NamedCode> classesWithLimits(store::Store& store, int school, store::LimitKind kind);
std::vector<NamedCode> itemsWithLimits(store::Store& store, int school, store::LimitKind kind);

// The first limit row of a class, or of a subject / resource, in the window's order; a search
// that finds none shows "No record found." (class) or "No records." (subject, resource).
struct LimitRow {
  int classCode;
  int itemCode;
  int value;
};
std::optional<LimitRow> findClassLimit(store::Session& session, store::LimitKind kind, int classCode);
std::optional<LimitRow> findItemLimit(store::Session& session, store::LimitKind kind, int itemCode);

// The ellipsis buttons of the name columns only explain that names are not edited here.
inline constexpr const char* kOnlyMaximumEditable =
    "Cannot edit this. Only \"Maximum Occurence\" can be changed.";

}  // namespace tavrel::setup
