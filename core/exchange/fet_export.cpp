#include "core/exchange/fet_export.h"

#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "core/setup/constraint_derivation.h"
#include "core/store/encoded_lists.h"

namespace tavrel::exchange {

namespace {

using Node = pugi::xml_node;

void add(Node parent, const char* name, const std::string& value) {
  parent.append_child(name).text().set(value.c_str());
}
void add(Node parent, const char* name, int value) { add(parent, name, std::to_string(value)); }

Node constraint(Node list, const char* kind) {
  Node node = list.append_child(kind);
  add(node, "Weight_Percentage", 100);
  return node;
}

void finishConstraint(Node node) {
  add(node, "Active", "true");
  add(node, "Comments", "");
}

class FetWriter {
 public:
  explicit FetWriter(const SchoolDocument& document) : document_(document) {
    week_ = setup::constraintWeek(document.days * 100 + document.periodsPerDay, document.weekSetup);
  }

  FetExport write() {
    pugi::xml_document xml;
    Node declaration = xml.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    Node root = xml.append_child("fet");
    root.append_attribute("version") = "6.8.5";
    add(root, "Mode", "Official");
    add(root, "Institution_Name", document_.name);
    add(root, "Comments", "Written by Tavrel");
    writeWeek(root);
    for (const ClassEntry& cls : document_.classes) membersOf_[cls.name] = cls.members.empty() ? std::vector{cls.name} : cls.members;
    for (const ResourceEntry& resource : document_.resources)
      membersOf_["\x01" + resource.name] = resource.members.empty() ? std::vector{resource.name} : resource.members;
    Node subjects = root.append_child("Subjects_List");
    for (const SubjectEntry& subject : document_.subjects) add(subjects.append_child("Subject"), "Name", subject.name);
    Node tags = root.append_child("Activity_Tags_List");
    Node teachers = root.append_child("Teachers_List");
    for (const ResourceEntry& resource : document_.resources) {
      if (resource.members.empty()) add(teachers.append_child("Teacher"), "Name", resource.name);
    }
    Node students = root.append_child("Students_List");
    for (const ClassEntry& cls : document_.classes) {
      if (!cls.members.empty()) continue;
      Node year = students.append_child("Year");
      add(year, "Name", cls.name);
      add(year, "Number_of_Students", 0);
    }
    Node activities = root.append_child("Activities_List");
    root.append_child("Buildings_List");
    root.append_child("Rooms_List");
    Node time = root.append_child("Time_Constraints_List");
    finishConstraint(constraint(time, "ConstraintBasicCompulsoryTime"));
    writeActivities(activities, time, tags);
    writeAvailability(time);
    writeLimits(time);
    Node space = root.append_child("Space_Constraints_List");
    finishConstraint(constraint(space, "ConstraintBasicCompulsorySpace"));
    std::ostringstream out;
    xml.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    return {out.str(), leftOut_};
  }

 private:
  const std::string& dayName(int day) const { return week_.dayNames[day - 1]; }

  void writeWeek(Node root) {
    Node days = root.append_child("Days_List");
    add(days, "Number_of_Days", document_.days);
    for (int day = 1; day <= document_.days; ++day) add(days.append_child("Day"), "Name", dayName(day));
    Node hours = root.append_child("Hours_List");
    add(hours, "Number_of_Hours", document_.periodsPerDay);
    for (int period = 1; period <= document_.periodsPerDay; ++period)
      add(hours.append_child("Hour"), "Name", std::to_string(period));
  }

  void slot(Node parent, const char* item, const char* dayTag, const char* hourTag, int day, int period) {
    Node node = parent.append_child(item);
    add(node, dayTag, dayName(day));
    add(node, hourTag, std::to_string(period));
  }

  // The slots an indent's constraint allows, or none when it allows the whole week.
  std::vector<Slot> allowedSlots(const IndentEntry& indent) {
    if (indent.constraint == "None" || indent.constraint.empty()) return {};
    auto values = setup::deriveConstraint(indent.constraint, week_, indent.clusterSize);
    if (!values) {
      leftOut_.push_back("The constraint of " + indent.className + "/" + indent.resource + "/" + indent.subject +
                         " (" + values.error() + ")");
      return {};
    }
    std::vector<Slot> slots;
    for (int day : store::listMembers(values->dayList))
      for (int period : store::listMembers(values->periodList)) slots.push_back({day, period});
    return slots;
  }

