// The one-line description of an indent shown where a single period's indent is pointed at (the
// proxy window's "Period details:").
#pragma once

#include <string>

namespace tavrel::store {

class Store;

// "<class>, <resource>, <subject>, Regular", or ", Cluster(<size>)" in place of ", Regular" for an
// indent placed in runs of two or more periods. A class, resource or subject that cannot be found
// leaves its name empty; an indent that does not exist gives the empty text, so a stale serial in
// a grid cell shows nothing rather than a description of another indent.
std::string get_prd_dtls(Store& store, int school, int serial);

}  // namespace tavrel::store
