#include "core/setup/constraint_editor.h"

#include <gtest/gtest.h>

namespace tavrel::setup {
namespace {

// Five days of eight periods, Monday first.
const ConstraintWeek kWeek = constraintWeek(508, "STANDARD");
const std::string kDayList = "(DAY in the list \"MONDAY\",\"WEDNESDAY\")";
const std::string kPeriodBefore = "(PERIOD before and equal to \"4\")";
const std::string kBoth = kDayList + " and where " + kPeriodBefore;

TEST(ConstraintEditor, CaptionNamesTheSchoolAndTheUse) {
  EXPECT_EQ(constraintCaption("North", ConstraintUse::Allocation), "North - Allocation Constraint");
  EXPECT_EQ(constraintCaption("North", ConstraintUse::Proxy), "North - Proxy Constraint");
}

TEST(ConstraintEditor, OffersTheDimensionsAndComparisons) {
  EXPECT_EQ(ConstraintEditor::dimensionChoices(), (std::vector<std::string_view>{"DAY", "PERIOD"}));
  EXPECT_EQ(ConstraintEditor::comparisonChoices(),
            (std::vector<std::string_view>{"equal to", "before and equal to", "after and equal to",
                                           "in the range", "in the list"}));
}

TEST(ConstraintEditor, OpensOnNoConditionStraightIntoBuildingOne) {
  for (std::string_view text : {"None", "", "abc", "  None  "}) {
    const ConstraintEditor editor(text, 0, kWeek);
    EXPECT_EQ(editor.panel(), ConstraintPanel::Build) << text;
    EXPECT_FALSE(editor.conditionsVisible()) << text;
    EXPECT_TRUE(editor.conditionLines().empty()) << text;
    EXPECT_FALSE(editor.buildsSecondCondition()) << text;
    EXPECT_FALSE(editor.dimensionFixed()) << text;
  }
}

TEST(ConstraintEditor, OpensOnTheStoredConditionsWithTheFirstSelected) {
  std::string stored = kBoth;
  stored[4] = '\xF9';  // the blank after "(DAY" as older data sets stored it
  const ConstraintEditor editor(stored, 0, kWeek);
  EXPECT_EQ(editor.panel(), ConstraintPanel::Conditions);
  EXPECT_TRUE(editor.conditionsVisible());
  EXPECT_EQ(editor.conditionLines(), (std::vector<std::string>{kDayList, "and where " + kPeriodBefore}));
  EXPECT_EQ(editor.selectedLine(), 0);
  EXPECT_FALSE(editor.canAppend());
  EXPECT_TRUE(editor.canEdit());
  EXPECT_TRUE(editor.canDelete());
}

TEST(ConstraintEditor, BuildsAConditionThroughTheValueChooser) {
  ConstraintEditor editor("None", 0, kWeek);
  editor.chooseDimension(Dimension::Period);
  editor.chooseComparison(Comparison::InTheList);
  ASSERT_TRUE(editor.openValueChooser().ok());
  ASSERT_EQ(editor.panel(), ConstraintPanel::Value);
  editor.valueChooser()->tick(9, true);
  editor.valueChooser()->tick(0, true);
  ASSERT_TRUE(editor.acceptValue().ok());
  EXPECT_EQ(editor.panel(), ConstraintPanel::Build);
  EXPECT_EQ(editor.comparedTo(), "\"1\",\"10\"");

  // Ten periods are more than this school's day has.
  EXPECT_EQ(editor.acceptCondition().error(),
            "Period 10 is not a period of the school's 8-period day. Please reselect the constraint.");
  ASSERT_TRUE(editor.openValueChooser().ok());
  EXPECT_TRUE(editor.valueChooser()->isTicked(9));
  editor.valueChooser()->tick(9, false);
  editor.valueChooser()->tick(7, true);
  ASSERT_TRUE(editor.acceptValue().ok());
  ASSERT_TRUE(editor.acceptCondition().ok());
  EXPECT_EQ(editor.panel(), ConstraintPanel::Conditions);
  EXPECT_TRUE(editor.conditionsVisible());
  EXPECT_EQ(editor.conditionLines(), (std::vector<std::string>{"(PERIOD in the list \"1\",\"8\")"}));
  EXPECT_EQ(editor.selectedLine(), 0);
  EXPECT_TRUE(editor.comparedTo().empty());

  ASSERT_TRUE(editor.accept().ok());
  EXPECT_TRUE(editor.closed());
  EXPECT_EQ(editor.outcome(),
            (ConstraintValues{"(PERIOD in the list \"1\",\"8\")", 1, 8, ",1,8", 1, 5, ",1,2,3,4,5"}));
}

TEST(ConstraintEditor, TheValueChooserNeedsADimensionAndAComparison) {
  ConstraintEditor editor("None", 0, kWeek);
  EXPECT_EQ(editor.openValueChooser().error(),
            "No selection made in \"Day/Period\" combo box. Select first to proceed.");
  editor.chooseDimension(Dimension::Day);
  EXPECT_EQ(editor.openValueChooser().error(),
            "No selection made in \"Comparison\" combo box. Select first to proceed.");
  EXPECT_EQ(editor.panel(), ConstraintPanel::Build);
  EXPECT_EQ(editor.valueChooser(), nullptr);
}

TEST(ConstraintEditor, AppendingToOneConditionFixesTheOtherDimension) {
  struct Case {
    std::string first;
    Dimension appended;
    std::string secondLine;
  };
  for (const Case& c : {Case{kDayList, Dimension::Period, "and where (PERIOD equal to \"2\")"},
                        Case{kPeriodBefore, Dimension::Day, "and where (DAY equal to \"TUESDAY\")"}}) {
    ConstraintEditor editor(c.first, 0, kWeek);
    ASSERT_TRUE(editor.append());
    EXPECT_TRUE(editor.buildsSecondCondition());
    EXPECT_TRUE(editor.dimensionFixed());
    EXPECT_EQ(editor.dimension(), c.appended);
    editor.chooseDimension(otherDimension(c.appended));
    EXPECT_EQ(editor.dimension(), c.appended);

    editor.chooseComparison(Comparison::EqualTo);
    ASSERT_TRUE(editor.openValueChooser().ok());
    editor.valueChooser()->chooseItem(1);
    ASSERT_TRUE(editor.acceptValue().ok());
    ASSERT_TRUE(editor.acceptCondition().ok());
    EXPECT_EQ(editor.conditionLines(), (std::vector<std::string>{c.first, c.secondLine}));
    EXPECT_EQ(editor.selectedLine(), 1);
    EXPECT_FALSE(editor.canAppend());
    EXPECT_FALSE(editor.append());
  }
}

TEST(ConstraintEditor, EditFillsTheBuildPanelFromTheSelectedLine) {
  ConstraintEditor single("(DAY before and equal to \"FRIDAY\")", 0, kWeek);
  ASSERT_TRUE(single.edit());
  EXPECT_EQ(single.dimension(), Dimension::Day);
  EXPECT_FALSE(single.dimensionFixed());
  EXPECT_EQ(single.comparison(), Comparison::BeforeAndEqualTo);
  EXPECT_EQ(single.comparedTo(), "\"FRIDAY\"");
  single.chooseDimension(Dimension::Period);
  EXPECT_EQ(single.dimension(), Dimension::Period);

  ConstraintEditor both(kBoth, 0, kWeek);
  both.selectLine(1);
  ASSERT_TRUE(both.edit());
  EXPECT_TRUE(both.buildsSecondCondition());
  EXPECT_TRUE(both.dimensionFixed());
  EXPECT_EQ(both.dimension(), Dimension::Period);
  EXPECT_EQ(both.comparison(), Comparison::BeforeAndEqualTo);
  EXPECT_EQ(both.comparedTo(), "\"4\"");
  both.chooseComparison(Comparison::AfterAndEqualTo);
  ASSERT_TRUE(both.acceptCondition().ok());
  EXPECT_EQ(both.conditionLines(),
            (std::vector<std::string>{kDayList, "and where (PERIOD after and equal to \"4\")"}));
}

TEST(ConstraintEditor, DeleteLeavesTheOtherConditionAsTheFirst) {
  struct Case {
    std::string stored;
    int deleted;
    std::vector<std::string> remaining;
  };
  for (const Case& c : {Case{kDayList, 0, {}}, Case{kBoth, 0, {kPeriodBefore}}, Case{kBoth, 1, {kDayList}}}) {
    ConstraintEditor editor(c.stored, 0, kWeek);
    editor.selectLine(c.deleted);
    ASSERT_TRUE(editor.remove());
    EXPECT_EQ(editor.conditionLines(), c.remaining);
    EXPECT_TRUE(editor.canAppend());
    EXPECT_EQ(editor.selectedLine(), c.remaining.empty() ? std::nullopt : std::optional<int>(0));
  }
  ConstraintEditor empty(kDayList, 0, kWeek);
  ASSERT_TRUE(empty.remove());
  EXPECT_FALSE(empty.canDelete());
  EXPECT_FALSE(empty.remove());
  EXPECT_FALSE(empty.edit());
}

TEST(ConstraintEditor, RefusesAConditionWhoseValueDoesNotFitIt) {
  struct Case {
    const char* stored;
    std::optional<Comparison> changedTo;
    std::string message;
  };
  for (const Case& c : {
           Case{"(DAY equal to \"MONDAY\")", Comparison::InTheRange, std::string(kConditionInvalid)},
           Case{"(PERIOD in the range \"2\" through \"5\")", Comparison::InTheList,
                std::string(kConditionInvalid)},
           Case{"(PERIOD equal to 2)", std::nullopt, std::string(kConditionInvalid)},
           Case{
               "(DAY equal to \"DAY7\")", std::nullopt,
               "Day \"DAY7\" is not a day of the school's 5-day week cycle. Please reselect the constraint."},
           Case{"(DAY in the range \"FRIDAY\" through \"MONDAY\")", std::nullopt,
                "Day range selection incomplete or invalid."},
       }) {
    ConstraintEditor editor(c.stored, 0, kWeek);
    ASSERT_TRUE(editor.edit());
    if (c.changedTo) editor.chooseComparison(*c.changedTo);
    EXPECT_EQ(editor.acceptCondition().error(), c.message) << c.stored;
    EXPECT_EQ(editor.panel(), ConstraintPanel::Build);
    EXPECT_EQ(editor.conditionLines(), (std::vector<std::string>{c.stored}));
  }
  ConstraintEditor fresh("None", 0, kWeek);
  EXPECT_EQ(fresh.acceptCondition().error(), kConditionInvalid);
  fresh.chooseDimension(Dimension::Day);
  fresh.chooseComparison(Comparison::EqualTo);
  EXPECT_EQ(fresh.acceptCondition().error(), kConditionInvalid);
}

TEST(ConstraintEditor, AStoredDayTheWeekNoLongerHasIsRefusedUntilReselected) {
  // Written for a five-day week; the school now runs an eight-day cycle named DAY1 to DAY8.
  ConstraintEditor editor(kDayList, 0, constraintWeek(808, "STANDARD"));
  const Status accepted = editor.accept();
  ASSERT_FALSE(accepted.ok());
  EXPECT_EQ(accepted.error(),
            "Day \"MONDAY\" is not a day of the school's 8-day week cycle. Please reselect the constraint.");
  EXPECT_FALSE(editor.closed());

  ASSERT_TRUE(editor.edit());
  ASSERT_TRUE(editor.openValueChooser().ok());
  EXPECT_FALSE(editor.valueChooser()->isTicked(0));
  editor.valueChooser()->tick(0, true);
  editor.valueChooser()->tick(2, true);
  ASSERT_TRUE(editor.closeFromValue().ok());
  EXPECT_TRUE(editor.closed());
  EXPECT_EQ(editor.outcome(), (ConstraintValues{"(DAY in the list \"DAY1\",\"DAY3\")", 1, 8,
                                                ",1,2,3,4,5,6,7,8", 1, 8, ",1,3"}));
}

TEST(ConstraintEditor, OkRefusesAPeriodListWithoutRoomForTheCluster) {
  ConstraintEditor editor("(PERIOD in the list \"1\",\"2\",\"4\",\"5\")", 3, kWeek);
  EXPECT_EQ(editor.accept().error(),
            "Period constraint selection inconsistent with the number of periods in the cluster.");
  EXPECT_FALSE(editor.closed());
  EXPECT_FALSE(editor.outcome());
  EXPECT_EQ(editor.panel(), ConstraintPanel::Conditions);
}

TEST(ConstraintEditor, NoConditionsLeftGivesNoneAndTheWholeWeek) {
  ConstraintEditor editor(kBoth, 2, kWeek);
  ASSERT_TRUE(editor.remove());
  ASSERT_TRUE(editor.remove());
  ASSERT_TRUE(editor.accept().ok());
  EXPECT_EQ(editor.outcome(), noConstraint(kWeek));
}

TEST(ConstraintEditor, CloseFromTheValueChooserRunsEveryOkInTurn) {
  ConstraintEditor editor("None", 0, kWeek);
  editor.chooseDimension(Dimension::Day);
  editor.chooseComparison(Comparison::EqualTo);
  ASSERT_TRUE(editor.openValueChooser().ok());
  EXPECT_EQ(editor.closeFromValue().error(), "Must select a Day.");
  EXPECT_EQ(editor.panel(), ConstraintPanel::Value);
  EXPECT_FALSE(editor.closed());

  editor.valueChooser()->chooseItem(4);
  ASSERT_TRUE(editor.closeFromValue().ok());
  EXPECT_TRUE(editor.closed());
  EXPECT_EQ(editor.outcome()->text, "(DAY equal to \"FRIDAY\")");
  EXPECT_EQ(editor.outcome()->dayList, ",5");
}

TEST(ConstraintEditor, CloseFromTheBuildPanelAcceptsTheConditionThenOks) {
  ConstraintEditor refused("(PERIOD in the list \"1\",\"2\")", 3, kWeek);
  ASSERT_TRUE(refused.edit());
  EXPECT_EQ(refused.closeFromBuild().error(),
            "Period constraint selection inconsistent with the number of periods in the cluster.");
  EXPECT_FALSE(refused.closed());
  EXPECT_EQ(refused.panel(), ConstraintPanel::Conditions);

  ConstraintEditor editor("(PERIOD in the list \"1\",\"2\")", 2, kWeek);
  ASSERT_TRUE(editor.edit());
  editor.chooseComparison(Comparison::EqualTo);
  EXPECT_EQ(editor.closeFromBuild().error(), kConditionInvalid);
  EXPECT_FALSE(editor.closed());
  editor.chooseComparison(Comparison::InTheList);
  ASSERT_TRUE(editor.closeFromBuild().ok());
  EXPECT_EQ(editor.outcome()->periodList, ",1,2");
}

TEST(ConstraintEditor, CancelsLeaveTheValuesAndTheListAlone) {
  ConstraintEditor editor(kDayList, 0, kWeek);
  ASSERT_TRUE(editor.edit());
  ASSERT_TRUE(editor.openValueChooser().ok());
  editor.valueChooser()->tick(4, true);
  editor.cancelValue();
  EXPECT_EQ(editor.panel(), ConstraintPanel::Build);
  EXPECT_EQ(editor.comparedTo(), "\"MONDAY\",\"WEDNESDAY\"");

  editor.cancelCondition();
  EXPECT_EQ(editor.panel(), ConstraintPanel::Conditions);
  EXPECT_FALSE(editor.dimension());
  EXPECT_EQ(editor.conditionLines(), (std::vector<std::string>{kDayList}));

  editor.cancel();
  EXPECT_TRUE(editor.closed());
  EXPECT_FALSE(editor.outcome());
}

TEST(ConstraintEditor, CancellingTheFirstConditionShowsTheEmptyList) {
  ConstraintEditor editor("None", 0, kWeek);
  editor.cancelCondition();
  EXPECT_EQ(editor.panel(), ConstraintPanel::Conditions);
  EXPECT_TRUE(editor.conditionsVisible());
  EXPECT_TRUE(editor.canAppend());
  ASSERT_TRUE(editor.append());
  EXPECT_FALSE(editor.dimensionFixed());
}

TEST(ConstraintEditor, CommandsOfAPanelNotInFrontChangeNothing) {
  ConstraintEditor editor(kDayList, 0, kWeek);
  EXPECT_EQ(editor.acceptValue().error(), kPanelNotOpen);
  EXPECT_EQ(editor.acceptCondition().error(), kPanelNotOpen);
  EXPECT_EQ(editor.openValueChooser().error(), kPanelNotOpen);
  editor.chooseDimension(Dimension::Period);
  EXPECT_FALSE(editor.dimension());

  ASSERT_TRUE(editor.append());
  EXPECT_FALSE(editor.append());
  EXPECT_FALSE(editor.edit());
  EXPECT_FALSE(editor.remove());
  EXPECT_EQ(editor.conditionLines().size(), 1u);
}

TEST(ConstraintEditor, AMalformedStoredTextIsShownAndRefusedOnOk) {
  for (std::string_view stored :
       {"(DAY equal to \"MONDAY\"", "Nothing of the kind", "and where (PERIOD equal to \"2\")",
        "(DAY equal to \"MONDAY\") and where (DAY equal to \"FRIDAY\")"}) {
    ConstraintEditor editor(stored, 0, kWeek);
    EXPECT_FALSE(editor.conditionLines().empty()) << stored;
    EXPECT_EQ(editor.accept().error(), kConditionInvalid) << stored;
    EXPECT_FALSE(editor.closed());
  }
}

}  // namespace
}  // namespace tavrel::setup
