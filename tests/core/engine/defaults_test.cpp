#include "core/engine/defaults.h"

#include <gtest/gtest.h>

#include "tests/support/school_fixture.h"

namespace tavrel::engine {
namespace {

using namespace store;
using testing::SchoolFixture;

TEST(Defaults, EditsAreCheckedAgainstTheirRanges) {
  SchoolFixture f;
  f.prompter().expectMessage(
      MessageKind::Error,
      "13 is not a valid value for \"For Class per Day upper limit of Subject\". Allowed range "
      "is 1 to 12. Restoring old value.");
  EXPECT_FALSE(setDefaultLimit(f.session(), DefaultLimit::SubjectPerClass, "13"));
  EXPECT_EQ(f.store().institution().IDSUL_CLASS, 1);
  EXPECT_TRUE(setDefaultLimit(f.session(), DefaultLimit::ResourcePerWeek, "100"));
  EXPECT_EQ(f.store().institution().IDTUL_WEEK, 100);
  f.prompter().expectMessage(
      MessageKind::Error,
      "109 is not a valid value for \"Per Week upper limit of Resource\". Allowed range is 1 to "
      "108. Restoring old value.");
  EXPECT_FALSE(setDefaultLimit(f.session(), DefaultLimit::ResourcePerWeek, "109"));
}

TEST(Defaults, UpdatingClassesChangesOnlyTheTickedLimitsAfterBothQuestions) {
  SchoolFixture f;
  int cls = f.addClass("5A");
  int teacher = f.addResource("MR OKONKWO");
  int maths = f.addSubject("MATHS");
  f.addIndent({cls, teacher, maths, 5});
  SilentProgress progress;
  EXPECT_TRUE(availableUpdates(f.store(), 1).classes);
  ASSERT_TRUE(setDefaultLimit(f.session(), DefaultLimit::SubjectPerClass, "4"));
  ASSERT_TRUE(setDefaultLimit(f.session(), DefaultLimit::ResourcePerClass, "6"));
  const int resourceLimit = f.store().table<TTOcc>().find(TTOcc::primary, {1, cls, teacher})->TOCCURENCE;

  f.prompter().expectMessage(MessageKind::Information, "Select at least one class default to update.");
  EXPECT_FALSE(updateClasses(f.session(), progress, false, false));
  f.prompter().expectQuestion(
      MessageKind::Warning,
      "Tavrel automatically sets class upper limits as it activates indents. Updating may "
      "disturb these settings for classes whose indents are activated. Especially, the one per "
      "day indents may get distorted. Do you still want to update?",
      true);
  f.prompter().expectQuestion(
      MessageKind::Information,
      "This will update all the Clases with the Selected Class defaults.Select  Yes to proceed "
      "with the replacements.",
      true);
  ASSERT_TRUE(updateClasses(f.session(), progress, false, true));
  EXPECT_EQ(f.store().table<TSOcc>().find(TSOcc::primary, {1, cls, maths})->SOCCURENCE, 4);
  EXPECT_EQ(f.store().table<TTOcc>().find(TTOcc::primary, {1, cls, teacher})->TOCCURENCE, resourceLimit);
}

TEST(Defaults, UpdatingResourcesAndClosing) {
  SchoolFixture f;
  int teacher = f.addResource("MS HALVORSEN");
  SilentProgress progress;
  ASSERT_TRUE(setDefaultLimit(f.session(), DefaultLimit::ResourcePerDay, "6"));
  ASSERT_TRUE(setDefaultLimit(f.session(), DefaultLimit::ResourceSequence, "2"));
  const int week = f.resourceRecord(teacher).TMAXLECWK;
  f.prompter().expectQuestion(
      MessageKind::Information,
      "This will update all Resources with the Selected Resource defaults.Select  Yes to "
      "proceed with the replacements.",
      true);
  ASSERT_TRUE(updateResources(f.session(), progress, true, false, true));
  EXPECT_EQ(f.resourceRecord(teacher).TMAXLEC, 6);
  EXPECT_EQ(f.resourceRecord(teacher).TMAXCON, 2);
  EXPECT_EQ(f.resourceRecord(teacher).TMAXLECWK, week);
  closeDefaults(f.session());
  EXPECT_EQ(f.session().school()->SMAXLEC, 6);
  EXPECT_EQ(f.session().school()->STOTLEC, f.store().institution().IDTUL_WEEK);
}

}  // namespace
}  // namespace tavrel::engine
