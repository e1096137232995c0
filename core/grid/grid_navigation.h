// Moving the grid to another owner and asking the main window for another window. The navigator
// steps through the class or resource list as the main lists filter it; while their status choice
// is "Passive Present" it stops only at items with a passive indent (`CNext`, `TNext`). A view
// command leaves a pending-window code in the session, and the window then closes.
#pragma once

#include <optional>
#include <string>

#include "core/grid/grid_owner.h"
#include "core/grid/timetable_grid.h"
#include "core/store/session.h"

namespace tavrel::grid {

// The navigator exists in the class and resource grids; stepping gives the new current owner. A
// step that finds no further item with a passive indent stays on the item the grid shows.
bool navigatorEnabled(GridKind kind);
std::optional<GridOwner> stepOwner(store::Session& session, GridKind kind, store::Step step);

// "List Select": the chosen class or resource becomes current. False when the list (as filtered)
// does not hold it.
bool selectOwner(store::Session& session, GridOwner owner);

// "Toggle": the class grid switches to the resource grid and back, on the current item of the
// other list; the session's view kind follows. Offered while the other list has an item.
std::string toggleCaption(GridKind kind);  // "Resource Availa&bility" / "Class Availa&bility"
bool toggleEnabled(store::Session& session, GridKind kind);
std::optional<GridOwner> toggleView(store::Session& session, GridKind kind);

enum class ViewRequest { Class, Resource, Subject, School, Institution };

// A view whose list would be empty (no class, no resource, no subject) is not offered.
bool viewRequestEnabled(store::Session& session, ViewRequest request);

// Sets the view kind and the pending-window code for the main window: "V" for the class, resource
// and subject views, "S" for the school view (which returns to the item the grid showed), "I" for
// the institution view. From an allocated cell the class or resource view opens on the cell's
// partner when the partner is of that kind; otherwise on the grid's owner. False when the view is
// not offered: nothing changes and the window stays open.
bool requestView(store::Session& session, ViewRequest request, GridOwner owner,
                 const GridCell* selectedCell = nullptr);

}  // namespace tavrel::grid
