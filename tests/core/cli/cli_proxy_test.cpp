// End-to-end tests of `tavrel-cli proxy` and `tavrel-cli unproxy`: the built tool on an allocated
// school, with the audit run after each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/store/store.h"
#include "tests/core/cli/tool_run.h"
#include "tests/support/generated_school.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

using testing::TempFolder;
using tool::runOn;
using tool::ToolRun;

class CliProxy : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
      ASSERT_TRUE(opened.ok()) << opened.error();
      testing::writeGeneratedSchool(**opened, {.seed = 2});
    }
    ASSERT_EQ(runOn(home.path(), {"allocate", "--school", "SCHOOL1", "--seed", "4"}).exitCode, 0);
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok());
    for (const store::TTeac& row : (*opened)->table<store::TTeac>().range(store::TTeac::primary, {1})) {
      if (row.TCHOPTION == "Y") continue;
      (absent.empty() && row.TALLOCLEC > 0 ? absent : substitutes).push_back(row.TCHNAME);
    }
    ASSERT_FALSE(absent.empty());
    ASSERT_GE(substitutes.size(), 2u);
  }

  void expectTimetableKeepsEveryRule() {
    ToolRun check = runOn(home.path(), {"check", "--school", "SCHOOL1"});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
  }

  TempFolder home;
  std::vector<std::string> absent;  // one resource with allocated periods
  std::vector<std::string> substitutes;
};

TEST_F(CliProxy, ProxiesAResourceAndGivesThePeriodsBack) {
  ToolRun proxy = runOn(home.path(), {"proxy", "--school", "SCHOOL1", "--resource", absent[0], "--by",
                                      substitutes[0], "--by", substitutes[1], "--anywhere", "--seed", "3"});
  ASSERT_EQ(proxy.exitCode, 0) << proxy.err;
  EXPECT_EQ(proxy.out.rfind("SCHOOL1\n", 0), 0u) << proxy.out;
  EXPECT_NE(proxy.out.find(" periods proxied ("), std::string::npos) << proxy.out;
  EXPECT_NE(proxy.out.find("Proxied By:\n"), std::string::npos);
  EXPECT_NE(proxy.out.find("Proxied To:\n"), std::string::npos);
  expectTimetableKeepsEveryRule();

  ToolRun undo = runOn(
      home.path(), {"unproxy", "--school", "SCHOOL1", "--resource", absent[0], "--anywhere", "--seed", "3"});
  ASSERT_EQ(undo.exitCode, 0) << undo.err;
  EXPECT_NE(undo.out.find(" proxy periods undone ("), std::string::npos) << undo.out;
  expectTimetableKeepsEveryRule();

  ToolRun again = runOn(home.path(), {"unproxy", "--school", "SCHOOL1", "--resource", absent[0]});
  EXPECT_EQ(again.exitCode, 1) << again.out;
  EXPECT_NE(again.err.find("error: " + absent[0] + " has no proxy to undo."), std::string::npos) << again.err;
}

TEST_F(CliProxy, RefusesUnknownItemsAndEmptySelections) {
  ToolRun stranger =
      runOn(home.path(), {"proxy", "--school", "SCHOOL1", "--resource", absent[0], "--by", "NOBODY"});
  EXPECT_EQ(stranger.exitCode, 1);
  EXPECT_NE(stranger.err.find("error: There is no other resource named NOBODY."), std::string::npos)
      << stranger.err;
  ToolRun idle =
      runOn(home.path(), {"proxy", "--school", "SCHOOL1", "--resource", "NOBODY", "--by", absent[0]});
  EXPECT_EQ(idle.exitCode, 1);
  EXPECT_NE(idle.err.find("error: NOBODY has no allocated period to proxy."), std::string::npos) << idle.err;
  ToolRun none = runOn(home.path(), {"proxy", "--school", "SCHOOL1", "--resource", absent[0], "--by",
                                     substitutes[0], "--days", "9"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.err.find("No periods selected. Ensure at least one selection."), std::string::npos)
      << none.err;
}

TEST_F(CliProxy, HelpNamesTheOptions) {
  ToolRun help = runOn(home.path(), {"proxy", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--resource", "--class", "--by", "--same-subject", "--anywhere", "--no-shuffle",
                             "--days", "--periods", "--seed"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  ToolRun undoHelp = runOn(home.path(), {"unproxy", "--help"});
  EXPECT_EQ(undoHelp.out.find("--by"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::cli
