// A regular one-per-day indent cannot ask for more periods than the week cycle has days. Instead of
// refusing it outright, activation offers to break it up: the indent keeps one period for every
// day and passive copies take the rest, each again at most one per day.
#pragma once

#include <string>
#include <vector>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

// The question of the break-up for an indent of `count` periods in a cycle of `days` days.
std::string breakUpQuestion(int count, int days);

// Breaks the indent up: its count becomes the days of the cycle and passive copies with the same
// class, resource, subject, one-per-day rule and constraint carry the remaining periods, the last
// copy the remainder. Returns the serials of the copies in order.
std::vector<int> breakUpOnePerDay(store::Session& session, int serial);

}  // namespace tavrel::indents
