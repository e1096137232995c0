#include "tests/support/generated_school.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/store/default_constraint.h"
#include "core/store/encoded_lists.h"

namespace tavrel::testing {

using namespace store;

namespace {

constexpr int kGridDays = 9;
constexpr int kGridPeriods = 12;
constexpr int kFree = 999;
constexpr int kRecessAfter = 4;

struct SubjectPlan {
  const char* name;
  int periods;
  int clusterOf;   // 0: regular
  bool onePerDay;  // regular: at most one period a day
  bool noRecess;   // cluster: a block may not span the recess
  int teachers;    // plain resources teaching it
};

// A week of 40 periods for every class, and the staff that teaches it.
constexpr std::array<SubjectPlan, 12> kPlan{{
    {"Maths", 7, 0, false, false, 9},
    {"English", 6, 0, false, false, 8},
    {"Science", 4, 2, false, false, 6},
    {"History", 3, 0, true, false, 4},
    {"Geography", 3, 0, true, false, 4},
    {"Art", 2, 2, false, false, 3},
    {"Music", 2, 0, false, false, 3},
    {"PE", 3, 0, false, false, 4},
    {"French", 4, 0, false, false, 6},
    {"Computing", 2, 2, false, true, 3},
    {"Religion", 2, 0, true, false, 3},
    {"Drama", 2, 0, false, false, 3},
}};
constexpr int kPE = 7;  // index of PE in the plan

struct Item {
  int cls;
  int resource;
  int plan;  // index into kPlan; PE for a group indent
  bool group = false;
  std::vector<std::pair<int, int>> cells;  // planted (day, period)
  bool constrained = false;
  std::string days, periods;
};

class Generator {
 public:
  Generator(const GeneratedShape& shape) : shape_(shape), random_(shape.seed) {
    const int classes = shape.plainClasses + shape.classGroups;
    const int resources = shape.plainResources + shape.resourceGroups;
    classCells_.assign(static_cast<std::size_t>(classes + 1), std::vector<int>(kGridDays * kGridPeriods, 0));
    resourceBusy_.assign(static_cast<std::size_t>(resources + 1),
                         std::vector<char>(kGridDays * kGridPeriods, 0));
    available_.assign(static_cast<std::size_t>(resources + 1),
                      std::vector<char>(kGridDays * kGridPeriods, 0));
    load_.assign(static_cast<std::size_t>(resources + 1), 0);
  }

  GeneratedSchool write(Store& store) {
    staff();
    groups();
    plant();
    return store_(store);
  }

 private:
  static int at(int day, int period) { return (day - 1) * kGridPeriods + (period - 1); }
  bool inWeek(int day, int period) const { return day <= shape_.days && period <= shape_.periods; }

  // ---- Staff ---------------------------------------------------------------------------------------

  // The plan's staff of 56 scaled to the shape's plain resources, each subject keeping its share
  // (largest remainders first), so a bigger school has proportionally more teachers of each.
  std::vector<int> staffPlan() const {
    int planned = 0;
    for (const SubjectPlan& plan : kPlan) planned += plan.teachers;
    std::vector<int> counts(kPlan.size());
    std::vector<std::pair<long, std::size_t>> remainders;
    int given = 0;
    for (std::size_t plan = 0; plan < kPlan.size(); ++plan) {
      const long share = static_cast<long>(kPlan[plan].teachers) * shape_.plainResources;
      counts[plan] = static_cast<int>(share / planned);
      given += counts[plan];
      remainders.emplace_back(-(share % planned), plan);
    }
    std::sort(remainders.begin(), remainders.end());
    for (std::size_t i = 0; given < shape_.plainResources; ++i, ++given) ++counts[remainders[i].second];
    return counts;
  }

