// What the statistics windows chart, as plain data: pages with their title lines and their
// slices (pie) or bars, each with its label, value and colour. The windows only draw it.
#pragma once

#include <string>
#include <vector>

namespace tavrel::indents {

enum class Colour { White, Black, Red, Navy, Maroon, Yellow, Fuchsia, Green, Blue, Grey, Lime, Purple };

// Charts with one slice or bar per name colour them by position from a repeating list of twelve.
Colour listColour(std::size_t position);

struct Slice {
  std::string label;
  int value = 0;
  Colour colour = Colour::White;

  bool operator==(const Slice&) const = default;
};

struct ChartPage {
  std::string caption;              // the page's tab
  std::vector<std::string> title;   // the chart's title lines, first to last
  std::vector<Slice> slices;        // slices of a pie, or bars of a bar chart
  std::vector<std::string> advice;  // lines of the advice panel under the chart, if any
};

// Adds the slice when its value is above 0: an empty slice says nothing.
void addSlice(ChartPage& page, std::string label, int value, Colour colour);

}  // namespace tavrel::indents
