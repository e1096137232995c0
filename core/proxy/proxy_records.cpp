#include "core/proxy/proxy_records.h"

namespace tavrel::proxy {

using namespace store;

namespace {

int heldPeriods(Store& store, int school, int serial) {
  auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, serial});
  return indent ? indent->ANOLECALL : 0;
}

}  // namespace

void appendProxyRecord(Store& store, int school, ItemKind kind, int absent, int substitute, int serial,
                       const std::string& date) {
  TProxy record{.PXSCHOOL = school,
                .PXBYSERIALNO = serial,
                .PXTYPE = std::string(1, viewKindOf(kind)),
                .PXFORCODE = absent,
                .PXBYCODE = substitute,
                .PXDATE = date};
  store.table<TProxy>().insert(record);
}

std::vector<TProxy> recordsFor(Store& store, int school, ItemKind kind, int absent) {
  return store.table<TProxy>().range(TProxy::TYPFORBY, {school, std::string(1, viewKindOf(kind)), absent});
}

std::vector<TProxy> liveRecordsFor(Store& store, int school, ItemKind kind, int absent) {
  std::vector<TProxy> live;
  for (const TProxy& record : recordsFor(store, school, kind, absent)) {
    if (store.table<TAlloc>().find(TAlloc::primary, {school, record.PXBYSERIALNO})) live.push_back(record);
  }
  return live;
}

int proxiedPeriods(Store& store, int school, ItemKind kind, int absent) {
  int periods = 0;
  for (const TProxy& record : recordsFor(store, school, kind, absent))
    periods += heldPeriods(store, school, record.PXBYSERIALNO);
  return periods;
}

int periodsCoveredBy(Store& store, int school, ItemKind kind, int substitute) {
  int periods = 0;
  store.table<TProxy>().forEach(
      TProxy::TYPBY, {school, std::string(1, viewKindOf(kind)), substitute},
      [&](const TProxy& record) { periods += heldPeriods(store, school, record.PXBYSERIALNO); });
  return periods;
}

}  // namespace tavrel::proxy
