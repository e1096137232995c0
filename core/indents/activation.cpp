#include "core/indents/activation.h"

#include <algorithm>

#include "core/indents/subject_variants.h"
#include "core/setup/subjects.h"
#include "core/store/item_cascade.h"

namespace tavrel::indents {

using namespace store;

namespace {

void setActive(Session& session, TAlloc indent, bool active) {
  indent.AACTIVE.assign(1, active ? 'Y' : 'N');  // (a literal trips a false -Wrestrict of GCC 12)
  Transaction tx(session.store());
  session.store().table<TAlloc>().update(indent);
  tx.commit();
  session.flush(kFlushIndents);
}

// Gives one-per-day indents their own subject where this activation makes the subject's per-day
// limit rise above 1. Returns the subject limit the class now needs, or nothing when a revision was
// refused; `revisedSelf` tells that the activated indent itself moved to a variant.
std::optional<PerDayMinimum> reviseOnePerDay(Session& session, const TAlloc& indent, Interaction interaction,
                                             bool& revisedSelf) {
  PerDayMinimum need = CheckCUL(session, LimitKind::Subject, LimitOp::Add, indent);
  if (need.minimum > 1 && isRegularOnePerDay(indent)) {
    if (!IndRevProc_subj(session, indent.ASERIALNO, VariantFor::ThisIndent, interaction)) return std::nullopt;
    revisedSelf = true;
    return need;
  }
  // Every other one-per-day indent of the subject would be held to the raised limit as well; each
  // gets its own variant in turn until none shares the subject.
  while (need.minimum > 1 && need.onePerDaySerial) {
    if (!IndRevProc_subj(session, *need.onePerDaySerial, VariantFor::OtherIndent, interaction))
      return std::nullopt;
    need = CheckCUL(session, LimitKind::Subject, LimitOp::Add, indent);
  }
  return need;
}

void raiseSubjectLimit(Store& store, const TAlloc& indent, int need) {
  const int school = indent.ASCHOOL;
  const int value = isCluster(indent) ? std::max(need, indent.AINCLUSOF) : need;
  const std::optional<int> limit =
      classLimit(store, school, LimitKind::Subject, indent.ACLASS, indent.ASUBJECT);
  if (!limit) {
    setClassLimit(store, school, LimitKind::Subject, indent.ACLASS, indent.ASUBJECT,
                  need == 0 ? store.institution().IDSUL_CLASS : value);
  } else if (need != 0 && *limit < value) {
    setClassLimit(store, school, LimitKind::Subject, indent.ACLASS, indent.ASUBJECT, value);
  }
}

// Returns the resource's per-day need for the class, which the resource's own per-day limit must
// allow as well.
int raiseResourceLimit(Session& session, const TAlloc& indent) {
  Store& store = session.store();
  const int school = indent.ASCHOOL;
  const std::optional<int> limit =
      classLimit(store, school, LimitKind::Resource, indent.ACLASS, indent.ATEACHER);
  int need = CheckCUL(session, LimitKind::Resource, LimitOp::Add, indent).minimum;
  if (need == 0) need = limit ? *limit : store.institution().IDTUL_CLASS;
  if (isCluster(indent)) need = std::max(need, indent.AINCLUSOF);
  if (!limit || *limit < need) {
    setClassLimit(store, school, LimitKind::Resource, indent.ACLASS, indent.ATEACHER,
                  std::max(limit.value_or(0), need));
  }
  return need;
}

void countDemand(Session& session, const TAlloc& indent, int resourceNeed) {
  Store& store = session.store();
  const int school = indent.ASCHOOL;
  const int count = indent.ANOOFLEC;
  if (auto resource = store.table<TTeac>().find(TTeac::TEACCODE, {school, indent.ATEACHER})) {
    resource->TMAXLEC = std::max(resource->TMAXLEC, resourceNeed);
    if (isCluster(indent)) resource->TMAXCON = std::max(resource->TMAXCON, indent.AINCLUSOF);
    resource->TCHREQLEC += count;
    store.table<TTeac>().update(*resource);
  }
  if (auto cls = store.table<TClas>().find(TClas::CLASCODE, {school, indent.ACLASS})) {
    cls->CLSREQLEC += count;
    store.table<TClas>().update(*cls);
  }
  upd_mlt_ind(session, count, CountChange::Add, GroupSide::Both, indent.ACLASS, indent.ATEACHER);
  TSctl link = setup::ensureSubjectLink(store, school, indent.ASUBJECT);
  link.SCTREQLEC += count;
  store.table<TSctl>().update(link);
}

}  // namespace

bool AddActvProc(Session& session, int serial, Interaction interaction) {
  Store& store = session.store();
  const int school = session.schoolCode();
  auto found = findIndent(session, serial);
  if (!found || isActive(*found)) return false;
  setActive(session, *found, true);
  TAlloc indent = *findIndent(session, serial);

  Transaction tx(store);
  if (store.table<TSOcc>().count(TSOcc::primary, {school}) == 0) {
    setClassLimit(store, school, LimitKind::Subject, indent.ACLASS, indent.ASUBJECT, 1);
  }
  bool revisedSelf = false;
  const std::optional<PerDayMinimum> need = reviseOnePerDay(session, indent, interaction, revisedSelf);
  if (!need) {
    tx.rollback();
    setActive(session, *findIndent(session, serial), false);
    return false;
  }
  indent = *findIndent(session, serial);  // a variant may have become its subject
  if (!revisedSelf) raiseSubjectLimit(store, indent, need->minimum);
  const int resourceNeed = raiseResourceLimit(session, indent);
  countDemand(session, indent, resourceNeed);
  tx.commit();
  for (int code : {kFlushClasses, kFlushResources, kFlushIndents, kFlushResourceLimits, kFlushSubjectLimits,
                   kFlushSchoolSubjects}) {
    session.flush(code);
  }
  return true;
}

ActivationResult MakeActv(Session& session, int serial, Interaction interaction) {
  ActivationResult result;
  auto indent = findIndent(session, serial);
  if (!indent || isActive(*indent)) return result;
  result.validation = Validate(session, serial, interaction);
  if (result.validation) result.activated = AddActvProc(session, serial, interaction);
  return result;
}

std::vector<int> ActivateAll(Session& session, const std::vector<int>& passiveSerials) {
  std::vector<int> failed;
  for (int serial : passiveSerials) {
    auto indent = findIndent(session, serial);
    if (!indent || isActive(*indent)) continue;
    if (!MakeActv(session, serial, Interaction::Silent).activated) failed.push_back(serial);
  }
  if (!failed.empty()) {
    session.prompter().info(std::to_string(failed.size()) + " indent(s) failed validation. " +
                            "Not activated. Attempt activating individually to know the problem.");
  }
  return failed;
}

}  // namespace tavrel::indents
