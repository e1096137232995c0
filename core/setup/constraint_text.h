// The text of an allocation constraint, as stored in an indent's `AQUERY` and listed in the
// "Constraint" window. Grammar, blanks exactly as written:
//
//   constraint = "None" | condition | condition " and where " condition
//   condition  = "(" dimension " " comparison " " value ")"
//   dimension  = "DAY" | "PERIOD"            the two conditions of a constraint use different ones
//   comparison = "equal to" | "before and equal to" | "after and equal to"
//              | "in the range" | "in the list"
//   value      = item                        for the first three comparisons
//              | item " through " item       for "in the range"
//              | item { "," item }           for "in the list"
//   item       = '"' period-number '"' | '"' day-name '"'     period-number 1 to 12
//
//   (DAY in the list "MONDAY","WEDNESDAY") and where (PERIOD before and equal to "4")
//
// Day names depend on the school's week (see constraint_derivation.h); every one of them contains
// "DAY" and no period number does, which is how an item shows its kind. The text only checks that a
// day item looks like a day name; which day it is, if any, is the derivation's business.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/result.h"

namespace tavrel::setup {

enum class Dimension { Day, Period };
enum class Comparison { EqualTo, BeforeAndEqualTo, AfterAndEqualTo, InTheRange, InTheList };

// In the order the window offers them.
inline constexpr std::array<Dimension, 2> kDimensions = {Dimension::Day, Dimension::Period};
inline constexpr std::array<Comparison, 5> kComparisons = {Comparison::EqualTo, Comparison::BeforeAndEqualTo,
                                                           Comparison::AfterAndEqualTo,
                                                           Comparison::InTheRange, Comparison::InTheList};

// "DAY" or "PERIOD".
std::string_view dimensionWord(Dimension dimension);
// "equal to", "before and equal to", ...
std::string_view comparisonPhrase(Comparison comparison);
// The other dimension: a second condition always uses the one the first does not.
Dimension otherDimension(Dimension dimension);

// One condition: its items are the texts between the double quotes, in the order written.
struct Condition {
  Dimension dimension = Dimension::Day;
  Comparison comparison = Comparison::EqualTo;
  std::vector<std::string> items;

  friend bool operator==(const Condition&, const Condition&) = default;
};

inline constexpr std::string_view kNoConstraintText = "None";
// `AQUERY` holds no more; no text the window writes comes near it.
inline constexpr int kConstraintTextWidth = 254;

inline constexpr std::string_view kConditionInvalid = "Constraint selection incomplete or invalid.";

// Older data sets stored some blanks of the text as the character 0xF9, either as that raw byte or,
// once converted to Unicode, as U+00F9; neither ever belongs in a constraint, so both read as a blank.
std::string readStoredText(std::string_view stored);

// The value part as the value chooser writes it: "\"2\"", "\"2\" through \"5\"", "\"1\",\"3\"".
std::string valueText(Comparison comparison, const std::vector<std::string>& items);
// "(DAY equal to \"MONDAY\")".
std::string conditionText(const Condition& condition);
// "and where (PERIOD equal to \"3\")": the second line of the window's list.
std::string secondConditionText(const Condition& condition);
// The whole text: "None", one condition, or both joined by one blank.
std::string constraintText(const std::vector<Condition>& conditions);

// Whether a condition could have been written by the window: the number of items its comparison
// takes, and items of its dimension's kind. Says nothing of the school's week.
Status checkConditionForm(const Condition& condition);

// The items of a value part written for the dimension and comparison, or `kConditionInvalid`.
Result<std::vector<std::string>> parseValue(Dimension dimension, Comparison comparison,
                                            std::string_view value);

// The conditions of a stored text (0xF9 read as a blank, blanks around the text ignored): none for
// "None" or an empty text. Anything not in the grammar, a second condition on the first one's
// dimension, or a text longer than `AQUERY` holds is `kConditionInvalid`.
Result<std::vector<Condition>> parseConstraint(std::string_view text);

}  // namespace tavrel::setup
