// `Validate`: everything an indent must satisfy before it may take part in allocation, checked in
// order, the first failure ending the check: it names its class, resource and subject; its
// constraint lies inside the school's week and, for a cluster, holds a run of periods long enough
// for one cluster; it asks for periods, and its class and resource (and their members) have room
// for them; its priority letter; a specific (A) indent's slots are available; the booking check;
// and a one-per-day indent asks for no more periods than the cycle has days.
//
// Validation stores only what it decides: the default constraint of an indent without constraint
// whose lists outgrew the week, the priority letter, the B promotions of the booking check, and
// the one-per-day break-up when the person asks for it.
#pragma once

#include <optional>
#include <vector>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

// The field a failure points the indent window to.
enum class FailureKind { None = 0, Class = 1, Resource = 2, Subject = 3, Count = 4, Constraint = 5 };

// The class or resource whose statistics the person asked to examine after a capacity refusal.
struct ExamineStatistics {
  store::OwnerKind kind;
  int code;
};

struct ValidationResult {
  bool ok = false;
  FailureKind failure = FailureKind::None;
  std::optional<ExamineStatistics> examine;
  std::vector<int> breakUpCopies;  // passive indents the one-per-day break-up made

  explicit operator bool() const { return ok; }
};

ValidationResult Validate(store::Session& session, int serial, Interaction interaction);

}  // namespace tavrel::indents
