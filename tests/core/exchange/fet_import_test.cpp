#include "core/exchange/fet_import.h"

#include <gtest/gtest.h>

#include "core/exchange/fet_export.h"
#include "tests/core/exchange/import_fixture.h"

namespace tavrel::exchange {
namespace {

using fixture::indentsOf;
using fixture::limitOf;
using fixture::named;

ImportedSchool readSmall() {
  auto imported = importFet(fixture::text("small.fet"), {"SMALL FET"});
  EXPECT_TRUE(imported.ok()) << (imported.ok() ? "" : imported.error());
  return imported.ok() ? std::move(*imported) : ImportedSchool{};
}

TEST(FetImport, StudentsSetsBecomeClassesAndGroupClassesOfTheirSmallestParts) {
  const SchoolDocument document = readSmall().document;
  EXPECT_EQ(document.days, 3);
  EXPECT_EQ(document.periodsPerDay, 4);
  EXPECT_TRUE(named(document.classes, "7A1")->members.empty());
  EXPECT_TRUE(named(document.classes, "7B")->members.empty());
  EXPECT_TRUE(named(document.classes, "8")->members.empty());
  EXPECT_EQ(named(document.classes, "7A")->members, (std::vector<std::string>{"7A1", "7A2"}));
  EXPECT_EQ(named(document.classes, "7")->members, (std::vector<std::string>{"7A1", "7A2", "7B"}));
  // Two sets in one activity: a group class of both; two teachers, or a teacher and a fixed room: a group resource.
  EXPECT_EQ(indentsOf(document, "LAB").at(0).className, "7A1+8");
  EXPECT_EQ(indentsOf(document, "LAB").at(0).resource, "BOB+LAB1");
  EXPECT_EQ(indentsOf(document, "SPORT").at(0).resource, "ANN+BOB");
  EXPECT_EQ(named(document.resources, "ANN+BOB")->members, (std::vector<std::string>{"ANN", "BOB"}));
}

TEST(FetImport, SplitActivitiesBecomeIndentsWithTheirBlocksAndSpread) {
  const SchoolDocument document = readSmall().document;
  struct Case {
    const char* cls;
    const char* subject;
    std::vector<std::tuple<int, int, bool>> indents;  // periods, cluster size, one per day
    int subjectLimit;
  };
  const Case cases[] = {
      {"8", "MATH", {{3, 0, true}}, 4},                  // three singles, min days 1 at 100 %
      {"7A", "ART", {{1, 0, false}, {2, 2, false}}, 2},  // a double and a single, min days 1: not the same day
      {"7", "SPORT", {{2, 2, false}}, 4},                // one double
      {"7B", "MATH", {{1, 0, false}, {2, 0, false}}, 4},  // Ann's single, and Bob's pair whose min days is at 95 %
  };
  for (const Case& c : cases) {
    std::vector<std::tuple<int, int, bool>> got;
    for (const IndentEntry& indent : indentsOf(document, c.subject))
      if (indent.className == c.cls) got.emplace_back(indent.periods, indent.clusterSize, indent.onePerDay);
    EXPECT_EQ(got, c.indents) << c.cls << " " << c.subject;
    EXPECT_EQ(limitOf(document.subjectLimits, c.cls, c.subject), c.subjectLimit) << c.cls << " " << c.subject;
  }
}

TEST(FetImport, TimeAndSpaceConstraintsBecomeAvailabilityLimitsAndConstraints) {
  const SchoolDocument document = readSmall().document;
  EXPECT_EQ(document.notAvailable, (std::vector<Slot>{{3, 4}}));
  // The school's break holds for every class and resource as well.
  EXPECT_EQ(named(document.resources, "BOB")->notAvailable, (std::vector<Slot>{{1, 1}, {1, 2}, {3, 4}}));
  EXPECT_EQ(named(document.resources, "LAB1")->notAvailable, (std::vector<Slot>{{2, 1}, {3, 4}}));
  EXPECT_EQ(named(document.resources, "HALL"), nullptr);  // no lesson is fixed to it
  // A students set's unavailability holds for the set and every part of it.
  for (const char* cls : {"7A", "7A1", "7A2"})
    EXPECT_EQ(named(document.classes, cls)->notAvailable, (std::vector<Slot>{{2, 4}, {3, 4}})) << cls;
  EXPECT_EQ(named(document.classes, "7B")->notAvailable, (std::vector<Slot>{{3, 4}}));
  EXPECT_EQ(named(document.resources, "ANN")->perDay, 3);
  EXPECT_EQ(named(document.resources, "ANN")->sequence, 2);
  EXPECT_EQ(named(document.resources, "BOB")->sequence, 2);
  const auto ann7b = indentsOf(document, "MATH");
  auto preferred = std::find_if(ann7b.begin(), ann7b.end(), [](const IndentEntry& indent) {
    return indent.className == "7B" && indent.resource == "ANN";
  });
  ASSERT_NE(preferred, ann7b.end());
  EXPECT_EQ(preferred->constraint, "(DAY equal to \"MONDAY\") and where (PERIOD equal to \"1\")");
  EXPECT_EQ(indentsOf(document, "LAB").at(0).constraint, "None");  // Monday 10:00 and Tuesday 08:00
}

TEST(FetImport, TheReportCountsWhatWasLeftOutByKind) {
  const auto dropped = readSmall().report.droppedKinds();
  const std::pair<const char*, int> expected[] = {
      {"Activity without a teacher or a fixed room", 1},
      {"ConstraintActivityPreferredRooms", 1},
      {"ConstraintMinDaysBetweenActivities (weight below hard)", 1},
      {"ConstraintRoomNotAvailableTimes of a room no lesson is fixed to", 1},
      {"ConstraintTeacherMaxDaysPerWeek (inactive)", 1},
      {"ConstraintTeacherMaxGapsPerWeek", 1},
      {"Inactive activity", 1},
      {"Preferred times that are not some hours on some days", 1},
  };
  EXPECT_EQ(dropped.size(), std::size(expected));
  for (const auto& [kind, count] : expected) {
    ASSERT_TRUE(dropped.count(kind)) << kind;
    EXPECT_EQ(dropped.at(kind), count) << kind;
  }
}

TEST(FetImport, BadInputIsRefusedNamingTheElement) {
  const std::string small = fixture::text("small.fet");
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"<fet", "The file is not XML"},
      {"<HighSchoolTimetableArchive/>", "The root element is <HighSchoolTimetableArchive>, not <fet>"},
      {fixture::replaced(small, "<Number_of_Days>3</Number_of_Days>", "<Number_of_Days>10</Number_of_Days>"),
       "The week has 10 days of 4 periods; a school's week holds at most 9 days of 12 periods."},
      {fixture::replaced(small, "<Number_of_Hours>4</Number_of_Hours>", "<Number_of_Hours>13</Number_of_Hours>"),
       "The week has 3 days of 13 periods"},
      {fixture::replaced(small, "<Teacher>Bob</Teacher><Subject>Art</Subject>", "<Teacher>Eve</Teacher><Subject>Art</Subject>"),
       "Activity 4 names teacher \"Eve\", which <Teachers_List> does not hold."},
      {fixture::replaced(small, "<Students>8</Students>", "<Students>9</Students>"),
       "Activity 1 names students \"9\", which <Students_List> does not hold."},
      {fixture::replaced(small, "<Day>Wed</Day><Hour>11:00</Hour>", "<Day>Sun</Day><Hour>11:00</Hour>"),
       "<ConstraintBreakTimes> names day \"Sun\", which <Days_List> does not hold."},
  };
  for (const Case& c : cases) {
    auto imported = importFet(c.text, {"X"});
    ASSERT_FALSE(imported.ok()) << c.error;
    EXPECT_NE(imported.error().find(c.error), std::string::npos) << imported.error();
  }
}

