#include "tests/support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace tavrel::testing {

namespace {
const char* kindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return "error";
    case MessageKind::Information: return "information";
    case MessageKind::Warning: return "warning";
  }
  return "?";
}
}  // namespace

ScriptedPrompter::~ScriptedPrompter() {
  for (const Step& step : script_) ADD_FAILURE() << "expected " << kindName(step.kind) << " never shown: " << step.text;
}

ScriptedPrompter& ScriptedPrompter::expectMessage(MessageKind kind, std::string text) {
  script_.push_back({false, kind, std::move(text), false});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::expectQuestion(MessageKind kind, std::string text, bool answer) {
  script_.push_back({true, kind, std::move(text), answer});
  return *this;
}

ScriptedPrompter::Step ScriptedPrompter::next(bool question, MessageKind kind, std::string_view text) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << (question ? "question" : "message") << " (" << kindName(kind) << "): " << text;
    return {question, kind, std::string(text), false};
  }
  Step step = script_.front();
  script_.pop_front();
  EXPECT_EQ(step.question, question) << text;
  EXPECT_EQ(kindName(step.kind), std::string(kindName(kind))) << text;
  EXPECT_EQ(step.text, text);
  return step;
}

void ScriptedPrompter::show(MessageKind kind, std::string_view text) { next(false, kind, text); }

bool ScriptedPrompter::ask(MessageKind kind, std::string_view text) { return next(true, kind, text).answer; }

}  // namespace tavrel::testing
