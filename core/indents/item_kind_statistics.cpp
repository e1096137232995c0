#include "core/indents/item_kind_statistics.h"

#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

// One class, resource or subject link as the statistics see it.
struct Item {
  std::string name;
  std::string kind;  // "Simple", "Group", "Part Time"
  int indented = 0;
  int allocated = 0;
  int allocatedThroughGroups = 0;
  int available = 0;
  bool measuredByAvailability = true;
};

std::vector<Item> itemsOf(Store& store, int school, char view) {
  std::vector<Item> items;
  if (view == 'C') {
    for (const TClas& row : store.table<TClas>().range(TClas::primary, {school})) {
      items.push_back({row.CLSNAME, row.CLSOPTION == "Y" ? "Group" : "Simple", row.CLSREQLEC, row.CLSTOTALL,
                       row.CLSMLTALL, row.CLSTOTLEC});
    }
  } else if (view == 'T') {
    for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {school})) {
      const std::string kind = row.TCHOPTION == "Y" ? "Group" : row.TPARTTIME == "Y" ? "Part Time" : "Simple";
      items.push_back({row.TCHNAME, kind, row.TCHREQLEC, row.TALLOCLEC, row.TCHMLTALL, row.TMAXLECWK});
    }
  } else {
    for (const TSctl& row : store.table<TSctl>().range(TSctl::primary, {school})) {
      items.push_back({subjectName(store, row.SCTCODE), "Simple", row.SCTREQLEC, row.SCTTOTALL, 0, 0, false});
    }
  }
  return items;
}

const char* noun(char view) {
  return view == 'C' ? "Classes" : view == 'T' ? "Resources" : "Subjects";
}
const char* single(char view) {
  return view == 'C' ? "Class" : view == 'T' ? "Resource" : "Subject";
}

}  // namespace

ItemKindStatistics itemKindStatistics(Session& session, char view, const std::string& dateStamp) {
  Store& store = session.store();
  const int school = session.schoolCode();
  ItemKindStatistics stats;
  stats.caption = std::string(single(view)) + " Statistics";
  for (const Item& item : itemsOf(store, school, view)) {
    ++stats.total;
    (item.kind == "Group" ? stats.group : item.kind == "Part Time" ? stats.partTime : stats.simple) += 1;
    if (item.indented < 1) {
      ++stats.notIndented;
      continue;
    }
    if (item.allocated == item.indented) {
      ++stats.allocatedIndented;
    } else {
      stats.incompleteIndented.push_back({item.name, item.indented - item.allocated});
    }
    if (!item.measuredByAvailability) {
      if (item.allocated == item.indented) {
        ++stats.allocatedAvailable;
      } else {
        stats.incompleteAvailable.push_back({item.name, item.indented - item.allocated});
      }
    } else if (item.allocated + item.allocatedThroughGroups == item.available) {
      ++stats.allocatedAvailable;
    } else {
      stats.incompleteAvailable.push_back({item.name, item.available - item.allocated});
    }
  }

  const std::string schoolTitle = schoolName(store, school);
  const std::string total = std::string("Total ") + noun(view) + " : " + std::to_string(stats.total);
  auto page = [&](const char* caption, const std::string& title, const std::string& line) {
    ChartPage made;
    made.caption = caption;
    made.title = {schoolTitle, title + dateStamp + ")", line};
    return made;
  };

  ChartPage composition = page("Composition", std::string(single(view)) + " Composition (", total);
  addSlice(composition, "Simple", stats.simple, Colour::Green);
  addSlice(composition, "Group", stats.group, Colour::Yellow);
  addSlice(composition, "Part Time", stats.partTime, Colour::Red);
  stats.pages.push_back(composition);

  struct Basis {
    const char* allocatedCaption;
    const char* incompleteCaption;
    const char* word;
    int allocated;
    const std::vector<Shortfall>* incomplete;
  };
  const Basis bases[] = {
      {"Allocated (w.r.t Indented)", "Incomplete(w.r.t Indented)", "Indented", stats.allocatedIndented,
       &stats.incompleteIndented},
      {"Allocated (w.r.t Available)", "Incomplete(w.r.t. Available)", "Available", stats.allocatedAvailable,
       &stats.incompleteAvailable},
  };
  for (const Basis& basis : bases) {
    ChartPage allocated = page(basis.allocatedCaption,
                               std::string("Allocated with respect to ") + basis.word + " periods (", total);
    addSlice(allocated, "Allocated", basis.allocated, Colour::Green);
    addSlice(allocated, "Incomplete", static_cast<int>(basis.incomplete->size()), Colour::Red);
    addSlice(allocated, "Not Indented", stats.notIndented, Colour::White);
    stats.pages.push_back(allocated);
  }
  for (const Basis& basis : bases) {
    ChartPage incomplete = page(
        basis.incompleteCaption, std::string("Incomplete with respect to ") + basis.word + " periods (",
        std::string("Total Incomplete ") + noun(view) + " : " + std::to_string(basis.incomplete->size()));
    for (const Shortfall& item : *basis.incomplete) {
      addSlice(incomplete, item.name, item.periods, listColour(incomplete.slices.size()));
    }
    stats.pages.push_back(incomplete);
  }
  return stats;
}

}  // namespace tavrel::indents
