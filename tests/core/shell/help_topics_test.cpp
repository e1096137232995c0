#include "core/shell/help_topics.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tavrel::shell {
namespace {

using namespace store;

class HelpTopicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store = std::move(Store::open(ProgramFolders{folder.path()}, DataSet::Live).value());
  }

  void addTopic(const char* code, const char* title, const char* text) {
    TWin row;
    row.WINCODE = code;
    row.WINNAME = title;
    row.WINHMEMO = text;
    ASSERT_EQ(store->table<TWin>().insert(row), WriteStatus::Ok);
  }

  testing::TempFolder folder;
  std::unique_ptr<Store> store;
};

TEST_F(HelpTopicsTest, AnEmptyTableGetsTheTopicsOfTheMainWindowAndTheSetupWindowsOnce) {
  EXPECT_EQ(seedHelpTopics(*store), 3);
  for (const char* code : {"FM", "F13", "F14"}) {
    auto topic = findHelpTopic(*store, code);
    ASSERT_TRUE(topic.has_value()) << code;
    EXPECT_FALSE(topic->title.empty());
    EXPECT_FALSE(topic->text.empty());
  }
  EXPECT_EQ(seedHelpTopics(*store), 0);
  EXPECT_EQ(store->table<TWin>().count(TWin::primary), 3);
}

TEST_F(HelpTopicsTest, ATableWithTextsOfItsOwnIsNotSeeded) {
  addTopic("F2", "Indent View", "<p>Our own words.</p>");
  EXPECT_EQ(seedHelpTopics(*store), 0);
  EXPECT_FALSE(findHelpTopic(*store, "FM").has_value());
  EXPECT_EQ(findHelpTopic(*store, "F2")->text, "<p>Our own words.</p>");
}

TEST_F(HelpTopicsTest, TopicsAreListedByTitle) {
  addTopic("F14", "Week Setup", "");
  addTopic("FM", "Main Menu", "");
  addTopic("F13", "Institution View", "");
  std::vector<std::string> titles;
  for (const HelpTopic& topic : helpTopics(*store)) titles.push_back(topic.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Institution View", "Main Menu", "Week Setup"}));
}

TEST_F(HelpTopicsTest, AnEditedTextIsKeptAndAnUnknownTopicIsRefused) {
  addTopic("F13", "Institution View", "<p>Old.</p>");
  EXPECT_TRUE(saveHelpText(*store, "F13", "<p>New, <b>bold</b>.</p>"));
  EXPECT_EQ(findHelpTopic(*store, "F13")->text, "<p>New, <b>bold</b>.</p>");
  EXPECT_FALSE(saveHelpText(*store, "F99", "<p>Lost.</p>"));
  EXPECT_FALSE(findHelpTopic(*store, "F99").has_value());
}

}  // namespace
}  // namespace tavrel::shell
