// How the periods of one lesson of another program's file become Tavrel indents: the blocks it is
// taught in (single periods, or runs of a length), at most one block a day where the source spreads
// them over distinct days.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/exchange/school_document.h"

namespace tavrel::exchange {

// Block length → number of blocks of that length.
using LessonParts = std::map<int, int>;

// What the source requires of the blocks of a lesson.
struct SplitRule {
  int minDuration = 1;
  int maxDuration = 0;  // 0: no bound
  int minAmount = 1;
  int maxAmount = 0;  // 0: no bound
};

struct SplitChoice {
  LessonParts parts;
  bool keepsRule = true;    // the blocks are within the rule's lengths and numbers
  bool keepsSpread = true;  // no two blocks need the same day
  std::string description;  // "singles", "2 blocks of 2", "1 block of 2 + 1 single"
};

// The blocks of a lesson of `duration` periods: as many as the rule allows, as even as may be (so
// singles when they are allowed); when `spread`, no more blocks than `days`, the days the lesson
// can be taught on. When nothing keeps both the rule and the spread, the choice keeps the rule with
// the fewest blocks and says so.
SplitChoice chooseSplit(int duration, const SplitRule& rule, bool spread, int days);

// "singles", "2 blocks of 2", "1 block of 2 + 1 single".
std::string describeParts(const LessonParts& parts);

// The lengths alone: "singles", "blocks of 2", "blocks of 2 and singles".
std::string describeShape(const LessonParts& parts);

// The indents of a lesson taught in these blocks: one regular indent for the singles (one per day
// when `spread` and the week has the days), one cluster indent for each block length. `base`
// gives class, resource, subject and constraint.
std::vector<IndentEntry> indentsForParts(const LessonParts& parts, bool spread, int days, const IndentEntry& base);

// The per-day limit of the lesson's subject that keeps its blocks on distinct days when some are
// runs: the longest block (a second block the same day would exceed it). 0 when none is needed.
int spreadSubjectLimit(const LessonParts& parts, bool spread);

}  // namespace tavrel::exchange
