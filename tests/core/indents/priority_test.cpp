#include "core/indents/priority.h"

#include <gtest/gtest.h>

#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

struct Items {
  SchoolFixture f{{.swrkdays = 508}};
  Uncommitted scratch{f.store()};
  int cls = f.addClass("1A");
  int other = f.addClass("1B");
  int group = f.addClass("1A+1B", {cls, other});
  int plain = f.addResource("ADAMS");
  int partTime = f.addResource("BAKER");
  int team = f.addResource("TEAM", {plain});
  int maths = f.addSubject("Maths");

  Items() {
    store::TTeac row = f.resourceRecord(partTime);
    row.TPARTTIME = "Y";
    f.store().table<store::TTeac>().update(row);
  }
};

enum Flag {
  None = 0,
  Constraint = 1,
  ClassGroup = 2,
  ResourceGroup = 4,
  PartTime = 8,
  NoRecess = 16,
  Cluster = 32
};

TAlloc indentWith(Items& s, int flags, int count = 4) {
  IndentSpec spec{.cls = flags & ClassGroup ? s.group : s.cls,
                  .resource = flags & ResourceGroup ? s.team
                              : flags & PartTime    ? s.partTime
                                                    : s.plain,
                  .subject = s.maths,
                  .count = count,
                  .clusterOf = flags & Cluster ? 2 : 0,
                  .onePerDay = (flags & NoRecess) != 0};
  if (flags & Constraint) {
    spec.constraint = "(Period in [1,2,3,4,5,6,7,8])";
    spec.days = ",1,2,3,4,5";
    spec.periods = ",1,2,3,4,5,6,7,8";
  }
  return s.f.indent(makeIndent(s.f, spec));
}

TEST(Priority, LetterFromTheKindOfIndentAndWhatMakesItHard) {
  struct Case {
    int flags;
    char letter;
  };
  const Case cases[] = {
      {Constraint | ClassGroup, 'H'},
      {Constraint | PartTime, 'O'},
      {Constraint, 'Y'},
      {ResourceGroup, 'K'},
      {PartTime, 'P'},
      {None, 'Z'},
      // Regular one-per-day indents.
      {NoRecess, 'X'},
      {NoRecess | Constraint, 'W'},
      {NoRecess | Constraint | ResourceGroup, 'F'},
      {NoRecess | ClassGroup, 'G'},
      {NoRecess | PartTime, 'P'},
      // Clusters.
      {Cluster | Constraint | ClassGroup, 'D'},
      {Cluster | Constraint | PartTime, 'M'},
      {Cluster | Constraint | NoRecess, 'S'},
      {Cluster | Constraint, 'U'},
      {Cluster | ResourceGroup, 'E'},
      {Cluster | PartTime, 'N'},
      {Cluster | NoRecess, 'T'},
      {Cluster, 'V'},
  };
  Items s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(FigurePrior(s.f.store(), indentWith(s, c.flags)), c.letter);
  }
}

TEST(Priority, AConstraintWithNoSpareSlotMakesTheIndentSpecific) {
  Items s;
  IndentSpec spec{.cls = s.cls, .resource = s.plain, .subject = s.maths, .count = 4};
  spec.constraint = "(Day in [MONDAY,TUESDAY]) and (Period in [1,2])";
  spec.days = ",1,2";
  spec.periods = ",1,2";
  TAlloc indent = s.f.indent(makeIndent(s.f, spec));
  EXPECT_EQ(FigurePrior(s.f.store(), indent), 'A');  // 4 usable slots for 4 periods
  indent.ANOOFLEC = 3;
  EXPECT_EQ(FigurePrior(s.f.store(), indent), 'Y');
  // The resource's own availability counts as well.
  closeSlot(s.f, 'T', s.plain, 1, 1);
  EXPECT_EQ(FigurePrior(s.f.store(), indent), 'A');
  indent.ARECESS = "N";  // a specific indent stays specific when it is one per day
  EXPECT_EQ(FigurePrior(s.f.store(), indent), 'A');
}

TEST(Priority, PinKindCountsTheListedItems) {
  struct Case {
    int clusterOf;
    const char* days;
    const char* periods;
    PinKind pin;
  };
  const Case cases[] = {
      {0, ",1,2,3", ",3", PinKind::ByPeriods},
      {2, ",1,2,3", ",3,4", PinKind::ByPeriods},
      {3, ",1,2,3", ",3,4", PinKind::Free},
      {0, ",2", ",1,2", PinKind::ByDay},
      {0, ",2,4", ",1,2", PinKind::Free},
      {12, ",1", ",1,2,3,4,5,6,7,8,9,10,11,", PinKind::ByPeriods},  // the full list as the field holds it
  };
  for (const Case& c : cases) {
    TAlloc indent;
    indent.AINCLUSOF = c.clusterOf;
    indent.AQUERY = "(constraint)";
    indent.ALISTDAY = c.days;
    indent.ALISTLEC = c.periods;
    EXPECT_EQ(FigureOnlyOne(indent), c.pin) << c.days << " " << c.periods;
  }
  TAlloc unconstrained;
  unconstrained.AQUERY = "None";
  unconstrained.ALISTLEC = ",3";
  EXPECT_EQ(pinKindOf(unconstrained), PinKind::Free);
}

TEST(Priority, TypeCodeOfTheGridCell) {
  struct Case {
    int flags;
    char view;
    bool proxy;
    int code;
  };
  const Case cases[] = {
      {None, 'C', false, 1},
      {Constraint, 'C', false, 2},
      {NoRecess, 'C', false, 5},
      {Cluster, 'C', false, 9},
      {Cluster | NoRecess, 'C', false, 13},
      {ResourceGroup, 'C', false, 3},
      {ResourceGroup, 'T', false, 1},
      {ResourceGroup, 'S', false, 3},
      {ClassGroup, 'C', false, 1},
      {ClassGroup, 'T', false, 3},
      {None, 'C', true, 51},
      {Constraint | ResourceGroup | NoRecess | Cluster, 'C', true, 66},
  };
  Items s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    TAlloc indent = indentWith(s, c.flags);
    if (c.proxy) markProxy(s.f, indent.ASERIALNO);
    EXPECT_EQ(FigureTyp(s.f.store(), indent, c.view), c.code);
  }
}

}  // namespace
}  // namespace tavrel::indents
