#include "core/setup/week_setup.h"

#include <algorithm>

#include "core/store/week_frame.h"

namespace tavrel::setup {

namespace {
bool isDigit(char key) {
  return key >= '0' && key <= '9';
}
}  // namespace

std::string invalidKeyMessage(char key) {
  return invalidKeyMessage(std::string_view(&key, 1));
}

std::string invalidKeyMessage(std::string_view key) {
  return "\"" + std::string(key) + "\" is not a valid value. Permissible range is 0 to 9.";
}

WeekSetupForm::WeekSetupForm(char kind, int swrkdays) {
  const int periods = store::periodsPerDay(swrkdays);
  const int days = store::daysInCycle(swrkdays);
  maximum_ = kind == 'L' ? 12 : periods;
  for (int day = 1; day <= 9; ++day) {
    bool live = day == 1 || day <= days;
    enabled_[index(day)] = live;
    boxes_[index(day)] = live ? std::to_string(periods) : "0";
  }
}

bool WeekSetupForm::anySelected() const {
  return std::any_of(selected_.begin(), selected_.end(), [](bool b) { return b; });
}

void WeekSetupForm::selectDay(int day) {
  if (day >= 1 && day <= 9 && enabled_[index(day)]) selected_[index(day)] = true;
}

void WeekSetupForm::selectAll() {
  for (int day = 1; day <= 9; ++day) selectDay(day);
}

void WeekSetupForm::resetSelection() {
  selected_.fill(false);
  entryVisible_ = false;
}

Status WeekSetupForm::typeInBox(int day, char key) {
  if (!isDigit(key)) return Error{invalidKeyMessage(key)};
  std::string& box = boxes_[index(day)];
  // Boxes hold at most two characters: a count is never above 15.
  if (box.size() >= 2) return Error{invalidKeyMessage(key)};
  box += key;
  return {};
}

void WeekSetupForm::startPeriodsEntry() {
  if (!anySelected()) return;
  entryVisible_ = true;
  entryKeys_ = 0;
}

Status WeekSetupForm::typeInPeriodsEntry(char key) {
  if (!entryVisible_) return Error{invalidKeyMessage(key)};
  if (entryKeys_ == 0) {
    if (!isDigit(key)) return Error{invalidKeyMessage(key)};
    for (int day = 1; day <= 9; ++day) {
      if (selected_[index(day)]) boxes_[index(day)] = std::string(1, key);
    }
    entryKeys_ = 1;
    if (key != '1') entryVisible_ = false;
    return {};
  }
  if (entryKeys_ == 1 && key >= '0' && key <= '5') {
    for (int day = 1; day <= 9; ++day) {
      if (selected_[index(day)]) boxes_[index(day)] += key;
    }
    entryKeys_ = 2;
    entryVisible_ = false;
    return {};
  }
  return Error{invalidKeyMessage(key)};
}

Result<WeekSetupResult> WeekSetupForm::apply() const {
  WeekSetupResult result;
  result.direction = direction;
  for (int day = 1; day <= 9; ++day) {
    const std::string& text = boxes_[index(day)];
    // An emptied box counts as no periods; a box holds at most two digits, so the number is whole.
    int count = text.empty() ? 0 : std::stoi(text);
    bool passes = direction == Direction::TopDown ? count >= 0 && count <= maximum_ : maximum_ == 12;
    if (!passes) {
      std::string shown = direction == Direction::BottomUp ? "BottomUp" : text;
      return Error{"\"" + shown + "\" is not a valid assignment. Permissible range is 0 to " +
                   std::to_string(maximum_) + " TopDown."};
    }
    result.counts[index(day)] = count;
  }
  return result;
}

void WeekSetupForm::close() {
  resetSelection();
  direction = Direction::TopDown;
}

std::array<std::array<bool, 12>, 9> availableCells(const WeekSetupResult& result) {
  std::array<std::array<bool, 12>, 9> cells{};
  for (int day = 0; day < 9; ++day) {
    int n = result.counts[static_cast<std::size_t>(day)];
    for (int period = 1; period <= 12; ++period) {
      bool available = result.direction == Direction::TopDown ? period <= n : period >= 13 - n;
      cells[static_cast<std::size_t>(day)][static_cast<std::size_t>(period - 1)] = available;
    }
  }
  return cells;
}

}  // namespace tavrel::setup
