#include "core/interschool/copy_items.h"

#include <gtest/gtest.h>

#include "core/setup/schools.h"
#include "core/store/counter_recount.h"
#include "tests/support/recording_progress.h"
#include "tests/support/school_fixture.h"

namespace tavrel::interschool {
namespace {

using namespace store;
using testing::SchoolFixture;

// The fixture's school 1 is the source; more schools are created beside it with their own week.
class CopyItemsTest : public ::testing::Test {
 protected:
  int addSchool(int swrkdays) {
    int code = *setup::createSchool(f.session());
    Transaction tx(f.store());
    auto school = *f.store().table<TSchl>().find(TSchl::SCLCODE, {code});
    school.SWRKDAYS = swrkdays;
    int open = 0;
    for (int day = 1; day <= 9; ++day) {
      for (int period = 1; period <= 12; ++period) {
        TTtbl cell;
        cell.TSCHOOL = code;
        cell.TTYPE = "L";
        cell.TSCHL = code;
        cell.TDAY = day;
        cell.TLECTNO = period;
        bool live = day <= swrkdays / 100 && period <= swrkdays % 100;
        cell.TSUBJECT = cell.TCLASS = cell.TTEACHER = live ? 999 : 0;
        open += live;
        EXPECT_EQ(f.store().table<TTtbl>().insert(cell), WriteStatus::Ok);
      }
    }
    school.STOTLEC = open;
    f.store().table<TSchl>().update(school);
    tx.commit();
    f.session().setSchool(1);
    return code;
  }

  std::optional<TClas> classNamed(int school, const std::string& name) {
    return f.store().table<TClas>().find(TClas::primary, {school, name});
  }

  int cellSubject(int school, char kind, int owner, int day, int period) {
    auto cell =
        f.store().table<TTtbl>().find(TTtbl::TIMESCHL, {school, std::string(1, kind), owner, day, period});
    return cell ? cell->TSUBJECT : -1;
  }

  SchoolFixture f;
  testing::RecordingProgress progress;
};

TEST_F(CopyItemsTest, AClassGoesToEverySchoolThatLacksItsName) {
  int tenA = f.addClass("10A");
  int north = addSchool(912);
  int south = addSchool(912);
  {
    Transaction tx(f.store());
    TClas existing;
    existing.CSCHOOL = south;
    existing.CLSCODE = 1;
    existing.CLSNAME = "10A";
    ASSERT_EQ(f.store().table<TClas>().insert(existing), WriteStatus::Ok);
    tx.commit();
  }
  CopyRequest request{ItemKind::Class, 1, {north, south}, {tenA}};
  f.prompter().expectMessage(MessageKind::Information,
                             "10A already exists in " +
                                 f.store().table<TSchl>().find(TSchl::SCLCODE, {south})->SNAME +
                                 ". No copy done. Skipping to next, if any.");
  auto outcome = copyItems(f.session(), progress, request);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->copied, 1);
  EXPECT_EQ(outcome->skipped, 1);
  auto copy = classNamed(north, "10A");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->CLSCODE, 1);
  EXPECT_EQ(copy->CLSREQLEC, 0);
  EXPECT_EQ(f.store().table<TTtbl>().count(TTtbl::TIMECLAS, {north, "C", 1}), 108);
}

TEST_F(CopyItemsTest, CopiedAvailabilityClosesAllocatedPeriodsWhenAsked) {
  int cls = f.addClass("11B");
  int teacher = f.addResource("MR ESPOSITO");
  int latin = f.addSubject("LATIN");
  int serial = f.addIndent({cls, teacher, latin, 3});
  for (int day = 1; day <= 3; ++day) f.place(serial, day, 1);
  int destination = addSchool(612);
  const int sourceOpen = f.classRecord(cls).CLSTOTLEC;

  CopyRequest request{ItemKind::Class, 1, {destination}, {cls}, true, false};
  ASSERT_TRUE(copyItems(f.session(), progress, request));
  auto copy = *classNamed(destination, "11B");
  EXPECT_EQ(copy.CLSTOTLEC, sourceOpen - 3);
  EXPECT_EQ(cellSubject(destination, 'C', copy.CLSCODE, 1, 1), 0);
  EXPECT_EQ(cellSubject(destination, 'C', copy.CLSCODE, 1, 2), 999);
  EXPECT_EQ(cellSubject(destination, 'C', copy.CLSCODE, 9, 12), 999);  // the source's own availability
  EXPECT_TRUE(recountCounters(f.store(), destination).clean());
}

