#include "core/grid/grid_frame.h"

#include "core/store/week_frame.h"

namespace tavrel::grid {

using namespace store;

std::string listFilterText(const ListChoice& choice) {
  const bool measured = choice.status == StatusChoice::Allocated || choice.status == StatusChoice::Incomplete;
  return choice.statusCaption + (measured ? choice.basisCaption : "");
}

std::string gridCaption(Session& session, GridKind kind) {
  auto school = session.school();
  const std::string name = school ? school->SNAME : "";
  switch (kind) {
    case GridKind::Class:
      return name + " - Class Availability/Timetable (" + listFilterText(session.choice('C')) + ")";
    case GridKind::Resource:
      return name + " - Resource Availability/Timetable (" + listFilterText(session.choice('T')) + ")";
    case GridKind::School:
      return name + " - School Availability";
  }
  return name;
}

WindowGeometry gridWindowGeometry(int swrkdays, GridKind kind) {
  if (kind == GridKind::School) return {480 - 50 * 9, 342 - 20 * 12, 950, 567};
  const int days = daysInCycle(swrkdays);
  const int periods = periodsPerDay(swrkdays);
  return {480 - 50 * days, 342 - 20 * periods, 101 * days + 38, 40 * periods + 84};
}

bool toolbarNoticeDue(int swrkdays, GridKind kind, int previousWidth) {
  if (kind == GridKind::School || daysInCycle(swrkdays) >= 6) return false;
  return gridWindowGeometry(swrkdays, kind).width != previousWidth;
}

}  // namespace tavrel::grid
