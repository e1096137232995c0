#include "core/indents/bulk_deletion.h"

#include "core/indents/bulk_state_change.h"
#include "core/indents/progress_scope.h"
#include "core/indents/timetable_undo.h"

namespace tavrel::indents {

using namespace store;

namespace {

constexpr int kDeletionSteps = 5;

// The five steps of the school-wide deletions; `onlyActive` keeps the passive indents.
void deleteSchoolIndents(Session& session, Progress& progress, const char* text, bool onlyActive) {
  Store& store = session.store();
  const int school = session.schoolCode();
  ProgressScope shown(progress, text, kDeletionSteps);
  Transaction tx(store);
  deleteDayCounts(store, school);
  shown->step();
  if (onlyActive) {
    store.table<TAlloc>().removeRange(TAlloc::ALLOFLAG, {school, "Y"});
  } else {
    store.table<TAlloc>().removeRange(TAlloc::primary, {school});
  }
  shown->step();
  freeAllocatedCells(store, school);
  shown->step();
  clearCounters(store, school, ClearedCounters::AllocationsAndDemand);
  shown->step();
  InitProxy(store, school);
  shown->step();
  tx.commit();
  for (int code : {kFlushClasses, kFlushResources, kFlushIndents, kFlushTimetable, kFlushSubjectDays,
                   kFlushResourceDays, kFlushSchoolSubjects, kFlushResourceDayTotals, kFlushProxies}) {
    session.flush(code);
  }
}

}  // namespace

bool Zap1Click(Session& session, Progress& progress) {
  if (!session.prompter().ask(MessageKind::Warning, "Deleting All Indents. Ok?")) return false;
  deleteSchoolIndents(session, progress, "Deleting All Indents...", false);
  return true;
}

bool ZapA1Click(Session& session, Progress& progress) {
  if (!session.prompter().ask(MessageKind::Warning, "Deleting Active Indents. Ok?")) return false;
  deleteSchoolIndents(session, progress, "Deleting Active Indents...", true);
  return true;
}

std::optional<int> ZapP1Click(Session& session, Progress& progress, const IndentScope& scope) {
  if (!session.prompter().ask(MessageKind::Warning, "Deleting Passive Indents. Ok?")) return std::nullopt;
  const std::vector<TAlloc> passive = indentsInScope(session, scope, "N");
  int deleted = 0;
  {
    ProgressScope shown(progress, "Deleting Passive Indents...", static_cast<int>(passive.size()));
    Transaction tx(session.store());
    for (const TAlloc& indent : passive) {
      // Passive indents hold no cells and no counts; a proxy record cannot outlive its indent.
      session.store().table<TProxy>().removeRange(TProxy::primary, {indent.ASCHOOL, indent.ASERIALNO});
      session.store().table<TAlloc>().remove(indent);
      ++deleted;
      shown->step();
    }
    tx.commit();
    session.flush(kFlushIndents);
  }
  session.prompter().info(std::to_string(deleted) + " Passive Indents deleted.");
  return deleted;
}

void deleteBothPassiveAndActive(Session& session, Progress& progress, const IndentScope& scope) {
  ZapP1Click(session, progress, scope);
  MakePassive1Click(session, progress, scope, PassiveMode::Delete, BulkCaller::Person);
}

}  // namespace tavrel::indents
