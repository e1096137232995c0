// The Show commands: which live cells of the grid match, lit up, and how many, reported as
// "    <n> Found" (four leading blanks) in the panel that replaces the toolbar until "O&k".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/grid/label_selection.h"
#include "core/grid/timetable_grid.h"

namespace tavrel::grid {

struct Highlight {
  std::array<bool, kCells> cells{};
  std::optional<LabelLine> line;  // the label lit in each matching cell; none: both
  int count = 0;

  bool lit(int day, int period) const { return cells[static_cast<std::size_t>(cellIndex(day, period))]; }
};

std::string foundText(int count);

// "Show Selected": the cells whose label on the selected line means what the selected label
// means: the same subject (upper) or partner (lower) for an allocated cell, every free cell for an
// "Available" label, every cell that is not available for "N.A.". A label outside the week
// matches nothing.
Highlight showSelected(const TimetableGrid& grid, LabelPosition selected);
Highlight showFree(const TimetableGrid& grid);
Highlight showNotAvailable(const TimetableGrid& grid);
// "Show Resource" (class grid) / "Show Class" (resource grid), and "Show Subject".
Highlight showPartner(const TimetableGrid& grid, int partnerCode);
Highlight showSubject(const TimetableGrid& grid, int subjectCode);
// The indent window's request to show where an indent was placed.
Highlight showSerial(const TimetableGrid& grid, int serial);

// The drop lists of the Show Resource / Show Class and Show Subject commands: the items occurring
// in the live cells, each once, in name order. An empty list disables its command.
struct ListedItem {
  int code = 0;
  std::string name;

  bool operator==(const ListedItem&) const = default;
};
std::vector<ListedItem> partnersInGrid(const TimetableGrid& grid);
std::vector<ListedItem> subjectsInGrid(const TimetableGrid& grid);

// The hint of the partner command: "Show Resource" in a class grid, "Show Class" otherwise.
std::string showPartnerCaption(GridKind kind);

}  // namespace tavrel::grid
