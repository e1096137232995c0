#include "core/exchange/xhstt_import.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <vector>

#include "core/exchange/document_builder.h"
#include "core/exchange/lesson_split.h"
#include "core/exchange/slot_constraint.h"
#include "core/exchange/xml_reading.h"

namespace tavrel::exchange {

namespace {

using Node = pugi::xml_node;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string idOf(const Node& node) { return node.attribute("Id").value(); }
std::string referenceOf(const Node& node) { return node.attribute("Reference").value(); }

template <class Map>
const typename Map::mapped_type& lookUp(const Map& map, const std::string& id, const Node& from, const char* what) {
  auto it = map.find(id);
  if (it == map.end())
    fault(describe(from) + " refers to " + what + " \"" + id + "\", which the instance does not define.");
  return it->second;
}

struct TimeSlot {
  int day = 0;
  int period = 0;
};

struct SourceResource {
  bool isClass = false;
  std::string name;  // the Tavrel name
};

// What the hard constraints ask of one event.
struct EventDemands {
  SplitRule rule;
  bool hasRule = false;
  bool spread = false;
  int perDay = 0;  // a spread of more than one a day
  // Preferred start times, by the length of the blocks they apply to (0: every block).
  std::map<int, SlotSet> preferredStarts;
};

struct Lesson {
  std::string className, resource, subject;
  int duration = 0;
  EventDemands demands;
};

class XhsttReader {
 public:
  XhsttReader(const Node& instance, const XhsttOptions& options) : instance_(instance), options_(options) {}

  ImportedSchool read() {
    readTimes();
    builder_.emplace(options_.school, static_cast<int>(dayIds_.size()), periodsPerDay_);
    readResources();
    readEvents();
    readConstraints();
    buildIndents();
    auto document = builder_->finish();
    if (!document) fault(document.error());
    return {std::move(*document), std::move(report_)};
  }

 private:
  // ---- Times -------------------------------------------------------------------------------------
  void readTimes() {
    const Node times = instance_.child("Times");
    std::map<std::string, std::string> dayNames;
    for (const Node& group : times.child("TimeGroups").children()) {
      timeGroups_[idOf(group)];
      if (std::string(group.name()) == "Day") {
        dayIds_.push_back(idOf(group));
        dayNames[idOf(group)] = childText(group, "Name");
      }
    }
    std::map<std::string, int> periodsOfDay;
    for (const Node& time : times.children("Time")) {
      const Node day = time.child("Day");
      if (!day) fault(describe(time) + " belongs to no <Day>: Tavrel needs the days of the week.");
      const std::string dayId = referenceOf(day);
      auto position = std::find(dayIds_.begin(), dayIds_.end(), dayId);
      if (position == dayIds_.end())
        fault(describe(time) + " refers to day \"" + dayId + "\", which the instance does not define.");
      const int dayNumber = static_cast<int>(position - dayIds_.begin()) + 1;
      times_[idOf(time)] = {dayNumber, ++periodsOfDay[dayId]};
      timeGroups_[dayId].insert(idOf(time));
      for (const Node& member : time.child("TimeGroups").children()) {
        lookUp(timeGroups_, referenceOf(member), time, "time group").size();
        timeGroups_[referenceOf(member)].insert(idOf(time));
      }
    }
    if (dayIds_.empty()) fault("<Times> declares no <Day>: Tavrel needs the days of the week.");
    periodsPerDay_ = periodsOfDay[dayIds_.front()];
    std::string counts;
    bool uneven = false;
    for (const std::string& day : dayIds_) {
      counts += (counts.empty() ? "" : ", ") + dayNames[day] + " " + std::to_string(periodsOfDay[day]);
      uneven = uneven || periodsOfDay[day] != periodsPerDay_;
    }
    if (uneven) fault("The days have different numbers of periods (" + counts + "); a school's days all have the same.");
    const Status week = checkWeek(static_cast<int>(dayIds_.size()), periodsPerDay_);
    if (!week) fault(week.error());
    std::string names;
    for (const std::string& day : dayIds_) names += (names.empty() ? "" : ", ") + dayNames[day];
    report_.mapped("Instance " + idOf(instance_) + ": " + std::to_string(dayIds_.size()) + " days of " +
                   std::to_string(periodsPerDay_) + " periods; days " + names + " → days 1 to " +
                   std::to_string(dayIds_.size()));
    dayGroupIds_.insert(dayIds_.begin(), dayIds_.end());
  }

