// The substitutes ticked in the "Proxy By" list, in the order they were ticked: that order is the
// priority in which the run offers them the periods.
#pragma once

#include <string>
#include <vector>

#include "core/proxy/proxy_item.h"

namespace tavrel::proxy {

class SubstituteList {
 public:
  void tick(int code);    // appended last; ticking a ticked item changes nothing
  void untick(int code);  // the items after it move up one place
  bool ticked(int code) const;
  // "Select All": ticks every candidate in list order, after those already ticked.
  void selectAll(const std::vector<Item>& candidates);
  void clear() { order_.clear(); }

  const std::vector<int>& order() const { return order_; }
  // "Priority: " of an item: its place in the ticked order from 1, or "N.A." when not ticked.
  std::string priorityText(int code) const;
  // "&Allocate Proxy" is enabled only while some substitute is ticked.
  bool canAllocate() const { return !order_.empty(); }

 private:
  std::vector<int> order_;
};

// "Total: " of a candidate: its allocated periods, its own and those through its groups.
int allocatedTotal(store::Store& store, int school, ItemKind kind, int code);

}  // namespace tavrel::proxy
