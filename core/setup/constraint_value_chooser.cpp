#include "core/setup/constraint_value_chooser.h"

#include <algorithm>

namespace tavrel::setup {

namespace {

constexpr int kPeriodsOffered = 12;

ChooserKind kindOf(Comparison comparison) {
  if (comparison == Comparison::InTheRange) return ChooserKind::Range;
  if (comparison == Comparison::InTheList) return ChooserKind::List;
  return ChooserKind::Single;
}

std::vector<std::string> offeredItems(Dimension dimension, const ConstraintWeek& week) {
  if (dimension == Dimension::Day) return week.dayNames;
  std::vector<std::string> periods;
  for (int period = 1; period <= kPeriodsOffered; ++period) periods.push_back(std::to_string(period));
  return periods;
}

// The double-quoted items of a "Compared to:" text, in order. The text may come from a stored line
// in any state, so this only picks out what is quoted.
std::vector<std::string_view> quotedItems(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t open = text.find('"');
  while (open != std::string_view::npos) {
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) break;
    items.push_back(text.substr(open + 1, close - open - 1));
    open = text.find('"', close + 1);
  }
  return items;
}

}  // namespace

ConstraintValueChooser::ConstraintValueChooser(Dimension dimension, Comparison comparison,
                                               const ConstraintWeek& week, std::string_view comparedTo)
    : dimension_(dimension),
      comparison_(comparison),
      kind_(kindOf(comparison)),
      items_(offeredItems(dimension, week)),
      ticked_(items_.size(), false) {
  chooseFrom(comparedTo);
}

std::string_view ConstraintValueChooser::caption() const {
  const bool period = dimension_ == Dimension::Period;
  switch (kind_) {
    case ChooserKind::Single:
      return period ? "Period:" : "Day:";
    case ChooserKind::List:
      return period ? "Period(s):" : "Day(s):";
    case ChooserKind::Range:
      break;
  }
  return {};
}

std::string_view ConstraintValueChooser::hint() const {
  const bool period = dimension_ == Dimension::Period;
  switch (kind_) {
    case ChooserKind::Single:
      return period ? "Select Period" : "Select Day";
    case ChooserKind::List:
      return period ? "Click checkBox to tag one or more Period(s)"
                    : "Click checkBox to tag one or more Day(s)";
    case ChooserKind::Range:
      break;
  }
  return {};
}

void ConstraintValueChooser::tick(int index, bool ticked) {
  if (validIndex(index)) ticked_[static_cast<std::size_t>(index)] = ticked;
}

bool ConstraintValueChooser::isTicked(int index) const {
  return validIndex(index) && ticked_[static_cast<std::size_t>(index)];
}

void ConstraintValueChooser::selectAll() {
  std::fill(ticked_.begin(), ticked_.end(), true);
}

Result<std::string> ConstraintValueChooser::accept() const {
  const auto itemAt = [&](int index) { return items_[static_cast<std::size_t>(index)]; };
  std::vector<std::string> chosen;
  switch (kind_) {
    case ChooserKind::List:
      for (std::size_t i = 0; i < items_.size(); ++i) {
        if (ticked_[i]) chosen.push_back(items_[i]);
      }
      if (chosen.empty()) return Error{std::string(kListIncomplete)};
      break;
    case ChooserKind::Single:
      if (!item_)
        return Error{std::string(dimension_ == Dimension::Period ? kMustSelectPeriod : kMustSelectDay)};
      chosen.push_back(itemAt(*item_));
      break;
    case ChooserKind::Range:
      // Items are offered in period and day order, so comparing positions compares the items.
      if (dimension_ == Dimension::Period) {
        if (!low_ || !high_) return Error{std::string(kPeriodRangeIncomplete)};
        if (*low_ > *high_) return Error{std::string(kPeriodRangeInverted)};
      } else if (!low_ || !high_ || *low_ > *high_) {
        return Error{std::string(kDayRangeInvalid)};
      }
      chosen = {itemAt(*low_), itemAt(*high_)};
      break;
  }
  return valueText(comparison_, chosen);
}

std::optional<int> ConstraintValueChooser::validIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size())) return std::nullopt;
  return index;
}

std::optional<int> ConstraintValueChooser::indexOf(std::string_view item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  if (found == items_.end()) return std::nullopt;
  return static_cast<int>(found - items_.begin());
}

void ConstraintValueChooser::chooseFrom(std::string_view comparedTo) {
  const std::vector<std::string_view> quoted = quotedItems(comparedTo);
  switch (kind_) {
    case ChooserKind::Single:
      if (!quoted.empty()) item_ = indexOf(quoted[0]);
      break;
    case ChooserKind::Range:
      if (!quoted.empty()) low_ = indexOf(quoted[0]);
      if (quoted.size() > 1) high_ = indexOf(quoted[1]);
      break;
    case ChooserKind::List:
      for (std::string_view item : quoted) {
        if (const auto index = indexOf(item)) ticked_[static_cast<std::size_t>(*index)] = true;
      }
      break;
  }
}

}  // namespace tavrel::setup
