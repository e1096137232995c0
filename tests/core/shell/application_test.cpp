#include "core/shell/application.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::shell {
namespace {

using namespace store;
using testing::ScriptedPrompter;
using testing::TempFolder;
namespace fs = std::filesystem;

class ApplicationTest : public ::testing::Test {
 protected:
  std::unique_ptr<Application> startApplication() {
    auto app = std::make_unique<Application>(ProgramFolders{folder.path()}, Ports{prompter, progress, clock});
    Status started = app->start();
    EXPECT_TRUE(started.ok()) << (started.ok() ? "" : started.error());
    Status activated = app->activate();
    EXPECT_TRUE(activated.ok()) << (activated.ok() ? "" : activated.error());
    return app;
  }

  static void addSchool(Store& store, int code, const std::string& name) {
    Transaction tx(store);
    TSchl s;
    s.SNAME = name;
    s.SCHOOLCODE = code;
    s.SWRKDAYS = 912;
    s.SSAVEDONE = "N";
    ASSERT_EQ(store.table<TSchl>().insert(s), WriteStatus::Ok);
    tx.commit();
  }

  static int subjectCount(const fs::path& folder) {
    auto store = Store::open(ProgramFolders{folder.parent_path()}, DataSet::Live);
    return store ? store.value()->table<TSubj>().count(TSubj::primary) : -1;
  }

  static void addSubject(Application& app, const std::string& name, int code) {
    Transaction tx(app.store());
    TSubj s;
    s.SUBNAME = name;
    s.SUBCODE = code;
    ASSERT_EQ(app.store().table<TSubj>().insert(s), WriteStatus::Ok);
    tx.commit();
  }

  // Subjects stored in a copy of the data folder.
  static int subjectsIn(const fs::path& copy) {
    TempFolder scratch;
    fs::create_directories(scratch.path() / "Data");
    for (const auto& entry : fs::directory_iterator(copy)) {
      if (entry.is_regular_file())
        fs::copy_file(entry.path(), scratch.path() / "Data" / entry.path().filename());
    }
    auto store = Store::open(ProgramFolders{scratch.path()}, DataSet::Live);
    return store ? store.value()->table<TSubj>().count(TSubj::primary) : -1;
  }

