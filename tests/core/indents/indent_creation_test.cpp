#include "core/indents/indent_creation.h"

#include <gtest/gtest.h>

#include "core/indents/activation.h"
#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

TEST(IndentCreation, NewIndentsCopyWhatTheDuplicateOptionsTick) {
  SchoolFixture f;
  Uncommitted scratch(f.store());
  const int a = f.addClass("1A");
  const int b = f.addClass("1B");
  const int adams = f.addResource("ADAMS");
  const int baker = f.addResource("BAKER");
  const int maths = f.addSubject("Maths");
  const int art = f.addSubject("Art");
  const int held = makeIndent(f, {.cls = a,
                                  .resource = adams,
                                  .subject = maths,
                                  .count = 6,
                                  .clusterOf = 3,
                                  .onePerDay = true,
                                  .constraint = "(Day in [MONDAY,TUESDAY])",
                                  .days = ",1,2",
                                  .periods = ",3,4,5"});
  const TAlloc current = f.indent(held);
  const TAlloc regular = f.indent(makeIndent(f, {.cls = a, .resource = adams, .subject = maths, .count = 4}));

  struct Case {
    const char* name;
    IndentView view;
    IndentKind kind;
    DuplicateOptions options;
    std::optional<TAlloc> from;
    int cls, resource, subject, count, clusterOf, perWeek;
    bool constraint;
    const char* recess;
  };
  const auto R = IndentKind::Regular;
  const auto C = IndentKind::Cluster;
  const Case cases[] = {
      {"nothing ticked", {'C', b}, R, {}, current, b, 0, 0, 0, 0, 0, false, "Y"},
      {"a new cluster", {'C', b}, C, {}, current, b, 0, 0, 2, 2, 1, false, "Y"},
      {"everything from resource view",
       {'T', baker},
       R,
       {.cls = true,
        .resource = true,
        .subject = true,
        .count = true,
        .constraint = true,
        .recessPermissible = true},
       current,
       a,
       baker,
       maths,
       6,
       0,
       0,
       true,
       "N"},
      {"a cluster like the one in hand",
       {'S', art},
       C,
       {.cls = true, .resource = true, .count = true},
       current,
       a,
       adams,
       art,
       6,
       3,
       2,
       false,
       "Y"},
      {"a cluster counted from a regular indent",
       {'C', b},
       C,
       {.count = true},
       regular,
       b,
       0,
       0,
       2,
       2,
       1,
       false,
       "Y"},
      {"no indent in hand",
       {'C', b},
       R,
       {.resource = true, .count = true},
       std::nullopt,
       b,
       0,
       0,
       0,
       0,
       0,
       false,
       "Y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = f.session().school()->SALLSERIAL;
    const TAlloc made = f.indent(AppndTAlloc(f.session(), c.view, c.kind, c.options, c.from));
    EXPECT_EQ(made.ASERIALNO, before + 1);
    EXPECT_EQ(made.AACTIVE, "N");
    EXPECT_EQ(made.ANOLECALL, 0);
    EXPECT_EQ(std::tie(made.ACLASS, made.ATEACHER, made.ASUBJECT), std::tie(c.cls, c.resource, c.subject));
    EXPECT_EQ(std::tie(made.ANOOFLEC, made.AINCLUSOF, made.ACLUSWEEK),
              std::tie(c.count, c.clusterOf, c.perWeek));
    EXPECT_EQ(made.ARECESS, c.recess);
    if (c.constraint) {
      EXPECT_EQ(std::tie(made.AQUERY, made.ALISTDAY, made.ALISTLEC),
                std::tie(current.AQUERY, current.ALISTDAY, current.ALISTLEC));
    } else {
      EXPECT_EQ(made.AQUERY, "None");
      EXPECT_EQ(made.ALISTDAY, ",1,2,3,4,5,6,7,8,9");
      EXPECT_EQ(made.ALISTLEC, ",1,2,3,4,5,6,7,8,9,10,11,");  // the whole day, cut to the field's width
      EXPECT_EQ(std::tie(made.ASTDAY, made.AENDAY, made.ASTLEC, made.AENLEC), std::make_tuple(1, 9, 1, 12));
    }
  }
}

TEST(IndentCreation, SavingCountsAClusterAndLeavesAnActiveIndentAlone) {
  SchoolFixture f;
  Uncommitted scratch(f.store());
  const int a = f.addClass("1A");
  const int adams = f.addResource("ADAMS");
  const int maths = f.addSubject("Maths");
  TAlloc cluster =
      f.indent(makeIndent(f, {.cls = a, .resource = adams, .subject = maths, .count = 4, .clusterOf = 2}));
  cluster.AINCLUSOF = 4;
  cluster.ACLUSWEEK = 2;
  cluster.ANOOFLEC = 3;
  EXPECT_TRUE(RecPost(f.session(), cluster));
  EXPECT_EQ(f.indent(cluster.ASERIALNO).ANOOFLEC, 8);

  ASSERT_TRUE(MakeActv(f.session(), cluster.ASERIALNO, Interaction::Interactive).activated);
  TAlloc edited = f.indent(cluster.ASERIALNO);
  edited.ACLUSWEEK = 3;
  EXPECT_FALSE(RecPost(f.session(), edited));
  EXPECT_EQ(f.indent(cluster.ASERIALNO).ACLUSWEEK, 2);
  EXPECT_EQ(f.classRecord(a).CLSREQLEC, 8);
}

}  // namespace
}  // namespace tavrel::indents