  void writeActivities(Node activities, Node time, Node tags) {
    std::set<std::pair<std::string, std::string>> limited;  // class, subject with a per-day limit below the day
    for (const DayLimit& limit : document_.subjectLimits) {
      if (limit.perDay >= document_.periodsPerDay) continue;
      auto members = membersOf_.find(limit.className);
      if (members == membersOf_.end() || members->second.size() != 1 || members->second[0] != limit.className) {
        leftOut_.push_back("The subject limit of group class " + limit.className + "/" + limit.item);
        continue;
      }
      limited.insert({limit.className, limit.item});
      subjectTags_.insert(limit.item);
    }
    for (const std::string& tag : subjectTags_) add(tags.append_child("Activity_Tag"), "Name", tag);
    int id = 0;
    for (const IndentEntry& indent : document_.indents) {
      if (!indent.active) continue;
      const bool cluster = indent.clusterSize >= 2;
      const int length = cluster ? indent.clusterSize : 1;
      const int count = cluster ? indent.clustersPerWeek : indent.periods;
      const int first = id + 1;
      std::vector<int> ids;
      for (int part = 0; part < count; ++part) {
        Node activity = activities.append_child("Activity");
        for (const std::string& teacher : membersOf_.at("\x01" + indent.resource)) add(activity, "Teacher", teacher);
        add(activity, "Subject", indent.subject);
        if (limited.count({indent.className, indent.subject})) add(activity, "Activity_Tag", indent.subject);
        for (const std::string& cls : membersOf_.at(indent.className)) add(activity, "Students", cls);
        add(activity, "Duration", length);
        add(activity, "Total_Duration", length * count);
        add(activity, "Id", ++id);
        add(activity, "Activity_Group_Id", count > 1 ? first : 0);
        add(activity, "Active", "true");
        add(activity, "Comments", "");
        ids.push_back(id);
      }
      if (indent.onePerDay && ids.size() > 1) {
        Node node = constraint(time, "ConstraintMinDaysBetweenActivities");
        add(node, "Consecutive_If_Same_Day", "true");
        add(node, "Number_of_Activities", static_cast<int>(ids.size()));
        for (int each : ids) add(node, "Activity_Id", each);
        add(node, "MinDays", 1);
        finishConstraint(node);
      }
      const std::vector<Slot> slots = allowedSlots(indent);
      if (slots.empty()) continue;
      for (int each : ids) {
        Node node = constraint(time, "ConstraintActivityPreferredTimeSlots");
        add(node, "Activity_Id", each);
        add(node, "Number_of_Preferred_Time_Slots", static_cast<int>(slots.size()));
        for (const Slot& s : slots) slot(node, "Preferred_Time_Slot", "Preferred_Day", "Preferred_Hour", s.day, s.period);
        finishConstraint(node);
      }
    }
    for (const DayLimit& limit : document_.subjectLimits) {
      if (!limited.count({limit.className, limit.item})) continue;
      Node node = constraint(time, "ConstraintStudentsSetActivityTagMaxHoursDaily");
      add(node, "Maximum_Hours_Daily", limit.perDay);
      add(node, "Students", limit.className);
      add(node, "Activity_Tag", limit.item);
      finishConstraint(node);
    }
    for (const DayLimit& limit : document_.resourceLimits) {
      if (limit.perDay < document_.periodsPerDay)
        leftOut_.push_back("The resource limit of " + limit.className + "/" + limit.item);
    }
  }

  void notAvailable(Node time, const char* kind, const char* ownerTag, const std::string& owner,
                    const std::vector<Slot>& slots) {
    if (slots.empty()) return;
    Node node = constraint(time, kind);
    add(node, ownerTag, owner);
    add(node, "Number_of_Not_Available_Times", static_cast<int>(slots.size()));
    for (const Slot& s : slots) slot(node, "Not_Available_Time", "Day", "Hour", s.day, s.period);
    finishConstraint(node);
  }

  void writeAvailability(Node time) {
    if (!document_.notAvailable.empty()) {
      Node node = constraint(time, "ConstraintBreakTimes");
      add(node, "Number_of_Break_Times", static_cast<int>(document_.notAvailable.size()));
      for (const Slot& s : document_.notAvailable) slot(node, "Break_Time", "Day", "Hour", s.day, s.period);
      finishConstraint(node);
    }
    for (const ResourceEntry& resource : document_.resources) {
      if (resource.members.empty()) {
        notAvailable(time, "ConstraintTeacherNotAvailableTimes", "Teacher", resource.name, resource.notAvailable);
      } else if (!resource.notAvailable.empty()) {
        leftOut_.push_back("The availability of group resource " + resource.name);
      }
    }
    for (const ClassEntry& cls : document_.classes) {
      if (cls.members.empty()) {
        notAvailable(time, "ConstraintStudentsSetNotAvailableTimes", "Students", cls.name, cls.notAvailable);
      } else if (!cls.notAvailable.empty()) {
        leftOut_.push_back("The availability of group class " + cls.name);
      }
    }
  }

  void writeLimits(Node time) {
    for (const ResourceEntry& resource : document_.resources) {
      if (!resource.members.empty()) continue;
      if (resource.perDay > 0 && resource.perDay < document_.periodsPerDay) {
        Node node = constraint(time, "ConstraintTeacherMaxHoursDaily");
        add(node, "Teacher_Name", resource.name);
        add(node, "Maximum_Hours_Daily", resource.perDay);
        finishConstraint(node);
      }
      if (resource.sequence > 0 && resource.sequence < document_.periodsPerDay) {
        Node node = constraint(time, "ConstraintTeacherMaxHoursContinuously");
        add(node, "Teacher_Name", resource.name);
        add(node, "Maximum_Hours_Continuously", resource.sequence);
        finishConstraint(node);
      }
      if (resource.perWeek > 0 && resource.perWeek < document_.days * document_.periodsPerDay)
        leftOut_.push_back("The per-week limit of " + resource.name);
    }
  }

  const SchoolDocument& document_;
  setup::ConstraintWeek week_;
  std::map<std::string, std::vector<std::string>> membersOf_;  // classes by name, resources by "\x01" + name
  std::set<std::string> subjectTags_;
  std::vector<std::string> leftOut_;
};

}  // namespace

FetExport toFet(const SchoolDocument& document) { return FetWriter(document).write(); }

}  // namespace tavrel::exchange
