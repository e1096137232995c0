#include "core/engine/allocation_assistance.h"

#include <algorithm>

#include "core/store/per_day_limits.h"

namespace tavrel::engine {

using namespace store;

namespace {

constexpr const char* kConstraintNote =
    "Changing the constraint may also lead to allocation without taking above changes.";
constexpr const char* kSelectOne = "Select at least one upper limit to update.";

bool hasFinding(AssistanceLine line, const Diagnosis& d) {
  switch (line) {
    case AssistanceLine::SubjectPerDay:
      return d.NeedSubjectDay > 0;
    case AssistanceLine::ResourcePerClassDay:
      return d.NeedResourceClassDay > 0;
    case AssistanceLine::ResourcePerDay:
      return d.NeedResourceDay > 0;
    case AssistanceLine::Continuity:
      return d.NeedContinuity > 0;
    case AssistanceLine::Recess:
      return d.RecessBlocked;
    case AssistanceLine::ClusterPermission:
      return d.AdjacencyBlocked;
  }
  return false;
}

constexpr AssistanceLine kLines[] = {AssistanceLine::SubjectPerDay,  AssistanceLine::ResourcePerClassDay,
                                     AssistanceLine::ResourcePerDay, AssistanceLine::Continuity,
                                     AssistanceLine::Recess,         AssistanceLine::ClusterPermission};

// A limit line shows the value it would become, or whether its limit is applied at all.
std::string limitValue(int need, bool applied) {
  if (need > 0) return std::to_string(need);
  return applied ? "No Change" : "Not Applied";
}

struct Names {
  std::string cls, resource, subject;
};

Names namesOf(Store& store, const TAlloc& indent) {
  Names names;
  if (auto row = store.table<TClas>().find(TClas::CLASCODE, {indent.ASCHOOL, indent.ACLASS}))
    names.cls = row->CLSNAME;
  if (auto row = store.table<TTeac>().find(TTeac::TEACCODE, {indent.ASCHOOL, indent.ATEACHER}))
    names.resource = row->TCHNAME;
  if (auto row = store.table<TSubj>().find(TSubj::SUBJCODE, {indent.ASUBJECT})) names.subject = row->SUBNAME;
  return names;
}

bool isCluster(const TAlloc& indent) {
  return indent.AINCLUSOF > 1;
}

// Writes the relaxed limits of the lines given, in one transaction, and flushes what it wrote.
void relax(Session& session, TAlloc indent, const Diagnosis& d, const std::vector<AssistanceLine>& lines) {
  Store& store = session.store();
  auto wanted = [&](AssistanceLine line) {
    return hasFinding(line, d) && std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  const int school = indent.ASCHOOL;
  bool indentChanged = false;
  Transaction tx(store);
  if (wanted(AssistanceLine::SubjectPerDay)) {
    storePerDayLimit(store, LimitKind::Subject, school, indent.ACLASS, indent.ASUBJECT, d.NeedSubjectDay);
    // A regular one-per-day indent cannot take the second period a day that the new limit allows.
    if (!isCluster(indent) && indent.ARECESS == "N" && d.NeedSubjectDay > 1) {
      indent.ARECESS = "Y";
      indentChanged = true;
    }
  }
  if (wanted(AssistanceLine::ResourcePerClassDay)) {
    storePerDayLimit(store, LimitKind::Resource, school, indent.ACLASS, indent.ATEACHER,
                     d.NeedResourceClassDay);
  }
  if (wanted(AssistanceLine::ResourcePerDay) || wanted(AssistanceLine::Continuity)) {
    if (auto resource = store.table<TTeac>().find(TTeac::TEACCODE, {school, indent.ATEACHER})) {
      if (wanted(AssistanceLine::ResourcePerDay)) resource->TMAXLEC = d.NeedResourceDay;
      if (wanted(AssistanceLine::Continuity)) resource->TMAXCON = d.NeedContinuity;
      store.table<TTeac>().update(*resource);
    }
  }
  if (wanted(AssistanceLine::Recess)) {
    indent.ARECESS = "Y";
    indentChanged = true;
  }
  if (indentChanged) store.table<TAlloc>().update(indent);
  tx.commit();
  if (wanted(AssistanceLine::ClusterPermission)) session.ClusterPermission = true;
  session.flush(kFlushSubjectLimits);
  session.flush(kFlushResourceLimits);
  session.flush(kFlushResources);
  session.flush(kFlushIndents);
}

std::optional<TAlloc> indentOf(Session& session, int serial) {
  return session.store().table<TAlloc>().find(TAlloc::primary, {session.schoolCode(), serial});
}

}  // namespace

Assistance assistanceFor(Session& session, int serial, const Diagnosis& d) {
  Assistance assistance;
  auto indent = indentOf(session, serial);
  if (!indent) return assistance;
  const TInst institution = session.store().institution();
  const Names names = namesOf(session.store(), *indent);
  const bool cluster = isCluster(*indent);
  auto row = [&](AssistanceLine line, std::string caption, std::string value) {
    assistance.rows.push_back({line, std::move(caption), std::move(value), hasFinding(line, d)});
  };
  row(AssistanceLine::SubjectPerDay, "For " + names.cls + " per day upper limit of " + names.subject,
      limitValue(d.NeedSubjectDay, institution.ISUL_CLASS));
  row(AssistanceLine::ResourcePerClassDay, "For " + names.cls + " per day upper limit of " + names.resource,
      limitValue(d.NeedResourceClassDay, institution.ITUL_CLASS));
  row(AssistanceLine::ResourcePerDay, "Per day upper limit of " + names.resource,
      limitValue(d.NeedResourceDay, institution.ITUL_DAY));
  row(AssistanceLine::Continuity, "Sequence Continuity upper limit of " + names.resource,
      limitValue(d.NeedContinuity, institution.ITSQUL));
  row(AssistanceLine::Recess, "Recess",
      d.RecessBlocked ? "Permissible" : (cluster ? "No Change" : "Not Applicable"));
  row(AssistanceLine::ClusterPermission, "Apply Cluster Permission for Regular indents",
      d.AdjacencyBlocked ? "Apply" : (cluster ? "Not Applicable" : "No Change"));
  if (indent->AQUERY != "None") assistance.note = kConstraintNote;
  return assistance;
}

bool allocateSelected(Session& session, int serial, const Diagnosis& d,
                      const std::vector<AssistanceLine>& checked) {
  const bool any =
      std::any_of(checked.begin(), checked.end(), [&](AssistanceLine line) { return hasFinding(line, d); });
  if (!any) {
    session.prompter().info(kSelectOne);
    return false;
  }
  if (auto indent = indentOf(session, serial)) relax(session, *indent, d, checked);
  return true;
}

void allocateAuto(Session& session, int serial, const Diagnosis& d) {
  if (auto indent = indentOf(session, serial))
    relax(session, *indent, d, {std::begin(kLines), std::end(kLines)});
}

}  // namespace tavrel::engine
