#include "core/proxy/cell_table.h"

#include <algorithm>

#include "core/indents/indent_facts.h"
#include "core/proxy/proxy_records.h"
#include "core/store/encoded_lists.h"

namespace tavrel::proxy {

using namespace store;

namespace {

bool inGrid(const TTtbl& row) {
  return row.TDAY >= 1 && row.TDAY <= 9 && row.TLECTNO >= 1 && row.TLECTNO <= 12;
}

bool allocated(const TTtbl& row) {
  return row.TSUBJECT != 0 && row.TSUBJECT != 999;
}

std::vector<TTtbl> rowsOf(Store& store, int school, ItemKind kind, int code) {
  const int index = kind == ItemKind::Class ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
  return store.table<TTtbl>().range(index, {school, std::string(1, viewKindOf(kind)), code});
}

bool listed(const std::optional<std::string>& list, int member) {
  if (!list) return true;
  const std::vector<int> members = listMembers(*list);
  return std::find(members.begin(), members.end(), member) != members.end();
}

// The constraint and the period filter decide whether an allocated cell is to proxy or ignored.
CellState selectionState(const TTtbl& row, int partner, const CellSelection& selection) {
  if (!listed(selection.constraintDays, row.TDAY) || !listed(selection.constraintPeriods, row.TLECTNO))
    return CellState::Ignored;
  switch (selection.filter) {
    case PeriodFilterKind::All:
      return CellState::ToProxy;
    case PeriodFilterKind::Subject:
      return row.TSUBJECT == selection.picked ? CellState::ToProxy : CellState::Ignored;
    case PeriodFilterKind::Partner:
      return partner == selection.picked ? CellState::ToProxy : CellState::Ignored;
  }
  return CellState::Ignored;
}

}  // namespace

std::string groupPeriodMessage(const std::string& member, const std::string& group) {
  return member + " takes this period as a member of the group " + group + ". Proxy " + group +
         " to move it.";
}

CellTable CellTable::build(Store& store, int school, Operation operation, ItemKind kind, int item,
                           const CellSelection& selection) {
  CellTable table(operation, kind, item);
  if (operation == Operation::Proxy) {
    table.buildProxy(store, school, selection);
  } else {
    table.buildUndo(store, school, selection);
  }
  return table;
}

void CellTable::buildProxy(Store& store, int school, const CellSelection& selection) {
  for (const TTtbl& row : rowsOf(store, school, kind_, item_)) {
    if (!inGrid(row)) continue;
    ProxyCell& cell = cells_[static_cast<std::size_t>(indexOf(row.TDAY, row.TLECTNO))];
    cell = ProxyCell{};
    cell.owner = item_;
    if (!allocated(row)) {
      cell.state = row.TSUBJECT == 0 ? CellState::NotAvailable : CellState::Free;
      continue;
    }
    cell.serial = row.TSERIAL;
    cell.subject = row.TSUBJECT;
    cell.partner = indents::partnerOf(row);
    auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, row.TSERIAL});
    if (!indent) {
      cell.state = CellState::Ignored;  // a stray cell: there is no indent to move it with
      continue;
    }
    cell.priority = indent->APRIORITY;
    if (indentItem(*indent, kind_) != item_) {
      cell.group = indentItem(*indent, kind_);
      cell.state = CellState::Ignored;
      continue;
    }
    cell.state = selectionState(row, cell.partner, selection);
  }
}

void CellTable::buildUndo(Store& store, int school, const CellSelection& selection) {
  for (const TTtbl& row : rowsOf(store, school, kind_, item_)) {
    if (!inGrid(row)) continue;
    ProxyCell& cell = cells_[static_cast<std::size_t>(indexOf(row.TDAY, row.TLECTNO))];
    cell = ProxyCell{};
    cell.state = row.TSUBJECT > 0 ? CellState::Free : CellState::NotAvailable;
  }
  for (const TProxy& record : liveRecordsFor(store, school, kind_, item_)) {
    auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, record.PXBYSERIALNO});
    for (const TTtbl& row : rowsOf(store, school, kind_, record.PXBYCODE)) {
      if (!inGrid(row) || !allocated(row) || row.TSERIAL != record.PXBYSERIALNO) continue;
      ProxyCell cell;
      cell.serial = row.TSERIAL;
      cell.priority = indent->APRIORITY;
      cell.owner = record.PXBYCODE;
      cell.subject = row.TSUBJECT;
      cell.partner = indents::partnerOf(row);
      cell.date = record.PXDATE;
      cell.state = selectionState(row, cell.partner, selection);
      ProxyCell& shown = cells_[static_cast<std::size_t>(indexOf(row.TDAY, row.TLECTNO))];
      if (shown.serial == 0) {
        shown = cell;
      } else {
        stacked_.push_back({row.TDAY, row.TLECTNO, cell});
      }
    }
  }
}

std::vector<PlacedCell> CellTable::periodCells() const {
  std::vector<PlacedCell> placed;
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      const ProxyCell& cell = at(day, period);
      if (cell.state != CellState::ToProxy && cell.state != CellState::Ignored) continue;
      placed.push_back({day, period, cell});
      for (const PlacedCell& more : stacked_)
        if (more.day == day && more.period == period) placed.push_back(more);
    }
  }
  return placed;
}

int CellTable::count(CellState state) const {
  const std::vector<PlacedCell> placed = periodCells();
  return static_cast<int>(std::count_if(placed.begin(), placed.end(),
                                        [state](const PlacedCell& p) { return p.cell.state == state; }));
}

int CellTable::toProxy() const {
  return count(CellState::ToProxy);
}

int CellTable::ignored() const {
  return count(CellState::Ignored);
}

bool CellTable::toggle(Session& session, int day, int period) {
  if (day < 1 || day > 9 || period < 1 || period > 12) return false;
  ProxyCell& cell = cells_[static_cast<std::size_t>(indexOf(day, period))];
  if (cell.state != CellState::ToProxy && cell.state != CellState::Ignored) return false;
  if (cell.state == CellState::Ignored) {
    Store& store = session.store();
    const int school = session.schoolCode();
    if (cell.group != 0) {
      session.prompter().error(groupPeriodMessage(itemName(store, school, kind_, item_),
                                                  itemName(store, school, kind_, cell.group)));
      return false;
    }
    if (!store.table<TAlloc>().find(TAlloc::primary, {school, cell.serial})) return false;
  }
  cell.state = cell.state == CellState::ToProxy ? CellState::Ignored : CellState::ToProxy;
  for (PlacedCell& more : stacked_)
    if (more.day == day && more.period == period) more.cell.state = cell.state;
  return true;
}

bool CellTable::confirmSelection(Session& session) const {
  if (toProxy() > 0) return true;
  session.prompter().error(kNoPeriodsSelected);
  return false;
}

}  // namespace tavrel::proxy
