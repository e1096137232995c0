// The model behind the "Constraint" window (`TF7`): the list of at most two conditions (panel 1,
// "A&rrange such that:"), the condition being built (panel 2, "Build Constraint:") and the value
// chooser (panel 3, "Compared to:"). The window shows the state and calls one command per button;
// every refusal comes back as a message and leaves the state as it was. Nothing reaches the caller
// until "O&k(1)" succeeds: then `closed()` is true and `outcome()` holds the derived values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/setup/constraint_derivation.h"
#include "core/setup/constraint_text.h"
#include "core/setup/constraint_value_chooser.h"
#include "core/util/result.h"

namespace tavrel::setup {

enum class ConstraintUse { Allocation, Proxy };

// The window's caption: school name + " - Allocation Constraint" or " - Proxy Constraint".
std::string constraintCaption(std::string_view schoolName, ConstraintUse use);

enum class ConstraintPanel { Conditions, Build, Value };

inline constexpr std::string_view kNoDimensionChosen =
    "No selection made in \"Day/Period\" combo box. Select first to proceed.";
inline constexpr std::string_view kNoComparisonChosen =
    "No selection made in \"Comparison\" combo box. Select first to proceed.";
// A command of panel 2 or 3 while that panel is not in front: the window never offers one, and the
// state stays as it is.
inline constexpr std::string_view kPanelNotOpen = "This part of the \"Constraint\" window is not open.";

class ConstraintEditor {
 public:
  // Opens on a stored text (`AQUERY`, or "None"), for an indent with cluster blocks of
  // `clusterSize` periods (0 from the proxy window), in the school's week.
  ConstraintEditor(std::string_view storedText, int clusterSize, ConstraintWeek week);

  // The panel in front. Panel 1 is hidden when the window opens on no condition, and shown for
  // good once a condition is accepted or the building of one is cancelled.
  ConstraintPanel panel() const { return panel_; }
  bool conditionsVisible() const { return conditionsVisible_; }
  const ConstraintWeek& week() const { return week_; }

  // ---- Panel 1: the conditions ----------------------------------------------------------------
  const std::vector<std::string>& conditionLines() const { return lines_; }
  std::optional<int> selectedLine() const { return selected_; }
  void selectLine(int index);

  bool canAppend() const;
  bool canEdit() const;
  bool canDelete() const;
  // "&Append", "&Edit", "&Delete": false, and nothing changes, when the button is disabled.
  bool append();
  bool edit();
  bool remove();
  // "O&k(1)": derive the values from the listed conditions and close.
  Status accept();
  // "&Cancel(1)": close, values unchanged.
  void cancel();

  bool closed() const { return closed_; }
  const std::optional<ConstraintValues>& outcome() const { return outcome_; }

  // ---- Panel 2: the condition being built -----------------------------------------------------
  static std::vector<std::string_view> dimensionChoices();
  static std::vector<std::string_view> comparisonChoices();
  // A second condition shows the fixed text "And" "and where" before its dimension.
  bool buildsSecondCondition() const;
  // The dimension cannot be changed: it is the one the other condition does not use.
  bool dimensionFixed() const { return dimensionFixed_; }
  std::optional<Dimension> dimension() const { return dimension_; }
  std::optional<Comparison> comparison() const { return comparison_; }
  const std::string& comparedTo() const { return comparedTo_; }
  // Ignored unless panel 2 is in front (and, for the dimension, while it is fixed).
  void chooseDimension(Dimension dimension);
  void chooseComparison(Comparison comparison);

  // The button beside "Compared to:": opens panel 3 for the chosen dimension and comparison.
  Status openValueChooser();
  // "&Ok(2)": accept the condition into the list.
  Status acceptCondition();
  // "Ca&ncel(2)".
  void cancelCondition();
  // "C&lose(1)": "&Ok(2)", then "O&k(1)".
  Status closeFromBuild();

  // ---- Panel 3: the value chooser ---------------------------------------------------------------
  ConstraintValueChooser* valueChooser() { return chooser_ ? &*chooser_ : nullptr; }
  // "Ok(&3)": the chosen value becomes the "Compared to:" text.
  Status acceptValue();
  // "Cancel(&3)".
  void cancelValue();
  // "Clo&se(2)": "Ok(&3)", then "&Ok(2)", then, with panel 1 visible, "O&k(1)".
  Status closeFromValue();

 private:
  void resetBuild();
  void showConditions();
  int targetLine() const;

  ConstraintWeek week_;
  int clusterSize_;
  std::vector<std::string> lines_;
  std::optional<int> selected_;
  ConstraintPanel panel_ = ConstraintPanel::Conditions;
  bool conditionsVisible_ = true;

  std::optional<int> editedLine_;  // the line "&Edit" opened; none while appending
  std::optional<Dimension> dimension_;
  bool dimensionFixed_ = false;
  std::optional<Comparison> comparison_;
  std::string comparedTo_;
  std::optional<ConstraintValueChooser> chooser_;

  bool closed_ = false;
  std::optional<ConstraintValues> outcome_;
};

}  // namespace tavrel::setup