TEST(FetImport, TheDocumentRoundTripsThroughTheExchangeFormat) {
  fixture::expectRoundTrip(readSmall().document);
}

// Written as a FET file and read back, a school keeps its lessons' blocks, spread, constraints,
// availability and limits: FET is given the problem Tavrel allocates.
TEST(FetExport, ReadingTheWrittenFileGivesTheSameLessons) {
  const SchoolDocument document = readSmall().document;
  const FetExport written = toFet(document);
  auto again = importFet(written.text, {"AGAIN"});
  ASSERT_TRUE(again.ok()) << again.error();
  const auto shape = [](const SchoolDocument& school) {
    std::vector<std::tuple<std::string, int, int, bool, std::string>> result;
    for (const IndentEntry& indent : school.indents)
      result.emplace_back(indent.subject, indent.periods, indent.clusterSize, indent.onePerDay, indent.constraint);
    std::sort(result.begin(), result.end());
    return result;
  };
  EXPECT_EQ(shape(again->document), shape(document));
  EXPECT_EQ(again->document.notAvailable, document.notAvailable);
  EXPECT_EQ(named(again->document.resources, "BOB")->notAvailable, named(document.resources, "BOB")->notAvailable);
  EXPECT_EQ(named(again->document.resources, "ANN")->perDay, 3);
  EXPECT_EQ(named(again->document.resources, "ANN")->sequence, 2);
  EXPECT_EQ(named(again->document.classes, "7A1")->notAvailable, (std::vector<Slot>{{2, 4}, {3, 4}}));
  EXPECT_EQ(limitOf(again->document.subjectLimits, "8", "MATH"), 4);
  EXPECT_TRUE(written.leftOut.empty() || written.leftOut.front().find("group") != std::string::npos);
}

}  // namespace
}  // namespace tavrel::exchange
