#include "core/indents/active_grid_statistics.h"

#include <algorithm>

#include "core/setup/subjects.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

std::vector<TAlloc> activeIndents(Store& store, int school, char view, int code) {
  const int index = view == 'C' ? TAlloc::ALLOCLAS : view == 'T' ? TAlloc::ALLOTEAC : TAlloc::ALLOSUBJ;
  return store.table<TAlloc>().range(index, {school, "Y", code});
}

std::string itemName(Store& store, int school, char view, int code) {
  if (view == 'C') return className(store, school, code);
  if (view == 'T') return resourceName(store, school, code);
  return subjectName(store, code);
}

NameTotals& entry(std::vector<NameTotals>& table, const std::string& name) {
  auto found = std::find_if(table.begin(), table.end(), [&](const NameTotals& t) { return t.name == name; });
  if (found != table.end()) return *found;
  table.push_back({name});
  return table.back();
}

void add(NameTotals& totals, const TAlloc& indent) {
  totals.indented += indent.ANOOFLEC;
  totals.allocated += indent.ANOLECALL;
  totals.incomplete += indent.ANOOFLEC - indent.ANOLECALL;
}

// The item's own counters become the sums over its active indents.
void rewriteSoloCounters(Store& store, int school, char view, int code, int indented, int allocated) {
  if (view == 'C') {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
    if (!row || (row->CLSREQLEC == indented && row->CLSTOTALL == allocated)) return;
    row->CLSREQLEC = indented;
    row->CLSTOTALL = allocated;
    store.table<TClas>().update(*row);
  } else if (view == 'T') {
    auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
    if (!row || (row->TCHREQLEC == indented && row->TALLOCLEC == allocated)) return;
    row->TCHREQLEC = indented;
    row->TALLOCLEC = allocated;
    store.table<TTeac>().update(*row);
  } else {
    TSctl row = setup::ensureSubjectLink(store, school, code);
    if (row.SCTREQLEC == indented && row.SCTTOTALL == allocated) return;
    row.SCTREQLEC = indented;
    row.SCTTOTALL = allocated;
    store.table<TSctl>().update(row);
  }
}

struct GroupCounters {
  int available = 0;
  int indented = 0;
  int allocated = 0;
};

GroupCounters groupCounters(Store& store, int school, char view, int code, int indentedSum) {
  if (view == 'C') {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code}).value_or(TClas{});
    return {row.CLSTOTLEC, row.CLSREQMLT, row.CLSMLTALL};
  }
  if (view == 'T') {
    auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code}).value_or(TTeac{});
    return {row.TCHTOTLEC, row.TCHREQMLT, row.TCHMLTALL};
  }
  return {indentedSum, 0, 0};
}

void addNameSlices(ChartPage& page, const std::vector<NameTotals>& table, int NameTotals::*value) {
  for (const NameTotals& totals : table) {
    addSlice(page, totals.name, totals.*value, listColour(page.slices.size()));
  }
}

}  // namespace

