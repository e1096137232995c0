// Per-day upper limits of a subject or a resource for a class: the smallest limit the class's
// active indents allow, and storing a limit.
#pragma once

#include <optional>

#include "core/store/session.h"

namespace tavrel::store {

enum class LimitKind { Subject, Resource };  // "S": `TSOcc`, "T": `TTOcc`
enum class LimitOp { Add, Delete };          // "A": the indent counts, "D": the indent is left out

struct PerDayMinimum {
  int minimum = 0;
  // Subject, Add only: another active regular one-per-day indent of the class and subject (the
  // first in priority order), which the priority rules of activation revise.
  std::optional<int> onePerDaySerial;
};

// `CheckCUL`: over the active indents of the indent's class with the same subject (resource), the
// larger of their largest cluster and their total count spread over the school's days, rounded up.
// The spread uses the days of the school's own cycle: a 6-period subject in a 5-day school needs 2
// a day, and a limit worked out over 9 days (1) could never be met. A school without a week frame
// counts 9 days.
PerDayMinimum CheckCUL(Session& session, LimitKind kind, LimitOp op, const TAlloc& indent);

// Writes the per-day limit of the subject (resource) `code` for the class of `school`, adding the
// limit record when the class has none yet; within the caller's transaction, without a flush.
void storePerDayLimit(Store& store, LimitKind kind, int school, int classCode, int code, int value);

// `post_occur`: stores the per-day limit of the subject (resource) `code` for the class, adding the
// limit record when the class has none yet.
void post_occur(Session& session, LimitKind kind, int classCode, int code, int value);

}  // namespace tavrel::store
