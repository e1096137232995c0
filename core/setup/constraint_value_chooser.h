// The value chooser of the "Constraint" window (its "Compared to:" panel): one item for the first
// three comparisons, a low and a high item for "in the range", ticked items for "in the list". It
// offers periods 1 to 12 or the nine day names, opens with the items of the current "Compared to:"
// text chosen, and on "Ok(&3)" writes the value in the constraint grammar's form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/setup/constraint_derivation.h"
#include "core/setup/constraint_text.h"
#include "core/util/result.h"

namespace tavrel::setup {

enum class ChooserKind { Single, Range, List };

inline constexpr std::string_view kLowCaption = "Low:";
inline constexpr std::string_view kHighCaption = "High:";

inline constexpr std::string_view kListIncomplete =
    "List selection incomplete. At least one item must be tagged.";
inline constexpr std::string_view kMustSelectPeriod = "Must select a Period.";
inline constexpr std::string_view kMustSelectDay = "Must select a Day.";
inline constexpr std::string_view kPeriodRangeIncomplete = "Period range selection incomplete or invalid.";

class ConstraintValueChooser {
 public:
  ConstraintValueChooser(Dimension dimension, Comparison comparison, const ConstraintWeek& week,
                         std::string_view comparedTo);

  ChooserKind kind() const { return kind_; }
  Dimension dimension() const { return dimension_; }
  // "1" to "12", or the nine day names, in the order shown.
  const std::vector<std::string>& items() const { return items_; }
  // "Period:" / "Day:" for one item, "Period(s):" / "Day(s):" for a list; a range shows
  // `kLowCaption` and `kHighCaption` instead.
  std::string_view caption() const;
  // "Select Period" / "Select Day", "Click checkBox to tag one or more Period(s)" / "... Day(s)";
  // empty for a range.
  std::string_view hint() const;

  // Choices are indexes into `items()`; an index outside them clears the choice, as a combo box does.
  void chooseItem(int index) { item_ = validIndex(index); }
  void chooseLow(int index) { low_ = validIndex(index); }
  void chooseHigh(int index) { high_ = validIndex(index); }
  std::optional<int> chosenItem() const { return item_; }
  std::optional<int> low() const { return low_; }
  std::optional<int> high() const { return high_; }

  void tick(int index, bool ticked);
  bool isTicked(int index) const;
  void selectAll();  // "&Select All"

  // "Ok(&3)": the value text for the "Compared to:" field, or why the choice is not complete.
  Result<std::string> accept() const;

 private:
  std::optional<int> validIndex(int index) const;
  std::optional<int> indexOf(std::string_view item) const;
  void chooseFrom(std::string_view comparedTo);

  Dimension dimension_;
  Comparison comparison_;
  ChooserKind kind_;
  std::vector<std::string> items_;
  std::optional<int> item_;
  std::optional<int> low_;
  std::optional<int> high_;
  std::vector<bool> ticked_;
};

}  // namespace tavrel::setup
