#include "core/engine/working_set.h"

#include <algorithm>

#include "core/store/encoded_lists.h"
#include "core/store/week_frame.h"

namespace tavrel::engine {

using namespace store;

namespace {

// The load hands control to the event loop after this many timetable rows: often enough for Stop,
// cheap enough for a big school.
constexpr int kRowsPerPump = 64;

template <class T>
void fill(DynComp<T>& array, std::int32_t count, T value) {
  array.Clear();
  array.reserve(count);
  for (std::int32_t i = 0; i < count; ++i) array.Add(value);
}

}  // namespace

// ---- Loading ---------------------------------------------------------------------------------------

bool WorkingSet::load(Store& store, int school, LoadMode mode, Progress& progress) {
  ClearMem();
  auto record = store.table<TSchl>().find(TSchl::SCLCODE, {school});
  if (!record) return false;
  const TInst institution = store.institution();
  dimensions_ = SchoolDimensions{school,
                                 std::max(0, record->STOTCLS),
                                 std::max(0, record->STOTTCH),
                                 std::max(0, record->SALLSERIAL),
                                 std::max(0, institution.ISUBJECT),
                                 std::clamp(daysInCycle(record->SWRKDAYS), 0, kDays),
                                 std::clamp(periodsPerDay(record->SWRKDAYS), 0, kPeriods)};
  readReferenceData(store);
  readActiveIndents(store);
  if (mode == LoadMode::Fresh) {
    buildFresh();
    if (!markNotAvailable(store, progress)) {
      ClearMem();
      return false;
    }
  }
  loaded_ = true;
  return true;
}

void WorkingSet::readReferenceData(Store& store) {
  const int school = dimensions_.school;
  const auto classes = static_cast<std::size_t>(dimensions_.classes);
  const auto resources = static_cast<std::size_t>(dimensions_.resources);
  classGroup_.assign(classes, 0);
  resourceGroup_.assign(resources, 0);
  classMembers_.assign(classes, {});
  resourceMembers_.assign(resources, {});
  resourceLimits_.assign(resources, {});
  auto inRange = [](int code, std::size_t count) {
    return code >= 1 && static_cast<std::size_t>(code) <= count;
  };

  store.table<TClas>().forEach(TClas::CLASCODE, {school}, [&](const TClas& row) {
    if (inRange(row.CLSCODE, classes))
      classGroup_[static_cast<std::size_t>(row.CLSCODE - 1)] = row.CLSOPTION == "Y";
  });
  store.table<TTeac>().forEach(TTeac::TEACCODE, {school}, [&](const TTeac& row) {
    if (!inRange(row.TCHCODE, resources)) return;
    const auto at = static_cast<std::size_t>(row.TCHCODE - 1);
    resourceGroup_[at] = row.TCHOPTION == "Y";
    resourceLimits_[at] = {row.TMAXLEC, row.TMAXCON};
  });
  store.table<TOptn>().forEach(TOptn::primary, {school}, [&](const TOptn& row) {
    if (row.OPTYPE == "C" && inRange(row.OPMAINCODE, classes) && inRange(row.OPSUBCODE, classes)) {
      classMembers_[static_cast<std::size_t>(row.OPMAINCODE - 1)].push_back(row.OPSUBCODE);
    } else if (row.OPTYPE == "T" && inRange(row.OPMAINCODE, resources) && inRange(row.OPSUBCODE, resources)) {
      resourceMembers_[static_cast<std::size_t>(row.OPMAINCODE - 1)].push_back(row.OPSUBCODE);
    }
  });
  store.table<TSOcc>().forEach(TSOcc::primary, {school}, [&](const TSOcc& row) {
    subjectLimits_[{row.SOCLASS, row.SOSUBJECT}] = row.SOCCURENCE;
  });
  store.table<TTOcc>().forEach(TTOcc::primary, {school}, [&](const TTOcc& row) {
    resourceClassLimits_[{row.TOCLASS, row.TOTEACHER}] = row.TOCCURENCE;
  });
  subjectNames_.assign(static_cast<std::size_t>(dimensions_.subjects) + 1, {});
  store.table<TSubj>().forEach(TSubj::SUBJCODE, {}, [&](const TSubj& row) {
    if (row.SUBCODE >= 1 && row.SUBCODE <= dimensions_.subjects) {
      subjectNames_[static_cast<std::size_t>(row.SUBCODE)] = row.SUBNAME;
    }
  });
  store.table<TAlloc>().forEach(TAlloc::primary, {school},
                                [&](const TAlloc& row) { indents_[row.ASERIALNO] = row; });
}

// `LoadLim` steps 2 and 4: every class starts with empty subject and resource lists, which the
// active indents fill in the order `ALLOCLAS` meets them; the positions of the packed per-day
// counts follow from the lists.
void WorkingSet::readActiveIndents(Store& store) {
  const int school = dimensions_.school;
  const int classes = dimensions_.classes;
  CLSSUBJ.assign(static_cast<std::size_t>(classes), {});
  CLSTCHR.assign(static_cast<std::size_t>(classes), {});
  totalPeriods_ = 0;
  store.table<TAlloc>().forEach(TAlloc::ALLOCLAS, {school, "Y"}, [&](const TAlloc& row) {
    totalPeriods_ += std::max(0, row.ANOOFLEC);
    if (row.ACLASS < 1 || row.ACLASS > classes) return;
    auto& subjects = CLSSUBJ[static_cast<std::size_t>(row.ACLASS - 1)];
    if (position(subjects, row.ASUBJECT) < 0) subjects.push_back(row.ASUBJECT);
    auto& resources = CLSTCHR[static_cast<std::size_t>(row.ACLASS - 1)];
    if (position(resources, row.ATEACHER) < 0) resources.push_back(row.ATEACHER);
  });
  batchOrder_.clear();
  store.table<TAlloc>().forEach(TAlloc::ALLOFLAG, {school, "Y"},
                                [&](const TAlloc& row) { batchOrder_.push_back(row.ASERIALNO); });

  CSUBTOT.Clear();
  CTCHTOT.Clear();
  CSUBPOS.Clear();
  CTCHPOS.Clear();
  std::int32_t subjectPosition = 0;
  std::int32_t resourcePosition = 0;
  for (int c = 0; c < classes; ++c) {
    const auto subjects = static_cast<std::int32_t>(CLSSUBJ[static_cast<std::size_t>(c)].size());
    const auto resources = static_cast<std::int32_t>(CLSTCHR[static_cast<std::size_t>(c)].size());
    CSUBTOT.Add(static_cast<Cell>(subjects));
    CTCHTOT.Add(static_cast<Cell>(resources));
    CSUBPOS.Add(subjectPosition);
    CTCHPOS.Add(resourcePosition);
    subjectPosition += kDays * subjects;
    resourcePosition += kDays * resources;
  }
}

// `LoadLim` step 6 for a fresh run: every slot free and every counter 0.
void WorkingSet::buildFresh() {
  const std::int32_t classSlots = kSlotsPerOwner * dimensions_.classes;
  const std::int32_t resourceSlots = kSlotsPerOwner * dimensions_.resources;
  fill<Cell>(SRLALLO, dimensions_.serials, 0);
  fill<Cell>(CLSALLO, dimensions_.classes, 0);
  fill<Cell>(CLSMALLO, dimensions_.classes, 0);
  fill<Cell>(TCHALLO, dimensions_.resources, 0);
  fill<Cell>(TCHMALLO, dimensions_.resources, 0);
  fill<Cell>(TCHDAYALLO, kDays * dimensions_.resources, 0);
  fill<Cell>(SUBALLO, dimensions_.subjects, 0);
  std::int32_t subjectDays = 0;
  std::int32_t resourceDays = 0;
  for (const auto& list : CLSSUBJ) subjectDays += kDays * static_cast<std::int32_t>(list.size());
  for (const auto& list : CLSTCHR) resourceDays += kDays * static_cast<std::int32_t>(list.size());
  fill<Cell>(SUBLIM, subjectDays, 0);
  fill<Cell>(TCHLIM, resourceDays, 0);
  for (DynComp<Cell>* cells : {&CTBL, &CSTBL}) fill<Cell>(*cells, classSlots, kFree);
  for (DynComp<Cell>* cells : {&CLSRNO, &CCLUSTOT, &CCLUSLECNO}) fill<Cell>(*cells, classSlots, 0);
  for (DynComp<Cell>* cells : {&TTBL, &TSTBL}) fill<Cell>(*cells, resourceSlots, kFree);
  for (DynComp<Cell>* cells : {&TCSRNO, &TCLUSTOT, &TCLUSLECNO}) fill<Cell>(*cells, resourceSlots, 0);
}

// `LoadLim` step 6.4: the not-available cells of the class and resource rows. Cells outside the
// school's week are never available either, whatever their rows say.
bool WorkingSet::markNotAvailable(Store& store, Progress& progress) {
  for (int day = 1; day <= kDays; ++day) {
    for (int period = 1; period <= kPeriods; ++period) {
      if (day <= dimensions_.days && period <= dimensions_.periods) continue;
      for (int c = 1; c <= dimensions_.classes; ++c)
        CTBL[slot(c, day, period)] = CSTBL[slot(c, day, period)] = 0;
      for (int r = 1; r <= dimensions_.resources; ++r)
        TTBL[slot(r, day, period)] = TSTBL[slot(r, day, period)] = 0;
    }
  }
  bool stopped = false;
  int rows = 0;
  auto mark = [&](const char* kind, DynComp<Cell>& partners, DynComp<Cell>& subjects, int owners) {
    store.table<TTtbl>().forEach(TTtbl::TIMESSERL, {dimensions_.school, kind, 0}, [&](const TTtbl& row) {
      if (stopped) return;
      const int owner = kind[0] == 'C' ? row.TCLASS : row.TTEACHER;
      if (owner >= 1 && owner <= owners && row.TDAY >= 1 && row.TDAY <= kDays && row.TLECTNO >= 1 &&
          row.TLECTNO <= kPeriods) {
        partners[slot(owner, row.TDAY, row.TLECTNO)] = 0;
        subjects[slot(owner, row.TDAY, row.TLECTNO)] = 0;
      }
      if (++rows % kRowsPerPump == 0 && progress.pump()) stopped = true;
    });
  };
  mark("C", CTBL, CSTBL, dimensions_.classes);
  if (!stopped) mark("T", TTBL, TSTBL, dimensions_.resources);
  if (stopped) return false;
  markMissingRows(store, 'C', CTBL, CSTBL, dimensions_.classes);
  markMissingRows(store, 'T', TTBL, TSTBL, dimensions_.resources);
  return true;
}

// A cell whose timetable row is missing can hold nothing: the write-back would have nowhere to put
// its period. Owners normally have all 108 rows, so only the others are read cell by cell.
void WorkingSet::markMissingRows(Store& store, char kind, DynComp<Cell>& partners, DynComp<Cell>& subjects,
                                 int owners) {
  auto& cells = store.table<TTtbl>();
  const int index = kind == 'C' ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
  const std::string type(1, kind);
  for (int owner = 1; owner <= owners; ++owner) {
    if (cells.count(index, {dimensions_.school, type, owner}) == kSlotsPerOwner) continue;
    std::vector<bool> present(kSlotsPerOwner, false);
    cells.forEach(index, {dimensions_.school, type, owner}, [&](const TTtbl& row) {
      if (row.TDAY >= 1 && row.TDAY <= kDays && row.TLECTNO >= 1 && row.TLECTNO <= kPeriods) {
        present[static_cast<std::size_t>((row.TDAY - 1) * kPeriods + row.TLECTNO - 1)] = true;
      }
    });
    for (int at = 0; at < kSlotsPerOwner; ++at) {
      if (present[static_cast<std::size_t>(at)]) continue;
      partners[slot(owner, 1, 1) + at] = 0;
      subjects[slot(owner, 1, 1) + at] = 0;
    }
  }
}

void WorkingSet::ClearMem() {
  for (DynComp<Cell>* array :
       {&CTBL,     &CSTBL,      &CLSRNO,     &CCLUSTOT, &CCLUSLECNO, &TTBL,     &TSTBL,
        &TCSRNO,   &TCLUSTOT,   &TCLUSLECNO, &SRLALLO,  &CLSALLO,    &CLSMALLO, &TCHALLO,
        &TCHMALLO, &TCHDAYALLO, &SUBALLO,    &CSUBTOT,  &CTCHTOT,    &SUBLIM,   &TCHLIM}) {
    array->Clear();
  }
  CSUBPOS.Clear();
  CTCHPOS.Clear();
  CLSSUBJ.clear();
  CLSTCHR.clear();
  indents_.clear();
  classGroup_.clear();
  resourceGroup_.clear();
  classMembers_.clear();
  resourceMembers_.clear();
  resourceLimits_.clear();
  subjectLimits_.clear();
  resourceClassLimits_.clear();
  subjectNames_.clear();
  batchOrder_.clear();
  totalPeriods_ = 0;
  loaded_ = false;
}

std::vector<std::pair<std::string, std::int64_t>> WorkingSet::expectedSizes() const {
  const std::int64_t classes = dimensions_.classes;
  const std::int64_t resources = dimensions_.resources;
  std::int64_t subjectDays = 0;
  std::int64_t resourceDays = 0;
  for (const auto& list : CLSSUBJ) subjectDays += kDays * static_cast<std::int64_t>(list.size());
  for (const auto& list : CLSTCHR) resourceDays += kDays * static_cast<std::int64_t>(list.size());
  return {{"CSUBPOS", classes},
          {"CTCHPOS", classes},
          {"SRLALLO", dimensions_.serials},
          {"CLSALLO", classes},
          {"CLSMALLO", classes},
          {"TCHALLO", resources},
          {"TCHMALLO", resources},
          {"SUBALLO", dimensions_.subjects},
          {"SUBLIM", subjectDays},
          {"TCHLIM", resourceDays},
          {"TCHDAYALLO", kDays * resources},
          {"CTBL", kSlotsPerOwner * classes},
          {"CSTBL", kSlotsPerOwner * classes},
          {"CLSRNO", kSlotsPerOwner * classes},
          {"CCLUSTOT", kSlotsPerOwner * classes},
          {"CCLUSLECNO", kSlotsPerOwner * classes},
          {"TTBL", kSlotsPerOwner * resources},
          {"TSTBL", kSlotsPerOwner * resources},
          {"TCSRNO", kSlotsPerOwner * resources},
          {"TCLUSTOT", kSlotsPerOwner * resources},
          {"TCLUSLECNO", kSlotsPerOwner * resources}};
}

// ---- The slot interface ----------------------------------------------------------------------------

SlotContent WorkingSet::classCell(int cls, int day, int period) const {
  const std::int32_t at = slot(cls, day, period);
  return {CTBL[at], CSTBL[at], CLSRNO[at], CCLUSTOT[at], CCLUSLECNO[at]};
}

SlotContent WorkingSet::resourceCell(int resource, int day, int period) const {
  const std::int32_t at = slot(resource, day, period);
  return {TTBL[at], TSTBL[at], TCSRNO[at], TCLUSTOT[at], TCLUSLECNO[at]};
}

void WorkingSet::setClassCell(int cls, int day, int period, const SlotContent& content, const CellRanges&) {
  const std::int32_t at = slot(cls, day, period);
  CTBL[at] = static_cast<Cell>(content.partner);
  CSTBL[at] = static_cast<Cell>(content.subject);
  CLSRNO[at] = static_cast<Cell>(content.serial);
  CCLUSTOT[at] = static_cast<Cell>(content.clusterTotal);
  CCLUSLECNO[at] = static_cast<Cell>(content.position);
}

void WorkingSet::setResourceCell(int resource, int day, int period, const SlotContent& content,
                                 const CellRanges&) {
  const std::int32_t at = slot(resource, day, period);
  TTBL[at] = static_cast<Cell>(content.partner);
  TSTBL[at] = static_cast<Cell>(content.subject);
  TCSRNO[at] = static_cast<Cell>(content.serial);
  TCLUSTOT[at] = static_cast<Cell>(content.clusterTotal);
  TCLUSLECNO[at] = static_cast<Cell>(content.position);
}

std::string_view WorkingSet::subjectName(int code) const {
  if (code < 0 || static_cast<std::size_t>(code) >= subjectNames_.size()) return {};
  return subjectNames_[static_cast<std::size_t>(code)];
}

std::optional<TAlloc> WorkingSet::indent(int serial) const {
  auto found = indents_.find(serial);
  if (found == indents_.end()) return std::nullopt;
  return found->second;
}

bool WorkingSet::classIsGroup(int cls) const {
  return cls >= 1 && cls <= dimensions_.classes && classGroup_[static_cast<std::size_t>(cls - 1)];
}

bool WorkingSet::resourceIsGroup(int resource) const {
  return resource >= 1 && resource <= dimensions_.resources &&
         resourceGroup_[static_cast<std::size_t>(resource - 1)];
}

const std::vector<int>& WorkingSet::classMembers(int cls) const {
  static const std::vector<int> none;
  return classIsGroup(cls) ? classMembers_[static_cast<std::size_t>(cls - 1)] : none;
}

const std::vector<int>& WorkingSet::resourceMembers(int resource) const {
  static const std::vector<int> none;
  return resourceIsGroup(resource) ? resourceMembers_[static_cast<std::size_t>(resource - 1)] : none;
}

int WorkingSet::position(const std::vector<int>& list, int code) {
  auto found = std::find(list.begin(), list.end(), code);
  return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

IndentInHand WorkingSet::prepare(const TAPara& para) const {
  IndentInHand indent;
  indent.para = para;
  indent.serial = para.PSERIALNO;
  indent.cls = para.PCLASS;
  indent.resource = para.PTEACHER;
  indent.subject = para.PSUBJECT;
  indent.blockSize = para.PINCLUSOF >= 2 ? para.PINCLUSOF : 1;
  indent.classIsGroup = classIsGroup(para.PCLASS);
  indent.resourceIsGroup = resourceIsGroup(para.PTEACHER);
  indent.classMembers = classMembers(para.PCLASS);
  indent.resourceMembers = resourceMembers(para.PTEACHER);
  auto limitsOf = [&](int resource) {
    return resource >= 1 && resource <= dimensions_.resources
               ? resourceLimits_[static_cast<std::size_t>(resource - 1)]
               : ResourceLimits{};
  };
  for (int member : indent.resourceMembers) {
    indent.memberDayLimits.push_back(limitsOf(member).perDay);
    indent.memberContinuityLimits.push_back(limitsOf(member).continuity);
  }
  indent.resourceDayLimit = limitsOf(para.PTEACHER).perDay;
  indent.continuityLimit = limitsOf(para.PTEACHER).continuity;
  // In memory a class without a per-day limit record may take no period of that subject
  // (resource): the limit reads 0.
  auto limit = [](const std::map<std::pair<int, int>, int>& limits, int cls, int code) {
    auto found = limits.find({cls, code});
    return found == limits.end() ? 0 : found->second;
  };
  indent.subjectDayLimit = limit(subjectLimits_, para.PCLASS, para.PSUBJECT);
  indent.resourceClassDayLimit = limit(resourceClassLimits_, para.PCLASS, para.PTEACHER);
  indent.subjectBase = std::string(subjectBaseName(subjectName(para.PSUBJECT)));
  indent.noRecess = para.PRECESS == "N";
  indent.days = listedMembers(para.PLISTDAY, kDays);
  indent.periods = listedMembers(para.PLISTLEC, kPeriods);
  indent.ranges = CellRanges{para.PSTLEC, para.PENLEC, para.PSTDAY, para.PENDAY};
  indent.subjectDayBase = -1;
  indent.resourceClassDayBase = -1;
  if (para.PCLASS >= 1 && para.PCLASS <= dimensions_.classes) {
    const auto at = static_cast<std::size_t>(para.PCLASS - 1);
    if (const int k = position(CLSSUBJ[at], para.PSUBJECT); k >= 0) {
      indent.subjectDayBase = CSUBPOS[para.PCLASS] + kDays * k;
    }
    if (const int k = position(CLSTCHR[at], para.PTEACHER); k >= 0) {
      indent.resourceClassDayBase = CTCHPOS[para.PCLASS] + kDays * k;
    }
  }
  return indent;
}

void WorkingSet::addTotals(const IndentInHand& indent, int n) {
  add(TCHALLO, indent.resource, n);
  for (int member : indent.resourceMembers) add(TCHMALLO, member, n);
  add(CLSALLO, indent.cls, n);
  for (int member : indent.classMembers) add(CLSMALLO, member, n);
  add(SUBALLO, indent.subject, n);
}

}  // namespace tavrel::engine
