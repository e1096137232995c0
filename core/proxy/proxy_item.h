// The items a proxy works on. A proxy moves the periods of one absent class or resource to
// substitutes of the same kind; the kind decides which timetable rows, indent fields and proxy
// records (`PXTYPE` "C" or "T") every step reads.
#pragma once

#include <string>

#include "core/store/cell_release.h"
#include "core/store/session.h"

namespace tavrel::proxy {

enum class Operation { Proxy, UndoProxy };
enum class ItemKind { Resource, Class };  // "Item Group": "Resource", "Class"

// The view kind ("T" or "C") the item kind sets, which is also `PXTYPE` and the row kind `TTYPE`.
char viewKindOf(ItemKind kind);
store::OwnerKind ownerKindOf(ItemKind kind);

struct Item {
  int code = 0;
  std::string name;

  bool operator==(const Item&) const = default;
};

std::string itemName(store::Store& store, int school, ItemKind kind, int code);

// The indent's class (class proxy) or resource (resource proxy): whose periods it moves.
int indentItem(const store::TAlloc& indent, ItemKind kind);
void setIndentItem(store::TAlloc& indent, ItemKind kind, int code);
// The other side of the indent: its resource in a class proxy, its class in a resource proxy.
int indentPartner(const store::TAlloc& indent, ItemKind kind);
std::string partnerName(store::Store& store, int school, ItemKind kind, int code);

}  // namespace tavrel::proxy
