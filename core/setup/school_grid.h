// The institution view's grid of nine school slots: which school each slot shows and whether its
// details are being edited. Loading fills the slots in name order; a new school takes the first
// empty slot and a deleted one closes its gap from below, so the grid comes back to name order
// only at the next load. The person's eye follows the school they just made or removed.
#pragma once

#include <array>
#include <optional>

#include "core/store/store.h"

namespace tavrel::setup {

enum class SlotState { Empty = 0, School = 1, Editing = 2 };

struct SchoolSlot {
  SlotState state = SlotState::Empty;
  int code = 0;
};

class SchoolGrid {
 public:
  static constexpr int kSlots = 9;

  // `LoadGrid`: every school in name order from slot 0; the rest empty.
  void load(store::Store& store);

  const SchoolSlot& slot(int row) const { return slots_.at(static_cast<std::size_t>(row)); }
  std::optional<int> schoolAt(int row) const;
  std::optional<int> rowOf(int schoolCode) const;
  std::optional<int> firstEmpty() const;
  int schools() const;

  void place(int row, int schoolCode);
  // `MarkGBMP` and `UnMarkGBMP`: the slot whose details are being edited, and back.
  void markEditing(int row);
  void unmark(int row);
  // After the school of the row was deleted: every slot below moves up one.
  void closeGap(int row);

  // Choosing a school by name from a list only makes sense with two schools to choose from.
  bool listSelectEnabled() const { return schools() >= 2; }

 private:
  std::array<SchoolSlot, kSlots> slots_{};
};

}  // namespace tavrel::setup
