// The help texts of the windows (`TWin`): one topic per window, found by the window's code ("FM"
// for the main window, "F" and the window's number for the others) and listed by title. The text
// is rich text that the person may edit; what they write is kept in the table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/store.h"

namespace tavrel::shell {

inline constexpr std::string_view kMainWindowTopic = "FM";

struct HelpTopic {
  std::string code;
  std::string title;
  std::string text;
};

// Every topic in title order, as the help window's topic list shows them.
std::vector<HelpTopic> helpTopics(store::Store& store);

// The topic of a window code; none when the table has no such topic.
std::optional<HelpTopic> findHelpTopic(store::Store& store, std::string_view code);

// Keeps the text the person edited. False when there is no topic of that code.
bool saveHelpText(store::Store& store, std::string_view code, const std::string& text);

// The help texts the program ships (resources/help/topics.json), one per window code.
std::vector<HelpTopic> shippedHelpTopics();

// Writes every shipped topic whose code the table lacks, so F1 never opens on nothing and a new
// version's windows get their texts. A topic already in the table is never touched: its text may
// be the person's own. Returns how many topics were written.
int seedHelpTopics(store::Store& store);

}  // namespace tavrel::shell
