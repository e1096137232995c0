// The "Results" window's data: two tabs, "Proxied By" (periods per substitute) and "Proxied To"
// (periods per partner: the classes of a resource proxy, the resources of a class proxy), each a
// pie chart under the school's name and the run's line, with a further line when some periods
// could not be given back. "Print &Timetable(s)" prints the timetables of a tab's items.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/proxy/proxy_run.h"

namespace tavrel::proxy {

enum class ResultsTab { ProxiedBy, ProxiedTo };

struct ProxyResults {
  std::string school;  // first title line: the school's name
  // "<done>/<total> periods proxied (<date> <time>)", or "... proxy periods undone (...)"
  std::string runLine;
  std::optional<std::string> failedLine;  // "<failed>/<total − done> failed restoration"
  std::vector<Share> proxiedBy;
  std::vector<Share> proxiedTo;

  const std::vector<Share>& slices(ResultsTab tab) const {
    return tab == ResultsTab::ProxiedBy ? proxiedBy : proxiedTo;
  }
  std::vector<std::string> titleLines() const;
};

ProxyResults resultsOf(store::Store& store, int school, Operation operation, const ProxyOutcome& outcome);

// The report "Print &Timetable(s)" opens for the tab: the substitutes are of the absent item's kind,
// the partners of the other kind.
std::string timetableReportFor(ResultsTab tab, ItemKind kind);

// Fills the report selection (`TRPCode`) with the items of the tab; for "Proxied By" also the absent
// item, whose timetable changed too. Returns the report's name.
std::string selectTimetablesToPrint(store::Store& store, int school, const ProxyResults& results,
                                    ResultsTab tab, ItemKind kind, int absent);

}  // namespace tavrel::proxy
