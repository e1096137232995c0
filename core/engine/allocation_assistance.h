// "Allocation Assistance": after a single indent stayed incomplete, the limits that the attempt
// found in its way (the Diagnosis of table mode) are offered for relaxing, one line each; the
// person picks lines ("Allocate &Select") or takes every finding ("Allocate &Auto"), and the caller
// then allocates the indent again. The cluster permission it may turn on is the session's; the
// caller puts it back after that attempt.
#pragma once

#include <string>
#include <vector>

#include "core/engine/slots.h"
#include "core/store/session.h"

namespace tavrel::engine {

enum class AssistanceLine {
  SubjectPerDay,
  ResourcePerClassDay,
  ResourcePerDay,
  Continuity,
  Recess,
  ClusterPermission
};

struct AssistanceRow {
  AssistanceLine line;
  std::string caption;
  std::string value;     // "Change to"
  bool enabled = false;  // whether its "Click to select" box can be checked; every box starts unchecked
};

struct Assistance {
  std::vector<AssistanceRow> rows;  // in the window's order
  // "Changing the constraint may also lead to allocation without taking above changes.", shown
  // when the indent has a constraint.
  std::string note;
};

// Opening the window for the indent and what its attempt found. Empty rows when the indent is gone.
Assistance assistanceFor(store::Session& session, int serial, const Diagnosis& diagnosis);

// "Allocate &Select": relaxes the checked lines that have a finding. With none checked the person
// is told to select one and the window stays (false); otherwise it closes accepted (true).
bool allocateSelected(store::Session& session, int serial, const Diagnosis& diagnosis,
                      const std::vector<AssistanceLine>& checked);

// "Allocate &Auto": relaxes every limit the attempt found, whatever is checked; closes accepted.
void allocateAuto(store::Session& session, int serial, const Diagnosis& diagnosis);

}  // namespace tavrel::engine
