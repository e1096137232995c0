#include "core/exchange/document_builder.h"

#include <algorithm>
#include <tuple>

#include "core/setup/schools.h"
#include "core/util/text.h"

namespace tavrel::exchange {

namespace {

constexpr int kNameWidth = 25;

std::vector<std::string> sortedUnique(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : "+") + name;
  return text;
}

void addSlot(std::vector<Slot>& slots, Slot slot) {
  if (std::find(slots.begin(), slots.end(), slot) == slots.end()) slots.push_back(slot);
}

void lowerLimit(int& limit, int value) { limit = limit == 0 ? value : std::min(limit, value); }

}  // namespace

Status checkWeek(int days, int periodsPerDay) {
  if (days < 1 || periodsPerDay < 1) {
    return Error{"The week has " + std::to_string(days) + " days of " + std::to_string(periodsPerDay) +
                 " periods; a school needs at least 1 day of 1 period."};
  }
  if (days > kMostDays || periodsPerDay > kMostPeriods) {
    return Error{"The week has " + std::to_string(days) + " days of " + std::to_string(periodsPerDay) +
                 " periods; a school's week holds at most " + std::to_string(kMostDays) + " days of " +
                 std::to_string(kMostPeriods) + " periods."};
  }
  return {};
}

DocumentBuilder::DocumentBuilder(std::string schoolName, int days, int periodsPerDay) {
  document_.name = text::cutToWidth(schoolName, 50);
  document_.days = days;
  document_.periodsPerDay = periodsPerDay;
}

std::string DocumentBuilder::uniqueName(const std::string& sourceName, std::set<std::string>& used) const {
  // The tables keep names in upper case.
  std::string base = setup::upperCase(sourceName.empty() ? std::string("?") : sourceName);
  std::string name = text::cutToWidth(base, kNameWidth);
  for (int n = 2; used.count(name) > 0; ++n) {
    const std::string suffix = "~" + std::to_string(n);
    name = text::cutToWidth(base, kNameWidth - static_cast<int>(suffix.size())) + suffix;
  }
  used.insert(name);
  return name;
}

std::string DocumentBuilder::subject(const std::string& sourceName) {
  auto it = subjectNames_.find(sourceName);
  if (it != subjectNames_.end()) return it->second;
  const std::string name = uniqueName(sourceName, usedSubjects_);
  subjectNames_[sourceName] = name;
  document_.subjects.push_back({name, ""});
  return name;
}

std::string DocumentBuilder::addResource(const std::string& baseName, std::vector<std::string> members) {
  const std::string name = uniqueName(baseName, usedResources_);
  if (members.empty()) members = {name};
  resourceIndex_[name] = document_.resources.size();
  resourceByMembers_[members] = name;
  membersOfResource_[name] = members;
  ResourceEntry entry{name};
  if (members != std::vector<std::string>{name}) {
    entry.members = members;
    ++groupResources_;
  }
  document_.resources.push_back(std::move(entry));
  return name;
}

std::string DocumentBuilder::addClass(const std::string& baseName, std::vector<std::string> members) {
  const std::string name = uniqueName(baseName, usedClasses_);
  if (members.empty()) members = {name};
  classIndex_[name] = document_.classes.size();
  classByMembers_[members] = name;
  membersOfClass_[name] = members;
  ClassEntry entry{name};
  if (members != std::vector<std::string>{name}) {
    entry.members = members;
    ++groupClasses_;
  }
  document_.classes.push_back(std::move(entry));
  return name;
}

std::vector<std::string> DocumentBuilder::plainMembersOf(const std::vector<std::string>& classes) const {
  std::vector<std::string> members;
  for (const std::string& cls : classes) {
    const auto& plain = plainMembers(cls);
    members.insert(members.end(), plain.begin(), plain.end());
  }
  return sortedUnique(std::move(members));
}

