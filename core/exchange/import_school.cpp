#include "core/exchange/import_school.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "core/engine/period_restore.h"
#include "core/grid/availability_change.h"
#include "core/grid/week_setup_application.h"
#include "core/indents/indent_creation.h"
#include "core/indents/indent_facts.h"
#include "core/ports/collecting_prompter.h"
#include "core/setup/constraint_derivation.h"
#include "core/setup/items.h"
#include "core/setup/schools.h"
#include "core/setup/subjects.h"
#include "core/store/session.h"
#include "core/util/text.h"

namespace tavrel::exchange {

using namespace store;

namespace {

constexpr int kSchoolNameWidth = 50;

std::string inQuotes(const std::string& name) {
  return "\"" + name + "\"";
}

std::string element(const std::string& list, std::size_t i) {
  return "/" + list + "/" + std::to_string(i);
}

// The tables keep names in upper case, so a file's names are compared the same way.
std::string key(const std::string& name) {
  return setup::upperCase(name);
}

using NameIndex = std::map<std::string, std::size_t>;  // name as kept -> position in its list

template <class Entry>
Result<NameIndex> indexNames(const std::vector<Entry>& entries, const std::string& list) {
  NameIndex index;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string name = key(entries[i].name);
    if (name.empty()) return Error{element(list, i) + "/name: must not be empty"};
    if (!index.emplace(name, i).second)
      return Error{element(list, i) + "/name: " + inQuotes(entries[i].name) + " appears twice"};
  }
  return index;
}

// Everything about the document that can be told before a row is written: names that refer to
// nothing, groups of groups, limits given twice, cluster counts that do not add up.
class DocumentCheck {
 public:
  explicit DocumentCheck(const SchoolDocument& document) : document_(document) {}

  Status run() {
    if (document_.weekSetup != "STANDARD" && document_.weekSetup != "GULF")
      return Error{"/school/weekSetup: " + inQuotes(document_.weekSetup) + " is not \"STANDARD\" or \"GULF\""};
    std::array<bool, 11> ticks{};
    for (int period : document_.recess) ticks[static_cast<std::size_t>(period - 1)] = true;
    if (const auto kept = setup::recessText(ticks); !kept.dropped.empty()) {
      const std::size_t given = static_cast<std::size_t>(std::count(ticks.begin(), ticks.end(), true));
      return Error{"/school/recess: a school keeps only the first " + std::to_string(given - kept.dropped.size()) +
                   " of these recess positions; " + std::to_string(kept.dropped.front()) + " does not fit"};
    }
    auto subjects = indexNames(document_.subjects, "subjects");
    if (!subjects) return Error{subjects.error()};
    subjects_ = subjects.value();
    auto classes = indexNames(document_.classes, "classes");
    if (!classes) return Error{classes.error()};
    classes_ = classes.value();
    auto resources = indexNames(document_.resources, "resources");
    if (!resources) return Error{resources.error()};
    resources_ = resources.value();
    if (Status s = members(document_.classes, "classes", classes_, "class"); !s) return s;
    if (Status s = members(document_.resources, "resources", resources_, "resource"); !s) return s;
    if (Status s = limits(document_.subjectLimits, "subjectLimits", "subject", subjects_, "subjects"); !s)
      return s;
    if (Status s = limits(document_.resourceLimits, "resourceLimits", "resource", resources_, "resources"); !s)
      return s;
    return checkIndents();
  }

 private:
  static Status refer(const std::string& pointer, const std::string& name, const NameIndex& index,
                      const std::string& what, const std::string& list) {
    if (index.count(key(name))) return {};
    return Error{pointer + ": there is no " + what + " " + inQuotes(name) + " in /" + list};
  }

