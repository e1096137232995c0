#include "core/exchange/fet_import.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <tuple>
#include <vector>

#include "core/exchange/document_builder.h"
#include "core/exchange/lesson_split.h"
#include "core/exchange/slot_constraint.h"
#include "core/exchange/xml_reading.h"

namespace tavrel::exchange {

namespace {

using Node = pugi::xml_node;

struct Activity {
  int id = 0;
  int group = 0;  // the split activity it is part of (its own id when it stands alone)
  std::vector<std::string> teachers;
  std::vector<std::string> rooms;
  std::vector<std::string> students;
  std::string subject;
  int duration = 1;
  std::optional<SlotSet> starts;  // preferred starting slots
  std::optional<SlotSet> slots;   // preferred slots every period must lie in
};

class FetReader {
 public:
  FetReader(const Node& root, const FetOptions& options) : root_(root), options_(options) {}

  ImportedSchool read() {
    readWeek();
    readStudents();
    readNames("Teachers_List", "Teacher", teachers_);
    readNames("Subjects_List", "Subject", subjects_);
    readNames("Rooms_List", "Room", rooms_);
    readActivities();
    readTimeConstraints();
    readSpaceConstraints();
    buildIndents();
    readRoomAvailability();
    auto document = builder_->finish();
    if (!document) fault(document.error());
    return {std::move(*document), std::move(report_)};
  }

 private:
  // ---- Week --------------------------------------------------------------------------------------
  void readWeek() {
    const auto names = [](const Node& list, const char* item) {
      std::vector<std::string> result;
      for (const Node& node : list.children(item)) result.push_back(childText(node, "Name"));
      return result;
    };
    dayNames_ = names(root_.child("Days_List"), "Day");
    hourNames_ = names(root_.child("Hours_List"), "Hour");
    const int days = childNumber(root_.child("Days_List"), "Number_of_Days", static_cast<int>(dayNames_.size()));
    const int hours = childNumber(root_.child("Hours_List"), "Number_of_Hours", static_cast<int>(hourNames_.size()));
    const Status week = checkWeek(days, hours);
    if (!week) fault(week.error());
    if (static_cast<int>(dayNames_.size()) != days || static_cast<int>(hourNames_.size()) != hours)
      fault("<Days_List> or <Hours_List> names a different number of days or hours than it counts.");
    builder_.emplace(options_.school, days, hours);
    std::string list;
    for (const std::string& day : dayNames_) list += (list.empty() ? "" : ", ") + day;
    report_.mapped("Week: " + std::to_string(days) + " days of " + std::to_string(hours) + " hours; days " + list +
                   " → days 1 to " + std::to_string(days));
  }

  Slot slotOf(const Node& node, const char* dayTag, const char* hourTag, const Node& constraint) const {
    return {numberOf(dayNames_, childText(node, dayTag), constraint, "day", "Days_List"),
            numberOf(hourNames_, childText(node, hourTag), constraint, "hour", "Hours_List")};
  }

  static int numberOf(const std::vector<std::string>& names, const std::string& name, const Node& from,
                      const char* what, const char* list) {
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end())
      fault("<" + std::string(from.name()) + "> names " + what + " \"" + name + "\", which <" + list +
            "> does not hold.");
    return static_cast<int>(it - names.begin()) + 1;
  }

  // ---- Items -------------------------------------------------------------------------------------
  void readNames(const char* list, const char* item, std::set<std::string>& names) {
    for (const Node& node : root_.child(list).children(item)) names.insert(childText(node, "Name"));
  }

