// A prompter for work that nobody watches: an import, the creation of the sample data set, a
// batch of activations. Every message is kept, so that the caller can name the reason a routine
// refused, and every question gets the one answer the caller chose beforehand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ports/prompter.h"

namespace tavrel {

class CollectingPrompter final : public Prompter {
 public:
  struct Message {
    MessageKind kind;
    std::string text;
  };

  explicit CollectingPrompter(bool answer = false) : answer_(answer) {}

  void show(MessageKind kind, std::string_view text) override { messages_.push_back({kind, std::string(text)}); }
  bool ask(MessageKind, std::string_view text) override {
    questions_.emplace_back(text);
    return answer_;
  }
  void beep() override {}

  void setAnswer(bool answer) { answer_ = answer; }
  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<std::string>& questions() const { return questions_; }
  // The messages shown since `mark`, joined by spaces: the words of a refusal.
  std::size_t mark() const { return messages_.size(); }
  std::string textSince(std::size_t mark) const {
    std::string text;
    for (std::size_t i = mark; i < messages_.size(); ++i) text += (text.empty() ? "" : " ") + messages_[i].text;
    return text;
  }

 private:
  bool answer_;
  std::vector<Message> messages_;
  std::vector<std::string> questions_;
};

}  // namespace tavrel
