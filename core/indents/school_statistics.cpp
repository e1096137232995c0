#include "core/indents/school_statistics.h"

#include <algorithm>

#include "core/store/lookups.h"
#include "core/store/priority_categories.h"

namespace tavrel::indents {

using namespace store;

namespace {

void addTo(std::vector<PeriodsOf>& totals, const std::string& name, int periods) {
  auto found = std::find_if(totals.begin(), totals.end(), [&](const PeriodsOf& t) { return t.name == name; });
  if (found == totals.end()) {
    totals.push_back({name, periods});
  } else {
    found->periods += periods;
  }
}

void addBars(ChartPage& page, const std::vector<PeriodsOf>& totals) {
  for (const PeriodsOf& bar : totals)
    page.slices.push_back({bar.name, bar.periods, listColour(page.slices.size())});
}

}  // namespace

SchoolStatistics schoolStatistics(Session& session, const std::string& dateStamp,
                                  const std::optional<std::string>& elapsed) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const std::string schoolTitle = schoolName(store, school);
  SchoolStatistics stats;
  stats.caption = schoolTitle + " - Statistics";
  // `ALLOFLAG` walks the active indents in letter order, so the indents of one letter come together.
  store.table<TAlloc>().forEach(TAlloc::ALLOFLAG, {school, "Y"}, [&](const TAlloc& indent) {
    if (stats.letters.empty() || stats.letters.back().name != indent.APRIORITY) {
      stats.letters.push_back({indent.APRIORITY, 0});
    }
    stats.letters.back().periods += indent.ANOOFLEC;
    addTo(stats.categories, Figure_category(indent.APRIORITY.empty() ? ' ' : indent.APRIORITY[0]),
          indent.ANOOFLEC);
    stats.total += indent.ANOOFLEC;
    if (indent.APRIORITY == "Z") stats.simple += indent.ANOOFLEC;
    stats.allocated += indent.ANOLECALL;
    stats.notAllocated += indent.ANOOFLEC - indent.ANOLECALL;
  });
  stats.percentAllocated = stats.total > 0 ? stats.allocated * 100 / stats.total : 0;

  const std::string totalLine = "Total periods : " + std::to_string(stats.total);
  auto page = [&](const char* caption, const char* title) {
    ChartPage made;
    made.caption = caption;
    made.title = {schoolTitle, title + dateStamp + ")", totalLine};
    return made;
  };

  ChartPage categories = page("Period Distribution (Category)", "Period Distribution - Category(");
  addBars(categories, stats.categories);
  categories.advice = {"Best allocations are attained by keping less periods under higer categories ",
                       "(SPECIFIC,GROUP,CLUSTER...) and more periods under lower categories",
                       "(CONSTRAINT,SIMPLE...). Most periods should be kept under SIMPLE."};

  ChartPage letters = page("Period Distribution (Priority)", "Period Distribution - Priority(");
  addBars(letters, stats.letters);
  letters.advice = {"Best allocations are attained by keping less periods under",
                    "higer priorities (A, B, C...) and more periods under lower ",
                    "priorities (X,Y,Z...). Most periods should be kept under Z."};

  ChartPage simple =
      page("Period Distribution (Simple Vs Controlled)", "Period Distribution - Simple Vs Controlled(");
  addSlice(simple, "Simple", stats.simple, Colour::Yellow);
  addSlice(simple, "Controlled", stats.total - stats.simple, Colour::Red);
  simple.advice = {"Best allocations are obtained by controlling less number of periods."};

  ChartPage status = page("Allocation Status", "Allocation Status (");
  status.title.push_back("Allocation Status : " + std::to_string(stats.percentAllocated) + "%");
  if (elapsed) status.title.push_back("Time Elapsed : " + *elapsed);
  addSlice(status, "Allocated", stats.allocated, Colour::Yellow);
  addSlice(status, "Not Allocated", stats.notAllocated, Colour::Blue);

  stats.pages = {categories, letters, simple, status};
  return stats;
}

}  // namespace tavrel::indents
