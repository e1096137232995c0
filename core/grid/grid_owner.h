// Whose week a grid shows: a class, a resource or the school itself. Each owns 108 timetable rows
// (row kinds "C", "T" and "L") and an availability total: `CLSTOTLEC`, `TCHTOTLEC` or `STOTLEC`.
#pragma once

#include <optional>
#include <string>

#include "core/store/session.h"

namespace tavrel::grid {

enum class GridKind { Class, Resource, School };

struct GridOwner {
  GridKind kind;
  int code;  // class code, resource code, or the school's code

  bool operator==(const GridOwner&) const = default;
};

// The row kind of the owner's timetable rows, which is also the session's view kind of its grid.
char rowType(GridKind kind);
std::optional<GridKind> gridKindOfView(char viewKind);  // "C", "T" or "L"; none for another kind

// The owner the grid of the session's view kind shows: the current class, the current resource or
// the current school. None when that list is empty or the view kind has no grid.
std::optional<GridOwner> currentOwner(store::Session& session);

std::string ownerName(store::Store& store, int school, GridOwner owner);

// The number of available periods kept with the owner.
int availabilityTotal(store::Store& store, int school, GridOwner owner);
void setAvailabilityTotal(store::Store& store, int school, GridOwner owner, int total);

// The flush code of the table that keeps the owner's record.
int ownerFlushCode(GridKind kind);

}  // namespace tavrel::grid
