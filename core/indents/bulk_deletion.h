// Deleting many indents at once. The school-wide deletions of active indents leave nothing placed
// and nothing counted: with the active indents gone, the timetable is empty and every demand and
// allocation counter of the school is 0 (passive indents are never counted).
#pragma once

#include <optional>

#include "core/indents/indent_scope.h"
#include "core/ports/progress.h"

namespace tavrel::indents {

// `Zap1Click`: every indent of the school, after "Deleting All Indents. Ok?". False on No.
bool Zap1Click(store::Session& session, Progress& progress);

// `ZapA1Click`: the active indents of the school, after "Deleting Active Indents. Ok?".
bool ZapA1Click(store::Session& session, Progress& progress);

// `ZapP1Click`: the passive indents of the scope, after "Deleting Passive Indents. Ok?", closing
// with their number. Returns that number, or nothing on No.
std::optional<int> ZapP1Click(store::Session& session, Progress& progress, const IndentScope& scope);

// "Delete &Both Passive and Active Indents" of the school view: the passive indents of the item,
// then its active ones, each with its own question and message.
void deleteBothPassiveAndActive(store::Session& session, Progress& progress, const IndentScope& scope);

}  // namespace tavrel::indents
