// The checks of the indent window's number fields, made as each field is left. A bad value is
// reported and the value the field had on entry is put back; the two per-day limits of the class
// are stored at once, corrected to what the class's active indents need.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

enum class IndentField {
  Count,             // "Count/ Wk" (`ANOOFLEC`): 0 to the slots of the week
  ClusterSize,       // "Cluster of" (`AINCLUSOF`): 2 to 12
  ClustersPerWeek,   // "Occurence" (`ACLUSWEEK`): 1 to 9
  ResourcePerDay,    // `TMAXLEC`: 1 to the periods of a day
  ResourcePerWeek,   // `TMAXLECWK`: 1 to the slots of the week
  ResourceSequence,  // `TMAXCON`: 1 to the periods of a day
};

// The value to keep, or nothing after the range message (the field then gets its old value back).
std::optional<int> checkIndentField(store::Session& session, IndentField field, std::string_view typed);

// The count field shows an empty box rather than 0 when it is entered.
std::string countFieldText(int count);

// "For Class per Day upper limits of:" "Subject" (`SOCCURENCE`) or "Resource" (`TOCCURENCE`) of the
// active indent `serial`. An out-of-range value is reported and `oldValue` stored again; the
// subject limit of a regular one-per-day indent is 1; a value below what the class's active indents
// of the subject (resource) need is reported and that minimum stored. Returns the stored value.
int checkClassDayLimit(store::Session& session, store::LimitKind kind, int serial, std::string_view typed,
                       int oldValue);

}  // namespace tavrel::indents