  template <class Entry>
  static Status members(const std::vector<Entry>& entries, const std::string& list, const NameIndex& index,
                        const std::string& what) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::set<std::string> seen;
      for (std::size_t j = 0; j < entries[i].members.size(); ++j) {
        const std::string& member = entries[i].members[j];
        const std::string pointer = element(list, i) + "/members/" + std::to_string(j);
        if (Status s = refer(pointer, member, index, what, list); !s) return s;
        if (!entries[index.at(key(member))].members.empty())
          return Error{pointer + ": " + inQuotes(member) + " is a group itself; a group's members are not groups"};
        if (!seen.insert(key(member)).second) return Error{pointer + ": " + inQuotes(member) + " is listed twice"};
      }
    }
    return {};
  }

  Status limits(const std::vector<DayLimit>& rows, const std::string& list, const std::string& itemWord,
                const NameIndex& items, const std::string& itemList) const {
    std::set<std::pair<std::string, std::string>> seen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string pointer = element(list, i);
      if (Status s = refer(pointer + "/class", rows[i].className, classes_, "class", "classes"); !s) return s;
      if (Status s = refer(pointer + "/" + itemWord, rows[i].item, items, itemWord, itemList); !s) return s;
      if (!seen.insert({key(rows[i].className), key(rows[i].item)}).second)
        return Error{pointer + ": the class has a limit for this " + itemWord + " already"};
    }
    return {};
  }

  Status checkIndents() const {
    for (std::size_t i = 0; i < document_.indents.size(); ++i) {
      const IndentEntry& indent = document_.indents[i];
      const std::string pointer = element("indents", i);
      if (Status s = refer(pointer + "/class", indent.className, classes_, "class", "classes"); !s) return s;
      if (Status s = refer(pointer + "/resource", indent.resource, resources_, "resource", "resources"); !s)
        return s;
      if (Status s = refer(pointer + "/subject", indent.subject, subjects_, "subject", "subjects"); !s) return s;
      if (indent.clusterSize < 2) continue;
      if (indent.clustersPerWeek < 1)
        return Error{pointer + "/clustersPerWeek: a cluster indent needs at least one cluster"};
      if (indent.periods != indent.clusterSize * indent.clustersPerWeek) {
        return Error{pointer + "/periods: " + std::to_string(indent.periods) + " is not clusterSize × clustersPerWeek (" +
                     std::to_string(indent.clusterSize * indent.clustersPerWeek) + ")"};
      }
    }
    return {};
  }

  const SchoolDocument& document_;
  NameIndex subjects_, classes_, resources_;
};

class Importer {
 public:
  Importer(Store& store, Progress& progress, const SchoolDocument& document, const ImportOptions& options)
      : store_(store), progress_(progress), document_(document), options_(options), session_(store, quiet_) {}

  Result<ImportReport> run() {
    if (Status checked = DocumentCheck(document_).run(); !checked) return Error{checked.error()};
    namePointer_ = options_.schoolName.empty() ? "/school/name" : "the school name";
    name_ = key(options_.schoolName.empty() ? document_.name : options_.schoolName);
    if (name_.empty()) return Error{namePointer_ + ": must not be empty"};
    if (text::cutToWidth(name_, kSchoolNameWidth) != name_)
      return Error{namePointer_ + ": " + inQuotes(name_) + " is longer than 50 characters"};

    // The routines commit at the points where they flush; inside a savepoint of the import's own
    // those are no commit points, so the import stays one transaction.
    Transaction whole(store_);
    Transaction held(store_);
    using Step = Status (Importer::*)();
    for (Step step : {&Importer::makeRoom, &Importer::createSchool, &Importer::schoolAvailability,
                      &Importer::subjects, &Importer::classes, &Importer::resources, &Importer::limits,
                      &Importer::makeIndents}) {
      if (Status done = (this->*step)(); !done) return Error{done.error()};
    }
    activate();
    restorePlacedPeriods();
    held.commit();
    whole.commit();
    report_.schoolCode = session_.schoolCode();
    report_.schoolName = session_.school()->SNAME;
    report_.indents = static_cast<int>(serials_.size());
    return report_;
  }

 private:
  // A routine refused: its own words say why, at the element the routine was working on.
  Error refusal(const std::string& pointer, std::size_t mark, const std::string& otherwise) const {
    const std::string words = quiet_.textSince(mark);
    return Error{pointer + ": " + (words.empty() ? otherwise : words)};
  }

  Status makeRoom() {
    auto existing = store_.table<TSchl>().find(TSchl::primary, {name_});
    if (!existing) return {};
    if (!options_.replace) return Error{"There is a school named " + name_ + " already."};
    quiet_.setAnswer(true);  // "Deleting School. Ok?"
    const bool deleted = setup::deleteSchool(session_, progress_, existing->SCHOOLCODE);
    quiet_.setAnswer(false);
    if (!deleted) return Error{"The school " + name_ + " could not be deleted."};
    return {};
  }

  Status createSchool() {
    std::size_t mark = quiet_.mark();
    auto code = setup::createSchool(session_);
    if (!code) {
      const std::string words = quiet_.textSince(mark);
      return Error{(words.empty() ? std::string("The school could not be created.") : words) +
                   " An institution has at most " + std::to_string(setup::kMostSchools) + " schools."};
    }
    school_ = *code;
    setup::DetailsBaseline baseline = setup::detailsBaseline(*session_.school());
    setup::SchoolDetails details;
    details.name = name_;
    details.remark = document_.remark;
    details.dayCountText = std::to_string(document_.days);
    for (int period : document_.recess) details.recess[static_cast<std::size_t>(period - 1)] = true;
    mark = quiet_.mark();
    if (setup::leaveDetails(session_, details, baseline).refused)
      return refusal(namePointer_, mark, "the school's details were refused");
    if (document_.weekSetup != session_.school()->SREGN) setup::changeWeekSetup(session_, document_.weekSetup);
    return {};
  }

