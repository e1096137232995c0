// A progress display for tests: records what was shown and how far the bar went, and answers
// Cancel at a chosen hand-over to the event loop.
#pragma once

#include <string>
#include <string_view>

#include "core/ports/progress.h"

namespace tavrel::testing {

class RecordingProgress final : public Progress {
 public:
  void show(std::string_view text, int maximum) override {
    shownText = std::string(text);
    shownMaximum = maximum;
    position = 0;
    hidden = false;
  }
  void step(int count) override { position += count; }
  void text(std::string_view text) override { shownText = std::string(text); }
  bool pump() override { return ++pumps == cancelAtPump; }
  void hide() override { hidden = true; }

  std::string shownText;
  int shownMaximum = 0;
  int position = 0;
  int pumps = 0;
  int cancelAtPump = 0;  // 1 = the first hand-over answers Cancel; 0 = never
  bool hidden = false;
};

}  // namespace tavrel::testing