  void readStudents() {
    int years = 0, groups = 0, subgroups = 0;
    for (const Node& year : root_.child("Students_List").children("Year")) {
      ++years;
      std::vector<std::string> yearParts;
      for (const Node& group : year.children("Group")) {
        ++groups;
        std::vector<std::string> groupParts;
        for (const Node& subgroup : group.children("Subgroup")) {
          ++subgroups;
          groupParts.push_back(builder_->plainClass(childText(subgroup, "Name")));
        }
        const std::string name = childText(group, "Name");
        yearParts.push_back(groupParts.empty() ? builder_->plainClass(name)
                                               : builder_->namedGroupClass(name, groupParts));
      }
      const std::string name = childText(year, "Name");
      if (yearParts.empty()) {
        builder_->plainClass(name);
      } else {
        builder_->namedGroupClass(name, yearParts);
      }
    }
    report_.mapped("Students: " + std::to_string(years) + " years, " + std::to_string(groups) + " groups, " +
                   std::to_string(subgroups) + " subgroups → " +
                   std::to_string(builder_->document().classes.size()) +
                   " classes (the smallest sets plain, the others group classes of them)");
  }

  void requireKnown(const std::set<std::string>& names, const std::string& name, const Activity& activity,
                    const char* what, const char* list) const {
    if (!names.count(name))
      fault("Activity " + std::to_string(activity.id) + " names " + what + " \"" + name + "\", which <" + list +
            "> does not hold.");
  }

  void readActivities() {
    for (const Node& node : root_.child("Activities_List").children("Activity")) {
      Activity activity;
      activity.id = childNumber(node, "Id", 0);
      activity.group = childNumber(node, "Activity_Group_Id", 0);
      if (activity.group == 0) activity.group = activity.id;
      activity.duration = childNumber(node, "Duration", 1);
      activity.subject = childText(node, "Subject");
      for (const Node& teacher : node.children("Teacher")) activity.teachers.push_back(trimmedText(teacher));
      for (const Node& students : node.children("Students")) activity.students.push_back(trimmedText(students));
      requireKnown(subjects_, activity.subject, activity, "subject", "Subjects_List");
      for (const std::string& teacher : activity.teachers) requireKnown(teachers_, teacher, activity, "teacher", "Teachers_List");
      for (const std::string& students : activity.students) {
        if (!builder_->hasClass(students))
          fault("Activity " + std::to_string(activity.id) + " names students \"" + students +
                "\", which <Students_List> does not hold.");
      }
      if (activity.duration < 1 || activity.duration > builder_->document().periodsPerDay)
        fault("Activity " + std::to_string(activity.id) + " lasts " + std::to_string(activity.duration) +
              " hours; a day has " + std::to_string(builder_->document().periodsPerDay) + ".");
      if (childText(node, "Active") == "false") {
        report_.dropped("Inactive activity");
        continue;
      }
      activities_[activity.id] = std::move(activity);
    }
  }

  Activity* activityOf(const Node& constraint, const char* tag = "Activity_Id") {
    auto it = activities_.find(childNumber(constraint, tag, 0));
    return it == activities_.end() ? nullptr : &it->second;
  }

  // ---- Constraints -------------------------------------------------------------------------------
  // Whether a constraint binds; an inactive or soft one is counted as dropped.
  bool binds(const Node& constraint) {
    const std::string kind = constraint.name();
    if (childText(constraint, "Active") == "false") {
      report_.dropped(kind + " (inactive)");
      return false;
    }
    const double weight = std::stod("0" + childText(constraint, "Weight_Percentage"));
    if (weight < options_.weightAsHard.value_or(100)) {
      report_.dropped(kind + " (weight below hard)");
      return false;
    }
    return true;
  }