  TempFolder folder;
  ScriptedPrompter prompter;
  SilentProgress progress;
  SystemClock clock;
};

TEST_F(ApplicationTest, FirstStartCreatesANewDataSet) {
  auto app = startApplication();
  EXPECT_EQ(app->store().institution().INSTITUTION, "UNKNOWN INSTITUTION");
  EXPECT_EQ(mainWindowCaption(*app), "UNKNOWN INSTITUTION - Main Menu (Live)");
  EXPECT_EQ(
      statusBarText(app->dataSet()),
      "This is Live section. Use Sample section to view or create test data. Select File->Load Sample for "
      "this. Press F1 for help.");
  EXPECT_TRUE(fs::exists(folder.path() / "Data" / "Backup Current" / "tvrl_8.db"));
}

TEST_F(ApplicationTest, BackupsRotateOncePerStartSoThatPreviousHoldsTheLastSession) {
  {
    auto app = startApplication();
    addSubject(*app, "Maths", 1);
    app->activate().ok();  // a second activation in the same session does not rotate again
    EXPECT_EQ(subjectsIn(folder.path() / "Data" / "Backup Current"), 0);
  }
  {
    auto app = startApplication();  // the next start rotates: Current holds today's start state
    EXPECT_EQ(subjectsIn(folder.path() / "Data" / "Backup Current"), 1);
    EXPECT_EQ(subjectsIn(folder.path() / "Data" / "Backup Previous"), 0);
    addSubject(*app, "Physics", 2);
    app->activate().ok();
    app->activate().ok();
    EXPECT_EQ(subjectsIn(folder.path() / "Data" / "Backup Current"), 1);
    EXPECT_EQ(subjectsIn(folder.path() / "Data" / "Backup Previous"), 0);
  }
}

TEST_F(ApplicationTest, TheCurrentSchoolSurvivesActivationUntilItIsGone) {
  auto app = startApplication();
  addSchool(app->store(), 1, "ALPHA");
  addSchool(app->store(), 2, "BETA");
  prompter.expectMessage(MessageKind::Information, "School: BETA is active.");
  app->openSchool(2);
  ASSERT_TRUE(app->activate().ok());
  EXPECT_EQ(app->session().schoolCode(), 2);
  EXPECT_EQ(mainWindowCaption(*app), "BETA - Main Menu (Live)");

  Transaction tx(app->store());
  app->store().table<TSchl>().remove(*app->store().table<TSchl>().find(TSchl::SCLCODE, {2}));
  tx.commit();
  ASSERT_TRUE(app->activate().ok());
  EXPECT_EQ(app->session().schoolCode(), 1);
}

TEST_F(ApplicationTest, ActivationRepairsCountersAndMarksSavedJobsInterrupted) {
  auto app = startApplication();
  addSchool(app->store(), 1, "ALPHA");
  {
    Transaction tx(app->store());
    auto school = *app->store().table<TSchl>().find(TSchl::SCLCODE, {1});
    school.SSAVEDONE = "Y";
    ASSERT_EQ(app->store().table<TSchl>().update(school), WriteStatus::Ok);
    TClas c;
    c.CSCHOOL = 1;
    c.CLSNAME = "9A";
    c.CLSCODE = 9;
    ASSERT_EQ(app->store().table<TClas>().insert(c), WriteStatus::Ok);
    tx.commit();
  }
  ASSERT_TRUE(app->activate().ok());
  auto school = app->store().table<TSchl>().find(TSchl::SCLCODE, {1});
  EXPECT_EQ(school->SSAVEDONE, "R");
  EXPECT_EQ(school->STOTCLS, 9);
}

TEST_F(ApplicationTest, ResumeQuestionAnswers) {
  struct Case {
    bool yes;
    const char* position;
    bool restores;
  };
  for (const Case& c : {Case{true, "C", false}, Case{false, "C", true}, Case{false, "B", false}}) {
    TempFolder local;
    ScriptedPrompter answers;
    Application app(ProgramFolders{local.path()}, Ports{answers, progress, clock});
    ASSERT_TRUE(app.start().ok());
    addSchool(app.store(), 1, "ALPHA");
    {
      Transaction tx(app.store());
      auto school = *app.store().table<TSchl>().find(TSchl::SCLCODE, {1});
      school.SSAVEDONE = "R";
      school.SSAVEPOS = c.position;
      ASSERT_EQ(app.store().table<TSchl>().update(school), WriteStatus::Ok);
      TAlloc indent;
      indent.ASCHOOL = 1;
      indent.ASERIALNO = 1;
      indent.AACTIVE = "Y";
      indent.ANOOFLEC = 3;
      indent.ANOLECALL = 2;
      ASSERT_EQ(app.store().table<TAlloc>().insert(indent), WriteStatus::Ok);
      tx.commit();
    }
    app.session().selectFirstSchool();
    answers.expectQuestion(
        MessageKind::Warning,
        "ALPHA : This is your last chance to resume the interrupted timetable allocation job. "
        "Select Yes to resume.",
        c.yes);
    if (c.restores)
      answers.expectMessage(MessageKind::Information,
                            "ALPHA : Data needs restoration.  Proceeding to restore it.");
    EXPECT_EQ(app.rsumechk(), c.yes);
    auto school = app.store().table<TSchl>().find(TSchl::SCLCODE, {1});
    EXPECT_EQ(school->SSAVEDONE, c.yes ? "R" : "N");
    EXPECT_EQ(app.store().table<TAlloc>().find(TAlloc::primary, {1, 1})->ANOLECALL, c.restores ? 0 : 2);
    if (!c.yes) {
      EXPECT_FALSE(app.rsumechk());  // answered No: the job is gone, nothing is asked again
    }
  }
}

TEST_F(ApplicationTest, TblInitFreesAllocatedCellsAndKeepsNotAvailableOnes) {
  auto app = startApplication();
  addSchool(app->store(), 1, "ALPHA");
  app->session().selectFirstSchool();
  {
    Transaction tx(app->store());
    auto& cells = app->store().table<TTtbl>();
    auto cell = [&](const char* kind, int owner, int lect, int subject, int partner, int serial) {
      TTtbl t;
      t.TSCHOOL = 1;
      t.TTYPE = kind;
      t.TSCHL = owner;
      t.TDAY = 1;
      t.TLECTNO = lect;
      t.TSUBJECT = subject;
      t.TSERIAL = serial;
      t.TCLUSTOT = serial ? 1 : 0;
      t.TCLUSLECNO = serial ? 1 : 0;
      if (kind[0] == 'C') {
        t.TCLASS = owner;
        t.TTEACHER = partner;
      } else {
        t.TTEACHER = owner;
        t.TCLASS = partner;
      }
      ASSERT_EQ(cells.insert(t), WriteStatus::Ok);
    };
    cell("C", 1, 1, 5, 2, 7);  // allocated
    cell("C", 1, 2, 0, 0, 0);  // not available
    cell("T", 2, 1, 5, 1, 7);  // allocated mirror
    tx.commit();
  }
  app->TblInit();
  auto& cells = app->store().table<TTtbl>();
  auto allocated = cells.find(TTtbl::TIMECLAS, {1, "C", 1, 1, 1});
  EXPECT_EQ(allocated->TSUBJECT, 999);
  EXPECT_EQ(allocated->TTEACHER, 999);
  EXPECT_EQ(allocated->TSERIAL, 0);
  EXPECT_EQ(cells.find(TTtbl::TIMECLAS, {1, "C", 1, 1, 2})->TSUBJECT, 0);
  EXPECT_EQ(cells.find(TTtbl::TIMETEAC, {1, "T", 2, 1, 1})->TCLASS, 999);
}

TEST_F(ApplicationTest, LoadingTheSampleLeavesTheLiveTablesAlone) {
  auto app = startApplication();
  addSubject(*app, "Maths", 1);
  auto liveTime = fs::last_write_time(folder.path() / "Data" / "tvrl_3.db");
  ASSERT_TRUE(app->loadDataSet(DataSet::Sample).ok());
  EXPECT_EQ(mainWindowCaption(*app), "UNKNOWN INSTITUTION - Main Menu (Sample)");
  EXPECT_EQ(app->store().table<TSubj>().count(TSubj::primary), 0);
  addSubject(*app, "Sample subject", 1);
  TWin help;
  help.WINCODE = "FM";
  help.WINNAME = "Main Menu";
  {
    Transaction tx(app->store());
    ASSERT_EQ(app->store().table<TWin>().insert(help), WriteStatus::Ok);
    tx.commit();
  }
  EXPECT_EQ(fs::last_write_time(folder.path() / "Data" / "tvrl_3.db"), liveTime);
  EXPECT_TRUE(fs::exists(folder.path() / "Samples" / "tvrl_3.db"));
  EXPECT_FALSE(fs::exists(folder.path() / "Samples" / "tvrl_28.db"));  // help texts stay live
  ASSERT_TRUE(app->loadDataSet(DataSet::Live).ok());
  EXPECT_EQ(app->store().table<TWin>().count(TWin::primary), 1);
  EXPECT_EQ(app->store().table<TSubj>().find(TSubj::SUBJCODE, {1})->SUBNAME, "Maths");
}

TEST_F(ApplicationTest, StartRemovesOnlyStaleCompanionFilesOfTheTables) {
  fs::create_directories(folder.path() / "Data");
  std::ofstream(folder.path() / "Data" / "tvrl_8.PX") << "old index";
  std::ofstream(folder.path() / "Data" / "notes.txt") << "mine";
  auto app = startApplication();
  EXPECT_FALSE(fs::exists(folder.path() / "Data" / "tvrl_8.PX"));
  EXPECT_TRUE(fs::exists(folder.path() / "Data" / "notes.txt"));
}

}  // namespace
}  // namespace tavrel::shell

