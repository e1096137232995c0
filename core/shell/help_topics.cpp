#include "core/shell/help_topics.h"

namespace tavrel::shell {

using namespace store;

namespace {

HelpTopic topicOf(const TWin& row) {
  return {row.WINCODE, row.WINNAME, row.WINHMEMO};
}

struct SeedTopic {
  const char* code;
  const char* title;
  const char* text;
};

// Short first texts; the full help set replaces them topic by topic.
constexpr SeedTopic kSeedTopics[] = {
    {"FM", "Main Menu",
     "<p><b>Main Menu</b></p>"
     "<p>Every piece of work starts here. Begin with <i>View &rarr; Institution View</i>: name the "
     "institution and create its schools. Each school then gets its classes, resources and subjects in the "
     "School View, and its allocation indents in the Class, Resource or Subject View.</p>"
     "<p>Menu items and buttons are enabled as soon as the data allow them: the views of a school need a "
     "school, the allocation needs an active indent.</p>"
     "<p>Press F1 in any window to read its help; the text can be edited and is kept.</p>"},
    {"F13", "Institution View",
     "<p><b>Institution View</b></p>"
     "<p>Type the institution's name at the top. Double click the add-school button to create a school "
     "(at most nine). Click a school in the grid to see and edit its details: name, remark, week setup "
     "(STANDARD weeks start on Monday, GULF weeks on Saturday), the number of days in the week cycle and "
     "the periods after which a recess falls. The details are stored when you leave the details panel.</p>"
     "<p>Right click a school for the commands on the whole school, among them Delete School. F5 picks a "
     "school by name.</p>"},
    {"F14", "Week Setup",
     "<p><b>Week Setup</b></p>"
     "<p>Sets the availability of a whole week in one step. Each day box holds how many periods of that "
     "day are available. TopDown counts them from the first period of the day, BottomUp from the last "
     "period upwards.</p>"
     "<p>To give several days the same count, select the days (or Select All), press Periods and type the "
     "count once. Apply checks the counts and hands them to the availability window; Cancel changes "
     "nothing.</p>"},
};

}  // namespace

std::vector<HelpTopic> helpTopics(Store& store) {
  std::vector<HelpTopic> topics;
  for (const TWin& row : store.table<TWin>().range(TWin::WINNM)) topics.push_back(topicOf(row));
  return topics;
}

std::optional<HelpTopic> findHelpTopic(Store& store, std::string_view code) {
  auto row = store.table<TWin>().find(TWin::primary, {std::string(code)});
  if (!row) return std::nullopt;
  return topicOf(*row);
}

bool saveHelpText(Store& store, std::string_view code, const std::string& text) {
  auto& table = store.table<TWin>();
  auto row = table.find(TWin::primary, {std::string(code)});
  if (!row) return false;
  if (row->WINHMEMO == text) return true;
  row->WINHMEMO = text;
  Transaction tx(store);
  table.update(*row);
  tx.commit();
  return true;
}

int seedHelpTopics(Store& store) {
  auto& table = store.table<TWin>();
  if (table.count(TWin::primary) > 0) return 0;
  Transaction tx(store);
  int written = 0;
  for (const SeedTopic& seed : kSeedTopics) {
    TWin row;
    row.WINCODE = seed.code;
    row.WINNAME = seed.title;
    row.WINHMEMO = seed.text;
    if (table.insert(row) == WriteStatus::Ok) ++written;
  }
  tx.commit();
  return written;
}

}  // namespace tavrel::shell
