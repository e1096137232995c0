// "School Statistics": how the periods of the school's active indents spread over the priority
// categories and letters, how many are simple, and how many are allocated.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/indents/chart_data.h"
#include "core/store/session.h"

namespace tavrel::indents {

struct PeriodsOf {
  std::string name;  // a category, or a priority letter
  int periods = 0;

  bool operator==(const PeriodsOf&) const = default;
};

struct SchoolStatistics {
  std::string caption;                // "<school> - Statistics"
  std::vector<PeriodsOf> categories;  // in order of first appearance
  std::vector<PeriodsOf> letters;     // in letter order
  int total = 0;
  int simple = 0;  // letter Z
  int allocated = 0;
  int notAllocated = 0;
  int percentAllocated = 0;  // 0 for a school with nothing to allocate
  // "Period Distribution (Category)", "Period Distribution (Priority)",
  // "Period Distribution (Simple Vs Controlled)", "Allocation Status".
  std::vector<ChartPage> pages;
};

// `elapsed` is the run's elapsed time when the window opens at the end of an allocation run.
SchoolStatistics schoolStatistics(store::Session& session, const std::string& dateStamp,
                                  const std::optional<std::string>& elapsed = std::nullopt);

}  // namespace tavrel::indents
