#include "core/indents/booking.h"

#include "core/store/day_words.h"
#include "core/store/encoded_lists.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

const std::vector<int>& pinnedList(PinKind pin, const std::vector<int>& periods,
                                   const std::vector<int>& days) {
  return pin == PinKind::ByPeriods ? periods : days;
}

int* capacityOf(BookingSheet& sheet, PinKind pin, int element) {
  return pin == PinKind::ByPeriods ? &sheet.periodCapacity.at(static_cast<std::size_t>(element))
                                   : &sheet.dayCapacity.at(static_cast<std::size_t>(element));
}

int* bookingsOf(BookingSheet& sheet, PinKind pin, int element) {
  return pin == PinKind::ByPeriods ? &sheet.periodBookings.at(static_cast<std::size_t>(element))
                                   : &sheet.dayBookings.at(static_cast<std::size_t>(element));
}

void tell(BookingCheck& check, const std::string& text) {
  if (check.interaction == Interaction::Interactive) check.session.prompter().info(text);
}

std::string dayName(BookingCheck& check, int day) {
  auto school = check.session.school();
  return school ? DayWords(day, *school) : DayWords(day, 912, "STANDARD");
}

void saturate(BookingCheck& check, OwnerKind kind, int code, int element) {
  Saturated& entry =
      kind == OwnerKind::Class ? check.saturation.classes[code] : check.saturation.resources[code];
  (check.pin == PinKind::ByPeriods ? entry.periods : entry.days).push_back(element);
}

std::string overbookedText(BookingCheck& check, int element, const std::string& name) {
  if (check.pin == PinKind::ByPeriods) {
    return "Cannot activate this indent. Period " + std::to_string(element) + " is overbooked for " + name +
           ".";
  }
  return "Cannot activate this indent. " + dayName(check, element) + " is overbooked for " + name + ".";
}

// The claim of an indent pinned like the validated one: its count, or for a cluster pinned to its
// periods, its clusters (each cluster takes each of those periods once).
int claimOf(const TAlloc& indent, PinKind pin) {
  return pin == PinKind::ByPeriods && isCluster(indent) ? indent.ACLUSWEEK : indent.ANOOFLEC;
}

bool validElement(PinKind pin, int element) {
  return element >= 1 && element <= (pin == PinKind::ByPeriods ? 12 : 9);
}

}  // namespace

void set_avail(BookingCheck& check, OwnerKind kind, int code) {
  check.sheet.clear();
  const int index = kind == OwnerKind::Class ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
  const char* type = kind == OwnerKind::Class ? "C" : "T";
  check.session.store().table<TTtbl>().forEach(
      index, {check.session.schoolCode(), type, code}, [&](const TTtbl& row) {
        if (row.TDAY < 1 || row.TDAY > 9 || row.TLECTNO < 1 || row.TLECTNO > 12) return;
        const auto day = static_cast<std::size_t>(row.TDAY);
        const auto period = static_cast<std::size_t>(row.TLECTNO);
        if (row.TSUBJECT > 0) {
          check.sheet.periodCapacity[period] += 1;
          check.sheet.dayCapacity[day] += 1;
        }
        if (check.priorityA()) check.sheet.slots[day][period] = row.TSUBJECT > 0 ? 0 : -1;
      });
}

void build_booking(BookingCheck& check, const TAlloc& other) {
  if (!hasConstraint(other)) return;
  const std::vector<int> periods = listMembers(other.ALISTLEC);
  const std::vector<int> days = listMembers(other.ALISTDAY);
  if (other.APRIORITY == "A") {
    if (check.priorityA()) {
      for (int period : periods) {
        for (int day : days) {
          if (day > 9) continue;
          int& slot = check.sheet.slots[static_cast<std::size_t>(day)][static_cast<std::size_t>(period)];
          if (slot == 0) slot = other.ASERIALNO;
        }
      }
    }
    if (check.pin == PinKind::Free) return;
    const int others = static_cast<int>(pinnedList(check.pin, days, periods).size());
    for (int element : pinnedList(check.pin, periods, days)) {
      if (validElement(check.pin, element)) *bookingsOf(check.sheet, check.pin, element) += others;
    }
    return;
  }
  if (check.pin == PinKind::Free || pinKindOf(other) != check.pin) return;
  for (int element : pinnedList(check.pin, periods, days)) {
    if (validElement(check.pin, element))
      *bookingsOf(check.sheet, check.pin, element) += claimOf(other, check.pin);
  }
}

