#include "core/proxy/substitute_list.h"

#include <algorithm>

namespace tavrel::proxy {

using namespace store;

void SubstituteList::tick(int code) {
  if (!ticked(code)) order_.push_back(code);
}

void SubstituteList::untick(int code) {
  order_.erase(std::remove(order_.begin(), order_.end(), code), order_.end());
}

bool SubstituteList::ticked(int code) const {
  return std::find(order_.begin(), order_.end(), code) != order_.end();
}

void SubstituteList::selectAll(const std::vector<Item>& candidates) {
  for (const Item& item : candidates) tick(item.code);
}

std::string SubstituteList::priorityText(int code) const {
  auto found = std::find(order_.begin(), order_.end(), code);
  if (found == order_.end()) return "N.A.";
  return std::to_string(found - order_.begin() + 1);
}

int allocatedTotal(Store& store, int school, ItemKind kind, int code) {
  if (kind == ItemKind::Class) {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
    return row ? row->CLSTOTALL + row->CLSMLTALL : 0;
  }
  auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
  return row ? row->TALLOCLEC + row->TCHMLTALL : 0;
}

}  // namespace tavrel::proxy
