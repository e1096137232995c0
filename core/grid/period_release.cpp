#include "core/grid/period_release.h"

#include <optional>
#include <string>

#include "core/store/cell_release.h"

namespace tavrel::grid {

using namespace store;

namespace {

std::optional<TTtbl> ownerRow(Store& store, int school, GridOwner owner, int day, int period) {
  return store.table<TTtbl>().find(TTtbl::TIMESCHL,
                                   {school, std::string(1, rowType(owner.kind)), owner.code, day, period});
}

bool holdsSerial(const std::optional<TTtbl>& row, int serial) {
  return row && row->TSUBJECT != 0 && row->TSUBJECT != 999 && row->TSERIAL == serial;
}

// The indent's own class (class grid) or own resource (resource grid): the release routines work
// from there and reach the group members and the partner. A cell of an indent that no longer
// exists can only be released from where it is.
Owner releasingOwner(GridOwner owner, const std::optional<TAlloc>& indent) {
  const OwnerKind side = owner.kind == GridKind::Class ? OwnerKind::Class : OwnerKind::Resource;
  if (!indent) return {side, owner.code};
  return {side, side == OwnerKind::Class ? indent->ACLASS : indent->ATEACHER};
}

}  // namespace

std::vector<int> allocationBlock(Store& store, int school, GridOwner owner, int day, int period) {
  auto row = ownerRow(store, school, owner, day, period);
  if (!row || row->TSUBJECT == 0 || row->TSUBJECT == 999) return {};
  if (row->TCLUSTOT < 2 || row->TCLUSLECNO < 1) return {period};
  const int serial = row->TSERIAL;
  // The cluster fields say where the block lies; the cells themselves say whether it is still
  // there, so a block is never taken to reach into a neighbouring lesson.
  int first = period;
  for (int p = period - 1; p >= period - (row->TCLUSLECNO - 1) && p >= 1; --p) {
    if (!holdsSerial(ownerRow(store, school, owner, day, p), serial)) break;
    first = p;
  }
  int last = period;
  for (int p = period + 1; p <= period + (row->TCLUSTOT - row->TCLUSLECNO) && p <= 12; ++p) {
    if (!holdsSerial(ownerRow(store, school, owner, day, p), serial)) break;
    last = p;
  }
  std::vector<int> block;
  for (int p = first; p <= last; ++p) block.push_back(p);
  return block;
}

bool releasePeriod(Session& session, GridOwner owner, int day, int period) {
  Store& store = session.store();
  const int school = session.schoolCode();
  if (owner.kind == GridKind::School) return false;  // the school's own rows hold no lessons
  auto row = ownerRow(store, school, owner, day, period);
  if (!row || row->TSUBJECT == 0 || row->TSUBJECT == 999) return false;
  const int serial = row->TSERIAL;

  auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, serial});
  const Owner releasing = releasingOwner(owner, indent);
  const Cell cell{day, period};

  Transaction tx(store);
  TTRecIProc(session, ReleaseMode::Erase, releasing, serial, cell);
  const int freed = TTRecInit(session, releasing, serial, CountAs::Own, cell);
  TTOptnInit(session, releasing, serial, cell);
  if (indent && freed > 0) {
    indent->ANOLECALL -= 1;
    store.table<TAlloc>().update(*indent);
  }
  tx.commit();
  return true;
}

}  // namespace tavrel::grid
