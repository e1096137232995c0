#include "core/setup/constraint_value_chooser.h"

#include <gtest/gtest.h>

namespace tavrel::setup {
namespace {

const ConstraintWeek kFiveDays = constraintWeek(508, "STANDARD");

struct LookCase {
  Dimension dimension;
  Comparison comparison;
  ChooserKind kind;
  std::string_view caption;
  std::string_view hint;
};

TEST(ConstraintValueChooser, ShowsTheChooserOfTheComparison) {
  for (const LookCase& c : {
           LookCase{Dimension::Period, Comparison::EqualTo, ChooserKind::Single, "Period:", "Select Period"},
           LookCase{Dimension::Day, Comparison::AfterAndEqualTo, ChooserKind::Single, "Day:", "Select Day"},
           LookCase{Dimension::Period, Comparison::InTheRange, ChooserKind::Range, "", ""},
           LookCase{Dimension::Period, Comparison::InTheList, ChooserKind::List,
                    "Period(s):", "Click checkBox to tag one or more Period(s)"},
           LookCase{Dimension::Day, Comparison::InTheList, ChooserKind::List,
                    "Day(s):", "Click checkBox to tag one or more Day(s)"},
       }) {
    const ConstraintValueChooser chooser(c.dimension, c.comparison, kFiveDays, "");
    EXPECT_EQ(chooser.kind(), c.kind);
    EXPECT_EQ(chooser.caption(), c.caption);
    EXPECT_EQ(chooser.hint(), c.hint);
  }
}

TEST(ConstraintValueChooser, OffersEveryPeriodOfTheFrameAndTheNineDayNames) {
  const ConstraintValueChooser periods(Dimension::Period, Comparison::EqualTo, kFiveDays, "");
  EXPECT_EQ(periods.items(),
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
  const ConstraintValueChooser days(Dimension::Day, Comparison::EqualTo, kFiveDays, "");
  EXPECT_EQ(days.items(), kFiveDays.dayNames);
}

TEST(ConstraintValueChooser, OpensWithTheItemsOfTheCurrentValueChosen) {
  const ConstraintValueChooser single(Dimension::Day, Comparison::EqualTo, kFiveDays, "\"WEDNESDAY\"");
  EXPECT_EQ(single.chosenItem(), 2);

  const ConstraintValueChooser range(Dimension::Period, Comparison::InTheRange, kFiveDays,
                                     "\"2\" through \"10\"");
  EXPECT_EQ(range.low(), 1);
  EXPECT_EQ(range.high(), 9);

  const ConstraintValueChooser list(Dimension::Day, Comparison::InTheList, kFiveDays,
                                    "\"MONDAY\",\"NOSUCHDAY\",\"DAY9\"");
  for (int i = 0; i < 9; ++i) EXPECT_EQ(list.isTicked(i), i == 0 || i == 8) << i;

  const ConstraintValueChooser fromGarbage(Dimension::Period, Comparison::InTheRange, kFiveDays, "\"7");
  EXPECT_FALSE(fromGarbage.low());
  EXPECT_FALSE(fromGarbage.high());
}

TEST(ConstraintValueChooser, WritesTheValueInTheGrammarsForm) {
  ConstraintValueChooser single(Dimension::Period, Comparison::BeforeAndEqualTo, kFiveDays, "");
  single.chooseItem(3);
  EXPECT_EQ(*single.accept(), "\"4\"");

  ConstraintValueChooser range(Dimension::Day, Comparison::InTheRange, kFiveDays, "");
  range.chooseLow(1);
  range.chooseHigh(1);
  EXPECT_EQ(*range.accept(), "\"TUESDAY\" through \"TUESDAY\"");

  ConstraintValueChooser list(Dimension::Period, Comparison::InTheList, kFiveDays, "");
  list.tick(9, true);
  list.tick(0, true);
  list.tick(4, true);
  list.tick(4, false);
  EXPECT_EQ(*list.accept(), "\"1\",\"10\"");
  list.selectAll();
  EXPECT_EQ(*list.accept(), "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\"11\",\"12\"");
}

struct RefusalCase {
  const char* name;
  Dimension dimension;
  Comparison comparison;
  std::optional<int> first;  // the one item, or the low one
  std::optional<int> high;
  std::string_view message;
};

class ConstraintValueChooserRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ConstraintValueChooserRefuses, AnIncompleteChoice) {
  const RefusalCase& c = GetParam();
  ConstraintValueChooser chooser(c.dimension, c.comparison, kFiveDays, "");
  if (c.first) {
    chooser.chooseItem(*c.first);
    chooser.chooseLow(*c.first);
  }
  if (c.high) chooser.chooseHigh(*c.high);
  const auto value = chooser.accept();
  ASSERT_FALSE(value.ok());
  EXPECT_EQ(value.error(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConstraintValueChooserRefuses,
    ::testing::Values(
        RefusalCase{"NothingTagged",
                    Dimension::Day,
                    Comparison::InTheList,
                    {},
                    {},
                    "List selection incomplete. At least one item must be tagged."},
        RefusalCase{"NoPeriod", Dimension::Period, Comparison::EqualTo, {}, {}, "Must select a Period."},
        RefusalCase{"NoDay", Dimension::Day, Comparison::BeforeAndEqualTo, {}, {}, "Must select a Day."},
        RefusalCase{"IndexOutsideTheItemsIsNoChoice",
                    Dimension::Day,
                    Comparison::EqualTo,
                    9,
                    {},
                    "Must select a Day."},
        RefusalCase{"PeriodRangeWithoutHigh",
                    Dimension::Period,
                    Comparison::InTheRange,
                    2,
                    {},
                    "Period range selection incomplete or invalid."},
        RefusalCase{"PeriodRangeWithoutLow",
                    Dimension::Period,
                    Comparison::InTheRange,
                    {},
                    2,
                    "Period range selection incomplete or invalid."},
        RefusalCase{"PeriodRangeUpsideDown", Dimension::Period, Comparison::InTheRange, 5, 2,
                    "Period range selection invalid. Lower value exceeds the upper."},
        RefusalCase{"DayRangeWithoutHigh",
                    Dimension::Day,
                    Comparison::InTheRange,
                    0,
                    {},
                    "Day range selection incomplete or invalid."},
        RefusalCase{"DayRangeUpsideDown", Dimension::Day, Comparison::InTheRange, 4, 0,
                    "Day range selection incomplete or invalid."}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace tavrel::setup
