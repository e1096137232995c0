#include "core/indents/chart_data.h"

#include <array>

namespace tavrel::indents {

Colour listColour(std::size_t position) {
  static constexpr std::array<Colour, 12> kList = {
      Colour::White,   Colour::Black, Colour::Red,  Colour::Navy, Colour::Maroon, Colour::Yellow,
      Colour::Fuchsia, Colour::Green, Colour::Blue, Colour::Grey, Colour::Lime,   Colour::Purple};
  return kList[position % kList.size()];
}

void addSlice(ChartPage& page, std::string label, int value, Colour colour) {
  if (value > 0) page.slices.push_back({std::move(label), value, colour});
}

}  // namespace tavrel::indents
