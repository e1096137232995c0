// The model behind the "Availability" window (`TF5`): one owner's week as a grid, the selected
// label, the highlight of the Show commands, and every command of the window as one call. The
// window draws the cells, passes the person's choices in and shows what comes back; the questions
// and messages go through the session's prompter.
#pragma once

#include <optional>
#include <string>

#include "core/grid/availability_change.h"
#include "core/grid/cell_search.h"
#include "core/grid/grid_navigation.h"
#include "core/grid/label_selection.h"
#include "core/grid/timetable_grid.h"
#include "core/grid/week_setup_application.h"
#include "core/setup/week_setup.h"
#include "core/store/session.h"

namespace tavrel::grid {

// What the opening window asks for: the indent window shows where an indent was placed.
struct GridOpening {
  std::optional<int> highlightSerial;
};

class AvailabilityGrid {
 public:
  // Opens on the owner of the session's view kind ("C", "T" or "L"). The window is shown, so the
  // pending-window code goes back to "N".
  explicit AvailabilityGrid(store::Session& session, GridOpening opening = {});

  bool hasOwner() const { return grid_.has_value(); }
  const TimetableGrid& grid() const { return *grid_; }
  GridOwner owner() const { return grid_->owner(); }
  std::string caption() const;

  // Reads the owner's rows again; the selection and any highlight go.
  void reload();

  // ---- Selection -----------------------------------------------------------------------------
  void select(LabelPosition label);  // clears the highlight
  const std::optional<LabelPosition>& selected() const { return selected_; }
  int SelectedCell() const;  // 1..216 (see label_selection.h), 0 while nothing is selected
  int SelectedDay() const { return selected_ ? selected_->day : 0; }
  int SelectedPeriod() const { return selected_ ? selected_->period : 0; }
  std::string SelectedText() const;
  NamedItem selectedItem() const;
  // The indent the opening window asked to show, if any.
  const std::optional<int>& HighlightSerial() const { return highlightSerial_; }

  // ---- Show commands: each returns the number found, shown by `foundText` until "O&k" -----------
  const std::optional<Highlight>& highlight() const { return highlight_; }
  std::string foundText() const;  // empty while the toolbar is shown
  void ok() { highlight_.reset(); }
  int showSelected();
  int showFree();
  int showNotAvailable();
  int showPartner(int partnerCode);
  int showSubject(int subjectCode);

  // ---- Availability of the selected cell -------------------------------------------------------
  ChangeOutcome makeNotAvailable();
  ChangeOutcome makeAvailable(Confirmation confirmation = Confirmation::Ask);

  bool weekSetupEnabled() const;
  setup::WeekSetupForm weekSetupForm() const;
  void applyWeekSetup(const setup::WeekSetupResult& pattern);

  // ---- Other owners and other windows ----------------------------------------------------------
  void step(store::Step step);
  bool listSelect(int code);
  bool toggle();
  // True when the window is to close and leave the request to the main window.
  bool requestView(ViewRequest request);

 private:
  int lightUp(Highlight highlight);
  void open(std::optional<GridOwner> owner);
  const GridCell* selectedCell() const;

  store::Session& session_;
  std::optional<TimetableGrid> grid_;
  std::optional<LabelPosition> selected_;
  std::optional<Highlight> highlight_;
  std::optional<int> highlightSerial_;
};

}  // namespace tavrel::grid
