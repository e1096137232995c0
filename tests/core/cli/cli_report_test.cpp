// `tavrel-cli report` run as a person would run it, on a program folder holding the report school.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/store/store.h"
#include "tests/core/cli/tool_run.h"
#include "tests/support/report_school.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

using tool::quoted;
using tool::readFile;
using tool::ToolRun;

class CliReport : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok()) << opened.error();
    testing::writeReportSchool(**opened);
  }

  ToolRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"report", "--school", "SENIOR SCHOOL", "--date", "2025-03-07"});
    return tool::runOn(home.path(), args);
  }

  fs::path output(const std::string& name) const { return streams.path() / name; }

  TempFolder home;
  TempFolder streams;
};

TEST_F(CliReport, PrintsAListOfTheChosenItemsAsText) {
  const ToolRun result = run({"--code", "1", "--items", "7A", "EIGHTH GRADE HONOURS", "--format", "txt",
                              "--out", output("classes.txt").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "Wrote Class List of SENIOR SCHOOL: 1 page to " + output("classes.txt").string() + ".\n");
  const std::string text = readFile(output("classes.txt"));
  EXPECT_NE(text.find("Class List (All)"), std::string::npos);
  EXPECT_NE(text.find("EIGHTH GRADE HONOURS"), std::string::npos);
  EXPECT_EQ(text.find("7B"), std::string::npos);
  EXPECT_NE(text.find("Printed on: 07 Mar 2025"), std::string::npos);
}

TEST_F(CliReport, TagsTheDaysAndPeriodsOfTheFreePeriodReport) {
  const ToolRun result = run({"--code", "4", "--days", "Tuesday", "--periods", "2", "--format", "csv",
                              "--out", output("free.csv").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string csv = readFile(output("free.csv"));
  EXPECT_NE(
      csv.find("Day,Period,Class\r\nTuesday,2,7A\r\nTuesday,2,7B\r\nTuesday,2,EIGHTH GRADE HONOURS\r\n"),
      std::string::npos)
      << csv;
}

TEST_F(CliReport, RefusesAsTheReportWindowsDo) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* err;
  };
  for (const Case& c : {Case{{"--code", "2", "--items", "7Z"}, 1, "No class named 7Z in SENIOR SCHOOL."},
                        Case{{"--code", "2", "--days", "Someday"}, 1, "No day Someday in the print setup"},
                        Case{{"--code", "2", "--periods", "13"}, 2, "--periods"},
                        Case{{"--code", "22"}, 1, "No report has code 22"},
                        Case{{"--code", "12", "--paper", "A3"}, 1, "Unknown paper A3"}}) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--format", "html", "--out", output("refused.html").string()});
    const ToolRun result = run(args);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.err << "\n" << result.err;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
  }
  EXPECT_FALSE(fs::exists(output("refused.html")));
}

TEST_F(CliReport, ASchoolWithoutActiveIndentsHasNoTimetableToPrint) {
  {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    ASSERT_TRUE(opened.ok());
    for (store::TAlloc indent : (*opened)->table<store::TAlloc>().range(store::TAlloc::primary, {1})) {
      indent.AACTIVE = "N";
      (*opened)->table<store::TAlloc>().update(indent);
    }
  }
  const ToolRun result = run({"--code", "2", "--format", "txt", "--out", output("none.txt").string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("error: No data for this report."), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(output("none.txt")));
}

#ifdef TAVREL_HAVE_RENDER
TEST_F(CliReport, DrawsTimetablesAsPdfWithoutADisplay) {
  const ToolRun result = run({"--code", "12", "--items", "MS OSEI", "LAB 1", "--consolidated", "--periods",
                              "1,2,3", "--format", "pdf", "--out", output("timetable.pdf").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::string text;
  if (FILE* pipe =
          popen(("pdftotext -layout " + quoted(output("timetable.pdf").string()) + " -").c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  for (const char* expected : {"Timetable For: Resource Consolidated TTbl", "MS OSEI", "LAB 1",
                               "Third Period", "Recess", "MATHEMATICS", "*** End of Report"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  EXPECT_EQ(text.find("Fourth Period"), std::string::npos);
}

TEST_F(CliReport, WritesAnSvgPerPage) {
  const ToolRun result =
      run({"--code", "2", "--items", "7A", "7B", "--format", "svg", "--out", output("tt.svg").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(fs::exists(output("tt-1.svg")));
  EXPECT_NE(readFile(output("tt-2.svg")).find("Timetable For: 7B"), std::string::npos);
}
#endif

}  // namespace
}  // namespace tavrel::cli
