#include "tests/support/document_school.h"

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "core/indents/activation.h"
#include "core/setup/constraint_derivation.h"
#include "core/store/encoded_lists.h"

namespace tavrel::testing {

using namespace store;
using exchange::SchoolDocument;

namespace {

constexpr int kFree = 999;

struct Week {
  int days;
  int periods;
  std::set<std::pair<int, int>> closed;
  bool open(int day, int period) const {
    return day <= days && period <= periods && !closed.count({day, period});
  }
};

std::set<std::pair<int, int>> slotSet(const std::vector<exchange::Slot>& slots) {
  std::set<std::pair<int, int>> set;
  for (const exchange::Slot& slot : slots) set.insert({slot.day, slot.period});
  return set;
}

// The owner's 108 rows: free where the school works and the owner is available.
int writeRows(Store& store, int school, char kind, int owner, const Week& week,
              const std::set<std::pair<int, int>>& away) {
  int available = 0;
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      const bool free = week.open(day, period) && !away.count({day, period});
      available += free ? 1 : 0;
      const int content = free ? kFree : 0;
      TTtbl row{.TSCHOOL = school,
                .TTYPE = std::string(1, kind),
                .TCLASS = kind == 'C' ? owner : content,
                .TTEACHER = kind == 'T' ? owner : content,
                .TSUBJECT = content,
                .TDAY = day,
                .TLECTNO = period,
                .TSCHL = owner};
      store.table<TTtbl>().insert(row);
    }
  }
  return available;
}

template <class Map>
int codeOf(const Map& codes, const std::string& name) {
  auto found = codes.find(name);
  if (found == codes.end()) throw std::invalid_argument("document school: unknown name " + name);
  return found->second;
}

}  // namespace

