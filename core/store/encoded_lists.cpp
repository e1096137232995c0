#include "core/store/encoded_lists.h"

namespace tavrel::store {

namespace {

constexpr int kLargestMember = 12;

bool firstOccurrenceStartsAt(std::string_view text, std::string_view part, std::size_t position) {
  return text.find(part) == position;
}

// Membership is decided by the first occurrence of the member's digits, which is exact for an
// ascending list except where a shorter number hides inside a longer one: the "1" of the first
// "10", "11" or "12", and the "2" that ends the first "12". A lone "2" at the very start is a real
// member even without any "12" in the text.
bool isMember(std::string_view list, int n) {
  const std::size_t first = list.find(std::to_string(n));
  if (first == std::string_view::npos) return false;
  if (n == 1)
    return !firstOccurrenceStartsAt(list, "10", first) && !firstOccurrenceStartsAt(list, "11", first) &&
           !firstOccurrenceStartsAt(list, "12", first);
  if (n == 2) {
    const std::size_t twelve = list.find("12");
    return twelve == std::string_view::npos || first != twelve + 1;
  }
  return true;
}

}  // namespace

std::string BldNoStr(int n) {
  std::string list;
  for (int member = 1; member <= n; ++member) list += "," + std::to_string(member);
  return list;
}

std::vector<std::string> MakList(std::string_view list) {
  std::string text(list);
  // A full period list stored in a 25-character field ends with the comma before its lost 12.
  if (!text.empty() && text.back() == ',') text += std::to_string(kLargestMember);
  std::vector<std::string> members;
  for (int n = 1; n <= kLargestMember; ++n) {
    if (isMember(text, n)) members.push_back(std::to_string(n));
  }
  return members;
}

std::vector<int> listMembers(std::string_view list) {
  std::vector<int> members;
  for (const std::string& member : MakList(list)) members.push_back(std::stoi(member));
  return members;
}

}  // namespace tavrel::store
