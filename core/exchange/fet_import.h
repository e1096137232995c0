// Reading a FET file (the XML of the free timetabling program FET) into a school document: its days
// and hours become the week, its students sets (years, groups, subgroups) classes, its teachers and
// the rooms an activity is fixed to resources, each split activity an indent, and the constraints
// Tavrel can keep availability, limits, one-per-day and allocation constraints. Everything else is
// left out and counted in the report.
#pragma once

#include <optional>
#include <string>

#include "core/exchange/mapping_report.h"
#include "core/util/result.h"

namespace tavrel::exchange {

struct FetOptions {
  std::string school;              // the new school's name
  std::optional<int> weightAsHard;  // constraints of at least this weight percentage count as hard (default 100)
};

Result<ImportedSchool> importFet(const std::string& text, const FetOptions& options);

}  // namespace tavrel::exchange
