#include "core/store/default_constraint.h"

#include "core/store/encoded_lists.h"
#include "core/store/week_frame.h"

namespace tavrel::store {

DefaultConstraint qry_init(int swrkdays) {
  int periods = periodsPerDay(swrkdays);
  int days = daysInCycle(swrkdays);
  if (periods < 1 || periods > 12) periods = 12;
  if (days < 1 || days > 9) days = 9;
  DefaultConstraint constraint;
  constraint.AQUERY = "None";
  constraint.ASTLEC = 1;
  constraint.AENLEC = periods;
  constraint.ASTDAY = 1;
  constraint.AENDAY = days;
  constraint.ALISTLEC = BldNoStr(periods);
  constraint.ALISTDAY = BldNoStr(days);
  return constraint;
}

void AsgnDefault(TAlloc& indent, const DefaultConstraint& constraint) {
  indent.AQUERY = constraint.AQUERY;
  indent.ASTLEC = constraint.ASTLEC;
  indent.AENLEC = constraint.AENLEC;
  indent.ASTDAY = constraint.ASTDAY;
  indent.AENDAY = constraint.AENDAY;
  indent.ALISTLEC = constraint.ALISTLEC;
  indent.ALISTDAY = constraint.ALISTDAY;
}

}  // namespace tavrel::store