  Slot slotOf(const std::string& timeId, const Node& from) const {
    const TimeSlot& slot = lookUp(times_, timeId, from, "time");
    return {slot.day, slot.period};
  }

  // The times a constraint names, through time groups and single times.
  std::vector<std::string> timesOf(const Node& constraint) const {
    std::set<std::string> ids;
    for (const Node& group : constraint.child("TimeGroups").children("TimeGroup")) {
      const auto& members = lookUp(timeGroups_, referenceOf(group), constraint, "time group");
      ids.insert(members.begin(), members.end());
    }
    for (const Node& time : constraint.child("Times").children("Time")) {
      lookUp(times_, referenceOf(time), constraint, "time");
      ids.insert(referenceOf(time));
    }
    return {ids.begin(), ids.end()};
  }

  // ---- Resources ---------------------------------------------------------------------------------
  void readResources() {
    const Node resources = instance_.child("Resources");
    std::map<std::string, std::string> typeNames;
    for (const Node& type : resources.child("ResourceTypes").children("ResourceType"))
      typeNames[idOf(type)] = childText(type, "Name");
    for (const Node& group : resources.child("ResourceGroups").children("ResourceGroup")) {
      lookUp(typeNames, referenceOf(group.child("ResourceType")), group, "resource type");
      resourceGroups_[idOf(group)];
    }
    std::map<std::string, int> nameUses;
    for (const Node& resource : resources.children("Resource")) ++nameUses[childText(resource, "Name")];
    std::map<std::string, std::pair<int, bool>> perType;
    for (const Node& resource : resources.children("Resource")) {
      const std::string typeId = referenceOf(resource.child("ResourceType"));
      const std::string& typeName = lookUp(typeNames, typeId, resource, "resource type");
      const std::string kind = lower(typeId + " " + typeName);
      const bool isClass = kind.find("class") != std::string::npos || kind.find("student") != std::string::npos;
      std::string name = childText(resource, "Name");
      if (name.empty() || nameUses[name] > 1) name = idOf(resource);
      sources_[idOf(resource)] = {isClass, isClass ? builder_->plainClass(name) : builder_->resource(name)};
      perType[typeName].first += 1;
      perType[typeName].second = isClass;
      for (const Node& group : resource.child("ResourceGroups").children("ResourceGroup")) {
        lookUp(resourceGroups_, referenceOf(group), resource, "resource group");
        resourceGroups_[referenceOf(group)].push_back(idOf(resource));
      }
    }
    for (const auto& [type, tally] : perType) {
      report_.mapped("Resource type " + type + ": " + std::to_string(tally.first) + " resources → " +
                     (tally.second ? "classes" : "resources"));
    }
  }

  // The resources a constraint applies to.
  std::vector<std::string> resourcesOf(const Node& constraint) const {
    std::set<std::string> ids;
    const Node appliesTo = constraint.child("AppliesTo");
    for (const Node& group : appliesTo.child("ResourceGroups").children("ResourceGroup")) {
      const auto& members = lookUp(resourceGroups_, referenceOf(group), constraint, "resource group");
      ids.insert(members.begin(), members.end());
    }
    for (const Node& resource : appliesTo.child("Resources").children("Resource")) {
      lookUp(sources_, referenceOf(resource), constraint, "resource");
      ids.insert(referenceOf(resource));
    }
    return {ids.begin(), ids.end()};
  }

