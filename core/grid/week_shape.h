// Which cells of the fixed 9 × 12 grid belong to the school's week. Every owner has all 108 rows;
// the grid labels and counts only the live ones, and in the school's own grid every cell is live
// because that grid is where the week is set up in the first place.
#pragma once

#include "core/grid/grid_owner.h"

namespace tavrel::grid {

constexpr int kDays = 9;
constexpr int kPeriods = 12;
constexpr int kCells = kDays * kPeriods;

struct WeekShape {
  int days = kDays;
  int periods = kPeriods;
  bool everyCellLive = false;

  // Day d and period p count when d ≤ days and p ≤ periods; period 12 only in a week of exactly
  // 12 periods.
  bool live(int day, int period) const {
    if (everyCellLive) return true;
    if (day < 1 || day > days || period < 1 || period > periods) return false;
    return period != kPeriods || periods == kPeriods;
  }
};

// The shape of the school's week (`SWRKDAYS`) as the grid of an owner of that kind sees it.
WeekShape weekShape(int swrkdays, GridKind kind);

// Position of a cell in day-then-period order, from 0.
constexpr int cellIndex(int day, int period) {
  return (day - 1) * kPeriods + (period - 1);
}

}  // namespace tavrel::grid
