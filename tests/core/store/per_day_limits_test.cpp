#include "core/store/per_day_limits.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/support/school_fixture.h"

namespace tavrel::store {
namespace {

using testing::SchoolFixture;

struct IndentOf {
  int subject;   // 0 or 1: the first or the second subject
  int resource;  // 0 or 1
  int periods;
  int clusterOf = 0;
  bool onePerDay = false;
};

struct Case {
  const char* name;
  int swrkdays;
  std::vector<IndentOf> indents;  // of one class
  int checked;                    // the indent asked about
  LimitKind kind;
  LimitOp op;
  int minimum;
  std::optional<int> onePerDay;  // which indent is reported as regular one-per-day
};

TEST(PerDayLimits, SmallestLimitTheClassesActiveIndentsAllow) {
  const auto S = LimitKind::Subject;
  const auto T = LimitKind::Resource;
  const auto A = LimitOp::Add;
  const auto D = LimitOp::Delete;
  const Case cases[] = {
      {"5 and 6 regular periods over 9 days", 912, {{0, 0, 5}, {0, 1, 6}}, 0, S, A, 2, {}},
      {"the largest cluster wins", 912, {{0, 0, 5}, {0, 1, 6, 3}}, 0, S, A, 3, {}},
      {"leaving out the 6-period indent", 912, {{0, 0, 5}, {0, 1, 6}}, 1, S, D, 1, {}},
      {"another subject does not count", 912, {{0, 0, 5}, {1, 0, 6}}, 0, S, A, 1, {}},
      {"per resource, across subjects", 912, {{0, 0, 5}, {1, 0, 6}, {0, 1, 4}}, 0, T, A, 2, {}},
      {"6 periods in a 5-day cycle", 512, {{0, 0, 6}}, 0, S, A, 2, {}},
      {"10 periods in a 5-day cycle", 508, {{0, 0, 4}, {0, 1, 6}}, 0, S, A, 2, {}},
      {"a school without week frame counts 9 days", 0, {{0, 0, 5}, {0, 1, 6}}, 0, S, A, 2, {}},
      {"no other indent", 912, {{0, 0, 4}}, 0, S, D, 0, {}},
      {"another regular one-per-day indent is found", 912, {{0, 0, 3}, {0, 1, 2, 0, true}}, 0, S, A, 1, 1},
      {"the indent itself is not reported", 912, {{0, 0, 3, 0, true}}, 0, S, A, 1, {}},
      {"a one-per-day cluster is not regular", 912, {{0, 0, 3}, {0, 1, 4, 2, true}}, 0, S, A, 2, {}},
  };
  // One school for every case: each case builds its indents in a transaction undone afterwards.
  SchoolFixture f;
  Transaction outer(f.store());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Transaction undo(f.store());
    TSchl school = *f.session().school();
    school.SWRKDAYS = c.swrkdays;
    f.store().table<TSchl>().update(school);
    const int cls = f.addClass("1A");
    const int other = f.addClass("1B");
    const int subjects[] = {f.addSubject("Maths"), f.addSubject("Art")};
    const int resources[] = {f.addResource("ADAMS"), f.addResource("BAKER")};
    std::vector<int> serials;
    for (const IndentOf& i : c.indents) {
      int serial = f.addIndent({.cls = cls,
                                .resource = resources[i.resource],
                                .subject = subjects[i.subject],
                                .periods = i.periods,
                                .clusterOf = i.clusterOf});
      if (i.onePerDay) {
        TAlloc row = f.indent(serial);
        row.ARECESS = "N";
        f.store().table<TAlloc>().update(row);
      }
      serials.push_back(serial);
    }
    // Neither another class's nor a passive indent counts.
    f.addIndent({.cls = other, .resource = resources[0], .subject = subjects[0], .periods = 9});
    f.addIndent(
        {.cls = cls, .resource = resources[0], .subject = subjects[0], .periods = 9, .active = false});

    PerDayMinimum result =
        CheckCUL(f.session(), c.kind, c.op, f.indent(serials[static_cast<std::size_t>(c.checked)]));

    EXPECT_EQ(result.minimum, c.minimum);
    std::optional<int> expected;
    if (c.onePerDay) expected = serials[static_cast<std::size_t>(*c.onePerDay)];
    EXPECT_EQ(result.onePerDaySerial, expected);
  }
}

TEST(PerDayLimits, PostingStoresTheLimitAddingTheRecordWhenMissing) {
  SchoolFixture f;
  const int cls = f.addClass("1A");
  const int subject = f.addSubject("Maths");
  const int resource = f.addResource("ADAMS");
  f.addIndent({.cls = cls, .resource = resource, .subject = subject, .periods = 4});  // limit records of 1
  const int other = f.addResource("BAKER");

  post_occur(f.session(), LimitKind::Subject, cls, subject, 3);
  post_occur(f.session(), LimitKind::Resource, cls, resource, 2);
  post_occur(f.session(), LimitKind::Resource, cls, other, 4);

  EXPECT_EQ(f.store().table<TSOcc>().find(TSOcc::primary, {1, cls, subject})->SOCCURENCE, 3);
  EXPECT_EQ(f.store().table<TTOcc>().find(TTOcc::primary, {1, cls, resource})->TOCCURENCE, 2);
  EXPECT_EQ(f.store().table<TTOcc>().find(TTOcc::primary, {1, cls, other})->TOCCURENCE, 4);
  EXPECT_EQ(f.store().table<TTOcc>().count(TTOcc::primary, {1, cls}), 2);
}

}  // namespace
}  // namespace tavrel::store
