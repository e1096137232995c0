// A prompter that hands every box on to another one and tells a listener each time a box has
// closed. The main window must run its activation whenever it becomes the window in front again,
// and a closed message box is one of the ways that happens; learning it here, rather than from
// the window system's focus events, keeps the rule the same on every platform and in the tests.
#pragma once

#include <functional>

#include "core/ports/prompter.h"

namespace tavrel::app {

class ObservedPrompter final : public Prompter {
 public:
  ObservedPrompter(Prompter& inner, std::function<void()> boxClosed)
      : inner_(inner), boxClosed_(std::move(boxClosed)) {}

  void show(MessageKind kind, std::string_view text) override {
    inner_.show(kind, text);
    boxClosed_();
  }
  bool ask(MessageKind kind, std::string_view text) override {
    bool answer = inner_.ask(kind, text);
    boxClosed_();
    return answer;
  }
  void beep() override { inner_.beep(); }

 private:
  Prompter& inner_;
  std::function<void()> boxClosed_;
};

}  // namespace tavrel::app
