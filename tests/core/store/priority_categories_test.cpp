#include "core/store/priority_categories.h"

#include <gtest/gtest.h>

#include <map>

namespace tavrel::store {
namespace {

TEST(Figure_category, EveryCapitalLetterFallsInItsClosedRange) {
  const std::map<char, std::string> expected = {
      {'A', "SPECIFIC"},   {'B', "SPECIFIC"},  {'D', "GROUP"},     {'E', "GROUP"},       {'F', "GROUP"},
      {'G', "GROUP"},      {'H', "GROUP"},     {'I', "GROUP"},     {'J', "GROUP"},       {'K', "GROUP"},
      {'M', "PART TIME"},  {'N', "PART TIME"}, {'O', "PART TIME"}, {'P', "PART TIME"},   {'S', "CLUSTER"},
      {'T', "CLUSTER"},    {'U', "CLUSTER"},   {'V', "CLUSTER"},   {'W', "ONE PER DAY"}, {'X', "ONE PER DAY"},
      {'Y', "CONSTRAINT"}, {'Z', "SIMPLE"}};
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    auto it = expected.find(letter);
    EXPECT_EQ(Figure_category(letter), it == expected.end() ? "" : it->second) << letter;
  }
}

TEST(Figure_category, AnythingButACapitalLetterHasNoCategory) {
  for (char other : {'a', 'i', 'z', '@', '[', '0', ' ', '\0'})
    EXPECT_EQ(Figure_category(other), "") << int(other);
}

TEST(Figure_prior, GivesTheLetterListOfEachCategory) {
  EXPECT_EQ(Figure_prior("SPECIFIC"), ",A,B");
  EXPECT_EQ(Figure_prior("GROUP"), ",D,E,F,G,H,K");
  EXPECT_EQ(Figure_prior("PART TIME"), ",M,N,O,P");
  EXPECT_EQ(Figure_prior("CLUSTER"), ",S,T,U,V");
  EXPECT_EQ(Figure_prior("ONE PER DAY"), ",W,X");
  EXPECT_EQ(Figure_prior("CONSTRAINT"), ",Y");
  EXPECT_EQ(Figure_prior("SIMPLE"), ",Z");
  for (std::string_view other : {"", "group", "Simple", "SIMPLE ", "PARTTIME"})
    EXPECT_EQ(Figure_prior(other), "") << other;
}

TEST(Figure_prior, EveryListedLetterBelongsToItsCategory) {
  for (std::string_view category :
       {"SPECIFIC", "GROUP", "PART TIME", "CLUSTER", "ONE PER DAY", "CONSTRAINT", "SIMPLE"}) {
    const std::string letters = Figure_prior(category);
    for (std::size_t i = 1; i < letters.size(); i += 2) {
      EXPECT_EQ(letters[i - 1], ',');
      EXPECT_EQ(Figure_category(letters[i]), category) << letters[i];
    }
  }
}

}  // namespace
}  // namespace tavrel::store
