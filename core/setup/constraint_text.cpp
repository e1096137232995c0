#include "core/setup/constraint_text.h"

#include <algorithm>
#include <optional>

namespace tavrel::setup {

namespace {

constexpr std::string_view kAndWhere = "and where ";
constexpr std::string_view kThrough = " through ";
constexpr char kQuote = '"';

// A reader that only moves forward over the text and never past its end.
class TextReader {
 public:
  explicit TextReader(std::string_view text) : rest_(text) {}

  bool atEnd() const { return rest_.empty(); }
  std::string_view rest() const { return rest_; }

  bool skip(std::string_view literal) {
    if (!rest_.starts_with(literal)) return false;
    rest_.remove_prefix(literal.size());
    return true;
  }

  // A double-quoted item; the quotes are not part of it.
  std::optional<std::string_view> quoted() {
    if (!rest_.starts_with(kQuote)) return std::nullopt;
    const std::size_t closing = rest_.find(kQuote, 1);
    if (closing == std::string_view::npos) return std::nullopt;
    const std::string_view item = rest_.substr(1, closing - 1);
    rest_.remove_prefix(closing + 1);
    return item;
  }

 private:
  std::string_view rest_;
};

bool isPeriodItem(std::string_view item) {
  static constexpr std::array<std::string_view, 12> kPeriods = {"1", "2", "3", "4",  "5",  "6",
                                                                "7", "8", "9", "10", "11", "12"};
  return std::find(kPeriods.begin(), kPeriods.end(), item) != kPeriods.end();
}

// Day names are upper-case words, some with a digit ("DAY8"), and all contain "DAY".
bool looksLikeDayName(std::string_view item) {
  const bool wordCharacters = std::all_of(
      item.begin(), item.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
  return wordCharacters && item.find("DAY") != std::string_view::npos;
}

bool isItemOf(Dimension dimension, std::string_view item) {
  return dimension == Dimension::Period ? isPeriodItem(item) : looksLikeDayName(item);
}

bool hasItemCountOf(Comparison comparison, std::size_t count) {
  switch (comparison) {
    case Comparison::InTheRange:
      return count == 2;
    case Comparison::InTheList:
      return count >= 1;
    default:
      return count == 1;
  }
}

std::optional<Dimension> readDimension(TextReader& reader) {
  for (Dimension dimension : kDimensions) {
    if (reader.skip(dimensionWord(dimension))) return dimension;
  }
  return std::nullopt;
}

// "equal to" is the tail of two longer phrases, so those are tried first.
std::optional<Comparison> readComparison(TextReader& reader) {
  static constexpr std::array<Comparison, 5> kLongestFirst = {
      Comparison::BeforeAndEqualTo, Comparison::AfterAndEqualTo, Comparison::InTheRange,
      Comparison::InTheList, Comparison::EqualTo};
  for (Comparison comparison : kLongestFirst) {
    if (reader.skip(comparisonPhrase(comparison))) return comparison;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> readValue(TextReader& reader, Comparison comparison) {
  std::vector<std::string> items;
  const auto readItem = [&]() {
    const auto item = reader.quoted();
    if (item) items.emplace_back(*item);
    return item.has_value();
  };
  if (!readItem()) return std::nullopt;
  if (comparison == Comparison::InTheRange) {
    if (!reader.skip(kThrough) || !readItem()) return std::nullopt;
  } else if (comparison == Comparison::InTheList) {
    while (reader.skip(",")) {
      if (!readItem()) return std::nullopt;
    }
  }
  return items;
}

std::optional<Condition> readCondition(TextReader& reader) {
  if (!reader.skip("(")) return std::nullopt;
  const auto dimension = readDimension(reader);
  if (!dimension || !reader.skip(" ")) return std::nullopt;
  const auto comparison = readComparison(reader);
  if (!comparison || !reader.skip(" ")) return std::nullopt;
  auto items = readValue(reader, *comparison);
  if (!items || !reader.skip(")")) return std::nullopt;
  Condition condition{*dimension, *comparison, std::move(*items)};
  if (!checkConditionForm(condition)) return std::nullopt;
  return condition;
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string_view dimensionWord(Dimension dimension) {
  return dimension == Dimension::Day ? "DAY" : "PERIOD";
}

std::string_view comparisonPhrase(Comparison comparison) {
  switch (comparison) {
    case Comparison::EqualTo:
      return "equal to";
    case Comparison::BeforeAndEqualTo:
      return "before and equal to";
    case Comparison::AfterAndEqualTo:
      return "after and equal to";
    case Comparison::InTheRange:
      return "in the range";
    case Comparison::InTheList:
      return "in the list";
  }
  return {};
}

Dimension otherDimension(Dimension dimension) {
  return dimension == Dimension::Day ? Dimension::Period : Dimension::Day;
}

std::string readStoredText(std::string_view stored) {
  std::string text;
  text.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const auto byte = static_cast<unsigned char>(stored[i]);
    if (byte == 0xF9) {
      text += ' ';
    } else if (byte == 0xC3 && i + 1 < stored.size() && static_cast<unsigned char>(stored[i + 1]) == 0xB9) {
      text += ' ';
      ++i;
    } else {
      text += stored[i];
    }
  }
  return text;
}

std::string valueText(Comparison comparison, const std::vector<std::string>& items) {
  const std::string_view separator = comparison == Comparison::InTheRange ? kThrough : ",";
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += separator;
    text += kQuote + items[i] + kQuote;
  }
  return text;
}

std::string conditionText(const Condition& condition) {
  std::string text = "(";
  text += dimensionWord(condition.dimension);
  text += ' ';
  text += comparisonPhrase(condition.comparison);
  text += ' ';
  text += valueText(condition.comparison, condition.items);
  text += ')';
  return text;
}

std::string secondConditionText(const Condition& condition) {
  return std::string(kAndWhere) + conditionText(condition);
}

std::string constraintText(const std::vector<Condition>& conditions) {
  if (conditions.empty()) return std::string(kNoConstraintText);
  std::string text = conditionText(conditions.front());
  if (conditions.size() > 1) text += ' ' + secondConditionText(conditions[1]);
  return text;
}

Status checkConditionForm(const Condition& condition) {
  const bool itemsFit =
      std::all_of(condition.items.begin(), condition.items.end(),
                  [&](const std::string& item) { return isItemOf(condition.dimension, item); });
  if (!itemsFit || !hasItemCountOf(condition.comparison, condition.items.size()))
    return Error{std::string(kConditionInvalid)};
  return Status::success();
}

Result<std::vector<std::string>> parseValue(Dimension dimension, Comparison comparison,
                                            std::string_view value) {
  TextReader reader(value);
  auto items = readValue(reader, comparison);
  if (!items || !reader.atEnd()) return Error{std::string(kConditionInvalid)};
  if (!checkConditionForm({dimension, comparison, *items})) return Error{std::string(kConditionInvalid)};
  return std::move(*items);
}

Result<std::vector<Condition>> parseConstraint(std::string_view stored) {
  const std::string text = readStoredText(stored);
  const std::string_view body = trimBlanks(text);
  std::vector<Condition> conditions;
  if (body.empty() || body == kNoConstraintText) return conditions;
  const Error invalid{std::string(kConditionInvalid)};
  if (static_cast<int>(body.size()) > kConstraintTextWidth) return invalid;

  TextReader reader(body);
  auto first = readCondition(reader);
  if (!first) return invalid;
  conditions.push_back(std::move(*first));
  if (reader.skip(" ")) {
    if (!reader.skip(kAndWhere)) return invalid;
    auto second = readCondition(reader);
    if (!second || second->dimension == conditions.front().dimension) return invalid;
    conditions.push_back(std::move(*second));
  }
  if (!reader.atEnd()) return invalid;
  return conditions;
}

}  // namespace tavrel::setup
