#include "core/grid/cell_search.h"

#include <algorithm>
#include <functional>
#include <map>

namespace tavrel::grid {

namespace {

Highlight lightWhere(const TimetableGrid& grid, std::optional<LabelLine> line,
                     const std::function<bool(const GridCell&)>& matches) {
  Highlight highlight;
  highlight.line = line;
  for (const GridCell& cell : grid.cells()) {
    if (!cell.live || !matches(cell)) continue;
    highlight.cells[static_cast<std::size_t>(cellIndex(cell.day, cell.period))] = true;
    ++highlight.count;
  }
  return highlight;
}

std::vector<ListedItem> listed(const TimetableGrid& grid, int GridCell::*code, std::string GridCell::*name) {
  std::map<int, std::string> found;
  for (const GridCell& cell : grid.cells()) {
    if (cell.live && cell.state == CellState::Allocated) found.emplace(cell.*code, cell.*name);
  }
  std::vector<ListedItem> items;
  for (const auto& [itemCode, itemName] : found) items.push_back({itemCode, itemName});
  std::stable_sort(items.begin(), items.end(),
                   [](const ListedItem& a, const ListedItem& b) { return a.name < b.name; });
  return items;
}

}  // namespace

std::string foundText(int count) {
  return "    " + std::to_string(count) + " Found";
}

// Matching by what the label means rather than by its text keeps a subject that happens to be
// called "Available" or "N.A." from lighting up free or unavailable cells, and the reverse.
Highlight showSelected(const TimetableGrid& grid, LabelPosition selected) {
  const GridCell& chosen = grid.at(selected.day, selected.period);
  if (!chosen.live || chosen.state == CellState::Missing) {
    return lightWhere(grid, selected.line, [](const GridCell&) { return false; });
  }
  if (chosen.state != CellState::Allocated) {
    return lightWhere(grid, selected.line, [&](const GridCell& cell) { return cell.state == chosen.state; });
  }
  const bool upper = selected.line == LabelLine::Upper;
  return lightWhere(grid, selected.line, [&](const GridCell& cell) {
    return cell.state == CellState::Allocated &&
           (upper ? cell.subject == chosen.subject : cell.partner == chosen.partner);
  });
}

Highlight showFree(const TimetableGrid& grid) {
  return lightWhere(grid, std::nullopt, [](const GridCell& cell) { return cell.state == CellState::Free; });
}

Highlight showNotAvailable(const TimetableGrid& grid) {
  return lightWhere(grid, std::nullopt,
                    [](const GridCell& cell) { return cell.state == CellState::NotAvailable; });
}

Highlight showPartner(const TimetableGrid& grid, int partnerCode) {
  return lightWhere(grid, LabelLine::Lower, [&](const GridCell& cell) {
    return cell.state == CellState::Allocated && cell.partner == partnerCode;
  });
}

Highlight showSubject(const TimetableGrid& grid, int subjectCode) {
  return lightWhere(grid, LabelLine::Upper, [&](const GridCell& cell) {
    return cell.state == CellState::Allocated && cell.subject == subjectCode;
  });
}

Highlight showSerial(const TimetableGrid& grid, int serial) {
  return lightWhere(grid, std::nullopt, [&](const GridCell& cell) {
    return cell.state == CellState::Allocated && cell.serial == serial;
  });
}

std::vector<ListedItem> partnersInGrid(const TimetableGrid& grid) {
  return listed(grid, &GridCell::partner, &GridCell::lower);
}

std::vector<ListedItem> subjectsInGrid(const TimetableGrid& grid) {
  return listed(grid, &GridCell::subject, &GridCell::upper);
}

std::string showPartnerCaption(GridKind kind) {
  return kind == GridKind::Class ? "Show Resource" : "Show Class";
}

}  // namespace tavrel::grid
