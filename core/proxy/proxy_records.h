// The proxy records (`TProxy`): one per proxy indent, naming the absent item (`PXFORCODE`), the
// substitute (`PXBYCODE`), the proxy indent (`PXBYSERIALNO`) and the day it was made. A record whose
// indent no longer exists is left over from a deletion elsewhere and counts for nothing.
#pragma once

#include <string>
#include <vector>

#include "core/proxy/proxy_item.h"

namespace tavrel::proxy {

// Appends the record of a new proxy indent; the caller commits.
void appendProxyRecord(store::Store& store, int school, ItemKind kind, int absent, int substitute, int serial,
                       const std::string& date);

// The records made for the absent item, on `TYPFORBY` (substitute, then serial order).
std::vector<store::TProxy> recordsFor(store::Store& store, int school, ItemKind kind, int absent);

// The records whose proxy indent still exists.
std::vector<store::TProxy> liveRecordsFor(store::Store& store, int school, ItemKind kind, int absent);

// "Proxied: ": the periods the existing proxy indents of the absent item hold (`ANOLECALL`).
int proxiedPeriods(store::Store& store, int school, ItemKind kind, int absent);

// "Proxy: ": the periods a substitute holds in its existing proxy indents (`TYPBY`).
int periodsCoveredBy(store::Store& store, int school, ItemKind kind, int substitute);

}  // namespace tavrel::proxy
