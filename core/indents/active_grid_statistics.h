// "Active Grid Statistics": the active indents of one class, resource or subject summed up, by
// their other two dimensions, and (for a class or resource) by the substitutes that took its
// periods. Gathering them also sets the item's own demand and allocation counters to the sums over
// its active indents, which is the one place where a person sees them recounted.
#pragma once

#include <string>
#include <vector>

#include "core/indents/chart_data.h"
#include "core/store/session.h"

namespace tavrel::indents {

struct NameTotals {
  std::string name;
  int indented = 0;
  int incomplete = 0;
  int allocated = 0;

  bool operator==(const NameTotals&) const = default;
};

struct ActiveGridStatistics {
  std::string caption;  // "<name> - Statistics"
  int activeIndents = 0;
  int completeIndents = 0;
  int incompleteIndents = 0;
  int indented = 0;
  int allocated = 0;
  int incomplete = 0;
  // In order of first appearance: resources (class and subject view) or classes (resource view),
  // then subjects (class and resource view) or classes (subject view).
  std::vector<NameTotals> firstDimension;
  std::vector<NameTotals> secondDimension;
  std::vector<NameTotals> proxiedBy;  // `allocated` holds the periods each substitute took
  int proxied = 0;
  // Pages 1 to 10: "Active Indents", "Indented Periods", "Allocated Periods", the six pages of the
  // two dimensions (indented, incomplete, allocated) and "Proxied By".
  std::vector<ChartPage> pages;
};

// For the item `code` of view kind "C", "T" or "S"; `dateStamp` is the date and time in the
// system's short formats, as the titles show it.
ActiveGridStatistics activeGridStatistics(store::Session& session, char viewKind, int code,
                                          const std::string& dateStamp);

}  // namespace tavrel::indents
