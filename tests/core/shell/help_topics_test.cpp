#include "core/shell/help_topics.h"

#include <gtest/gtest.h>

#include <iterator>

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

// Every window of the program, by the code its F1 key opens: the main window, the numbered work
// windows and the allocation status page of the school statistics.
const char* const kWindowCodes[] = {"FM",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",
                                    "F10", "F11", "F12", "F13", "F14", "F16", "F17", "F18", "F19",
                                    "F20", "F21", "F22", "F23", "F24", "F25", "F26", "F27", "F28",
                                    "F31", "F32", "F33", "F34", "F35", "F99"};

TEST_F(HelpTopicsTest, EveryWindowCodeHasATextOnceSeeded) {
  EXPECT_EQ(seedHelpTopics(*store), static_cast<int>(std::size(kWindowCodes)));
  for (const char* code : kWindowCodes) {
    auto topic = findHelpTopic(*store, code);
    ASSERT_TRUE(topic.has_value()) << code;
    EXPECT_FALSE(topic->title.empty()) << code;
    EXPECT_LE(topic->title.size(), 40u) << code;  // WINNAME's width
    EXPECT_NE(topic->text.find("<p>"), std::string::npos) << code;
  }
  EXPECT_EQ(seedHelpTopics(*store), 0);
  EXPECT_EQ(store->table<TWin>().count(TWin::primary), static_cast<int>(std::size(kWindowCodes)));
}

TEST_F(HelpTopicsTest, AnEditedTextIsNeverOverwrittenAndMissingTopicsAreAdded) {
  addTopic("F2", "Indent View", "<p>Our own words.</p>");
  EXPECT_EQ(seedHelpTopics(*store), static_cast<int>(std::size(kWindowCodes)) - 1);
  EXPECT_EQ(findHelpTopic(*store, "F2")->text, "<p>Our own words.</p>");
  EXPECT_EQ(findHelpTopic(*store, "F2")->title, "Indent View");
  EXPECT_TRUE(findHelpTopic(*store, "FM").has_value());
}

TEST_F(HelpTopicsTest, ATitleThePersonGaveAnotherTopicKeepsTheShippedTopicOut) {
  addTopic("X1", "Main Menu", "<p>Mine.</p>");
  seedHelpTopics(*store);
  EXPECT_FALSE(findHelpTopic(*store, "FM").has_value());
  EXPECT_EQ(findHelpTopic(*store, "X1")->text, "<p>Mine.</p>");
  EXPECT_TRUE(findHelpTopic(*store, "F2").has_value());
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
