#include "core/setup/school_grid.h"

namespace tavrel::setup {

using namespace store;

void SchoolGrid::load(Store& store) {
  slots_.fill({});
  std::size_t row = 0;
  for (const TSchl& school : store.table<TSchl>().range(TSchl::primary)) {
    if (row >= slots_.size()) break;
    slots_[row++] = {SlotState::School, school.SCHOOLCODE};
  }
}

std::optional<int> SchoolGrid::schoolAt(int row) const {
  if (row < 0 || row >= kSlots) return std::nullopt;
  const SchoolSlot& s = slot(row);
  if (s.state == SlotState::Empty) return std::nullopt;
  return s.code;
}

std::optional<int> SchoolGrid::rowOf(int schoolCode) const {
  for (int row = 0; row < kSlots; ++row) {
    if (schoolAt(row) == schoolCode) return row;
  }
  return std::nullopt;
}

std::optional<int> SchoolGrid::firstEmpty() const {
  for (int row = 0; row < kSlots; ++row) {
    if (slot(row).state == SlotState::Empty) return row;
  }
  return std::nullopt;
}

int SchoolGrid::schools() const {
  int filled = 0;
  for (const SchoolSlot& s : slots_) filled += s.state == SlotState::Empty ? 0 : 1;
  return filled;
}

void SchoolGrid::place(int row, int schoolCode) {
  slots_.at(static_cast<std::size_t>(row)) = {SlotState::School, schoolCode};
}

void SchoolGrid::markEditing(int row) {
  SchoolSlot& s = slots_.at(static_cast<std::size_t>(row));
  if (s.state != SlotState::Empty) s.state = SlotState::Editing;
}

void SchoolGrid::unmark(int row) {
  SchoolSlot& s = slots_.at(static_cast<std::size_t>(row));
  if (s.state == SlotState::Editing) s.state = SlotState::School;
}

void SchoolGrid::closeGap(int row) {
  for (std::size_t r = static_cast<std::size_t>(row); r + 1 < slots_.size(); ++r) slots_[r] = slots_[r + 1];
  slots_.back() = {};
}

}  // namespace tavrel::setup