  // ---- Events ------------------------------------------------------------------------------------
  void readEvents() {
    const Node events = instance_.child("Events");
    std::map<std::string, std::string> courseNames;
    for (const Node& group : events.child("EventGroups").children()) {
      eventGroups_[idOf(group)];
      if (std::string(group.name()) == "Course") courseNames[idOf(group)] = childText(group, "Name");
    }
    for (const Node& event : events.children("Event")) {
      const std::string id = idOf(event);
      const int duration = childNumber(event, "Duration", 1);
      if (duration < 1) fault(describe(event) + ": <Duration> must be at least 1.");
      std::string subject = childText(event, "Name");
      if (const Node course = event.child("Course")) {
        subject = lookUp(courseNames, referenceOf(course), event, "course");
        eventGroups_[referenceOf(course)].push_back(id);
      }
      if (subject.empty()) subject = id;
      for (const Node& group : event.child("EventGroups").children("EventGroup")) {
        lookUp(eventGroups_, referenceOf(group), event, "event group");
        eventGroups_[referenceOf(group)].push_back(id);
      }
      if (event.child("Time")) report_.dropped("Time preassigned to an event");
      std::vector<std::string> classes, resources;
      for (const Node& resource : event.child("Resources").children("Resource")) {
        if (!resource.attribute("Reference")) {
          report_.dropped("Resource of an event left for the solver to assign");
          continue;
        }
        const SourceResource& source = lookUp(sources_, referenceOf(resource), event, "resource");
        (source.isClass ? classes : resources).push_back(source.name);
      }
      eventIds_.push_back(id);
      if (classes.empty() || resources.empty()) {
        report_.dropped(classes.empty() ? "Event without a class" : "Event without a teacher or room");
        continue;
      }
      Lesson& record = events_[id];
      record.className = builder_->classFor(classes);
      record.resource = builder_->resourceFor(resources);
      record.subject = builder_->subject(subject);
      record.duration = duration;
    }
  }

  std::vector<std::string> eventsOf(const Node& constraint) const {
    std::set<std::string> ids;
    const Node appliesTo = constraint.child("AppliesTo");
    for (const Node& group : appliesTo.child("EventGroups").children("EventGroup")) {
      const auto& members = lookUp(eventGroups_, referenceOf(group), constraint, "event group");
      ids.insert(members.begin(), members.end());
    }
    for (const Node& event : appliesTo.child("Events").children("Event")) {
      if (std::find(eventIds_.begin(), eventIds_.end(), referenceOf(event)) == eventIds_.end())
        fault(describe(constraint) + " refers to event \"" + referenceOf(event) + "\", which the instance does not define.");
      ids.insert(referenceOf(event));
    }
    std::vector<std::string> kept;
    for (const std::string& id : ids)
      if (events_.count(id)) kept.push_back(id);
    return kept;
  }

  // ---- Constraints -------------------------------------------------------------------------------
  bool isHard(const Node& constraint) const {
    if (childText(constraint, "Required") == "true") return true;
    return options_.weightAsHard && childNumber(constraint, "Weight", 0) >= *options_.weightAsHard;
  }

  // The per-day maximum of a constraint whose time groups are all whole days, 0 otherwise.
  int perDayMaximum(const Node& constraint) const {
    int maximum = 0;
    const Node groups = constraint.child("TimeGroups");
    for (const Node& group : groups.children("TimeGroup")) {
      if (!dayGroupIds_.count(referenceOf(group))) return 0;
      lookUp(timeGroups_, referenceOf(group), constraint, "time group");
      maximum = std::max(maximum, childNumber(group, "Maximum", childNumber(constraint, "Maximum", 0)));
    }
    if (!groups.child("TimeGroup")) return 0;
    return maximum;
  }

  void readConstraints() {
    for (const Node& constraint : instance_.child("Constraints").children()) {
      const std::string kind = constraint.name();
      if (!isHard(constraint)) {
        report_.dropped(kind + " (soft)");
        continue;
      }
      if (kind == "AssignTimeConstraint") {
        eventsOf(constraint);
        report_.counted("AssignTimeConstraint → every period of an active indent is allocated");
      } else if (kind == "AvoidClashesConstraint") {
        resourcesOf(constraint);
        report_.counted("AvoidClashesConstraint → built in: one lesson at a time per class and resource");
      } else if (kind == "AvoidUnavailableTimesConstraint") {
        readUnavailable(constraint);
      } else if (kind == "SplitEventsConstraint") {
        readSplit(constraint);
      } else if (kind == "SpreadEventsConstraint") {
        readSpread(constraint);
      } else if (kind == "PreferTimesConstraint") {
        readPreferredTimes(constraint);
      } else if (kind == "LimitBusyTimesConstraint") {
        readBusyLimit(constraint);
      } else {
        report_.dropped(kind);
      }
    }
  }

