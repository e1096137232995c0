// The categories of the priority letters. The engine allocates indents in letter order (A first,
// Z last); the categories group the letters for the statistics, the run's charts and the choice
// of indents in "Allocate Select".
#pragma once

#include <string>
#include <string_view>

namespace tavrel::store {

// The category of a priority letter: "SPECIFIC" (A-B), "GROUP" (D-K), "PART TIME" (M-P),
// "CLUSTER" (S-V), "ONE PER DAY" (W-X), "CONSTRAINT" (Y), "SIMPLE" (Z); empty for C, L, Q, R and
// anything that is not a capital letter.
std::string Figure_category(char letter);

// The letters that "Allocate Select" picks for a category, as a list such as ",A,B"; empty for a
// name that is not a category.
std::string Figure_prior(std::string_view category);

}  // namespace tavrel::store