  void staff() {
    if (shape_.plainResources < 56)
      throw std::logic_error("generated school: the staff plan needs at least 56 resources");
    int code = 0;
    const std::vector<int> counts = staffPlan();
    for (std::size_t plan = 0; plan < kPlan.size(); ++plan) {
      for (int i = 0; i < counts[plan]; ++i) {
        ++code;
        subjectOf_[code] = static_cast<int>(plan);
        teachers_[static_cast<int>(plan)].push_back(code);
      }
    }
    // Part-time: the second teacher of the subjects with the most staff, away on the last two days.
    std::vector<int> partTime;
    for (int plan : {0, 1, 8, 0, 1, 8, 2, 3}) {
      const auto& list = teachers_[plan];
      for (int teacher : list) {
        if (std::find(partTime.begin(), partTime.end(), teacher) == partTime.end() &&
            teacher != list.front()) {
          partTime.push_back(teacher);
          break;
        }
      }
      if (static_cast<int>(partTime.size()) >= shape_.partTimeResources) break;
    }
    for (int r = 1; r <= shape_.plainResources + shape_.resourceGroups; ++r) {
      const bool away = std::find(partTime.begin(), partTime.end(), r) != partTime.end();
      partTime_[r] = away;
      for (int day = 1; day <= shape_.days; ++day) {
        for (int period = 1; period <= shape_.periods; ++period) {
          available_[static_cast<std::size_t>(r)][static_cast<std::size_t>(at(day, period))] =
              !(away && day > shape_.days - 2);
        }
      }
    }
  }

  // Groups of classes (1 and 2, 3 and 4, ...) and groups of PE teachers, which teach the groups PE.
  void groups() {
    const auto& pe = teachers_[kPE];
    const std::vector<std::pair<int, int>> pairs = {
        {pe[0], pe[1]}, {pe[2], pe[3]}, {pe[0], pe[2]}, {pe[1], pe[3]}};
    for (int g = 0; g < shape_.classGroups; ++g) {
      const int group = shape_.plainClasses + g + 1;
      classMembers_[group] = {2 * g + 1, 2 * g + 2};
    }
    for (int g = 0; g < shape_.resourceGroups; ++g) {
      const int group = shape_.plainResources + g + 1;
      resourceMembers_[group] = {pairs[static_cast<std::size_t>(g) % pairs.size()].first,
                                 pairs[static_cast<std::size_t>(g) % pairs.size()].second};
    }
  }

  std::vector<int> membersOfClass(int cls) const {
    auto found = classMembers_.find(cls);
    return found == classMembers_.end() ? std::vector<int>{} : found->second;
  }
  std::vector<int> membersOfResource(int resource) const {
    auto found = resourceMembers_.find(resource);
    return found == resourceMembers_.end() ? std::vector<int>{} : found->second;
  }
  bool inAGroup(int cls) const {
    for (const auto& [group, members] : classMembers_) {
      if (std::find(members.begin(), members.end(), cls) != members.end()) return true;
    }
    return false;
  }

  // ---- Planting ------------------------------------------------------------------------------------

  // The least loaded teacher of the subject, ties broken at random.
  int teacherFor(int plan, int periods) {
    std::vector<int> candidates = teachers_[plan];
    std::shuffle(candidates.begin(), candidates.end(), random_);
    int best = candidates.front();
    auto weight = [&](int r) {
      return (load_[static_cast<std::size_t>(r)] + periods) * (partTime_[r] ? 3 : 2);
    };
    for (int r : candidates) {
      if (weight(r) < weight(best)) best = r;
    }
    load_[static_cast<std::size_t>(best)] += periods;
    return best;
  }

  void plant() {
    // Group PE first: it needs two classes and two teachers free at once.
    for (int g = 0; g < shape_.classGroups; ++g) {
      Item item{shape_.plainClasses + g + 1, shape_.plainResources + g % shape_.resourceGroups + 1, kPE,
                true};
      items_.push_back(item);
    }
    for (int cls = 1; cls <= shape_.plainClasses; ++cls) {
      for (std::size_t plan = 0; plan < kPlan.size(); ++plan) {
        if (static_cast<int>(plan) == kPE && inAGroup(cls)) continue;
        items_.push_back(
            Item{cls, teacherFor(static_cast<int>(plan), kPlan[plan].periods), static_cast<int>(plan)});
      }
    }
    // Round by round, so that no class comes last for every teacher's time: clusters first, then
    // the one-per-day items, then the rest.
    std::vector<std::size_t> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random_);
    auto rank = [&](std::size_t i) {
      const Item& item = items_[i];
      if (item.group) return 0;
      const SubjectPlan& plan = kPlan[static_cast<std::size_t>(item.plan)];
      return plan.clusterOf >= 2 ? 1 : plan.onePerDay ? 2 : 3;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    for (std::size_t i : order) plantItem(items_[i]);
  }

  bool classFree(int cls, int day, int period) const {
    if (!inWeek(day, period)) return false;
    if (classCells_[static_cast<std::size_t>(cls)][static_cast<std::size_t>(at(day, period))] != 0)
      return false;
    for (int member : membersOfClass(cls)) {
      if (classCells_[static_cast<std::size_t>(member)][static_cast<std::size_t>(at(day, period))] != 0)
        return false;
    }
    return true;
  }

