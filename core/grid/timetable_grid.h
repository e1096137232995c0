// An owner's week as the grid shows it: its 108 timetable rows read in day-then-period order, each
// live cell with its two labels. The upper label names what occupies the period, the lower one
// with whom: a free cell reads "Available" twice, a cell that is not available "N.A." twice, an
// allocated cell the subject's name over the partner's (the resource in a class grid, the class in
// a resource grid). Cells outside the week shape carry no labels.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/grid/grid_owner.h"
#include "core/grid/week_shape.h"
#include "core/store/store.h"

namespace tavrel::grid {

inline constexpr std::string_view kAvailableLabel = "Available";
inline constexpr std::string_view kNotAvailableLabel = "N.A.";

enum class CellState {
  Free,          // 999: available and free
  NotAvailable,  // 0
  Allocated,     // a subject code, with the partner and the indent
  Missing,       // the owner has no row here: commands leave the cell alone
};

struct GridCell {
  int day = 0;
  int period = 0;
  bool live = false;
  CellState state = CellState::Missing;
  int subject = 0;  // allocated cells: the subject code
  int partner = 0;  // allocated cells: the resource (class grid) or class (resource grid)
  int serial = 0;
  int clusterTotal = 0;     // `TCLUSTOT`
  int clusterPosition = 0;  // `TCLUSLECNO`
  std::string upper;
  std::string lower;
};

class TimetableGrid {
 public:
  // Reads the owner's rows of the school `school` (its `SCHOOLCODE` and `SWRKDAYS` matter).
  static TimetableGrid read(store::Store& store, const store::TSchl& school, GridOwner owner);

  GridOwner owner() const { return owner_; }
  int school() const { return school_; }
  const WeekShape& shape() const { return shape_; }
  const GridCell& at(int day, int period) const {
    return cells_[static_cast<std::size_t>(cellIndex(day, period))];
  }
  const std::array<GridCell, kCells>& cells() const { return cells_; }

  // Any allocated row at all, live or not: the week setup may only run on a grid without one.
  bool holdsAllocation() const;

 private:
  GridOwner owner_{GridKind::Class, 0};
  int school_ = 0;
  WeekShape shape_;
  std::array<GridCell, kCells> cells_;
};

// The state a timetable row's subject field stands for.
CellState cellState(int tsubject);

}  // namespace tavrel::grid
