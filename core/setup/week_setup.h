// The week-setup dialog's rules: nine day boxes of period counts, a shared "Periods" entry typed
// key by key, and the check made on "App&ly". The dialog changes no table; the counts and the
// direction it hands back are applied to an owner's cells with `availableCells`.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/result.h"

namespace tavrel::setup {

enum class Direction { TopDown, BottomUp };

struct WeekSetupResult {
  std::array<int, 9> counts{};  // available periods of days 1 to 9
  Direction direction = Direction::TopDown;
};

class WeekSetupForm {
 public:
  // `kind` is the owner: 'L' school, 'C' class, 'T' resource.
  WeekSetupForm(char kind, int swrkdays);

  int maximum() const { return maximum_; }  // M: 12 for a school, else the periods per day
  bool dayEnabled(int day) const { return enabled_[index(day)]; }
  bool daySelected(int day) const { return selected_[index(day)]; }
  const std::string& box(int day) const { return boxes_[index(day)]; }
  bool periodsEnabled() const { return anySelected(); }
  bool resetEnabled() const { return anySelected(); }
  bool periodsEntryVisible() const { return entryVisible_; }
  Direction direction = Direction::TopDown;

  void selectDay(int day);
  void selectAll();
  void resetSelection();

  // Typing into a day box: entering empties it; only digits are taken. A refused key gives the
  // message to show and leaves the box as it was.
  void enterBox(int day) { boxes_[index(day)].clear(); }
  Status typeInBox(int day, char key);

  // "&Periods" then keys typed into the shared entry, written into every selected day's box.
  void startPeriodsEntry();
  Status typeInPeriodsEntry(char key);
  void leavePeriodsEntry() { entryVisible_ = false; }

  // "App&ly": the counts and direction, or the message naming the first day that fails.
  Result<WeekSetupResult> apply() const;

  // Whatever way the dialog closes, the selection and direction start afresh.
  void close();

 private:
  static std::size_t index(int day) { return static_cast<std::size_t>(day - 1); }
  bool anySelected() const;

  int maximum_;
  std::array<bool, 9> enabled_{};
  std::array<bool, 9> selected_{};
  std::array<std::string, 9> boxes_;
  bool entryVisible_ = false;
  int entryKeys_ = 0;
};

// The message for a key that is not a digit (the key as typed, in UTF-8).
std::string invalidKeyMessage(char key);
std::string invalidKeyMessage(std::string_view key);

// Which of the 9 × 12 cells the result makes available: TopDown with n makes periods 1 to n
// available, BottomUp with n makes periods 13 − n to 12 available.
std::array<std::array<bool, 12>, 9> availableCells(const WeekSetupResult& result);

}  // namespace tavrel::setup
