// Reading an instance of XHSTT, the XML format of the high-school timetabling research community,
// into a school document: its days and times become the week, resources of a class or student
// type become classes and the others (teachers, rooms) resources, each course's events an
// indent, and the constraints Tavrel can keep become availability, limits, blocks and allocation
// constraints. Everything else is left out and counted in the report.
#pragma once

#include <optional>
#include <string>

#include "core/exchange/mapping_report.h"
#include "core/util/result.h"

namespace tavrel::exchange {

struct XhsttOptions {
  std::string school;                // the new school's name
  std::string instance;              // the Id of the instance to read; empty: the first
  std::optional<int> weightAsHard;   // soft constraints of at least this weight count as hard
};

Result<ImportedSchool> importXhstt(const std::string& text, const XhsttOptions& options);

}  // namespace tavrel::exchange