std::string DocumentBuilder::resource(const std::string& sourceName) {
  auto it = resourceNames_.find(sourceName);
  if (it != resourceNames_.end()) return it->second;
  return resourceNames_[sourceName] = addResource(sourceName, {});
}

std::string DocumentBuilder::plainClass(const std::string& sourceName) {
  auto it = classNames_.find(sourceName);
  if (it != classNames_.end()) return it->second;
  return classNames_[sourceName] = addClass(sourceName, {});
}

const std::vector<std::string>& DocumentBuilder::plainMembers(const std::string& className) const {
  return membersOfClass_.at(className);
}

std::string DocumentBuilder::namedGroupClass(const std::string& sourceName,
                                             const std::vector<std::string>& classes) {
  std::vector<std::string> members = plainMembersOf(classes);
  auto known = classByMembers_.find(members);
  return classNames_[sourceName] =
             known != classByMembers_.end() ? known->second : addClass(sourceName, std::move(members));
}

std::string DocumentBuilder::classFor(const std::vector<std::string>& classes) {
  std::vector<std::string> members = plainMembersOf(classes);
  auto known = classByMembers_.find(members);
  return known != classByMembers_.end() ? known->second : addClass(joined(sortedUnique(classes)), std::move(members));
}

std::string DocumentBuilder::resourceFor(const std::vector<std::string>& resources) {
  std::vector<std::string> members = sortedUnique(resources);
  auto known = resourceByMembers_.find(members);
  if (known != resourceByMembers_.end()) return known->second;
  const std::string baseName = joined(members);
  return addResource(baseName, std::move(members));
}

ClassEntry& DocumentBuilder::classEntry(const std::string& name) { return document_.classes[classIndex_.at(name)]; }

ResourceEntry& DocumentBuilder::resourceEntry(const std::string& name) {
  return document_.resources[resourceIndex_.at(name)];
}

void DocumentBuilder::schoolNotAvailable(Slot slot) { addSlot(document_.notAvailable, slot); }

void DocumentBuilder::classNotAvailable(const std::string& className, Slot slot) {
  addSlot(classEntry(className).notAvailable, slot);
}

void DocumentBuilder::resourceNotAvailable(const std::string& resourceName, Slot slot) {
  ResourceEntry& entry = resourceEntry(resourceName);
  addSlot(entry.notAvailable, slot);
  entry.partTime = true;
}

void DocumentBuilder::resourcePerDay(const std::string& resourceName, int perDay) {
  lowerLimit(resourceEntry(resourceName).perDay, std::clamp(perDay, 1, kMostPeriods));
}

void DocumentBuilder::resourceSequence(const std::string& resourceName, int sequence) {
  lowerLimit(resourceEntry(resourceName).sequence, std::clamp(sequence, 1, kMostPeriods));
}

void DocumentBuilder::subjectLimit(const std::string& className, const std::string& subjectName, int perDay) {
  perDay = std::clamp(perDay, 1, kMostPeriods);
  for (DayLimit& limit : document_.subjectLimits) {
    if (limit.className == className && limit.item == subjectName) {
      limit.perDay = std::min(limit.perDay, perDay);
      return;
    }
  }
  document_.subjectLimits.push_back({className, subjectName, perDay});
}

IndentEntry& DocumentBuilder::addIndent(IndentEntry indent) {
  document_.indents.push_back(std::move(indent));
  return document_.indents.back();
}

std::vector<int> DocumentBuilder::openPeriods(const std::string& className, const std::string& resourceName) const {
  std::set<std::pair<int, int>> closed;
  const auto close = [&](const std::vector<Slot>& slots) {
    for (const Slot& slot : slots) closed.insert({slot.day, slot.period});
  };
  close(document_.notAvailable);
  if (!className.empty()) {
    close(document_.classes[classIndex_.at(className)].notAvailable);
    for (const std::string& member : membersOfClass_.at(className))
      close(document_.classes[classIndex_.at(member)].notAvailable);
  }
  if (!resourceName.empty()) {
    close(document_.resources[resourceIndex_.at(resourceName)].notAvailable);
    for (const std::string& member : membersOfResource_.at(resourceName))
      close(document_.resources[resourceIndex_.at(member)].notAvailable);
  }
  std::vector<int> open(document_.days, 0);
  for (int day = 1; day <= document_.days; ++day)
    for (int period = 1; period <= document_.periodsPerDay; ++period) open[day - 1] += !closed.count({day, period});
  return open;
}

