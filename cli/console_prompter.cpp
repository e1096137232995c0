#include "cli/console_prompter.h"

namespace tavrel::cli {

UnansweredQuestion::UnansweredQuestion()
    : std::runtime_error("The question above needs an answer: run the command again with --yes or --no.") {}

std::string_view kindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return "error";
    case MessageKind::Information:
      return "information";
    case MessageKind::Warning:
      return "warning";
  }
  return "message";
}

void ConsolePrompter::show(MessageKind kind, std::string_view text) {
  if (kind == MessageKind::Error) ++errorsShown_;
  err_ << kindName(kind) << ": " << text << '\n' << std::flush;
}

bool ConsolePrompter::ask(MessageKind kind, std::string_view text) {
  err_ << kindName(kind) << ": " << text;
  switch (policy_) {
    case AnswerPolicy::Yes:
      err_ << " [answered Yes]\n" << std::flush;
      return true;
    case AnswerPolicy::No:
      err_ << " [answered No]\n" << std::flush;
      return false;
    case AnswerPolicy::None:
      break;
  }
  err_ << " [Yes/No]\n" << std::flush;
  throw UnansweredQuestion();
}

}  // namespace tavrel::cli
