// One grid of the school view: the classes, the resources or the subjects of the school as cells
// of three rows, one item per cell, in code order without gaps. Each cell records the item's code
// and the picture state it is drawn with. The grid shows the items that the kind's status choice
// lets through; every command of the grid (delete, delete all, list select) works on what it shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/session.h"

namespace tavrel::setup {

enum class GridKind { Class, Resource, Subject };

// The view kind of the grid's items: "C", "T" or "S".
char viewKindOf(GridKind kind);

// Picture states of a cell; a cell whose details are being edited adds kEditingMark.
enum CellState : int {
  kEmptyCell = 0,
  kSimpleItem = 1,
  kGroupItem = 2,
  kPartTimeResource = 3,
};
constexpr int kEditingMark = 10;

// A group is drawn as a group whether or not it is part time.
int classCellState(bool group);
int resourceCellState(bool group, bool partTime);

struct GridCell {
  int state = kEmptyCell;
  int code = 0;  // 0: an empty cell

  bool empty() const { return code == 0; }
};

class ItemGrid {
 public:
  static constexpr int kRows = 3;
  static constexpr int kLeastColumns = 12;

  explicit ItemGrid(GridKind kind) : kind_(kind) {}

  GridKind kind() const { return kind_; }

  // `LoadGrid`: the school's items that the kind's status choice shows, in code order. Classes
  // and resources pass the status filter, and with "Passive Present" only those with a passive
  // indent; subjects are every subject of the institution that `SNext` would visit.
  void load(store::Session& session);

  // Whether the filter box is shown: always with a status other than "All"; with "All" only when
  // the school has something to filter by (a passive indent, or an item with indented periods).
  bool filterShown() const { return filterShown_; }
  // The grid's filter as the availability window names it in its caption: the status, and the
  // basis with it when the status is measured against one and the box is shown ("Incomplete
  // w.r.t. Available").
  std::string filterText(store::Session& session) const;

  int items() const { return static_cast<int>(cells_.size()); }
  // Every item's cell plus one column to grow into, and never fewer than 12 columns.
  int columns() const;
  // Cell i lies in column i div 3 and row i mod 3; cells past the items are empty.
  GridCell cell(int index) const;
  std::optional<int> codeAt(int index) const;
  std::optional<int> indexOf(int code) const;

  // A new item takes the first empty cell; it returns that cell's index.
  int place(int code, int state);
  // After the item of the cell was deleted: every later cell moves back one.
  void closeGap(int index);

  // The cell whose details are being edited is marked, and unmarked when they are posted.
  void markEditing(int index);
  void unmark(int index);
  // "Part Time" ticked or unticked: the resource's cell is drawn again (marked if it was).
  void redrawResource(int index, bool group, bool partTime);

 private:
  GridKind kind_;
  std::vector<GridCell> cells_;
  bool filterShown_ = false;
};

}  // namespace tavrel::setup
