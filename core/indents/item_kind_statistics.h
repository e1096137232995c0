// "Class Statistics", "Resource Statistics", "Subject Statistics": how all classes, resources or
// subject links of the school are made up, and how far each is allocated, measured against what
// its indents ask for and against what it has available.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/indents/chart_data.h"
#include "core/store/session.h"

namespace tavrel::indents {

struct Shortfall {
  std::string name;
  int periods = 0;

  bool operator==(const Shortfall&) const = default;
};

struct ItemKindStatistics {
  std::string caption;
  int total = 0;
  int simple = 0;
  int group = 0;
  int partTime = 0;
  int notIndented = 0;
  int allocatedIndented = 0;   // w.r.t. Indented
  int allocatedAvailable = 0;  // w.r.t. Available (subject links: Indented again)
  std::vector<Shortfall> incompleteIndented;
  std::vector<Shortfall> incompleteAvailable;
  // "Composition", "Allocated (w.r.t Indented)", "Allocated (w.r.t Available)",
  // "Incomplete(w.r.t Indented)", "Incomplete(w.r.t. Available)".
  std::vector<ChartPage> pages;
};

// For view kind "C" (classes), "T" (resources) or "S" (subject links of the school).
ItemKindStatistics itemKindStatistics(store::Session& session, char viewKind, const std::string& dateStamp);

}  // namespace tavrel::indents
