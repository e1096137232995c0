#include "core/proxy/proxy_item.h"

#include "core/store/lookups.h"

namespace tavrel::proxy {

using namespace store;

char viewKindOf(ItemKind kind) {
  return kind == ItemKind::Class ? 'C' : 'T';
}

OwnerKind ownerKindOf(ItemKind kind) {
  return kind == ItemKind::Class ? OwnerKind::Class : OwnerKind::Resource;
}

std::string itemName(Store& store, int school, ItemKind kind, int code) {
  return kind == ItemKind::Class ? className(store, school, code) : resourceName(store, school, code);
}

int indentItem(const TAlloc& indent, ItemKind kind) {
  return kind == ItemKind::Class ? indent.ACLASS : indent.ATEACHER;
}

void setIndentItem(TAlloc& indent, ItemKind kind, int code) {
  (kind == ItemKind::Class ? indent.ACLASS : indent.ATEACHER) = code;
}

int indentPartner(const TAlloc& indent, ItemKind kind) {
  return kind == ItemKind::Class ? indent.ATEACHER : indent.ACLASS;
}

std::string partnerName(Store& store, int school, ItemKind kind, int code) {
  return kind == ItemKind::Class ? resourceName(store, school, code) : className(store, school, code);
}

}  // namespace tavrel::proxy
