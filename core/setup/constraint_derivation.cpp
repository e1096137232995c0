#include "core/setup/constraint_derivation.h"

#include <algorithm>
#include <bitset>

#include "core/store/day_words.h"
#include "core/store/encoded_lists.h"
#include "core/store/week_frame.h"
#include "core/util/text.h"

namespace tavrel::setup {

namespace {

constexpr int kDaysInFrame = 9;
constexpr int kPeriodsInFrame = 12;

std::string upperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string encodeList(const std::vector<int>& members) {
  std::string list;
  for (int member : members) list += "," + std::to_string(member);
  return list;
}

std::vector<int> numbersFrom(int first, int last) {
  std::vector<int> numbers;
  for (int n = first; n <= last; ++n) numbers.push_back(n);
  return numbers;
}

std::vector<int> ascendingDistinct(std::vector<int> numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

// The position of an item in its dimension: the period number (read as a one-member stored list),
// or the day's place in the names; 0 for an item that is neither.
int itemNumber(Dimension dimension, const ConstraintWeek& week, std::string_view item) {
  if (dimension == Dimension::Day) return dayNumber(week, item);
  const std::vector<int> period = store::listMembers("," + std::string(item));
  return period.size() == 1 ? period.front() : 0;
}

std::vector<int> itemNumbers(const Condition& condition, const ConstraintWeek& week) {
  std::vector<int> numbers;
  for (const std::string& item : condition.items)
    numbers.push_back(itemNumber(condition.dimension, week, item));
  return numbers;
}

Status checkItemInWeek(Dimension dimension, const ConstraintWeek& week, std::string_view item) {
  if (dimension == Dimension::Day) {
    const int day = dayNumber(week, item);
    if (day < 1 || day > week.days) return Error{dayNotInWeekMessage(item, week.days)};
  } else if (itemNumber(dimension, week, item) > week.periods) {
    return Error{periodNotInDayMessage(item, week.periods)};
  }
  return Status::success();
}

struct Span {
  int first = 1;
  int last = 1;
  std::vector<int> members;
};

// What one condition allows on its dimension, whose whole extent is 1 to `extent`. A day list keeps
// the whole cycle as its range; a period list narrows the range to the periods it names.
Span allowedSpan(const Condition& condition, const ConstraintWeek& week, int extent) {
  const std::vector<int> numbers = itemNumbers(condition, week);
  switch (condition.comparison) {
    case Comparison::EqualTo:
      return {numbers[0], numbers[0], {numbers[0]}};
    case Comparison::BeforeAndEqualTo:
      return {1, numbers[0], numbersFrom(1, numbers[0])};
    case Comparison::AfterAndEqualTo:
      return {numbers[0], extent, numbersFrom(numbers[0], extent)};
    case Comparison::InTheRange:
      return {numbers[0], numbers[1], numbersFrom(numbers[0], numbers[1])};
    case Comparison::InTheList: {
      // Any order and repeats read as the set they name: the lists are stored ascending.
      std::vector<int> members = ascendingDistinct(numbers);
      if (condition.dimension == Dimension::Day) return {1, extent, members};
      return {members.front(), members.back(), members};
    }
  }
  return {1, extent, numbersFrom(1, extent)};
}

}  // namespace

ConstraintWeek constraintWeek(int swrkdays, std::string_view sregn) {
  ConstraintWeek week;
  const int days = store::daysInCycle(swrkdays);
  const int periods = store::periodsPerDay(swrkdays);
  week.days = days >= 1 && days <= kDaysInFrame ? days : kDaysInFrame;
  week.periods = periods >= 1 && periods <= kPeriodsInFrame ? periods : kPeriodsInFrame;
  for (std::string& name : store::Fill_DayList(week.days * 100 + week.periods, sregn))
    week.dayNames.push_back(upperCase(std::move(name)));
  return week;
}

ConstraintWeek constraintWeek(const store::TSchl& school) {
  return constraintWeek(school.SWRKDAYS, school.SREGN);
}

std::string dayNotInWeekMessage(std::string_view dayName, int days) {
  return "Day \"" + std::string(dayName) + "\" is not a day of the school's " + std::to_string(days) +
         "-day week cycle. Please reselect the constraint.";
}

std::string periodNotInDayMessage(std::string_view period, int periods) {
  return "Period " + std::string(period) + " is not a period of the school's " + std::to_string(periods) +
         "-period day. Please reselect the constraint.";
}

ConstraintValues noConstraint(const ConstraintWeek& week) {
  return {std::string(kNoConstraintText),
          1,
          week.periods,
          text::cutToWidth(store::BldNoStr(week.periods), kListFieldWidth),
          1,
          week.days,
          store::BldNoStr(week.days)};
}

int dayNumber(const ConstraintWeek& week, std::string_view dayName) {
  const auto found = std::find(week.dayNames.begin(), week.dayNames.end(), dayName);
  if (found == week.dayNames.end()) return 0;
  return static_cast<int>(found - week.dayNames.begin()) + 1;
}

Status checkCondition(const Condition& condition, const ConstraintWeek& week) {
  if (Status form = checkConditionForm(condition); !form) return form;
  for (const std::string& item : condition.items) {
    if (Status inWeek = checkItemInWeek(condition.dimension, week, item); !inWeek) return inWeek;
  }
  if (condition.comparison == Comparison::InTheRange) {
    const std::vector<int> numbers = itemNumbers(condition, week);
    if (numbers[0] > numbers[1])
      return Error{
          std::string(condition.dimension == Dimension::Period ? kPeriodRangeInverted : kDayRangeInvalid)};
  }
  return Status::success();
}

bool fitsCluster(const std::vector<int>& periods, int clusterSize) {
  if (clusterSize < 2) return true;
  if (clusterSize > kPeriodsInFrame) return false;
  std::bitset<kPeriodsInFrame + 1> listed;
  for (int period : periods) {
    if (period >= 1 && period <= kPeriodsInFrame) listed.set(static_cast<std::size_t>(period));
  }
  for (int start = 1; start + clusterSize - 1 <= kPeriodsInFrame; ++start) {
    bool run = true;
    for (int period = start; period < start + clusterSize && run; ++period)
      run = listed.test(static_cast<std::size_t>(period));
    if (run) return true;
  }
  return false;
}

Result<ConstraintValues> deriveConstraint(const std::vector<Condition>& conditions,
                                          const ConstraintWeek& week, int clusterSize) {
  const Error invalid{std::string(kConditionInvalid)};
  if (conditions.size() > 2) return invalid;
  if (conditions.size() == 2 && conditions[0].dimension == conditions[1].dimension) return invalid;
  for (const Condition& condition : conditions) {
    if (Status status = checkCondition(condition, week); !status) return Error{status.error()};
  }
  const std::string text = constraintText(conditions);
  if (text::characterCount(text) > kConstraintTextWidth) return invalid;

  ConstraintValues values = noConstraint(week);
  values.text = text;
  for (const Condition& condition : conditions) {
    if (condition.dimension == Dimension::Period) {
      const Span span = allowedSpan(condition, week, week.periods);
      if (!fitsCluster(span.members, clusterSize)) return Error{std::string(kClusterMismatch)};
      values.firstPeriod = span.first;
      values.lastPeriod = span.last;
      values.periodList = text::cutToWidth(encodeList(span.members), kListFieldWidth);
    } else {
      const Span span = allowedSpan(condition, week, week.days);
      values.firstDay = span.first;
      values.lastDay = span.last;
      values.dayList = encodeList(span.members);
    }
  }
  return values;
}

Result<ConstraintValues> deriveConstraint(std::string_view text, const ConstraintWeek& week,
                                          int clusterSize) {
  auto conditions = parseConstraint(text);
  if (!conditions) return Error{conditions.error()};
  return deriveConstraint(*conditions, week, clusterSize);
}

}  // namespace tavrel::setup
