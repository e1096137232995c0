#include "core/grid/availability_change.h"

#include <optional>
#include <string>
#include <vector>

#include "core/grid/part_time.h"
#include "core/grid/period_release.h"
#include "core/grid/timetable_grid.h"
#include "core/store/week_frame.h"

namespace tavrel::grid {

using namespace store;

namespace {

constexpr int kNotAvailable = 0;
constexpr int kFree = 999;

std::optional<TTtbl> ownerRow(Store& store, int school, GridOwner owner, int day, int period) {
  return store.table<TTtbl>().find(TTtbl::TIMESCHL,
                                   {school, std::string(1, rowType(owner.kind)), owner.code, day, period});
}

// Writes a cell free (999) or not available (0): the subject and the owner's partner field, all
// three code fields in a school row. Whatever lesson fields a stray cell still carried go with it.
void writeCell(Store& store, TTtbl row, int content) {
  switch (row.TTYPE.empty() ? 'C' : row.TTYPE[0]) {
    case 'C':
      row.TTEACHER = content;
      break;
    case 'T':
      row.TCLASS = content;
      break;
    default:
      row.TCLASS = content;
      row.TTEACHER = content;
      break;
  }
  row.TSUBJECT = content;
  row.TCLUSTOT = 0;
  row.TCLUSLECNO = 0;
  row.TSERIAL = 0;
  store.table<TTtbl>().update(row);
}

// Releases the block at (day, period) and writes each of its cells with `content`. Returns the
// periods of the block.
std::vector<int> eraseBlock(Session& session, GridOwner owner, int day, int period, int content) {
  Store& store = session.store();
  const int school = session.schoolCode();
  std::vector<int> block = allocationBlock(store, school, owner, day, period);
  for (int p : block) {
    releasePeriod(session, owner, day, p);
    if (auto row = ownerRow(store, school, owner, day, p)) writeCell(store, *row, content);
  }
  return block;
}

void adjustTotal(Store& store, int school, GridOwner owner, int change) {
  if (change == 0) return;
  setAvailabilityTotal(store, school, owner, availabilityTotal(store, school, owner) + change);
}

void flushChange(Session& session, GridOwner owner, bool released) {
  session.flush(kFlushTimetable);
  session.flush(ownerFlushCode(owner.kind));
  if (released) {
    // A released lesson changed the indent and the totals of its class and resource.
    for (int code : {kFlushIndents, kFlushClasses, kFlushResources}) session.flush(code);
  }
}

bool beyondSchoolWeek(const TSchl& school, int day, int period) {
  return period > periodsPerDay(school.SWRKDAYS) || day > daysInCycle(school.SWRKDAYS);
}

}  // namespace

ChangeOutcome makeNotAvailable(Session& session, GridOwner owner, int day, int period) {
  Store& store = session.store();
  const int school = session.schoolCode();
  auto row = ownerRow(store, school, owner, day, period);
  if (!row) return ChangeOutcome::Unchanged;
  const CellState state = cellState(row->TSUBJECT);
  if (state == CellState::NotAvailable) return ChangeOutcome::Unchanged;
  if (state == CellState::Allocated && !session.prompter().ask(MessageKind::Warning, kEraseForNotAvailable)) {
    return ChangeOutcome::Declined;
  }

  Transaction tx(store);
  std::vector<int> changed;
  if (state == CellState::Free) {
    writeCell(store, *row, kNotAvailable);
    changed.push_back(period);
  } else {
    changed = eraseBlock(session, owner, day, period, kNotAvailable);
  }
  adjustTotal(store, school, owner, -static_cast<int>(changed.size()));
  if (owner.kind == GridKind::Resource) {
    for (int p : changed) {
      if (schoolAvailableAt(store, school, day, p)) setPartTime(store, school, owner.code, true);
    }
  }
  tx.commit();
  flushChange(session, owner, state == CellState::Allocated);
  return ChangeOutcome::Changed;
}

ChangeOutcome makeAvailable(Session& session, GridOwner owner, int day, int period,
                            Confirmation confirmation) {
  Store& store = session.store();
  const int school = session.schoolCode();
  auto row = ownerRow(store, school, owner, day, period);
  if (!row) return ChangeOutcome::Unchanged;
  const CellState state = cellState(row->TSUBJECT);
  if (state == CellState::Free) return ChangeOutcome::Unchanged;
  if (state == CellState::NotAvailable) {
    auto record = session.school();
    if (owner.kind != GridKind::School && record && beyondSchoolWeek(*record, day, period)) {
      session.prompter().error(kBeyondSchoolAvailability);
      return ChangeOutcome::Refused;
    }
    Transaction tx(store);
    writeCell(store, *row, kFree);
    adjustTotal(store, school, owner, +1);
    tx.commit();
    flushChange(session, owner, false);
    return ChangeOutcome::Changed;
  }

  if (confirmation == Confirmation::Ask &&
      !session.prompter().ask(MessageKind::Warning, kEraseForAvailable)) {
    return ChangeOutcome::Declined;
  }
  Transaction tx(store);
  eraseBlock(session, owner, day, period, kFree);  // an allocated cell is available: the total stays
  tx.commit();
  flushChange(session, owner, true);
  return ChangeOutcome::Changed;
}

}  // namespace tavrel::grid
