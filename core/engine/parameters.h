// The parameter rows that carry the indent in hand between the engine's steps: `TAPara`, the
// indent being placed (or moved), and `TRPara`, the indent the rearrangement works for. Both are
// copies of the indent's row with the counts of the attempt.
#pragma once

#include <string>

#include "core/store/tables.h"

namespace tavrel::engine {

// Kinds of attempt (`PREARRNG`): the first attempt of a batch, a re-attempt or table-mode
// allocation, and a move made by the rearrangement.
inline constexpr const char* kFirstAttempt = "A";
inline constexpr const char* kReattempt = "R";
inline constexpr const char* kMove = "L";

// Passes of the rearrangement (`RREARRNG`).
inline constexpr const char* kResourcePass = "T";
inline constexpr const char* kClassPass = "C";

// `TAPara` := the indent, to place `periods` periods in an attempt of the given kind.
store::TAPara allocationParameters(const store::TAlloc& indent, int periods, const std::string& kind);

// `TRPara` := the indent, still missing `missing` periods, for the given pass.
store::TRPara rearrangeParameters(const store::TAlloc& indent, int missing, const std::string& pass);

}  // namespace tavrel::engine