TEST_F(CopyItemsTest, WithoutItsAvailabilityACopyFollowsTheDestinationsWeek) {
  int lab = f.addResource("LAB 2");
  {
    auto row = f.resourceRecord(lab);
    row.TPARTTIME = "Y";
    row.TMAXLEC = 4;
    ASSERT_EQ(f.store().table<TTeac>().update(row), WriteStatus::Ok);
  }
  int destination = addSchool(608);
  CopyRequest request{ItemKind::Resource, 1, {destination}, {lab}, false, true};
  ASSERT_TRUE(copyItems(f.session(), progress, request));
  auto copy = *f.store().table<TTeac>().find(TTeac::primary, {destination, "LAB 2"});
  EXPECT_EQ(copy.TPARTTIME, "Y");
  EXPECT_EQ(copy.TMAXLEC, f.store().institution().IDTUL_DAY);
  EXPECT_EQ(copy.TCHTOTLEC, 48);
  EXPECT_EQ(cellSubject(destination, 'T', copy.TCHCODE, 7, 1), 0);
  EXPECT_EQ(cellSubject(destination, 'T', copy.TCHCODE, 6, 9), 0);
  EXPECT_EQ(cellSubject(destination, 'T', copy.TCHCODE, 6, 8), 999);
}

TEST_F(CopyItemsTest, PanelsRefuseIncompleteChoicesAndGroupsAreNotOffered) {
  int a = f.addClass("7A");
  int b = f.addClass("7B");
  f.addClass("7AB", {a, b});
  int other = addSchool(912);
  f.prompter().expectMessage(MessageKind::Error, "Selection incomplete.");
  EXPECT_FALSE(chooseSource(f.session(), std::nullopt, 1));
  f.prompter().expectMessage(
      MessageKind::Error,
      "No Resource exists for " + f.store().table<TSchl>().find(TSchl::SCLCODE, {other})->SNAME + ".");
  EXPECT_FALSE(chooseSource(f.session(), ItemKind::Resource, other));
  EXPECT_TRUE(chooseSource(f.session(), ItemKind::Class, 1));
  EXPECT_EQ(destinationChoices(f.store(), 1).size(), 1u);
  f.prompter().expectMessage(MessageKind::Error, "Selection incomplete. Tag at least one school.");
  EXPECT_FALSE(checkDestinations(f.session(), 0));
  auto items = copyableItems(f.store(), 1, ItemKind::Class);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].name, "7B");
  f.prompter().expectMessage(MessageKind::Error, "Selection incomplete. Tag at least one item.");
  EXPECT_FALSE(copyItems(f.session(), progress, CopyRequest{ItemKind::Class, 1, {other}, {}}));

  // Two copies into one school take consecutive codes; rows left by an unused code are taken over.
  {
    Transaction tx(f.store());
    TTtbl stray;
    stray.TSCHOOL = other;
    stray.TTYPE = "C";
    stray.TSCHL = 1;
    stray.TCLASS = 1;
    stray.TDAY = 1;
    stray.TLECTNO = 1;
    ASSERT_EQ(f.store().table<TTtbl>().insert(stray), WriteStatus::Ok);
    tx.commit();
  }
  auto outcome = copyItems(f.session(), progress, CopyRequest{ItemKind::Class, 1, {other}, {a, b}});
  ASSERT_TRUE(outcome);
  EXPECT_EQ(classNamed(other, "7A")->CLSCODE, 1);
  EXPECT_EQ(classNamed(other, "7B")->CLSCODE, 2);
  EXPECT_EQ(f.store().table<TTtbl>().count(TTtbl::TIMECLAS, {other, "C", 1}), 108);
  EXPECT_EQ(cellSubject(other, 'C', 1, 1, 1), 999);
}

TEST_F(CopyItemsTest, ADestinationWith999ClassesTakesNoMore) {
  int cls = f.addClass("12C");
  int full = addSchool(912);
  {
    Transaction tx(f.store());
    for (int code = 1; code <= 999; ++code) {
      TClas c;
      c.CSCHOOL = full;
      c.CLSCODE = code == 999 ? 1000 : code;
      c.CLSNAME = "K" + std::to_string(code);
      ASSERT_EQ(f.store().table<TClas>().insert(c), WriteStatus::Ok);
    }
    tx.commit();
  }
  f.prompter().expectMessage(MessageKind::Error,
                             "Upper limit of 999 classes exceeded.Cannot accept this new class.");
  auto outcome = copyItems(f.session(), progress, CopyRequest{ItemKind::Class, 1, {full}, {cls}});
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->copied, 0);
  EXPECT_FALSE(classNamed(full, "12C"));
}

}  // namespace
}  // namespace tavrel::interschool
