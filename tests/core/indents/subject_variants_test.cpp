#include "core/indents/subject_variants.h"

#include <gtest/gtest.h>

#include "core/indents/activation.h"
#include "core/store/counter_recount.h"
#include "core/store/lookups.h"
#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

struct TwoClasses {
  SchoolFixture f;
  Uncommitted scratch{f.store()};
  int a = f.addClass("1A");
  int b = f.addClass("1B");
  int adams = f.addResource("ADAMS");
  int baker = f.addResource("BAKER");
  int maths = f.addSubject("Maths");
  int art = f.addSubject("Art");

  int onePerDay(int cls, int subject, int count) {
    return makeIndent(f,
                      {.cls = cls, .resource = adams, .subject = subject, .count = count, .onePerDay = true});
  }
  std::string subjectOf(int serial) { return store::subjectName(f.store(), f.indent(serial).ASUBJECT); }
};

std::string thisIndent(const std::string& from, const std::string& to, const std::string& base) {
  return "Subject name for this indent is being changed from " + from + " to " + to +
         ". This is to enable  allocation of one per day. As and when you print the timetable  this will be "
         "printed " +
         base + " and not " + to + ".";
}

TEST(SubjectVariants, NamesKeepTheirWholeMarkerWithinTheNameWidth) {
  EXPECT_EQ(variantName("Maths", 1), "Maths(*1)");
  EXPECT_EQ(variantName("ABCDEFGHIJKLMNOPQRSTUVWXY", 1), "ABCDEFGHIJKLMNOPQRSTU(*1)");
  EXPECT_EQ(variantName("ABCDEFGHIJKLMNOPQRSTUVWXY", 9), "ABCDEFGHIJKLMNOPQRSTU(*9)");
  const VariantName split = splitVariantName("Maths(*3)");
  EXPECT_EQ(split.base, "Maths");
  EXPECT_EQ(split.number, 3);
  EXPECT_EQ(splitVariantName("Maths(*0)").number, 0);
  EXPECT_EQ(splitVariantName("Maths").base, "Maths");
}

TEST(SubjectVariants, ASecondOnePerDayIndentOfTheSubjectGetsAVariantThatOtherClassesShare) {
  TwoClasses s;
  const int first = s.onePerDay(s.a, s.maths, 5);
  ASSERT_TRUE(MakeActv(s.f.session(), first, Interaction::Interactive).activated);
  EXPECT_EQ(s.subjectOf(first), "Maths");

  // 10 periods of Maths over 9 days need 2 a day: the new indent moves to a variant.
  const int second = s.onePerDay(s.a, s.maths, 5);
  const int highest = s.f.store().institution().ISUBJECT;
  s.f.prompter().expectMessage(MessageKind::Information, thisIndent("Maths", "Maths(*1)", "Maths"));
  ASSERT_TRUE(MakeActv(s.f.session(), second, Interaction::Interactive).activated);
  const int variant = s.f.indent(second).ASUBJECT;
  EXPECT_EQ(s.subjectOf(second), "Maths(*1)");
  EXPECT_EQ(variant, highest + 1);
  EXPECT_EQ(s.f.store().institution().ISUBJECT, variant);
  EXPECT_EQ(subjectLimit(s.f, s.a, variant), 1);
  EXPECT_EQ(subjectLimit(s.f, s.a, s.maths), 1);
  EXPECT_EQ(subjectLink(s.f, s.maths).SCTREQLEC, 5);
  EXPECT_EQ(subjectLink(s.f, variant).SCTREQLEC, 5);

  // Class 1B does the same and reuses the variant, which no indent of 1B has yet.
  ASSERT_TRUE(MakeActv(s.f.session(), s.onePerDay(s.b, s.maths, 5), Interaction::Silent).activated);
  const int third = s.onePerDay(s.b, s.maths, 5);
  ASSERT_TRUE(MakeActv(s.f.session(), third, Interaction::Silent).activated);
  EXPECT_EQ(s.f.indent(third).ASUBJECT, variant);
  EXPECT_EQ(s.f.store().institution().ISUBJECT, variant);
  EXPECT_TRUE(store::recountCounters(s.f.store(), 1).clean());
}