DocumentSchool writeDocumentSchool(Session& session, const SchoolDocument& document) {
  Store& store = session.store();
  DocumentSchool result;
  std::vector<int> serials;
  {
    Transaction tx(store);
    TInst institution = store.institution();
    const int school = institution.ISECTION + 1;
    result.school = school;
    const Week week{document.days, document.periodsPerDay, slotSet(document.notAvailable)};
    const int swrkdays = document.days * 100 + document.periodsPerDay;

    std::map<std::string, int> subjects;
    for (const exchange::SubjectEntry& entry : document.subjects) {
      auto existing = store.table<TSubj>().find(TSubj::primary, {entry.name});
      int code = existing ? existing->SUBCODE : ++institution.ISUBJECT;
      if (!existing) {
        TSubj row{.SUBNAME = entry.name, .SUBCODE = code};
        store.table<TSubj>().insert(row);
      }
      subjects[entry.name] = code;
      TSctl link{.SCTSCHOOL = school, .SCTCODE = code, .SCTNOTES = entry.notes};
      store.table<TSctl>().insert(link);
    }
    institution.ISECTION = school;
    store.saveInstitution(institution);

    std::map<std::string, int> classes;
    for (std::size_t i = 0; i < document.classes.size(); ++i) classes[document.classes[i].name] = static_cast<int>(i) + 1;
    std::map<std::string, int> resources;
    for (std::size_t i = 0; i < document.resources.size(); ++i)
      resources[document.resources[i].name] = static_cast<int>(i) + 1;

    for (const exchange::ClassEntry& entry : document.classes) {
      const int code = classes[entry.name];
      TClas row{.CSCHOOL = school,
                .CLSNAME = entry.name,
                .CLSCODE = code,
                .CLSOPTION = entry.members.empty() ? "N" : "Y",
                .CLSNOTES = entry.notes};
      row.CLSTOTLEC = writeRows(store, school, 'C', code, week, slotSet(entry.notAvailable));
      store.table<TClas>().insert(row);
      for (const std::string& member : entry.members) {
        TOptn link{.OPSCHOOL = school, .OPTYPE = "C", .OPMAINCODE = code, .OPSUBCODE = codeOf(classes, member)};
        store.table<TOptn>().insert(link);
      }
    }
    for (const exchange::ResourceEntry& entry : document.resources) {
      const int code = resources[entry.name];
      TTeac row{.TSCHOOL = school,
                .TCHNAME = entry.name,
                .TCHCODE = code,
                .TCHOPTION = entry.members.empty() ? "N" : "Y",
                .TMAXLEC = entry.perDay > 0 ? entry.perDay : institution.IDTUL_DAY,
                .TMAXLECWK = entry.perWeek > 0 ? entry.perWeek : institution.IDTUL_WEEK,
                .TMAXCON = entry.sequence > 0 ? entry.sequence : institution.IDTSQUL,
                .TPARTTIME = entry.partTime ? "Y" : "N",
                .TCHNOTES = entry.notes};
      row.TCHTOTLEC = writeRows(store, school, 'T', code, week, slotSet(entry.notAvailable));
      store.table<TTeac>().insert(row);
      for (const std::string& member : entry.members) {
        TOptn link{.OPSCHOOL = school, .OPTYPE = "T", .OPMAINCODE = code, .OPSUBCODE = codeOf(resources, member)};
        store.table<TOptn>().insert(link);
      }
    }
    for (const exchange::DayLimit& limit : document.subjectLimits) {
      TSOcc row{.SOSCHOOL = school,
                .SOCLASS = codeOf(classes, limit.className),
                .SOSUBJECT = codeOf(subjects, limit.item),
                .SOCCURENCE = limit.perDay};
      store.table<TSOcc>().insert(row);
    }
    for (const exchange::DayLimit& limit : document.resourceLimits) {
      TTOcc row{.TOSCHOOL = school,
                .TOCLASS = codeOf(classes, limit.className),
                .TOTEACHER = codeOf(resources, limit.item),
                .TOCCURENCE = limit.perDay};
      store.table<TTOcc>().insert(row);
    }

    const setup::ConstraintWeek constraintWeek = setup::constraintWeek(swrkdays, document.weekSetup);
    int serial = 0;
    for (const exchange::IndentEntry& entry : document.indents) {
      const bool cluster = entry.clusterSize >= 2;
      auto values = setup::deriveConstraint(entry.constraint, constraintWeek, cluster ? entry.clusterSize : 0);
      if (!values) throw std::invalid_argument("document school: " + values.error());
      TAlloc row{.ASCHOOL = school,
                 .ASERIALNO = ++serial,
                 .ACLASS = codeOf(classes, entry.className),
                 .ATEACHER = codeOf(resources, entry.resource),
                 .ASUBJECT = codeOf(subjects, entry.subject),
                 .AQUERY = values->text,
                 .ANOOFLEC = entry.periods,
                 .ACLUSWEEK = cluster ? entry.clustersPerWeek : 0,
                 .AINCLUSOF = cluster ? entry.clusterSize : 0,
                 .AACTIVE = "N",
                 .ASTDAY = values->firstDay,
                 .AENDAY = values->lastDay,
                 .ASTLEC = values->firstPeriod,
                 .AENLEC = values->lastPeriod,
                 .ALISTDAY = values->dayList,
                 .ALISTLEC = values->periodList,
                 .ARECESS = (cluster ? !entry.recessPermissible : entry.onePerDay) ? "N" : "Y"};
      store.table<TAlloc>().insert(row);
      if (entry.active) serials.push_back(serial);
    }

    TSchl record{.SNAME = document.name,
                 .SCHOOLCODE = school,
                 .SREGN = document.weekSetup,
                 .SWRKDAYS = swrkdays,
                 .SREMARK = document.remark,
                 .STOTLEC = document.days * document.periodsPerDay,
                 .SMAXLEC = document.periodsPerDay,
                 .STOTCLS = static_cast<int>(document.classes.size()),
                 .STOTTCH = static_cast<int>(document.resources.size()),
                 .SALLSERIAL = serial,
                 .SSAVEDONE = "N"};
    for (int period : document.recess) record.SRECESS += "," + std::to_string(period);
    store.table<TSchl>().insert(record);
    writeRows(store, school, 'L', school, week, {});
    tx.commit();
  }
  if (!session.setSchool(result.school)) throw std::logic_error("document school: cannot open the school");
  result.refused = indents::ActivateAll(session, serials);
  for (const TAlloc& indent : store.table<TAlloc>().range(TAlloc::primary, {result.school})) {
    if (indent.AACTIVE == "Y") result.periods += indent.ANOOFLEC;
  }
  return result;
}

}  // namespace tavrel::testing
