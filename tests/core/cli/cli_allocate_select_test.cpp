// End-to-end tests of `tavrel-cli allocate-select`: the built tool on a generated school with
// nothing allocated yet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/audit.h"
#include "core/store/store.h"
#include "tests/core/cli/tool_run.h"
#include "tests/support/generated_school.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

using testing::TempFolder;
using tool::runOn;
using tool::ToolRun;

class CliAllocateSelect : public ::testing::Test {
 protected:
  void SetUp() override {
    auto data = open();
    generated = testing::writeGeneratedSchool(*data, {.seed = 2});
    auto cls = data->table<store::TClas>().find(store::TClas::primary, {generated.school, "CLASS 1"});
    ASSERT_TRUE(cls);
    classCode = cls->CLSCODE;
  }

  std::unique_ptr<store::Store> open() {
    auto opened = store::Store::open(store::ProgramFolders{home.path()}, store::DataSet::Live);
    EXPECT_TRUE(opened.ok()) << opened.error();
    return std::move(opened.value());
  }

  // The active indents of CLASS 1, with their priority letters.
  std::vector<store::TAlloc> classIndents() {
    return open()->table<store::TAlloc>().range(store::TAlloc::ALLOCLAS, {generated.school, "Y", classCode});
  }

  ToolRun select(std::vector<std::string> args) {
    args.insert(args.begin(), {"allocate-select", "--school", "SCHOOL1"});
    return runOn(home.path(), args);
  }

  TempFolder home;
  testing::GeneratedSchool generated;
  int classCode = 0;
};

TEST_F(CliAllocateSelect, AllocatesTheTaggedClassAndTheCheckFindsNothing) {
  int required = 0;
  for (const store::TAlloc& indent : classIndents()) required += indent.ANOOFLEC;
  ToolRun run = select({"--item", "CLASS 1", "--all-categories", "--seed", "3"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string count = std::to_string(required) + "/" + std::to_string(required);
  EXPECT_EQ(run.out.rfind(count + " periods allocated, 0 failed, in ", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("Seed: 3\n"), std::string::npos);
  EXPECT_NE(run.err.find("information: " + count + " periods allocated.Time elapsed: "), std::string::npos)
      << run.err;
  for (const store::TAlloc& indent : classIndents()) EXPECT_EQ(indent.ANOLECALL, indent.ANOOFLEC);

  ToolRun check = runOn(home.path(), {"check", "--school", "SCHOOL1"});
  EXPECT_EQ(check.exitCode, 0) << check.out;
}

TEST_F(CliAllocateSelect, OnlyTheTaggedCategoriesAreAllocated) {
  ToolRun run = select({"--item", "CLASS 1", "--category", "simple", "--category", "CLUSTER",
                        "--cluster-permission", "--subject-per-day", "on", "--seed", "1"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  int simple = 0;
  for (const store::TAlloc& indent : classIndents()) {
    const bool tagged = indent.APRIORITY == "Z" || (indent.APRIORITY >= "S" && indent.APRIORITY <= "V");
    EXPECT_EQ(indent.ANOLECALL, tagged ? indent.ANOOFLEC : 0) << indent.ASERIALNO << " " << indent.APRIORITY;
    simple += tagged ? 1 : 0;
  }
  EXPECT_GT(simple, 0);
  auto data = open();
  EXPECT_TRUE(engine::check(*data, generated.school).passed());
}

TEST_F(CliAllocateSelect, RefusalsExitNonZero) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string err;
  };
  const Case cases[] = {
      {"unknown item",
       {"--item", "NOWHERE", "--all-categories"},
       1,
       "error: There is no class named NOWHERE."},
      {"no item tagged",
       {"--all-categories"},
       1,
       "error: No items tagged in the checked list box. Click the box to tag."},
      {"no category tagged",
       {"--list", "resource", "--all-items"},
       1,
       "error: No categories tagged in the checked list box. Click the box to tag."},
      {"unknown category", {"--all-items", "--category", "EASY"}, 2, "EASY"},
      {"the continuity question answered Yes: review the settings",
       {"--all-items", "--all-categories", "--continuity", "on"},
       1,
       "error: Nothing was allocated: review the allocation settings."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"--yes", "allocate-select", "--school", "SCHOOL1"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ToolRun run = runOn(home.path(), args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  for (const store::TAlloc& indent : classIndents()) EXPECT_EQ(indent.ANOLECALL, 0);
}

TEST_F(CliAllocateSelect, TheContinuityQuestionAnsweredNoAllocates) {
  ToolRun run = runOn(home.path(), {"--no", "allocate-select", "--school", "SCHOOL1", "--item", "CLASS 1",
                                    "--all-categories", "--continuity", "on", "--seed", "2"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("Applying Resource continuity sequence upper limit slows  the allocation process."),
            std::string::npos);
  auto data = open();
  EXPECT_TRUE(data->institution().ITSQUL);
  EXPECT_TRUE(engine::check(*data, generated.school).passed());
}

TEST_F(CliAllocateSelect, HelpNamesTheChoices) {
  ToolRun run = tool::runTool({"allocate-select", "--help"});
  EXPECT_EQ(run.exitCode, 0);
  for (const char* text :
       {"Usage: tavrel-cli allocate-select", "--item", "--all-items", "--list", "--category", "SIMPLE (Z)",
        "GROUP (D,E,F,G,H,K)", "--cluster-permission", "--continuity"}) {
    EXPECT_NE(run.out.find(text), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tavrel::cli
