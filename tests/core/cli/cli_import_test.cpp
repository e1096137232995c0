// End-to-end tests of `tavrel-cli import`, `activate` and `repair`, and of the sample data set the
// tool makes from its shipped exchange files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/store/store.h"
#include "tests/core/cli/tool_run.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

using tool::readFile;
using tool::runOn;
using tool::runTool;
using tool::ToolRun;

const fs::path kFixtures = TAVREL_TEST_FIXTURES;
const std::string kSmall = (kFixtures / "small_school.json").string();

// Every run names an empty sample folder, so that no shipped sample is made on the way.
class CliImport : public ::testing::Test {
 protected:
  ToolRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--samples", (shipped.path() / "none").string()});
    return runOn(home.path(), args);
  }
  void write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

  TempFolder home;
  TempFolder shipped;
  TempFolder files;
};

TEST_F(CliImport, ImportsAFileAndExportsItBackUnchanged) {
  ToolRun imported = run({"import", kSmall});
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_EQ(imported.out, "Imported SMALL SCHOOL: 4 indent(s), 3 active.\n");
  const fs::path first = files.path() / "first.json";
  ASSERT_EQ(run({"export", "--school", "SMALL SCHOOL", first.string()}).exitCode, 0);
  EXPECT_EQ(run({"check", "--school", "SMALL SCHOOL"}).exitCode, 0);

  TempFolder other;
  ASSERT_EQ(runOn(other.path(), {"--samples", "none", "import", first.string()}).exitCode, 0);
  const fs::path second = files.path() / "second.json";
  ASSERT_EQ(runOn(other.path(), {"--samples", "none", "export", "--school", "SMALL SCHOOL", second.string()}).exitCode,
            0);
  EXPECT_EQ(readFile(second), readFile(first));
}

TEST_F(CliImport, AnExistingSchoolIsReplacedOnlyWhenAskedTo) {
  ASSERT_EQ(run({"import", kSmall, "--school", "copy"}).exitCode, 0);
  ToolRun again = run({"import", kSmall, "--school", "COPY"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("error: " + kSmall +
                           ": There is a school named COPY already. Give --replace to replace it. Nothing was "
                           "imported.\n"),
            std::string::npos)
      << again.err;
  ToolRun replaced = run({"import", kSmall, "--school", "COPY", "--replace"});
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(replaced.out, "Imported COPY: 4 indent(s), 3 active.\n");
}

TEST_F(CliImport, BadFilesAreRefusedWithThePlaceOfTheFault) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"{\"format\": \"tavrel-school\",", ": The file is not valid JSON: parse error at line 1, column 28"},
      {R"({"format": "tavrel-school", "version": 1, "school": {"name": "X", "days": 10}})",
       ": /school/days: 10 is not a number of days in the week cycle (1 to 9)"},
      {R"({"format": "tavrel-school", "version": 1, "school": {"name": "X"},
           "indents": [{"class": "7A", "resource": "R", "subject": "S", "periods": 1}]})",
       ": /indents/0/class: there is no class \"7A\" in /classes"},
  };
  for (const Case& c : cases) {
    const fs::path file = files.path() / "bad.json";
    write(file, c.text);
    ToolRun imported = run({"import", file.string()});
    EXPECT_EQ(imported.exitCode, 1) << c.text;
    EXPECT_NE(imported.err.find("error: " + file.string() + c.error), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("Nothing was imported.\n"), std::string::npos) << imported.err;
  }
  EXPECT_EQ(run({"import", (files.path() / "absent.json").string()}).exitCode, 1);
  ToolRun info = run({"info"});
  EXPECT_NE(info.out.find("Schools: none"), std::string::npos) << info.out;
}

