#include "core/indents/field_checks.h"

#include <gtest/gtest.h>

#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::LimitKind;
using testing::SchoolFixture;

TEST(FieldChecks, NumberFieldsKeepTheirRangeInAFiveDayWeekOfEightPeriods) {
  struct Case {
    IndentField field;
    const char* typed;
    std::optional<int> kept;
    const char* message;
  };
  const Case cases[] = {
      {IndentField::Count, "40", 40, nullptr},
      {IndentField::Count, "0", 0, nullptr},
      {IndentField::Count,
       "41",
       {},
       "41 is not a valid value for \"Count of Periods/Week Cycle\". Allowed range is 0 to 40. Restoring old "
       "value."},
      {IndentField::Count,
       "",
       {},
       "Empty is not a valid value for \"Count of Periods/Week Cycle\". Allowed range is 0 to 40. Restoring "
       "old "
       "value."},
      {IndentField::Count,
       "4x",
       {},
       "4x is not a valid value for \"Count of Periods/Week Cycle\". Allowed range is 0 to 40. Restoring old "
       "value."},
      {IndentField::ClusterSize, "12", 12, nullptr},
      {IndentField::ClusterSize,
       "1",
       {},
       "1 is not a valid value for \"In Cluster of\". Allowed range is 2 to 12. Restoring old value."},
      {IndentField::ClustersPerWeek,
       "10",
       {},
       "10 is not a valid value for \"Cluster per Week\". Allowed range is 1 to 9. Restoring old value."},
      {IndentField::ResourcePerDay,
       "9",
       {},
       "9 is not a valid value for \" Per Day upper limit of Resource\". Allowed range is 1 to 8. Restoring "
       "old "
       "value."},
      {IndentField::ResourcePerWeek, "40", 40, nullptr},
      {IndentField::ResourcePerWeek,
       "41",
       {},
       "41 is not a valid value for \"Per Week upper limit of Resource\". Allowed range is 1 to 40. "
       "Restoring old "
       "value."},
      {IndentField::ResourceSequence,
       "0",
       {},
       "0 is not a valid value for \"Sequence Continuity  upper limit of Resource \". Allowed range is 1 to "
       "8. "
       "Restoring old value."},
  };
  SchoolFixture f({.swrkdays = 508});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    if (c.message) f.prompter().expectMessage(MessageKind::Error, c.message);
    EXPECT_EQ(checkIndentField(f.session(), c.field, c.typed), c.kept);
    EXPECT_TRUE(f.prompter().done());
  }
  EXPECT_EQ(countFieldText(0), "");
  EXPECT_EQ(countFieldText(7), "7");
}

TEST(FieldChecks, PerDayLimitsOfTheClassAreCorrectedToWhatItsIndentsNeed) {
  // Maths of 1A: 4 periods with ADAMS and 3 with BAKER, over 5 days: at least 2 a day.
  SchoolFixture f({.swrkdays = 508});
  Uncommitted scratch(f.store());
  const int cls = f.addClass("1A");
  const int adams = f.addResource("ADAMS");
  const int baker = f.addResource("BAKER");
  const int maths = f.addSubject("Maths");
  const int withAdams = f.addIndent({.cls = cls, .resource = adams, .subject = maths, .periods = 4});
  f.addIndent({.cls = cls, .resource = baker, .subject = maths, .periods = 3});
  const char* subjectLabel = "\"For Class per Day upper limit of Subject\"";

  struct Case {
    LimitKind kind;
    const char* typed;
    int stored;
    std::string message;
  };
  const Case cases[] = {
      {LimitKind::Subject, "3", 3, ""},
      {LimitKind::Subject, "9", 3,
       std::string("9 is not a valid value for ") + subjectLabel +
           ". Allowed range is 1 to 8. Restoring old value."},
      {LimitKind::Subject, "", 3,
       std::string("Empty is not a valid value for ") + subjectLabel +
           ". Allowed range is 1 to 12. Restoring old value."},
      {LimitKind::Subject, "1", 2,
       std::string("1 is not a valid value for ") + subjectLabel +
           ". Minimum Value considering 1A indents for Maths is 2. Incorporating this minimum value."},
      {LimitKind::Resource, "1", 1, ""},
  };
  int old = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    if (!c.message.empty()) f.prompter().expectMessage(MessageKind::Error, c.message);
    EXPECT_EQ(checkClassDayLimit(f.session(), c.kind, withAdams, c.typed, old), c.stored);
    EXPECT_EQ(c.kind == LimitKind::Subject ? subjectLimit(f, cls, maths) : resourceLimit(f, cls, adams),
              c.stored);
    if (c.kind == LimitKind::Subject) old = c.stored;
  }

  // A regular one-per-day indent allows its subject one period a day, whatever the others need.
  store::TAlloc onePerDay = f.indent(withAdams);
  onePerDay.ARECESS = "N";
  f.store().table<store::TAlloc>().update(onePerDay);
  f.prompter().expectMessage(MessageKind::Error,
                             std::string("2 is not a valid value for ") + subjectLabel +
                                 ". Period requirement is one per day. Incorporating the value 1.");
  EXPECT_EQ(checkClassDayLimit(f.session(), LimitKind::Subject, withAdams, "2", old), 1);
  EXPECT_EQ(subjectLimit(f, cls, maths), 1);
}

}  // namespace
}  // namespace tavrel::indents
