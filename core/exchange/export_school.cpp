#include "core/exchange/export_school.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/store/encoded_lists.h"
#include "core/store/lookups.h"
#include "core/store/week_frame.h"

namespace tavrel::exchange {

using namespace store;

namespace {

struct Frame {
  int days;
  int periods;
  bool inside(const TTtbl& cell) const { return cell.TDAY <= days && cell.TLECTNO <= periods; }
};

Frame frameOf(const TSchl& school) {
  // A school stored before the week frame counts as the full grid.
  if (school.SWRKDAYS <= 0) return {9, 12};
  return {std::clamp(daysInCycle(school.SWRKDAYS), 1, 9), std::clamp(periodsPerDay(school.SWRKDAYS), 1, 12)};
}

// Only the cells inside the week are listed: outside it nothing is ever available.
std::vector<Slot> notAvailable(const std::vector<TTtbl>& cells, const Frame& frame) {
  std::vector<Slot> slots;
  for (const TTtbl& cell : cells) {
    if (cell.TSUBJECT == 0 && frame.inside(cell)) slots.push_back({cell.TDAY, cell.TLECTNO});
  }
  return slots;
}

std::vector<std::string> memberNames(Store& store, int school, const char* type, int group) {
  std::vector<std::string> names;
  for (const TOptn& row : store.table<TOptn>().range(TOptn::primary, {school, type, group})) {
    names.push_back(type[0] == 'C' ? className(store, school, row.OPSUBCODE)
                                   : resourceName(store, school, row.OPSUBCODE));
  }
  std::sort(names.begin(), names.end());
  return names;
}

template <class Row>
std::vector<DayLimit> limitsOf(Store& store, int school, std::vector<Row> rows) {
  std::vector<DayLimit> limits;
  for (const Row& row : rows) {
    if constexpr (std::is_same_v<Row, TSOcc>) {
      limits.push_back(
          {className(store, school, row.SOCLASS), subjectName(store, row.SOSUBJECT), row.SOCCURENCE});
    } else {
      limits.push_back({className(store, school, row.TOCLASS), resourceName(store, school, row.TOTEACHER),
                        row.TOCCURENCE});
    }
  }
  std::sort(limits.begin(), limits.end(), [](const DayLimit& a, const DayLimit& b) {
    return std::tie(a.className, a.item) < std::tie(b.className, b.item);
  });
  return limits;
}

}  // namespace

SchoolDocument exportSchool(Store& store, int schoolCode) {
  SchoolDocument document;
  const TSchl school = *store.table<TSchl>().find(TSchl::SCLCODE, {schoolCode});
  const Frame frame = frameOf(school);
  auto& cells = store.table<TTtbl>();
  document.name = school.SNAME;
  document.remark = school.SREMARK;
  document.weekSetup = school.SREGN.empty() ? "STANDARD" : school.SREGN;
  document.days = frame.days;
  document.periodsPerDay = frame.periods;
  for (int period : listMembers(school.SRECESS)) {
    if (period >= 1 && period <= 11) document.recess.push_back(period);
  }
  document.notAvailable = notAvailable(cells.range(TTtbl::TIMESCHL, {schoolCode, "L", schoolCode}), frame);

  // The subjects the school uses: its subject links and the subjects of its indents.
  std::set<int> subjectCodes;
  for (const TSctl& link : store.table<TSctl>().range(TSctl::primary, {schoolCode}))
    subjectCodes.insert(link.SCTCODE);
  const auto indents = store.table<TAlloc>().range(TAlloc::primary, {schoolCode});
  for (const TAlloc& indent : indents) subjectCodes.insert(indent.ASUBJECT);
  for (int code : subjectCodes) {
    auto subject = store.table<TSubj>().find(TSubj::SUBJCODE, {code});
    if (!subject) continue;
    auto link = store.table<TSctl>().find(TSctl::primary, {schoolCode, code});
    document.subjects.push_back({subject->SUBNAME, link ? link->SCTNOTES : ""});
  }
  std::sort(document.subjects.begin(), document.subjects.end(),
            [](const SubjectEntry& a, const SubjectEntry& b) { return a.name < b.name; });

  for (const TClas& cls : store.table<TClas>().range(TClas::primary, {schoolCode})) {
    document.classes.push_back(
        {cls.CLSNAME,
         cls.CLSOPTION == "Y" ? memberNames(store, schoolCode, "C", cls.CLSCODE) : std::vector<std::string>{},
         notAvailable(cells.range(TTtbl::TIMECLAS, {schoolCode, "C", cls.CLSCODE}), frame), cls.CLSNOTES});
  }
  for (const TTeac& resource : store.table<TTeac>().range(TTeac::primary, {schoolCode})) {
    document.resources.push_back(
        {resource.TCHNAME,
         resource.TCHOPTION == "Y" ? memberNames(store, schoolCode, "T", resource.TCHCODE)
                                   : std::vector<std::string>{},
         resource.TPARTTIME == "Y", resource.TMAXLEC, resource.TMAXLECWK, resource.TMAXCON,
         notAvailable(cells.range(TTtbl::TIMETEAC, {schoolCode, "T", resource.TCHCODE}), frame),
         resource.TCHNOTES});
  }
  document.subjectLimits =
      limitsOf(store, schoolCode, store.table<TSOcc>().range(TSOcc::primary, {schoolCode}));
  document.resourceLimits =
      limitsOf(store, schoolCode, store.table<TTOcc>().range(TTOcc::primary, {schoolCode}));

  for (const TAlloc& indent : indents) {
    IndentEntry entry;
    entry.className = className(store, schoolCode, indent.ACLASS);
    entry.resource = resourceName(store, schoolCode, indent.ATEACHER);
    entry.subject = subjectName(store, indent.ASUBJECT);
    entry.periods = indent.ANOOFLEC;
    const bool cluster = indent.AINCLUSOF >= 2;
    entry.clusterSize = cluster ? indent.AINCLUSOF : 0;
    entry.clustersPerWeek = cluster ? indent.ACLUSWEEK : 0;
    entry.onePerDay = !cluster && indent.ARECESS == "N";
    entry.recessPermissible = !(cluster && indent.ARECESS == "N");
    entry.constraint = indent.AQUERY.empty() ? "None" : indent.AQUERY;
    entry.active = indent.AACTIVE == "Y";
    for (const TTtbl& cell :
         cells.range(TTtbl::TIMECSERL, {schoolCode, "C", indent.ACLASS, indent.ASERIALNO})) {
      if (cell.TSUBJECT != 0 && cell.TSUBJECT != 999) {
        entry.placed.push_back({cell.TDAY, cell.TLECTNO, std::max(1, cell.TCLUSLECNO)});
      }
    }
    std::sort(entry.placed.begin(), entry.placed.end(), [](const PlacedCell& a, const PlacedCell& b) {
      return std::tie(a.day, a.period) < std::tie(b.day, b.period);
    });
    document.indents.push_back(std::move(entry));
  }
  return document;
}

}  // namespace tavrel::exchange
