#include "core/indents/validation.h"

#include <gtest/gtest.h>

#include "core/indents/activation.h"
#include "core/indents/deactivation.h"
#include "core/indents/priority.h"
#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::OwnerKind;
using store::TAlloc;
using testing::SchoolFixture;

// A five-day week of eight periods, a class, two resources and two subjects.
struct Week5 {
  SchoolFixture f{{.swrkdays = 508}};
  Uncommitted scratch{f.store()};
  int cls = f.addClass("1A");
  int adams = f.addResource("ADAMS");
  int baker = f.addResource("BAKER");
  int maths = f.addSubject("Maths");
  int art = f.addSubject("Art");

  IndentSpec spec(int count) const {
    return {.cls = cls, .resource = adams, .subject = maths, .count = count};
  }
};

TEST(Validate, RefusesAnIncompleteOrMisfittingIndentAndPointsToTheField) {
  struct Case {
    const char* name;
    IndentSpec (*make)(const Week5&);
    FailureKind kind;
    const char* message;
  };
  const Case cases[] = {
      {"no class",
       [](const Week5& w) { return IndentSpec{.resource = w.adams, .subject = w.maths, .count = 2}; },
       FailureKind::Class, "Indent incomplete.Class missing."},
      {"no resource", [](const Week5& w) { return IndentSpec{.cls = w.cls, .subject = w.maths, .count = 2}; },
       FailureKind::Resource, "Indent incomplete.Resource missing."},
      {"no subject", [](const Week5& w) { return IndentSpec{.cls = w.cls, .resource = w.adams, .count = 2}; },
       FailureKind::Subject, "Indent incomplete.Subject missing."},
      {"no count", [](const Week5& w) { return w.spec(0); }, FailureKind::Count,
       "Indent incomplete.Period count missing."},
      {"a constraint on period 9 of an 8-period day",
       [](const Week5& w) {
         IndentSpec s = w.spec(2);
         s.constraint = "(Period in [9])";
         s.days = ",1,2,3,4,5";
         s.periods = ",9";
         return s;
       },
       FailureKind::Constraint,
       "Constraint violates the School Availability. Please reselect the constraint."},
      {"a cluster of 3 without three periods in a row",
       [](const Week5& w) {
         IndentSpec s = w.spec(3);
         s.clusterOf = 3;
         s.constraint = "(Period in [2,3,5,6])";
         s.days = ",1,2,3,4,5";
         s.periods = ",2,3,5,6";
         return s;
       },
       FailureKind::Constraint,
       "Period constraint selection inconsistent with the number of periods in the cluster."},
  };
  Week5 w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store::Transaction undo(w.f.store());
    const int serial = makeIndent(w.f, c.make(w));
    w.f.prompter().expectMessage(MessageKind::Error, c.message);
    const ValidationResult result = Validate(w.f.session(), serial, Interaction::Interactive);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure, c.kind);
    // Silent mode decides the same without a word.
    const ValidationResult silent = Validate(w.f.session(), serial, Interaction::Silent);
    EXPECT_FALSE(silent.ok);
    EXPECT_EQ(silent.failure, c.kind);
  }
}

TEST(Validate, AnIndentWithoutConstraintTakesTheWholeWeekAgain) {
  Week5 w;
  const int serial = makeIndent(w.f, w.spec(2));
  TAlloc stale = w.f.indent(serial);
  stale.ALISTLEC = ",1,2,3,4,5,6,7,8,9,10,11,";  // saved when the day had twelve periods
  stale.ALISTDAY = ",1,2,3,4,5,6,7,8,9";
  w.f.store().table<TAlloc>().update(stale);

  EXPECT_TRUE(Validate(w.f.session(), serial, Interaction::Interactive).ok);
  const TAlloc indent = w.f.indent(serial);
  EXPECT_EQ(indent.ALISTLEC, ",1,2,3,4,5,6,7,8");
  EXPECT_EQ(indent.ALISTDAY, ",1,2,3,4,5");
  EXPECT_EQ(indent.AENLEC, 8);
  EXPECT_EQ(indent.AENDAY, 5);
  EXPECT_EQ(indent.APRIORITY, "Z");
}

TEST(Validate, AClusterWithThreePeriodsInARowIsPinnedToThem) {
  Week5 w;
  IndentSpec s = w.spec(3);
  s.clusterOf = 3;
  s.constraint = "(Period in [2,3,4])";
  s.days = ",1,2,3,4,5";
  s.periods = ",2,3,4";
  const int serial = makeIndent(w.f, s);
  EXPECT_TRUE(Validate(w.f.session(), serial, Interaction::Interactive).ok);
  EXPECT_EQ(FigureOnlyOne(w.f.indent(serial)), PinKind::ByPeriods);
}

