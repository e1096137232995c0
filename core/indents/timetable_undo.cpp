#include "core/indents/timetable_undo.h"

#include "core/indents/allocation_undo.h"
#include "core/indents/progress_scope.h"

namespace tavrel::indents {

using namespace store;

namespace {

constexpr int kZapSteps = 5;

bool isAllocated(const TTtbl& row) {
  return row.TSUBJECT != 0 && row.TSUBJECT != 999;
}

void clearAllocatedCounts(Store& store, int school) {
  for (TAlloc indent : store.table<TAlloc>().range(TAlloc::primary, {school})) {
    if (indent.ANOLECALL == 0) continue;
    indent.ANOLECALL = 0;
    store.table<TAlloc>().update(indent);
  }
}

}  // namespace

void deleteDayCounts(Store& store, int school) {
  store.table<TTDMAll>().removeRange(TTDMAll::primary, {school});
  store.table<TTDAll>().removeRange(TTDAll::primary, {school});
  store.table<TSDAll>().removeRange(TSDAll::primary, {school});
}

void freeAllocatedCells(Store& store, int school) {
  for (TTtbl row : store.table<TTtbl>().range(TTtbl::TIMESCHL, {school})) {
    if (!isAllocated(row) || (row.TTYPE != "C" && row.TTYPE != "T")) continue;
    (row.TTYPE == "C" ? row.TTEACHER : row.TCLASS) = 999;
    row.TSUBJECT = 999;
    row.TCLUSTOT = 0;
    row.TCLUSLECNO = 0;
    row.TSERIAL = 0;
    store.table<TTtbl>().update(row);
  }
}

void clearCounters(Store& store, int school, ClearedCounters cleared) {
  const bool demand = cleared == ClearedCounters::AllocationsAndDemand;
  for (TClas row : store.table<TClas>().range(TClas::primary, {school})) {
    if (row.CLSTOTALL == 0 && row.CLSMLTALL == 0 && (!demand || (row.CLSREQLEC == 0 && row.CLSREQMLT == 0)))
      continue;
    row.CLSTOTALL = row.CLSMLTALL = 0;
    if (demand) row.CLSREQLEC = row.CLSREQMLT = 0;
    store.table<TClas>().update(row);
  }
  for (TTeac row : store.table<TTeac>().range(TTeac::primary, {school})) {
    if (row.TALLOCLEC == 0 && row.TCHMLTALL == 0 && (!demand || (row.TCHREQLEC == 0 && row.TCHREQMLT == 0)))
      continue;
    row.TALLOCLEC = row.TCHMLTALL = 0;
    if (demand) row.TCHREQLEC = row.TCHREQMLT = 0;
    store.table<TTeac>().update(row);
  }
  for (TSctl row : store.table<TSctl>().range(TSctl::primary, {school})) {
    if (row.SCTTOTALL == 0 && (!demand || row.SCTREQLEC == 0)) continue;
    row.SCTTOTALL = 0;
    if (demand) row.SCTREQLEC = 0;
    store.table<TSctl>().update(row);
  }
}

void InitProxy(Store& store, int school) {
  store.table<TProxy>().removeRange(TProxy::primary, {school});
}

void ZapTTProc(Session& session, Progress& progress) {
  Store& store = session.store();
  const int school = session.schoolCode();
  ProgressScope shown(progress, "Undoing Timetable Allocations...", kZapSteps);
  Transaction tx(store);
  deleteDayCounts(store, school);
  shown->step();
  clearAllocatedCounts(store, school);
  shown->step();
  freeAllocatedCells(store, school);
  shown->step();
  clearCounters(store, school, ClearedCounters::Allocations);
  shown->step();
  InitProxy(store, school);
  shown->step();
  tx.commit();
  for (int code : {kFlushClasses, kFlushResources, kFlushIndents, kFlushTimetable, kFlushSubjectDays,
                   kFlushResourceDays, kFlushSchoolSubjects, kFlushResourceDayTotals, kFlushProxies}) {
    session.flush(code);
  }
}

bool undoSchoolTimetable(Session& session, Progress& progress) {
  if (!session.prompter().ask(MessageKind::Warning, "Undoing Timetable Allocations. Ok?")) return false;
  ZapTTProc(session, progress);
  return true;
}

std::optional<int> undoItemAllocations(Session& session, const IndentScope& scope, BulkCaller caller) {
  const bool person = caller == BulkCaller::Person;
  if (person && !session.prompter().ask(MessageKind::Warning, "Ok to undo indents allocations? "))
    return std::nullopt;
  int undone = 0;
  for (const TAlloc& indent : indentsInScope(session, scope, "Y")) {
    UndoAllocation(session, indent.ASERIALNO, Interaction::Silent);
    ++undone;
  }
  if (person) session.prompter().info(std::to_string(undone) + " indents allocation undone.");
  return undone;
}

}  // namespace tavrel::indents
