#include "core/store/timetable_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_progress.h"
#include "tests/support/school_fixture.h"

namespace tavrel::store {
namespace {

using testing::RecordingProgress;
using testing::SchoolFixture;

std::vector<TTtbl> rowsOf(SchoolFixture& f, char kind, int owner) {
  return f.store().table<TTtbl>().range(TTtbl::TIMESCHL, {f.school(), std::string(1, kind), owner});
}

void makeNotAvailable(SchoolFixture& f, char kind, int owner, int day, int period) {
  TTtbl cell = f.cell(kind, owner, day, period);
  cell.TCLASS = cell.TTEACHER = cell.TSUBJECT = 0;
  f.store().table<TTtbl>().update(cell);
}

// Keeps the owner's first `keep` rows in day-then-period order, as an older data set had them.
void keepFirstRows(SchoolFixture& f, char kind, int owner, int keep) {
  Transaction tx(f.store());
  for (const TTtbl& row : rowsOf(f, kind, owner)) {
    if ((row.TDAY - 1) * 12 + row.TLECTNO > keep) f.store().table<TTtbl>().remove(row);
  }
  tx.commit();
}

struct KindCase {
  char kind;
  const char* progressText;
};

class NewOwnerRows : public ::testing::TestWithParam<KindCase> {};

TEST_P(NewOwnerRows, CopyTheSchoolsAvailabilityAndSkipOwnersThatHaveRows) {
  const KindCase c = GetParam();
  SchoolFixture f;
  makeNotAvailable(f, 'L', f.school(), 1, 1);
  makeNotAvailable(f, 'L', f.school(), 9, 12);
  // Rows an interrupted creation made for code 12 are taken over as they are.
  TTtbl leftOver{.TSCHOOL = 1,
                 .TTYPE = std::string(1, c.kind),
                 .TCLASS = 12,
                 .TTEACHER = 12,
                 .TSUBJECT = 999,
                 .TDAY = 1,
                 .TLECTNO = 1,
                 .TSCHL = 12};
  f.store().table<TTtbl>().insert(leftOver);
  f.session().viewKind = c.kind;
  RecordingProgress progress;

  ASSERT_TRUE(TTAppnd(f.session(), progress, 10, 3));

  for (int owner : {11, 13}) {
    std::vector<TTtbl> rows = rowsOf(f, c.kind, owner);
    ASSERT_EQ(rows.size(), 108u) << owner;
    for (const TTtbl& row : rows) {
      const int expected = f.cell('L', f.school(), row.TDAY, row.TLECTNO).TSUBJECT == 0 ? 0 : 999;
      EXPECT_EQ(row.TSUBJECT, expected) << "day " << row.TDAY << " period " << row.TLECTNO;
      EXPECT_EQ(c.kind == 'C' ? row.TTEACHER : row.TCLASS, expected);
      EXPECT_EQ(c.kind == 'C' ? row.TCLASS : row.TTEACHER, owner);
      EXPECT_EQ(row.TSERIAL + row.TCLUSTOT + row.TCLUSLECNO + row.TSTARTDAY + row.TENDDAY, 0);
    }
  }
  EXPECT_EQ(rowsOf(f, c.kind, 12).size(), 1u);
  EXPECT_EQ(rowsOf(f, c.kind == 'C' ? 'T' : 'C', 11).size(), 0u);
  EXPECT_EQ(progress.shownText, c.progressText);
  EXPECT_EQ(progress.shownMaximum, 3 * 108);
  EXPECT_EQ(progress.position, 2 * 108);
  EXPECT_EQ(progress.pumps, 3);
  EXPECT_TRUE(progress.hidden);
  EXPECT_EQ(f.prompter().beeps, 1);
  EXPECT_FALSE(f.session().cancelFlag);
}

INSTANTIATE_TEST_SUITE_P(Kinds, NewOwnerRows,
                         ::testing::Values(KindCase{'C', "Preparing Timetable blocks for 3 Class..."},
                                           KindCase{'T', "Preparing Timetable blocks for 3 Resource..."}));

TEST(TimetableRows, TheSchoolsOwnRowsAreAllAvailable) {
  SchoolFixture f;
  f.store().table<TTtbl>().removeRange(TTtbl::TIMESCHL, {f.school(), "L", f.school()});
  f.session().viewKind = 'L';
  RecordingProgress progress;

  ASSERT_TRUE(TTAppnd(f.session(), progress, 0, 1));

  std::vector<TTtbl> rows = rowsOf(f, 'L', f.school());
  ASSERT_EQ(rows.size(), 108u);
  for (const TTtbl& row : rows) {
    EXPECT_EQ(row.TCLASS, 999);
    EXPECT_EQ(row.TTEACHER, 999);
    EXPECT_EQ(row.TSUBJECT, 999);
  }
  EXPECT_EQ(progress.shownText, "Preparing Timetable blocks for School...");

  // A second call finds the rows and leaves them alone.
  ASSERT_TRUE(TTAppnd(f.session(), progress, 0, 1));
  EXPECT_EQ(rowsOf(f, 'L', f.school()).size(), 108u);
}

TEST(TimetableRows, CancelKeepsTheRowsMadeSoFar) {
  SchoolFixture f;
  f.session().viewKind = 'C';
  RecordingProgress progress;
  progress.cancelAtPump = 1;

  EXPECT_FALSE(TTAppnd(f.session(), progress, 0, 3));

  EXPECT_TRUE(f.session().cancelFlag);
  EXPECT_EQ(rowsOf(f, 'C', 1).size(), 108u);
  EXPECT_EQ(rowsOf(f, 'C', 2).size(), 0u);
  EXPECT_EQ(progress.pumps, 1);
  EXPECT_EQ(f.prompter().beeps, 0);
  EXPECT_TRUE(progress.hidden);
}

struct UpgradeCase {
  const char* name;
  int rowsBefore;
  bool succeeds;
  int rowsAfter;
};

TEST(TimetableRows, UpgradeFormCompletesSixDayOwnersAndRefusesTheOthers) {
  const UpgradeCase cases[] = {
      {"six days of rows", 72, true, 108},
      {"already complete", 108, true, 108},
      {"four and a half days", 54, false, 54},
      {"an irregular count", 60, false, 60},
  };
  for (const UpgradeCase& c : cases) {
    SCOPED_TRACE(c.name);
    SchoolFixture f({.swrkdays = 0});
    const int cls = f.addClass("1A");
    keepFirstRows(f, 'C', cls, c.rowsBefore);
    const std::vector<TTtbl> before = rowsOf(f, 'C', cls);
    f.session().viewKind = 'C';
    if (!c.succeeds) f.prompter().expectMessage(MessageKind::Information, upgradeFailedMessage());
    RecordingProgress progress;

    EXPECT_EQ(TTAppnd(f.session(), progress, cls, 1), c.succeeds);

    EXPECT_EQ(f.session().cancelFlag, !c.succeeds);
    std::vector<TTtbl> after = rowsOf(f, 'C', cls);
    ASSERT_EQ(after.size(), static_cast<std::size_t>(c.rowsAfter));
    for (const TTtbl& row : after) {
      if (row.TDAY >= 7 && c.rowsBefore == 72) {
        EXPECT_EQ(row.TSUBJECT, 0) << "day " << row.TDAY;
      }
    }
    after.resize(before.size());
    EXPECT_EQ(after, before);           // the rows that were there are untouched
    EXPECT_EQ(progress.shownText, "");  // the upgrade uses the main window's progress, not its own
    EXPECT_EQ(f.prompter().beeps, 0);
  }
}

TEST(TimetableRows, TheUpgradeFailureMessage) {
  EXPECT_EQ(upgradeFailedMessage(),
            "Upgrade to 9 day week cycle failed. Contact vendor  (https://tavrel.org/support).");
}

}  // namespace
}  // namespace tavrel::store