  Status notAvailable(grid::GridOwner owner, const std::vector<Slot>& slots, const std::string& pointer) {
    for (std::size_t i = 0; i < slots.size(); ++i) {
      const std::size_t mark = quiet_.mark();
      const grid::ChangeOutcome outcome = grid::makeNotAvailable(session_, owner, slots[i].day, slots[i].period);
      if (outcome == grid::ChangeOutcome::Declined || outcome == grid::ChangeOutcome::Refused)
        return refusal(pointer + "/" + std::to_string(i), mark, "the slot could not be made not available");
    }
    return {};
  }

  // The week frame as the availability setup makes it: every day of the cycle with its periods
  // from the first on, then the slots where the school does not work.
  Status schoolAvailability() {
    const std::size_t mark = quiet_.mark();
    if (!setup::prepareAvailabilitySetup(session_, progress_, std::to_string(document_.days)))
      return refusal("/school/days", mark, "the school's timetable rows could not be made");
    setup::WeekSetupResult pattern;
    for (int day = 1; day <= 9; ++day)
      pattern.counts[static_cast<std::size_t>(day - 1)] = day <= document_.days ? document_.periodsPerDay : 0;
    grid::applyWeekSetup(session_, {grid::GridKind::School, school_}, pattern);
    if (Status s = notAvailable({grid::GridKind::School, school_}, document_.notAvailable, "/school/notAvailable");
        !s)
      return s;
    setup::availabilitySetupFinished(session_);
    return {};
  }

  // Subjects belong to the institution: one of the same name is used, a missing one is made.
  Status subjects() {
    for (std::size_t i = 0; i < document_.subjects.size(); ++i) {
      const SubjectEntry& entry = document_.subjects[i];
      int code = 0;
      if (auto existing = store_.table<TSubj>().find(TSubj::primary, {key(entry.name)})) {
        code = existing->SUBCODE;
      } else {
        const std::size_t mark = quiet_.mark();
        auto made = setup::createSubject(session_, entry.name, entry.notes);
        if (!made) return refusal(element("subjects", i) + "/name", mark, "the subject was refused");
        code = *made;
      }
      Transaction tx(store_);
      setup::ensureSubjectLink(store_, school_, code);
      setup::saveSubjectNotes(store_, school_, code, entry.notes);
      tx.commit();
      subjectCodes_[key(entry.name)] = code;
    }
    session_.flush(kFlushSchoolSubjects);
    return {};
  }

  Status classes() { return items(setup::ItemKind::Class); }
  Status resources() { return items(setup::ItemKind::Resource); }

  // Plain items first, so that every group finds its members.
  Status items(setup::ItemKind kind) {
    const bool isClass = kind == setup::ItemKind::Class;
    const std::string list = isClass ? "classes" : "resources";
    const std::size_t count = isClass ? document_.classes.size() : document_.resources.size();
    for (bool groups : {false, true}) {
      for (std::size_t i = 0; i < count; ++i) {
        const ClassEntry* cls = isClass ? &document_.classes[i] : nullptr;
        const ResourceEntry* resource = isClass ? nullptr : &document_.resources[i];
        const std::vector<std::string>& members = isClass ? cls->members : resource->members;
        if (members.empty() == groups) continue;
        setup::ItemForm form = setup::newItemForm(store_, school_, kind);
        form.name = isClass ? cls->name : resource->name;
        form.notes = isClass ? cls->notes : resource->notes;
        form.group = groups;
        std::map<std::string, int>& codes = isClass ? classCodes_ : resourceCodes_;
        for (const std::string& member : members) form.members.insert(codes.at(key(member)));
        if (resource) resourceLimits(*resource, form);
        const std::size_t mark = quiet_.mark();
        bool cancelled = false;
        auto code = setup::saveNewItem(session_, progress_, kind, form, cancelled);
        if (!code) return refusal(element(list, i) + "/name", mark, "the " + list + " entry was refused");
        codes[key(form.name)] = *code;
        const grid::GridOwner owner{isClass ? grid::GridKind::Class : grid::GridKind::Resource, *code};
        if (Status s = notAvailable(owner, isClass ? cls->notAvailable : resource->notAvailable,
                                    element(list, i) + "/notAvailable");
            !s)
          return s;
      }
    }
    return {};
  }

  // A limit left out keeps the institution's default the form starts with. A limit is not held to
  // the school's week here: the week may have been made shorter after the limit was set, and the
  // file must read back as it was written.
  static void resourceLimits(const ResourceEntry& resource, setup::ItemForm& form) {
    if (resource.perDay > 0) form.perDay = std::to_string(resource.perDay);
    if (resource.perWeek > 0) form.perWeek = std::to_string(resource.perWeek);
    if (resource.sequence > 0) form.sequence = std::to_string(resource.sequence);
    form.partTime = resource.partTime;
  }

