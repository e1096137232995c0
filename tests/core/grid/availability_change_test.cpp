// Making cells available and not available. An allocated period is erased everywhere it lives,
// whichever of its rows the grid shows, so after every command the counters must still add up.
#include "core/grid/availability_change.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

using store::TTtbl;

int partnerField(const TTtbl& row) {
  return row.TTYPE == "C" ? row.TTEACHER : row.TCLASS;
}

// The fields that say what a cell holds: the subject and the owner's partner field; all three codes
// in a school row.
std::vector<int> contentFields(const TTtbl& row) {
  if (row.TTYPE == "L") return {row.TSUBJECT, row.TCLASS, row.TTEACHER};
  return {row.TSUBJECT, partnerField(row)};
}

bool inBlock(const TTtbl& row, int day, const std::vector<int>& block) {
  return row.TDAY == day && std::find(block.begin(), block.end(), row.TLECTNO) != block.end();
}

struct ReleaseCase {
  std::string name;
  GridKind kind;
  int GridSchool::*owner;
  int day;
  int period;
  int GridSchool::*serial;
  std::vector<int> block;  // the periods of the day that go
};

const std::vector<ReleaseCase>& releaseCases() {
  // clang-format off
  static const std::vector<ReleaseCase> cases = {
      {"the group class's own cell", GridKind::Class, &GridSchool::group, 1, 1, &GridSchool::groupWithTeam, {1}},
      {"a member of the group class", GridKind::Class, &GridSchool::c1, 2, 3, &GridSchool::groupWithTeam, {3}},
      {"a member of a group class taught by a plain resource", GridKind::Class, &GridSchool::c2, 5, 2,
       &GridSchool::groupWithR3, {2}},
      {"the group resource", GridKind::Resource, &GridSchool::team, 1, 1, &GridSchool::groupWithTeam, {1}},
      {"a member of the group resource", GridKind::Resource, &GridSchool::r2, 3, 5, &GridSchool::groupWithTeam,
       {5}},
      {"the plain resource of a group class", GridKind::Resource, &GridSchool::r3, 5, 2, &GridSchool::groupWithR3,
       {2}},
      {"a member resource's cell in a two-period block", GridKind::Resource, &GridSchool::r1, 3, 2,
       &GridSchool::c3WithTeam, {1, 2}},
      {"the middle of a three-period block", GridKind::Class, &GridSchool::c3, 6, 5, &GridSchool::trio, {4, 5, 6}},
  };
  // clang-format on
  return cases;
}

// Runs `command` on every case from the same school: each case is rolled back afterwards.
template <class Command>
void forEachReleaseCase(Command command) {
  GridSchool s;
  ASSERT_TRUE(countersAddUp(s.f.store(), 1));
  store::Transaction outer(s.f.store());
  for (const ReleaseCase& c : releaseCases()) {
    SCOPED_TRACE(c.name);
    store::Transaction undo(s.f.store());
    command(s, c);
  }
}

TEST(AvailabilityChange, NotAvailableOnAnAllocatedCellErasesTheWholePeriodOfEveryRowThatHoldsIt) {
  forEachReleaseCase([](GridSchool& s, const ReleaseCase& c) {
    const GridOwner owner{c.kind, s.*c.owner};
    const int serial = s.*c.serial;
    const int allocatedBefore = s.f.indent(serial).ANOLECALL;
    const int totalBefore = availabilityTotal(s.f.store(), 1, owner);
    const std::vector<TTtbl> heldBefore = s.f.cellsHolding(serial);
    s.f.prompter().expectQuestion(MessageKind::Warning, std::string(kEraseForNotAvailable), true);

    EXPECT_EQ(makeNotAvailable(s.f.session(), owner, c.day, c.period), ChangeOutcome::Changed);

    const int blockSize = static_cast<int>(c.block.size());
    EXPECT_EQ(s.f.indent(serial).ANOLECALL, allocatedBefore - blockSize);
    EXPECT_EQ(availabilityTotal(s.f.store(), 1, owner), totalBefore - blockSize);
    std::vector<TTtbl> expectedHeld;
    for (const TTtbl& held : heldBefore) {
      if (!inBlock(held, c.day, c.block)) {
        expectedHeld.push_back(held);
        continue;
      }
      // Only the grid's owner loses the period's availability; every other row of it is free.
      const TTtbl now = s.f.cell(held.TTYPE[0], held.TSCHL, held.TDAY, held.TLECTNO);
      const bool isOwner = held.TTYPE[0] == rowType(owner.kind) && held.TSCHL == owner.code;
      const int expected = isOwner ? 0 : 999;
      EXPECT_EQ(now.TSUBJECT, expected) << held.TTYPE << held.TSCHL << " period " << held.TLECTNO;
      EXPECT_EQ(partnerField(now), expected);
      EXPECT_EQ(now.TSERIAL, 0);
      EXPECT_EQ(now.TCLUSTOT, 0);
    }
    EXPECT_EQ(s.f.cellsHolding(serial), expectedHeld);
    EXPECT_TRUE(countersAddUp(s.f.store(), 1));
  });
}