TEST(SubjectVariants, AnotherOnePerDayIndentTakesItsPlacedPeriodsToTheVariant) {
  TwoClasses s;
  const int daily = s.onePerDay(s.a, s.art, 3);
  ASSERT_TRUE(MakeActv(s.f.session(), daily, Interaction::Interactive).activated);
  s.f.place(daily, 1, 1);
  s.f.place(daily, 2, 1);

  // A cluster of 2 needs 2 a day of Art: the one-per-day indent moves instead.
  const int cluster =
      makeIndent(s.f, {.cls = s.a, .resource = s.baker, .subject = s.art, .count = 4, .clusterOf = 2});
  s.f.prompter().expectMessage(
      MessageKind::Information,
      "An indent already exists where one per day Art occurence is required.Subject name for that indent is "
      "being "
      "changed from Art to Art(*1). This is to enable  allocation of one per day. As and when you print the "
      "timetable,  this will be printed Art and not Art(*1).");
  ASSERT_TRUE(MakeActv(s.f.session(), cluster, Interaction::Interactive).activated);
  const int variant = s.f.indent(daily).ASUBJECT;
  EXPECT_EQ(s.subjectOf(daily), "Art(*1)");
  EXPECT_EQ(s.f.indent(cluster).ASUBJECT, s.art);
  EXPECT_EQ(subjectLimit(s.f, s.a, s.art), 2);
  EXPECT_EQ(subjectLimit(s.f, s.a, variant), 1);
  EXPECT_EQ(subjectLink(s.f, s.art).SCTREQLEC, 4);
  EXPECT_EQ(subjectLink(s.f, variant).SCTREQLEC, 3);
  EXPECT_EQ(subjectLink(s.f, variant).SCTTOTALL, 2);
  for (const store::TTtbl& cell : s.f.cellsHolding(daily)) EXPECT_EQ(cell.TSUBJECT, variant);
  const auto report = store::recountCounters(s.f.store(), 1);
  EXPECT_TRUE(report.clean()) << ::testing::PrintToString(report.findings());
}

TEST(SubjectVariants, NineVariantsAreTheMostAndALongNameKeepsItsMarker) {
  TwoClasses s;
  const int longSubject = s.f.addSubject("ABCDEFGHIJKLMNOPQRSTUVWXY");
  // Each further 5-period one-per-day indent of the subject needs a variant no other has.
  std::vector<int> serials;
  for (int i = 0; i < 10; ++i) {
    serials.push_back(s.onePerDay(s.a, longSubject, 5));
    ASSERT_TRUE(MakeActv(s.f.session(), serials.back(), Interaction::Silent).activated);
  }
  EXPECT_EQ(s.subjectOf(serials[0]), "ABCDEFGHIJKLMNOPQRSTUVWXY");
  EXPECT_EQ(s.subjectOf(serials[1]), "ABCDEFGHIJKLMNOPQRSTU(*1)");
  EXPECT_EQ(s.subjectOf(serials[9]), "ABCDEFGHIJKLMNOPQRSTU(*9)");

  // An eleventh would need a tenth variant: its activation fails and leaves it as it was.
  const int eleventh = s.onePerDay(s.a, longSubject, 5);
  s.f.prompter().expectMessage(
      MessageKind::Information,
      "12 one per day subject items already exist for ABCDEFGHIJKLMNOPQRSTU.Cannot create "
      "more since there areonly a maximum of 12 periods per day.");
  EXPECT_FALSE(MakeActv(s.f.session(), eleventh, Interaction::Interactive).activated);
  EXPECT_EQ(s.f.indent(eleventh).AACTIVE, "N");
  EXPECT_EQ(s.f.indent(eleventh).ASUBJECT, longSubject);
  EXPECT_EQ(s.f.classRecord(s.a).CLSREQLEC, 50);
  EXPECT_TRUE(store::recountCounters(s.f.store(), 1).clean());
}

}  // namespace
}  // namespace tavrel::indents
