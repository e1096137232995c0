#include "core/shell/institution_reset.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::shell {
namespace {

using namespace store;

constexpr const char* kFirstQuestion =
    "Resetting the institution will erase all the schools and their respective data. Select Yes to continue.";
constexpr const char* kSecondQuestion = "Ok to reset Instiution?";

TEST(InstitutionReset, ErasesTheSchoolsAfterTwoYesAndKeepsNameAndHelp) {
  struct Case {
    bool first;
    bool second;
    bool erased;
  };
  for (const Case& c : {Case{false, false, false}, Case{true, false, false}, Case{true, true, true}}) {
    testing::TempFolder folder;
    testing::ScriptedPrompter prompter;
    SilentProgress progress;
    SystemClock clock;
    Application app(ProgramFolders{folder.path()}, Ports{prompter, progress, clock});
    ASSERT_TRUE(app.start().ok());
    {
      Transaction tx(app.store());
      TInst inst = app.store().institution();
      inst.INSTITUTION = "Riverside Academy";
      inst.ISECTION = 1;
      inst.ISUBJECT = 1;
      app.store().saveInstitution(inst);
      TSchl school;
      school.SNAME = "SENIOR";
      school.SCHOOLCODE = 1;
      ASSERT_EQ(app.store().table<TSchl>().insert(school), WriteStatus::Ok);
      TSubj subject;
      subject.SUBNAME = "History";
      subject.SUBCODE = 1;
      ASSERT_EQ(app.store().table<TSubj>().insert(subject), WriteStatus::Ok);
      TWin help;
      help.WINCODE = "FM";
      help.WINNAME = "Main Menu";
      ASSERT_EQ(app.store().table<TWin>().insert(help), WriteStatus::Ok);
      tx.commit();
    }
    app.session().selectFirstSchool();
    prompter.expectQuestion(MessageKind::Warning, kFirstQuestion, c.first);
    if (c.first) prompter.expectQuestion(MessageKind::Warning, kSecondQuestion, c.second);
    EXPECT_EQ(resetInstitution(app), c.erased);
    EXPECT_EQ(app.store().table<TSchl>().count(TSchl::primary), c.erased ? 0 : 1);
    EXPECT_EQ(app.store().table<TSubj>().count(TSubj::primary), c.erased ? 0 : 1);
    EXPECT_EQ(app.store().table<TWin>().count(TWin::primary), 1);
    TInst inst = app.store().institution();
    EXPECT_EQ(inst.INSTITUTION, "Riverside Academy");
    EXPECT_EQ(inst.ISECTION, c.erased ? 0 : 1);
    EXPECT_EQ(app.session().schoolCode(), c.erased ? 0 : 1);
    if (c.erased) {
      EXPECT_EQ(mainWindowCaption(app), "Riverside Academy - Main Menu (Live)");
    }
  }
}

}  // namespace
}  // namespace tavrel::shell