  void readUnavailable(const Node& constraint) {
    const std::vector<std::string> times = timesOf(constraint);
    for (const std::string& id : resourcesOf(constraint)) {
      const SourceResource& source = sources_.at(id);
      for (const std::string& time : times) {
        if (source.isClass) {
          builder_->classNotAvailable(source.name, slotOf(time, constraint));
        } else {
          builder_->resourceNotAvailable(source.name, slotOf(time, constraint));
        }
      }
    }
    report_.counted("AvoidUnavailableTimesConstraint → availability of the class or resource");
  }

  void readSplit(const Node& constraint) {
    for (const std::string& id : eventsOf(constraint)) {
      EventDemands& demands = events_[id].demands;
      demands.hasRule = true;
      demands.rule.minDuration = std::max(demands.rule.minDuration, childNumber(constraint, "MinimumDuration", 1));
      const int maxDuration = childNumber(constraint, "MaximumDuration", 0);
      if (maxDuration > 0)
        demands.rule.maxDuration = demands.rule.maxDuration ? std::min(demands.rule.maxDuration, maxDuration) : maxDuration;
      demands.rule.minAmount = std::max(demands.rule.minAmount, childNumber(constraint, "MinimumAmount", 1));
      const int maxAmount = childNumber(constraint, "MaximumAmount", 0);
      if (maxAmount > 0)
        demands.rule.maxAmount = demands.rule.maxAmount ? std::min(demands.rule.maxAmount, maxAmount) : maxAmount;
    }
    report_.counted("SplitEventsConstraint → the blocks of the indents (cluster size)");
  }

  void readSpread(const Node& constraint) {
    const int maximum = perDayMaximum(constraint);
    if (maximum < 1) {
      report_.dropped("SpreadEventsConstraint over times other than whole days");
      return;
    }
    for (const std::string& id : eventsOf(constraint)) {
      EventDemands& demands = events_[id].demands;
      if (maximum == 1) {
        demands.spread = true;
      } else {
        demands.perDay = demands.perDay ? std::min(demands.perDay, maximum) : maximum;
      }
    }
    report_.counted(maximum == 1 ? "SpreadEventsConstraint (at most 1 a day) → one per day"
                                 : "SpreadEventsConstraint (at most n a day) → subject limit per day");
  }

  void readPreferredTimes(const Node& constraint) {
    SlotSet starts;
    for (const std::string& time : timesOf(constraint)) {
      const Slot slot = slotOf(time, constraint);
      starts.insert({slot.day, slot.period});
    }
    const int length = childNumber(constraint, "Duration", 0);
    report_.counted(length > 0 ? "PreferTimesConstraint → allocation constraint of the blocks of its duration"
                               : "PreferTimesConstraint → allocation constraint");
    for (const std::string& id : eventsOf(constraint)) {
      auto& preferred = events_[id].demands.preferredStarts;
      auto known = preferred.find(length);
      if (known == preferred.end()) {
        preferred[length] = starts;
      } else {
        SlotSet both;
        std::set_intersection(known->second.begin(), known->second.end(), starts.begin(), starts.end(),
                              std::inserter(both, both.begin()));
        known->second = both;
      }
    }
  }

  void readBusyLimit(const Node& constraint) {
    const int maximum = perDayMaximum(constraint);
    if (maximum < 1) {
      report_.dropped("LimitBusyTimesConstraint over times other than whole days");
      return;
    }
    for (const std::string& id : resourcesOf(constraint)) {
      const SourceResource& source = sources_.at(id);
      if (source.isClass) {
        report_.dropped("LimitBusyTimesConstraint on a class (classes have no per-day limit)");
      } else {
        builder_->resourcePerDay(source.name, maximum);
        report_.counted("LimitBusyTimesConstraint per day → resource's per-day limit");
      }
    }
  }

