// `tavrel-cli demo` run as a person would run it: every school of the sample data set allocated,
// audited and its class and resource timetables printed as PDF and HTML.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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

const char* const kSchools[] = {"ashcombe-hill-junior", "ashcombe-hill-senior"};

// A fresh program folder: the sample data set is made from the shipped exchange files on the
// tool's first start, as on a fresh installation.
class CliDemo : public ::testing::Test {
 protected:
  ToolRun demo(const fs::path& out, const std::string& seed) {
    return runOn(home.path(), {"--samples", TAVREL_SAMPLES_DIR, "--sample", "demo", "--out", out.string(),
                               "--seed", seed});
  }

  TempFolder home;
};

TEST_F(CliDemo, AllocatesEverySchoolAuditsItAndWritesEveryTimetable) {
  const fs::path out = home.path() / "out";
  const ToolRun run = demo(out, "5");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("ASHCOMBE HILL SENIOR SCHOOL: 948/948 periods placed in "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("ASHCOMBE HILL JUNIOR SCHOOL: 238/238 periods placed in "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("All schools: 1186/1186 periods placed (100%)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("8 timetable files (PDF and HTML) in " + out.string()), std::string::npos) << run.out;
  for (const char* school : kSchools) {
    for (const char* kind : {"-school-class-timetables", "-school-resource-timetables"}) {
      const fs::path pdf = out / (std::string(school) + kind + ".pdf");
      const fs::path html = out / (std::string(school) + kind + ".html");
      ASSERT_TRUE(fs::exists(pdf)) << pdf;
      EXPECT_EQ(readFile(pdf).rfind("%PDF", 0), 0u) << pdf;
      ASSERT_TRUE(fs::exists(html)) << html;
      EXPECT_NE(readFile(html).find("</html>"), std::string::npos) << html;
    }
  }
  // Every class of the senior school has its page.
  EXPECT_NE(readFile(out / "ashcombe-hill-senior-school-class-timetables.html").find("12E"), std::string::npos);

  // A second demonstration starts again from an empty timetable.
  const ToolRun again = demo(out, "6");
  ASSERT_EQ(again.exitCode, 0) << again.out << again.err;
  EXPECT_NE(again.out.find("All schools: 1186/1186 periods placed (100%)"), std::string::npos) << again.out;
}

}  // namespace
}  // namespace tavrel::cli
