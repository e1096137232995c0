// Which commands of the main window the data allow: the command refresh that runs whenever the
// main window repaints without a pending window. The window maps each flag onto its menu items
// and speed buttons; commands that do not depend on the data (Exit, Defaults, the tools, About,
// Tips) are always allowed and have no flag here.
#pragma once

#include "core/store/session.h"
#include "core/store/store.h"

namespace tavrel::shell {

struct CommandState {
  bool institutionView = true;  // also "&New" → "&School"; the only view without a school
  bool schoolView = false;      // also "&New" → "&Class", "&Resource", "S&ubject"
  bool openSchool = false;      // only with two or more schools to choose from
  bool resetInstitution = false;
  bool classView = false;     // also the class availability / timetable
  bool resourceView = false;  // also the resource availability / timetable
  bool subjectView = false;
  bool availability = false;  // the "&Availability" menu: either of its items
  bool allocate = false;      // "&A&llocate" with its items, and "Pro&xy": needs an active indent
  bool reports = false;       // also "&Period/Allocation Indent": needs one of the three views
  bool interSchool = false;   // copying between schools needs two of them
};

// What the data allow now, without changing anything.
CommandState commandState(store::Store& store, const store::Session& session);

// The command refresh: with schools present but none current the first in name order becomes
// current, and the institution's upper limits follow the current school; then `commandState`.
CommandState refreshCommands(store::Store& store, store::Session& session);

// The institution's default upper limits per day and per week (`IDTUL_DAY`, `IDTUL_WEEK`) follow
// the current school's periods per day and per week (`SMAXLEC`, `STOTLEC`), so the defaults the
// allocation offers always fit the school being worked on. Posts only when they differ.
void syncInstitutionLimits(store::Store& store, const store::Session& session);

}  // namespace tavrel::shell
