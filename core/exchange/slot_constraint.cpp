#include "core/exchange/slot_constraint.h"

#include <vector>

#include "core/setup/constraint_derivation.h"
#include "core/setup/constraint_text.h"

namespace tavrel::exchange {

namespace {

bool contiguous(const std::set<int>& numbers) {
  return !numbers.empty() && *numbers.rbegin() - *numbers.begin() + 1 == static_cast<int>(numbers.size());
}

// The condition that picks exactly `chosen` out of 1..`all`, or nothing when it picks them all.
std::optional<setup::Condition> conditionFor(setup::Dimension dimension, const std::set<int>& chosen, int all,
                                             const std::vector<std::string>& names) {
  if (static_cast<int>(chosen.size()) == all) return std::nullopt;
  setup::Condition condition{dimension};
  const auto item = [&](int number) { return names[number - 1]; };
  if (chosen.size() == 1) {
    condition.comparison = setup::Comparison::EqualTo;
    condition.items = {item(*chosen.begin())};
  } else if (contiguous(chosen) && *chosen.begin() == 1) {
    condition.comparison = setup::Comparison::BeforeAndEqualTo;
    condition.items = {item(*chosen.rbegin())};
  } else if (contiguous(chosen) && *chosen.rbegin() == all) {
    condition.comparison = setup::Comparison::AfterAndEqualTo;
    condition.items = {item(*chosen.begin())};
  } else if (contiguous(chosen)) {
    condition.comparison = setup::Comparison::InTheRange;
    condition.items = {item(*chosen.begin()), item(*chosen.rbegin())};
  } else {
    condition.comparison = setup::Comparison::InTheList;
    for (int number : chosen) condition.items.push_back(item(number));
  }
  return condition;
}

// The width of ",1,3,10" for the numbers 1, 3 and 10.
int encodedWidth(const std::set<int>& numbers) {
  int width = 0;
  for (int number : numbers) width += 1 + static_cast<int>(std::to_string(number).size());
  return width;
}

}  // namespace

SlotSet coveredSlots(const SlotSet& starts, int length, int periodsPerDay) {
  SlotSet covered;
  for (const auto& [day, period] : starts) {
    if (period + length - 1 > periodsPerDay) continue;
    for (int p = period; p < period + length; ++p) covered.insert({day, p});
  }
  return covered;
}

std::optional<std::string> constraintForSlots(const SlotSet& allowed, int days, int periodsPerDay, int clusterSize) {
  if (allowed.empty()) return std::nullopt;
  std::set<int> chosenDays, chosenPeriods;
  for (const auto& [day, period] : allowed) {
    if (day < 1 || day > days || period < 1 || period > periodsPerDay) return std::nullopt;
    chosenDays.insert(day);
    chosenPeriods.insert(period);
  }
  if (allowed.size() != chosenDays.size() * chosenPeriods.size()) return std::nullopt;

  const setup::ConstraintWeek week = setup::constraintWeek(days * 100 + periodsPerDay, "STANDARD");
  std::vector<std::string> periodNames;
  for (int p = 1; p <= periodsPerDay; ++p) periodNames.push_back(std::to_string(p));
  std::vector<setup::Condition> conditions;
  if (auto day = conditionFor(setup::Dimension::Day, chosenDays, days, week.dayNames)) conditions.push_back(*day);
  if (auto period = conditionFor(setup::Dimension::Period, chosenPeriods, periodsPerDay, periodNames))
    conditions.push_back(*period);
  // The engine draws from the period list, which holds 25 characters: a longer one would lose periods.
  if (encodedWidth(chosenPeriods) > setup::kListFieldWidth) return std::nullopt;
  auto derived = setup::deriveConstraint(conditions, week, clusterSize);
  if (!derived) return std::nullopt;
  return derived->text;
}

}  // namespace tavrel::exchange
