#include "core/shell/upgrade.h"

#include "core/store/day_words.h"
#include "core/store/timetable_rows.h"

namespace tavrel::shell {

using namespace store;

namespace {

constexpr int kLiveFrame = 612;
constexpr int kSampleFrame = 608;

void addReportDays(Store& store, const TSchl& school) {
  auto& days = store.table<TRPDate>();
  for (int day = 1; day <= 9; ++day) {
    // A day the school already has keeps the title and date the person gave it.
    TRPDate row;
    row.RPDSCHL = school.SCHOOLCODE;
    row.RPDNO = day;
    row.RPDDAY = DayWords(day, school);
    days.insert(row);
  }
}

}  // namespace

UpgradeOutcome ChkUpgrade(Session& session, Progress& progress) {
  auto school = session.school();
  if (!school || school->SWRKDAYS > 0) return {};
  Store& store = session.store();
  const int code = school->SCHOOLCODE;
  progress.show("Upgrading Data...", school->STOTCLS + school->STOTTCH + 2);

  UpgradeOutcome outcome;
  Transaction tx(store);
  auto complete = [&](char kind, int owner, const std::string& words) {
    OwnerCompletion completion = completeNineDayRows(store, code, kind, owner);
    if (completion.result == RowCompletion::CannotComplete || completion.result == RowCompletion::Irregular) {
      outcome.ownersLeft.push_back(words + ": " + std::to_string(completion.rowsFound) +
                                   " timetable rows, which cannot be completed to the nine-day week; "
                                   "left as they are.");
    }
    progress.step();
  };
  complete('L', code, "the school " + school->SNAME);
  for (int cls = 1; cls <= school->STOTCLS; ++cls) complete('C', cls, "class code " + std::to_string(cls));
  for (int resource = 1; resource <= school->STOTTCH; ++resource) {
    complete('T', resource, "resource code " + std::to_string(resource));
  }

  if (outcome.ownersLeft.empty()) {
    school->SWRKDAYS = store.dataSet() == DataSet::Live ? kLiveFrame : kSampleFrame;
    store.table<TSchl>().update(*school);
    addReportDays(store, *school);
    outcome.result = UpgradeResult::Upgraded;
  } else {
    outcome.result = UpgradeResult::Failed;
    outcome.message = upgradeFailedMessage();
  }
  progress.step();
  tx.commit();
  return outcome;
}

}  // namespace tavrel::shell
