#include "core/setup/schools.h"

#include <gtest/gtest.h>

#include "core/store/timetable_rows.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::setup {
namespace {

using namespace store;
using testing::ScriptedPrompter;

class SchoolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store = std::move(Store::open(ProgramFolders{folder.path()}, DataSet::Live).value());
    session = std::make_unique<Session>(*store, prompter);
  }

  int create() {
    auto code = createSchool(*session);
    EXPECT_TRUE(code.has_value());
    return code.value_or(0);
  }

  void addClassAndResource(int school) {
    TClas c;
    c.CSCHOOL = school;
    c.CLSCODE = 1;
    c.CLSNAME = "7A";
    ASSERT_EQ(store->table<TClas>().insert(c), WriteStatus::Ok);
    TTeac t;
    t.TSCHOOL = school;
    t.TCHCODE = 1;
    t.TCHNAME = "Ms Osei";
    ASSERT_EQ(store->table<TTeac>().insert(t), WriteStatus::Ok);
  }

  SchoolDetails detailsOf(const TSchl& school) {
    SchoolDetails details;
    details.name = school.SNAME;
    details.remark = school.SREMARK;
    details.dayCountText = std::to_string(school.SWRKDAYS / 100);
    details.recess = recessTicks(school.SRECESS);
    return details;
  }

  testing::TempFolder folder;
  std::unique_ptr<Store> store;
  ScriptedPrompter prompter;
  SilentProgress progress;
  std::unique_ptr<Session> session;
};

TEST_F(SchoolsTest, ANewSchoolTakesTheNextCodeAUniqueNameAndTheFullWeek) {
  TInst inst = store->institution();
  inst.ISECTION = 3;
  store->saveInstitution(inst);
  for (const char* name : {"SCHOOL4", "SCHOOL4+"}) {
    TSchl s;
    s.SNAME = name;
    s.SCHOOLCODE = name[7] ? 11 : 10;
    ASSERT_EQ(store->table<TSchl>().insert(s), WriteStatus::Ok);
  }
  TRPTime bell;
  bell.RPTMSCHL = 10;
  bell.RPTMLECT = 2;
  bell.RPTMTIME = "08:45-09:30";
  ASSERT_EQ(store->table<TRPTime>().insert(bell), WriteStatus::Ok);

  EXPECT_EQ(create(), 4);
  TSchl school = *session->school();
  EXPECT_EQ(school.SNAME, "SCHOOL4++");
  EXPECT_EQ(school.SWRKDAYS, 912);
  EXPECT_EQ(school.STOTLEC, 108);
  EXPECT_EQ(school.SMAXLEC, 12);
  EXPECT_EQ(school.SREGN, "STANDARD");
  EXPECT_EQ(school.SRECESS, "");
  EXPECT_EQ(store->institution().ISECTION, 4);
  EXPECT_EQ(store->table<TRPLect>().count(TRPLect::primary, {4}), 12);
  EXPECT_EQ(store->table<TRPDay>().count(TRPDay::primary, {4}), 9);
  EXPECT_EQ(store->table<TRPTime>().find(TRPTime::primary, {4, 2})->RPTMTIME, "08:45-09:30");
  EXPECT_EQ(store->table<TRPTime>().find(TRPTime::primary, {4, 3})->RPTMTIME, "");
  EXPECT_EQ(store->table<TRPDate>().find(TRPDate::primary, {4, 1})->RPDDAY, "Day1");  // 9 days: numbered
}

TEST_F(SchoolsTest, DeletingASchoolRemovesItsRowsAndItsCodeIsNotReused) {
  create();
  int second = create();
  create();
  addClassAndResource(second);
  prompter.expectQuestion(MessageKind::Warning, "Deleting School. Ok?", false);
  EXPECT_FALSE(deleteSchool(*session, progress, second));
  prompter.expectQuestion(MessageKind::Warning, "Deleting School. Ok?", true);
  ASSERT_TRUE(deleteSchool(*session, progress, second));
  EXPECT_FALSE(store->table<TSchl>().find(TSchl::SCLCODE, {second}));
  EXPECT_EQ(store->table<TClas>().count(TClas::primary, {second}), 0);
  EXPECT_EQ(store->table<TRPDate>().count(TRPDate::primary, {second}), 0);
  EXPECT_EQ(create(), 4);

  prompter.expectQuestion(MessageKind::Warning, "Deleting School. Ok?", true);
  EXPECT_FALSE(deleteSchool(*session, progress, 99));
  EXPECT_EQ(prompter.beeps, 1);
}

