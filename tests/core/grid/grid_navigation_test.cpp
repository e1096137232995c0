#include "core/grid/grid_navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/grid/grid_school.h"

namespace tavrel::grid {
namespace {

using store::Step;

std::string currentClass(GridSchool& s) {
  return s.f.session().classes().current()->CLSNAME;
}

// Classes in name order: 1A (with a passive indent), 1A+1B, 1B (with a passive indent), 2A.
TEST(GridNavigation, TheNavigatorSkipsToPassiveIndentsOnlyWhilePassivePresentIsChosen) {
  GridSchool s;
  s.f.addIndent({.cls = s.c2, .resource = s.r3, .subject = s.art, .periods = 1, .active = false});
  store::Session& session = s.f.session();
  struct Case {
    std::string name;
    bool filterOn;
    int status;
    std::vector<Step> steps;
    std::string lands;
  };
  const std::vector<Case> cases = {
      {"plain steps", true, 1, {Step::First, Step::Next}, "1A+1B"},
      {"Passive Present with the list filter off", false, 5, {Step::First, Step::Next}, "1A+1B"},
      {"Passive Present", true, 5, {Step::First, Step::Next}, "1B"},
      {"Passive Present from the last such class", true, 5, {Step::Last, Step::Next}, "1B"},
      {"Passive Present backwards", true, 5, {Step::Last, Step::Prior}, "1A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    session.FilterDM(c.filterOn ? 1 : 0);
    session.set_gb_f(1, 'C', c.status);
    std::optional<GridOwner> owner;
    for (Step step : c.steps) owner = stepOwner(session, GridKind::Class, step);
    EXPECT_EQ(currentClass(s), c.lands);
    ASSERT_TRUE(owner.has_value());
    EXPECT_EQ(owner->code, session.classes().current()->CLSCODE);
  }
  session.set_gb_f(1, 'T', 5);
  // Resources: ADAMS and CLARK have passive indents, LAB TEAM (last) has none.
  EXPECT_EQ(stepOwner(session, GridKind::Resource, Step::Last), (GridOwner{GridKind::Resource, s.r3}));
  EXPECT_FALSE(navigatorEnabled(GridKind::School));
}

TEST(GridNavigation, ToggleSwitchesBetweenTheClassAndTheResourceGrid) {
  GridSchool s;
  store::Session& session = s.f.session();
  session.viewKind = 'C';
  EXPECT_EQ(toggleCaption(GridKind::Class), "Resource Availa&bility");
  EXPECT_EQ(toggleCaption(GridKind::Resource), "Class Availa&bility");
  EXPECT_EQ(toggleView(session, GridKind::Class), (GridOwner{GridKind::Resource, s.r1}));
  EXPECT_EQ(session.viewKind, 'T');
  EXPECT_EQ(toggleView(session, GridKind::Resource), (GridOwner{GridKind::Class, s.c1}));
  EXPECT_EQ(session.viewKind, 'C');

  testing::SchoolFixture onlyClasses;
  onlyClasses.addClass("1A");
  onlyClasses.session().flush(store::kFlushClasses);
  EXPECT_FALSE(toggleEnabled(onlyClasses.session(), GridKind::Class));
  EXPECT_FALSE(toggleView(onlyClasses.session(), GridKind::Class).has_value());
}

TEST(GridNavigation, AViewRequestLeavesThePendingCodeAndTheItemToOpen) {
  GridSchool s;
  store::Session& session = s.f.session();
  const store::TSchl school = *session.school();
  const TimetableGrid classGrid = TimetableGrid::read(s.f.store(), school, {GridKind::Class, s.c3});
  const TimetableGrid resourceGrid = TimetableGrid::read(s.f.store(), school, {GridKind::Resource, s.r3});
  struct Case {
    std::string name;
    ViewRequest request;
    const TimetableGrid* grid;
    std::optional<std::pair<int, int>> cell;
    char pending;
    char viewKind;
    std::string currentClass;
    std::string currentResource;
  };
  const std::vector<Case> cases = {
      {"class view of the grid's class", ViewRequest::Class, &classGrid, std::pair{6, 4}, 'V', 'C', "2A",
       "ADAMS"},
      {"resource view of a class grid's allocated cell", ViewRequest::Resource, &classGrid, std::pair{6, 4},
       'V', 'T', "1A", "CLARK"},
      {"resource view of a free cell", ViewRequest::Resource, &classGrid, std::pair{9, 9}, 'V', 'T', "1A",
       "ADAMS"},
      {"class view of a resource grid's allocated cell", ViewRequest::Class, &resourceGrid, std::pair{5, 2},
       'V', 'C', "1A+1B", "ADAMS"},
      {"resource view of the grid's resource", ViewRequest::Resource, &resourceGrid, std::nullopt, 'V', 'T',
       "1A", "CLARK"},
      {"subject view", ViewRequest::Subject, &classGrid, std::pair{6, 4}, 'V', 'S', "1A", "ADAMS"},
      {"school view", ViewRequest::School, &classGrid, std::nullopt, 'S', 'C', "1A", "ADAMS"},
      {"institution view", ViewRequest::Institution, &classGrid, std::nullopt, 'I', 'C', "1A", "ADAMS"},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    session.classes().first();
    session.resources().first();
    session.viewKind = 'C';
    session.pendingWindow = 'N';
    const GridCell* cell = c.cell ? &c.grid->at(c.cell->first, c.cell->second) : nullptr;
    EXPECT_TRUE(requestView(session, c.request, c.grid->owner(), cell));
    EXPECT_EQ(session.pendingWindow, c.pending);
    EXPECT_EQ(session.viewKind, c.viewKind);
    EXPECT_EQ(session.classes().current()->CLSNAME, c.currentClass);
    EXPECT_EQ(session.resources().current()->TCHNAME, c.currentResource);
  }

  testing::SchoolFixture empty;
  empty.session().pendingWindow = 'N';
  for (ViewRequest request : {ViewRequest::Class, ViewRequest::Resource, ViewRequest::Subject}) {
    EXPECT_FALSE(viewRequestEnabled(empty.session(), request));
    EXPECT_FALSE(requestView(empty.session(), request, {GridKind::School, 1}));
  }
  EXPECT_EQ(empty.session().pendingWindow, 'N');
  EXPECT_TRUE(viewRequestEnabled(empty.session(), ViewRequest::Institution));
}

}  // namespace
}  // namespace tavrel::grid
