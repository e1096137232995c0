#include "core/store/timetable_rows.h"

#include <array>
#include <string>

namespace tavrel::store {

namespace {

constexpr int kDays = 9;
constexpr int kPeriods = 12;
constexpr int kCells = kDays * kPeriods;

// Which cells of the grid the school has available, read once for all new owners.
using Availability = std::array<bool, kCells>;

int cellIndex(int day, int period) {
  return (day - 1) * kPeriods + (period - 1);
}

Availability schoolAvailability(Table<TTtbl>& cells, int school) {
  Availability available{};
  cells.forEach(TTtbl::TIMESCHL, {school, "L", school}, [&](const TTtbl& row) {
    if (row.TDAY >= 1 && row.TDAY <= kDays && row.TLECTNO >= 1 && row.TLECTNO <= kPeriods) {
      available[static_cast<std::size_t>(cellIndex(row.TDAY, row.TLECTNO))] = row.TSUBJECT != 0;
    }
  });
  return available;
}

// A fresh cell of an owner: `content` 999 makes it free, 0 not available.
TTtbl newCell(int school, char kind, int owner, int day, int period, int content) {
  TTtbl cell;
  cell.TSCHOOL = school;
  cell.TTYPE = std::string(1, kind);
  cell.TDAY = day;
  cell.TLECTNO = period;
  cell.TSCHL = owner;
  cell.TSUBJECT = content;
  switch (kind) {
    case 'C':
      cell.TCLASS = owner;
      cell.TTEACHER = content;
      break;
    case 'T':
      cell.TTEACHER = owner;
      cell.TCLASS = content;
      break;
    default:
      cell.TCLASS = content;
      cell.TTEACHER = content;
      break;
  }
  return cell;
}

int ownerRowCount(Table<TTtbl>& cells, int school, char kind, int owner) {
  return cells.count(TTtbl::TIMESCHL, {school, std::string(1, kind), owner});
}

std::string progressText(char kind, int count) {
  switch (kind) {
    case 'C':
      return "Preparing Timetable blocks for " + std::to_string(count) + " Class...";
    case 'T':
      return "Preparing Timetable blocks for " + std::to_string(count) + " Resource...";
    default:
      return "Preparing Timetable blocks for School...";
  }
}

bool appendNewOwners(Session& session, Progress& progress, char kind, int firstCode, int count) {
  Store& store = session.store();
  auto& cells = store.table<TTtbl>();
  const int school = session.schoolCode();
  progress.show(progressText(kind, count), count * kCells);
  Transaction tx(store);
  const Availability available = schoolAvailability(cells, school);
  for (int k = 1; k <= count; ++k) {
    const int owner = kind == 'L' ? school : firstCode + k;
    if (ownerRowCount(cells, school, kind, owner) == 0) {
      for (int day = 1; day <= kDays; ++day) {
        for (int period = 1; period <= kPeriods; ++period) {
          int content = kind == 'L' || available[static_cast<std::size_t>(cellIndex(day, period))] ? 999 : 0;
          TTtbl cell = newCell(school, kind, owner, day, period, content);
          cells.insert(cell);
        }
        progress.step(kPeriods);
      }
    }
    if (progress.pump()) {
      session.cancelFlag = true;
      break;
    }
  }
  tx.commit();
  return !session.cancelFlag;
}

}  // namespace

std::string upgradeFailedMessage() {
  return "Upgrade to 9 day week cycle failed. Contact vendor  (" + std::string(kVendorAddress) + ").";
}

OwnerCompletion completeNineDayRows(Store& store, int school, char kind, int owner) {
  auto& cells = store.table<TTtbl>();
  const int rows = ownerRowCount(cells, school, kind, owner);
  switch (rows) {
    case 0:
      return {RowCompletion::NoRows, rows};
    case 54:
      return {RowCompletion::CannotComplete, rows};
    case kCells:
      return {RowCompletion::AlreadyComplete, rows};
    case 72:
      break;
    default:
      return {RowCompletion::Irregular, rows};
  }
  // 72 rows are days 1 to 6; should any of them lie on days 7 to 9 instead, the owner is left
  // exactly as it was rather than half completed.
  Transaction tx(store);
  for (int day = 7; day <= kDays; ++day) {
    for (int period = 1; period <= kPeriods; ++period) {
      TTtbl cell = newCell(school, kind, owner, day, period, 0);
      if (cells.insert(cell) != WriteStatus::Ok) return {RowCompletion::Irregular, rows};
    }
  }
  tx.commit();
  return {RowCompletion::Completed, rows};
}

bool TTAppnd(Session& session, Progress& progress, int firstCode, int count) {
  const char kind = session.viewKind;
  session.cancelFlag = false;
  auto school = session.school();
  if (!school || (kind != 'C' && kind != 'T' && kind != 'L')) return false;

  bool done = true;
  if (school->SWRKDAYS > 0) {
    done = appendNewOwners(session, progress, kind, firstCode, count);
    if (done) session.prompter().beep();
    progress.hide();
  } else {
    const int owner = kind == 'L' ? school->SCHOOLCODE : firstCode;
    RowCompletion result = completeNineDayRows(session.store(), school->SCHOOLCODE, kind, owner).result;
    if (result == RowCompletion::CannotComplete || result == RowCompletion::Irregular) {
      session.prompter().info(upgradeFailedMessage());
      session.cancelFlag = true;
      done = false;
    }
  }
  session.flush(kFlushTimetable);
  return done;
}

}  // namespace tavrel::store
