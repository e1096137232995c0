#include "core/indents/validation.h"

#include <algorithm>
#include <string>

#include "core/indents/booking.h"
#include "core/indents/one_per_day_breakup.h"
#include "core/indents/priority.h"
#include "core/indents/priority_revision.h"
#include "core/setup/constraint_derivation.h"
#include "core/store/day_words.h"
#include "core/store/default_constraint.h"
#include "core/store/encoded_lists.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

constexpr const char* kIncomplete = "Indent incomplete.";

class Validation {
 public:
  Validation(Session& session, TAlloc indent, Interaction interaction)
      : session_(session),
        store_(session.store()),
        school_(session.schoolCode()),
        indent_(std::move(indent)),
        interaction_(interaction) {}

  ValidationResult run() {
    result_.ok = complete() && insideWeek() && clusterFits() && hasRoom();
    if (!result_.ok) return result_;
    assignPriority();
    result_.ok = specificSlotsAvailable() && bookingPasses() && withinOnePerDay();
    if (result_.ok && booking_) IndRevProc_prior(session_, indent_.ASERIALNO, booking_->saturation);
    return result_;
  }

 private:
  bool interactive() const { return interaction_ == Interaction::Interactive; }

  bool fail(FailureKind kind, const std::string& text) {
    result_.failure = kind;
    if (interactive()) session_.prompter().error(text);
    return false;
  }

  void post() {
    Transaction tx(store_);
    store_.table<TAlloc>().update(indent_);
    tx.commit();
    session_.flush(kFlushIndents);
  }

  bool complete() {
    if (L_ACLASSNM(store_, indent_).empty())
      return fail(FailureKind::Class, std::string(kIncomplete) + "Class missing.");
    if (L_ATEACHERNM(store_, indent_).empty()) {
      return fail(FailureKind::Resource, std::string(kIncomplete) + "Resource missing.");
    }
    if (L_ASUBJECTNM(store_, indent_).empty()) {
      return fail(FailureKind::Subject, std::string(kIncomplete) + "Subject missing.");
    }
    return true;
  }

  // Lists that name no day or period of the week (or none at all) cannot be allocated. An indent
  // without constraint simply takes the whole week again; a real constraint must be chosen anew.
  bool insideWeek() {
    auto school = session_.school();
    if (!school) return false;
    const SchoolWeek week = schoolWeek(*school);
    auto outside = [](const std::vector<int>& members, int last) {
      return members.empty() ||
             std::any_of(members.begin(), members.end(), [last](int m) { return m > last; });
    };
    if (!outside(listMembers(indent_.ALISTLEC), week.periods) &&
        !outside(listMembers(indent_.ALISTDAY), week.days)) {
      return true;
    }
    if (hasConstraint(indent_)) {
      return fail(FailureKind::Constraint,
                  "Constraint violates the School Availability. Please reselect the constraint.");
    }
    AsgnDefault(indent_, qry_init(school->SWRKDAYS));
    post();
    return true;
  }

  bool clusterFits() {
    if (!isCluster(indent_) || setup::fitsCluster(listMembers(indent_.ALISTLEC), indent_.AINCLUSOF))
      return true;
    return fail(FailureKind::Constraint, std::string(setup::kClusterMismatch));
  }

  bool hasRoom() {
    const int count = indent_.ANOOFLEC;
    if (count <= 0) return fail(FailureKind::Count, std::string(kIncomplete) + "Period count missing.");
    return roomIn(OwnerKind::Class, indent_.ACLASS) && roomIn(OwnerKind::Resource, indent_.ATEACHER);
  }

  // The item and, for a group, every member must hold the periods already asked of it and these.
  bool roomIn(OwnerKind kind, int code) {
    std::vector<int> codes{code};
    for (int member : groupMembers(store_, school_, kind, code)) codes.push_back(member);
    for (int item : codes) {
      if (!exceeds(kind, item)) continue;
      XceedMax(kind, item);
      return false;
    }
    return true;
  }

