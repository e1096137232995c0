// A prompter for window tests: records every box the program would show, in order, and answers
// questions from a queue (No once the queue is empty). Tests then compare the record verbatim.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/ports/prompter.h"

namespace tavrel::testing {

class AnsweringPrompter final : public Prompter {
 public:
  struct Box {
    MessageKind kind;
    std::string text;
    bool question;
  };

  void show(MessageKind kind, std::string_view text) override {
    boxes.push_back({kind, std::string(text), false});
  }
  bool ask(MessageKind kind, std::string_view text) override {
    boxes.push_back({kind, std::string(text), true});
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void beep() override { ++beeps; }

  std::vector<Box> boxes;
  std::deque<bool> answers;
  int beeps = 0;
};

}  // namespace tavrel::testing
