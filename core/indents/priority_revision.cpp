#include "core/indents/priority_revision.h"

#include <algorithm>
#include <set>

#include "core/store/encoded_lists.h"

namespace tavrel::indents {

using namespace store;

namespace {

bool anyListed(const std::vector<int>& wanted, const std::string& list) {
  const std::vector<int> members = listMembers(list);
  return std::any_of(wanted.begin(), wanted.end(), [&](int element) {
    return std::find(members.begin(), members.end(), element) != members.end();
  });
}

void setPriority(Store& store, TAlloc indent, char letter) {
  if (indent.APRIORITY == std::string(1, letter)) return;
  indent.APRIORITY = std::string(1, letter);
  store.table<TAlloc>().update(indent);
}

void promotePinned(Session& session, OwnerKind kind, const std::map<int, Saturated>& saturated) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const int index = kind == OwnerKind::Class ? TAlloc::ALLOCLS : TAlloc::ALLOTCH;
  for (const auto& [code, filled] : saturated) {
    for (const TAlloc& indent : store.table<TAlloc>().range(index, {school, "Y", code})) {
      if (indent.APRIORITY.empty() || !isConstrainedPriority(indent.APRIORITY[0])) continue;
      const PinKind pin = FigureOnlyOne(indent);
      if ((pin == PinKind::ByDay && anyListed(filled.days, indent.ALISTDAY)) ||
          (pin == PinKind::ByPeriods && anyListed(filled.periods, indent.ALISTLEC))) {
        setPriority(store, indent, 'B');
      }
    }
  }
}

}  // namespace

void IndRevProc_prior(Session& session, int serial, const SaturationLists& saturation) {
  if (saturation.empty()) return;
  Store& store = session.store();
  Transaction tx(store);
  if (auto indent = findIndent(session, serial);
      indent && !indent->APRIORITY.empty() && isConstrainedPriority(indent->APRIORITY[0])) {
    setPriority(store, *indent, 'B');
  }
  promotePinned(session, OwnerKind::Class, saturation.classes);
  promotePinned(session, OwnerKind::Resource, saturation.resources);
  tx.commit();
  session.flush(kFlushIndents);
}

void chkrest_prior_main(Session& session, const TAlloc& indent) {
  Store& store = session.store();
  const int school = session.schoolCode();
  // Every item whose indents the leaving indent could have promoted: its class and resource, the
  // members of either that is a group, and the groups of every item that is not one.
  std::set<std::pair<OwnerKind, int>> items;
  auto addWithRelations = [&](OwnerKind kind, int code) {
    std::vector<int> codes{code};
    for (int member : groupMembers(store, school, kind, code)) codes.push_back(member);
    for (int item : codes) {
      items.insert({kind, item});
      if (isGroup(store, school, kind, item)) continue;
      for (int group : groupsContaining(store, school, kind, item)) items.insert({kind, group});
    }
  };
  addWithRelations(OwnerKind::Class, indent.ACLASS);
  addWithRelations(OwnerKind::Resource, indent.ATEACHER);

  Transaction tx(store);
  for (const auto& [kind, code] : items) {
    for (const TAlloc& other : activeIndentsOf(store, school, kind, code)) {
      if (other.ASERIALNO == indent.ASERIALNO || other.APRIORITY != "B" || !hasConstraint(other)) continue;
      setPriority(store, other, FigurePrior(store, other));
    }
  }
  tx.commit();
  session.flush(kFlushIndents);
}

}  // namespace tavrel::indents
