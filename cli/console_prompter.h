// The command-line face of the core's message boxes: every message goes to stderr as one line
// prefixed with its kind, and Yes/No questions are answered by the answer policy the person chose
// with --yes or --no. Without a policy a question cannot be answered, and the command stops there
// rather than guess: a wrong guess could discard work (the resume question is asked only once).
#pragma once

#include <ostream>
#include <stdexcept>
#include <string_view>

#include "core/ports/prompter.h"

namespace tavrel::cli {

enum class AnswerPolicy { None, Yes, No };

// Thrown by `ConsolePrompter::ask` without an answer policy; it ends the command, and the
// command's transaction rolls back on the way out.
class UnansweredQuestion : public std::runtime_error {
 public:
  UnansweredQuestion();
};

class ConsolePrompter final : public Prompter {
 public:
  ConsolePrompter(std::ostream& err, AnswerPolicy policy) : err_(err), policy_(policy) {}

  void show(MessageKind kind, std::string_view text) override;
  bool ask(MessageKind kind, std::string_view text) override;
  void beep() override {}

  // The core reports a refusal with an error message and returns normally; a command that showed
  // one did not do what was asked, so the tool exits with a failure.
  bool refused() const { return errorsShown_ > 0; }

 private:
  std::ostream& err_;
  AnswerPolicy policy_;
  int errorsShown_ = 0;
};

// "error", "information" or "warning".
std::string_view kindName(MessageKind kind);

}  // namespace tavrel::cli
