// A prompter for tests: every message and question must be expected, in order, with its exact
// text; questions take their answer from the script. Anything unexpected fails the test.
#pragma once

#include <deque>
#include <string>

#include "core/ports/prompter.h"

namespace tavrel::testing {

class ScriptedPrompter final : public Prompter {
 public:
  ~ScriptedPrompter() override;

  ScriptedPrompter& expectMessage(MessageKind kind, std::string text);
  ScriptedPrompter& expectQuestion(MessageKind kind, std::string text, bool answer);

  void show(MessageKind kind, std::string_view text) override;
  bool ask(MessageKind kind, std::string_view text) override;
  void beep() override { ++beeps; }

  bool done() const { return script_.empty(); }
  int beeps = 0;

 private:
  struct Step {
    bool question;
    MessageKind kind;
    std::string text;
    bool answer;
  };
  Step next(bool question, MessageKind kind, std::string_view text);
  std::deque<Step> script_;
};

}  // namespace tavrel::testing
