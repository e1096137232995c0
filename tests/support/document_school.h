// Writes a school of the exchange format into a data set for the tests, until the tool reads the
// format itself: the school with its week, classes, resources, groups, subjects and limits, and its
// indents created passive and then activated by the program's own activation, so that the
// priority letters, counters and limits are the ones a person would get.
#pragma once

#include <vector>

#include "core/exchange/school_document.h"
#include "core/store/session.h"

namespace tavrel::testing {

struct DocumentSchool {
  int school = 0;
  int periods = 0;           // of the active indents
  std::vector<int> refused;  // serials activation refused
};

// Adds the school after the highest school code issued.
DocumentSchool writeDocumentSchool(store::Session& session, const exchange::SchoolDocument& document);

}  // namespace tavrel::testing
