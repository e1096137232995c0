#include "core/grid/label_selection.h"

namespace tavrel::grid {

int selectedCellNumber(LabelPosition label) {
  return cellIndex(label.day, label.period) + 1 + (label.line == LabelLine::Lower ? kCells : 0);
}

std::optional<LabelPosition> labelAt(int selectedCell) {
  if (selectedCell < 1 || selectedCell > 2 * kCells) return std::nullopt;
  const LabelLine line = selectedCell > kCells ? LabelLine::Lower : LabelLine::Upper;
  const int index = (selectedCell - 1) % kCells;
  return LabelPosition{index / kPeriods + 1, index % kPeriods + 1, line};
}

const std::string& labelText(const TimetableGrid& grid, LabelPosition label) {
  const GridCell& cell = grid.at(label.day, label.period);
  return label.line == LabelLine::Upper ? cell.upper : cell.lower;
}

NamedItem namedItem(const TimetableGrid& grid, LabelPosition label) {
  const GridCell& cell = grid.at(label.day, label.period);
  if (!cell.live || cell.state != CellState::Allocated) return {};
  if (label.line == LabelLine::Upper) return {NamedKind::Subject, cell.subject, cell.upper};
  const NamedKind partner = grid.owner().kind == GridKind::Class ? NamedKind::Resource : NamedKind::Class;
  return {partner, cell.partner, cell.lower};
}

std::string editCaption(const NamedItem& item) {
  return item.kind == NamedKind::None ? "E&dit Main" : "&Edit " + item.name;
}

std::string statisticsCaption(const NamedItem& item) {
  return item.kind == NamedKind::None ? "S&tatistics Main" : item.name + " &Statistics";
}

ContextMenu contextMenu(const TimetableGrid& grid, LabelPosition label) {
  const std::string& text = labelText(grid, label);
  return {"&Edit " + text, "Show &Periods " + text, "&Statistics " + text,
          namedItem(grid, label).kind != NamedKind::None};
}

}  // namespace tavrel::grid