  bool resourceFree(int resource, int day, int period) const {
    auto freeOne = [&](int r) {
      return available_[static_cast<std::size_t>(r)][static_cast<std::size_t>(at(day, period))] &&
             !resourceBusy_[static_cast<std::size_t>(r)][static_cast<std::size_t>(at(day, period))];
    };
    if (!inWeek(day, period) || !freeOne(resource)) return false;
    for (int member : membersOfResource(resource)) {
      if (!freeOne(member)) return false;
    }
    return true;
  }

  int subjectOnDay(int cls, int subject, int day) const {
    int n = 0;
    for (int period = 1; period <= kGridPeriods; ++period) {
      n += classCells_[static_cast<std::size_t>(cls)][static_cast<std::size_t>(at(day, period))] == subject
               ? 1
               : 0;
    }
    return n;
  }

  bool sameSubjectNextTo(int cls, int subject, int day, int period) const {
    for (int q : {period - 1, period + 1}) {
      if (q >= 1 && q <= kGridPeriods &&
          classCells_[static_cast<std::size_t>(cls)][static_cast<std::size_t>(at(day, q))] == subject) {
        return true;
      }
    }
    return false;
  }

  void occupy(Item& item, int day, int period) {
    const int subject = item.plan + 1;
    classCells_[static_cast<std::size_t>(item.cls)][static_cast<std::size_t>(at(day, period))] = subject;
    for (int member : membersOfClass(item.cls)) {
      classCells_[static_cast<std::size_t>(member)][static_cast<std::size_t>(at(day, period))] = subject;
    }
    resourceBusy_[static_cast<std::size_t>(item.resource)][static_cast<std::size_t>(at(day, period))] = 1;
    for (int member : membersOfResource(item.resource)) {
      resourceBusy_[static_cast<std::size_t>(member)][static_cast<std::size_t>(at(day, period))] = 1;
    }
    item.cells.emplace_back(day, period);
  }

  void plantItem(Item& item) {
    const SubjectPlan& plan = kPlan[static_cast<std::size_t>(item.plan)];
    const int subject = item.plan + 1;
    const int size = plan.clusterOf >= 2 ? plan.clusterOf : 1;
    // Regular periods of a subject: at most 2 a day and never side by side (the engine keeps the
    // same subject out of neighbouring periods); one-per-day and group items: 1 a day.
    const int perDay = size >= 2 ? size : (plan.onePerDay || item.group) ? 1 : 2;
    std::vector<std::pair<int, int>> cells;
    for (int day = 1; day <= shape_.days; ++day) {
      for (int period = 1; period <= shape_.periods; ++period) cells.emplace_back(day, period);
    }
    for (int placed = 0; placed < plan.periods; placed += size) {
      std::shuffle(cells.begin(), cells.end(), random_);
      bool done = false;
      for (auto [day, start] : cells) {
        if (start + size - 1 > shape_.periods) continue;
        if (size >= 2 && plan.noRecess && start <= kRecessAfter && start + size - 1 > kRecessAfter) continue;
        if (subjectOnDay(item.cls, subject, day) + size > perDay) continue;
        bool fits = true;
        for (int q = start; q < start + size && fits; ++q) {
          fits = classFree(item.cls, day, q) && resourceFree(item.resource, day, q);
        }
        if (!fits || (size == 1 && sameSubjectNextTo(item.cls, subject, day, start))) continue;
        for (int q = start; q < start + size; ++q) occupy(item, day, q);
        done = true;
        break;
      }
      if (!done && size == 1)
        done = plantBySwap(item, subject, perDay) || plantByTeacherSwap(item, subject, perDay);
      if (!done) break;  // the item asks for what was planted
    }
  }

  // Whether a regular period of `subject` may go to (day, period) of the class: the per-day count
  // and the neighbours, with the cell `ignoring` taken as empty.
  bool regularAllowed(int cls, int subject, int perDay, int day, int period,
                      std::pair<int, int> ignoring) const {
    int onDay = 0;
    for (int q = 1; q <= kGridPeriods; ++q) {
      if (std::make_pair(day, q) == ignoring) continue;
      onDay +=
          classCells_[static_cast<std::size_t>(cls)][static_cast<std::size_t>(at(day, q))] == subject ? 1 : 0;
    }
    if (onDay + 1 > perDay) return false;
    for (int q : {period - 1, period + 1}) {
      if (q < 1 || q > kGridPeriods || std::make_pair(day, q) == ignoring) continue;
      if (classCells_[static_cast<std::size_t>(cls)][static_cast<std::size_t>(at(day, q))] == subject)
        return false;
    }
    return true;
  }