  void readTimeConstraints() {
    for (const Node& constraint : root_.child("Time_Constraints_List").children()) {
      const std::string kind = constraint.name();
      if (!binds(constraint)) continue;
      if (kind == "ConstraintBasicCompulsoryTime") {
        report_.counted(kind + " → built in");
      } else if (kind == "ConstraintBreakTimes") {
        for (const Node& slot : constraint.children("Break_Time"))
          builder_->schoolNotAvailable(slotOf(slot, "Day", "Hour", constraint));
        report_.counted(kind + " → school availability");
      } else if (kind == "ConstraintTeacherNotAvailableTimes") {
        const std::string teacher = childText(constraint, "Teacher");
        if (!teachers_.count(teacher)) fault("<" + kind + "> names teacher \"" + teacher + "\", which <Teachers_List> does not hold.");
        for (const Node& slot : constraint.children("Not_Available_Time"))
          builder_->resourceNotAvailable(builder_->resource(teacher), slotOf(slot, "Day", "Hour", constraint));
        report_.counted(kind + " → resource availability");
      } else if (kind == "ConstraintStudentsSetNotAvailableTimes") {
        const std::string students = childText(constraint, "Students");
        if (!builder_->hasClass(students)) fault("<" + kind + "> names students \"" + students + "\", which <Students_List> does not hold.");
        const std::string cls = builder_->classOf(students);
        for (const Node& node : constraint.children("Not_Available_Time")) {
          const Slot slot = slotOf(node, "Day", "Hour", constraint);
          builder_->classNotAvailable(cls, slot);
          for (const std::string& member : builder_->plainMembers(cls)) builder_->classNotAvailable(member, slot);
        }
        report_.counted(kind + " → availability of the class and its members");
      } else if (kind == "ConstraintTeacherMaxHoursDaily" || kind == "ConstraintTeachersMaxHoursDaily") {
        for (const std::string& teacher : teachersOf(constraint, kind))
          builder_->resourcePerDay(builder_->resource(teacher), childNumber(constraint, "Maximum_Hours_Daily", 12));
        report_.counted(kind + " → resource's per-day limit");
      } else if (kind == "ConstraintTeacherMaxHoursContinuously" || kind == "ConstraintTeachersMaxHoursContinuously") {
        for (const std::string& teacher : teachersOf(constraint, kind))
          builder_->resourceSequence(builder_->resource(teacher), childNumber(constraint, "Maximum_Hours_Continuously", 12));
        report_.counted(kind + " → resource's sequence limit");
      } else if (kind == "ConstraintMinDaysBetweenActivities") {
        readMinDays(constraint);
      } else if (kind == "ConstraintActivityPreferredStartingTime") {
        readStartingTime(constraint);
      } else if (kind == "ConstraintActivityPreferredStartingTimes") {
        readSlots(constraint, "Preferred_Starting_Time", "Preferred_Starting_Day", "Preferred_Starting_Hour", true);
      } else if (kind == "ConstraintActivityPreferredTimeSlots") {
        readSlots(constraint, "Preferred_Time_Slot", "Preferred_Day", "Preferred_Hour", false);
      } else {
        report_.dropped(kind);
      }
    }
  }

  std::vector<std::string> teachersOf(const Node& constraint, const std::string& kind) const {
    if (kind.find("Teachers") != std::string::npos) return {teachers_.begin(), teachers_.end()};
    const std::string teacher = childText(constraint, "Teacher_Name");
    if (!teachers_.count(teacher)) fault("<" + kind + "> names teacher \"" + teacher + "\", which <Teachers_List> does not hold.");
    return {teacher};
  }

  void readMinDays(const Node& constraint) {
    if (childNumber(constraint, "MinDays", 0) < 1) {
      report_.dropped("ConstraintMinDaysBetweenActivities of 0 days");
      return;
    }
    std::set<int> groups;
    std::vector<Activity*> listed;
    for (const Node& id : constraint.children("Activity_Id")) {
      auto it = activities_.find(std::atoi(trimmedText(id).c_str()));
      if (it == activities_.end()) continue;
      groups.insert(it->second.group);
      listed.push_back(&it->second);
    }
    if (groups.size() > 1) {
      report_.dropped("ConstraintMinDaysBetweenActivities across different lessons");
      return;
    }
    if (groups.empty()) return;
    spreadGroups_.insert(*groups.begin());
    report_.counted("ConstraintMinDaysBetweenActivities → one per day (a subject limit for blocks)");
  }

