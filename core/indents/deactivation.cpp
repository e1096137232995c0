#include "core/indents/deactivation.h"

#include <algorithm>

#include "core/indents/allocation_undo.h"
#include "core/indents/priority_revision.h"
#include "core/store/item_cascade.h"

namespace tavrel::indents {

using namespace store;

namespace {

template <class Row, class Field>
void lowerBy(Store& store, int index, const Key& key, Field Row::*field, int n) {
  auto& table = store.table<Row>();
  if (auto row = table.find(index, key)) {
    (*row).*field -= n;
    table.update(*row);
  }
}

// The class's limits fall to what its remaining active indents need, even below their old value.
void lowerClassLimits(Session& session, const TAlloc& indent) {
  Store& store = session.store();
  const int school = indent.ASCHOOL;
  for (LimitKind kind : {LimitKind::Subject, LimitKind::Resource}) {
    const int code = kind == LimitKind::Subject ? indent.ASUBJECT : indent.ATEACHER;
    if (!classLimit(store, school, kind, indent.ACLASS, code)) continue;
    setClassLimit(store, school, kind, indent.ACLASS, code,
                  CheckCUL(session, kind, LimitOp::Delete, indent).minimum);
  }
}

void giveBackDemand(Session& session, const TAlloc& indent) {
  Store& store = session.store();
  const int school = indent.ASCHOOL;
  const int count = indent.ANOOFLEC;
  lowerBy(store, TClas::CLASCODE, {school, indent.ACLASS}, &TClas::CLSREQLEC, count);
  lowerBy(store, TTeac::TEACCODE, {school, indent.ATEACHER}, &TTeac::TCHREQLEC, count);
  upd_mlt_ind(session, count, CountChange::Subtract, GroupSide::Both, indent.ACLASS, indent.ATEACHER);
  lowerBy(store, TSctl::primary, {school, indent.ASUBJECT}, &TSctl::SCTREQLEC, count);
}

bool anyProxy(Session& session, const std::vector<int>& serials) {
  return std::any_of(serials.begin(), serials.end(), [&](int serial) {
    return isProxyIndent(session.store(), session.schoolCode(), serial);
  });
}

}  // namespace

void DelActvProc(Session& session, int serial, AfterDeactivation after) {
  Store& store = session.store();
  const int school = session.schoolCode();
  auto found = findIndent(session, serial);
  if (!found) return;
  const bool wasActive = isActive(*found);

  Transaction tx(store);
  // Whatever the allocated count says, no cell may keep referring to an indent that leaves.
  releasePlacements(session, *found);
  TAlloc indent = *findIndent(session, serial);
  indent.AACTIVE.assign(1, 'N');  // (a literal trips a false -Wrestrict of GCC 12)
  indent.ANOLECALL = 0;
  store.table<TAlloc>().update(indent);
  if (wasActive) {
    if (indent.APRIORITY == "A" || indent.APRIORITY == "B") chkrest_prior_main(session, indent);
    lowerClassLimits(session, indent);
    giveBackDemand(session, indent);
  }
  store.table<TProxy>().removeRange(TProxy::primary, {school, serial});
  if (after == AfterDeactivation::DeleteRow) store.table<TAlloc>().remove(indent);
  tx.commit();
  for (int code : {kFlushClasses, kFlushResources, kFlushIndents, kFlushResourceLimits, kFlushSubjectLimits,
                   kFlushSchoolSubjects}) {
    session.flush(code);
  }
}

bool MakePsv(Session& session, int serial, Interaction interaction) {
  auto indent = findIndent(session, serial);
  if (!indent || !isActive(*indent)) return false;
  if (interaction == Interaction::Interactive &&
      isProxyIndent(session.store(), session.schoolCode(), serial) &&
      !session.prompter().ask(
          MessageKind::Information,
          "This is a proxy indent.Making it passive will cancel the proxy status.Select Yes to "
          "make the indent passive.")) {
    return false;
  }
  DelActvProc(session, serial, AfterDeactivation::KeepRow);
  return true;
}

bool PassiveAll(Session& session, const std::vector<int>& activeSerials) {
  if (anyProxy(session, activeSerials) &&
      !session.prompter().ask(
          MessageKind::Information,
          "Proxy indent(s) are present in the Active Grid. Making them passive will cancel their "
          "proxy status.Select Yes to make them passive.")) {
    return false;
  }
  for (int serial : activeSerials) MakePsv(session, serial, Interaction::Silent);
  return true;
}

void deleteIndent(Session& session, int serial) {
  auto indent = findIndent(session, serial);
  if (!indent) return;
  DelActvProc(session, serial, AfterDeactivation::DeleteRow);
}

bool DeleteAllPassive(Session& session, const std::vector<int>& passiveSerials) {
  if (!session.prompter().ask(MessageKind::Warning, "Deleting All Passive Indents. Ok?")) return false;
  for (int serial : passiveSerials) deleteIndent(session, serial);
  return true;
}

bool DeleteAllActive(Session& session, const std::vector<int>& activeSerials) {
  if (!session.prompter().ask(MessageKind::Warning, "Deleting All Active Indents. Ok?")) return false;
  for (int serial : activeSerials) deleteIndent(session, serial);
  return true;
}

}  // namespace tavrel::indents
