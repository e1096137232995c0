// The desktop program's prompter: every message and question of the system as a modal message
// box over the window in front (a work window when one is open, else the main window).
#pragma once

#include "core/ports/prompter.h"

namespace tavrel::app {

class MessageBoxPrompter final : public Prompter {
 public:
  void show(MessageKind kind, std::string_view text) override;
  bool ask(MessageKind kind, std::string_view text) override;
  void beep() override;
};

}  // namespace tavrel::app
