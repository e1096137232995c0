// Applying the school's availability to its classes and resources: each of their cells becomes
// available exactly where the school is. Every allocation in the affected timetables is undone
// first (a cell that is overwritten must not keep counting a period), the active indents are made
// passive while the availability changes and are validated and activated again afterwards.
#pragma once

#include "core/indents/indent_facts.h"
#include "core/indents/indent_scope.h"
#include "core/ports/progress.h"

namespace tavrel::indents {

enum class AvailabilityTarget { Classes, Resources, Both };  // kinds "C", "T", "A"

// `ApplyAvailProc`: for the whole school, after the question. False on No.
bool ApplyAvailProc(store::Session& session, Progress& progress, AvailabilityTarget target);

// `ApplyAvail`: overwrites the cells of every class (or resource) with the school's availability
// and sets their available counts; resources also have their limits lowered to fit the week. The
// cells must hold no allocation: the callers undo them first.
void ApplyAvail(store::Session& session, Progress& progress, store::OwnerKind kind);

// "Apply &School Availability" of the school view for one class or resource. Periods of the
// groups the item belongs to are placed in its cells too; each such period is released whole (the
// group's cells, its members', the partner's and the partner's members', and every counter)
// before the cells are overwritten. False on No.
bool applySchoolAvailabilityToItem(store::Session& session, Progress& progress, store::OwnerKind kind,
                                   int code);

}  // namespace tavrel::indents
