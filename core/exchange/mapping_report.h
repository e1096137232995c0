// What an import from another program's format did with the source: what became what in Tavrel,
// and every element or constraint that has no Tavrel equivalent and was left out, counted by kind.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/exchange/school_document.h"

namespace tavrel::exchange {

class MappingReport {
 public:
  // One line of the mapping, "what → what" ("Resource type Teacher: 8 resources → resources").
  void mapped(const std::string& line) { mapped_.push_back(line); }
  // One more element of a kind that a count line sums up ("SplitEventsConstraint → cluster size").
  void counted(const std::string& kind, int count = 1) { counted_[kind] += count; }
  // One more element of a kind that was left out ("ConstraintTeacherMaxGapsPerWeek").
  void dropped(const std::string& kind, int count = 1) { dropped_[kind] += count; }
  // A choice the import made that the person should know of.
  void note(const std::string& line) { notes_.push_back(line); }

  const std::vector<std::string>& mappedLines() const { return mapped_; }
  const std::map<std::string, int>& counts() const { return counted_; }
  const std::map<std::string, int>& droppedKinds() const { return dropped_; }
  const std::vector<std::string>& notes() const { return notes_; }
  int droppedTotal() const;

  // The report as the tool prints it.
  std::string text() const;

 private:
  std::vector<std::string> mapped_;
  std::map<std::string, int> counted_;
  std::map<std::string, int> dropped_;
  std::vector<std::string> notes_;
};

// A school read from another program's file, with what the reading did.
struct ImportedSchool {
  SchoolDocument document;
  MappingReport report;
};

}  // namespace tavrel::exchange
