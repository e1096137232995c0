#include "core/proxy/proxy_results.h"

#include "core/store/lookups.h"

namespace tavrel::proxy {

using namespace store;

namespace {

void selectItem(Store& store, const std::string& name, int code) {
  if (store.table<TRPCode>().find(TRPCode::BYCODE, {code})) return;
  TRPCode row;
  row.RPTNAME = name;
  row.RPTCODE = code;
  store.table<TRPCode>().insert(row);
}

}  // namespace

std::vector<std::string> ProxyResults::titleLines() const {
  std::vector<std::string> lines{school, runLine};
  if (failedLine) lines.push_back(*failedLine);
  return lines;
}

ProxyResults resultsOf(Store& store, int school, Operation operation, const ProxyOutcome& outcome) {
  ProxyResults results;
  results.school = schoolName(store, school);
  results.runLine = std::to_string(outcome.done) + "/" + std::to_string(outcome.total) +
                    (operation == Operation::Proxy ? " periods proxied" : " proxy periods undone") + " (" +
                    outcome.date + " " + outcome.time + ")";
  if (outcome.failedRestoration > 0) {
    results.failedLine = std::to_string(outcome.failedRestoration) + "/" +
                         std::to_string(outcome.total - outcome.done) + " failed restoration";
  }
  results.proxiedBy = outcome.bySubstitute;
  results.proxiedTo = outcome.byPartner;
  return results;
}

std::string timetableReportFor(ResultsTab tab, ItemKind kind) {
  const bool classes = (tab == ResultsTab::ProxiedBy) == (kind == ItemKind::Class);
  return classes ? "Class Timetable" : "Resource Timetable";
}

std::string selectTimetablesToPrint(Store& store, int school, const ProxyResults& results, ResultsTab tab,
                                    ItemKind kind, int absent) {
  Transaction tx(store);
  store.table<TRPCode>().removeAll();
  for (const Share& share : results.slices(tab)) selectItem(store, share.name, share.code);
  if (tab == ResultsTab::ProxiedBy) selectItem(store, itemName(store, school, kind, absent), absent);
  tx.commit();
  return timetableReportFor(tab, kind);
}

}  // namespace tavrel::proxy