TEST(AvailabilityChange, AvailableOnAnAllocatedCellErasesThePeriodAndLeavesEveryRowOfItFree) {
  forEachReleaseCase([](GridSchool& s, const ReleaseCase& c) {
    const GridOwner owner{c.kind, s.*c.owner};
    const int serial = s.*c.serial;
    const int allocatedBefore = s.f.indent(serial).ANOLECALL;
    const int totalBefore = availabilityTotal(s.f.store(), 1, owner);
    const std::vector<TTtbl> heldBefore = s.f.cellsHolding(serial);
    s.f.prompter().expectQuestion(MessageKind::Warning, std::string(kEraseForAvailable), true);

    EXPECT_EQ(makeAvailable(s.f.session(), owner, c.day, c.period), ChangeOutcome::Changed);

    EXPECT_EQ(s.f.indent(serial).ANOLECALL, allocatedBefore - static_cast<int>(c.block.size()));
    EXPECT_EQ(availabilityTotal(s.f.store(), 1, owner), totalBefore);  // an allocated cell was available
    for (const TTtbl& held : heldBefore) {
      if (!inBlock(held, c.day, c.block)) continue;
      const TTtbl now = s.f.cell(held.TTYPE[0], held.TSCHL, held.TDAY, held.TLECTNO);
      EXPECT_EQ(contentFields(now), (std::vector<int>{999, 999})) << held.TTYPE << held.TSCHL;
      EXPECT_EQ(now.TSERIAL, 0);
    }
    EXPECT_TRUE(countersAddUp(s.f.store(), 1));
  });
}

// The proxy window gives a substitute's periods back without asking.
TEST(AvailabilityChange, AvailableFromTheProxyWindowAsksNothing) {
  GridSchool s;
  EXPECT_EQ(makeAvailable(s.f.session(), {GridKind::Resource, s.r2}, 1, 1, Confirmation::DoNotAsk),
            ChangeOutcome::Changed);
  EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 2);
  EXPECT_EQ(s.f.cell('C', s.group, 1, 1).TSUBJECT, 999);
  EXPECT_TRUE(countersAddUp(s.f.store(), 1));
}

TEST(AvailabilityChange, DecliningTheQuestionChangesNothing) {
  struct Case {
    std::string name;
    std::string question;
    ChangeOutcome (*command)(store::Session&, GridOwner, int, int);
  };
  const std::vector<Case> cases = {
      {"not available", std::string(kEraseForNotAvailable), &makeNotAvailable},
      {"available", std::string(kEraseForAvailable),
       [](store::Session& session, GridOwner owner, int day, int period) {
         return makeAvailable(session, owner, day, period);
       }},
  };
  GridSchool s;
  const GridOwner member{GridKind::Class, s.c1};
  const std::vector<TTtbl> heldBefore = s.f.cellsHolding(s.groupWithTeam);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s.f.prompter().expectQuestion(MessageKind::Warning, c.question, false);
    EXPECT_EQ(c.command(s.f.session(), member, 2, 3), ChangeOutcome::Declined);
    EXPECT_EQ(s.f.cellsHolding(s.groupWithTeam), heldBefore);
    EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 3);
    EXPECT_TRUE(countersAddUp(s.f.store(), 1));
  }
}

TEST(AvailabilityChange, AFreeCellMadeNotAvailableAndAvailableAgainRestoresTheTotal) {
  GridSchool s;
  const std::vector<std::pair<std::string, GridOwner>> owners = {
      {"class", {GridKind::Class, s.c3}},
      {"resource", {GridKind::Resource, s.r3}},
      {"school", {GridKind::School, 1}},
  };
  for (const auto& [name, owner] : owners) {
    SCOPED_TRACE(name);
    const int totalBefore = availabilityTotal(s.f.store(), 1, owner);

    EXPECT_EQ(makeNotAvailable(s.f.session(), owner, 7, 7), ChangeOutcome::Changed);
    EXPECT_EQ(contentFields(s.row(owner, 7, 7)), std::vector<int>(owner.kind == GridKind::School ? 3 : 2, 0));
    EXPECT_EQ(s.row(owner, 7, 7).TSCHL, owner.code);
    EXPECT_EQ(availabilityTotal(s.f.store(), 1, owner), totalBefore - 1);
    EXPECT_EQ(makeNotAvailable(s.f.session(), owner, 7, 7), ChangeOutcome::Unchanged);

    EXPECT_EQ(makeAvailable(s.f.session(), owner, 7, 7), ChangeOutcome::Changed);
    EXPECT_EQ(contentFields(s.row(owner, 7, 7)),
              std::vector<int>(owner.kind == GridKind::School ? 3 : 2, 999));
    EXPECT_EQ(availabilityTotal(s.f.store(), 1, owner), totalBefore);
    EXPECT_EQ(makeAvailable(s.f.session(), owner, 7, 7), ChangeOutcome::Unchanged);
  }
  EXPECT_TRUE(countersAddUp(s.f.store(), 1));
}

