#include "core/indents/indent_facts.h"

#include "core/store/lookups.h"
#include "core/store/week_frame.h"

namespace tavrel::indents {

using namespace store;

namespace {

const char* typeOf(OwnerKind kind) {
  return kind == OwnerKind::Class ? "C" : "T";
}

}  // namespace

SchoolWeek schoolWeek(const TSchl& school) {
  SchoolWeek week;
  const int days = daysInCycle(school.SWRKDAYS);
  const int periods = periodsPerDay(school.SWRKDAYS);
  if (days >= 1 && days <= 9) week.days = days;
  if (periods >= 1 && periods <= 12) week.periods = periods;
  return week;
}

SchoolWeek schoolWeek(Session& session) {
  auto school = session.school();
  return school ? schoolWeek(*school) : SchoolWeek{};
}

std::optional<TAlloc> findIndent(Session& session, int serial) {
  return session.store().table<TAlloc>().find(TAlloc::primary, {session.schoolCode(), serial});
}

bool isGroup(Store& store, int school, OwnerKind kind, int code) {
  const std::string option =
      kind == OwnerKind::Class ? classOption(store, school, code) : resourceOption(store, school, code);
  return option == "Y";
}

std::vector<int> groupMembers(Store& store, int school, OwnerKind kind, int group) {
  std::vector<int> members;
  if (!isGroup(store, school, kind, group)) return members;
  store.table<TOptn>().forEach(TOptn::primary, {school, typeOf(kind), group},
                               [&](const TOptn& row) { members.push_back(row.OPSUBCODE); });
  return members;
}

std::vector<int> groupsContaining(Store& store, int school, OwnerKind kind, int member) {
  std::vector<int> groups;
  store.table<TOptn>().forEach(TOptn::OPSUBMAIN, {school, typeOf(kind), member}, [&](const TOptn& row) {
    if (isGroup(store, school, kind, row.OPMAINCODE)) groups.push_back(row.OPMAINCODE);
  });
  return groups;
}

std::string ownerName(Store& store, int school, OwnerKind kind, int code) {
  return kind == OwnerKind::Class ? className(store, school, code) : resourceName(store, school, code);
}

bool isProxyIndent(Store& store, int school, int serial) {
  return store.table<TProxy>().find(TProxy::primary, {school, serial}).has_value();
}

std::optional<TTtbl> slotRow(Store& store, int school, OwnerKind kind, int owner, int day, int period) {
  const int index = kind == OwnerKind::Class ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
  return store.table<TTtbl>().find(index, {school, typeOf(kind), owner, day, period});
}

std::optional<int> classLimit(Store& store, int school, LimitKind kind, int classCode, int code) {
  if (kind == LimitKind::Subject) {
    auto row = store.table<TSOcc>().find(TSOcc::primary, {school, classCode, code});
    if (row) return row->SOCCURENCE;
    return std::nullopt;
  }
  auto row = store.table<TTOcc>().find(TTOcc::primary, {school, classCode, code});
  if (row) return row->TOCCURENCE;
  return std::nullopt;
}

void setClassLimit(Store& store, int school, LimitKind kind, int classCode, int code, int value) {
  if (kind == LimitKind::Subject) {
    auto& limits = store.table<TSOcc>();
    TSOcc row = limits.find(TSOcc::primary, {school, classCode, code})
                    .value_or(TSOcc{.SOSCHOOL = school, .SOCLASS = classCode, .SOSUBJECT = code});
    row.SOCCURENCE = value;
    if (row.rowid == 0) {
      limits.insert(row);
    } else {
      limits.update(row);
    }
    return;
  }
  auto& limits = store.table<TTOcc>();
  TTOcc row = limits.find(TTOcc::primary, {school, classCode, code})
                  .value_or(TTOcc{.TOSCHOOL = school, .TOCLASS = classCode, .TOTEACHER = code});
  row.TOCCURENCE = value;
  if (row.rowid == 0) {
    limits.insert(row);
  } else {
    limits.update(row);
  }
}

std::vector<TAlloc> activeIndentsOf(Store& store, int school, OwnerKind kind, int code) {
  const int index = kind == OwnerKind::Class ? TAlloc::ALLOCLAS : TAlloc::ALLOTEAC;
  return store.table<TAlloc>().range(index, {school, "Y", code});
}

}  // namespace tavrel::indents
