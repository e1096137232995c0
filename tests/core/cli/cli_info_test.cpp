// End-to-end tests of `tavrel-cli`: the built tool runs as a person would run it, on a temporary
// program folder, and its output streams and exit status are checked.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/store/store.h"
#include "tests/core/cli/tool_run.h"
#include "tests/support/bulk_data_set.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

using tool::readFile;
using tool::runOn;
using tool::runTool;
using tool::ToolRun;

struct CommandLineCase {
  const char* name;
  std::vector<std::string> args;
  int exitCode;
  const char* inOut;
  const char* inErr;
  bool opensData;  // whether the program came up on the folder
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, ExitsWithItsStatusAndSaysWhy) {
  const CommandLineCase& c = GetParam();
  TempFolder home;
  ToolRun run = runOn(home.path(), c.args);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_NE(run.out.find(c.inOut), std::string::npos) << run.out;
  EXPECT_NE(run.err.find(c.inErr), std::string::npos) << run.err;
  EXPECT_EQ(fs::exists(home.path() / "Data"), c.opensData);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    ::testing::Values(
        CommandLineCase{"NewDataSet",
                        {"info"},
                        0,
                        "Institution: UNKNOWN INSTITUTION\nData set: Live\nSchools: none\n",
                        "",
                        true},
        CommandLineCase{
            "SampleDataSet", {"--sample", "info"}, 0, "Data set: Sample\n", "Loading Sample...", true},
        CommandLineCase{
            "GlobalOptionAfterTheSubcommand", {"info", "--sample"}, 0, "Data set: Sample\n", "", true},
        CommandLineCase{"HelpOfTheSubcommand", {"info", "--help"}, 0, "Usage: tavrel-cli info", "", false},
        CommandLineCase{"UnknownSubcommand", {"frobnicate"}, 2, "", "frobnicate", false},
        CommandLineCase{"NoSubcommand", {}, 2, "", "A subcommand is required.", false},
        CommandLineCase{"YesAndNoTogether", {"--yes", "--no", "info"}, 2, "", "--yes excludes --no", false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CliInfo, ListsEverySchoolInNameOrderWithItsCounts) {
  TempFolder home;
  {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok()) << opened.error();
    store::Store& data = **opened;
    testing::writeBulkDataSet(data, {2, 3, 2});
    // Two active indents and one passive one in the second school.
    for (int serial = 1; serial <= 3; ++serial) {
      store::TAlloc indent;
      indent.ASCHOOL = 2;
      indent.ASERIALNO = serial;
      indent.ACLASS = serial;
      indent.ATEACHER = 1;
      indent.ASUBJECT = 1;
      indent.APRIORITY = "Z";
      indent.AACTIVE = serial == 3 ? "N" : "Y";
      ASSERT_EQ(data.table<store::TAlloc>().insert(indent), store::WriteStatus::Ok);
    }
  }
  ToolRun run = runOn(home.path(), {"info"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::regex expected(
      "Institution: UNKNOWN INSTITUTION\n"
      "Data set: Live\n"
      "Schools: 2\n"
      "School +Code +Days +Periods +Classes +Resources +Active indents +Passive indents\n"
      "SCHOOL1 +1 +9 +12 +3 +2 +0 +0\n"
      "SCHOOL2 +2 +9 +12 +3 +2 +2 +1\n");
  EXPECT_TRUE(std::regex_match(run.out, expected)) << run.out;
}

TEST(CliInfo, HomeThatIsNotAFolderIsRefused) {
  TempFolder folder;
  fs::path file = folder.path() / "not-a-folder";
  std::ofstream(file) << "x";
  ToolRun run = runOn(file, {"info"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "error: The program folder " + file.string() + " is not a folder.\n");
  EXPECT_EQ(run.out, "");
}

TEST(CliInfo, ReadOnlyHomeIsRefusedWithTheDataFolderNamed) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write to read-only folders";
  TempFolder home;
  fs::permissions(home.path(), fs::perms::owner_read | fs::perms::owner_exec);
  ToolRun run = runOn(home.path(), {"info"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("error: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find((home.path() / "Data").string()), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace tavrel::cli

namespace tavrel::cli {
namespace {

TEST(CliFileCommands, BackupZipAndTheirRefusalsThroughTheTool) {
  TempFolder home;
  TempFolder target;
  ToolRun backup = runOn(home.path(), {"backup", target.path().string()});
  EXPECT_EQ(backup.exitCode, 0) << backup.err;
  EXPECT_NE(backup.err.find("information: Backup completed."), std::string::npos);
  EXPECT_TRUE(fs::exists(target.path() / "tvrl_8.db"));

  ToolRun zip = runOn(home.path(), {"zip", target.path().string()});
  EXPECT_EQ(zip.exitCode, 0) << zip.err;
  EXPECT_TRUE(fs::exists(target.path() / "UNKNOWN INSTITUTION.zip"));

  ToolRun root = runOn(home.path(), {"restore", "/"});
  EXPECT_EQ(root.exitCode, 1);
  EXPECT_NE(root.err.find("error: Invalid Source Path."), std::string::npos);

  ToolRun onItself = runOn(home.path(), {"backup", (home.path() / "Data").string()});
  EXPECT_EQ(onItself.exitCode, 1);
  EXPECT_TRUE(fs::exists(home.path() / "Data" / "tvrl_8.db"));
  EXPECT_GT(fs::file_size(home.path() / "Data" / "tvrl_8.db"), 0u);
}

}  // namespace
}  // namespace tavrel::cli