TEST(Validate, CapacityOfTheClassTheResourceAndTheirMembers) {
  Week5 w;
  store::TClas cls = w.f.classRecord(w.cls);
  cls.CLSTOTLEC = 30;
  cls.CLSREQLEC = 25;
  cls.CLSREQMLT = 3;
  w.f.store().table<store::TClas>().update(cls);
  const int three = makeIndent(w.f, w.spec(3));
  const int two = makeIndent(w.f, w.spec(2));

  w.f.prompter().expectQuestion(
      MessageKind::Information,
      "1A:Indented periods exceed available periods. Select Yes to examine 1A statistics.", true);
  ValidationResult refused = Validate(w.f.session(), three, Interaction::Interactive);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.failure, FailureKind::None);
  ASSERT_TRUE(refused.examine.has_value());
  EXPECT_EQ(refused.examine->kind, OwnerKind::Class);
  EXPECT_EQ(refused.examine->code, w.cls);
  EXPECT_FALSE(Validate(w.f.session(), three, Interaction::Silent).ok);
  EXPECT_TRUE(Validate(w.f.session(), two, Interaction::Interactive).ok);

  // The resource is held to its weekly limit; a "No" asks for nothing more.
  store::TTeac adams = w.f.resourceRecord(w.adams);
  adams.TMAXLECWK = 1;
  w.f.store().table<store::TTeac>().update(adams);
  w.f.prompter().expectQuestion(
      MessageKind::Information,
      "ADAMS:Indented periods exceed maximum. Select Yes to examine ADAMS statistics", false);
  ValidationResult resourceFull = Validate(w.f.session(), two, Interaction::Interactive);
  EXPECT_FALSE(resourceFull.ok);
  EXPECT_FALSE(resourceFull.examine.has_value());

  // A group class passes only when each member has room too.
  const int c1 = w.f.addClass("1B");
  const int group = w.f.addClass("1A+1B", {w.cls, c1});
  IndentSpec g = w.spec(3);
  g.cls = group;
  g.resource = w.baker;
  const int groupIndent = makeIndent(w.f, g);
  w.f.prompter().expectQuestion(
      MessageKind::Information,
      "1A:Indented periods exceed available periods. Select Yes to examine 1A statistics.", false);
  EXPECT_FALSE(Validate(w.f.session(), groupIndent, Interaction::Interactive).ok);
}

TEST(Validate, ASpecificIndentNeedsItsSlots) {
  Week5 w;
  closeSlot(w.f, 'C', w.cls, 1, 2);
  IndentSpec s = w.spec(2);
  s.constraint = "(Day in [MONDAY]) and (Period in [1,2])";
  s.days = ",1";
  s.periods = ",1,2";
  const int serial = makeIndent(w.f, s);
  w.f.prompter().expectMessage(MessageKind::Information,
                               "Cannot activate this indent. Period 2 is not available for 1A on Monday.");
  EXPECT_FALSE(Validate(w.f.session(), serial, Interaction::Interactive).ok);
  EXPECT_EQ(w.f.indent(serial).APRIORITY, "A");  // one usable slot for two periods
}

TEST(Validate, OnePerDayIndentLongerThanTheCycleMayBeBrokenUp) {
  struct Case {
    int count;
    bool yes;
    int keeps;
    std::vector<int> copies;
  };
  const Case cases[] = {{7, true, 5, {2}}, {10, true, 5, {5}}, {12, true, 5, {5, 2}}, {7, false, 7, {}}};
  Week5 w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    store::Transaction undo(w.f.store());
    IndentSpec s = w.spec(c.count);
    s.onePerDay = true;
    const int serial = makeIndent(w.f, s);
    w.f.prompter().expectQuestion(MessageKind::Information,
                                  std::to_string(c.count) +
                                      " is not a valid value for  Count/Wk since the requirement is one per "
                                      "day and the max number of days "
                                      "in a week cycle are 5. You therefore need to enter 5 or less for "
                                      "Count/Wk. Tavrel can automatically "
                                      "break up this indent into smaller indents with 5 or less.Select Yes "
                                      "to proceed with the break up.",
                                  c.yes);
    const ValidationResult result = Validate(w.f.session(), serial, Interaction::Interactive);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure, FailureKind::Count);
    EXPECT_EQ(w.f.indent(serial).ANOOFLEC, c.keeps);
    ASSERT_EQ(result.breakUpCopies.size(), c.copies.size());
    for (std::size_t i = 0; i < c.copies.size(); ++i) {
      const TAlloc copy = w.f.indent(result.breakUpCopies[i]);
      EXPECT_EQ(copy.ANOOFLEC, c.copies[i]);
      EXPECT_EQ(copy.AACTIVE, "N");
      EXPECT_EQ(copy.ARECESS, "N");
      EXPECT_EQ(std::tie(copy.ACLASS, copy.ATEACHER, copy.ASUBJECT), std::tie(w.cls, w.adams, w.maths));
    }
    EXPECT_EQ(Validate(w.f.session(), serial, Interaction::Silent).failure,
              c.yes ? FailureKind::None : FailureKind::Count);
  }
}

