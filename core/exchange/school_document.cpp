#include "core/exchange/school_document.h"

#include <nlohmann/json.hpp>
#include <set>

namespace tavrel::exchange {

using Json = nlohmann::ordered_json;

namespace {

// ---- Writing ----------------------------------------------------------------------------------

Json slots(const std::vector<Slot>& cells) {
  Json list = Json::array();
  for (const Slot& slot : cells) list.push_back(Json::array({slot.day, slot.period}));
  return list;
}

Json strings(const std::vector<std::string>& names) {
  Json list = Json::array();
  for (const std::string& name : names) list.push_back(name);
  return list;
}

Json limits(const std::vector<DayLimit>& rows, const char* itemKey) {
  Json list = Json::array();
  for (const DayLimit& row : rows)
    list.push_back({{"class", row.className}, {itemKey, row.item}, {"perDay", row.perDay}});
  return list;
}

// ---- Reading ----------------------------------------------------------------------------------

// A fault in the document, named by its JSON pointer.
struct DocumentFault {
  std::string message;
};

class Reader {
 public:
  Reader(const Json& value, std::string pointer) : value_(value), pointer_(std::move(pointer)) {}

  Reader at(const std::string& key) const {
    requireObject();
    auto it = value_.find(key);
    if (it == value_.end()) fail(pointer_ + "/" + key, "is missing");
    return Reader(*it, pointer_ + "/" + key);
  }
  bool has(const std::string& key) const {
    requireObject();
    return value_.contains(key);
  }

  std::string text(std::size_t width) const {
    if (!value_.is_string()) fail(pointer_, "must be a text");
    std::string result = value_.get<std::string>();
    if (width > 0 && characters(result) > width) {
      fail(pointer_, "\"" + result + "\" is longer than " + std::to_string(width) + " characters");
    }
    return result;
  }
  std::string optionalText(const std::string& key, std::size_t width, std::string fallback = "") const {
    return has(key) ? at(key).text(width) : fallback;
  }
  int integer(int low, int high, const std::string& what) const {
    if (!value_.is_number_integer()) fail(pointer_, "must be a whole number");
    long long number = value_.get<long long>();
    if (number < low || number > high) {
      fail(pointer_, std::to_string(number) + " is not " + what + " (" + std::to_string(low) + " to " +
                         std::to_string(high) + ")");
    }
    return static_cast<int>(number);
  }
  int optionalInteger(const std::string& key, int low, int high, const std::string& what,
                      int fallback) const {
    return has(key) ? at(key).integer(low, high, what) : fallback;
  }
  bool flag() const {
    if (!value_.is_boolean()) fail(pointer_, "must be true or false");
    return value_.get<bool>();
  }
  bool optionalFlag(const std::string& key, bool fallback) const {
    return has(key) ? at(key).flag() : fallback;
  }

  template <class F>
  void each(F f) const {
    if (!value_.is_array()) fail(pointer_, "must be a list");
    for (std::size_t i = 0; i < value_.size(); ++i) f(Reader(value_[i], pointer_ + "/" + std::to_string(i)));
  }
  template <class F>
  void eachIn(const std::string& key, F f) const {
    if (has(key)) at(key).each(f);
  }

  [[noreturn]] static void fail(const std::string& pointer, const std::string& message) {
    throw DocumentFault{pointer + ": " + message};
  }
  const std::string& pointer() const { return pointer_; }

 private:
  void requireObject() const {
    if (!value_.is_object()) fail(pointer_.empty() ? "/" : pointer_, "must be an object");
  }
  static std::size_t characters(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
  }

