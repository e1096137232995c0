// How the core talks to a person: message boxes of three kinds, Yes/No questions and the beep.
// The app shows dialogs, the CLI writes to stderr and answers from --yes/--no, the tests script it.
#pragma once

#include <string_view>

namespace tavrel {

enum class MessageKind { Error, Information, Warning };

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void show(MessageKind kind, std::string_view text) = 0;  // a box with OK
  virtual bool ask(MessageKind kind, std::string_view text) = 0;   // a box with Yes/No; true for Yes
  virtual void beep() = 0;

  void error(std::string_view text) { show(MessageKind::Error, text); }
  void info(std::string_view text) { show(MessageKind::Information, text); }
  void warning(std::string_view text) { show(MessageKind::Warning, text); }
};

}  // namespace tavrel