  // When no free cell suits a regular period, another regular period of the class moves to a free
  // cell of its own to make room: a whole class's week is then planted far more often.
  bool plantBySwap(Item& item, int subject, int perDay) {
    std::vector<std::pair<int, int>> cells;
    for (int day = 1; day <= shape_.days; ++day) {
      for (int period = 1; period <= shape_.periods; ++period) cells.emplace_back(day, period);
    }
    std::shuffle(cells.begin(), cells.end(), random_);
    for (auto [day, period] : cells) {
      if (!resourceFree(item.resource, day, period) || !membersOfClass(item.cls).empty()) continue;
      const int held =
          classCells_[static_cast<std::size_t>(item.cls)][static_cast<std::size_t>(at(day, period))];
      if (held == 0 || held == subject) continue;
      Item* other = itemHolding(item.cls, day, period);
      if (!other || other->group) continue;
      const SubjectPlan& otherPlan = kPlan[static_cast<std::size_t>(other->plan)];
      if (otherPlan.clusterOf >= 2) continue;
      const int otherPerDay = otherPlan.onePerDay ? 1 : 2;
      if (!regularAllowed(item.cls, subject, perDay, day, period, {day, period})) continue;
      for (auto [day2, period2] : cells) {
        if (std::make_pair(day2, period2) == std::make_pair(day, period)) continue;
        if (!classFree(item.cls, day2, period2) || !resourceFree(other->resource, day2, period2)) continue;
        if (!regularAllowed(item.cls, held, otherPerDay, day2, period2, {day, period})) continue;
        // Move the other period, then take its old cell; the new one must still keep its own rules.
        release(*other, day, period);
        occupy(*other, day2, period2);
        if (!regularAllowed(item.cls, subject, perDay, day, period, {0, 0})) {
          release(*other, day2, period2);
          occupy(*other, day, period);
          continue;
        }
        occupy(item, day, period);
        return true;
      }
    }
    return false;
  }

  // The same from the resource's side: the class is free, the resource teaches another class then,
  // and that period moves to another cell its class and the resource both have free.
  bool plantByTeacherSwap(Item& item, int subject, int perDay) {
    if (!membersOfResource(item.resource).empty() || !membersOfClass(item.cls).empty()) return false;
    std::vector<std::pair<int, int>> cells;
    for (int day = 1; day <= shape_.days; ++day) {
      for (int period = 1; period <= shape_.periods; ++period) cells.emplace_back(day, period);
    }
    std::shuffle(cells.begin(), cells.end(), random_);
    for (auto [day, period] : cells) {
      if (!classFree(item.cls, day, period) ||
          !regularAllowed(item.cls, subject, perDay, day, period, {0, 0}))
        continue;
      if (!available_[static_cast<std::size_t>(item.resource)][static_cast<std::size_t>(at(day, period))])
        continue;
      Item* other = itemTeaching(item.resource, day, period);
      if (!other || other->group || other->cls == item.cls) continue;
      const SubjectPlan& otherPlan = kPlan[static_cast<std::size_t>(other->plan)];
      if (otherPlan.clusterOf >= 2) continue;
      const int otherSubject = other->plan + 1;
      const int otherPerDay = otherPlan.onePerDay ? 1 : 2;
      for (auto [day2, period2] : cells) {
        if (std::make_pair(day2, period2) == std::make_pair(day, period)) continue;
        if (!classFree(other->cls, day2, period2) || !resourceFree(item.resource, day2, period2)) continue;
        if (!regularAllowed(other->cls, otherSubject, otherPerDay, day2, period2, {day, period})) continue;
        release(*other, day, period);
        occupy(*other, day2, period2);
        occupy(item, day, period);
        return true;
      }
    }
    return false;
  }

  Item* itemTeaching(int resource, int day, int period) {
    for (Item& candidate : items_) {
      if (candidate.resource != resource) continue;
      for (auto cell : candidate.cells) {
        if (cell == std::make_pair(day, period)) return &candidate;
      }
    }
    return nullptr;
  }