int DocumentBuilder::sharedDays(const std::string& className, const std::string& resourceName) const {
  const std::vector<int> open = openPeriods(className, resourceName);
  return static_cast<int>(std::count_if(open.begin(), open.end(), [](int periods) { return periods > 0; }));
}

Result<SchoolDocument> DocumentBuilder::finish() {
  const auto tooMany = [](std::size_t count, const char* what) {
    return Error{"The school would have " + std::to_string(count) + " " + what + "; a school holds at most " +
                 std::to_string(kMostItems) + "."};
  };
  if (document_.classes.size() > kMostItems) return tooMany(document_.classes.size(), "classes");
  if (document_.resources.size() > kMostItems) return tooMany(document_.resources.size(), "resources");
  if (document_.subjects.size() > kMostItems) return tooMany(document_.subjects.size(), "subjects");
  const int periods = document_.periodsPerDay;
  const int week = std::min(108, document_.days * periods);
  for (ResourceEntry& entry : document_.resources) {
    if (entry.perDay == 0) entry.perDay = periods;
    if (entry.perWeek == 0) entry.perWeek = week;
    if (entry.sequence == 0) entry.sequence = periods;
  }
  // Listed as an export of the school lists them, so that the document and the export agree.
  const auto byName = [](const auto& a, const auto& b) { return a.name < b.name; };
  const auto bySlot = [](const Slot& a, const Slot& b) { return std::tie(a.day, a.period) < std::tie(b.day, b.period); };
  // Where the school does not work, no class or resource can be taught: the data set keeps it so.
  for (const Slot& slot : document_.notAvailable) {
    for (ClassEntry& entry : document_.classes) addSlot(entry.notAvailable, slot);
    for (ResourceEntry& entry : document_.resources) addSlot(entry.notAvailable, slot);
  }
  std::sort(document_.notAvailable.begin(), document_.notAvailable.end(), bySlot);
  for (ClassEntry& entry : document_.classes) std::sort(entry.notAvailable.begin(), entry.notAvailable.end(), bySlot);
  for (ResourceEntry& entry : document_.resources) std::sort(entry.notAvailable.begin(), entry.notAvailable.end(), bySlot);
  std::set<std::pair<std::string, std::string>> subjectRows, resourceRows;
  for (const DayLimit& limit : document_.subjectLimits) subjectRows.insert({limit.className, limit.item});
  for (const IndentEntry& indent : document_.indents) {
    if (subjectRows.insert({indent.className, indent.subject}).second)
      document_.subjectLimits.push_back({indent.className, indent.subject, periods});
    if (resourceRows.insert({indent.className, indent.resource}).second)
      document_.resourceLimits.push_back({indent.className, indent.resource, periods});
  }
  const auto byRow = [](const DayLimit& a, const DayLimit& b) {
    return std::tie(a.className, a.item) < std::tie(b.className, b.item);
  };
  std::sort(document_.subjectLimits.begin(), document_.subjectLimits.end(), byRow);
  std::sort(document_.resourceLimits.begin(), document_.resourceLimits.end(), byRow);
  SchoolDocument finished = document_;
  std::sort(finished.subjects.begin(), finished.subjects.end(), byName);
  std::sort(finished.classes.begin(), finished.classes.end(), byName);
  std::sort(finished.resources.begin(), finished.resources.end(), byName);
  return finished;
}

}  // namespace tavrel::exchange
