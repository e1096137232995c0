#include "core/grid/availability_grid.h"

#include "core/grid/grid_frame.h"

namespace tavrel::grid {

using namespace store;

AvailabilityGrid::AvailabilityGrid(Session& session, GridOpening opening)
    : session_(session), highlightSerial_(opening.highlightSerial) {
  session_.pendingWindow = 'N';
  open(currentOwner(session_));
  if (grid_ && highlightSerial_) lightUp(showSerial(*grid_, *highlightSerial_));
}

void AvailabilityGrid::open(std::optional<GridOwner> owner) {
  selected_.reset();
  highlight_.reset();
  auto school = session_.school();
  if (!owner || !school) {
    grid_.reset();
    return;
  }
  grid_ = TimetableGrid::read(session_.store(), *school, *owner);
}

void AvailabilityGrid::reload() {
  if (grid_) open(grid_->owner());
}

std::string AvailabilityGrid::caption() const {
  auto kind = grid_ ? grid_->owner().kind : gridKindOfView(session_.viewKind).value_or(GridKind::Class);
  return gridCaption(session_, kind);
}

void AvailabilityGrid::select(LabelPosition label) {
  highlight_.reset();
  if (!grid_ || label.day < 1 || label.day > kDays || label.period < 1 || label.period > kPeriods) return;
  selected_ = label;
}

const GridCell* AvailabilityGrid::selectedCell() const {
  if (!grid_ || !selected_) return nullptr;
  return &grid_->at(selected_->day, selected_->period);
}

int AvailabilityGrid::SelectedCell() const {
  return selected_ ? selectedCellNumber(*selected_) : 0;
}

std::string AvailabilityGrid::SelectedText() const {
  return grid_ && selected_ ? labelText(*grid_, *selected_) : std::string();
}

NamedItem AvailabilityGrid::selectedItem() const {
  return grid_ && selected_ ? namedItem(*grid_, *selected_) : NamedItem{};
}

std::string AvailabilityGrid::foundText() const {
  return highlight_ ? grid::foundText(highlight_->count) : std::string();
}

int AvailabilityGrid::lightUp(Highlight highlight) {
  highlight_ = highlight;
  return highlight_->count;
}

int AvailabilityGrid::showSelected() {
  if (!grid_ || !selected_) return 0;
  return lightUp(grid::showSelected(*grid_, *selected_));
}

int AvailabilityGrid::showFree() {
  return grid_ ? lightUp(grid::showFree(*grid_)) : 0;
}

int AvailabilityGrid::showNotAvailable() {
  return grid_ ? lightUp(grid::showNotAvailable(*grid_)) : 0;
}

int AvailabilityGrid::showPartner(int partnerCode) {
  return grid_ ? lightUp(grid::showPartner(*grid_, partnerCode)) : 0;
}

int AvailabilityGrid::showSubject(int subjectCode) {
  return grid_ ? lightUp(grid::showSubject(*grid_, subjectCode)) : 0;
}

ChangeOutcome AvailabilityGrid::makeNotAvailable() {
  highlight_.reset();
  if (!grid_ || !selected_) return ChangeOutcome::Unchanged;
  const LabelPosition kept = *selected_;
  ChangeOutcome outcome = grid::makeNotAvailable(session_, grid_->owner(), kept.day, kept.period);
  if (outcome == ChangeOutcome::Changed) {
    reload();
    selected_ = kept;
  }
  return outcome;
}

ChangeOutcome AvailabilityGrid::makeAvailable(Confirmation confirmation) {
  highlight_.reset();
  if (!grid_ || !selected_) return ChangeOutcome::Unchanged;
  const LabelPosition kept = *selected_;
  ChangeOutcome outcome = grid::makeAvailable(session_, grid_->owner(), kept.day, kept.period, confirmation);
  if (outcome == ChangeOutcome::Changed) {
    reload();
    selected_ = kept;
  }
  return outcome;
}

bool AvailabilityGrid::weekSetupEnabled() const {
  return grid_ && grid::weekSetupEnabled(*grid_);
}

setup::WeekSetupForm AvailabilityGrid::weekSetupForm() const {
  auto school = session_.school();
  return grid::weekSetupForm(school ? *school : TSchl{},
                             grid_ ? grid_->owner() : GridOwner{GridKind::Class, 0});
}

void AvailabilityGrid::applyWeekSetup(const setup::WeekSetupResult& pattern) {
  highlight_.reset();
  if (!weekSetupEnabled()) return;
  grid::applyWeekSetup(session_, grid_->owner(), pattern);
  reload();
}

void AvailabilityGrid::step(Step step) {
  if (!grid_ || !navigatorEnabled(grid_->owner().kind)) return;
  open(stepOwner(session_, grid_->owner().kind, step));
}

bool AvailabilityGrid::listSelect(int code) {
  if (!grid_ || grid_->owner().kind == GridKind::School) return false;
  const GridOwner chosen{grid_->owner().kind, code};
  if (!selectOwner(session_, chosen)) return false;
  open(chosen);
  return true;
}

bool AvailabilityGrid::toggle() {
  if (!grid_) return false;
  auto other = toggleView(session_, grid_->owner().kind);
  if (!other) return false;
  open(other);
  return true;
}

bool AvailabilityGrid::requestView(ViewRequest request) {
  if (!grid_) return false;
  highlight_.reset();
  return grid::requestView(session_, request, grid_->owner(), selectedCell());
}

}  // namespace tavrel::grid