TEST_F(SchoolsTest, NoRoomForATenthSchool) {
  for (int i = 0; i < kMostSchools; ++i) create();
  prompter.expectMessage(MessageKind::Information, "No room for new School.");
  EXPECT_FALSE(createSchool(*session));
  EXPECT_EQ(store->table<TSchl>().count(TSchl::primary), kMostSchools);
}

TEST_F(SchoolsTest, RecessPositionsAreStoredWholeOrNotAtAll) {
  auto ticks = [](std::initializer_list<int> periods) {
    std::array<bool, 11> t{};
    for (int p : periods) t[static_cast<std::size_t>(p - 1)] = true;
    return t;
  };
  struct Case {
    std::array<bool, 11> ticks;
    std::string text;
    std::vector<int> dropped;
  };
  for (const Case& c :
       {Case{ticks({2, 11}), ",2,11", {}}, Case{ticks({}), "", {}},
        Case{ticks({1, 2, 3, 4, 5, 6}), ",1,2,3,4,5", {6}},
        Case{ticks({1, 2, 3, 4, 10, 11}), ",1,2,3,4", {10, 11}}, Case{ticks({3, 10, 11}), ",3,10,11", {}}}) {
    RecessText stored = recessText(c.ticks);
    EXPECT_EQ(stored.text, c.text);
    EXPECT_EQ(stored.dropped, c.dropped);
    EXPECT_LE(stored.text.size(), 10u);
  }
  auto read = recessTicks(",10");
  EXPECT_TRUE(read[9]);
  EXPECT_FALSE(read[0]);
}

TEST_F(SchoolsTest, LeavingTheDetailsRefusesEmptyAndDuplicateNamesAndBadDayCounts) {
  create();
  create();
  TSchl school = *session->school();
  DetailsBaseline baseline = detailsBaseline(school);
  SchoolDetails details = detailsOf(school);

  details.name = "";
  prompter.expectMessage(MessageKind::Error, "Enter School name.");
  EXPECT_EQ(leaveDetails(*session, details, baseline).restoredName, "SCHOOL2");
  details.name = "school1";
  prompter.expectMessage(MessageKind::Error, "Duplicate School name. Restoring old name.");
  EXPECT_TRUE(leaveDetails(*session, details, baseline).refused);
  details.name = "Hillside";
  details.dayCountText = "12";
  prompter.expectMessage(MessageKind::Error,
                         "\"12\" is invalid.Select valid no. of days in timtabling week cycle.");
  EXPECT_EQ(leaveDetails(*session, details, baseline).restoredDayCount, "9");
  EXPECT_EQ(session->school()->SNAME, "SCHOOL2");

  details.dayCountText = "9";
  details.remark = "Senior wing";
  EXPECT_FALSE(leaveDetails(*session, details, baseline).refused);
  EXPECT_EQ(session->school()->SNAME, "HILLSIDE");
  EXPECT_EQ(session->school()->SREMARK, "SENIOR WING");
}

TEST_F(SchoolsTest, FewerDaysOffersTheAvailabilitySetupAndThenApplyingTheAvailability) {
  int code = create();
  addClassAndResource(code);
  TSchl school = *session->school();
  DetailsBaseline baseline = detailsBaseline(school);
  SchoolDetails details = detailsOf(school);
  details.dayCountText = "5";
  prompter.expectQuestion(
      MessageKind::Warning,
      "Altering number of days in Week Cycle only changes the timetable framework. Use "
      "Availability Setup to effectively alter the periods available for allocation. Select Yes "
      "to launch the Availability Setup window.",
      false);
  prompter.expectQuestion(
      MessageKind::Warning,
      "School availability has changed. Applying new availability to  all Classes and Resources. "
      "Later, you will need to reset the special availability, if any, of individual Classes or "
      "Resources. Ok to Apply?",
      false);
  prompter.expectMessage(
      MessageKind::Warning,
      "You have chosen not to apply School availability to Classes and   Resources. You must apply "
      "this sooner than later. And for doing so,  select this option from pop up menu by right "
      "clicking on the School in the School Grid in this Institution View window.");
  bool setupRan = false;
  leaveDetails(*session, details, baseline, {[&] { setupRan = true; }, {}});
  EXPECT_FALSE(setupRan);
  EXPECT_EQ(session->school()->SWRKDAYS, 512);
  EXPECT_EQ(store->table<TRPDate>().find(TRPDate::primary, {code, 1})->RPDDAY, "Monday");
}

