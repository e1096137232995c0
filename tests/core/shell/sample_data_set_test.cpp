#include "core/shell/sample_data_set.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/shell/application.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::shell {
namespace {

using namespace store;
using testing::ScriptedPrompter;
using testing::TempFolder;
namespace fs = std::filesystem;

const fs::path kFixture = fs::path(TAVREL_TEST_FIXTURES) / "small_school.json";

class SampleDataSetTest : public ::testing::Test {
 protected:
  SampleDataSetTest() { fs::create_directories(sources); }

  Status start() {
    Application app(ProgramFolders{program.path()}, Ports{prompter, progress, clock});
    app.setSampleSources(sources);
    Status started = app.start();
    if (!started) return started;
    Status loaded = app.loadDataSet(DataSet::Sample);
    if (!loaded) return loaded;
    for (const TSchl& school : app.store().table<TSchl>().range(TSchl::primary)) sampleSchools.push_back(school.SNAME);
    return {};
  }

  TempFolder program;
  TempFolder shipped;
  fs::path sources = shipped.path() / "samples";
  ScriptedPrompter prompter;
  SilentProgress progress;
  SystemClock clock;
  std::vector<std::string> sampleSchools;
};

TEST_F(SampleDataSetTest, AMissingSampleIsMadeFromTheShippedFilesAtStart) {
  fs::copy_file(kFixture, sources / "small.json");
  ASSERT_TRUE(start().ok());
  EXPECT_EQ(sampleSchools, std::vector<std::string>{"SMALL SCHOOL"});
  EXPECT_FALSE(fs::exists(program.path() / ".Samples-new"));
}

TEST_F(SampleDataSetTest, AnExistingSampleIsLeftAsItIs) {
  fs::create_directories(ProgramFolders{program.path()}.sample());
  fs::copy_file(kFixture, sources / "small.json");
  ASSERT_TRUE(start().ok());
  EXPECT_TRUE(sampleSchools.empty());
}

// A shipped file that cannot be imported leaves no half-made sample: the program starts, says why,
// and tries again at the next start.
TEST_F(SampleDataSetTest, AFaultyFileLeavesNoSampleBehind) {
  fs::copy_file(kFixture, sources / "a.json");
  std::ofstream(sources / "b.json") << "{\"format\": \"tavrel-school\", \"version\": 1, \"school\": {}}";
  const ProgramFolders folders{program.path()};
  prompter.expectMessage(MessageKind::Warning, "The sample data set could not be made. " +
                                                   (sources / "b.json").string() + ": /school/name: is missing");
  Application app(folders, Ports{prompter, progress, clock});
  app.setSampleSources(sources);
  ASSERT_TRUE(app.start().ok());
  EXPECT_TRUE(prompter.done());
  EXPECT_FALSE(fs::exists(folders.sample()));
  EXPECT_FALSE(fs::exists(program.path() / ".Samples-new"));
}

TEST(SampleFiles, AreTheJsonFilesOfTheFolderInNameOrder) {
  TempFolder folder;
  for (const char* name : {"senior.json", "junior.json", "notes.txt"}) std::ofstream(folder.path() / name) << "{}";
  EXPECT_EQ(sampleFiles(folder.path()),
            (std::vector<fs::path>{folder.path() / "junior.json", folder.path() / "senior.json"}));
  EXPECT_TRUE(sampleFiles(folder.path() / "none").empty());
}

}  // namespace
}  // namespace tavrel::shell
