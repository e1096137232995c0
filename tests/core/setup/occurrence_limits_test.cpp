#include "core/setup/occurrence_limits.h"

#include <gtest/gtest.h>

#include "tests/support/school_fixture.h"

namespace tavrel::setup {
namespace {

using namespace store;
using testing::SchoolFixture;

TEST(OccurrenceLimits, AValueBelowWhatTheIndentsNeedIsRaisedToTheMinimum) {
  SchoolFixture f;
  int cls = f.addClass("10A");
  int other = f.addClass("10B");
  int teacher = f.addResource("MS DUBOIS");
  int chemistry = f.addSubject("CHEMISTRY");
  int french = f.addSubject("FRENCH");
  f.addIndent({cls, teacher, chemistry, 6, 3});
  f.addIndent({cls, teacher, french, 10});
  f.addIndent({cls, teacher, french, 9});

  f.prompter().expectMessage(
      MessageKind::Error,
      "2 is not a valid value for \"For Class per Day upper limit of Subject\". Minimum Value "
      "considering 10A indents for CHEMISTRY is 3. Incorporating this minimum value.");
  EXPECT_EQ(editOccurrenceLimit(f.session(), LimitKind::Subject, cls, chemistry, 2), 3);
  EXPECT_EQ(f.store().table<TSOcc>().find(TSOcc::primary, {1, cls, chemistry})->SOCCURENCE, 3);
  EXPECT_EQ(editOccurrenceLimit(f.session(), LimitKind::Subject, cls, chemistry, 5), 5);

  // 25 periods with one resource over 9 days need 3 a day.
  f.prompter().expectMessage(
      MessageKind::Error,
      "1 is not a valid value for \"For Class per Day upper limit of Resource\". Minimum Value "
      "considering 10A indents for MS DUBOIS is 3. Incorporating this minimum value.");
  EXPECT_EQ(editOccurrenceLimit(f.session(), LimitKind::Resource, cls, teacher, 1), 3);

  auto classes = classesWithLimits(f.store(), 1, LimitKind::Subject);
  ASSERT_EQ(classes.size(), 1u);  // 10B has no limit rows
  EXPECT_EQ(classes[0].name, "10A");
  EXPECT_EQ(itemsWithLimits(f.store(), 1, LimitKind::Subject).size(), 2u);
  f.prompter().expectMessage(MessageKind::Information, "No record found.");
  EXPECT_FALSE(findClassLimit(f.session(), LimitKind::Subject, other));
  f.prompter().expectMessage(MessageKind::Information, "No records.");
  EXPECT_FALSE(findItemLimit(f.session(), LimitKind::Resource, 77));
  EXPECT_EQ(findItemLimit(f.session(), LimitKind::Subject, french)->classCode, cls);
}

}  // namespace
}  // namespace tavrel::setup