namespace tavrel::shell {
namespace {

// A school stored before the nine-day frame: its owners have the rows of `days` days.
void addOldSchool(Store& store, int code, const std::string& name, int classDays) {
  Transaction tx(store);
  TSchl s;
  s.SNAME = name;
  s.SCHOOLCODE = code;
  s.SWRKDAYS = 0;
  s.STOTCLS = 1;
  ASSERT_EQ(store.table<TSchl>().insert(s), WriteStatus::Ok);
  TClas c;
  c.CSCHOOL = code;
  c.CLSCODE = 1;
  c.CLSNAME = "1A";
  ASSERT_EQ(store.table<TClas>().insert(c), WriteStatus::Ok);
  auto rows = [&](const char* kind, int owner, int days) {
    for (int cell = 0; cell < days * 12; ++cell) {
      TTtbl t;
      t.TSCHOOL = code;
      t.TTYPE = kind;
      t.TSCHL = owner;
      t.TDAY = cell / 12 + 1;
      t.TLECTNO = cell % 12 + 1;
      if (kind[0] == 'C') t.TCLASS = owner;
      t.TSUBJECT = 999;
      ASSERT_EQ(store.table<TTtbl>().insert(t), WriteStatus::Ok);
    }
  };
  rows("L", code, 6);
  rows("C", 1, classDays);
  tx.commit();
}

TEST_F(ApplicationTest, AFailedUpgradeIsReportedOnceAndTheProgramGoesOn) {
  auto app = startApplication();
  addOldSchool(app->store(), 1, "OLD ONE", 4);  // 48 rows: no way to complete them
  addOldSchool(app->store(), 2, "OLD TWO", 6);  // 72 rows: completed to nine days
  prompter.expectMessage(MessageKind::Information,
                         "Upgrade to 9 day week cycle failed. Contact vendor  (https://tavrel.org/support).");
  prompter.expectMessage(
      MessageKind::Information,
      "It is a good idea to reselect your School Availability Week Setup in the Institution View "
      "after a successful Data upgrade to the latest version. This will speed up timetable "
      "allocation.");
  ASSERT_TRUE(app->activate().ok());
  EXPECT_EQ(app->store().table<TSchl>().find(TSchl::SCLCODE, {1})->SWRKDAYS, 0);
  EXPECT_EQ(app->store().table<TSchl>().find(TSchl::SCLCODE, {2})->SWRKDAYS, 612);
  EXPECT_EQ(app->store().table<TTtbl>().count(TTtbl::TIMECLAS, {2, "C", 1}), 108);
  EXPECT_EQ(app->store().table<TTtbl>().count(TTtbl::TIMECLAS, {1, "C", 1}), 48);
  ASSERT_TRUE(app->activate().ok());  // the closed box activates again: nothing more is shown
  ASSERT_TRUE(app->activate().ok());
}

}  // namespace
}  // namespace tavrel::shell
