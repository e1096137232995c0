#include "core/util/text.h"

namespace tavrel::text {

namespace {
bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::string cutToWidth(std::string_view text, int width) {
  if (width <= 0) return {};
  int characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isContinuationByte(static_cast<unsigned char>(text[i]))) {
      if (characters == width) return std::string(text.substr(0, i));
      ++characters;
    }
  }
  return std::string(text);
}

int characterCount(std::string_view text) {
  int characters = 0;
  for (char c : text) {
    if (!isContinuationByte(static_cast<unsigned char>(c))) ++characters;
  }
  return characters;
}

}  // namespace tavrel::text
