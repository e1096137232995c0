// The institution and its schools: creating, renaming and deleting schools, the details of a
// school (remark, week setup, days in the cycle, recess positions), the follow-up of its
// availability setup, and which school-wide commands apply to a school.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/session.h"

namespace tavrel::setup {

constexpr int kMostSchools = 9;

// Institution name and school texts are kept in upper case.
std::string upperCase(std::string text);
void setInstitutionName(store::Store& store, const std::string& name);

// Creates a school with the next code, "SCHOOL<code>" (with "+" until unique), a 9-day week of
// 12 periods and its report settings, and makes it current. Shows "No room for new School." when
// nine schools exist. The school's availability rows are made when first needed.
std::optional<int> createSchool(store::Session& session);

// `ReviseDays`: the school's day titles for reports, rebuilt with the day names of its week.
void ReviseDays(store::Store& store, const store::TSchl& school);

// Recess positions as the tick boxes 1 to 11 show them, and back. The field holds 10 characters:
// ticks that do not fit are left out whole (a position is never stored cut, which would read as
// another position); `dropped` names them so the window can say so.
struct RecessText {
  std::string text;
  std::vector<int> dropped;
};
RecessText recessText(const std::array<bool, 11>& ticks);
std::array<bool, 11> recessTicks(const std::string& srecess);

// The details panel of the chosen school: what the person typed, and what it was on entry.
struct SchoolDetails {
  std::string name;
  std::string remark;
  std::string dayCountText;  // "1" to "9"
  std::array<bool, 11> recess{};
};

struct DetailsBaseline {
  std::string name;
  std::string weekSetup;
  std::string dayCountText;
  int swrkdays = 0;
  int stotlec = 0;
  bool availabilitySetupDone = false;
};

// Baseline of a school as the panel is entered.
DetailsBaseline detailsBaseline(const store::TSchl& school);

// The outcome of leaving the panel: when refused, a message was shown and the value to put back is
// given.
struct DetailsFollowUp {
  bool refused = false;
  std::string restoredName;
  std::string restoredDayCount;
};

// What the follow-up questions start when answered Yes: the availability setup of the school (a
// window) and applying the school's availability to all its classes and resources.
struct DetailsActions {
  std::function<void()> availabilitySetup;
  std::function<void()> applyAvailabilityToAll;
};

// Leaving the details panel: checks and stores name, remark, day count and recess positions,
// warns about a changed week setup, and asks the follow-up questions. The baseline is updated.
DetailsFollowUp leaveDetails(store::Session& session, const SchoolDetails& details, DetailsBaseline& baseline,
                             const DetailsActions& actions = {});

// Choosing another week setup takes effect at once.
void changeWeekSetup(store::Session& session, const std::string& weekSetup);

// Before the availability window of the school opens: the day count must be "1" to "9" (else the
// message is shown and false returned), it becomes the school's days in the cycle, and the school's
// availability rows are made when it has none yet. False also when making them was cancelled.
bool prepareAvailabilitySetup(store::Session& session, Progress& progress, const std::string& dayCountText);

// After the availability window of the school closed: the largest number of available periods
// of a day becomes `SMAXLEC`, and the periods per day are raised to it (never lowered).
void availabilitySetupFinished(store::Session& session);

// Deletes the school and every row it owns after "Deleting School. Ok?"; its code is not reused.
bool deleteSchool(store::Session& session, Progress& progress, int schoolCode);

// Leaving the institution view: every school still without its own availability rows gets them
// (all periods available), so that the classes and resources made next find the school's week.
// Schools are made without them because the person may shape the week first. The current school
// stays current. False when the person cancelled the row creation.
bool makeMissingAvailabilityRows(store::Session& session, Progress& progress);

// Which commands of the school grid's popup apply to a school.
struct SchoolCommands {
  bool undoAllocations = false;
  bool makePassiveActive = false;
  bool makeActivePassive = false;
  bool deletePassive = false;
  bool deleteActive = false;
  bool deleteAll = false;
  bool deleteSchool = false;
  bool applyToClasses = false;
  bool applyToResources = false;
  bool applyToBoth = false;
  bool classStatistics = false;
  bool resourceStatistics = false;
  bool subjectStatistics = false;
  bool schoolStatistics = false;
  bool diagnostics = false;
};
SchoolCommands schoolCommands(store::Store& store, std::optional<int> schoolCode);

}  // namespace tavrel::setup
