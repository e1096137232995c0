// Every way of releasing allocated periods must leave the school's data adding up: no cell still
// holding a released period, no counter still counting one, group members included. The oracle is
// the independent recount of every counter from the indents and the timetable.
#include "core/store/cell_release.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/store/counter_recount.h"
#include "core/store/item_cascade.h"
#include "tests/core/store/small_school.h"

namespace tavrel::store {
namespace {

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text;
}

struct Released {
  int serial;
  std::optional<Cell> cell;  // only this cell; else every cell of the serial
};

// What a command does: the three routines, then the indent's allocated count follows.
void releaseThroughRoutines(SmallSchool& s, ReleaseMode mode, Owner owner, int serial,
                            std::optional<Cell> cell) {
  Session& session = s.f.session();
  TTRecIProc(session, mode, owner, serial, cell);
  TTRecInit(session, owner, serial, CountAs::Own, cell);
  TTOptnInit(session, owner, serial, cell);
  TAlloc indent = s.f.indent(serial);
  indent.ANOLECALL = cell ? indent.ANOLECALL - 1 : 0;
  session.store().table<TAlloc>().update(indent);
}

struct Route {
  std::string name;
  std::function<std::vector<Released>(SmallSchool&)> release;
};

Route oneCell(std::string name, OwnerKind side, int SmallSchool::*serial, Cell cell) {
  return {std::move(name), [=](SmallSchool& s) {
            const TAlloc indent = s.f.indent(s.*serial);
            Owner owner{side, side == OwnerKind::Class ? indent.ACLASS : indent.ATEACHER};
            releaseThroughRoutines(s, ReleaseMode::Erase, owner, s.*serial, cell);
            return std::vector<Released>{{s.*serial, cell}};
          }};
}

Route wholeSerial(std::string name, ReleaseMode mode, OwnerKind side, int SmallSchool::*serial) {
  return {std::move(name), [=](SmallSchool& s) {
            const TAlloc indent = s.f.indent(s.*serial);
            Owner owner{side, side == OwnerKind::Class ? indent.ACLASS : indent.ATEACHER};
            releaseThroughRoutines(s, mode, owner, s.*serial, std::nullopt);
            return std::vector<Released>{{s.*serial, std::nullopt}};
          }};
}

Route itemIndents(std::string name, char view, ReleaseMode mode, int SmallSchool::*item,
                  std::vector<int SmallSchool::*> processed) {
  return {std::move(name), [=](SmallSchool& s) {
            s.f.session().viewKind = view;
            ItmDel(s.f.session(), mode, s.*item);
            std::vector<Released> released;
            for (auto serial : processed) released.push_back({s.*serial, std::nullopt});
            return released;
          }};
}

bool holdsAt(const TTtbl& row, const Released& released) {
  return !released.cell || (row.TDAY == released.cell->day && row.TLECTNO == released.cell->period);
}

TEST(CellRelease, EveryRouteLeavesNoCellAndNoCounterOfTheReleasedPeriods) {
  const auto E = ReleaseMode::Erase;
  const auto D = ReleaseMode::Delete;
  const auto byClass = OwnerKind::Class;
  const auto byResource = OwnerKind::Resource;
  const std::vector<Route> routes = {
      oneCell("one cell of group with group, from the class", byClass, &SmallSchool::groupWithTeam, {2, 3}),
      oneCell("one cell of group with group, from the resource", byResource, &SmallSchool::groupWithTeam,
              {1, 1}),
      oneCell("one cell of a cluster, from the resource group", byResource, &SmallSchool::c3WithTeam, {3, 2}),
      oneCell("one cell of plain items", byClass, &SmallSchool::c1WithR3, {4, 1}),
      wholeSerial("a serial of group with group, from the class", E, byClass, &SmallSchool::groupWithTeam),
      wholeSerial("a serial of group with group, from the resource", D, byResource,
                  &SmallSchool::groupWithTeam),
      wholeSerial("a serial of a plain class with a resource group", D, byClass, &SmallSchool::c3WithTeam),
      wholeSerial("a serial of a group class with a plain resource", E, byResource,
                  &SmallSchool::groupWithR3),
      itemIndents("erase, class view, group", 'C', E, &SmallSchool::group,
                  {&SmallSchool::groupWithTeam, &SmallSchool::groupWithR3}),
      itemIndents("delete, class view, group", 'C', D, &SmallSchool::group,
                  {&SmallSchool::groupWithTeam, &SmallSchool::groupWithR3}),
      itemIndents("delete, class view, plain class", 'C', D, &SmallSchool::c3,
                  {&SmallSchool::c3WithR1, &SmallSchool::c3WithTeam}),
      itemIndents("erase, resource view, group", 'T', E, &SmallSchool::team,
                  {&SmallSchool::groupWithTeam, &SmallSchool::c3WithTeam}),
      itemIndents("delete, resource view, group", 'T', D, &SmallSchool::team,
                  {&SmallSchool::groupWithTeam, &SmallSchool::c3WithTeam}),
      itemIndents("delete, resource view, plain resource", 'T', D, &SmallSchool::r3,
                  {&SmallSchool::c1WithR3, &SmallSchool::groupWithR3}),
      itemIndents("erase, subject view", 'S', E, &SmallSchool::maths,
                  {&SmallSchool::groupWithTeam, &SmallSchool::c3WithR1}),
      itemIndents("delete, subject view", 'S', D, &SmallSchool::art,
                  {&SmallSchool::c1WithR3, &SmallSchool::groupWithR3, &SmallSchool::c3WithTeam}),
  };

  // Every route starts from the same school: it runs inside a transaction that is rolled back
  // afterwards (the routines join a caller's transaction, as they do under a command). The routes
  // are nested in one outer transaction because undoing a savepoint is cheap, while ending an
  // outermost transaction syncs every file of the store.
  SmallSchool s;
  RecountReport before = recountCounters(s.f.store(), s.f.school());
  ASSERT_TRUE(before.clean()) << "the fixture itself does not add up:" << joined(before.findings());
  std::map<int, std::vector<TTtbl>> cellsBefore;
  for (int serial : s.serials()) cellsBefore[serial] = s.f.cellsHolding(serial);

  Transaction outer(s.f.store());
  for (const Route& route : routes) {
    SCOPED_TRACE(route.name);
    Transaction undo(s.f.store());
    const std::vector<Released> released = route.release(s);

    RecountReport after = recountCounters(s.f.store(), s.f.school());
    EXPECT_TRUE(after.clean()) << joined(after.findings());
    for (int serial : s.serials()) {
      std::vector<TTtbl> expected;
      for (const TTtbl& row : cellsBefore[serial]) {
        bool gone = false;
        for (const Released& r : released) gone = gone || (r.serial == serial && holdsAt(row, r));
        if (!gone) expected.push_back(row);
      }
      EXPECT_EQ(s.f.cellsHolding(serial), expected) << "cells of serial " << serial;
    }
  }
}

// A release touches only cells that hold the serial: a cell of another indent at the day and period
// asked for, and a free cell, stay as they are, and so do the counters.
TEST(CellRelease, CellsOfOtherIndentsAndFreeCellsAreNeverReleased) {
  SmallSchool s;
  const Owner group{OwnerKind::Class, s.group};
  const std::vector<std::pair<std::string, Cell>> cases = {
      {"a cell of another indent of the owner", {5, 2}},  // groupWithR3
      {"a free cell", {9, 9}},
  };
  for (const auto& [name, cell] : cases) {
    SCOPED_TRACE(name);
    TTRecIProc(s.f.session(), ReleaseMode::Delete, group, s.groupWithTeam, cell);
    EXPECT_EQ(TTRecInit(s.f.session(), group, s.groupWithTeam, CountAs::Own, cell), 0);
    TTOptnInit(s.f.session(), group, s.groupWithTeam, cell);
    EXPECT_TRUE(recountCounters(s.f.store(), s.f.school()).clean());
    EXPECT_EQ(s.f.cellsHolding(s.groupWithTeam).size(), 3u * 6);  // group, 2 members, team, 2 members
    EXPECT_EQ(s.f.cellsHolding(s.groupWithR3).size(), 4u);
  }
}

// Drifted data: a cell made not available while it still held a period. Releasing the serial takes
// the serial off it without making it available again, and nothing is counted for it.
TEST(CellRelease, ANotAvailableCellNamingTheSerialLosesItAndStaysNotAvailable) {
  SmallSchool s;
  for (int member : {s.c1, s.c2}) {
    TTtbl stale = s.f.cell('C', member, 9, 9);
    stale.TTEACHER = stale.TSUBJECT = 0;
    stale.TSERIAL = s.groupWithTeam;
    s.f.store().table<TTtbl>().update(stale);
  }
  const Owner group{OwnerKind::Class, s.group};

  TTRecIProc(s.f.session(), ReleaseMode::Erase, group, s.groupWithTeam);
  EXPECT_EQ(TTRecInit(s.f.session(), group, s.groupWithTeam, CountAs::Own), 3);
  TTOptnInit(s.f.session(), group, s.groupWithTeam);

  EXPECT_EQ(s.f.store().table<TTtbl>().count(TTtbl::TIMESERL, {1, s.groupWithTeam}), 0);
  EXPECT_EQ(s.f.cell('C', s.c1, 9, 9).TSUBJECT, 0);
  EXPECT_EQ(s.f.cell('C', s.c2, 9, 9).TTEACHER, 0);
}

// A member's cells belong to its group's indent; released from the member alone they would leave
// the group's and the other members' cells behind, so the call changes nothing.
TEST(CellRelease, AMemberCannotReleaseItsGroupsPeriods) {
  SmallSchool s;
  const Owner member{OwnerKind::Class, s.c1};
  TTRecIProc(s.f.session(), ReleaseMode::Erase, member, s.groupWithTeam);
  EXPECT_EQ(TTRecInit(s.f.session(), member, s.groupWithTeam, CountAs::Own), 0);
  EXPECT_TRUE(recountCounters(s.f.store(), s.f.school()).clean());
  EXPECT_EQ(s.f.cellsHolding(s.groupWithTeam).size(), 3u * 6);
}

}  // namespace
}  // namespace tavrel::store
