// The booking check of activation: whether a constrained indent still fits beside the active
// constrained indents of its class and resource (and of their groups and members).
//
// Constrained indents claim capacity at the periods (or days) their constraint pins them to. For
// each class or resource the check counts the available slots at every period and day, books the
// claims of the active indents that are pinned the same way, and refuses the indent when its own
// claim would need more slots than are left. A priority-A indent claims individual slots, so A
// indents are also checked slot by slot against each other. Periods and days that the indent fills
// exactly are noted in the saturation lists, from which the priority revision promotes the other
// indents pinned there.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "core/indents/indent_facts.h"
#include "core/indents/priority.h"

namespace tavrel::indents {

// The working set of the check of one class or resource.
struct BookingSheet {
  std::array<int, 13> periodCapacity{};  // [1..12] available slots at the period over all days
  std::array<int, 13> periodBookings{};
  std::array<int, 10> dayCapacity{};  // [1..9]
  std::array<int, 10> dayBookings{};
  // [day][period], for a priority-A indent only: −1 not available, 0 available and unclaimed,
  // otherwise the serial of the A indent that claims it.
  std::array<std::array<int, 13>, 10> slots{};

  void clear() { *this = BookingSheet{}; }
};

struct Saturated {
  std::vector<int> periods;
  std::vector<int> days;
};

// Per class and per resource code: the periods and days the indent being validated fills to
// capacity.
struct SaturationLists {
  std::map<int, Saturated> classes;
  std::map<int, Saturated> resources;

  bool empty() const { return classes.empty() && resources.empty(); }
  void clear() {
    classes.clear();
    resources.clear();
  }
};

// One run of the check for the indent being validated.
struct BookingCheck {
  store::Session& session;
  store::TAlloc indent;  // being validated
  PinKind pin;
  Interaction interaction;
  BookingSheet sheet;
  SaturationLists saturation;

  BookingCheck(store::Session& s, const store::TAlloc& validated, Interaction mode)
      : session(s), indent(validated), pin(pinKindOf(validated)), interaction(mode) {}
  bool priorityA() const { return indent.APRIORITY == "A"; }
};

// `set_avail`: the capacities of the class or resource, and for an A indent its slot grid.
void set_avail(BookingCheck& check, store::OwnerKind kind, int code);

// `build_booking` / `build_sp_booking`: books one active indent's claim.
void build_booking(BookingCheck& check, const store::TAlloc& other);

// `chk_sp_overbook`: an A indent whose slots another A indent claims is refused.
bool chk_sp_overbook(BookingCheck& check);

// `chk_overbook`: the claim of the indent against what is left; `name` is the checked item's.
bool chk_overbook(BookingCheck& check, store::OwnerKind kind, int code, const std::string& name);

// `book_mkchk_proc`: the whole check for one class or resource.
bool book_mkchk_proc(BookingCheck& check, store::OwnerKind kind, int code);

}  // namespace tavrel::indents
