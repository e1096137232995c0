#include "core/proxy/proxy_results.h"

#include <gtest/gtest.h>

#include "core/grid/availability_change.h"
#include "core/store/lookups.h"
#include "tests/core/proxy/proxy_school.h"

namespace tavrel::proxy {
namespace {

using namespace store;
using testing::ProxySchool;

// ADAMS teaches 1A Maths at day 1 period 1 and 1B Art at day 2 period 2. BAKER is away at day 2
// period 2, so BAKER takes 1A's period and CLARK 1B's.
class ProxyResultsTest : public ::testing::Test {
 protected:
  ProxyResultsTest() {
    school.lesson({.cls = school.x, .resource = school.adams, .subject = school.maths, .periods = 1},
                  {{1, 1}});
    school.lesson({.cls = school.y, .resource = school.adams, .subject = school.art, .periods = 1}, {{2, 2}});
    grid::makeNotAvailable(school.session(), {grid::GridKind::Resource, school.baker}, 2, 2);
    outcome = school.run(school.table(ItemKind::Resource, school.adams), {school.baker, school.clark});
    results = resultsOf(school.store(), 1, Operation::Proxy, outcome);
  }

  ProxySchool school;
  ProxyOutcome outcome;
  ProxyResults results;
};

TEST_F(ProxyResultsTest, ProxiedByShowsEachSubstituteAndProxiedToEachPartner) {
  EXPECT_EQ(results.proxiedBy, (std::vector<Share>{{school.baker, "BAKER", 1}, {school.clark, "CLARK", 1}}));
  EXPECT_EQ(results.proxiedTo, (std::vector<Share>{{school.x, "1A", 1}, {school.y, "1B", 1}}));
  EXPECT_TRUE(school.auditPasses());
}

TEST_F(ProxyResultsTest, TheTitleNamesTheSchoolAndTheRun) {
  ASSERT_FALSE(outcome.date.empty());
  EXPECT_EQ(results.titleLines(),
            (std::vector<std::string>{schoolName(school.store(), 1),
                                      "2/2 periods proxied (" + outcome.date + " " + outcome.time + ")"}));
}

TEST_F(ProxyResultsTest, FailedRestorationAddsALineAndUndoItsOwnWords) {
  ProxyOutcome undone = outcome;
  undone.total = 5;
  undone.done = 2;
  undone.failedRestoration = 1;
  const ProxyResults shown = resultsOf(school.store(), 1, Operation::UndoProxy, undone);
  EXPECT_EQ(shown.runLine, "2/5 proxy periods undone (" + outcome.date + " " + outcome.time + ")");
  EXPECT_EQ(shown.failedLine, "1/3 failed restoration");
  EXPECT_EQ(shown.titleLines().size(), 3u);
}

TEST_F(ProxyResultsTest, PrintingATabsTimetablesSelectsItsItems) {
  auto selected = [&] {
    std::vector<std::string> names;
    for (const TRPCode& row : school.store().table<TRPCode>().range(TRPCode::primary))
      names.push_back(row.RPTNAME);
    return names;
  };
  EXPECT_EQ(selectTimetablesToPrint(school.store(), 1, results, ResultsTab::ProxiedBy, ItemKind::Resource,
                                    school.adams),
            "Resource Timetable");
  EXPECT_EQ(selected(), (std::vector<std::string>{"ADAMS", "BAKER", "CLARK"}));
  EXPECT_EQ(selectTimetablesToPrint(school.store(), 1, results, ResultsTab::ProxiedTo, ItemKind::Resource,
                                    school.adams),
            "Class Timetable");
  EXPECT_EQ(selected(), (std::vector<std::string>{"1A", "1B"}));
  EXPECT_EQ(timetableReportFor(ResultsTab::ProxiedBy, ItemKind::Class), "Class Timetable");
  EXPECT_EQ(timetableReportFor(ResultsTab::ProxiedTo, ItemKind::Class), "Resource Timetable");
}

}  // namespace
}  // namespace tavrel::proxy
