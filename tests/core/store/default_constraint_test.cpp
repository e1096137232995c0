#include "core/store/default_constraint.h"

#include <gtest/gtest.h>

#include "core/store/encoded_lists.h"
#include "tests/support/school_fixture.h"

namespace tavrel::store {
namespace {

TEST(DefaultConstraint, TheWholeWeekOfTheSchool) {
  struct Case {
    int swrkdays;
    int lastPeriod;
    int lastDay;
    const char* periodList;
    const char* dayList;
  };
  const Case cases[] = {
      {912, 12, 9, ",1,2,3,4,5,6,7,8,9,10,11,12", ",1,2,3,4,5,6,7,8,9"},
      {612, 12, 6, ",1,2,3,4,5,6,7,8,9,10,11,12", ",1,2,3,4,5,6"},
      {508, 8, 5, ",1,2,3,4,5,6,7,8", ",1,2,3,4,5"},
      {107, 7, 1, ",1,2,3,4,5,6,7", ",1"},
      {0, 12, 9, ",1,2,3,4,5,6,7,8,9,10,11,12", ",1,2,3,4,5,6,7,8,9"},     // stored before the week frame
      {1513, 12, 9, ",1,2,3,4,5,6,7,8,9,10,11,12", ",1,2,3,4,5,6,7,8,9"},  // outside the grid
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.swrkdays);
    DefaultConstraint expected{"None", 1, c.lastPeriod, 1, c.lastDay, c.periodList, c.dayList};
    EXPECT_EQ(qry_init(c.swrkdays), expected);
  }
}

TEST(DefaultConstraint, WrittenIntoAnIndentAndReadBackFromItsFields) {
  testing::SchoolFixture f;
  TAlloc indent = f.indent(f.addIndent({.cls = f.addClass("1A"),
                                        .resource = f.addResource("ADAMS"),
                                        .subject = f.addSubject("Maths"),
                                        .periods = 4,
                                        .active = false}));
  indent.AQUERY = "Monday only";
  indent.ALISTDAY = ",1";

  AsgnDefault(indent, qry_init(912));
  f.store().table<TAlloc>().update(indent);

  TAlloc stored = f.indent(indent.ASERIALNO);
  EXPECT_EQ(stored.AQUERY, "None");
  EXPECT_EQ(stored.ASTLEC, 1);
  EXPECT_EQ(stored.AENLEC, 12);
  EXPECT_EQ(stored.ASTDAY, 1);
  EXPECT_EQ(stored.AENDAY, 9);
  // The period list of all 12 is cut to the field's 25 characters and still reads as 1 to 12.
  EXPECT_EQ(stored.ALISTLEC.size(), 25u);
  EXPECT_EQ(listMembers(stored.ALISTLEC), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(listMembers(stored.ALISTDAY), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

}  // namespace
}  // namespace tavrel::store
