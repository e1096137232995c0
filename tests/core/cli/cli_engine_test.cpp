// End-to-end tests of `tavrel-cli allocate` and `tavrel-cli check`: the built tool on a school known
// to be feasible.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/store/store.h"
#include "tests/core/cli/tool_run.h"
#include "tests/support/generated_school.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

using tool::readFile;
using tool::runOn;
using tool::ToolRun;

class CliEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok()) << opened.error();
    generated = testing::writeGeneratedSchool(**opened, {.seed = 2});
  }

  TempFolder home;
  testing::GeneratedSchool generated;
};

TEST_F(CliEngine, AllocatesEveryPeriodAndTheCheckFindsNothing) {
  ToolRun allocate = runOn(home.path(), {"allocate", "--school", "SCHOOL1", "--seed", "4"});
  ASSERT_EQ(allocate.exitCode, 0) << allocate.err;
  const std::string total = std::to_string(generated.periods);
  EXPECT_EQ(allocate.out.rfind(total + "/" + total + " periods allocated (100%), 0 failed.\n", 0), 0u)
      << allocate.out;
  EXPECT_NE(allocate.out.find("Seed: 4\n"), std::string::npos);
  EXPECT_NE(allocate.err.find("information: " + total + "/" + total + " periods allocated. 100 % complete."),
            std::string::npos)
      << allocate.err;

  ToolRun check = runOn(home.path(), {"check", "--school", "SCHOOL1"});
  EXPECT_EQ(check.exitCode, 0) << check.err;
  EXPECT_EQ(check.out, "SCHOOL1: the timetable keeps every rule.\n");
}

TEST_F(CliEngine, CheckListsEveryViolationAndFails) {
  ASSERT_EQ(runOn(home.path(), {"allocate", "--school", "SCHOOL1", "--seed", "1"}).exitCode, 0);
  {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok());
    store::Store& data = **opened;
    store::Transaction tx(data);
    store::TAlloc indent = *data.table<store::TAlloc>().find(store::TAlloc::primary, {1, 1});
    indent.ANOLECALL += 1;
    data.table<store::TAlloc>().update(indent);
    tx.commit();
  }
  ToolRun check = runOn(home.path(), {"check", "--school", "SCHOOL1"});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.out.find("indent 1: ANOLECALL is "), std::string::npos) << check.out;
  EXPECT_NE(check.err.find("error: SCHOOL1: 1 violation."), std::string::npos) << check.err;
}

TEST_F(CliEngine, AnUnknownSchoolIsRefused) {
  ToolRun run = runOn(home.path(), {"allocate", "--school", "NOWHERE"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("error: There is no school named NOWHERE."), std::string::npos) << run.err;
  ToolRun check = runOn(home.path(), {"check", "--school", "NOWHERE"});
  EXPECT_EQ(check.exitCode, 1);
}

}  // namespace
}  // namespace tavrel::cli
