#include "core/store/cell_release.h"

#include <string>
#include <vector>

namespace tavrel::store {

namespace {

const char* rowType(OwnerKind kind) {
  return kind == OwnerKind::Class ? "C" : "T";
}

bool allocated(const TTtbl& row) {
  return row.TSUBJECT != 0 && row.TSUBJECT != 999;
}

bool holds(const std::optional<TTtbl>& row, int serial) {
  return row && allocated(*row) && row->TSERIAL == serial;
}

std::optional<TTtbl> rowAt(Store& store, int school, Owner owner, int day, int period) {
  int index = owner.kind == OwnerKind::Class ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
  return store.table<TTtbl>().find(index, {school, rowType(owner.kind), owner.code, day, period});
}

// The owner's rows that name the serial: every one, or the one at `cell`.
std::vector<TTtbl> rowsNaming(Store& store, int school, Owner owner, int serial, std::optional<Cell> cell) {
  std::vector<TTtbl> rows;
  if (cell) {
    if (auto row = rowAt(store, school, owner, cell->day, cell->period); row && row->TSERIAL == serial) {
      rows.push_back(*row);
    }
    return rows;
  }
  int index = owner.kind == OwnerKind::Class ? TTtbl::TIMECSERL : TTtbl::TIMETSERL;
  return store.table<TTtbl>().range(index, {school, rowType(owner.kind), owner.code, serial});
}

// The owner's allocated rows of the serial.
std::vector<TTtbl> rowsOfSerial(Store& store, int school, Owner owner, int serial, std::optional<Cell> cell) {
  std::vector<TTtbl> rows = rowsNaming(store, school, owner, serial, cell);
  std::erase_if(rows, [](const TTtbl& row) { return !allocated(row); });
  return rows;
}

std::vector<int> membersOf(Store& store, int school, Owner group) {
  std::vector<int> members;
  store.table<TOptn>().forEach(TOptn::primary, {school, rowType(group.kind), group.code},
                               [&](const TOptn& row) { members.push_back(row.OPSUBCODE); });
  return members;
}

bool isGroup(Store& store, int school, Owner owner) {
  if (owner.kind == OwnerKind::Class) {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, owner.code});
    return row && row->CLSOPTION == "Y";
  }
  auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, owner.code});
  return row && row->TCHOPTION == "Y";
}

// A counter record that does not exist is skipped: there is nothing it could have counted.
template <class Row, class Field>
void lowerCounter(Store& store, int index, const Key& key, Field Row::*field) {
  auto& table = store.table<Row>();
  if (auto row = table.find(index, key)) {
    (*row).*field -= 1;
    table.update(*row);
  }
}

// Releases are only made from the indent's own side (see the header). An indent that is gone
// can no longer say whose cells these are, so its cells are released from wherever they are asked.
// Serials start at 1; serial 0 is what every free cell names.
bool ownsSerial(Store& store, int school, Owner owner, int serial) {
  if (serial <= 0) return false;
  auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, serial});
  if (!indent) return true;
  return owner.kind == OwnerKind::Class ? indent->ACLASS == owner.code : indent->ATEACHER == owner.code;
}

}  // namespace

Owner ownerInView(char viewKind, const TAlloc& indent) {
  if (viewKind == 'C') return {OwnerKind::Class, indent.ACLASS};
  return {OwnerKind::Resource, indent.ATEACHER};
}

void TTFldInit(Session& session, TTtbl& row, CountAs countAs) {
  if (!allocated(row) || (row.TTYPE != "C" && row.TTYPE != "T")) return;
  Store& store = session.store();
  const int school = session.schoolCode();
  Transaction tx(store);
  if (row.TTYPE == "C") {
    row.TTEACHER = 999;
    auto field = countAs == CountAs::Own ? &TClas::CLSTOTALL : &TClas::CLSMLTALL;
    lowerCounter(store, TClas::CLASCODE, {school, row.TCLASS}, field);
  } else {
    row.TCLASS = 999;
    auto field = countAs == CountAs::Own ? &TTeac::TALLOCLEC : &TTeac::TCHMLTALL;
    lowerCounter(store, TTeac::TEACCODE, {school, row.TTEACHER}, field);
  }
  row.TSUBJECT = 999;
  row.TCLUSTOT = 0;
  row.TCLUSLECNO = 0;
  row.TSERIAL = 0;
  store.table<TTtbl>().update(row);
  tx.commit();
}

