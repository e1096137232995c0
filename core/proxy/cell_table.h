// The cell table of the proxy window: the absent item's week as 108 cells, day 1..9 by period
// 1..12, each to proxy, free, not available or ignored, with the indent it holds. For Proxy the
// cells are the absent item's own; for Undo Proxy they are the cells of its substitutes that hold
// its proxy indents, laid over the absent item's week.
//
// A member of a group class or group resource also holds the group's periods. Such a period is the
// group's lesson, with the group's partner and the other members: it cannot be moved for the member
// alone, and freeing only the member's row would leave the group, the partner and the other members
// holding a lesson the member's freed cell could be booked into twice. Those cells are therefore
// shown ignored and cannot be ticked; the group itself is the item to proxy for them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/proxy/proxy_item.h"

namespace tavrel::proxy {

enum class CellState { ToProxy, Free, NotAvailable, Ignored };

struct ProxyCell {
  CellState state = CellState::NotAvailable;
  int serial = 0;        // the indent in the cell; 0 when none
  std::string priority;  // its priority letter; empty when none
  int owner = 0;         // whose row holds the period: the absent item, or for Undo its substitute
  int subject = 0;
  int partner = 0;
  int group = 0;     // Proxy: the group of the absent item whose period this is (never proxied alone)
  std::string date;  // Undo: the day the proxy was made (`PXDATE`)
};

// A cell that holds a period, with its place in the week.
struct PlacedCell {
  int day = 0;
  int period = 0;
  ProxyCell cell;
};

enum class PeriodFilterKind { All, Subject, Partner };  // "&All", "&Subject", "&Class"/"&Resource"

struct CellSelection {
  PeriodFilterKind filter = PeriodFilterKind::All;
  int picked = 0;  // the subject or partner picked for the filter
  // "Apply Constraint": the day and period lists of the proxy constraint (encoded lists); none when
  // the constraint window returned "None".
  std::optional<std::string> constraintDays;
  std::optional<std::string> constraintPeriods;
};

// "<member> takes this period as a member of the group <group>. Proxy <group> to move it."
std::string groupPeriodMessage(const std::string& member, const std::string& group);

class CellTable {
 public:
  static constexpr int kCells = 108;

  // Walks the item's timetable rows (Proxy) or its proxy records and the substitutes' rows (Undo).
  static CellTable build(store::Store& store, int school, Operation operation, ItemKind kind, int item,
                         const CellSelection& selection = {});

  Operation operation() const { return operation_; }
  ItemKind kind() const { return kind_; }
  int item() const { return item_; }

  static int indexOf(int day, int period) { return (day - 1) * 12 + (period - 1); }
  const ProxyCell& at(int day, int period) const {
    return cells_.at(static_cast<std::size_t>(indexOf(day, period)));
  }
  const std::array<ProxyCell, kCells>& cells() const { return cells_; }

  // Every cell to proxy or ignored, in cell order. For Undo Proxy two proxy periods of different
  // substitutes can lie at the same day and period: the grid shows the first, and both are here.
  std::vector<PlacedCell> periodCells() const;

  int toProxy() const;  // "To Proxy: " / "To Undo: "
  int ignored() const;  // "To Ignore: "

  // The check box "Proxy" ("Undo Proxy"): flips a cell (every period at it) between to proxy and
  // ignored. A group's period
  // in a member's week is refused with `groupPeriodMessage` (error). False when nothing changed.
  bool toggle(store::Session& session, int day, int period);

  // Leaving the periods panel: "No periods selected. Ensure at least one selection." (error) when no
  // cell is to proxy.
  bool confirmSelection(store::Session& session) const;

 private:
  CellTable(Operation operation, ItemKind kind, int item) : operation_(operation), kind_(kind), item_(item) {}
  void buildProxy(store::Store& store, int school, const CellSelection& selection);
  void buildUndo(store::Store& store, int school, const CellSelection& selection);
  int count(CellState state) const;

  Operation operation_;
  ItemKind kind_;
  int item_;
  std::array<ProxyCell, kCells> cells_{};
  std::vector<PlacedCell> stacked_;  // Undo: further proxy periods at a cell already taken
};

inline constexpr const char* kNoPeriodsSelected = "No periods selected. Ensure at least one selection.";

}  // namespace tavrel::proxy
