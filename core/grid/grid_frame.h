// The grid window's frame: its caption, its size and place from the school's week, and the notice
// that a short week cuts the toolbar off.
#pragma once

#include <string>
#include <string_view>

#include "core/grid/grid_owner.h"
#include "core/store/session.h"

namespace tavrel::grid {

inline constexpr std::string_view kToolbarTruncated =
    "Availability window toolbar will appear truncated since number of days in the School setup are less "
    "than "
    "6. You may press F2 key in the window to avail menu selection.";

// The filter text of a list: its status caption, followed by the basis caption when the status is
// "Allocated" or "Incomplete".
std::string listFilterText(const store::ListChoice& choice);

// School name + " - Class Availability/Timetable (<class filter text>)", " - Resource
// Availability/Timetable (<resource filter text>)" or " - School Availability".
std::string gridCaption(store::Session& session, GridKind kind);

struct WindowGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const WindowGeometry&) const = default;
};

// 101 per day + 38 wide, 40 per period + 84 high, at 480 − 50 × days, 342 − 20 × periods; the
// school's grid is always 950 × 567, placed where a full week's would be.
WindowGeometry gridWindowGeometry(int swrkdays, GridKind kind);

// The notice is due when a week of fewer than 6 days gives the window another width than it had.
bool toolbarNoticeDue(int swrkdays, GridKind kind, int previousWidth);

}  // namespace tavrel::grid
