#include "core/setup/week_setup.h"

#include <gtest/gtest.h>

namespace tavrel::setup {
namespace {

TEST(WeekSetup, OpensWithTheDaysOfTheCycleShowingThePeriodsPerDay) {
  WeekSetupForm form('C', 508);
  for (int day = 1; day <= 9; ++day) {
    EXPECT_EQ(form.dayEnabled(day), day <= 5) << day;
    EXPECT_EQ(form.box(day), day <= 5 ? "8" : "0") << day;
  }
  EXPECT_EQ(form.maximum(), 8);
  EXPECT_EQ(WeekSetupForm('L', 508).maximum(), 12);
  EXPECT_FALSE(form.periodsEnabled());
  WeekSetupForm twoDays('T', 212);
  twoDays.selectAll();
  for (int day = 1; day <= 9; ++day) EXPECT_EQ(twoDays.daySelected(day), day <= 2) << day;
}

TEST(WeekSetup, PeriodsEntryWritesOneCountIntoEverySelectedDay) {
  WeekSetupForm form('L', 912);
  form.selectDay(2);
  form.selectDay(4);
  ASSERT_TRUE(form.periodsEnabled());
  form.startPeriodsEntry();
  ASSERT_TRUE(form.typeInPeriodsEntry('1').ok());
  EXPECT_TRUE(form.periodsEntryVisible());  // a first "1" may become 10 to 15
  ASSERT_TRUE(form.typeInPeriodsEntry('2').ok());
  EXPECT_FALSE(form.periodsEntryVisible());
  EXPECT_EQ(form.box(2), "12");
  EXPECT_EQ(form.box(4), "12");
  EXPECT_EQ(form.box(3), "12");  // unselected days keep what they had (the periods per day)

  form.startPeriodsEntry();
  ASSERT_TRUE(form.typeInPeriodsEntry('1').ok());
  Status refused = form.typeInPeriodsEntry('7');
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error(), "\"7\" is not a valid value. Permissible range is 0 to 9.");
  EXPECT_EQ(form.box(2), "1");
  EXPECT_EQ(form.box(4), "1");

  form.startPeriodsEntry();
  ASSERT_TRUE(form.typeInPeriodsEntry('6').ok());
  EXPECT_FALSE(form.periodsEntryVisible());
  EXPECT_FALSE(form.typeInPeriodsEntry('1').ok());
  EXPECT_EQ(form.typeInBox(1, 'x').error(), "\"x\" is not a valid value. Permissible range is 0 to 9.");
}

TEST(WeekSetup, ApplyChecksEachDayAgainstTheMaximumOrTheDirection) {
  struct Case {
    char kind;
    int swrkdays;
    Direction direction;
    const char* day1;
    const char* message;  // nullptr: passes
  };
  const Case cases[] = {
      {'C', 508, Direction::TopDown, "9", "\"9\" is not a valid assignment. Permissible range is 0 to 8 TopDown."},
      {'C', 508, Direction::TopDown, "8", nullptr},
      {'C', 508, Direction::BottomUp, "3",
       "\"BottomUp\" is not a valid assignment. Permissible range is 0 to 8 TopDown."},
      {'L', 508, Direction::BottomUp, "15", nullptr},
      {'T', 912, Direction::BottomUp, "4", nullptr},
      {'C', 912, Direction::TopDown, "", nullptr},
  };
  for (const Case& c : cases) {
    WeekSetupForm form(c.kind, c.swrkdays);
    form.direction = c.direction;
    form.enterBox(1);
    for (char key : std::string(c.day1)) ASSERT_TRUE(form.typeInBox(1, key).ok());
    auto result = form.apply();
    if (c.message) {
      ASSERT_FALSE(result.ok()) << c.day1;
      EXPECT_EQ(result.error(), c.message);
    } else {
      EXPECT_TRUE(result.ok()) << c.day1 << ": " << (result.ok() ? "" : result.error());
    }
  }
}

TEST(WeekSetup, CountsBecomeAvailableCellsFromTheTopOrTheBottom) {
  WeekSetupResult result;
  result.counts = {3, 12, 0, 15, 0, 0, 0, 0, 0};
  auto top = availableCells(result);
  EXPECT_TRUE(top[0][2]);
  EXPECT_FALSE(top[0][3]);
  EXPECT_TRUE(top[1][11]);
  EXPECT_FALSE(top[2][0]);
  result.direction = Direction::BottomUp;
  auto bottom = availableCells(result);
  EXPECT_FALSE(bottom[0][8]);
  EXPECT_TRUE(bottom[0][9]);  // periods 10 to 12
  EXPECT_TRUE(bottom[0][11]);
  EXPECT_TRUE(bottom[3][0]);  // 15 from the bottom covers the whole day
}

TEST(WeekSetup, ARefusedKeyOutsideAsciiIsQuotedWhole) {
  EXPECT_EQ(invalidKeyMessage(std::string_view("\u00e9")),
            "\"\u00e9\" is not a valid value. Permissible range is 0 to 9.");
  EXPECT_EQ(invalidKeyMessage('x'), "\"x\" is not a valid value. Permissible range is 0 to 9.");
}

}  // namespace
}  // namespace tavrel::setup
