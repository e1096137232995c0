// Progress of long work: a bar with a text, and the hand-over to the event loop after each unit of
// work. `pump()` is where the app lets the window repaint and where Stop or Cancel is noticed.
#pragma once

#include <string_view>

namespace tavrel {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void show(std::string_view text, int maximum) = 0;  // position back to 0
  virtual void step(int count = 1) = 0;
  virtual void text(std::string_view text) = 0;
  virtual bool pump() = 0;  // true when the person asked to stop or cancel
  virtual void hide() = 0;
};

// Progress nobody watches: for batch work and tests that do not look at it.
class SilentProgress final : public Progress {
 public:
  void show(std::string_view, int) override {}
  void step(int) override {}
  void text(std::string_view) override {}
  bool pump() override { return false; }
  void hide() override {}
};

}  // namespace tavrel
