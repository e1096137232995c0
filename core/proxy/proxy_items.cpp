#include "core/proxy/proxy_items.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/indents/indent_facts.h"
#include "core/proxy/proxy_records.h"
#include "core/store/lookups.h"

namespace tavrel::proxy {

using namespace store;

namespace {

std::vector<Item> allItems(Store& store, int school, ItemKind kind) {
  std::vector<Item> items;
  if (kind == ItemKind::Class) {
    for (const TClas& row : store.table<TClas>().range(TClas::primary, {school}))
      items.push_back({row.CLSCODE, row.CLSNAME});
  } else {
    for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {school}))
      items.push_back({row.TCHCODE, row.TCHNAME});
  }
  return items;  // the primary index orders by name
}

int allocatedPeriods(Store& store, int school, ItemKind kind, int code) {
  if (kind == ItemKind::Class) {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
    return row ? row->CLSTOTALL : 0;
  }
  auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
  return row ? row->TALLOCLEC : 0;
}

std::vector<TAlloc> activeIndents(Store& store, int school, ItemKind kind, int item) {
  return indents::activeIndentsOf(store, school, ownerKindOf(kind), item);
}

std::vector<Item> byName(std::map<int, std::string> named) {
  std::vector<Item> items;
  for (auto& [code, name] : named) items.push_back({code, std::move(name)});
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.name < b.name; });
  return items;
}

}  // namespace

std::vector<Item> absentItems(Store& store, int school, Operation operation, ItemKind kind) {
  std::vector<Item> items;
  for (Item& item : allItems(store, school, kind)) {
    const bool listed = operation == Operation::Proxy
                            ? allocatedPeriods(store, school, kind, item.code) > 0
                            : !liveRecordsFor(store, school, kind, item.code).empty();
    if (listed) items.push_back(std::move(item));
  }
  return items;
}

std::vector<Item> subjectsOfActiveIndents(Store& store, int school, ItemKind kind, int item) {
  std::map<int, std::string> named;
  for (const TAlloc& indent : activeIndents(store, school, kind, item))
    named.try_emplace(indent.ASUBJECT, subjectName(store, indent.ASUBJECT));
  return byName(std::move(named));
}

std::vector<Item> partnersOfActiveIndents(Store& store, int school, ItemKind kind, int item) {
  std::map<int, std::string> named;
  for (const TAlloc& indent : activeIndents(store, school, kind, item)) {
    const int partner = indentPartner(indent, kind);
    named.try_emplace(partner, partnerName(store, school, kind, partner));
  }
  return byName(std::move(named));
}

std::optional<std::vector<Item>> offerPickList(Session& session, std::vector<Item> items) {
  if (items.empty()) {
    session.prompter().info(kNothingToPick);
    return std::nullopt;
  }
  return items;
}

bool engagesSubject(Store& store, int school, ItemKind kind, int item, int subject) {
  const auto indents = activeIndents(store, school, kind, item);
  return std::any_of(indents.begin(), indents.end(),
                     [&](const TAlloc& indent) { return indent.ASUBJECT == subject; });
}

std::vector<Item> candidates(Store& store, int school, ItemKind kind, int absent, CandidateFilter filter,
                             int picked) {
  std::vector<Item> items;
  for (Item& item : allItems(store, school, kind)) {
    if (item.code == absent) continue;
    bool passes = true;
    if (filter != CandidateFilter::All) {
      const auto indents = activeIndents(store, school, kind, item.code);
      passes = std::any_of(indents.begin(), indents.end(), [&](const TAlloc& indent) {
        return (filter == CandidateFilter::Subject ? indent.ASUBJECT : indentPartner(indent, kind)) == picked;
      });
    }
    if (passes) items.push_back(std::move(item));
  }
  return items;
}

}  // namespace tavrel::proxy
