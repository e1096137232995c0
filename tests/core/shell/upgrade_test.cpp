#include "core/shell/upgrade.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/store/timetable_rows.h"
#include "tests/support/recording_progress.h"
#include "tests/support/school_fixture.h"

namespace tavrel::shell {
namespace {

using namespace store;
using testing::RecordingProgress;
using testing::SchoolFixture;

std::vector<TTtbl> rowsOf(SchoolFixture& f, char kind, int owner) {
  return f.store().table<TTtbl>().range(TTtbl::TIMESCHL, {f.school(), std::string(1, kind), owner});
}

// A school as an older version stored it: no week frame and 72 rows per owner (6 days), with
// `keep` rows instead for the owners named in `irregular`.
struct OldSchool {
  explicit OldSchool(DataSet dataSet = DataSet::Live, int swrkdays = 0)
      : f({.swrkdays = swrkdays, .dataSet = dataSet}) {
    Transaction tx(f.store());
    classes = {f.addClass("1A"), f.addClass("1B"), f.addClass("2A")};
    resources = {f.addResource("ADAMS"), f.addResource("BAKER")};
    trim('L', f.school(), 72);
    for (int cls : classes) trim('C', cls, 72);
    for (int resource : resources) trim('T', resource, 72);
    tx.commit();
  }

  void trim(char kind, int owner, int keep) {
    Transaction tx(f.store());
    for (const TTtbl& row : rowsOf(f, kind, owner)) {
      if ((row.TDAY - 1) * 12 + row.TLECTNO > keep) f.store().table<TTtbl>().remove(row);
    }
    tx.commit();
  }

  std::vector<std::pair<char, int>> owners() const {
    std::vector<std::pair<char, int>> all{{'L', 1}};
    for (int cls : classes) all.push_back({'C', cls});
    for (int resource : resources) all.push_back({'T', resource});
    return all;
  }

  SchoolFixture f;
  std::vector<int> classes;
  std::vector<int> resources;
};

struct DataSetCase {
  DataSet dataSet;
  int frame;
};

class Upgrade : public ::testing::TestWithParam<DataSetCase> {};

TEST_P(Upgrade, CompletesEveryOwnerToNineDaysAndGivesTheSchoolItsFrameAndReportDays) {
  OldSchool old(GetParam().dataSet);
  RecordingProgress progress;

  UpgradeOutcome outcome = ChkUpgrade(old.f.session(), progress);

  EXPECT_EQ(outcome.result, UpgradeResult::Upgraded);
  EXPECT_TRUE(outcome.message.empty());
  for (auto [kind, owner] : old.owners()) {
    std::vector<TTtbl> rows = rowsOf(old.f, kind, owner);
    ASSERT_EQ(rows.size(), 108u) << kind << owner;
    for (const TTtbl& row : rows) {
      if (row.TDAY >= 7) {
        EXPECT_EQ(row.TSUBJECT, 0) << kind << owner << " day " << row.TDAY;
      }
    }
  }
  EXPECT_EQ(old.f.session().school()->SWRKDAYS, GetParam().frame);
  std::vector<std::string> dayNames;
  for (const TRPDate& day : old.f.store().table<TRPDate>().range(TRPDate::primary, {1})) {
    dayNames.push_back(day.RPDDAY);
  }
  EXPECT_EQ(dayNames, (std::vector<std::string>{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                                "Saturday", "Sunday", "Day8", "Day9"}));
  EXPECT_EQ(progress.shownText, "Upgrading Data...");
  EXPECT_EQ(progress.shownMaximum, 3 + 2 + 2);
  EXPECT_EQ(progress.position, progress.shownMaximum);

  // Upgraded once: the next activation leaves it alone.
  EXPECT_EQ(ChkUpgrade(old.f.session(), progress).result, UpgradeResult::NotNeeded);
}

INSTANTIATE_TEST_SUITE_P(DataSets, Upgrade,
                         ::testing::Values(DataSetCase{DataSet::Live, 612},
                                           DataSetCase{DataSet::Sample, 608}));

TEST(UpgradeNotNeeded, ASchoolWithAWeekFrameIsNotTouched) {
  OldSchool school(DataSet::Live, 612);
  RecordingProgress progress;

  EXPECT_EQ(ChkUpgrade(school.f.session(), progress).result, UpgradeResult::NotNeeded);

  EXPECT_EQ(rowsOf(school.f, 'C', school.classes[0]).size(), 72u);
  EXPECT_EQ(school.f.store().table<TRPDate>().count(TRPDate::primary, {1}), 0);
  EXPECT_EQ(progress.shownText, "");
}

TEST(UpgradeFailure, AnOwnerThatCannotBeCompletedIsLeftAsItIsAndTheUpgradeTriedAgain) {
  for (int rows : {54, 60}) {
    SCOPED_TRACE(rows);
    OldSchool old;
    old.trim('C', old.classes[1], rows);
    const std::vector<TTtbl> before = rowsOf(old.f, 'C', old.classes[1]);
    RecordingProgress progress;

    // The outcome carries the message; nothing is shown from here (the scripted prompter would fail).
    UpgradeOutcome outcome = ChkUpgrade(old.f.session(), progress);

    EXPECT_EQ(outcome.result, UpgradeResult::Failed);
    EXPECT_EQ(outcome.message, upgradeFailedMessage());
    EXPECT_EQ(
        outcome.ownersLeft,
        (std::vector<std::string>{"class code 2: " + std::to_string(rows) +
                                  " timetable rows, which cannot be completed to the nine-day week; left as "
                                  "they are."}));
    EXPECT_EQ(rowsOf(old.f, 'C', old.classes[1]), before);
    for (auto [kind, owner] : old.owners()) {
      if (kind != 'C' || owner != old.classes[1]) {
        EXPECT_EQ(rowsOf(old.f, kind, owner).size(), 108u) << kind << owner;
      }
    }
    EXPECT_EQ(old.f.session().school()->SWRKDAYS, 0);
    EXPECT_EQ(old.f.store().table<TRPDate>().count(TRPDate::primary, {1}), 0);
    EXPECT_EQ(progress.position, progress.shownMaximum);

    // The next activation tries again, keeps what was completed and fails the same way.
    EXPECT_EQ(ChkUpgrade(old.f.session(), progress).result, UpgradeResult::Failed);
    EXPECT_EQ(rowsOf(old.f, 'C', old.classes[0]).size(), 108u);
  }
}

TEST(UpgradeCodesWithoutRows, ACodeThatHasNoRowsDoesNotStopTheUpgrade) {
  OldSchool old;
  old.trim('T', old.resources[0], 0);
  RecordingProgress progress;

  EXPECT_EQ(ChkUpgrade(old.f.session(), progress).result, UpgradeResult::Upgraded);

  EXPECT_EQ(rowsOf(old.f, 'T', old.resources[0]).size(), 0u);
  EXPECT_EQ(rowsOf(old.f, 'T', old.resources[1]).size(), 108u);
}

}  // namespace
}  // namespace tavrel::shell