  void readStartingTime(const Node& constraint) {
    Activity* activity = activityOf(constraint);
    if (!activity) return;
    const std::string day = childText(constraint, "Preferred_Day");
    const std::string hour = childText(constraint, "Preferred_Hour");
    SlotSet starts;
    for (int d = 1; d <= static_cast<int>(dayNames_.size()); ++d) {
      for (int h = 1; h <= static_cast<int>(hourNames_.size()); ++h) {
        if ((day.empty() || dayNames_[d - 1] == day) && (hour.empty() || hourNames_[h - 1] == hour)) starts.insert({d, h});
      }
    }
    if (!day.empty()) numberOf(dayNames_, day, constraint, "day", "Days_List");
    if (!hour.empty()) numberOf(hourNames_, hour, constraint, "hour", "Hours_List");
    narrow(activity->starts, starts);
  }

  void readSlots(const Node& constraint, const char* item, const char* dayTag, const char* hourTag, bool starting) {
    Activity* activity = activityOf(constraint);
    if (!activity) return;
    SlotSet slots;
    for (const Node& node : constraint.children(item)) {
      const Slot slot = slotOf(node, dayTag, hourTag, constraint);
      slots.insert({slot.day, slot.period});
    }
    narrow(starting ? activity->starts : activity->slots, slots);
  }

  static void narrow(std::optional<SlotSet>& current, const SlotSet& more) {
    if (!current) {
      current = more;
      return;
    }
    SlotSet both;
    std::set_intersection(current->begin(), current->end(), more.begin(), more.end(), std::inserter(both, both.begin()));
    current = both;
  }

  void readSpaceConstraints() {
    for (const Node& constraint : root_.child("Space_Constraints_List").children()) {
      const std::string kind = constraint.name();
      if (kind == "ConstraintRoomNotAvailableTimes") continue;  // read once the rooms in use are known
      if (!binds(constraint)) continue;
      if (kind == "ConstraintBasicCompulsorySpace") {
        report_.counted(kind + " → built in");
      } else if (kind == "ConstraintActivityPreferredRoom") {
        Activity* activity = activityOf(constraint);
        const std::string room = childText(constraint, "Room");
        if (!rooms_.count(room)) fault("<" + kind + "> names room \"" + room + "\", which <Rooms_List> does not hold.");
        if (activity) activity->rooms.push_back(room);
        report_.counted(kind + " → the room joins the lesson's resource");
      } else {
        report_.dropped(kind);
      }
    }
  }

  void readRoomAvailability() {
    for (const Node& constraint : root_.child("Space_Constraints_List").children("ConstraintRoomNotAvailableTimes")) {
      if (!binds(constraint)) continue;
      const std::string room = childText(constraint, "Room");
      if (!builder_->hasResource(room)) {
        report_.dropped("ConstraintRoomNotAvailableTimes of a room no lesson is fixed to");
        continue;
      }
      for (const Node& slot : constraint.children("Not_Available_Time"))
        builder_->resourceNotAvailable(builder_->resourceOf(room), slotOf(slot, "Day", "Hour", constraint));
      report_.counted("ConstraintRoomNotAvailableTimes → resource availability");
    }
  }

  // ---- Indents -----------------------------------------------------------------------------------
  using LessonKey = std::tuple<int, std::string, std::string, std::string>;  // group, class, resource, subject