TEST_F(SchoolsTest, EditingTheRemarkKeepsTheDayTitlesTypedForReports) {
  int code = create();
  auto title = *store->table<TRPDate>().find(TRPDate::primary, {code, 1});
  title.RPDDAY = "Mon 1 Sep";
  ASSERT_EQ(store->table<TRPDate>().update(title), WriteStatus::Ok);
  TSchl school = *session->school();
  DetailsBaseline baseline = detailsBaseline(school);
  SchoolDetails details = detailsOf(school);
  details.remark = "Term one";
  leaveDetails(*session, details, baseline);
  EXPECT_EQ(store->table<TRPDate>().find(TRPDate::primary, {code, 1})->RPDDAY, "Mon 1 Sep");
}

TEST_F(SchoolsTest, ChangingTheWeekSetupRenamesTheDaysAndWarnsWhenIndentsExist) {
  int code = create();
  TSchl school = *session->school();
  school.SWRKDAYS = 612;
  ASSERT_EQ(store->table<TSchl>().update(school), WriteStatus::Ok);
  DetailsBaseline baseline = detailsBaseline(school);
  changeWeekSetup(*session, "GULF");
  EXPECT_EQ(store->table<TRPDate>().find(TRPDate::primary, {code, 1})->RPDDAY, "Saturday");
  leaveDetails(*session, detailsOf(*session->school()), baseline);  // no indent: no warning

  TAlloc indent;
  indent.ASCHOOL = code;
  indent.ASERIALNO = 1;
  indent.AACTIVE = "N";
  ASSERT_EQ(store->table<TAlloc>().insert(indent), WriteStatus::Ok);
  baseline = detailsBaseline(*session->school());
  changeWeekSetup(*session, "STANDARD");
  prompter.expectMessage(
      MessageKind::Warning,
      "You have changed the Week Setup from GULF to STANDARD. This affects the Day text in your "
      "indent constraints.  It may be a good idea to review and reselect the indent constraints in "
      "context of the new Week Setup.");
  leaveDetails(*session, detailsOf(*session->school()), baseline);
}

TEST_F(SchoolsTest, AvailabilitySetupRaisesPeriodsPerDayButNeverLowersThem) {
  int code = create();
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      TTtbl cell;
      cell.TSCHOOL = code;
      cell.TTYPE = "L";
      cell.TSCHL = code;
      cell.TDAY = day;
      cell.TLECTNO = period;
      cell.TSUBJECT = cell.TCLASS = cell.TTEACHER = period <= 9 ? 999 : 0;
      ASSERT_EQ(store->table<TTtbl>().insert(cell), WriteStatus::Ok);
    }
  }
  availabilitySetupFinished(*session);
  EXPECT_EQ(session->school()->SMAXLEC, 9);
  EXPECT_EQ(session->school()->SWRKDAYS, 912);

  TSchl school = *session->school();
  school.SWRKDAYS = 506;
  ASSERT_EQ(store->table<TSchl>().update(school), WriteStatus::Ok);
  availabilitySetupFinished(*session);
  EXPECT_EQ(session->school()->SWRKDAYS, 509);
}

