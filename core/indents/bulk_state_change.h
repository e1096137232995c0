// Making many indents active or passive at once, from the institution view (the whole school) or
// the school view (one class, resource or subject). Validation and activation run silently; an
// indent that fails stays passive and is counted.
#pragma once

#include <optional>

#include "core/indents/indent_scope.h"
#include "core/ports/progress.h"

namespace tavrel::indents {

struct BulkCount {
  int done = 0;
  int of = 0;  // the indents the command set out to change
};

// `MakeActive1Click`: validates and activates the scope's passive indents in serial order. A person
// is asked "Ok to make indents active? " first and told "<k>/<M> indents activated. " with the
// failures. Nothing when the question was answered No.
std::optional<BulkCount> MakeActive1Click(store::Session& session, Progress& progress,
                                          const IndentScope& scope, BulkCaller caller);

enum class PassiveMode { MakePassive, Delete };

// `MakePassive1Click`: makes the scope's active indents passive, or deletes them, and then sets the
// per-day limits of the scope back to 1 (never below what active indents outside the scope still
// need). With a resource scope the subject limits reset are those of the classes and subjects of
// the scope's indents; with a subject scope, the resource limits of their classes and resources:
// limits of items that the scope has nothing to do with are left alone.
std::optional<BulkCount> MakePassive1Click(store::Session& session, Progress& progress,
                                           const IndentScope& scope, PassiveMode mode, BulkCaller caller);

}  // namespace tavrel::indents
