#include "core/reports/report_setup.h"

#include "core/reports/report_catalogue.h"

namespace tavrel::reports {

using namespace store;

namespace {

bool hasItems(Store& store, int school, char view) {
  switch (view) {
    case 'C': return store.table<TClas>().count(TClas::primary, {school}) > 0;
    case 'T': return store.table<TTeac>().count(TTeac::primary, {school}) > 0;
    default: return store.table<TSctl>().count(TSctl::primary, {school}) > 0;
  }
}

bool needsActiveIndents(ReportKind kind) { return kind != ReportKind::List; }

bool hasActiveIndents(Store& store, int school) {
  return store.table<TAlloc>().count(TAlloc::ALLOCLS, {school, "Y"}) > 0;
}

}  // namespace

std::string reportSetupCaption(const TSchl& school) { return school.SNAME + " - Report Setup"; }

std::optional<ReportStep> reportSetupNext(Session& session, int code) {
  const auto kind = reportKind(code);
  const char view = reportView(code);
  if (view) session.viewKind = view;
  Store& store = session.store();
  const int school = session.schoolCode();
  if (!kind || !hasItems(store, school, view) ||
      (needsActiveIndents(*kind) && !hasActiveIndents(store, school))) {
    session.prompter().error(kNoDataForReport);
    return std::nullopt;
  }
  return *kind == ReportKind::SchoolFreePeriods ? ReportStep::PrintSetup : ReportStep::Selection;
}

}  // namespace tavrel::reports