  const Json& value_;
  std::string pointer_;
};

constexpr std::size_t kNameWidth = 25;

std::vector<Slot> readSlots(const Reader& owner, const std::string& key, int days, int periods) {
  std::vector<Slot> cells;
  std::set<std::pair<int, int>> seen;
  owner.eachIn(key, [&](const Reader& slot) {
    std::vector<int> pair;
    slot.each([&](const Reader& number) {
      pair.push_back(number.integer(1, pair.empty() ? days : periods,
                                    pair.empty() ? "a day of the week cycle" : "a period of the day"));
    });
    if (pair.size() != 2) Reader::fail(slot.pointer(), "must be [day, period]");
    if (!seen.insert({pair[0], pair[1]}).second) Reader::fail(slot.pointer(), "names a slot twice");
    cells.push_back({pair[0], pair[1]});
  });
  return cells;
}

std::vector<std::string> readNames(const Reader& owner, const std::string& key) {
  std::vector<std::string> names;
  owner.eachIn(key, [&](const Reader& name) { names.push_back(name.text(kNameWidth)); });
  return names;
}

// Names must be unique within their list: the tables key items by name.
template <class Entry>
void requireUniqueNames(const Reader& root, const std::string& key, const std::vector<Entry>& entries) {
  std::set<std::string> names;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!names.insert(entries[i].name).second) {
      Reader::fail("/" + key + "/" + std::to_string(i) + "/name",
                   "\"" + entries[i].name + "\" appears twice");
    }
  }
  (void)root;
}

std::vector<DayLimit> readLimits(const Reader& root, const std::string& key, const char* itemKey) {
  std::vector<DayLimit> rows;
  root.eachIn(key, [&](const Reader& row) {
    rows.push_back({row.at("class").text(kNameWidth), row.at(itemKey).text(kNameWidth),
                    row.at("perDay").integer(1, 12, "a per-day limit")});
  });
  return rows;
}

SchoolDocument readDocument(const Reader& root) {
  if (root.at("format").text(0) != kFormatName)
    Reader::fail("/format", "must be \"" + std::string(kFormatName) + "\"");
  root.at("version").integer(1, kFormatVersion, "a version this program reads");
  SchoolDocument document;
  Reader school = root.at("school");
  document.name = school.at("name").text(50);
  if (document.name.empty()) Reader::fail("/school/name", "must not be empty");
  document.remark = school.optionalText("remark", 50);
  document.weekSetup = school.optionalText("weekSetup", 10, "STANDARD");
  document.days = school.optionalInteger("days", 1, 9, "a number of days in the week cycle", 9);
  document.periodsPerDay = school.optionalInteger("periodsPerDay", 1, 12, "a number of periods per day", 12);
  school.eachIn("recess", [&](const Reader& period) {
    document.recess.push_back(period.integer(1, 11, "a period a recess can follow"));
  });
  document.notAvailable = readSlots(school, "notAvailable", document.days, document.periodsPerDay);

  root.eachIn("subjects", [&](const Reader& subject) {
    document.subjects.push_back({subject.at("name").text(kNameWidth), subject.optionalText("notes", 0)});
  });
  requireUniqueNames(root, "subjects", document.subjects);
  root.eachIn("classes", [&](const Reader& cls) {
    ClassEntry entry;
    entry.name = cls.at("name").text(kNameWidth);
    entry.members = readNames(cls, "members");
    entry.notAvailable = readSlots(cls, "notAvailable", document.days, document.periodsPerDay);
    entry.notes = cls.optionalText("notes", 0);
    document.classes.push_back(std::move(entry));
  });
  requireUniqueNames(root, "classes", document.classes);
  root.eachIn("resources", [&](const Reader& resource) {
    ResourceEntry entry;
    entry.name = resource.at("name").text(kNameWidth);
    entry.members = readNames(resource, "members");
    entry.partTime = resource.optionalFlag("partTime", false);
    entry.perDay = resource.optionalInteger("perDay", 1, 12, "a per-day limit", 0);
    entry.perWeek = resource.optionalInteger("perWeek", 1, 108, "a per-week limit", 0);
    entry.sequence = resource.optionalInteger("sequence", 1, 12, "a sequence limit", 0);
    entry.notAvailable = readSlots(resource, "notAvailable", document.days, document.periodsPerDay);
    entry.notes = resource.optionalText("notes", 0);
    document.resources.push_back(std::move(entry));
  });
  requireUniqueNames(root, "resources", document.resources);
  document.subjectLimits = readLimits(root, "subjectLimits", "subject");
  document.resourceLimits = readLimits(root, "resourceLimits", "resource");
  root.eachIn("indents", [&](const Reader& indent) {
    IndentEntry entry;
    entry.className = indent.at("class").text(kNameWidth);
    entry.resource = indent.at("resource").text(kNameWidth);
    entry.subject = indent.at("subject").text(kNameWidth);
    entry.periods = indent.at("periods").integer(1, 108, "a number of periods per week cycle");
    entry.clusterSize = indent.optionalInteger("clusterSize", 0, 12, "a cluster size", 0);
    entry.clustersPerWeek = indent.optionalInteger("clustersPerWeek", 0, 108, "a number of clusters", 0);
    entry.onePerDay = indent.optionalFlag("onePerDay", false);
    entry.recessPermissible = indent.optionalFlag("recessPermissible", true);
    entry.constraint = indent.optionalText("constraint", 254, "None");
    entry.active = indent.optionalFlag("active", false);
    indent.eachIn("placed", [&](const Reader& cell) {
      entry.placed.push_back({cell.at("day").integer(1, document.days, "a day of the week cycle"),
                              cell.at("period").integer(1, document.periodsPerDay, "a period of the day"),
                              cell.optionalInteger("position", 1, 12, "a position in a cluster", 1)});
    });
    document.indents.push_back(std::move(entry));
  });
  return document;
}

}  // namespace