  Item* itemHolding(int cls, int day, int period) {
    for (Item& candidate : items_) {
      if (candidate.cls != cls) continue;
      for (auto cell : candidate.cells) {
        if (cell == std::make_pair(day, period)) return &candidate;
      }
    }
    return nullptr;
  }

  void release(Item& item, int day, int period) {
    classCells_[static_cast<std::size_t>(item.cls)][static_cast<std::size_t>(at(day, period))] = 0;
    for (int member : membersOfClass(item.cls)) {
      classCells_[static_cast<std::size_t>(member)][static_cast<std::size_t>(at(day, period))] = 0;
    }
    resourceBusy_[static_cast<std::size_t>(item.resource)][static_cast<std::size_t>(at(day, period))] = 0;
    for (int member : membersOfResource(item.resource)) {
      resourceBusy_[static_cast<std::size_t>(member)][static_cast<std::size_t>(at(day, period))] = 0;
    }
    std::erase(item.cells, std::make_pair(day, period));
  }

  // ---- Writing ---------------------------------------------------------------------------------------

  // The code the system issues to the n-th class or resource: codes step over 999, the value of
  // a free timetable cell, so a school of 999 classes has the codes 1 to 998 and 1000.
  static int issued(int n) { return n >= kFree ? n + 1 : n; }

