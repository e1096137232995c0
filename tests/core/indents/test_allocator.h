// Stand-ins for the allocation engine: they place periods the way the engine writes them (through
// SchoolFixture::place, every cell and counter in step) at the first slots where the class, the
// resource and all their members are free, within the indent's lists.
#pragma once

#include <chrono>

#include "core/indents/single_allocation.h"
#include "core/store/encoded_lists.h"
#include "tests/support/school_fixture.h"

namespace tavrel::indents {

// Whether every cell a period (or a cluster block) at day/period needs is free.
inline bool blockFits(testing::SchoolFixture& f, const store::TAlloc& indent, int day, int period) {
  const int size = indent.AINCLUSOF >= 2 ? indent.AINCLUSOF : 1;
  if (period + size - 1 > 12) return false;
  auto free = [&](char kind, int owner, int p) { return f.cell(kind, owner, day, p).TSUBJECT == 999; };
  auto membersOf = [&](const char* type, int group) {
    std::vector<int> codes;
    for (const auto& row : f.store().table<store::TOptn>().range(store::TOptn::primary, {1, type, group})) {
      codes.push_back(row.OPSUBCODE);
    }
    return codes;
  };
  for (int p = period; p < period + size; ++p) {
    if (!free('C', indent.ACLASS, p) || !free('T', indent.ATEACHER, p)) return false;
    if (f.classRecord(indent.ACLASS).CLSOPTION == "Y") {
      for (int m : membersOf("C", indent.ACLASS)) {
        if (!free('C', m, p)) return false;
      }
    }
    if (f.resourceRecord(indent.ATEACHER).TCHOPTION == "Y") {
      for (int m : membersOf("T", indent.ATEACHER)) {
        if (!free('T', m, p)) return false;
      }
    }
  }
  return true;
}

// Places up to `limit` blocks of the indent's missing periods; returns the number placed.
inline int placeMissing(testing::SchoolFixture& f, int serial, int limit = 1000) {
  int placed = 0;
  const std::vector<int> days = store::listMembers(f.indent(serial).ALISTDAY);
  const std::vector<int> periods = store::listMembers(f.indent(serial).ALISTLEC);
  for (int day : days) {
    for (int period : periods) {
      const store::TAlloc indent = f.indent(serial);
      if (placed >= limit || indent.ANOLECALL >= indent.ANOOFLEC) return placed;
      if (!blockFits(f, indent, day, period)) continue;
      f.place(serial, day, period);
      ++placed;
    }
  }
  return placed;
}

class FixtureAllocator final : public IndentAllocator {
 public:
  explicit FixtureAllocator(testing::SchoolFixture& f, int blocksPerAttempt = 1000)
      : limit_(blocksPerAttempt), f_(f) {}
  bool wired() const override { return true; }
  EngineReport allocate(store::Session&, int serial) override {
    ++attempts;
    placeMissing(f_, serial, limit_);
    return report;
  }
  EngineReport report;
  int attempts = 0;
  int limit_;

 private:
  testing::SchoolFixture& f_;
};

class FixedClock final : public Clock {
 public:
  std::chrono::steady_clock::time_point now() const override {
    return std::chrono::steady_clock::time_point{};
  }
  std::chrono::system_clock::time_point wallNow() const override {
    return std::chrono::system_clock::time_point{};
  }
};

}  // namespace tavrel::indents
