#include "core/exchange/lesson_split.h"

#include <gtest/gtest.h>

#include "core/exchange/slot_constraint.h"

namespace tavrel::exchange {
namespace {

TEST(LessonSplit, ChoosesAsManyBlocksAsTheRuleAndTheOpenDaysAllow) {
  struct Case {
    int duration;
    SplitRule rule;
    bool spread;
    int days;
    LessonParts parts;
    bool keepsRule, keepsSpread;
  };
  const Case cases[] = {
      {3, {}, false, 5, {{1, 3}}, true, true},
      {5, {1, 2}, true, 5, {{1, 5}}, true, true},
      {5, {1, 2}, true, 4, {{1, 3}, {2, 1}}, true, true},
      {5, {1, 2}, true, 3, {{1, 1}, {2, 2}}, true, true},
      {4, {2, 2}, false, 5, {{2, 2}}, true, true},
      {6, {1, 2}, true, 2, {{2, 3}}, true, false},   // three doubles need three days
      {3, {2, 2}, false, 5, {{3, 1}}, false, true},  // 3 periods cannot be cut into doubles
  };
  for (const Case& c : cases) {
    const SplitChoice choice = chooseSplit(c.duration, c.rule, c.spread, c.days);
    EXPECT_EQ(choice.parts, c.parts) << c.duration << " over " << c.days << " days";
    EXPECT_EQ(choice.keepsRule, c.keepsRule) << c.duration;
    EXPECT_EQ(choice.keepsSpread, c.keepsSpread) << c.duration;
  }
  EXPECT_EQ(describeParts({{1, 3}, {2, 1}}), "1 block of 2 + 3 singles");
  EXPECT_EQ(describeShape({{1, 3}, {2, 1}}), "blocks of 2 and singles");
}

TEST(LessonSplit, SpreadBlocksOfSeveralLengthsAreKeptApartByTheSubjectLimit) {
  IndentEntry base;
  base.className = "7A";
  const auto indents = indentsForParts({{1, 2}, {2, 1}}, true, 5, base);
  ASSERT_EQ(indents.size(), 2u);
  EXPECT_TRUE(indents[0].onePerDay);
  EXPECT_EQ(indents[0].periods, 2);
  EXPECT_EQ(indents[1].clusterSize, 2);
  EXPECT_EQ(indents[1].clustersPerWeek, 1);
  EXPECT_EQ(spreadSubjectLimit({{1, 2}, {2, 1}}, true), 2);
  EXPECT_EQ(spreadSubjectLimit({{1, 4}}, true), 0);  // one per day says it
  EXPECT_EQ(spreadSubjectLimit({{2, 2}}, false), 0);
}

TEST(SlotConstraint, SaysDaysTimesPeriodsAndNothingElse) {
  const auto all = [](std::initializer_list<int> days, std::initializer_list<int> periods) {
    SlotSet slots;
    for (int d : days)
      for (int p : periods) slots.insert({d, p});
    return slots;
  };
  EXPECT_EQ(constraintForSlots(all({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}), 5, 6, 1), "None");
  EXPECT_EQ(constraintForSlots(all({2}, {1, 2, 3, 4, 5, 6}), 5, 6, 1), "(DAY equal to \"TUESDAY\")");
  EXPECT_EQ(constraintForSlots(all({1, 3}, {4, 5, 6}), 5, 6, 1),
            "(DAY in the list \"MONDAY\",\"WEDNESDAY\") and where (PERIOD after and equal to \"4\")");
  EXPECT_EQ(constraintForSlots(all({1, 2, 3, 4, 5}, {2, 3}), 5, 6, 2), "(PERIOD in the range \"2\" through \"3\")");
  EXPECT_EQ(constraintForSlots({{1, 1}, {2, 2}}, 5, 6, 1), std::nullopt);  // not days × periods
  EXPECT_EQ(constraintForSlots(all({1}, {1, 3}), 5, 6, 2), std::nullopt);   // no run for a double
  EXPECT_EQ(coveredSlots({{1, 1}, {1, 6}}, 2, 6), (SlotSet{{1, 1}, {1, 2}}));
}

}  // namespace
}  // namespace tavrel::exchange
