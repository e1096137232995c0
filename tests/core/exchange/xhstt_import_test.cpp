#include "core/exchange/xhstt_import.h"

#include <gtest/gtest.h>

#include "tests/core/exchange/import_fixture.h"

namespace tavrel::exchange {
namespace {

using fixture::indentsOf;
using fixture::limitOf;
using fixture::named;

ImportedSchool readSmall(XhsttOptions options = {"SMALL"}) {
  auto imported = importXhstt(fixture::text("small.xhstt.xml"), options);
  EXPECT_TRUE(imported.ok()) << (imported.ok() ? "" : imported.error());
  return imported.ok() ? std::move(*imported) : ImportedSchool{};
}

TEST(XhsttImport, TheWeekClassesAndResourcesComeFromTimesAndResourceTypes) {
  const ImportedSchool school = readSmall();
  const SchoolDocument& document = school.document;
  EXPECT_EQ(document.name, "SMALL");
  EXPECT_EQ(document.days, 3);
  EXPECT_EQ(document.periodsPerDay, 4);
  ASSERT_NE(named(document.classes, "C1"), nullptr);
  ASSERT_NE(named(document.classes, "C2"), nullptr);
  ASSERT_NE(named(document.resources, "T1"), nullptr);
  ASSERT_NE(named(document.resources, "R1"), nullptr);
  // An event of two classes is taught to a group class, one of a teacher and a room by a group resource.
  ASSERT_NE(named(document.classes, "C1+C2"), nullptr);
  EXPECT_EQ(named(document.classes, "C1+C2")->members, (std::vector<std::string>{"C1", "C2"}));
  EXPECT_EQ(indentsOf(document, "JOINT").at(0).className, "C1+C2");
  EXPECT_EQ(named(document.resources, "R1+T2")->members, (std::vector<std::string>{"R1", "T2"}));
  EXPECT_EQ(indentsOf(document, "LAB").at(0).resource, "R1+T2");
}

TEST(XhsttImport, HardConstraintsBecomeAvailabilityLimitsAndAllocationConstraints) {
  const SchoolDocument document = readSmall().document;
  EXPECT_EQ(named(document.resources, "T1")->notAvailable, (std::vector<Slot>{{3, 1}, {3, 2}, {3, 3}, {3, 4}}));
  EXPECT_TRUE(named(document.resources, "T1")->partTime);
  EXPECT_EQ(named(document.classes, "C2")->notAvailable, (std::vector<Slot>{{1, 4}}));
  // The soft unavailability of T2 is left out, its hard per-day limit kept.
  EXPECT_TRUE(named(document.resources, "T2")->notAvailable.empty());
  EXPECT_EQ(named(document.resources, "T2")->perDay, 3);
  EXPECT_EQ(named(document.resources, "T1")->perDay, 4);  // no limit stated: the whole day
  EXPECT_EQ(indentsOf(document, "PREFERRED").at(0).constraint,
            "(DAY before and equal to \"TUESDAY\") and where (PERIOD before and equal to \"2\")");
  // Monday 1 and Tuesday 2 are not some periods on some days: no constraint, and the report says so.
  EXPECT_EQ(indentsOf(document, "OPEN").at(0).constraint, "None");
}

TEST(XhsttImport, EventsAreCutIntoBlocksByTheirSplitAndSpreadConstraints) {
  const SchoolDocument document = readSmall().document;
  struct Case {
    const char* subject;
    std::vector<std::tuple<int, int, bool>> indents;  // periods, cluster size, one per day
    int subjectLimit;
  };
  const Case cases[] = {
      {"MATHS", {{2, 0, false}}, 4},               // no split constraint: singles
      {"LONG", {{4, 2, false}}, 4},                // split into exactly 2 periods: 2 blocks of 2
      {"SPREAD", {{3, 0, true}}, 4},               // at most one a day over three open days: singles one per day
      {"TIGHT", {{1, 0, false}, {2, 2, false}}, 2},  // T1 has two days: a double and a single, not the same day
  };
  for (const Case& c : cases) {
    std::vector<std::tuple<int, int, bool>> got;
    for (const IndentEntry& indent : indentsOf(document, c.subject)) {
      got.emplace_back(indent.periods, indent.clusterSize, indent.onePerDay);
      EXPECT_TRUE(indent.active) << c.subject;
      if (indent.clusterSize > 0) {
        EXPECT_EQ(indent.clustersPerWeek * indent.clusterSize, indent.periods) << c.subject;
      }
    }
    EXPECT_EQ(got, c.indents) << c.subject;
    EXPECT_EQ(limitOf(document.subjectLimits, indentsOf(document, c.subject).at(0).className, c.subject),
              c.subjectLimit)
        << c.subject;
  }
}

// Each lesson alone could be taught as singles on Monday and Tuesday, but the teacher has one period
// on Tuesday for both: one of them becomes a double.
TEST(XhsttImport, ALessonIsCutIntoFewerBlocksWhenItsTeachersDayIsFull) {
  auto imported = importXhstt(fixture::text("small.xhstt.xml"), {"X", "Crowded"});
  ASSERT_TRUE(imported.ok()) << imported.error();
  std::vector<std::pair<int, bool>> shapes;
  for (const IndentEntry& indent : imported->document.indents) shapes.emplace_back(indent.clusterSize, indent.onePerDay);
  std::sort(shapes.begin(), shapes.end());
  EXPECT_EQ(shapes, (std::vector<std::pair<int, bool>>{{0, true}, {2, false}}));
  const auto& notes = imported->report.notes();
  EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const std::string& note) {
    return note.find("fewer blocks, a day of its teacher or class being full") != std::string::npos;
  }));
}