  GeneratedSchool store_(Store& store) {
    Transaction tx(store);
    TInst institution = store.institution();
    const int school = institution.ISECTION + 1;
    const int classes = shape_.plainClasses + shape_.classGroups;
    const int resources = shape_.plainResources + shape_.resourceGroups;
    const int swrkdays = shape_.days * 100 + shape_.periods;

    std::vector<int> subjectCodes;
    for (const SubjectPlan& plan : kPlan) {
      auto existing = store.table<TSubj>().find(TSubj::primary, {std::string(plan.name)});
      if (existing) {
        subjectCodes.push_back(existing->SUBCODE);
        continue;
      }
      TSubj row{.SUBNAME = plan.name, .SUBCODE = ++institution.ISUBJECT};
      store.table<TSubj>().insert(row);
      subjectCodes.push_back(row.SUBCODE);
    }
    institution.ISECTION = school;
    store.saveInstitution(institution);

    const DefaultConstraint whole = qry_init(swrkdays);
    std::map<int, TClas> classRows;
    std::map<int, TTeac> resourceRows;
    for (int c = 1; c <= classes; ++c) {
      const bool group = classMembers_.count(c) > 0;
      classRows[c] = TClas{.CSCHOOL = school,
                           .CLSNAME = (group ? "GROUP " : "CLASS ") + std::to_string(issued(c)),
                           .CLSCODE = issued(c),
                           .CLSOPTION = group ? "Y" : "N",
                           .CLSTOTLEC = shape_.days * shape_.periods};
    }
    for (int r = 1; r <= resources; ++r) {
      const bool group = resourceMembers_.count(r) > 0;
      int availableCells = 0;
      for (char cell : available_[static_cast<std::size_t>(r)]) availableCells += cell ? 1 : 0;
      resourceRows[r] = TTeac{.TSCHOOL = school,
                              .TCHNAME = (group ? "TEAM " : "TEACHER ") + std::to_string(issued(r)),
                              .TCHCODE = issued(r),
                              .TCHOPTION = group ? "Y" : "N",
                              .TMAXLEC = shape_.periods,
                              .TMAXLECWK = availableCells,
                              .TMAXCON = std::max(3, longestRun(r)),
                              .TCHTOTLEC = availableCells,
                              .TPARTTIME = partTime_[r] ? "Y" : "N"};
    }

    // Indents, their limits and what they require of everyone.
    int serial = 0;
    int periods = 0;
    std::map<int, int> subjectRequired;
    std::map<std::pair<int, int>, int> subjectLimits, resourceLimits;
    for (Item& item : items_) {
      if (item.cells.empty()) continue;
      const SubjectPlan& plan = kPlan[static_cast<std::size_t>(item.plan)];
      const int subject = subjectCodes[static_cast<std::size_t>(item.plan)];
      const int count = static_cast<int>(item.cells.size());
      const bool cluster = plan.clusterOf >= 2;
      const bool partTime = partTime_[item.resource];
      constrain(item, plan);
      TAlloc row{.ASCHOOL = school,
                 .ASERIALNO = ++serial,
                 .ACLASS = issued(item.cls),
                 .ATEACHER = issued(item.resource),
                 .ASUBJECT = subject,
                 .AQUERY = item.constrained ? "Generated constraint" : "None",
                 .ANOOFLEC = count,
                 .ACLUSWEEK = cluster ? count / plan.clusterOf : 0,
                 .AINCLUSOF = cluster ? plan.clusterOf : 0,
                 .APRIORITY = letter(item, plan, partTime),
                 .AACTIVE = "Y",
                 .ALISTDAY = item.constrained ? item.days : whole.ALISTDAY,
                 .ALISTLEC = item.constrained ? item.periods : whole.ALISTLEC,
                 .ARECESS = (cluster ? plan.noRecess : plan.onePerDay) ? "N" : "Y"};
      const std::vector<int> days = listMembers(row.ALISTDAY);
      const std::vector<int> lectures = listMembers(row.ALISTLEC);
      row.ASTDAY = days.front();
      row.AENDAY = days.back();
      row.ASTLEC = lectures.front();
      row.AENLEC = lectures.back();
      store.table<TAlloc>().insert(row);
      periods += count;
      subjectRequired[subject] += count;
      classRows[item.cls].CLSREQLEC += count;
      for (int member : membersOfClass(item.cls)) classRows[member].CLSREQMLT += count;
      resourceRows[item.resource].TCHREQLEC += count;
      for (int member : membersOfResource(item.resource)) resourceRows[member].TCHREQMLT += count;
      // The per-day limits activation would give, and at least what the planted week needs.
      const int spread = (count + shape_.days - 1) / shape_.days;
      const int needed =
          std::max({plan.onePerDay ? 1 : spread, cluster ? plan.clusterOf : 1, mostOnADay(item)});
      auto& subjectLimit = subjectLimits[{item.cls, subject}];
      subjectLimit = std::max(subjectLimit, needed);
      auto& resourceLimit = resourceLimits[{item.cls, item.resource}];
      resourceLimit = std::max(resourceLimit, needed);
    }
    for (auto& [code, row] : classRows) store.table<TClas>().insert(row);
    for (auto& [code, row] : resourceRows) store.table<TTeac>().insert(row);
    for (const auto& [group, members] : classMembers_) {
      for (int member : members) {
        TOptn link{.OPSCHOOL = school, .OPTYPE = "C", .OPMAINCODE = issued(group), .OPSUBCODE = issued(member)};
        store.table<TOptn>().insert(link);
      }
    }
    for (const auto& [group, members] : resourceMembers_) {
      for (int member : members) {
        TOptn link{.OPSCHOOL = school, .OPTYPE = "T", .OPMAINCODE = issued(group), .OPSUBCODE = issued(member)};
        store.table<TOptn>().insert(link);
      }
    }
    for (const auto& [key, limit] : subjectLimits) {
      TSOcc row{.SOSCHOOL = school, .SOCLASS = issued(key.first), .SOSUBJECT = key.second, .SOCCURENCE = limit};
      store.table<TSOcc>().insert(row);
    }
    for (const auto& [key, limit] : resourceLimits) {
      TTOcc row{.TOSCHOOL = school, .TOCLASS = issued(key.first), .TOTEACHER = issued(key.second), .TOCCURENCE = limit};
      store.table<TTOcc>().insert(row);
    }
    for (const auto& [subject, required] : subjectRequired) {
      TSctl row{.SCTSCHOOL = school, .SCTCODE = subject, .SCTREQLEC = required};
      store.table<TSctl>().insert(row);
    }

    TSchl record{.SNAME = "SCHOOL" + std::to_string(school),
                 .SCHOOLCODE = school,
                 .SREGN = "STANDARD",
                 .SWRKDAYS = swrkdays,
                 .STOTLEC = shape_.days * shape_.periods,
                 .SMAXLEC = shape_.periods,
                 .SRECESS = "," + std::to_string(kRecessAfter),
                 .STOTCLS = issued(classes),
                 .STOTTCH = issued(resources),
                 .SALLSERIAL = serial,
                 .SSAVEDONE = "N"};
    store.table<TSchl>().insert(record);
    rows(store, school, 'L', school, [&](int day, int period) { return inWeek(day, period); });
    for (int c = 1; c <= classes; ++c) {
      rows(store, school, 'C', c, [&](int day, int period) { return inWeek(day, period); });
    }
    for (int r = 1; r <= resources; ++r) {
      rows(store, school, 'T', r, [&](int day, int period) {
        return inWeek(day, period) &&
               available_[static_cast<std::size_t>(r)][static_cast<std::size_t>(at(day, period))];
      });
    }
    tx.commit();
    return GeneratedSchool{school, classes, resources, serial, periods};
  }

