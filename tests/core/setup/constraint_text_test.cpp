#include "core/setup/constraint_text.h"

#include <gtest/gtest.h>

namespace tavrel::setup {
namespace {

struct TextCase {
  const char* name;
  std::vector<Condition> conditions;
  std::string text;
};

class ConstraintTextOf : public ::testing::TestWithParam<TextCase> {};

TEST_P(ConstraintTextOf, IsWrittenAsTheWindowWritesIt) {
  EXPECT_EQ(constraintText(GetParam().conditions), GetParam().text);
}

TEST_P(ConstraintTextOf, ReadsBackIntoTheSameConditions) {
  const auto parsed = parseConstraint(GetParam().text);
  ASSERT_TRUE(parsed.ok()) << parsed.error();
  EXPECT_EQ(parsed.value(), GetParam().conditions);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConstraintTextOf,
    ::testing::Values(
        TextCase{"NoCondition", {}, "None"},
        TextCase{
            "DayEqualTo", {{Dimension::Day, Comparison::EqualTo, {"MONDAY"}}}, "(DAY equal to \"MONDAY\")"},
        TextCase{"PeriodRange",
                 {{Dimension::Period, Comparison::InTheRange, {"2", "5"}}},
                 "(PERIOD in the range \"2\" through \"5\")"},
        TextCase{"PeriodBefore",
                 {{Dimension::Period, Comparison::BeforeAndEqualTo, {"12"}}},
                 "(PERIOD before and equal to \"12\")"},
        TextCase{"DayAfter",
                 {{Dimension::Day, Comparison::AfterAndEqualTo, {"DAY8"}}},
                 "(DAY after and equal to \"DAY8\")"},
        TextCase{"DayListThenPeriod",
                 {{Dimension::Day, Comparison::InTheList, {"MONDAY", "WEDNESDAY"}},
                  {Dimension::Period, Comparison::BeforeAndEqualTo, {"4"}}},
                 "(DAY in the list \"MONDAY\",\"WEDNESDAY\") and where (PERIOD before and equal to \"4\")"},
        TextCase{"PeriodListThenDayRange",
                 {{Dimension::Period, Comparison::InTheList, {"1", "10"}},
                  {Dimension::Day, Comparison::InTheRange, {"SATURDAY", "SATURDAY"}}},
                 "(PERIOD in the list \"1\",\"10\") and where (DAY in the range \"SATURDAY\" through "
                 "\"SATURDAY\")"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ConstraintText, TheSecondLineOfTheListStartsWithAndWhere) {
  EXPECT_EQ(secondConditionText({Dimension::Period, Comparison::EqualTo, {"3"}}),
            "and where (PERIOD equal to \"3\")");
}

TEST(ConstraintText, NoneBlankAndEmptyTextsHoldNoCondition) {
  for (std::string_view text : {"None", "", "  ", " None "}) {
    const auto parsed = parseConstraint(text);
    ASSERT_TRUE(parsed.ok()) << text;
    EXPECT_TRUE(parsed.value().empty()) << text;
  }
}

TEST(ConstraintText, StoredBlanksWrittenAsF9ReadAsBlanks) {
  const std::string rawByte =
      "(DAY\xF9"
      "equal\xF9to\xF9\"FRIDAY\")";
  const std::string unicode =
      "(DAY\xC3\xB9"
      "equal to \"FRIDAY\")";
  EXPECT_EQ(readStoredText(rawByte), "(DAY equal to \"FRIDAY\")");
  for (const std::string& stored : {rawByte, unicode}) {
    const auto parsed = parseConstraint(stored);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value(), (std::vector<Condition>{{Dimension::Day, Comparison::EqualTo, {"FRIDAY"}}}));
  }
}

TEST(ConstraintText, ValuesReadForTheirComparison) {
  EXPECT_EQ(*parseValue(Dimension::Period, Comparison::InTheRange, "\"2\" through \"5\""),
            (std::vector<std::string>{"2", "5"}));
  EXPECT_EQ(*parseValue(Dimension::Day, Comparison::InTheList, "\"DAY1\",\"DAY3\""),
            (std::vector<std::string>{"DAY1", "DAY3"}));
  EXPECT_EQ(*parseValue(Dimension::Day, Comparison::EqualTo, "\"SUNDAY\""),
            (std::vector<std::string>{"SUNDAY"}));
}

struct RefusedCase {
  const char* name;
  std::string text;
};

class ConstraintTextRefuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ConstraintTextRefuses, WhatTheWindowNeverWrites) {
  const auto parsed = parseConstraint(GetParam().text);
  ASSERT_FALSE(parsed.ok());
  EXPECT_EQ(parsed.error(), kConditionInvalid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConstraintTextRefuses,
    ::testing::Values(
        RefusedCase{"Garbage", "Anything at all"}, RefusedCase{"Unbalanced", "(DAY equal to \"MONDAY\""},
        RefusedCase{"UnclosedQuote", "(DAY equal to \"MONDAY)"},
        RefusedCase{"DoubledBlank", "(DAY  equal to \"MONDAY\")"},
        RefusedCase{"LowerCaseDimension", "(day equal to \"MONDAY\")"},
        RefusedCase{"UnknownComparison", "(PERIOD less than \"3\")"},
        RefusedCase{"PeriodThirteen", "(PERIOD equal to \"13\")"},
        RefusedCase{"PeriodZero", "(PERIOD equal to \"0\")"},
        RefusedCase{"LeadingZero", "(PERIOD equal to \"03\")"},
        RefusedCase{"DayNameInAPeriodCondition", "(PERIOD equal to \"MONDAY\")"},
        RefusedCase{"NumberInADayCondition", "(DAY equal to \"3\")"},
        RefusedCase{"DayNameWithoutDay", "(DAY equal to \"MON\")"},
        RefusedCase{"TwoItemsForEqualTo", "(DAY equal to \"MONDAY\",\"FRIDAY\")"},
        RefusedCase{"RangeWithOneItem", "(PERIOD in the range \"2\")"},
        RefusedCase{"ThroughInAList", "(PERIOD in the list \"2\" through \"4\")"},
        RefusedCase{"ListEndingInAComma", "(PERIOD in the list \"2\",)"},
        RefusedCase{"EmptyItem", "(PERIOD equal to \"\")"},
        RefusedCase{"SameDimensionTwice", "(DAY equal to \"MONDAY\") and where (DAY equal to \"FRIDAY\")"},
        RefusedCase{"SecondWithoutAndWhere", "(DAY equal to \"MONDAY\") (PERIOD equal to \"3\")"},
        RefusedCase{"ThreeConditions",
                    "(DAY equal to \"MONDAY\") and where (PERIOD equal to \"3\") and where (DAY equal to "
                    "\"FRIDAY\")"},
        RefusedCase{"TrailingText", "(DAY equal to \"MONDAY\")x"},
        RefusedCase{"ZeroByte", std::string("(DAY equal to \"MON\0DAY\")", 24)},
        RefusedCase{"LongerThanTheField", "(PERIOD in the list \"1\"" + std::string(240, ' ') + ")"},
        RefusedCase{"LongerThanTheFieldThoughWellFormed",
                    [] {
                      std::string text = "(PERIOD in the list \"1\"";
                      for (int i = 0; i < 60; ++i) text += ",\"1\"";
                      return text + ")";
                    }()}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace tavrel::setup
