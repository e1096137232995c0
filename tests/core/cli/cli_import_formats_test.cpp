// End-to-end tests of `tavrel-cli import-xhstt`, `import-fet` and `export-fet` on the hand-made
// files of tests/fixtures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/cli/tool_run.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using tool::readFile;
using tool::runOn;
using tool::ToolRun;

const fs::path kFixtures = TAVREL_TEST_FIXTURES;

class CliImportFormats : public ::testing::Test {
 protected:
  ToolRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--samples", (shipped.path() / "none").string()});
    return runOn(home.path(), args);
  }

  TempFolder home;
  TempFolder shipped;
  TempFolder files;
};

// The school a file becomes in the data set is the document the import read: exporting it gives
// the document written by --document, with every indent active.
TEST_F(CliImportFormats, AnImportedSchoolExportsAsTheDocumentItWasReadInto) {
  struct Case {
    std::string command, file, school;
  };
  for (const Case& c : {Case{"import-xhstt", "small.xhstt.xml", "SMALL XHSTT"}, Case{"import-fet", "small.fet", "SMALL FET"}}) {
    const fs::path read = files.path() / (c.file + ".json");
    const fs::path exported = files.path() / (c.file + ".exported.json");
    const ToolRun imported = run({c.command, (kFixtures / c.file).string(), "--school", c.school, "--document", read.string()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err << imported.out;
    EXPECT_NE(imported.out.find("Mapped:"), std::string::npos) << imported.out;
    EXPECT_NE(imported.out.find("Dropped (no Tavrel equivalent): "), std::string::npos) << imported.out;
    EXPECT_EQ(imported.out.find("Not activated"), std::string::npos) << imported.out;
    ASSERT_EQ(run({"export", "--school", c.school, exported.string()}).exitCode, 0);
    EXPECT_EQ(readFile(exported), readFile(read)) << c.file;
  }
}

TEST_F(CliImportFormats, ARefusedFileImportsNothing) {
  const fs::path bad = files.path() / "bad.xml";
  std::ofstream(bad) << "<HighSchoolTimetableArchive><Instances></Instances></HighSchoolTimetableArchive>";
  const ToolRun refused = run({"import-xhstt", bad.string(), "--school", "NONE"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("The archive holds no <Instance>. Nothing was imported."), std::string::npos) << refused.err;
  const ToolRun tooLarge = run({"import-xhstt", (kFixtures / "small.xhstt.xml").string(), "--instance", "Large", "--school", "NONE"});
  EXPECT_EQ(tooLarge.exitCode, 1);
  EXPECT_NE(tooLarge.err.find("at most 9 days of 12 periods"), std::string::npos) << tooLarge.err;
  EXPECT_NE(run({"export", "--school", "NONE", (files.path() / "none.json").string()}).exitCode, 0);
}

TEST_F(CliImportFormats, ExportFetWritesTheSchoolForFet) {
  ASSERT_EQ(run({"import-fet", (kFixtures / "small.fet").string(), "--school", "SMALL FET"}).exitCode, 0);
  const fs::path fet = files.path() / "small-again.fet";
  const ToolRun written = run({"export-fet", "--school", "SMALL FET", fet.string()});
  ASSERT_EQ(written.exitCode, 0) << written.err;
  const std::string text = readFile(fet);
  EXPECT_NE(text.find("<fet version="), std::string::npos);
  EXPECT_NE(text.find("<ConstraintMinDaysBetweenActivities>"), std::string::npos);
  const ToolRun again = run({"import-fet", fet.string(), "--school", "AGAIN"});
  EXPECT_EQ(again.exitCode, 0) << again.err;
}

}  // namespace
}  // namespace tavrel::cli