bool chk_sp_overbook(BookingCheck& check) {
  Store& store = check.session.store();
  const int school = check.session.schoolCode();
  for (int period : listMembers(check.indent.ALISTLEC)) {
    for (int day : listMembers(check.indent.ALISTDAY)) {
      if (day > 9) continue;
      const int claimer = check.sheet.slots[static_cast<std::size_t>(day)][static_cast<std::size_t>(period)];
      if (claimer <= 0) continue;
      auto other = store.table<TAlloc>().find(TAlloc::primary, {school, claimer});
      TAlloc named = other.value_or(TAlloc{});
      tell(check, "Cannot activate this indent. Overbooking. Resource " + L_ATEACHERNM(store, named) +
                      " is engaging Class " + L_ACLASSNM(store, named) + " with Subject " +
                      L_ASUBJECTNM(store, named) + " during " + " period " + std::to_string(period) + " on " +
                      dayName(check, day) + ".");
      return false;
    }
  }
  return true;
}

bool chk_overbook(BookingCheck& check, OwnerKind kind, int code, const std::string& name) {
  if (check.pin == PinKind::Free) return true;
  const std::vector<int> periods = listMembers(check.indent.ALISTLEC);
  const std::vector<int> days = listMembers(check.indent.ALISTDAY);
  const std::vector<int>& pinned = pinnedList(check.pin, periods, days);
  bool ok = true;
  if (!check.priorityA()) {
    const int claim = claimOf(check.indent, check.pin);
    // Every pinned element is looked at, so each overbooked one is reported.
    for (int element : pinned) {
      if (!validElement(check.pin, element)) continue;
      const int capacity = *capacityOf(check.sheet, check.pin, element);
      const int booked = *bookingsOf(check.sheet, check.pin, element);
      if (capacity < booked + claim) {
        tell(check, overbookedText(check, element, name));
        ok = false;
      }
      if (booked + claim == capacity) saturate(check, kind, code, element);
    }
    return ok;
  }
  // An A indent takes every listed slot: one booking per slot of the element, counted against the
  // indent's own count.
  const std::vector<int>& across = pinnedList(check.pin, days, periods);
  int taken = 0;
  for (int element : pinned) {
    if (!validElement(check.pin, element)) continue;
    int& booked = *bookingsOf(check.sheet, check.pin, element);
    const int capacity = *capacityOf(check.sheet, check.pin, element);
    for (std::size_t i = 0; i < across.size(); ++i) {
      ++taken;
      ++booked;
      if (booked > capacity && taken <= check.indent.ANOOFLEC) {
        tell(check, overbookedText(check, element, name));
        ok = false;
        break;
      }
    }
    if (booked == capacity) saturate(check, kind, code, element);
  }
  return ok;
}

bool book_mkchk_proc(BookingCheck& check, OwnerKind kind, int code) {
  Store& store = check.session.store();
  const int school = check.session.schoolCode();
  set_avail(check, kind, code);
  for (const TAlloc& other : activeIndentsOf(store, school, kind, code)) build_booking(check, other);
  // A member shares the slots its groups are timetabled in, so their indents claim its capacity.
  if (!isGroup(store, school, kind, code)) {
    for (int group : groupsContaining(store, school, kind, code)) {
      for (const TAlloc& other : activeIndentsOf(store, school, kind, group)) build_booking(check, other);
    }
  }
  if (check.priorityA() && !chk_sp_overbook(check)) return false;
  return chk_overbook(check, kind, code, ownerName(store, school, kind, code));
}

}  // namespace tavrel::indents
