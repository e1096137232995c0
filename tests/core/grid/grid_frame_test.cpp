#include "core/grid/grid_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/school_fixture.h"

namespace tavrel::grid {
namespace {

TEST(GridFrame, CaptionNamesTheSchoolTheKindAndTheListFilter) {
  testing::SchoolFixture f;
  store::Session& session = f.session();
  EXPECT_EQ(gridCaption(session, GridKind::Class), "SCHOOL1 - Class Availability/Timetable (All)");
  EXPECT_EQ(gridCaption(session, GridKind::School), "SCHOOL1 - School Availability");
  session.set_gb_f(1, 'T', 3);
  session.set_gb_f(2, 'T', 2);
  EXPECT_EQ(gridCaption(session, GridKind::Resource),
            "SCHOOL1 - Resource Availability/Timetable (Incomplete w.r.t. Available)");
  session.set_gb_f(1, 'C', 5);
  session.set_gb_f(2, 'C', 2);
  EXPECT_EQ(gridCaption(session, GridKind::Class),
            "SCHOOL1 - Class Availability/Timetable (Passive Present)");
}

TEST(GridFrame, TheWindowIsSizedAndPlacedFromTheWeek) {
  struct Case {
    int swrkdays;
    GridKind kind;
    WindowGeometry geometry;
  };
  const std::vector<Case> cases = {
      {508, GridKind::Class, {230, 182, 543, 404}},
      {912, GridKind::Resource, {30, 102, 947, 564}},
      {612, GridKind::Class, {180, 102, 644, 564}},
      {508, GridKind::School, {30, 102, 950, 567}},
  };
  for (const Case& c : cases) EXPECT_EQ(gridWindowGeometry(c.swrkdays, c.kind), c.geometry) << c.swrkdays;
}

TEST(GridFrame, AShortWeekWarnsOfTheTruncatedToolbarWhenTheWidthChanges) {
  EXPECT_EQ(kToolbarTruncated,
            "Availability window toolbar will appear truncated since number of days in the School setup are "
            "less than 6. You may press F2 key in the window to avail menu selection.");
  EXPECT_TRUE(toolbarNoticeDue(508, GridKind::Class, 947));
  EXPECT_FALSE(toolbarNoticeDue(508, GridKind::Class, 543));
  EXPECT_FALSE(toolbarNoticeDue(612, GridKind::Resource, 543));
  EXPECT_FALSE(toolbarNoticeDue(508, GridKind::School, 543));
}

}  // namespace
}  // namespace tavrel::grid