void TTRecIProc(Session& session, ReleaseMode mode, Owner owner, int serial, std::optional<Cell> cell) {
  Store& store = session.store();
  const int school = session.schoolCode();
  if (!ownsSerial(store, school, owner, serial)) return;
  Transaction tx(store);
  for (const TTtbl& row : rowsOfSerial(store, school, owner, serial, cell)) {
    const int cls = row.TCLASS;
    const int resource = row.TTEACHER;
    const int subject = row.TSUBJECT;
    const int day = row.TDAY;
    const int period = row.TLECTNO;
    lowerCounter(store, TSctl::primary, {school, subject}, &TSctl::SCTTOTALL);
    lowerCounter(store, TSDAll::primary, {school, cls, subject, day}, &TSDAll::SDALLOC);
    lowerCounter(store, TTDMAll::primary, {school, resource, day}, &TTDMAll::TDAALLOC);
    lowerCounter(store, TTDAll::primary, {school, cls, resource, day}, &TTDAll::TDALLOC);
    // The members of a group resource count the period in their own day totals as well; their
    // cells still hold it at this point, whichever side is releasing.
    for (int member : membersOf(store, school, {OwnerKind::Resource, resource})) {
      if (holds(rowAt(store, school, {OwnerKind::Resource, member}, day, period), serial)) {
        lowerCounter(store, TTDMAll::primary, {school, member, day}, &TTDMAll::TDAALLOC);
      }
    }
    if (mode == ReleaseMode::Delete) {
      store.table<TTOcc>().removeRange(TTOcc::primary, {school, cls, resource});
    }

    const Owner partner =
        owner.kind == OwnerKind::Class ? Owner{OwnerKind::Resource, resource} : Owner{OwnerKind::Class, cls};
    if (auto mirror = rowAt(store, school, partner, day, period); holds(mirror, serial)) {
      TTFldInit(session, *mirror, CountAs::Own);
    }
    for (int member : membersOf(store, school, partner)) {
      if (auto memberRow = rowAt(store, school, {partner.kind, member}, day, period);
          holds(memberRow, serial)) {
        TTFldInit(session, *memberRow, CountAs::Member);
      }
    }
  }
  tx.commit();
}

int TTRecInit(Session& session, Owner owner, int serial, CountAs countAs, std::optional<Cell> cell) {
  Store& store = session.store();
  const int school = session.schoolCode();
  if (serial <= 0 || (countAs == CountAs::Own && !ownsSerial(store, school, owner, serial))) return 0;
  Transaction tx(store);
  int freed = 0;
  for (TTtbl& row : rowsNaming(store, school, owner, serial, cell)) {
    if (allocated(row)) {
      TTFldInit(session, row, countAs);
      ++freed;
    } else {
      // A cell made not available (or free) without its period being released still names the
      // serial. Nothing counts it; it only loses the serial and stays as available as it is.
      row.TSERIAL = 0;
      row.TCLUSTOT = 0;
      row.TCLUSLECNO = 0;
      store.table<TTtbl>().update(row);
    }
  }
  tx.commit();
  return freed;
}

void TTOptnInit(Session& session, Owner owner, int serial, std::optional<Cell> cell) {
  Store& store = session.store();
  const int school = session.schoolCode();
  if (!ownsSerial(store, school, owner, serial) || !isGroup(store, school, owner)) return;
  Transaction tx(store);
  for (int member : membersOf(store, school, owner)) {
    TTRecInit(session, {owner.kind, member}, serial, CountAs::Member, cell);
  }
  tx.commit();
}

}  // namespace tavrel::store