  // ---- Indents -----------------------------------------------------------------------------------
  void buildIndents() {
    // Events of the same class, resource and course are parts of one lesson.
    std::map<std::tuple<std::string, std::string, std::string>, Lesson> lessons;
    std::vector<std::tuple<std::string, std::string, std::string>> order;
    for (const std::string& id : eventIds_) {
      auto found = events_.find(id);
      if (found == events_.end()) continue;
      const Lesson& event = found->second;
      const auto key = std::make_tuple(event.className, event.resource, event.subject);
      auto [it, fresh] = lessons.try_emplace(key);
      if (fresh) {
        order.push_back(key);
        it->second = {event.className, event.resource, event.subject, 0, event.demands};
      } else {
        it->second.demands.spread = it->second.demands.spread || event.demands.spread;
      }
      it->second.duration += event.duration;
    }
    std::vector<Planned> plans;
    for (const auto& key : order) {
      const Lesson& lesson = lessons.at(key);
      const int open = builder_->sharedDays(lesson.className, lesson.resource);
      plans.push_back({&lesson, open, chooseSplit(lesson.duration, lesson.demands.rule, lesson.demands.spread, open)});
    }
    relieveCrowdedDays(plans);
    const int days = static_cast<int>(dayIds_.size());
    std::map<std::string, int> choices;
    int periods = 0;
    int indents = 0;
    for (const Planned& plan : plans) {
      const Lesson& lesson = *plan.lesson;
      const SplitChoice& choice = plan.choice;
      std::string why = lesson.demands.hasRule ? "hard split constraint" : "no hard split constraint";
      if (lesson.demands.spread) why += ", at most one block a day";
      if (!choice.keepsRule) why += "; no split keeps the rule";
      if (!choice.keepsSpread) why += "; too few days for one block a day";
      if (plan.relieved) why += "; fewer blocks, a day of its teacher or class being full";
      ++choices[describeShape(choice.parts) + (lesson.demands.spread && choice.keepsSpread ? " on distinct days" : "") +
                " (" + why + ")"];
      IndentEntry base;
      base.className = lesson.className;
      base.resource = lesson.resource;
      base.subject = lesson.subject;
      base.active = true;
      for (IndentEntry& indent : indentsForParts(choice.parts, lesson.demands.spread && choice.keepsSpread, days, base)) {
        indent.constraint = constraintFor(lesson.demands, std::max(indent.clusterSize, 1));
        periods += indent.periods;
        ++indents;
        builder_->addIndent(std::move(indent));
      }
      if (const int limit = spreadSubjectLimit(choice.parts, lesson.demands.spread && choice.keepsSpread))
        builder_->subjectLimit(lesson.className, lesson.subject, limit);
      if (lesson.demands.perDay > 0)
        builder_->subjectLimit(lesson.className, lesson.subject, lesson.demands.perDay * choice.parts.rbegin()->first);
    }
    report_.mapped("Events: " + std::to_string(events_.size()) + " → " + std::to_string(plans.size()) +
                   " lessons (events of one class, resource and course) → " + std::to_string(indents) +
                   " active indents of " + std::to_string(periods) + " periods");
    report_.mapped("Courses (or event names) → " + std::to_string(builder_->document().subjects.size()) + " subjects");
    report_.mapped("Events of several classes → " + std::to_string(builder_->groupClasses()) +
                   " group classes; of several teachers or rooms → " + std::to_string(builder_->groupResources()) +
                   " group resources");
    for (const auto& [choice, count] : choices) report_.note("Blocks: " + std::to_string(count) + " lessons as " + choice);
  }

  struct Planned {
    const Lesson* lesson;
    int openDays;  // the days its class and resource share an open period
    SplitChoice choice;
    bool relieved = false;
    bool stuck = false;  // cannot be cut into fewer blocks on distinct days
  };

