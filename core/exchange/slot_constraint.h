// The allocation constraint that keeps an indent to a set of slots of the week, when the constraint
// grammar can say it: the slots must be every chosen period on every chosen day.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>

namespace tavrel::exchange {

using SlotSet = std::set<std::pair<int, int>>;  // (day, period)

// The slots a block of `length` periods covers when it may start at any of `starts`: the starts
// whose block fits in the day, and the periods after them.
SlotSet coveredSlots(const SlotSet& starts, int length, int periodsPerDay);

// "None" when the slots are the whole week, the constraint text (one day condition and one period
// condition at most, in the STANDARD week's day names) when they are a set of days times a set of
// periods, and nothing when the grammar cannot say them (or they hold no run of `clusterSize`).
std::optional<std::string> constraintForSlots(const SlotSet& allowed, int days, int periodsPerDay, int clusterSize);

}  // namespace tavrel::exchange
