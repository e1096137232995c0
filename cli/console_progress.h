// The command-line face of the core's progress displays: the text of a display is written to
// stderr when it changes, never once per step, so a long loop prints a line, not a flood.
// Ctrl+C asks the running loop to stop after the unit in hand, as the Stop and Cancel buttons do;
// a second Ctrl+C ends the program at once.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "core/ports/progress.h"

namespace tavrel::cli {

class ConsoleProgress final : public Progress {
 public:
  explicit ConsoleProgress(std::ostream& err) : err_(err) {}

  void show(std::string_view text, int maximum) override;
  void step(int = 1) override {}
  void text(std::string_view text) override;
  bool pump() override;
  void hide() override { shown_.clear(); }

 private:
  void print(std::string_view text);

  std::ostream& err_;
  std::string shown_;
};

// Lets the first Ctrl+C reach `ConsoleProgress::pump` instead of ending the program.
void catchInterrupt();

}  // namespace tavrel::cli
