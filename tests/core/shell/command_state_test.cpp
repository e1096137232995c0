#include "core/shell/command_state.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::shell {
namespace {

using namespace store;
using testing::ScriptedPrompter;
using testing::TempFolder;

class CommandStateTest : public ::testing::Test {
 protected:
  CommandStateTest() {
    auto opened = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
    EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error());
    store = std::move(opened.value());
  }

  void addSchool(int code, const std::string& name, int perDay = 12, int perWeek = 108) {
    TSchl school;
    school.SCHOOLCODE = code;
    school.SNAME = name;
    school.SMAXLEC = perDay;
    school.STOTLEC = perWeek;
    ASSERT_EQ(store->table<TSchl>().insert(school), WriteStatus::Ok);
  }
  void addClass(int school, int code) {
    TClas row;
    row.CSCHOOL = school;
    row.CLSCODE = code;
    row.CLSNAME = "Class " + std::to_string(code);
    ASSERT_EQ(store->table<TClas>().insert(row), WriteStatus::Ok);
  }
  void addResource(int school, int code) {
    TTeac row;
    row.TSCHOOL = school;
    row.TCHCODE = code;
    row.TCHNAME = "Resource " + std::to_string(code);
    ASSERT_EQ(store->table<TTeac>().insert(row), WriteStatus::Ok);
  }
  void addSubject(int code) {
    TSubj row;
    row.SUBCODE = code;
    row.SUBNAME = "Subject " + std::to_string(code);
    ASSERT_EQ(store->table<TSubj>().insert(row), WriteStatus::Ok);
  }
  void addIndent(int school, int serial, const char* active) {
    TAlloc row;
    row.ASCHOOL = school;
    row.ASERIALNO = serial;
    row.AACTIVE = active;
    row.APRIORITY = "Z";
    ASSERT_EQ(store->table<TAlloc>().insert(row), WriteStatus::Ok);
  }
  Session& sessionOn(int school) {
    session = std::make_unique<Session>(*store, prompter);
    if (school != 0) {
      EXPECT_TRUE(session->setSchool(school));
    }
    return *session;
  }

  TempFolder folder;
  ScriptedPrompter prompter;
  std::unique_ptr<Store> store;
  std::unique_ptr<Session> session;
};

TEST_F(CommandStateTest, WithoutASchoolOnlyTheInstitutionLevelRemains) {
  CommandState state = refreshCommands(*store, sessionOn(0));
  EXPECT_TRUE(state.institutionView);
  for (bool schoolLevel :
       {state.schoolView, state.openSchool, state.resetInstitution, state.classView, state.resourceView,
        state.subjectView, state.availability, state.allocate, state.reports, state.interSchool}) {
    EXPECT_FALSE(schoolLevel);
  }
}

TEST_F(CommandStateTest, ChoosingAndCopyingBetweenSchoolsNeedsTwoOfThem) {
  addSchool(1, "North");
  CommandState one = commandState(*store, sessionOn(1));
  EXPECT_TRUE(one.schoolView);
  EXPECT_TRUE(one.resetInstitution);
  EXPECT_FALSE(one.openSchool);
  EXPECT_FALSE(one.interSchool);

  addSchool(2, "South");
  CommandState two = commandState(*store, sessionOn(1));
  EXPECT_TRUE(two.openSchool);
  EXPECT_TRUE(two.interSchool);
}

TEST_F(CommandStateTest, ViewsFollowTheItemsOfTheCurrentSchool) {
  addSchool(1, "North");
  addSchool(2, "South");
  addClass(2, 1);
  addResource(2, 1);

  CommandState north = commandState(*store, sessionOn(1));
  EXPECT_FALSE(north.classView);
  EXPECT_FALSE(north.resourceView);
  EXPECT_FALSE(north.availability);
  EXPECT_FALSE(north.reports);

  CommandState south = commandState(*store, sessionOn(2));
  EXPECT_TRUE(south.classView);
  EXPECT_TRUE(south.resourceView);
  EXPECT_TRUE(south.availability);
  EXPECT_TRUE(south.reports);
}

TEST_F(CommandStateTest, AnySingleViewEnablesTheAvailabilityMenuAndReports) {
  struct Case {
    const char* name;
    bool cls, resource, subject;
    bool availability, reports;
  };
  const Case cases[] = {
      {"class only", true, false, false, true, true},
      {"resource only", false, true, false, true, true},
      {"subject only", false, false, true, false, true},
  };
  int school = 0;
  for (const Case& c : cases) {
    ++school;
    addSchool(school, std::string("School ") + c.name);
    if (c.cls) addClass(school, 1);
    if (c.resource) addResource(school, 1);
    store->table<TSubj>().removeAll();
    if (c.subject) addSubject(1);
    CommandState state = commandState(*store, sessionOn(school));
    EXPECT_EQ(state.subjectView, c.subject) << c.name;
    EXPECT_EQ(state.availability, c.availability) << c.name;
    EXPECT_EQ(state.reports, c.reports) << c.name;
  }
}

TEST_F(CommandStateTest, AllocatingNeedsAnActiveIndentOfTheCurrentSchool) {
  addSchool(1, "North");
  addSchool(2, "South");
  addClass(1, 1);
  addIndent(1, 1, "N");
  addIndent(2, 1, "Y");
  EXPECT_FALSE(commandState(*store, sessionOn(1)).allocate);

  addIndent(1, 2, "Y");
  EXPECT_TRUE(commandState(*store, sessionOn(1)).allocate);
}

TEST_F(CommandStateTest, RefreshMakesTheFirstSchoolByNameCurrent) {
  addSchool(1, "Zenith");
  addSchool(2, "Alder");
  Session& session = sessionOn(0);
  ASSERT_FALSE(session.school());
  refreshCommands(*store, session);
  ASSERT_TRUE(session.school());
  EXPECT_EQ(session.school()->SNAME, "Alder");
}

TEST_F(CommandStateTest, RefreshCopiesTheSchoolsWeekIntoTheInstitutionLimits) {
  addSchool(1, "North", 8, 40);
  refreshCommands(*store, sessionOn(1));
  TInst institution = store->institution();
  EXPECT_EQ(institution.IDTUL_DAY, 8);
  EXPECT_EQ(institution.IDTUL_WEEK, 40);
}

}  // namespace
}  // namespace tavrel::shell
