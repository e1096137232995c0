#include "core/indents/school_availability.h"

#include <algorithm>
#include <array>

#include "core/indents/bulk_state_change.h"
#include "core/indents/progress_scope.h"
#include "core/indents/timetable_undo.h"

namespace tavrel::indents {

using namespace store;

namespace {

constexpr const char* kMadePassive =
    "First, all active indents will be made passive, School availability applied and then passive indents "
    "will be "
    "revalidated before again making them active. ";
constexpr const char* kUndone = "All timetable allocations will be undone so you will need to reallocate. ";
constexpr const char* kProceed = "Ok to proceed applying School availability?";

struct SchoolSlots {
  std::array<std::array<bool, 13>, 10> open{};  // [day][period]
  int available = 0;
};

SchoolSlots schoolSlots(Store& store, int school) {
  SchoolSlots slots;
  store.table<TTtbl>().forEach(TTtbl::TIMESCHL, {school, "L", school}, [&](const TTtbl& row) {
    if (row.TDAY < 1 || row.TDAY > 9 || row.TLECTNO < 1 || row.TLECTNO > 12 || row.TSUBJECT == 0) return;
    slots.open[static_cast<std::size_t>(row.TDAY)][static_cast<std::size_t>(row.TLECTNO)] = true;
    ++slots.available;
  });
  return slots;
}

void applyToOwner(Session& session, OwnerKind kind, int code, const SchoolSlots& slots) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const bool isClass = kind == OwnerKind::Class;
  for (TTtbl row : store.table<TTtbl>().range(isClass ? TTtbl::TIMECLAS : TTtbl::TIMETEAC,
                                              {school, isClass ? "C" : "T", code})) {
    const bool open = row.TDAY >= 1 && row.TDAY <= 9 && row.TLECTNO >= 1 && row.TLECTNO <= 12 &&
                      slots.open[static_cast<std::size_t>(row.TDAY)][static_cast<std::size_t>(row.TLECTNO)];
    const int content = open ? 999 : 0;
    TTtbl applied = row;
    (isClass ? applied.TTEACHER : applied.TCLASS) = content;
    applied.TSUBJECT = content;
    applied.TCLUSTOT = 0;
    applied.TCLUSLECNO = 0;
    applied.TSERIAL = 0;
    if (!(applied == row)) store.table<TTtbl>().update(applied);
  }
  if (isClass) {
    if (auto cls = store.table<TClas>().find(TClas::CLASCODE, {school, code})) {
      cls->CLSTOTLEC = slots.available;
      store.table<TClas>().update(*cls);
    }
    return;
  }
  if (auto resource = store.table<TTeac>().find(TTeac::TEACCODE, {school, code})) {
    const int periods = schoolWeek(session).periods;
    resource->TCHTOTLEC = slots.available;
    resource->TMAXLECWK = std::min(resource->TMAXLECWK, slots.available);
    resource->TMAXLEC = std::min(resource->TMAXLEC, periods);
    resource->TMAXCON = std::min(resource->TMAXCON, periods);
    store.table<TTeac>().update(*resource);
  }
}

std::vector<int> ownersOf(Store& store, int school, OwnerKind kind) {
  std::vector<int> codes;
  if (kind == OwnerKind::Class) {
    for (const TClas& row : store.table<TClas>().range(TClas::primary, {school}))
      codes.push_back(row.CLSCODE);
  } else {
    for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {school}))
      codes.push_back(row.TCHCODE);
  }
  return codes;
}

// The item's cells holding a period of an indent that is not its own: the periods of its groups.
std::vector<TTtbl> groupPeriodCells(Store& store, int school, OwnerKind kind, int code) {
  const bool isClass = kind == OwnerKind::Class;
  std::vector<TTtbl> cells;
  store.table<TTtbl>().forEach(
      isClass ? TTtbl::TIMECLAS : TTtbl::TIMETEAC, {school, isClass ? "C" : "T", code},
      [&](const TTtbl& row) {
        if (row.TSUBJECT == 0 || row.TSUBJECT == 999) return;
        auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, row.TSERIAL});
        if (!indent) return;
        const int owner = isClass ? indent->ACLASS : indent->ATEACHER;
        if (owner != code) cells.push_back(row);
      });
  return cells;
}