TEST_F(SchoolsTest, PopupCommandsFollowWhatTheSchoolHas) {
  int code = create();
  SchoolCommands empty = schoolCommands(*store, code);
  EXPECT_TRUE(empty.deleteSchool);
  EXPECT_FALSE(empty.deleteAll);
  EXPECT_FALSE(empty.diagnostics);
  EXPECT_FALSE(schoolCommands(*store, std::nullopt).deleteSchool);
  addClassAndResource(code);
  TAlloc indent;
  indent.ASCHOOL = code;
  indent.ASERIALNO = 1;
  indent.AACTIVE = "N";
  ASSERT_EQ(store->table<TAlloc>().insert(indent), WriteStatus::Ok);
  SchoolCommands some = schoolCommands(*store, code);
  EXPECT_TRUE(some.makePassiveActive);
  EXPECT_FALSE(some.makeActivePassive);
  EXPECT_FALSE(some.schoolStatistics);
  EXPECT_TRUE(some.applyToBoth);
  EXPECT_TRUE(some.diagnostics);
}

TEST_F(SchoolsTest, LeavingTheInstitutionViewMakesTheAvailabilityRowsOfSchoolsWithoutThem) {
  const int first = create();
  const int second = create();
  const auto schoolRows = [&](int code) {
    return store->table<TTtbl>().count(TTtbl::TIMESCHL, {code, "L", code});
  };
  session->setSchool(first);
  session->viewKind = 'L';
  ASSERT_TRUE(TTAppnd(*session, progress, first, 1));
  ASSERT_EQ(schoolRows(second), 0);
  // The first school's week was already shaped: its rows are left as they are.
  TTtbl shaped = *store->table<TTtbl>().find(TTtbl::TIMESCHL, {first, "L", first, 1, 12});
  shaped.TSUBJECT = 0;
  ASSERT_EQ(store->table<TTtbl>().update(shaped), WriteStatus::Ok);
  session->setSchool(first);
  session->viewKind = 'C';

  EXPECT_TRUE(makeMissingAvailabilityRows(*session, progress));
  EXPECT_EQ(schoolRows(first), 108);
  EXPECT_EQ(schoolRows(second), 108);
  EXPECT_EQ(store->table<TTtbl>().find(TTtbl::TIMESCHL, {first, "L", first, 1, 12})->TSUBJECT, 0);
  EXPECT_EQ(store->table<TTtbl>().find(TTtbl::TIMESCHL, {second, "L", second, 9, 12})->TSUBJECT, 999);
  EXPECT_EQ(session->schoolCode(), first);
  EXPECT_EQ(session->viewKind, 'C');
}

}  // namespace
}  // namespace tavrel::setup

namespace tavrel::setup {
namespace {

TEST(SchoolAvailabilitySetup, MakesTheSchoolsRowsOnceAndTakesTheDayCount) {
  testing::TempFolder folder;
  auto store = std::move(Store::open(ProgramFolders{folder.path()}, DataSet::Live).value());
  testing::ScriptedPrompter prompter;
  SilentProgress progress;
  Session session(*store, prompter);
  int first = *createSchool(session);
  int second = *createSchool(session);
  session.setSchool(first);
  prompter.expectMessage(MessageKind::Error,
                         "\"0\" is invalid.Select valid no. of days in timtabling week cycle.");
  EXPECT_FALSE(prepareAvailabilitySetup(session, progress, "0"));
  EXPECT_TRUE(prepareAvailabilitySetup(session, progress, "6"));
  EXPECT_EQ(session.school()->SWRKDAYS, 612);
  EXPECT_EQ(store->table<TTtbl>().count(TTtbl::TIMESCHL, {first, "L", first}), 108);
  EXPECT_TRUE(prepareAvailabilitySetup(session, progress, "6"));  // rows are there: nothing new
  EXPECT_EQ(store->table<TTtbl>().count(TTtbl::TIMESCHL, {first, "L", first}), 108);
  EXPECT_EQ(store->table<TTtbl>().count(TTtbl::TIMESCHL, {second, "L", second}), 0);
  EXPECT_TRUE(makeMissingAvailabilityRows(session, progress));
  EXPECT_EQ(store->table<TTtbl>().count(TTtbl::TIMESCHL, {second, "L", second}), 108);
  EXPECT_EQ(session.schoolCode(), first);
  EXPECT_GE(prompter.beeps, 1);
}

}  // namespace
}  // namespace tavrel::setup
