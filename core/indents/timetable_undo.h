// Undoing a school's timetable, or the allocations of one item's indents. The indents stay active
// with nothing placed; their demand stays counted.
#pragma once

#include <optional>

#include "core/indents/indent_scope.h"
#include "core/ports/progress.h"

namespace tavrel::indents {

// `ZapTTProc`: frees every allocated cell of the school and empties every allocation counter
// (the per-day counts, the indents' allocated counts, the allocated totals of classes, resources
// and subject links); the school's proxy records go, since nothing they moved is placed any more.
void ZapTTProc(store::Session& session, Progress& progress);

// "Undo &Timetable Allocations" of the institution view: `ZapTTProc` after "Undoing Timetable
// Allocations. Ok?". False on No.
bool undoSchoolTimetable(store::Session& session, Progress& progress);

// "&Undo Timetable Allocations" of the school view: undoes the allocation of every active indent of
// the scope and says how many. Returns that number, or nothing when the question was answered No.
std::optional<int> undoItemAllocations(store::Session& session, const IndentScope& scope, BulkCaller caller);

// The steps the school-wide undo shares with the school-wide deletions.
void deleteDayCounts(store::Store& store, int school);     // `TTDMAll`, `TTDAll`, `TSDAll`
void freeAllocatedCells(store::Store& store, int school);  // every class and resource cell
enum class ClearedCounters { Allocations, AllocationsAndDemand };
void clearCounters(store::Store& store, int school, ClearedCounters cleared);
void InitProxy(store::Store& store, int school);  // the school's proxy records

}  // namespace tavrel::indents
