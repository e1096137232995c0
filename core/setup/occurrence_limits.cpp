#include "core/setup/occurrence_limits.h"

#include <set>

#include "core/store/limit_messages.h"
#include "core/store/lookups.h"

namespace tavrel::setup {

using namespace store;

int editOccurrenceLimit(Session& session, LimitKind kind, int classCode, int itemCode, int value) {
  TAlloc probe;
  probe.ASCHOOL = session.schoolCode();
  probe.ACLASS = classCode;
  (kind == LimitKind::Subject ? probe.ASUBJECT : probe.ATEACHER) = itemCode;
  const int minimum = CheckCUL(session, kind, LimitOp::Add, probe).minimum;
  int stored = value;
  if (value < minimum) {
    Store& store = session.store();
    const std::string itemName = kind == LimitKind::Subject
                                     ? subjectName(store, itemCode)
                                     : resourceName(store, session.schoolCode(), itemCode);
    MinMsg(session.prompter(), std::to_string(value),
           kind == LimitKind::Subject ? LabelledField::SOCCURENCE : LabelledField::TOCCURENCE,
           className(store, session.schoolCode(), classCode), itemName, minimum);
    stored = minimum;
  }
  Transaction tx(session.store());
  post_occur(session, kind, classCode, itemCode, stored);
  tx.commit();
  return stored;
}

namespace {

template <class F>
void forEachLimit(Store& store, int school, LimitKind kind, bool byItem, F f) {
  if (kind == LimitKind::Subject) {
    store.table<TSOcc>().forEach(byItem ? TSOcc::SOSUB : TSOcc::primary, {school}, [&](const TSOcc& row) {
      f(LimitRow{row.SOCLASS, row.SOSUBJECT, row.SOCCURENCE});
    });
  } else {
    store.table<TTOcc>().forEach(byItem ? TTOcc::TOTCH : TTOcc::primary, {school}, [&](const TTOcc& row) {
      f(LimitRow{row.TOCLASS, row.TOTEACHER, row.TOCCURENCE});
    });
  }
}

}  // namespace

std::vector<NamedCode> classesWithLimits(Store& store, int school, LimitKind kind) {
  std::set<int> codes;
  forEachLimit(store, school, kind, false, [&](const LimitRow& row) { codes.insert(row.classCode); });
  std::vector<NamedCode> classes;
  for (const TClas& row : store.table<TClas>().range(TClas::primary, {school})) {
    if (codes.count(row.CLSCODE)) classes.push_back({row.CLSCODE, row.CLSNAME});
  }
  return classes;
}

std::vector<NamedCode> itemsWithLimits(Store& store, int school, LimitKind kind) {
  std::set<int> codes;
  forEachLimit(store, school, kind, true, [&](const LimitRow& row) { codes.insert(row.itemCode); });
  std::vector<NamedCode> items;
  if (kind == LimitKind::Subject) {
    for (const TSubj& row : store.table<TSubj>().range(TSubj::SUBJCODE)) {
      if (codes.count(row.SUBCODE)) items.push_back({row.SUBCODE, row.SUBNAME});
    }
  } else {
    for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {school})) {
      if (codes.count(row.TCHCODE)) items.push_back({row.TCHCODE, row.TCHNAME});
    }
  }
  return items;
}

std::optional<LimitRow> findClassLimit(Session& session, LimitKind kind, int classCode) {
  std::optional<LimitRow> found;
  forEachLimit(session.store(), session.schoolCode(), kind, false, [&](const LimitRow& row) {
    if (!found && row.classCode == classCode) found = row;
  });
  if (!found) session.prompter().info("No record found.");
  return found;
}

std::optional<LimitRow> findItemLimit(Session& session, LimitKind kind, int itemCode) {
  std::optional<LimitRow> found;
  forEachLimit(session.store(), session.schoolCode(), kind, true, [&](const LimitRow& row) {
    if (!found && row.itemCode == itemCode) found = row;
  });
  if (!found) session.prompter().info("No records.");
  return found;
}

}  // namespace tavrel::setup