  // Activation makes the limit rows an indent needs and raises those too low; the rows the file
  // gives are in place before it, as a person would have set them.
  Status limits() {
    Transaction tx(store_);
    for (const DayLimit& row : document_.subjectLimits) {
      indents::setClassLimit(store_, school_, LimitKind::Subject, classCodes_.at(key(row.className)),
                             subjectCodes_.at(key(row.item)), row.perDay);
    }
    for (const DayLimit& row : document_.resourceLimits) {
      indents::setClassLimit(store_, school_, LimitKind::Resource, classCodes_.at(key(row.className)),
                             resourceCodes_.at(key(row.item)), row.perDay);
    }
    tx.commit();
    session_.flush(kFlushSubjectLimits);
    session_.flush(kFlushResourceLimits);
    return {};
  }

  Status makeIndents() {
    for (std::size_t i = 0; i < document_.indents.size(); ++i) {
      const IndentEntry& entry = document_.indents[i];
      const std::string pointer = element("indents", i);
      const bool cluster = entry.clusterSize >= 2;
      const int classCode = classCodes_.at(key(entry.className));
      const int serial = indents::AppndTAlloc(session_, {'C', classCode},
                                              cluster ? indents::IndentKind::Cluster : indents::IndentKind::Regular,
                                              {}, std::nullopt);
      TAlloc indent = *indents::findIndent(session_, serial);
      indent.ATEACHER = resourceCodes_.at(key(entry.resource));
      indent.ASUBJECT = subjectCodes_.at(key(entry.subject));
      indent.AINCLUSOF = cluster ? entry.clusterSize : 0;
      indent.ACLUSWEEK = cluster ? entry.clustersPerWeek : 0;
      indent.ANOOFLEC = entry.periods;
      indent.ARECESS = (cluster ? !entry.recessPermissible : entry.onePerDay) ? "N" : "Y";
      if (entry.constraint != "None") {
        auto values = setup::deriveConstraint(entry.constraint, setup::constraintWeek(*session_.school()),
                                              indent.AINCLUSOF);
        if (!values) return Error{pointer + "/constraint: " + values.error()};
        indent.AQUERY = values->text;
        indent.ASTDAY = values->firstDay;
        indent.AENDAY = values->lastDay;
        indent.ASTLEC = values->firstPeriod;
        indent.AENLEC = values->lastPeriod;
        indent.ALISTDAY = values->dayList;
        indent.ALISTLEC = values->periodList;
      }
      const std::size_t mark = quiet_.mark();
      if (!indents::RecPost(session_, indent)) return refusal(pointer, mark, "the indent was refused");
      serials_.push_back(serial);
    }
    return {};
  }

  void activate() {
    std::vector<int> wanted;
    for (std::size_t i = 0; i < serials_.size(); ++i) {
      if (document_.indents[i].active) wanted.push_back(serials_[i]);
    }
    indents::ActivationReport activation = indents::activateAndReport(session_, wanted);
    report_.activated = static_cast<int>(activation.activated.size());
    report_.activationFailures = std::move(activation.failures);
  }

  void restorePlacedPeriods() {
    for (std::size_t i = 0; i < serials_.size(); ++i) {
      const IndentEntry& entry = document_.indents[i];
      if (entry.placed.empty()) continue;
      const std::string pointer = element("indents", i) + "/placed: ";
      auto indent = indents::findIndent(session_, serials_[i]);
      if (!indent || !indents::isActive(*indent)) {
        report_.placementFailures.push_back(pointer + "the indent is passive, so its periods were not placed");
        continue;
      }
      std::vector<engine::PeriodToRestore> periods;
      for (const PlacedCell& cell : entry.placed) periods.push_back({cell.day, cell.period, cell.position});
      if (Status restored = engine::restorePeriods(session_, serials_[i], periods); !restored)
        report_.placementFailures.push_back(pointer + restored.error() + "; none of its periods were placed");
    }
  }

  Store& store_;
  Progress& progress_;
  const SchoolDocument& document_;
  const ImportOptions& options_;
  CollectingPrompter quiet_;
  Session session_;
  std::string name_;
  std::string namePointer_;
  int school_ = 0;
  std::map<std::string, int> subjectCodes_, classCodes_, resourceCodes_;
  std::vector<int> serials_;  // by position in /indents
  ImportReport report_;
};

}  // namespace

Result<ImportReport> importSchool(Store& store, Progress& progress, const SchoolDocument& document,
                                  const ImportOptions& options) {
  return Importer(store, progress, document, options).run();
}

Result<SchoolDocument> readDocumentFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return Error{"Cannot read " + file.string() + "."};
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) return Error{"Cannot read " + file.string() + "."};
  return fromJson(text.str());
}

}  // namespace tavrel::exchange
