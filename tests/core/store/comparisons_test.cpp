#include "core/store/comparisons.h"

#include <gtest/gtest.h>

namespace tavrel::store {
namespace {

struct IifCase {
  int v;
  char op;
  int r;
  bool holds;
};

TEST(IIF, ReturnsTheFirstResultExactlyWhenTheComparisonHolds) {
  const IifCase cases[] = {
      {3, 'E', 3, true},  {3, 'E', 4, false}, {3, 'L', 4, true},   {4, 'L', 4, false}, {5, 'L', 4, false},
      {5, 'G', 4, true},  {4, 'G', 4, false}, {3, 'G', 4, false},  {4, 'A', 4, true},  {3, 'A', 4, true},
      {5, 'A', 4, false}, {4, 'B', 4, true},  {5, 'B', 4, true},   {3, 'B', 4, false}, {-2, 'L', 0, true},
      {4, 'e', 4, false}, {4, 'X', 4, false}, {4, '\0', 4, false},
  };
  for (const IifCase& c : cases) {
    EXPECT_EQ(IIF(c.v, c.op, c.r, 10, 20), c.holds ? 10 : 20) << c.v << ' ' << c.op << ' ' << c.r;
  }
}

TEST(IIFSI, ComparesTheTextWithTheOneCharacterText) {
  EXPECT_EQ(IIFSI("Y", 'E', 'Y', 1, 0), 1);
  EXPECT_EQ(IIFSI("N", 'E', 'Y', 1, 0), 0);
  EXPECT_EQ(IIFSI("YY", 'E', 'Y', 1, 0), 0);
  EXPECT_EQ(IIFSI("", 'E', 'Y', 1, 0), 0);
  EXPECT_EQ(IIFSI("Y", 'L', 'Y', 1, 0), 0);
}

TEST(IIFIC, GivesACharacterForEquality) {
  EXPECT_EQ(IIFIC(999, 'E', 999, 'Y', 'N'), 'Y');
  EXPECT_EQ(IIFIC(0, 'E', 999, 'Y', 'N'), 'N');
  EXPECT_EQ(IIFIC(999, 'G', 0, 'Y', 'N'), 'N');
}

}  // namespace
}  // namespace tavrel::store
