#include "core/shell/help_topics.h"

#include <nlohmann/json.hpp>

#include "core/shell/help_topics_data.h"

namespace tavrel::shell {

using namespace store;

namespace {

HelpTopic topicOf(const TWin& row) {
  return {row.WINCODE, row.WINNAME, row.WINHMEMO};
}

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

std::vector<HelpTopic> shippedHelpTopics() {
  std::vector<HelpTopic> topics;
  const auto list = nlohmann::json::parse(shippedHelpTopicsJson());
  for (const auto& entry : list) {
    topics.push_back({entry.at("code").get<std::string>(), entry.at("title").get<std::string>(),
                      entry.at("text").get<std::string>()});
  }
  return topics;
}

int seedHelpTopics(Store& store) {
  auto& table = store.table<TWin>();
  Transaction tx(store);
  int written = 0;
  for (const HelpTopic& topic : shippedHelpTopics()) {
    if (table.find(TWin::primary, {topic.code})) continue;
    TWin row;
    row.WINCODE = topic.code;
    row.WINNAME = topic.title;
    row.WINHMEMO = topic.text;
    // A title the person already gave another topic stays theirs; the shipped topic waits.
    if (table.insert(row) == WriteStatus::Ok) ++written;
  }
  tx.commit();
  return written;
}

}  // namespace tavrel::shell
