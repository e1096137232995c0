#include "core/grid/timetable_grid.h"

#include <algorithm>

#include "core/store/lookups.h"

namespace tavrel::grid {

using namespace store;

CellState cellState(int tsubject) {
  if (tsubject == 0) return CellState::NotAvailable;
  if (tsubject == 999) return CellState::Free;
  return CellState::Allocated;
}

TimetableGrid TimetableGrid::read(Store& store, const TSchl& school, GridOwner owner) {
  TimetableGrid grid;
  grid.owner_ = owner;
  grid.school_ = school.SCHOOLCODE;
  grid.shape_ = weekShape(school.SWRKDAYS, owner.kind);
  for (int day = 1; day <= kDays; ++day) {
    for (int period = 1; period <= kPeriods; ++period) {
      GridCell& cell = grid.cells_[static_cast<std::size_t>(cellIndex(day, period))];
      cell.day = day;
      cell.period = period;
      cell.live = grid.shape_.live(day, period);
    }
  }
  const std::string type(1, rowType(owner.kind));
  store.table<TTtbl>().forEach(TTtbl::TIMESCHL, {school.SCHOOLCODE, type, owner.code}, [&](const TTtbl& row) {
    if (row.TDAY < 1 || row.TDAY > kDays || row.TLECTNO < 1 || row.TLECTNO > kPeriods) return;
    GridCell& cell = grid.cells_[static_cast<std::size_t>(cellIndex(row.TDAY, row.TLECTNO))];
    cell.state = cellState(row.TSUBJECT);
    if (cell.state == CellState::Allocated) {
      cell.subject = row.TSUBJECT;
      cell.partner = owner.kind == GridKind::Class ? row.TTEACHER : row.TCLASS;
      cell.serial = row.TSERIAL;
      cell.clusterTotal = row.TCLUSTOT;
      cell.clusterPosition = row.TCLUSLECNO;
    }
  });
  for (GridCell& cell : grid.cells_) {
    if (!cell.live) continue;
    switch (cell.state) {
      case CellState::Free:
        cell.upper = cell.lower = kAvailableLabel;
        break;
      case CellState::NotAvailable:
        cell.upper = cell.lower = kNotAvailableLabel;
        break;
      case CellState::Allocated:
        cell.upper = subjectName(store, cell.subject);
        cell.lower = owner.kind == GridKind::Class ? resourceName(store, grid.school_, cell.partner)
                                                   : className(store, grid.school_, cell.partner);
        break;
      case CellState::Missing:
        break;
    }
  }
  return grid;
}

bool TimetableGrid::holdsAllocation() const {
  return std::any_of(cells_.begin(), cells_.end(),
                     [](const GridCell& cell) { return cell.state == CellState::Allocated; });
}

}  // namespace tavrel::grid
