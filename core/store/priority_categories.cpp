#include "core/store/priority_categories.h"

#include <array>

namespace tavrel::store {

namespace {

struct Category {
  std::string_view name;
  // The category test takes the closed range first..last, so I and J count as "GROUP" although
  // the letter list that "Allocate Select" picks by omits them.
  char first;
  char last;
  std::string_view letters;
};

constexpr std::array<Category, 7> kCategories = {{
    {"SPECIFIC", 'A', 'B', ",A,B"},
    {"GROUP", 'D', 'K', ",D,E,F,G,H,K"},
    {"PART TIME", 'M', 'P', ",M,N,O,P"},
    {"CLUSTER", 'S', 'V', ",S,T,U,V"},
    {"ONE PER DAY", 'W', 'X', ",W,X"},
    {"CONSTRAINT", 'Y', 'Y', ",Y"},
    {"SIMPLE", 'Z', 'Z', ",Z"},
}};

}  // namespace

std::string Figure_category(char letter) {
  for (const Category& category : kCategories) {
    if (letter >= category.first && letter <= category.last) return std::string(category.name);
  }
  return {};
}

std::string Figure_prior(std::string_view category) {
  for (const Category& candidate : kCategories) {
    if (candidate.name == category) return std::string(candidate.letters);
  }
  return {};
}

}  // namespace tavrel::store
