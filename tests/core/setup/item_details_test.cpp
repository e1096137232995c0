#include "core/setup/item_details.h"

#include <gtest/gtest.h>

#include "core/setup/items.h"
#include "tests/core/setup/school_view_school.h"

namespace tavrel::setup {
namespace {

using namespace store;

TEST(ItemDetails, ThePanelsShowTheRecordsAndTheSchoolsSubjectLink) {
  SchoolViewSchool s;
  auto member = itemDetails(s.f.session(), GridKind::Class, s.c7a);
  ASSERT_TRUE(member);
  EXPECT_EQ(member->name, "7A");
  EXPECT_EQ(member->available, 108);
  EXPECT_EQ(member->indented, 2);
  EXPECT_EQ(member->allocated, 1);
  EXPECT_EQ(member->indentedThroughGroups, 2);
  EXPECT_EQ(member->allocatedThroughGroups, 2);
  EXPECT_FALSE(member->group);

  auto team = itemDetails(s.f.session(), GridKind::Resource, s.team);
  ASSERT_TRUE(team);
  EXPECT_TRUE(team->group);
  EXPECT_EQ(team->indented, 3);
  EXPECT_EQ(team->allocated, 2);
  EXPECT_EQ(team->perSequence, 3);
  EXPECT_EQ(team->perDay, 12);
  EXPECT_EQ(team->perWeek, 108);
  EXPECT_FALSE(team->partTime);

  auto art = itemDetails(s.f.session(), GridKind::Subject, s.art);
  ASSERT_TRUE(art);
  EXPECT_EQ(art->indented, 2);
  EXPECT_EQ(art->allocated, 1);
  auto music = itemDetails(s.f.session(), GridKind::Subject, s.music);  // no link in this school
  ASSERT_TRUE(music);
  EXPECT_EQ(music->name, "MUSIC");
  EXPECT_EQ(music->indented, 0);
  EXPECT_EQ(music->allocated, 0);

  EXPECT_FALSE(itemDetails(s.f.session(), GridKind::Class, 99));
  s.f.prompter().expectMessage(
      MessageKind::Information,
      "Cannot edit this statistic. To repair statistics use Statistics Diagnostic in the Institution View.");
  refuseCounterEdit(s.f.prompter());
}

TEST(ItemDetails, TheItemCommandsFollowTheItemsIndents) {
  struct Case {
    const char* item;
    GridKind kind;
    int code;
    bool active, passive, applyAvailability;
  };
  SchoolViewSchool s;
  const Case cases[] = {
      {"8A", GridKind::Class, s.c8a, true, true, true},
      {"7A", GridKind::Class, s.c7a, true, false, true},
      {"7B", GridKind::Class, s.c7b, false, false, true},
      {"CLARK", GridKind::Resource, s.clark, true, true, true},
      {"BAKER", GridKind::Resource, s.baker, false, false, true},
      {"ART", GridKind::Subject, s.art, true, true, false},
      {"MUSIC", GridKind::Subject, s.music, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    ItemCommands commands = itemCommands(s.f.session(), c.kind, c.code);
    EXPECT_EQ(commands.deleteActive, c.active);
    EXPECT_EQ(commands.deletePassive, c.passive);
    EXPECT_EQ(commands.deleteBoth, c.active && c.passive);
    EXPECT_EQ(commands.itemStatistics, c.active || c.passive);
    EXPECT_EQ(commands.applySchoolAvailability, c.applyAvailability);
  }
}

TEST(ItemDetails, ResourceLimitsAreCheckedAgainstTheSchoolsPeriodsPerDay) {
  testing::SchoolFixture f(testing::SchoolFixture::Options{508});  // 5 days of 8 periods
  Transaction outer(f.store()), inner(f.store());
  const int resource = f.addResource("ADAMS");
  struct Case {
    ResourcePanel panel;
    const char* message;
  };
  const Case refused[] = {
      {{"ADAMS", true, "3", "10", "40"},
       "10 is not a valid value for \" Per Day upper limit of Resource\". Allowed range is 1 to 8. Restoring "
       "old value."},
      {{"ADAMS", true, "9", "8", "40"},
       "9 is not a valid value for \"Sequence Continuity  upper limit of Resource \". Allowed range is 1 to 8. "
       "Restoring old value."},
      {{"ADAMS", true, "3", "8", "41"},
       "41 is not a valid value for \"Per Week upper limit of Resource\". Allowed range is 1 to 40. Restoring "
       "old value."},
      {{"ADAMS", true, "3", "", "40"},
       "Empty is not a valid value for \" Per Day upper limit of Resource\". Allowed range is 1 to 8. Restoring "
       "old value."},
      {{"", true, "3", "8", "40"}, "Resource name empty. Restoring old name."},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.message);
    f.prompter().expectMessage(MessageKind::Error, c.message);
    EXPECT_FALSE(postResourceDetails(f.session(), resource, c.panel));
    TTeac unchanged = f.resourceRecord(resource);
    EXPECT_EQ(unchanged.TMAXLEC, 12);
    EXPECT_EQ(unchanged.TPARTTIME, "N");
  }
  // Each box is checked the same way as it is left.
  f.prompter().expectMessage(MessageKind::Error,
                             "10 is not a valid value for \" Per Day upper limit of Resource\". Allowed range "
                             "is 1 to 8. Restoring old value.");
  EXPECT_FALSE(checkResourceLimit(f.session(), ResourceLimit::PerDay, "10", DayBound::SchoolPeriods));

  ASSERT_TRUE(postResourceDetails(f.session(), resource, {"Mr Adams", true, "2", "8", "40"}));
  TTeac posted = f.resourceRecord(resource);
  EXPECT_EQ(posted.TCHNAME, "MR ADAMS");
  EXPECT_EQ(posted.TPARTTIME, "Y");
  EXPECT_EQ(posted.TMAXCON, 2);
  EXPECT_EQ(posted.TMAXLEC, 8);
  EXPECT_EQ(posted.TMAXLECWK, 40);
}

TEST(ItemDetails, PostingASubjectRenamesItAndLinksItToTheSchool) {
  SchoolViewSchool s;
  s.f.prompter().expectMessage(MessageKind::Error, "Subject name empty. Restoring old name.");
  EXPECT_FALSE(postSubjectDetails(s.f.session(), s.music, ""));
  s.f.prompter().expectMessage(MessageKind::Error, "Duplicate subject name: ART");
  EXPECT_FALSE(postSubjectDetails(s.f.session(), s.music, "art"));
  EXPECT_FALSE(s.f.store().table<TSctl>().find(TSctl::primary, {1, s.music}));

  EXPECT_TRUE(postSubjectDetails(s.f.session(), s.music, "Choir"));
  EXPECT_EQ(s.f.store().table<TSubj>().find(TSubj::SUBJCODE, {s.music})->SUBNAME, "CHOIR");
  auto link = s.f.store().table<TSctl>().find(TSctl::primary, {1, s.music});
  ASSERT_TRUE(link);
  EXPECT_EQ(link->SCTREQLEC, 0);
  EXPECT_EQ(link->SCTTOTALL, 0);
  EXPECT_TRUE(postSubjectDetails(s.f.session(), s.art, "ART"));  // its own name
}

}  // namespace
}  // namespace tavrel::setup