TEST(Validate, BookingOfConstrainedIndentsPinnedToAPeriodOrADay) {
  Week5 w;
  auto pinned = [&](int resource, int subject, int count, const char* days, const char* periods) {
    IndentSpec s{.cls = w.cls, .resource = resource, .subject = subject, .count = count};
    s.constraint = "(pinned)";
    s.days = days;
    s.periods = periods;
    return makeIndent(w.f, s);
  };
  auto activate = [&](int serial) {
    return MakeActv(w.f.session(), serial, Interaction::Interactive).activated;
  };

  // Period 1 has 5 slots in the week: 3 claimed by one indent, 3 more do not fit.
  const int first = pinned(w.adams, w.maths, 3, ",1,2,3,4,5", ",1");
  ASSERT_TRUE(activate(first));
  EXPECT_EQ(w.f.indent(first).APRIORITY, "Y");
  const int tooMany = pinned(w.baker, w.art, 3, ",1,2,3,4,5", ",1");
  w.f.prompter().expectMessage(MessageKind::Information,
                               "Cannot activate this indent. Period 1 is overbooked for 1A.");
  EXPECT_FALSE(activate(tooMany));

  // 2 more fill the period exactly: both indents pinned there are placed early (B).
  const int filling = pinned(w.baker, w.art, 2, ",1,2,3,4,5", ",1");
  ASSERT_TRUE(activate(filling));
  EXPECT_EQ(w.f.indent(filling).APRIORITY, "B");
  EXPECT_EQ(w.f.indent(first).APRIORITY, "B");
  // When the filling indent leaves, the other gets its own letter back.
  ASSERT_TRUE(MakePsv(w.f.session(), filling, Interaction::Interactive));
  EXPECT_EQ(w.f.indent(first).APRIORITY, "Y");

  // Monday has 8 slots: 5 claimed, 4 more do not fit.
  const int monday = pinned(w.adams, w.art, 5, ",1", ",1,2,3,4,5,6,7,8");
  ASSERT_TRUE(activate(monday));
  const int more = pinned(w.baker, w.maths, 4, ",1", ",1,2,3,4,5,6,7,8");
  w.f.prompter().expectMessage(MessageKind::Information,
                               "Cannot activate this indent. Monday is overbooked for 1A.");
  EXPECT_FALSE(activate(more));
}

TEST(Validate, TwoSpecificIndentsCannotClaimOneSlot) {
  Week5 w;
  const int c2 = w.f.addClass("2A");
  auto specific = [&](int cls, int resource, int subject) {
    IndentSpec s{.cls = cls, .resource = resource, .subject = subject, .count = 1};
    s.constraint = "(Day in [MONDAY]) and (Period in [1])";
    s.days = ",1";
    s.periods = ",1";
    return makeIndent(w.f, s);
  };
  const int first = specific(w.cls, w.adams, w.maths);
  ASSERT_TRUE(MakeActv(w.f.session(), first, Interaction::Interactive).activated);
  EXPECT_EQ(w.f.indent(first).APRIORITY, "A");
  // Another class with the same resource at the same slot.
  const int second = specific(c2, w.adams, w.art);
  w.f.prompter().expectMessage(
      MessageKind::Information,
      "Cannot activate this indent. Overbooking. Resource ADAMS is engaging Class 1A with "
      "Subject Maths during  period 1 on Monday.");
  EXPECT_FALSE(MakeActv(w.f.session(), second, Interaction::Interactive).activated);
}

TEST(Validate, ASpecificIndentLeavingGivesTheIndentsItRaisedTheirLettersBack) {
  Week5 w;
  IndentSpec specific{.cls = w.cls, .resource = w.adams, .subject = w.maths, .count = 1};
  specific.constraint = "(Day in [MONDAY]) and (Period in [1])";
  specific.days = ",1";
  specific.periods = ",1";
  const int a = makeIndent(w.f, specific);
  ASSERT_TRUE(MakeActv(w.f.session(), a, Interaction::Interactive).activated);
  // Period 1 of the week: 1 slot for the specific indent and the 4 left for this one.
  IndentSpec pinned{.cls = w.cls, .resource = w.baker, .subject = w.art, .count = 4};
  pinned.constraint = "(Period in [1])";
  pinned.days = ",1,2,3,4,5";
  pinned.periods = ",1";
  const int raised = makeIndent(w.f, pinned);
  ASSERT_TRUE(MakeActv(w.f.session(), raised, Interaction::Interactive).activated);
  EXPECT_EQ(w.f.indent(raised).APRIORITY, "B");
  EXPECT_EQ(w.f.indent(a).APRIORITY, "A");
  ASSERT_TRUE(MakePsv(w.f.session(), a, Interaction::Interactive));
  EXPECT_EQ(w.f.indent(raised).APRIORITY, "Y");
}

}  // namespace
}  // namespace tavrel::indents
