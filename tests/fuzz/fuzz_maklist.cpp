// Any text, including bytes that are no list at all, must read as an ascending set of distinct
// members 1 to 12, without reading outside the text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/store/encoded_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto members = tavrel::store::listMembers(text);
  int previous = 0;
  for (int member : members) {
    if (member <= previous || member > 12) __builtin_trap();
    previous = member;
  }
  if (tavrel::store::MakList(text).size() != members.size()) __builtin_trap();
  return 0;
}
