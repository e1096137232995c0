// Builds a school document from the items of another program's timetabling file: names cut to the
// width Tavrel keeps and made unique, classes standing for several sets of students made group
// classes of the sets' smallest parts, several teachers or rooms of one lesson made a group resource,
// and the week checked against the 9 days of 12 periods a school can have.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/exchange/mapping_report.h"
#include "core/exchange/school_document.h"
#include "core/util/result.h"

namespace tavrel::exchange {

inline constexpr int kMostDays = 9;
inline constexpr int kMostPeriods = 12;
inline constexpr int kMostItems = 999;  // classes or resources of a school, subjects of an institution

// The refusal for a week Tavrel cannot hold, or success.
Status checkWeek(int days, int periodsPerDay);

class DocumentBuilder {
 public:
  DocumentBuilder(std::string schoolName, int days, int periodsPerDay);

  // The Tavrel name of a source item, made on first use. Source names are kept as far as they fit.
  std::string subject(const std::string& sourceName);
  std::string resource(const std::string& sourceName);
  // A class of its own (the smallest part of the students) ...
  std::string plainClass(const std::string& sourceName);
  // ... or one that stands for the given classes (a year made of groups); a set of one class is that
  // class itself under the source's name only when the names agree, otherwise a group of one.
  std::string namedGroupClass(const std::string& sourceName, const std::vector<std::string>& classes);
  bool hasClass(const std::string& sourceName) const { return classNames_.count(sourceName) > 0; }
  bool hasResource(const std::string& sourceName) const { return resourceNames_.count(sourceName) > 0; }
  // The Tavrel class of a source set, by the source's name (must have been made).
  const std::string& classOf(const std::string& sourceName) const { return classNames_.at(sourceName); }
  const std::string& resourceOf(const std::string& sourceName) const { return resourceNames_.at(sourceName); }

  // The class for a lesson of several Tavrel classes: the one class whose plain members are exactly
  // theirs when there is one, otherwise a new group class named after them.
  std::string classFor(const std::vector<std::string>& classes);
  // The same for the teachers and rooms of one lesson.
  std::string resourceFor(const std::vector<std::string>& resources);
  // The plain classes a class stands for (itself when it is plain).
  const std::vector<std::string>& plainMembers(const std::string& className) const;

  void schoolNotAvailable(Slot slot);
  void classNotAvailable(const std::string& className, Slot slot);
  void resourceNotAvailable(const std::string& resourceName, Slot slot);
  // Per-day and continuity limits of a resource; the smaller wins when the source states two.
  void resourcePerDay(const std::string& resourceName, int perDay);
  void resourceSequence(const std::string& resourceName, int sequence);
  void subjectLimit(const std::string& className, const std::string& subjectName, int perDay);

  IndentEntry& addIndent(IndentEntry indent);

  // Per day, the periods open to the class and the resource and all their members (an empty name
  // leaves that side out).
  std::vector<int> openPeriods(const std::string& className, const std::string& resourceName) const;
  // The days on which the class and the resource (and all their members) share an open period.
  int sharedDays(const std::string& className, const std::string& resourceName) const;

  int groupClasses() const { return groupClasses_; }
  int groupResources() const { return groupResources_; }
  const SchoolDocument& document() const { return document_; }

  // The finished document, or the refusal when it holds more items than a school can. Limits the
  // source does not state are set to the whole day and week, so that only the source's limits bind:
  // a resource's per-day, per-week and sequence limits, and the per-day limits of every subject and
  // resource of a class's indents.
  Result<SchoolDocument> finish();

 private:
  std::string uniqueName(const std::string& sourceName, std::set<std::string>& used) const;
  // A new class or resource standing for `members` (none: itself), named after `baseName`.
  std::string addClass(const std::string& baseName, std::vector<std::string> members);
  std::string addResource(const std::string& baseName, std::vector<std::string> members);
  std::vector<std::string> plainMembersOf(const std::vector<std::string>& classes) const;
  ClassEntry& classEntry(const std::string& name);
  ResourceEntry& resourceEntry(const std::string& name);

  SchoolDocument document_;
  std::map<std::string, std::string> subjectNames_, classNames_, resourceNames_;  // source → Tavrel
  std::set<std::string> usedSubjects_, usedClasses_, usedResources_;
  std::map<std::string, std::size_t> classIndex_, resourceIndex_;                 // Tavrel → entry
  std::map<std::vector<std::string>, std::string> classByMembers_, resourceByMembers_;
  std::map<std::string, std::vector<std::string>> membersOfClass_;
  std::map<std::string, std::vector<std::string>> membersOfResource_;
  int groupClasses_ = 0;
  int groupResources_ = 0;
};

}  // namespace tavrel::exchange