  bool exceeds(OwnerKind kind, int code) {
    const int count = indent_.ANOOFLEC;
    if (kind == OwnerKind::Class) {
      auto row = store_.table<TClas>().find(TClas::CLASCODE, {school_, code});
      return row && row->CLSTOTLEC < row->CLSREQLEC + row->CLSREQMLT + count;
    }
    auto row = store_.table<TTeac>().find(TTeac::TEACCODE, {school_, code});
    return row && row->TMAXLECWK < row->TCHREQLEC + row->TCHREQMLT + count;
  }

  void XceedMax(OwnerKind kind, int code) {
    if (!interactive()) return;
    const std::string name = ownerName(store_, school_, kind, code);
    const std::string question =
        kind == OwnerKind::Class
            ? name + ":Indented periods exceed available periods. Select Yes" + " to examine " + name +
                  " statistics."
            : name + ":Indented periods exceed maximum. Select Yes" + " to examine " + name + " statistics";
    if (session_.prompter().ask(MessageKind::Information, question))
      result_.examine = ExamineStatistics{kind, code};
  }

  void assignPriority() {
    indent_.APRIORITY = std::string(1, FigurePrior(store_, indent_));
    post();
  }

  bool priorityA() const { return indent_.APRIORITY == "A"; }

  // A specific indent needs every listed slot it counts on: an unavailable one is refused where
  // the indent could no longer make up its count (for a cluster, inside a block; for a regular
  // indent, on the last listed day).
  bool specificSlotsAvailable() {
    if (!priorityA()) return true;
    return slotsAvailable(OwnerKind::Class, indent_.ACLASS) &&
           slotsAvailable(OwnerKind::Resource, indent_.ATEACHER);
  }

  bool slotsAvailable(OwnerKind kind, int code) {
    std::vector<int> codes = groupMembers(store_, school_, kind, code);
    if (codes.empty()) codes.push_back(code);
    const std::vector<int> days = listMembers(indent_.ALISTDAY);
    const std::vector<int> periods = listMembers(indent_.ALISTLEC);
    const int lastDay = days.empty() ? 0 : days.back();
    int available = 0;
    for (int item : codes) {
      for (int day : days) {
        for (int period : periods) {
          auto row = slotRow(store_, school_, kind, item, day, period);
          if (row && partnerOf(*row) != 0) {
            ++available;
            continue;
          }
          if (available >= indent_.ANOOFLEC) continue;
          const bool refused = isCluster(indent_) ? available % indent_.AINCLUSOF != 0 : day == lastDay;
          if (!refused) continue;
          if (interactive()) {
            session_.prompter().info("Cannot activate this indent. Period " + std::to_string(period) +
                                     " is not available for " + ownerName(store_, school_, kind, item) +
                                     " on " + DayWords(day, *session_.school()) + ".");
          }
          return false;
        }
      }
    }
    return true;
  }

  bool bookingPasses() {
    if (!priorityA() && pinKindOf(indent_) == PinKind::Free) return true;
    booking_.emplace(session_, indent_, interaction_);
    for (OwnerKind kind : {OwnerKind::Class, OwnerKind::Resource}) {
      const int code = kind == OwnerKind::Class ? indent_.ACLASS : indent_.ATEACHER;
      std::vector<int> codes{code};
      for (int member : groupMembers(store_, school_, kind, code)) codes.push_back(member);
      for (int item : codes) {
        if (!book_mkchk_proc(*booking_, kind, item)) return false;
      }
    }
    return true;
  }

  bool withinOnePerDay() {
    const int days = schoolWeek(session_).days;
    if (!isRegularOnePerDay(indent_) || indent_.ANOOFLEC <= days || priorityA()) return true;
    result_.failure = FailureKind::Count;
    if (interactive() &&
        session_.prompter().ask(MessageKind::Information, breakUpQuestion(indent_.ANOOFLEC, days))) {
      result_.breakUpCopies = breakUpOnePerDay(session_, indent_.ASERIALNO);
    }
    return false;
  }

  Session& session_;
  Store& store_;
  int school_;
  TAlloc indent_;
  Interaction interaction_;
  ValidationResult result_;
  std::optional<BookingCheck> booking_;
};

}  // namespace

ValidationResult Validate(Session& session, int serial, Interaction interaction) {
  auto indent = findIndent(session, serial);
  if (!indent) return {};
  return Validation(session, *indent, interaction).run();
}

}  // namespace tavrel::indents