// In a school of 5 days of 8 periods, a class or resource cannot be made available where no period
// of the school could ever be allocated; the school itself can, that is how its week grows.
TEST(AvailabilityChange, MakingAvailableBeyondTheSchoolsWeekIsRefused) {
  testing::SchoolFixture f({.swrkdays = 508});
  const int cls = f.addClass("1A");
  const int resource = f.addResource("ADAMS");
  struct Case {
    std::string name;
    GridOwner owner;
    int day;
    int period;
    bool refused;
  };
  const std::vector<Case> cases = {
      {"a class period after the school's last", {GridKind::Class, cls}, 1, 10, true},
      {"a resource on a day after the cycle", {GridKind::Resource, resource}, 7, 1, true},
      {"a class on period 12 of a short week", {GridKind::Class, cls}, 2, 12, true},
      {"the school itself", {GridKind::School, 1}, 1, 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int totalBefore = availabilityTotal(f.store(), 1, c.owner);
    if (c.refused) f.prompter().expectMessage(MessageKind::Error, std::string(kBeyondSchoolAvailability));
    EXPECT_EQ(makeAvailable(f.session(), c.owner, c.day, c.period),
              c.refused ? ChangeOutcome::Refused : ChangeOutcome::Changed);
    EXPECT_EQ(f.cell(rowType(c.owner.kind), c.owner.code, c.day, c.period).TSUBJECT, c.refused ? 0 : 999);
    EXPECT_EQ(availabilityTotal(f.store(), 1, c.owner), totalBefore + (c.refused ? 0 : 1));
  }
}

TEST(AvailabilityChange, AResourceNotAvailableWhereTheSchoolIsBecomesPartTime) {
  GridSchool s;
  const GridOwner school{GridKind::School, 1};
  ASSERT_EQ(makeNotAvailable(s.f.session(), school, 8, 1), ChangeOutcome::Changed);
  struct Case {
    std::string name;
    int GridSchool::*resource;
    int day;
    int period;
    std::string partTime;
  };
  const std::vector<Case> cases = {
      {"where the school is not available either", &GridSchool::r1, 8, 1, "N"},
      {"where the school is available", &GridSchool::r2, 8, 2, "Y"},
      {"an allocated period where the school is available", &GridSchool::r3, 6, 4, "Y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(s.f.resourceRecord(s.*c.resource).TPARTTIME, "N");
    if (c.name.find("allocated") != std::string::npos) {
      s.f.prompter().expectQuestion(MessageKind::Warning, std::string(kEraseForNotAvailable), true);
    }
    EXPECT_EQ(makeNotAvailable(s.f.session(), {GridKind::Resource, s.*c.resource}, c.day, c.period),
              ChangeOutcome::Changed);
    EXPECT_EQ(s.f.resourceRecord(s.*c.resource).TPARTTIME, c.partTime);
  }
  EXPECT_TRUE(countersAddUp(s.f.store(), 1));
}

TEST(AvailabilityChange, ACellWithoutARowIsLeftAlone) {
  GridSchool s;
  const GridOwner owner{GridKind::Class, s.c1};
  s.f.store().table<TTtbl>().remove(s.row(owner, 2, 3));  // a member's cell of the group's period
  const int totalBefore = availabilityTotal(s.f.store(), 1, owner);
  EXPECT_EQ(makeNotAvailable(s.f.session(), owner, 2, 3), ChangeOutcome::Unchanged);
  EXPECT_EQ(makeAvailable(s.f.session(), owner, 2, 3), ChangeOutcome::Unchanged);
  EXPECT_EQ(availabilityTotal(s.f.store(), 1, owner), totalBefore);
  EXPECT_EQ(s.f.indent(s.groupWithTeam).ANOLECALL, 3);
}

}  // namespace
}  // namespace tavrel::grid
