#include "core/store/day_words.h"

#include <gtest/gtest.h>

#include "core/store/store.h"
#include "core/store/week_frame.h"
#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

TEST(WeekFrame, SplitsDaysAndPeriods) {
  EXPECT_EQ(daysInCycle(912), 9);
  EXPECT_EQ(periodsPerDay(912), 12);
  EXPECT_EQ(daysInCycle(608), 6);
  EXPECT_EQ(periodsPerDay(608), 8);
  EXPECT_EQ(daysInCycle(105), 1);
  EXPECT_EQ(periodsPerDay(105), 5);
}

struct DayCase {
  const char* name;
  int day;
  int swrkdays;
  std::string_view sregn;
  std::string_view expected;
};

class DayWordsNames : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayWordsNames, TheDay) {
  const DayCase& c = GetParam();
  EXPECT_EQ(DayWords(c.day, c.swrkdays, c.sregn), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DayWordsNames,
    ::testing::Values(DayCase{"StandardStartsOnMonday", 1, 612, "STANDARD", "Monday"},
                      DayCase{"StandardSeventhDayIsSunday", 7, 712, "STANDARD", "Sunday"},
                      DayCase{"DayEightIsNeverAWeekday", 8, 612, "STANDARD", "Day8"},
                      DayCase{"DayNineIsNeverAWeekday", 9, 512, "GULF", "Day9"},
                      DayCase{"EightDayCycleIsNumbered", 1, 812, "STANDARD", "Day1"},
                      DayCase{"NineDayCycleIsNumbered", 7, 912, "GULF", "Day7"},
                      DayCase{"GulfStartsOnSaturday", 1, 612, "GULF", "Saturday"},
                      DayCase{"GulfThirdDayIsMonday", 3, 612, "GULF", "Monday"},
                      DayCase{"GulfSeventhDayIsFriday", 7, 712, "GULF", "Friday"},
                      DayCase{"AnyOtherSetupStartsOnSaturday", 2, 612, "standard", "Sunday"},
                      DayCase{"EmptySetupStartsOnSaturday", 1, 512, "", "Saturday"},
                      DayCase{"DayZeroHasNoName", 0, 612, "STANDARD", ""},
                      DayCase{"DayTenHasNoName", 10, 912, "STANDARD", ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DayWords, ReadsTheWeekOfASchoolRecord) {
  TSchl school;
  school.SWRKDAYS = 508;
  school.SREGN = "STANDARD";
  EXPECT_EQ(DayWords(5, school), "Friday");
  school.SREGN = "GULF";
  EXPECT_EQ(DayWords(5, school), "Wednesday");
}

TEST(Fill_DayList, NamesTheNineDaysInOrder) {
  EXPECT_EQ(Fill_DayList(612, "STANDARD"),
            (std::vector<std::string>{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                                      "Sunday", "Day8", "Day9"}));
  EXPECT_EQ(Fill_DayList(912, "GULF"), (std::vector<std::string>{"Day1", "Day2", "Day3", "Day4", "Day5",
                                                                 "Day6", "Day7", "Day8", "Day9"}));
}

TEST(GetDay, GivesTheTitleOfTheNthDayRecordOfTheSchool) {
  testing::TempFolder folder;
  auto opened = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
  ASSERT_TRUE(opened.ok()) << opened.error();
  Store& store = *opened.value();
  auto& dates = store.table<TRPDate>();
  // Inserted out of order and with a gap: the n-th record counts records, not day numbers.
  for (auto [school, number, title] :
       {std::tuple{1, 5, "Fri"}, std::tuple{1, 2, "Tue"}, std::tuple{2, 1, "Sat"}, std::tuple{1, 1, "Mon"}}) {
    TRPDate row;
    row.RPDSCHL = school;
    row.RPDNO = number;
    row.RPDDAY = title;
    ASSERT_EQ(dates.insert(row), WriteStatus::Ok);
  }
  EXPECT_EQ(GetDay(store, 1, 1), "Mon");
  EXPECT_EQ(GetDay(store, 1, 2), "Tue");
  EXPECT_EQ(GetDay(store, 1, 3), "Fri");
  EXPECT_EQ(GetDay(store, 1, 4), "");
  EXPECT_EQ(GetDay(store, 1, 0), "");
  EXPECT_EQ(GetDay(store, 2, 1), "Sat");
  EXPECT_EQ(GetDay(store, 3, 1), "");
}

}  // namespace
}  // namespace tavrel::store
