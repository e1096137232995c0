// Wall time for elapsed-time labels, dates and the rearrangement's time limit; tests set it.
#pragma once

#include <chrono>
#include <string>

namespace tavrel {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::steady_clock::time_point now() const = 0;
  virtual std::chrono::system_clock::time_point wallNow() const = 0;
  std::string todayIso() const;  // "YYYY-MM-DD" in local time
};

class SystemClock final : public Clock {
 public:
  std::chrono::steady_clock::time_point now() const override { return std::chrono::steady_clock::now(); }
  std::chrono::system_clock::time_point wallNow() const override { return std::chrono::system_clock::now(); }
};

}  // namespace tavrel