TEST(XhsttImport, TheReportCountsWhatWasLeftOutByKind) {
  const MappingReport report = readSmall().report;
  const auto& dropped = report.droppedKinds();
  EXPECT_EQ(dropped.at("AvoidUnavailableTimesConstraint (soft)"), 1);
  EXPECT_EQ(dropped.at("LimitIdleTimesConstraint (soft)"), 1);
  EXPECT_EQ(dropped.at("ClusterBusyTimesConstraint"), 1);
  EXPECT_EQ(dropped.at("Event without a class"), 1);
  EXPECT_EQ(dropped.at("Time preassigned to an event"), 1);
  EXPECT_EQ(dropped.at("Resource of an event left for the solver to assign"), 1);
  EXPECT_EQ(dropped.at("PreferTimesConstraint whose times are not some periods on some days"), 1);
  const std::string text = report.text();
  EXPECT_NE(text.find("Resource type Teacher: 2 resources → resources"), std::string::npos) << text;
  EXPECT_NE(text.find("Blocks: 1 lessons as blocks of 2 and singles on distinct days"), std::string::npos) << text;
}

TEST(XhsttImport, WeightAsHardKeepsHeavySoftConstraints) {
  const SchoolDocument document = readSmall({"SMALL", "", 5}).document;
  EXPECT_EQ(named(document.resources, "T2")->notAvailable, (std::vector<Slot>{{1, 1}}));
}

TEST(XhsttImport, BadInputIsRefusedNamingTheElement) {
  const std::string small = fixture::text("small.xhstt.xml");
  struct Case {
    std::string text;
    std::string instance;
    std::string error;
  };
  const Case cases[] = {
      {"this is not XML", "", "The file is not XML"},
      {"<fet version=\"6\"/>", "", "The root element is <fet>, not <HighSchoolTimetableArchive>"},
      {small, "Nowhere", "The archive has no instance \"Nowhere\"; it holds Small, Uneven, Large, Crowded."},
      {small, "Uneven", "The days have different numbers of periods (Mo 2, Tu 1)"},
      {small, "Large", "The week has 10 days of 1 periods; a school's week holds at most 9 days of 12 periods."},
      {fixture::replaced(small, "<Resource Reference=\"C1\"><Role>C1</Role>", "<Resource Reference=\"C9\"><Role>C1</Role>"),
       "", "<Event Id=\"Maths\"> refers to resource \"C9\", which the instance does not define."},
      {fixture::replaced(small, "<Time Reference=\"We_1\"/>", "<Time Reference=\"Sa_1\"/>"), "",
       "<AvoidUnavailableTimesConstraint Id=\"T1Off\"> refers to time \"Sa_1\", which the instance does not define."},
      {fixture::replaced(small, "<Duration>2</Duration>", "<Duration>two</Duration>"), "",
       "<Event Id=\"Maths\">: <Duration> holds \"two\", which is not a whole number."},
  };
  for (const Case& c : cases) {
    auto imported = importXhstt(c.text, {"X", c.instance});
    ASSERT_FALSE(imported.ok()) << c.error;
    EXPECT_NE(imported.error().find(c.error), std::string::npos) << imported.error();
  }
}

TEST(XhsttImport, TheDocumentRoundTripsThroughTheExchangeFormat) {
  fixture::expectRoundTrip(readSmall().document);
}

}  // namespace
}  // namespace tavrel::exchange