std::string toJson(const SchoolDocument& document) {
  Json school = {{"name", document.name},
                 {"remark", document.remark},
                 {"weekSetup", document.weekSetup},
                 {"days", document.days},
                 {"periodsPerDay", document.periodsPerDay},
                 {"recess", document.recess},
                 {"notAvailable", slots(document.notAvailable)}};
  Json subjects = Json::array();
  for (const SubjectEntry& subject : document.subjects)
    subjects.push_back({{"name", subject.name}, {"notes", subject.notes}});
  Json classes = Json::array();
  for (const ClassEntry& cls : document.classes) {
    classes.push_back({{"name", cls.name},
                       {"members", strings(cls.members)},
                       {"notAvailable", slots(cls.notAvailable)},
                       {"notes", cls.notes}});
  }
  Json resources = Json::array();
  for (const ResourceEntry& resource : document.resources) {
    resources.push_back({{"name", resource.name},
                         {"members", strings(resource.members)},
                         {"partTime", resource.partTime},
                         {"perDay", resource.perDay},
                         {"perWeek", resource.perWeek},
                         {"sequence", resource.sequence},
                         {"notAvailable", slots(resource.notAvailable)},
                         {"notes", resource.notes}});
  }
  Json indents = Json::array();
  for (const IndentEntry& indent : document.indents) {
    Json placed = Json::array();
    for (const PlacedCell& cell : indent.placed) {
      placed.push_back({{"day", cell.day}, {"period", cell.period}, {"position", cell.position}});
    }
    indents.push_back({{"class", indent.className},
                       {"resource", indent.resource},
                       {"subject", indent.subject},
                       {"periods", indent.periods},
                       {"clusterSize", indent.clusterSize},
                       {"clustersPerWeek", indent.clustersPerWeek},
                       {"onePerDay", indent.onePerDay},
                       {"recessPermissible", indent.recessPermissible},
                       {"constraint", indent.constraint},
                       {"active", indent.active},
                       {"placed", placed}});
  }
  Json root = {{"format", kFormatName},
               {"version", kFormatVersion},
               {"school", school},
               {"subjects", subjects},
               {"classes", classes},
               {"resources", resources},
               {"subjectLimits", limits(document.subjectLimits, "subject")},
               {"resourceLimits", limits(document.resourceLimits, "resource")},
               {"indents", indents}};
  return root.dump(2) + "\n";
}

Result<SchoolDocument> fromJson(const std::string& text) {
  Json root;
  try {
    root = Json::parse(text);
  } catch (const Json::parse_error& error) {
    // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." without the tag.
    std::string words = error.what();
    if (auto tag = words.find("] "); tag != std::string::npos) words = words.substr(tag + 2);
    return Error{"The file is not valid JSON: " + words};
  }
  try {
    return readDocument(Reader(root, ""));
  } catch (const DocumentFault& fault) {
    return Error{fault.message};
  }
}

}  // namespace tavrel::exchange
