#include "core/setup/schools.h"

#include <algorithm>
#include <cctype>

#include "core/store/day_words.h"
#include "core/store/encoded_lists.h"
#include "core/store/timetable_rows.h"
#include "core/store/week_frame.h"
#include "core/util/text.h"

namespace tavrel::setup {

using namespace store;

namespace {

bool isDayCount(const std::string& text) {
  return text.size() == 1 && text[0] >= '1' && text[0] <= '9';
}

std::string invalidDayCountMessage(const std::string& text) {
  return "\"" + text + "\" is invalid." + "Select valid no. of days in timtabling week cycle.";
}

int indentCount(Store& store, int school) {
  return store.table<TAlloc>().count(TAlloc::primary, {school});
}

bool hasClassesAndResources(Store& store, int school) {
  return store.table<TClas>().count(TClas::primary, {school}) > 0 &&
         store.table<TTeac>().count(TTeac::primary, {school}) > 0;
}

// The time of a period as another school already has it, so that a new school starts with the
// institution's bell times.
std::string knownPeriodTime(Store& store, int period) {
  for (const TRPTime& row : store.table<TRPTime>().range(TRPTime::RPTMLECTNO, {period})) {
    if (!row.RPTMTIME.empty()) return row.RPTMTIME;
  }
  return {};
}

void createReportSettings(Store& store, const TSchl& school) {
  for (int period = 1; period <= 12; ++period) {
    TRPLect lect;
    lect.RPLSCHL = school.SCHOOLCODE;
    lect.RPLECT = period;
    lect.RPLBOOL = true;
    store.table<TRPLect>().insert(lect);
    TRPTime time;
    time.RPTMSCHL = school.SCHOOLCODE;
    time.RPTMLECT = period;
    time.RPTMTIME = knownPeriodTime(store, period);
    store.table<TRPTime>().insert(time);
  }
  for (int day = 1; day <= 9; ++day) {
    TRPDay printed;
    printed.RPDSCHL = school.SCHOOLCODE;
    printed.RPDAY = day;
    printed.RPDBOOL = true;
    store.table<TRPDay>().insert(printed);
  }
  ReviseDays(store, school);
}

}  // namespace

std::string upperCase(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x80)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

void setInstitutionName(Store& store, const std::string& name) {
  Transaction tx(store);
  TInst inst = store.institution();
  inst.INSTITUTION = upperCase(name);
  store.saveInstitution(inst);
  tx.commit();
}

std::optional<int> createSchool(Session& session) {
  Store& store = session.store();
  auto& schools = store.table<TSchl>();
  if (schools.count(TSchl::primary) >= kMostSchools) {
    session.prompter().info("No room for new School.");
    return std::nullopt;
  }
  Transaction tx(store);
  TInst inst = store.institution();
  const int code = inst.ISECTION + 1;
  TSchl school;
  school.SNAME = "SCHOOL" + std::to_string(code);
  while (schools.find(TSchl::primary, {school.SNAME})) school.SNAME += "+";
  school.SCHOOLCODE = code;
  school.SREGN = "STANDARD";
  school.SWRKDAYS = 912;
  school.STOTLEC = 108;
  school.SMAXLEC = 12;
  school.SSAVEDONE = "N";
  if (schools.insert(school) != WriteStatus::Ok) return std::nullopt;
  inst.ISECTION = code;
  store.saveInstitution(inst);
  createReportSettings(store, school);
  tx.commit();
  session.flush(kFlushSchools);
  session.setSchool(code);
  return code;
}

void ReviseDays(Store& store, const TSchl& school) {
  auto& dates = store.table<TRPDate>();
  dates.removeRange(TRPDate::primary, {school.SCHOOLCODE});
  for (int day = 1; day <= 9; ++day) {
    TRPDate row;
    row.RPDSCHL = school.SCHOOLCODE;
    row.RPDNO = day;
    row.RPDDAY = DayWords(day, school);
    dates.insert(row);
  }
}

RecessText recessText(const std::array<bool, 11>& ticks) {
  constexpr std::size_t kWidth = 10;
  RecessText result;
  for (int period = 1; period <= 11; ++period) {
    if (!ticks[static_cast<std::size_t>(period - 1)]) continue;
    std::string member = "," + std::to_string(period);
    if (result.text.size() + member.size() <= kWidth) {
      result.text += member;
    } else {
      result.dropped.push_back(period);
    }
  }
  return result;
}

std::array<bool, 11> recessTicks(const std::string& srecess) {
  std::array<bool, 11> ticks{};
  for (int period : listMembers(srecess)) {
    if (period >= 1 && period <= 11) ticks[static_cast<std::size_t>(period - 1)] = true;
  }
  return ticks;
}

DetailsBaseline detailsBaseline(const TSchl& school) {
  DetailsBaseline baseline;
  baseline.name = school.SNAME;
  baseline.weekSetup = school.SREGN;
  baseline.dayCountText = std::to_string(daysInCycle(school.SWRKDAYS));
  baseline.swrkdays = school.SWRKDAYS;
  baseline.stotlec = school.STOTLEC;
  return baseline;
}

DetailsFollowUp leaveDetails(Session& session, const SchoolDetails& details, DetailsBaseline& baseline,
                             const DetailsActions& actions) {
  Store& store = session.store();
  Prompter& prompter = session.prompter();
  DetailsFollowUp outcome;
  auto current = session.school();
  if (!current) return outcome;
  TSchl school = *current;

  const std::string name = upperCase(details.name);
  if (name.empty()) {
    prompter.error("Enter School name.");
    outcome.refused = true;
    outcome.restoredName = baseline.name;
    return outcome;
  }
  if (auto other = store.table<TSchl>().find(TSchl::primary, {text::cutToWidth(name, 50)});
      other && other->SCHOOLCODE != school.SCHOOLCODE) {
    prompter.error("Duplicate School name. Restoring old name.");
    outcome.refused = true;
    outcome.restoredName = baseline.name;
    return outcome;
  }
  school.SNAME = name;
  if (!isDayCount(details.dayCountText)) {
    prompter.error(invalidDayCountMessage(details.dayCountText));
    outcome.refused = true;
    outcome.restoredDayCount = baseline.dayCountText;
    return outcome;
  }

  Transaction tx(store);
  school.SREMARK = upperCase(details.remark);
  school.SWRKDAYS = std::stoi(details.dayCountText) * 100 + periodsPerDay(school.SWRKDAYS);
  school.SRECESS = recessText(details.recess).text;
  store.table<TSchl>().update(school);
  // Day titles typed in the print setup survive edits that do not change the days themselves.
  if (details.dayCountText != baseline.dayCountText) ReviseDays(store, school);
  tx.commit();
  session.flush(kFlushSchools);

  if (school.SREGN != baseline.weekSetup && indentCount(store, school.SCHOOLCODE) > 0) {
    prompter.warning("You have changed the Week Setup from " + baseline.weekSetup + " to " + school.SREGN +
                     ". " + "This affects the Day text in your indent constraints.  " +
                     "It may be a good idea to review and reselect the indent constraints " +
                     "in context of the new Week Setup.");
  }
  if (details.dayCountText != baseline.dayCountText &&
      periodsPerDay(school.SWRKDAYS) == periodsPerDay(baseline.swrkdays) &&
      school.STOTLEC == baseline.stotlec && !baseline.availabilitySetupDone) {
    if (prompter.ask(
            MessageKind::Warning,
            "Altering number of days in Week Cycle only changes the timetable framework. Use Availability "
            "Setup to effectively alter the periods available for allocation. Select Yes to launch the "
            "Availability Setup window.")) {
      if (actions.availabilitySetup) actions.availabilitySetup();
      baseline.availabilitySetupDone = true;
    }
  }
  school = *session.school();
  if ((school.SWRKDAYS != baseline.swrkdays || school.STOTLEC != baseline.stotlec) &&
      hasClassesAndResources(store, school.SCHOOLCODE)) {
    if (prompter.ask(
            MessageKind::Warning,
            "School availability has changed. Applying new availability to  all Classes and Resources. "
            "Later, you will need to reset the special availability, if any, of individual Classes or "
            "Resources. Ok to Apply?")) {
      if (actions.applyAvailabilityToAll) actions.applyAvailabilityToAll();
    } else {
      prompter.warning(
          "You have chosen not to apply School availability to Classes and   Resources. You must apply this "
          "sooner than later. And for doing so,  select this option from pop up menu by right clicking on "
          "the "
          "School in the School Grid in this Institution View window.");
    }
  }
  baseline = detailsBaseline(*session.school());
  return outcome;
}

void changeWeekSetup(Session& session, const std::string& weekSetup) {
  auto school = session.school();
  if (!school) return;
  Transaction tx(session.store());
  school->SREGN = weekSetup;
  session.store().table<TSchl>().update(*school);
  ReviseDays(session.store(), *school);
  tx.commit();
  session.flush(kFlushSchools);
}

namespace {

bool hasSchoolRows(Store& store, int school) {
  return store.table<TTtbl>().count(TTtbl::TIMESCHL, {school, "L", school}) > 0;
}

// `TTAppnd` at school level for the current school.
bool makeSchoolRows(Session& session, Progress& progress) {
  const char view = session.viewKind;
  session.viewKind = 'L';
  bool made = TTAppnd(session, progress, session.schoolCode(), 1);
  session.viewKind = view;
  return made;
}

}  // namespace

bool prepareAvailabilitySetup(Session& session, Progress& progress, const std::string& dayCountText) {
  auto school = session.school();
  if (!school) return false;
  if (!isDayCount(dayCountText)) {
    session.prompter().error(invalidDayCountMessage(dayCountText));
    return false;
  }
  Transaction tx(session.store());
  school->SWRKDAYS = std::stoi(dayCountText) * 100 + periodsPerDay(school->SWRKDAYS);
  session.store().table<TSchl>().update(*school);
  tx.commit();
  session.flush(kFlushSchools);
  return hasSchoolRows(session.store(), school->SCHOOLCODE) || makeSchoolRows(session, progress);
}

void availabilitySetupFinished(Session& session) {
  auto school = session.school();
  if (!school) return;
  int busiest = 0;
  for (int day = 1; day <= 9; ++day) {
    int available = 0;
    for (const TTtbl& cell : session.store().table<TTtbl>().range(
             TTtbl::TIMESCHL, {school->SCHOOLCODE, "L", school->SCHOOLCODE, day})) {
      if (cell.TSUBJECT != 0) ++available;
    }
    busiest = std::max(busiest, available);
  }
  Transaction tx(session.store());
  school->SMAXLEC = busiest;
  if (periodsPerDay(school->SWRKDAYS) < busiest)
    school->SWRKDAYS = daysInCycle(school->SWRKDAYS) * 100 + busiest;
  session.store().table<TSchl>().update(*school);
  tx.commit();
  session.flush(kFlushSchools);
}

bool deleteSchool(Session& session, Progress& progress, int schoolCode) {
  Prompter& prompter = session.prompter();
  if (!prompter.ask(MessageKind::Warning, "Deleting School. Ok?")) return false;
  Store& store = session.store();
  auto school = store.table<TSchl>().find(TSchl::SCLCODE, {schoolCode});
  if (!school) {
    prompter.beep();
    return false;
  }
  Transaction tx(store);
  auto erase = [&](auto& table, int index) {
    int rows = table.count(index, {schoolCode});
    progress.show("Deleting School...", rows);
    table.removeRange(index, {schoolCode});
    progress.step(rows);
  };
  erase(store.table<TTeac>(), TTeac::primary);
  erase(store.table<TTOcc>(), TTOcc::primary);
  erase(store.table<TSOcc>(), TSOcc::primary);
  erase(store.table<TTDMAll>(), TTDMAll::primary);
  erase(store.table<TTDAll>(), TTDAll::primary);
  erase(store.table<TSDAll>(), TSDAll::primary);
  erase(store.table<TClas>(), TClas::primary);
  erase(store.table<TSctl>(), TSctl::primary);
  erase(store.table<TOptn>(), TOptn::primary);
  erase(store.table<TAlloc>(), TAlloc::primary);
  erase(store.table<TTtbl>(), TTtbl::TIMESERL);
  erase(store.table<TRPLect>(), TRPLect::primary);
  erase(store.table<TRPDay>(), TRPDay::primary);
  erase(store.table<TRPTime>(), TRPTime::primary);
  erase(store.table<TRPDate>(), TRPDate::primary);
  erase(store.table<TProxy>(), TProxy::primary);
  // The engine's working copies of the school's indents go with it.
  erase(store.table<TAPara>(), TAPara::primary);
  erase(store.table<TRPara>(), TRPara::primary);
  store.table<TSchl>().remove(*school);
  tx.commit();
  progress.hide();
  session.flush(kFlushSchools);
  if (session.schoolCode() == schoolCode || !session.school()) session.selectFirstSchool();
  return true;
}

bool makeMissingAvailabilityRows(Session& session, Progress& progress) {
  Store& store = session.store();
  const int remembered = session.schoolCode();
  const char rememberedKind = session.viewKind;
  bool done = true;
  for (const TSchl& school : store.table<TSchl>().range(TSchl::primary)) {
    const int code = school.SCHOOLCODE;
    if (store.table<TTtbl>().count(TTtbl::TIMESCHL, {code, "L", code}) > 0) continue;
    session.setSchool(code);
    session.viewKind = 'L';
    if (!TTAppnd(session, progress, code, 1)) {
      done = false;
      break;
    }
  }
  if (remembered != 0) session.setSchool(remembered);
  session.viewKind = rememberedKind;
  return done;
}

SchoolCommands schoolCommands(Store& store, std::optional<int> schoolCode) {
  SchoolCommands commands;
  if (!schoolCode) return commands;
  const int school = *schoolCode;
  auto& indents = store.table<TAlloc>();
  const bool active = indents.count(TAlloc::ALLOFLAG, {school, "Y"}) > 0;
  const bool passive = indents.count(TAlloc::ALLOFLAG, {school, "N"}) > 0;
  const bool classes = store.table<TClas>().count(TClas::primary, {school}) > 0;
  const bool resources = store.table<TTeac>().count(TTeac::primary, {school}) > 0;
  const bool links = store.table<TSctl>().count(TSctl::primary, {school}) > 0;
  commands.undoAllocations = active;
  commands.makePassiveActive = passive;
  commands.makeActivePassive = active;
  commands.deletePassive = passive;
  commands.deleteActive = active;
  commands.deleteAll = active || passive;
  commands.deleteSchool = true;
  commands.applyToClasses = classes;
  commands.applyToResources = resources;
  commands.applyToBoth = classes && resources;
  commands.classStatistics = classes;
  commands.resourceStatistics = resources;
  commands.subjectStatistics = links;
  commands.schoolStatistics = active;
  commands.diagnostics = classes || resources || links;
  return commands;
}

}  // namespace tavrel::setup