TEST_F(CliImport, ActivateActivatesThePassiveIndentsAndNamesThoseThatFail) {
  ASSERT_EQ(run({"import", kSmall}).exitCode, 0);
  ToolRun activated = run({"activate", "--school", "SMALL SCHOOL"});
  EXPECT_EQ(activated.exitCode, 0) << activated.err;
  EXPECT_EQ(activated.out, "SMALL SCHOOL: 1 indent(s) activated.\n");

  // An indent asking for more periods than its resource may give stays passive.
  std::string text = readFile(kSmall);
  const std::string from = R"("resource": "LAB", "subject": "ART", "periods": 3)";
  text.replace(text.find(from), from.size(), R"("resource": "LAB", "subject": "ART", "periods": 21)");
  const fs::path file = files.path() / "greedy.json";
  write(file, text);
  ASSERT_EQ(run({"import", file.string(), "--school", "GREEDY"}).exitCode, 0);
  ToolRun refused = run({"activate", "--school", "GREEDY"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out,
            "GREEDY: 0 indent(s) activated.\n"
            "Not activated: 7A / LAB / ART: LAB:Indented periods exceed maximum.\n");
  EXPECT_NE(refused.err.find("error: GREEDY: 1 indent(s) failed validation.\n"), std::string::npos);
  EXPECT_EQ(run({"activate", "--school", "NO SUCH"}).exitCode, 1);
}

TEST_F(CliImport, RepairRewritesTheCountersThatDrifted) {
  ASSERT_EQ(run({"import", kSmall}).exitCode, 0);
  ToolRun clean = run({"repair", "--school", "SMALL SCHOOL"});
  EXPECT_EQ(clean.exitCode, 0) << clean.err;
  EXPECT_EQ(clean.out, "SMALL SCHOOL: 0 record(s) rewritten, 0 of 0 indent correction(s) made.\n");
  {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok());
    store::Store& data = **opened;
    auto school = data.table<store::TSchl>().find(store::TSchl::primary, {"SMALL SCHOOL"});
    auto cls = data.table<store::TClas>().find(store::TClas::primary, {school->SCHOOLCODE, "7A"});
    store::Transaction tx(data);
    cls->CLSTOTALL += 3;
    data.table<store::TClas>().update(*cls);
    tx.commit();
  }
  EXPECT_EQ(run({"check", "--school", "SMALL SCHOOL"}).exitCode, 1);
  ToolRun repaired = run({"repair", "--school", "SMALL SCHOOL"});
  EXPECT_EQ(repaired.exitCode, 0) << repaired.err;
  EXPECT_EQ(repaired.out, "SMALL SCHOOL: 1 record(s) rewritten, 0 of 0 indent correction(s) made.\n");
  EXPECT_EQ(run({"check", "--school", "SMALL SCHOOL"}).exitCode, 0);
  EXPECT_EQ(run({"repair", "--school", "NO SUCH"}).exitCode, 1);
}

TEST_F(CliImport, EveryNewCommandExplainsItself) {
  for (const char* command : {"import", "activate", "repair"}) {
    ToolRun help = runTool({command, "--help"});
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_NE(help.out.find("--school"), std::string::npos) << command << help.out;
  }
  EXPECT_EQ(runTool({"import"}).exitCode, 2);
}

// A fresh program folder gets its sample data set from the shipped exchange files.
TEST_F(CliImport, TheSampleIsMadeAtTheFirstStart) {
  ToolRun info = runOn(home.path(), {"--samples", kFixtures.string(), "--sample", "info"});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("SMALL SCHOOL"), std::string::npos) << info.out;
  EXPECT_TRUE(fs::is_directory(home.path() / "Samples"));
  ToolRun live = run({"info"});
  EXPECT_EQ(live.out.find("SMALL SCHOOL"), std::string::npos) << live.out;
}

// Installed, the program finds its sample files in samples/ beside it, and its program folder is
// its own folder.
TEST_F(CliImport, TheShippedSamplesAreFoundBesideTheProgram) {
  const fs::path installed = files.path() / "bin";
  fs::create_directories(installed / "samples");
  fs::copy_file(TAVREL_CLI_PATH, installed / "tavrel-cli");
  fs::copy_file(kSmall, installed / "samples" / "small.json");
  const std::string command = tool::quoted((installed / "tavrel-cli").string()) + " --sample info >" +
                              tool::quoted((files.path() / "out").string()) + " 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(readFile(files.path() / "out").find("SMALL SCHOOL"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(installed / "Samples"));
}

}  // namespace
}  // namespace tavrel::cli