  void buildIndents() {
    std::map<LessonKey, std::vector<const Activity*>> lessons;
    std::vector<LessonKey> order;
    for (const auto& [id, activity] : activities_) {
      if (activity.students.empty()) {
        report_.dropped("Activity without students");
        continue;
      }
      std::vector<std::string> resources;
      for (const std::string& teacher : activity.teachers) resources.push_back(builder_->resource(teacher));
      for (const std::string& room : activity.rooms) resources.push_back(builder_->resource(room));
      if (resources.empty()) {
        report_.dropped("Activity without a teacher or a fixed room");
        continue;
      }
      std::vector<std::string> classes;
      for (const std::string& students : activity.students) classes.push_back(builder_->classOf(students));
      const LessonKey key{activity.group, builder_->classFor(classes), builder_->resourceFor(resources),
                          builder_->subject(activity.subject)};
      if (!lessons.count(key)) order.push_back(key);
      lessons[key].push_back(&activity);
    }
    const int days = builder_->document().days;
    int periods = 0, indents = 0, spreadLessons = 0;
    for (const LessonKey& key : order) {
      const std::vector<const Activity*>& parts = lessons.at(key);
      LessonParts lengths;
      for (const Activity* activity : parts) ++lengths[activity->duration];
      int blocks = 0;
      for (const auto& [length, number] : lengths) blocks += number;
      const bool spread = spreadGroups_.count(std::get<0>(key)) > 0 && blocks > 1 && blocks <= days;
      spreadLessons += spread;
      IndentEntry base;
      base.className = std::get<1>(key);
      base.resource = std::get<2>(key);
      base.subject = std::get<3>(key);
      base.active = true;
      for (IndentEntry& indent : indentsForParts(lengths, spread, days, base)) {
        indent.constraint = constraintFor(parts, std::max(indent.clusterSize, 1));
        periods += indent.periods;
        ++indents;
        builder_->addIndent(std::move(indent));
      }
      if (const int limit = spreadSubjectLimit(lengths, spread)) builder_->subjectLimit(base.className, base.subject, limit);
    }
    report_.mapped("Activities: " + std::to_string(activities_.size()) + " active → " + std::to_string(order.size()) +
                   " lessons (the parts of a split activity) → " + std::to_string(indents) + " active indents of " +
                   std::to_string(periods) + " periods");
    report_.mapped("Subjects → " + std::to_string(builder_->document().subjects.size()) + " subjects; teachers and fixed rooms → " +
                   std::to_string(builder_->document().resources.size() - builder_->groupResources()) + " resources");
    report_.mapped("Lessons of several students sets → " + std::to_string(builder_->groupClasses()) +
                   " group classes in all; of several teachers or rooms → " + std::to_string(builder_->groupResources()) +
                   " group resources");
    report_.note("Blocks: the durations of each activity's parts; " + std::to_string(spreadLessons) +
                 " lessons on distinct days (min days between their parts)");
  }

  // The allocation constraint of the parts of one length, when they all prefer the same times.
  std::string constraintFor(const std::vector<const Activity*>& parts, int length) {
    std::optional<std::optional<SlotSet>> shared;
    for (const Activity* activity : parts) {
      if (std::max(activity->duration, 1) != length) continue;
      std::optional<SlotSet> allowed;
      if (activity->starts) allowed = coveredSlots(*activity->starts, length, builder_->document().periodsPerDay);
      if (activity->slots) narrow(allowed, *activity->slots);
      if (!shared) {
        shared = allowed;
      } else if (*shared != allowed) {
        report_.dropped("Preferred times that differ between the parts of a split activity");
        return "None";
      }
    }
    if (!shared || !*shared) return "None";
    const auto text = constraintForSlots(**shared, builder_->document().days, builder_->document().periodsPerDay, length);
    if (!text) {
      report_.dropped("Preferred times that are not some hours on some days");
      return "None";
    }
    report_.counted("Preferred starting times or slots → allocation constraint");
    return *text;
  }

  const Node root_;
  const FetOptions& options_;
  MappingReport report_;
  std::optional<DocumentBuilder> builder_;
  std::vector<std::string> dayNames_, hourNames_;
  std::set<std::string> teachers_, subjects_, rooms_;
  std::map<int, Activity> activities_;
  std::set<int> spreadGroups_;
};

}  // namespace

Result<ImportedSchool> importFet(const std::string& text, const FetOptions& options) {
  pugi::xml_document document;
  if (Status loaded = loadXml(document, text, "fet", "a FET file"); !loaded) return Error{loaded.error()};
  try {
    return FetReader(document.document_element(), options).read();
  } catch (const SourceFault& problem) {
    return Error{problem.message};
  }
}

}  // namespace tavrel::exchange
