#include "core/engine/table_slots.h"

#include <algorithm>

#include "core/store/encoded_lists.h"

namespace tavrel::engine {

using namespace store;

namespace {

int partnerOf(char kind, const std::optional<TTtbl>& row) {
  if (!row) return kNoRow;
  return kind == 'C' ? row->TTEACHER : row->TCLASS;
}

SlotContent contentOf(char kind, const std::optional<TTtbl>& row) {
  if (!row) return SlotContent{kNoRow, kNoRow, 0, 0, 0};
  return SlotContent{partnerOf(kind, row), row->TSUBJECT, row->TSERIAL, row->TCLUSTOT, row->TCLUSLECNO};
}

}  // namespace

TableSlots::TableSlots(Store& store, int school) : store_(store), school_(school) {}

TableSlots::Rows& TableSlots::rowsOf(char kind, int owner) {
  const auto emplaced = rows_.try_emplace({kind, owner});
  Rows& rows = emplaced.first->second;
  if (emplaced.second) {
    const int index = kind == 'C' ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
    store_.table<TTtbl>().forEach(index, {school_, std::string(1, kind), owner}, [&](const TTtbl& row) {
      if (row.TDAY < 1 || row.TDAY > kDays || row.TLECTNO < 1 || row.TLECTNO > kPeriods) return;
      rows[static_cast<std::size_t>((row.TDAY - 1) * kPeriods + row.TLECTNO - 1)] = row;
    });
  }
  return rows;
}

std::optional<TTtbl>& TableSlots::rowAt(char kind, int owner, int day, int period) {
  return rowsOf(kind, owner)[static_cast<std::size_t>((day - 1) * kPeriods + period - 1)];
}

int TableSlots::classPartner(int cls, int day, int period) {
  return partnerOf('C', rowAt('C', cls, day, period));
}

int TableSlots::resourcePartner(int resource, int day, int period) {
  return partnerOf('T', rowAt('T', resource, day, period));
}

SlotContent TableSlots::classCell(int cls, int day, int period) {
  return contentOf('C', rowAt('C', cls, day, period));
}

SlotContent TableSlots::resourceCell(int resource, int day, int period) {
  return contentOf('T', rowAt('T', resource, day, period));
}

int TableSlots::subjectDayCount(const IndentInHand& indent, int day) {
  auto [found, added] = subjectDays_.try_emplace({indent.cls, indent.subject, day});
  if (added)
    found->second = store_.table<TSDAll>().find(TSDAll::primary, {school_, indent.cls, indent.subject, day});
  return found->second ? found->second->SDALLOC : 0;
}

int TableSlots::resourceClassDayCount(const IndentInHand& indent, int day) {
  auto [found, added] = resourceClassDays_.try_emplace({indent.cls, indent.resource, day});
  if (added) {
    found->second = store_.table<TTDAll>().find(TTDAll::primary, {school_, indent.cls, indent.resource, day});
  }
  return found->second ? found->second->TDALLOC : 0;
}

int TableSlots::resourceDayCount(int resource, int day) {
  auto [found, added] = resourceDays_.try_emplace({resource, day});
  if (added) found->second = store_.table<TTDMAll>().find(TTDMAll::primary, {school_, resource, day});
  return found->second ? found->second->TDAALLOC : 0;
}

std::string_view TableSlots::subjectName(int code) {
  auto [found, added] = subjectNames_.try_emplace(code);
  if (added) {
    if (auto row = store_.table<TSubj>().find(TSubj::SUBJCODE, {code})) found->second = row->SUBNAME;
  }
  return found->second;
}

int TableSlots::indentAllocated(int serial) {
  auto row = indent(serial);
  return row ? row->ANOLECALL : 0;
}

std::optional<TAlloc> TableSlots::indent(int serial) {
  return store_.table<TAlloc>().find(TAlloc::primary, {school_, serial});
}

std::vector<int> TableSlots::members(char kind, int group) {
  std::vector<int> codes;
  store_.table<TOptn>().forEach(TOptn::primary, {school_, std::string(1, kind), group},
                                [&](const TOptn& row) { codes.push_back(row.OPSUBCODE); });
  return codes;
}

IndentInHand TableSlots::prepare(const TAPara& para) {
  IndentInHand indent;
  indent.para = para;
  indent.serial = para.PSERIALNO;
  indent.cls = para.PCLASS;
  indent.resource = para.PTEACHER;
  indent.subject = para.PSUBJECT;
  indent.blockSize = para.PINCLUSOF >= 2 ? para.PINCLUSOF : 1;
  auto cls = store_.table<TClas>().find(TClas::CLASCODE, {school_, para.PCLASS});
  auto resource = store_.table<TTeac>().find(TTeac::TEACCODE, {school_, para.PTEACHER});
  indent.classIsGroup = cls && cls->CLSOPTION == "Y";
  indent.resourceIsGroup = resource && resource->TCHOPTION == "Y";
  if (indent.classIsGroup) indent.classMembers = members('C', para.PCLASS);
  if (indent.resourceIsGroup) indent.resourceMembers = members('T', para.PTEACHER);
  for (int member : indent.resourceMembers) {
    auto row = store_.table<TTeac>().find(TTeac::TEACCODE, {school_, member});
    indent.memberDayLimits.push_back(row ? row->TMAXLEC : 0);
    indent.memberContinuityLimits.push_back(row ? row->TMAXCON : 0);
  }
  indent.resourceDayLimit = resource ? resource->TMAXLEC : 0;
  indent.continuityLimit = resource ? resource->TMAXCON : 0;
  // In table mode a class without a per-day limit record is not limited.
  if (auto limit = store_.table<TSOcc>().find(TSOcc::primary, {school_, para.PCLASS, para.PSUBJECT})) {
    indent.subjectDayLimit = limit->SOCCURENCE;
  }
  if (auto limit = store_.table<TTOcc>().find(TTOcc::primary, {school_, para.PCLASS, para.PTEACHER})) {
    indent.resourceClassDayLimit = limit->TOCCURENCE;
  }
  indent.subjectBase = std::string(subjectBaseName(subjectName(para.PSUBJECT)));
  indent.noRecess = para.PRECESS == "N";
  indent.days = listedMembers(para.PLISTDAY, kDays);
  indent.periods = listedMembers(para.PLISTLEC, kPeriods);
  indent.ranges = CellRanges{para.PSTLEC, para.PENLEC, para.PSTDAY, para.PENDAY};
  return indent;
}

void TableSlots::setCell(char kind, int owner, int day, int period, const SlotContent& content,
                         const CellRanges& ranges) {
  std::optional<TTtbl>& row = rowAt(kind, owner, day, period);
  if (!row) return;  // an owner without the row: nothing to hold the period
  (kind == 'C' ? row->TTEACHER : row->TCLASS) = content.partner;
  row->TSUBJECT = content.subject;
  row->TSERIAL = content.serial;
  row->TCLUSTOT = content.clusterTotal;
  row->TCLUSLECNO = content.position;
  row->TSTARTLECT = ranges.firstPeriod;
  row->TENDLECT = ranges.lastPeriod;
  row->TSTARTDAY = ranges.firstDay;
  row->TENDDAY = ranges.lastDay;
  store_.table<TTtbl>().update(*row);
}

void TableSlots::setClassCell(int cls, int day, int period, const SlotContent& content,
                              const CellRanges& ranges) {
  setCell('C', cls, day, period, content, ranges);
}

void TableSlots::setResourceCell(int resource, int day, int period, const SlotContent& content,
                                 const CellRanges& ranges) {
  setCell('T', resource, day, period, content, ranges);
}

// A per-day count that has no record yet is created by the first period it counts.
void TableSlots::addSubjectDay(const IndentInHand& indent, int day, int n) {
  subjectDayCount(indent, day);
  auto& row = subjectDays_[{indent.cls, indent.subject, day}];
  if (row) {
    row->SDALLOC += n;
    store_.table<TSDAll>().update(*row);
  } else if (n > 0) {
    row = TSDAll{.SDSCHOOL = school_,
                 .SDCLASS = indent.cls,
                 .SDSUBJECT = indent.subject,
                 .SDDAYNO = day,
                 .SDOCCURN = indent.subjectDayLimit.value_or(0),
                 .SDALLOC = n};
    store_.table<TSDAll>().insert(*row);
  }
}

void TableSlots::addResourceClassDay(const IndentInHand& indent, int day, int n) {
  resourceClassDayCount(indent, day);
  auto& row = resourceClassDays_[{indent.cls, indent.resource, day}];
  if (row) {
    row->TDALLOC += n;
    store_.table<TTDAll>().update(*row);
  } else if (n > 0) {
    row = TTDAll{.TDSCHOOL = school_,
                 .TDCLASS = indent.cls,
                 .TDTEACHER = indent.resource,
                 .TDDAYNO = day,
                 .TDOCCURN = indent.resourceClassDayLimit.value_or(0),
                 .TDALLOC = n};
    store_.table<TTDAll>().insert(*row);
  }
}

void TableSlots::addResourceDay(int resource, int day, int n) {
  resourceDayCount(resource, day);
  auto& row = resourceDays_[{resource, day}];
  if (row) {
    row->TDAALLOC += n;
    store_.table<TTDMAll>().update(*row);
  } else if (n > 0) {
    row = TTDMAll{.TDASCHOOL = school_, .TDATEACHER = resource, .TDADAYNO = day, .TDAALLOC = n};
    store_.table<TTDMAll>().insert(*row);
  }
}

void TableSlots::addIndentAllocated(int serial, int n) {
  auto row = indent(serial);
  if (!row) return;
  row->ANOLECALL += n;
  store_.table<TAlloc>().update(*row);
}

void TableSlots::addTotals(const IndentInHand& indent, int n) {
  auto& resources = store_.table<TTeac>();
  auto& classes = store_.table<TClas>();
  if (auto row = resources.find(TTeac::TEACCODE, {school_, indent.resource})) {
    row->TALLOCLEC += n;
    resources.update(*row);
  }
  for (int member : indent.resourceMembers) {
    if (auto row = resources.find(TTeac::TEACCODE, {school_, member})) {
      row->TCHMLTALL += n;
      resources.update(*row);
    }
  }
  if (auto row = classes.find(TClas::CLASCODE, {school_, indent.cls})) {
    row->CLSTOTALL += n;
    classes.update(*row);
  }
  for (int member : indent.classMembers) {
    if (auto row = classes.find(TClas::CLASCODE, {school_, member})) {
      row->CLSMLTALL += n;
      classes.update(*row);
    }
  }
  if (auto row = store_.table<TSctl>().find(TSctl::primary, {school_, indent.subject})) {
    row->SCTTOTALL += n;
    store_.table<TSctl>().update(*row);
  }
}

}  // namespace tavrel::engine