  template <class Available>
  static void rows(Store& store, int school, char kind, int owner, Available available) {
    for (int day = 1; day <= kGridDays; ++day) {
      for (int period = 1; period <= kGridPeriods; ++period) {
        const int content = available(day, period) ? kFree : 0;
        TTtbl row{.TSCHOOL = school,
                  .TTYPE = std::string(1, kind),
                  .TCLASS = kind == 'C' ? issued(owner) : content,
                  .TTEACHER = kind == 'T' ? issued(owner) : content,
                  .TSUBJECT = content,
                  .TDAY = day,
                  .TLECTNO = period,
                  .TSCHL = issued(owner)};
        store.table<TTtbl>().insert(row);
      }
    }
  }

  int mostOnADay(const Item& item) const {
    std::map<int, int> perDay;
    int most = 0;
    for (auto [day, period] : item.cells) most = std::max(most, ++perDay[day]);
    return most;
  }

  // The longest run of consecutive busy periods of a resource in the planted week, so that the
  // school stays feasible with the continuity limit switched on.
  int longestRun(int resource) const {
    int longest = 0;
    for (int day = 1; day <= shape_.days; ++day) {
      int run = 0;
      for (int period = 1; period <= shape_.periods; ++period) {
        run = resourceBusy_[static_cast<std::size_t>(resource)][static_cast<std::size_t>(at(day, period))]
                  ? run + 1
                  : 0;
        longest = std::max(longest, run);
      }
    }
    return longest;
  }

  // About one regular item in eight gets a constraint: the days and periods it was planted on,
  // and one more day and two more periods.
  void constrain(Item& item, const SubjectPlan& plan) {
    if (item.group || plan.clusterOf >= 2 || plan.onePerDay || random_() % 8 != 0) return;
    std::vector<int> days, periods;
    for (auto [day, period] : item.cells) {
      days.push_back(day);
      periods.push_back(period);
    }
    days.push_back(static_cast<int>(random_() % static_cast<unsigned>(shape_.days)) + 1);
    for (int i = 0; i < 2; ++i)
      periods.push_back(static_cast<int>(random_() % static_cast<unsigned>(shape_.periods)) + 1);
    auto list = [](std::vector<int> numbers) {
      std::sort(numbers.begin(), numbers.end());
      numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
      std::string text;
      for (int n : numbers) text += "," + std::to_string(n);
      return text.substr(0, 25);
    };
    item.constrained = true;
    item.days = list(days);
    item.periods = list(periods);
  }

  // The priority letter activation gives the indent.
  static std::string letter(const Item& item, const SubjectPlan& plan, bool partTime) {
    const bool constraint = item.constrained;
    const bool group = item.group;
    if (plan.clusterOf >= 2) {
      if (group) return "E";
      if (partTime) return "N";
      if (plan.noRecess) return "T";
      return "V";
    }
    char letter = constraint && group      ? 'H'
                  : constraint && partTime ? 'O'
                  : constraint             ? 'Y'
                  : group                  ? 'K'
                  : partTime               ? 'P'
                                           : 'Z';
    if (plan.onePerDay) {
      if (letter > 'X') letter = constraint ? 'W' : 'X';
      if (letter == 'H') letter = 'F';
      if (letter == 'K') letter = 'G';
    }
    return std::string(1, letter);
  }

  GeneratedShape shape_;
  std::mt19937_64 random_;
  std::vector<std::vector<int>> classCells_;     // subject in each cell of each class, 0 free
  std::vector<std::vector<char>> resourceBusy_;  // by resource and cell
  std::vector<std::vector<char>> available_;     // by resource and cell
  std::vector<int> load_;
  std::map<int, int> subjectOf_;
  std::map<int, std::vector<int>> teachers_;  // by plan index
  std::map<int, bool> partTime_;
  std::map<int, std::vector<int>> classMembers_, resourceMembers_;
  std::vector<Item> items_;
};

}  // namespace

GeneratedSchool writeGeneratedSchool(Store& store, const GeneratedShape& shape) {
  return Generator(shape).write(store);
}

}  // namespace tavrel::testing
