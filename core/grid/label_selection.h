// The grid's selection is one label: the upper (subject) or lower (partner) label of a cell,
// numbered 1 to 108 for the upper labels of the cells in day-then-period order and 109 to 216 for
// their lower labels. The selected label says what the Show Selected, Edit and Statistics commands
// and the cell's context menu act on.
#pragma once

#include <optional>
#include <string>

#include "core/grid/timetable_grid.h"

namespace tavrel::grid {

enum class LabelLine { Upper, Lower };

struct LabelPosition {
  int day = 1;
  int period = 1;
  LabelLine line = LabelLine::Upper;

  bool operator==(const LabelPosition&) const = default;
};

// `SelectedCell`: 1..108 the upper labels, 109..216 the lower ones; none outside that range.
int selectedCellNumber(LabelPosition label);
std::optional<LabelPosition> labelAt(int selectedCell);

// `SelectedText`: the text of the label (empty for a cell outside the week or without a row).
const std::string& labelText(const TimetableGrid& grid, LabelPosition label);

// The item a label names: the subject of an allocated cell's upper label, its partner for the
// lower one. "Available" and "N.A." labels name nothing.
enum class NamedKind { None, Subject, Class, Resource };
struct NamedItem {
  NamedKind kind = NamedKind::None;
  int code = 0;
  std::string name;
};
NamedItem namedItem(const TimetableGrid& grid, LabelPosition label);

// Toolbar captions: "&Edit <name>" and "<name> &Statistics" for a label that names an item, else
// "E&dit Main" and "S&tatistics Main", which act on the grid's owner.
std::string editCaption(const NamedItem& item);
std::string statisticsCaption(const NamedItem& item);

// The cell's context menu: "&Edit", "Show &Periods" and "&Statistics" completed with the label's
// text, all disabled for a label that names nothing.
struct ContextMenu {
  std::string edit;
  std::string showPeriods;
  std::string statistics;
  bool enabled = false;
};
ContextMenu contextMenu(const TimetableGrid& grid, LabelPosition label);

}  // namespace tavrel::grid