  // A lesson spread over as many blocks as it has open days needs a period on each of them. When
  // on some day a teacher or a class has fewer open periods than such lessons, the largest of
  // them is cut into fewer blocks (longer ones), until no day is over-full or nothing changes.
  void relieveCrowdedDays(std::vector<Planned>& plans) const {
    const auto blocks = [](const SplitChoice& choice) {
      int count = 0;
      for (const auto& [length, number] : choice.parts) count += number;
      return count;
    };
    for (std::size_t round = 0; round < plans.size(); ++round) {
      // owner (class or resource, told apart by a leading mark) → per day, the lessons pinned to it
      std::map<std::string, std::vector<std::vector<Planned*>>> pinned;
      for (Planned& plan : plans) {
        const Lesson& lesson = *plan.lesson;
        if (!lesson.demands.spread || !plan.choice.keepsSpread || blocks(plan.choice) < plan.openDays) continue;
        const std::vector<int> shared = builder_->openPeriods(lesson.className, lesson.resource);
        for (const std::string& owner : {"C" + lesson.className, "R" + lesson.resource}) {
          auto& days = pinned[owner];
          days.resize(shared.size());
          for (std::size_t day = 0; day < shared.size(); ++day)
            if (shared[day] > 0) days[day].push_back(&plan);
        }
      }
      Planned* relieve = nullptr;
      for (const auto& [owner, days] : pinned) {
        const std::vector<int> open = owner[0] == 'C' ? builder_->openPeriods(owner.substr(1), "")
                                                      : builder_->openPeriods("", owner.substr(1));
        for (std::size_t day = 0; day < days.size() && !relieve; ++day) {
          if (static_cast<int>(days[day].size()) <= open[day]) continue;
          for (Planned* plan : days[day]) {
            if (!plan->stuck && blocks(plan->choice) > 1 && (!relieve || plan->lesson->duration > relieve->lesson->duration)) relieve = plan;
          }
        }
        if (relieve) break;
      }
      if (!relieve) return;
      const Lesson& lesson = *relieve->lesson;
      const SplitChoice fewer = chooseSplit(lesson.duration, lesson.demands.rule, true, blocks(relieve->choice) - 1);
      if (fewer.keepsSpread && fewer.keepsRule) {
        relieve->choice = fewer;
        relieve->relieved = true;
      } else {
        relieve->stuck = true;
      }
    }
  }

  // The allocation constraint of the blocks of one length.
  std::string constraintFor(const EventDemands& demands, int length) {
    std::optional<SlotSet> allowed;
    for (const auto& [appliesTo, starts] : demands.preferredStarts) {
      if (appliesTo != 0 && appliesTo != length) continue;
      const SlotSet covered = coveredSlots(starts, length, periodsPerDay_);
      if (!allowed) {
        allowed = covered;
      } else {
        SlotSet both;
        std::set_intersection(allowed->begin(), allowed->end(), covered.begin(), covered.end(),
                              std::inserter(both, both.begin()));
        allowed = both;
      }
    }
    if (!allowed) return "None";
    const auto text = constraintForSlots(*allowed, static_cast<int>(dayIds_.size()), periodsPerDay_, length);
    if (!text) {
      report_.dropped("PreferTimesConstraint whose times are not some periods on some days");
      return "None";
    }
    return *text;
  }

  const Node instance_;
  const XhsttOptions& options_;
  MappingReport report_;
  std::optional<DocumentBuilder> builder_;
  std::vector<std::string> dayIds_;
  std::set<std::string> dayGroupIds_;
  int periodsPerDay_ = 0;
  std::map<std::string, TimeSlot> times_;
  std::map<std::string, std::set<std::string>> timeGroups_;
  std::map<std::string, SourceResource> sources_;
  std::map<std::string, std::vector<std::string>> resourceGroups_;
  std::map<std::string, std::vector<std::string>> eventGroups_;
  std::vector<std::string> eventIds_;
  std::map<std::string, Lesson> events_;
};

}  // namespace

Result<ImportedSchool> importXhstt(const std::string& text, const XhsttOptions& options) {
  pugi::xml_document document;
  if (Status loaded = loadXml(document, text, "HighSchoolTimetableArchive", "an XHSTT file"); !loaded)
    return Error{loaded.error()};
  const Node instances = document.document_element().child("Instances");
  Node chosen;
  std::string ids;
  for (const Node& instance : instances.children("Instance")) {
    ids += (ids.empty() ? "" : ", ") + idOf(instance);
    if (!chosen && (options.instance.empty() || idOf(instance) == options.instance)) chosen = instance;
  }
  if (ids.empty()) return Error{"The archive holds no <Instance>."};
  if (!chosen) return Error{"The archive has no instance \"" + options.instance + "\"; it holds " + ids + "."};
  try {
    return XhsttReader(chosen, options).read();
  } catch (const SourceFault& problem) {
    return Error{problem.message};
  }
}

}  // namespace tavrel::exchange