ActiveGridStatistics activeGridStatistics(Session& session, char view, int code,
                                          const std::string& dateStamp) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const std::string name = itemName(store, school, view, code);
  ActiveGridStatistics stats;
  stats.caption = name + " - Statistics";

  Transaction tx(store);
  for (const TAlloc& indent : activeIndents(store, school, view, code)) {
    ++stats.activeIndents;
    (indent.ANOLECALL == indent.ANOOFLEC ? stats.completeIndents : stats.incompleteIndents) += 1;
    stats.indented += indent.ANOOFLEC;
    stats.allocated += indent.ANOLECALL;
    stats.incomplete += indent.ANOOFLEC - indent.ANOLECALL;
    add(entry(stats.firstDimension, view == 'T' ? L_ACLASSNM(store, indent) : L_ATEACHERNM(store, indent)),
        indent);
    add(entry(stats.secondDimension, view == 'S' ? L_ACLASSNM(store, indent) : L_ASUBJECTNM(store, indent)),
        indent);
  }
  if (stats.activeIndents > 0)
    rewriteSoloCounters(store, school, view, code, stats.indented, stats.allocated);
  tx.commit();
  if (stats.activeIndents > 0)
    session.flush(view == 'C' ? kFlushClasses : view == 'T' ? kFlushResources : kFlushSchoolSubjects);

  const bool items = view == 'C' || view == 'T';
  if (items) {
    store.table<TProxy>().forEach(
        TProxy::TYPFORBY, {school, std::string(1, view), code}, [&](const TProxy& row) {
          auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, row.PXBYSERIALNO});
          if (!indent) return;
          stats.proxied += indent->ANOLECALL;
          const std::string substitute =
              view == 'C' ? L_PXBYCLASSNM(store, row) : L_PXBYTEACHERNM(store, row);
          entry(stats.proxiedBy, substitute).allocated += indent->ANOLECALL;
        });
  }

  const GroupCounters group = groupCounters(store, school, view, code, stats.indented);
  const std::string schoolTitle = schoolName(store, school);
  auto page = [&](std::string caption, const std::string& piece, std::string line) {
    ChartPage made;
    made.caption = std::move(caption);
    made.title = {schoolTitle, name + piece + dateStamp + ")", std::move(line)};
    return made;
  };

  ChartPage indents = page("Active Indents", " - Active Indents (",
                           "Total Active Indents : " + std::to_string(stats.activeIndents));
  addSlice(indents, "Allocated", stats.completeIndents, Colour::Green);
  addSlice(indents, "Incomplete", stats.incompleteIndents, Colour::Blue);

  ChartPage indented = page("Indented Periods", " - Indented Periods (",
                            "Total Available Periods: " + std::to_string(group.available));
  addSlice(indented, "Indented(Solo)", stats.indented, Colour::Green);
  if (items) {
    addSlice(indented, "Indented(Group)", group.indented, Colour::Yellow);
    addSlice(indented, "Not Indented", group.available - group.indented - stats.indented, Colour::Red);
  }

  ChartPage allocated = page("Allocated Periods", " - Allocated Periods (",
                             "Total Indented Periods : " + std::to_string(stats.indented + group.indented));
  addSlice(allocated, "Allocated(Solo)", stats.allocated, Colour::Green);
  addSlice(allocated, "Incomplete(Solo)", stats.incomplete, Colour::Blue);
  if (items) {
    addSlice(allocated, "Allocated(Group)", group.allocated, Colour::Yellow);
    addSlice(allocated, "Incomplete(Group)", group.indented - group.allocated, Colour::White);
  }
  stats.pages = {indents, indented, allocated};

  const std::string first = view == 'T' ? " Class" : " Resource";
  const std::string second = view == 'S' ? " Class" : " Subject";
  struct Measure {
    const char* word;
    const char* total;
    int NameTotals::*value;
    int sum;
  };
  const Measure measures[] = {
      {"Indented", "Total Indented Periods(Solo): ", &NameTotals::indented, stats.indented},
      {"Incomplete", "Total Incomplete Periods(Solo): ", &NameTotals::incomplete, stats.incomplete},
      {"Allocated", "Total Allocated Periods(Solo): ", &NameTotals::allocated, stats.allocated},
  };
  for (const Measure& m : measures) {
    for (const auto& [dimension, table] :
         {std::pair{first, &stats.firstDimension}, std::pair{second, &stats.secondDimension}}) {
      const std::string caption = m.word + dimension;
      ChartPage byName = page(caption, " - " + caption + " (", m.total + std::to_string(m.sum));
      addNameSlices(byName, *table, m.value);
      stats.pages.push_back(byName);
    }
  }

  ChartPage proxy =
      page("Proxied By", " - Proxied By (",
           "Total Proxied Periods : " + (items ? std::to_string(stats.proxied) : std::string("N.A.")));
  addNameSlices(proxy, stats.proxiedBy, &NameTotals::allocated);
  stats.pages.push_back(proxy);
  return stats;
}

}  // namespace tavrel::indents
