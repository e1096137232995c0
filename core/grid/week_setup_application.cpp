#include "core/grid/week_setup_application.h"

#include <algorithm>
#include <string>

#include "core/grid/part_time.h"
#include "core/store/week_frame.h"

namespace tavrel::grid {

using namespace store;

bool weekSetupEnabled(const TimetableGrid& grid) {
  return !grid.holdsAllocation();
}

setup::WeekSetupForm weekSetupForm(const TSchl& school, GridOwner owner) {
  return setup::WeekSetupForm(rowType(owner.kind), school.SWRKDAYS);
}

WeekSetupApplied applyWeekSetup(Session& session, GridOwner owner, const setup::WeekSetupResult& pattern) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const auto available = setup::availableCells(pattern);
  WeekSetupApplied applied;
  int availableCount = 0;

  Transaction tx(store);
  auto& cells = store.table<TTtbl>();
  for (TTtbl row : cells.range(TTtbl::TIMESCHL, {school, std::string(1, rowType(owner.kind)), owner.code})) {
    if (row.TDAY < 1 || row.TDAY > 9 || row.TLECTNO < 1 || row.TLECTNO > 12) continue;
    const bool wanted =
        available[static_cast<std::size_t>(row.TDAY - 1)][static_cast<std::size_t>(row.TLECTNO - 1)];
    const bool isFree = row.TSUBJECT == 999;
    const bool isNotAvailable = row.TSUBJECT == 0;
    if ((wanted && isNotAvailable) || (!wanted && isFree)) {
      const int content = wanted ? 999 : 0;
      row.TSUBJECT = content;
      if (owner.kind != GridKind::Resource) row.TTEACHER = content;
      if (owner.kind != GridKind::Class) row.TCLASS = content;
      cells.update(row);
      ++(wanted ? applied.madeAvailable : applied.madeNotAvailable);
    }
    if (row.TSUBJECT != 0) ++availableCount;
  }
  // Counting the cells rather than stepping the old total also mends a total that had drifted.
  setAvailabilityTotal(store, school, owner, availableCount);

  // Decided from all the resource's cells: a cell that was not available before the pattern and
  // stays so keeps the resource part time just as much as one the pattern turns off.
  if (owner.kind == GridKind::Resource) {
    setPartTime(store, school, owner.code, notAvailableWhereSchoolIs(store, school, owner.code));
  }

  if (owner.kind == GridKind::School) {
    if (auto record = store.table<TSchl>().find(TSchl::SCLCODE, {school})) {
      const int largest = *std::max_element(pattern.counts.begin(), pattern.counts.end());
      const int periods = pattern.direction == setup::Direction::TopDown ? std::clamp(largest, 0, 12) : 12;
      record->SWRKDAYS = daysInCycle(record->SWRKDAYS) * 100 + periods;
      store.table<TSchl>().update(*record);
    }
  }
  tx.commit();
  session.flush(kFlushTimetable);
  session.flush(ownerFlushCode(owner.kind));
  return applied;
}

}  // namespace tavrel::grid
