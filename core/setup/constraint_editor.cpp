#include "core/setup/constraint_editor.h"

#include <algorithm>
#include <utility>

namespace tavrel::setup {

namespace {

constexpr std::string_view kAndWhere = "and where";
constexpr std::string_view kAndWherePrefix = "and where ";
// "None" and anything shorter holds no condition.
constexpr std::size_t kShortestCondition = 5;

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The lines of panel 1 for a stored text: the first condition from its "(" to the first ")" after
// it, the second from "and where" to the end. They are taken as they stand, so that the person sees
// what is stored; "O&k(1)" judges them.
std::vector<std::string> linesOf(std::string_view storedText) {
  const std::string text = readStoredText(storedText);
  const std::string_view body = trimBlanks(text);
  std::vector<std::string> lines;
  if (body.size() < kShortestCondition) return lines;

  const std::size_t secondAt = body.find(kAndWhere);
  const std::string_view head = body.substr(0, secondAt);
  const std::size_t open = head.find('(');
  std::string_view first = head;
  if (open != std::string_view::npos) {
    const std::size_t close = head.find(')', open);
    first = head.substr(open, close == std::string_view::npos ? std::string_view::npos : close - open + 1);
  }
  first = trimBlanks(first);
  if (!first.empty()) lines.emplace_back(first);
  if (secondAt != std::string_view::npos) lines.emplace_back(trimBlanks(body.substr(secondAt)));
  return lines;
}

// The dimension a line is written for: the earlier of "(DAY" and "(PERIOD".
std::optional<Dimension> dimensionOf(std::string_view line) {
  const std::size_t day = line.find("(DAY");
  const std::size_t period = line.find("(PERIOD");
  if (day == std::string_view::npos && period == std::string_view::npos) return std::nullopt;
  return day < period ? Dimension::Day : Dimension::Period;
}

// "equal to" is inside two longer phrases, so the longest phrase found is the line's comparison.
std::optional<Comparison> comparisonOf(std::string_view line) {
  std::optional<Comparison> found;
  for (Comparison comparison : kComparisons) {
    const std::string_view phrase = comparisonPhrase(comparison);
    if (line.find(phrase) != std::string_view::npos &&
        (!found || phrase.size() > comparisonPhrase(*found).size()))
      found = comparison;
  }
  return found;
}

// From the first double quote to the character before the closing ")".
std::string comparedToOf(std::string_view line) {
  const std::size_t quote = line.find('"');
  if (quote == std::string_view::npos) return {};
  const std::size_t close = line.rfind(')');
  if (close == std::string_view::npos || close < quote) return std::string(line.substr(quote));
  return std::string(line.substr(quote, close - quote));
}

}  // namespace

std::string constraintCaption(std::string_view schoolName, ConstraintUse use) {
  return std::string(schoolName) +
         (use == ConstraintUse::Allocation ? " - Allocation Constraint" : " - Proxy Constraint");
}

ConstraintEditor::ConstraintEditor(std::string_view storedText, int clusterSize, ConstraintWeek week)
    : week_(std::move(week)), clusterSize_(clusterSize), lines_(linesOf(storedText)) {
  if (lines_.empty()) {
    panel_ = ConstraintPanel::Build;
    conditionsVisible_ = false;
  } else {
    selected_ = 0;
  }
}

void ConstraintEditor::selectLine(int index) {
  if (index >= 0 && index < static_cast<int>(lines_.size())) selected_ = index;
}

bool ConstraintEditor::canAppend() const {
  return panel_ == ConstraintPanel::Conditions && lines_.size() < 2;
}

bool ConstraintEditor::canEdit() const {
  return panel_ == ConstraintPanel::Conditions && selected_.has_value();
}

bool ConstraintEditor::canDelete() const {
  return canEdit();
}

bool ConstraintEditor::append() {
  if (!canAppend()) return false;
  resetBuild();
  if (lines_.size() == 1) {
    dimension_ = dimensionOf(lines_.front()) == Dimension::Day ? Dimension::Period : Dimension::Day;
    dimensionFixed_ = true;
  }
  panel_ = ConstraintPanel::Build;
  return true;
}

bool ConstraintEditor::edit() {
  if (!canEdit()) return false;
  resetBuild();
  const int index = *selected_;
  const std::string& line = lines_[static_cast<std::size_t>(index)];
  editedLine_ = index;
  dimension_ = dimensionOf(line);
  if (lines_.size() == 2) {
    // With two conditions the edited one keeps to the dimension the other leaves free.
    if (const auto other = dimensionOf(lines_[static_cast<std::size_t>(1 - index)]))
      dimension_ = otherDimension(*other);
    dimensionFixed_ = dimension_.has_value();
  }
  comparison_ = comparisonOf(line);
  comparedTo_ = comparedToOf(line);
  panel_ = ConstraintPanel::Build;
  return true;
}

bool ConstraintEditor::remove() {
  if (!canDelete()) return false;
  if (lines_.size() == 1) {
    lines_.clear();
  } else if (*selected_ == 0) {
    lines_.erase(lines_.begin());
    std::string& remaining = lines_.front();
    if (remaining.starts_with(kAndWherePrefix)) remaining.erase(0, kAndWherePrefix.size());
  } else {
    lines_.pop_back();
  }
  selected_ = lines_.empty() ? std::nullopt : std::optional<int>(0);
  return true;
}

Status ConstraintEditor::accept() {
  std::string text(kNoConstraintText);
  if (!lines_.empty()) {
    text = lines_.front();
    if (lines_.size() > 1) text += ' ' + lines_[1];
  }
  auto values = deriveConstraint(text, week_, clusterSize_);
  if (!values) return Error{values.error()};
  outcome_ = std::move(*values);
  closed_ = true;
  return Status::success();
}

void ConstraintEditor::cancel() {
  closed_ = true;
  outcome_.reset();
}

std::vector<std::string_view> ConstraintEditor::dimensionChoices() {
  std::vector<std::string_view> words;
  for (Dimension dimension : kDimensions) words.push_back(dimensionWord(dimension));
  return words;
}

std::vector<std::string_view> ConstraintEditor::comparisonChoices() {
  std::vector<std::string_view> phrases;
  for (Comparison comparison : kComparisons) phrases.push_back(comparisonPhrase(comparison));
  return phrases;
}

bool ConstraintEditor::buildsSecondCondition() const {
  return panel_ != ConstraintPanel::Conditions && targetLine() == 1;
}

void ConstraintEditor::chooseDimension(Dimension dimension) {
  if (panel_ == ConstraintPanel::Build && !dimensionFixed_) dimension_ = dimension;
}

void ConstraintEditor::chooseComparison(Comparison comparison) {
  if (panel_ == ConstraintPanel::Build) comparison_ = comparison;
}

Status ConstraintEditor::openValueChooser() {
  if (panel_ != ConstraintPanel::Build) return Error{std::string(kPanelNotOpen)};
  if (!dimension_) return Error{std::string(kNoDimensionChosen)};
  if (!comparison_) return Error{std::string(kNoComparisonChosen)};
  chooser_.emplace(*dimension_, *comparison_, week_, comparedTo_);
  panel_ = ConstraintPanel::Value;
  return Status::success();
}

Status ConstraintEditor::acceptCondition() {
  if (panel_ != ConstraintPanel::Build) return Error{std::string(kPanelNotOpen)};
  if (!dimension_ || !comparison_) return Error{std::string(kConditionInvalid)};
  auto items = parseValue(*dimension_, *comparison_, comparedTo_);
  if (!items) return Error{items.error()};
  const Condition condition{*dimension_, *comparison_, std::move(*items)};
  if (Status inWeek = checkCondition(condition, week_); !inWeek) return inWeek;

  const int target = targetLine();
  std::string line = target == 1 ? secondConditionText(condition) : conditionText(condition);
  if (editedLine_)
    lines_[static_cast<std::size_t>(target)] = std::move(line);
  else
    lines_.push_back(std::move(line));
  selected_ = target;
  resetBuild();
  showConditions();
  return Status::success();
}

void ConstraintEditor::cancelCondition() {
  if (panel_ != ConstraintPanel::Build) return;
  resetBuild();
  showConditions();
}

Status ConstraintEditor::closeFromBuild() {
  if (Status accepted = acceptCondition(); !accepted) return accepted;
  return accept();
}

Status ConstraintEditor::acceptValue() {
  if (!chooser_) return Error{std::string(kPanelNotOpen)};
  auto value = chooser_->accept();
  if (!value) return Error{value.error()};
  comparedTo_ = std::move(*value);
  chooser_.reset();
  panel_ = ConstraintPanel::Build;
  return Status::success();
}

void ConstraintEditor::cancelValue() {
  if (!chooser_) return;
  chooser_.reset();
  panel_ = ConstraintPanel::Build;
}

Status ConstraintEditor::closeFromValue() {
  if (Status value = acceptValue(); !value) return value;
  if (Status condition = acceptCondition(); !condition) return condition;
  if (conditionsVisible_) return accept();
  return Status::success();
}

void ConstraintEditor::resetBuild() {
  editedLine_.reset();
  dimension_.reset();
  dimensionFixed_ = false;
  comparison_.reset();
  comparedTo_.clear();
  chooser_.reset();
}

void ConstraintEditor::showConditions() {
  panel_ = ConstraintPanel::Conditions;
  conditionsVisible_ = true;
}

int ConstraintEditor::targetLine() const {
  return editedLine_.value_or(static_cast<int>(lines_.size()));
}

}  // namespace tavrel::setup
