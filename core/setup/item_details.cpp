#include "core/setup/item_details.h"

#include "core/setup/items.h"
#include "core/setup/schools.h"
#include "core/setup/subjects.h"
#include "core/util/text.h"

namespace tavrel::setup {

using namespace store;

namespace {

constexpr int kNameWidth = 25;

int indentIndex(GridKind kind) {
  switch (kind) {
    case GridKind::Class:
      return TAlloc::ALLOCLAS;
    case GridKind::Resource:
      return TAlloc::ALLOTEAC;
    case GridKind::Subject:
      return TAlloc::ALLOSUBJ;
  }
  return TAlloc::ALLOCLAS;
}

}  // namespace

std::optional<ItemDetails> itemDetails(Session& session, GridKind kind, int code) {
  Store& store = session.store();
  const int school = session.schoolCode();
  ItemDetails details;
  switch (kind) {
    case GridKind::Class: {
      auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
      if (!row) return std::nullopt;
      details = {.name = row->CLSNAME,
                 .indented = row->CLSREQLEC,
                 .allocated = row->CLSTOTALL,
                 .available = row->CLSTOTLEC,
                 .indentedThroughGroups = row->CLSREQMLT,
                 .allocatedThroughGroups = row->CLSMLTALL,
                 .group = row->CLSOPTION == "Y"};
      break;
    }
    case GridKind::Resource: {
      auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
      if (!row) return std::nullopt;
      details = {.name = row->TCHNAME,
                 .indented = row->TCHREQLEC,
                 .allocated = row->TALLOCLEC,
                 .available = row->TCHTOTLEC,
                 .indentedThroughGroups = row->TCHREQMLT,
                 .allocatedThroughGroups = row->TCHMLTALL,
                 .group = row->TCHOPTION == "Y",
                 .partTime = row->TPARTTIME == "Y",
                 .perSequence = row->TMAXCON,
                 .perDay = row->TMAXLEC,
                 .perWeek = row->TMAXLECWK};
      break;
    }
    case GridKind::Subject: {
      auto row = store.table<TSubj>().find(TSubj::SUBJCODE, {code});
      if (!row) return std::nullopt;
      details.name = row->SUBNAME;
      if (auto link = store.table<TSctl>().find(TSctl::primary, {school, code})) {
        details.indented = link->SCTREQLEC;
        details.allocated = link->SCTTOTALL;
      }
      break;
    }
  }
  return details;
}

void refuseCounterEdit(Prompter& prompter) {
  prompter.info(
      "Cannot edit this statistic. To repair statistics use Statistics Diagnostic in the Institution View.");
}

ItemCommands itemCommands(Session& session, GridKind kind, int code) {
  auto& indents = session.store().table<TAlloc>();
  const int school = session.schoolCode();
  ItemCommands commands;
  commands.deleteActive = indents.count(indentIndex(kind), {school, "Y", code}) > 0;
  commands.deletePassive = indents.count(indentIndex(kind), {school, "N", code}) > 0;
  commands.deleteBoth = commands.deleteActive && commands.deletePassive;
  commands.itemStatistics = commands.deleteActive || commands.deletePassive;
  commands.applySchoolAvailability = kind != GridKind::Subject;
  return commands;
}

bool postResourceDetails(Session& session, int code, const ResourcePanel& panel) {
  const std::pair<ResourceLimit, const std::string*> limits[] = {
      {ResourceLimit::Sequence, &panel.perSequence},
      {ResourceLimit::PerDay, &panel.perDay},
      {ResourceLimit::PerWeek, &panel.perWeek}};
  for (const auto& [limit, typed] : limits) {
    if (!checkResourceLimit(session, limit, *typed, DayBound::SchoolPeriods)) return false;
  }
  Store& store = session.store();
  Transaction tx(store);
  if (!renameItem(session, ItemKind::Resource, code, panel.name)) return false;
  TTeac row = *store.table<TTeac>().find(TTeac::TEACCODE, {session.schoolCode(), code});
  row.TPARTTIME.assign(1, panel.partTime ? 'Y' : 'N');
  row.TMAXCON = std::stoi(panel.perSequence);
  row.TMAXLEC = std::stoi(panel.perDay);
  row.TMAXLECWK = std::stoi(panel.perWeek);
  store.table<TTeac>().update(row);
  tx.commit();
  session.flush(kFlushResources);
  return true;
}

bool postSubjectDetails(Session& session, int code, const std::string& name) {
  Store& store = session.store();
  const std::string upper = text::cutToWidth(upperCase(name), kNameWidth);
  if (upper.empty()) {
    session.prompter().error("Subject name empty. Restoring old name.");
    return false;
  }
  auto subject = store.table<TSubj>().find(TSubj::SUBJCODE, {code});
  if (!subject) return false;
  auto other = store.table<TSubj>().find(TSubj::primary, {upper});
  if (other && other->SUBCODE != code) {
    session.prompter().error("Duplicate subject name: " + upper);
    return false;
  }
  Transaction tx(store);
  subject->SUBNAME = upper;
  store.table<TSubj>().update(*subject);
  ensureSubjectLink(store, session.schoolCode(), code);
  tx.commit();
  session.flush(kFlushSubjects);
  session.flush(kFlushSchoolSubjects);
  return true;
}

}  // namespace tavrel::setup
