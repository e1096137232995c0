// A school document as a FET file, so that FET can be given the same problem Tavrel allocates:
// classes become students years (a group class lists its member classes on each activity),
// resources teachers (a group resource lists its members), each indent one split activity of
// single hours or of blocks, and availability, per-day and sequence limits, one-per-day, subject
// limits and allocation constraints the matching FET constraints at 100 %.
#pragma once

#include <string>
#include <vector>

#include "core/exchange/school_document.h"

namespace tavrel::exchange {

struct FetExport {
  std::string text;
  std::vector<std::string> leftOut;  // what FET was not told, one line each
};

FetExport toFet(const SchoolDocument& document);

}  // namespace tavrel::exchange