// Each group period is released from its indent's class side, where every copy of it can be
// found: the group class's cell, its members' cells (this item among them when it is a class), the
// resource's cell and its members' cells (this item among them when it is a resource).
void releaseGroupPeriods(Session& session, OwnerKind kind, int code) {
  Store& store = session.store();
  const int school = session.schoolCode();
  Transaction tx(store);
  for (const TTtbl& cell : groupPeriodCells(store, school, kind, code)) {
    auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, cell.TSERIAL});
    if (!indent) continue;
    const Owner owner{OwnerKind::Class, indent->ACLASS};
    const Cell at{cell.TDAY, cell.TLECTNO};
    TTRecIProc(session, ReleaseMode::Erase, owner, indent->ASERIALNO, at);
    const int freed = TTRecInit(session, owner, indent->ASERIALNO, CountAs::Own, at);
    TTOptnInit(session, owner, indent->ASERIALNO, at);
    TAlloc released = *store.table<TAlloc>().find(TAlloc::primary, {school, cell.TSERIAL});
    released.ANOLECALL = std::max(0, released.ANOLECALL - freed);
    store.table<TAlloc>().update(released);
  }
  tx.commit();
}

std::string question(bool activeIndents, bool allocations) {
  std::string text;
  if (activeIndents) text += kMadePassive;
  if (activeIndents || allocations) text += kUndone;
  return text + kProceed;
}

}  // namespace

void ApplyAvail(Session& session, Progress& progress, OwnerKind kind) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const SchoolSlots slots = schoolSlots(store, school);
  const std::vector<int> owners = ownersOf(store, school, kind);
  ProgressScope shown(progress, "Applying School Availability...", static_cast<int>(owners.size()));
  shown->text(kind == OwnerKind::Class ? "Applying School availability to Classes..."
                                       : "Applying School availability to Resources...");
  Transaction tx(store);
  for (int code : owners) {
    applyToOwner(session, kind, code, slots);
    shown->step();
  }
  tx.commit();
  session.flush(kind == OwnerKind::Class ? kFlushClasses : kFlushResources);
  session.flush(kFlushTimetable);
}

bool ApplyAvailProc(Session& session, Progress& progress, AvailabilityTarget target) {
  const bool active = !indentsInScope(session, IndentScope::school(), "Y").empty();
  if (!session.prompter().ask(MessageKind::Warning, question(active, active))) return false;
  ZapTTProc(session, progress);
  if (active) {
    MakePassive1Click(session, progress, IndentScope::school(), PassiveMode::MakePassive,
                      BulkCaller::ApplyAvailability);
  }
  if (target != AvailabilityTarget::Resources) ApplyAvail(session, progress, OwnerKind::Class);
  if (target != AvailabilityTarget::Classes) ApplyAvail(session, progress, OwnerKind::Resource);
  if (!indentsInScope(session, IndentScope::school(), "N").empty()) {
    MakeActive1Click(session, progress, IndentScope::school(), BulkCaller::ApplyAvailability);
  }
  return true;
}

bool applySchoolAvailabilityToItem(Session& session, Progress& progress, OwnerKind kind, int code) {
  Store& store = session.store();
  const IndentScope scope =
      kind == OwnerKind::Class ? IndentScope::ofClass(code) : IndentScope::ofResource(code);
  const bool active = !indentsInScope(session, scope, "Y").empty();
  // A member's cells can hold periods of its groups although it has no active indent of its own:
  // those are undone too, and the person is told so.
  const bool groupPeriods = !groupPeriodCells(store, session.schoolCode(), kind, code).empty();
  if (!session.prompter().ask(MessageKind::Warning, question(active, groupPeriods))) return false;
  undoItemAllocations(session, scope, BulkCaller::ApplyAvailability);
  releaseGroupPeriods(session, kind, code);
  if (active)
    MakePassive1Click(session, progress, scope, PassiveMode::MakePassive, BulkCaller::ApplyAvailability);
  {
    ProgressScope shown(progress, "Applying School Availability...", 1);
    Transaction tx(store);
    applyToOwner(session, kind, code, schoolSlots(store, session.schoolCode()));
    tx.commit();
    shown->step();
  }
  session.flush(kind == OwnerKind::Class ? kFlushClasses : kFlushResources);
  session.flush(kFlushTimetable);
  if (!indentsInScope(session, scope, "N").empty()) {
    MakeActive1Click(session, progress, scope, BulkCaller::ApplyAvailability);
  }
  session.prompter().info("School Availability applied.");
  return true;
}

}  // namespace tavrel::indents
