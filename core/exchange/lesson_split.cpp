#include "core/exchange/lesson_split.h"

#include <algorithm>

namespace tavrel::exchange {

namespace {

int blocks(const LessonParts& parts) {
  int count = 0;
  for (const auto& [length, number] : parts) count += number;
  return count;
}

bool withinRule(const LessonParts& parts, const SplitRule& rule) {
  const int count = blocks(parts);
  if (count < rule.minAmount || (rule.maxAmount > 0 && count > rule.maxAmount)) return false;
  for (const auto& [length, number] : parts) {
    if (length < rule.minDuration || (rule.maxDuration > 0 && length > rule.maxDuration)) return false;
  }
  return true;
}

// The ways to cut the lesson, in the order they are preferred: into as many blocks as may be, each
// cut as even as it can be (5 periods in 4 blocks: one of 2 and three singles).
std::vector<LessonParts> candidates(int duration, const SplitRule& rule) {
  std::vector<LessonParts> result;
  const int longest = rule.maxDuration > 0 ? std::min(rule.maxDuration, duration) : duration;
  const int fewest = (duration + longest - 1) / longest;
  for (int count = duration; count >= fewest; --count) {
    LessonParts parts;
    const int base = duration / count;
    const int longer = duration % count;
    if (longer > 0) parts[base + 1] = longer;
    if (count - longer > 0) parts[base] = count - longer;
    result.push_back(parts);
  }
  return result;
}

}  // namespace

std::string describeParts(const LessonParts& parts) {
  std::string text;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    const auto [length, number] = *it;
    if (number == 0) continue;
    if (!text.empty()) text += " + ";
    if (length == 1) {
      text += std::to_string(number) + (number == 1 ? " single" : " singles");
    } else {
      text += std::to_string(number) + (number == 1 ? " block of " : " blocks of ") + std::to_string(length);
    }
  }
  return text;
}

std::string describeShape(const LessonParts& parts) {
  std::string text;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (it->second == 0) continue;
    if (!text.empty()) text += " and ";
    text += it->first == 1 ? std::string("singles") : (text.empty() ? "blocks of " : "") + std::to_string(it->first);
  }
  return text;
}

SplitChoice chooseSplit(int duration, const SplitRule& rule, bool spread, int days) {
  const std::vector<LessonParts> ways = candidates(duration, rule);
  for (const LessonParts& parts : ways) {
    if (withinRule(parts, rule) && (!spread || blocks(parts) <= days))
      return {parts, true, true, describeParts(parts)};
  }
  // Too few days: the fewest blocks the rule allows, so that as few as may be share a day.
  for (auto it = ways.rbegin(); it != ways.rend(); ++it) {
    if (withinRule(*it, rule)) return {*it, true, !spread, describeParts(*it)};
  }
  // No cut keeps the rule: the fewest blocks, on distinct days if the week allows.
  const LessonParts whole{{duration, 1}};
  return {whole, false, true, describeParts(whole)};
}

std::vector<IndentEntry> indentsForParts(const LessonParts& parts, bool spread, int days, const IndentEntry& base) {
  std::vector<IndentEntry> indents;
  for (const auto& [length, number] : parts) {
    if (number == 0) continue;
    IndentEntry indent = base;
    indent.periods = length * number;
    if (length == 1) {
      indent.clusterSize = 0;
      indent.clustersPerWeek = 0;
      indent.onePerDay = spread && number > 1 && number <= days;
    } else {
      indent.clusterSize = length;
      indent.clustersPerWeek = number;
      indent.onePerDay = false;
    }
    indents.push_back(std::move(indent));
  }
  return indents;
}

int spreadSubjectLimit(const LessonParts& parts, bool spread) {
  if (!spread || parts.empty()) return 0;
  const int longest = parts.rbegin()->first;
  return longest >= 2 && blocks(parts) > 1 ? longest : 0;
}

}  // namespace tavrel::exchange
