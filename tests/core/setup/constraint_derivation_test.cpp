#include "core/setup/constraint_derivation.h"

#include <gtest/gtest.h>

#include "core/store/encoded_lists.h"

namespace tavrel::setup {
namespace {

TEST(ConstraintWeek, NamesTheDaysInUpperCaseForTheWeekSetup) {
  const std::vector<std::string> standard = {"MONDAY",   "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY",
                                             "SATURDAY", "SUNDAY",  "DAY8",      "DAY9"};
  const std::vector<std::string> gulf = {"SATURDAY", "SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY",
                                         "THURSDAY", "FRIDAY", "DAY8",   "DAY9"};
  const std::vector<std::string> numbered = {"DAY1", "DAY2", "DAY3", "DAY4", "DAY5",
                                             "DAY6", "DAY7", "DAY8", "DAY9"};
  EXPECT_EQ(constraintWeek(512, "STANDARD").dayNames, standard);
  EXPECT_EQ(constraintWeek(706, "GULF").dayNames, gulf);
  EXPECT_EQ(constraintWeek(812, "STANDARD").dayNames, numbered);
  EXPECT_EQ(constraintWeek(912, "GULF").dayNames, numbered);
}

TEST(ConstraintWeek, AFrameOutsideNineDaysOfTwelvePeriodsCountsAsTheWholeFrame) {
  struct Frame {
    int swrkdays;
    int days;
    int periods;
  };
  for (const Frame& frame : {Frame{612, 6, 12}, Frame{508, 5, 8}, Frame{101, 1, 1}, Frame{0, 9, 12},
                             Frame{1013, 9, 12}, Frame{-612, 9, 12}, Frame{600, 6, 12}, Frame{99, 9, 12}}) {
    const ConstraintWeek week = constraintWeek(frame.swrkdays, "STANDARD");
    EXPECT_EQ(week.days, frame.days) << frame.swrkdays;
    EXPECT_EQ(week.periods, frame.periods) << frame.swrkdays;
    EXPECT_EQ(week.dayNames.size(), 9u);
  }
}

TEST(NoConstraint, IsTheWholeWeekWithTheFullListCutToItsField) {
  const ConstraintValues sixByEight = noConstraint(constraintWeek(608, "STANDARD"));
  EXPECT_EQ(sixByEight, (ConstraintValues{"None", 1, 8, ",1,2,3,4,5,6,7,8", 1, 6, ",1,2,3,4,5,6"}));

  const ConstraintValues full = noConstraint(constraintWeek(912, "STANDARD"));
  EXPECT_EQ(full.periodList, ",1,2,3,4,5,6,7,8,9,10,11,");
  EXPECT_EQ(store::listMembers(full.periodList), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(full.dayList, ",1,2,3,4,5,6,7,8,9");
}

struct DerivationCase {
  const char* name;
  std::string text;
  int swrkdays;
  const char* sregn;
  ConstraintValues values;
};

class DeriveConstraint : public ::testing::TestWithParam<DerivationCase> {};

TEST_P(DeriveConstraint, GivesTheRangesAndListsOfTheConditions) {
  const DerivationCase& c = GetParam();
  const auto derived = deriveConstraint(c.text, constraintWeek(c.swrkdays, c.sregn), 0);
  ASSERT_TRUE(derived.ok()) << derived.error();
  EXPECT_EQ(derived.value(), c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeriveConstraint,
    ::testing::Values(
        DerivationCase{"NoneIsTheWholeWeek",
                       "None",
                       512,
                       "STANDARD",
                       {"None", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"PeriodEqualTo",
                       "(PERIOD equal to \"3\")",
                       508,
                       "STANDARD",
                       {"(PERIOD equal to \"3\")", 3, 3, ",3", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"PeriodBefore",
                       "(PERIOD before and equal to \"4\")",
                       508,
                       "STANDARD",
                       {"(PERIOD before and equal to \"4\")", 1, 4, ",1,2,3,4", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"PeriodAfter",
                       "(PERIOD after and equal to \"6\")",
                       508,
                       "STANDARD",
                       {"(PERIOD after and equal to \"6\")", 6, 8, ",6,7,8", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"PeriodAfterTheLastIsTheLast",
                       "(PERIOD after and equal to \"8\")",
                       508,
                       "STANDARD",
                       {"(PERIOD after and equal to \"8\")", 8, 8, ",8", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"PeriodRange",
                       "(PERIOD in the range \"2\" through \"5\")",
                       508,
                       "STANDARD",
                       {"(PERIOD in the range \"2\" through \"5\")", 2, 5, ",2,3,4,5", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"PeriodListOneAndTenIsNotThreeItems",
                       "(PERIOD in the list \"1\",\"10\")",
                       512,
                       "STANDARD",
                       {"(PERIOD in the list \"1\",\"10\")", 1, 10, ",1,10", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{
            "PeriodListOfAllTwelveFitsItsField",
            "(PERIOD in the list \"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\"11\",\"12\")",
            512,
            "STANDARD",
            {"(PERIOD in the list "
             "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\"11\",\"12\")",
             1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 1, 5, ",1,2,3,4,5"}},
        DerivationCase{"DayEqualTo",
                       "(DAY equal to \"WEDNESDAY\")",
                       612,
                       "STANDARD",
                       {"(DAY equal to \"WEDNESDAY\")", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 3, 3, ",3"}},
        DerivationCase{
            "DayBefore",
            "(DAY before and equal to \"TUESDAY\")",
            612,
            "GULF",
            {"(DAY before and equal to \"TUESDAY\")", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 1, 4, ",1,2,3,4"}},
        DerivationCase{
            "DayAfterThursdayInASixDayCycle",
            "(DAY after and equal to \"THURSDAY\")",
            612,
            "STANDARD",
            {"(DAY after and equal to \"THURSDAY\")", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 4, 6, ",4,5,6"}},
        DerivationCase{"DayRange",
                       "(DAY in the range \"DAY2\" through \"DAY8\")",
                       908,
                       "STANDARD",
                       {"(DAY in the range \"DAY2\" through \"DAY8\")", 1, 8, ",1,2,3,4,5,6,7,8", 2, 8,
                        ",2,3,4,5,6,7,8"}},
        DerivationCase{
            "DayListKeepsTheWholeCycleAsItsRange",
            "(DAY in the list \"MONDAY\",\"WEDNESDAY\")",
            512,
            "STANDARD",
            {"(DAY in the list \"MONDAY\",\"WEDNESDAY\")", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 1, 5, ",1,3"}},
        DerivationCase{"DayListInAnyOrderIsStoredAscendingOnce",
                       "(DAY in the list \"FRIDAY\",\"MONDAY\",\"FRIDAY\")",
                       512,
                       "STANDARD",
                       {"(DAY in the list \"FRIDAY\",\"MONDAY\",\"FRIDAY\")", 1, 12,
                        ",1,2,3,4,5,6,7,8,9,10,11,", 1, 5, ",1,5"}},
        DerivationCase{
            "BothConditions",
            "(DAY in the list \"MONDAY\",\"WEDNESDAY\") and where (PERIOD before and equal to \"4\")",
            508,
            "STANDARD",
            {"(DAY in the list \"MONDAY\",\"WEDNESDAY\") and where (PERIOD before and equal to \"4\")", 1, 4,
             ",1,2,3,4", 1, 5, ",1,3"}},
        DerivationCase{"PeriodFirstThenDay",
                       "(PERIOD equal to \"2\") and where (DAY equal to \"DAY1\")",
                       812,
                       "STANDARD",
                       {"(PERIOD equal to \"2\") and where (DAY equal to \"DAY1\")", 2, 2, ",2", 1, 1, ",1"}},
        DerivationCase{"MondayIsTheThirdDayOfAGulfWeek",
                       "(DAY equal to \"MONDAY\")",
                       612,
                       "GULF",
                       {"(DAY equal to \"MONDAY\")", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 3, 3, ",3"}},
        DerivationCase{"StoredBlanksAndF9AreReadAsBlanks",
                       " (DAY\xF9"
                       "equal to \"FRIDAY\") ",
                       512,
                       "STANDARD",
                       {"(DAY equal to \"FRIDAY\")", 1, 12, ",1,2,3,4,5,6,7,8,9,10,11,", 5, 5, ",5"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct RefusalCase {
  const char* name;
  std::string text;
  int swrkdays;
  const char* sregn;
  int clusterSize;
  std::string message;
};

class DeriveConstraintRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DeriveConstraintRefuses, WithTheReason) {
  const RefusalCase& c = GetParam();
  const auto derived = deriveConstraint(c.text, constraintWeek(c.swrkdays, c.sregn), c.clusterSize);
  ASSERT_FALSE(derived.ok());
  EXPECT_EQ(derived.error(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeriveConstraintRefuses,
    ::testing::Values(
        RefusalCase{"NotInTheGrammar", "(DAY equal MONDAY)", 512, "STANDARD", 0,
                    "Constraint selection incomplete or invalid."},
        RefusalCase{
            "WeekdayNameAfterTheCycleGrewPastSevenDays", "(DAY equal to \"MONDAY\")", 812, "STANDARD", 0,
            "Day \"MONDAY\" is not a day of the school's 8-day week cycle. Please reselect the constraint."},
        RefusalCase{"DayCutOffWhenTheCycleGotShorter", "(DAY in the list \"MONDAY\",\"SATURDAY\")", 512,
                    "STANDARD", 0,
                    "Day \"SATURDAY\" is not a day of the school's 5-day week cycle. Please reselect the "
                    "constraint."},
        RefusalCase{
            "DayEightOfASixDayCycle", "(DAY before and equal to \"DAY8\")", 612, "GULF", 0,
            "Day \"DAY8\" is not a day of the school's 6-day week cycle. Please reselect the constraint."},
        RefusalCase{
            "NameOfNoWeekSetup", "(DAY equal to \"HOLIDAY\")", 512, "STANDARD", 0,
            "Day \"HOLIDAY\" is not a day of the school's 5-day week cycle. Please reselect the constraint."},
        RefusalCase{
            "PeriodPastTheDay", "(PERIOD after and equal to \"10\")", 508, "STANDARD", 0,
            "Period 10 is not a period of the school's 8-period day. Please reselect the constraint."},
        RefusalCase{"PeriodRangeReachingPastTheDay", "(PERIOD in the range \"2\" through \"9\")", 508,
                    "STANDARD", 0,
                    "Period 9 is not a period of the school's 8-period day. Please reselect the constraint."},
        RefusalCase{"PeriodRangeUpsideDown", "(PERIOD in the range \"5\" through \"2\")", 512, "STANDARD", 0,
                    "Period range selection invalid. Lower value exceeds the upper."},
        RefusalCase{"DayRangeUpsideDown", "(DAY in the range \"FRIDAY\" through \"MONDAY\")", 512, "STANDARD",
                    0, "Day range selection incomplete or invalid."},
        RefusalCase{"ClusterOfThreeWithoutThreeInARow", "(PERIOD in the list \"1\",\"2\",\"4\",\"5\")", 512,
                    "STANDARD", 3,
                    "Period constraint selection inconsistent with the number of periods in the cluster."},
        RefusalCase{"ClusterOfTwoOnOnePeriod", "(DAY equal to \"MONDAY\") and where (PERIOD equal to \"3\")",
                    512, "STANDARD", 2,
                    "Period constraint selection inconsistent with the number of periods in the cluster."},
        RefusalCase{"ClusterLongerThanTheFrame", "(PERIOD before and equal to \"12\")", 512, "STANDARD", 13,
                    "Period constraint selection inconsistent with the number of periods in the cluster."}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DeriveConstraint, AClusterNeedsARunOfItsSizeOnlyWhenPeriodsAreConstrained) {
  const ConstraintWeek week = constraintWeek(512, "STANDARD");
  EXPECT_TRUE(deriveConstraint("(PERIOD in the list \"1\",\"2\",\"3\")", week, 3).ok());
  EXPECT_TRUE(deriveConstraint("(PERIOD in the list \"4\",\"6\")", week, 1).ok());
  EXPECT_TRUE(deriveConstraint("(DAY equal to \"MONDAY\")", week, 12).ok());
  EXPECT_TRUE(deriveConstraint("None", week, 5).ok());
}

TEST(FitsCluster, FindsARunOfConsecutivePeriods) {
  EXPECT_TRUE(fitsCluster({4, 6}, 0));
  EXPECT_TRUE(fitsCluster({}, 1));
  EXPECT_FALSE(fitsCluster({}, 2));
  EXPECT_TRUE(fitsCluster({1, 2, 3}, 3));
  EXPECT_FALSE(fitsCluster({1, 2, 4, 5}, 3));
  EXPECT_TRUE(fitsCluster({1, 3, 7, 8, 9, 10}, 4));
  EXPECT_TRUE(fitsCluster({11, 12}, 2));
  EXPECT_FALSE(fitsCluster({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 13));
  EXPECT_FALSE(fitsCluster({1, 2}, 2147483647));
}

TEST(DeriveConstraint, ConditionsBuiltInCodeAreCheckedLikeText) {
  const ConstraintWeek week = constraintWeek(512, "STANDARD");
  const Condition day{Dimension::Day, Comparison::EqualTo, {"MONDAY"}};
  const Condition period{Dimension::Period, Comparison::EqualTo, {"3"}};
  EXPECT_TRUE(deriveConstraint({period, day}, week, 0).ok());
  EXPECT_EQ(deriveConstraint({day, day}, week, 0).error(), kConditionInvalid);
  EXPECT_EQ(deriveConstraint({day, period, period}, week, 0).error(), kConditionInvalid);
  EXPECT_EQ(deriveConstraint({{Dimension::Period, Comparison::InTheRange, {"3"}}}, week, 0).error(),
            kConditionInvalid);
  EXPECT_EQ(deriveConstraint({{Dimension::Period, Comparison::InTheList, {}}}, week, 0).error(),
            kConditionInvalid);
}

}  // namespace
}  // namespace tavrel::setup
