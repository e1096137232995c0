// Ports for the engine's tests: a clock that moves only when told, and a progress display that
// records what the run showed and answers Stop at a chosen moment.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/ports/clock.h"
#include "core/ports/progress.h"

namespace tavrel::testing {

class FakeClock final : public Clock {
 public:
  std::chrono::steady_clock::time_point now() const override {
    if (!runsWhile || runsWhile()) current += tick;
    return current;
  }
  std::chrono::system_clock::time_point wallNow() const override {
    return std::chrono::system_clock::time_point{};
  }

  mutable std::chrono::steady_clock::time_point current{};
  std::chrono::steady_clock::duration tick{};  // added at every reading, to let time pass during a run
  std::function<bool()> runsWhile;              // when set, time passes only while it says so
};

class RunProgress final : public Progress {
 public:
  void show(std::string_view text, int maximum) override {
    label = std::string(text);
    maximumShown = maximum;
    position = 0;
    shown.push_back(label);
  }
  void step(int count) override { position += count; }
  void text(std::string_view text) override { label = std::string(text); }
  bool pump() override {
    ++pumps;
    return stopWhen && stopWhen(*this);
  }
  void hide() override { label.clear(); }

  int timesShown(const std::string& text) const {
    int n = 0;
    for (const std::string& each : shown) n += each == text ? 1 : 0;
    return n;
  }

  std::string label;
  int maximumShown = 0;
  int position = 0;
  int pumps = 0;
  std::vector<std::string> shown;
  std::function<bool(const RunProgress&)> stopWhen;  // answers Stop when it returns true
};

}  // namespace tavrel::testing
