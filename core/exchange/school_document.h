// One school as the exchange format holds it: everything a school office keeps about its week,
// subjects, classes, resources, limits and indents, by name rather than by code, so that a file
// can be written by hand or by another program and read into any institution.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "core/util/result.h"

namespace tavrel::exchange {

inline constexpr const char* kFormatName = "tavrel-school";
inline constexpr int kFormatVersion = 1;

struct Slot {
  int day = 0;     // 1 to 9
  int period = 0;  // 1 to 12
  bool operator==(const Slot&) const = default;
};

struct SubjectEntry {
  std::string name;
  std::string notes;
  bool operator==(const SubjectEntry&) const = default;
};

struct ClassEntry {
  std::string name;
  std::vector<std::string> members;  // a group class lists its member classes
  std::vector<Slot> notAvailable;    // inside the school's week
  std::string notes;
  bool operator==(const ClassEntry&) const = default;
};

struct ResourceEntry {
  std::string name;
  std::vector<std::string> members;
  bool partTime = false;
  int perDay = 0;
  int perWeek = 0;
  int sequence = 0;
  std::vector<Slot> notAvailable;
  std::string notes;
  bool operator==(const ResourceEntry&) const = default;
};

struct DayLimit {
  std::string className;
  std::string item;  // the subject or the resource
  int perDay = 0;
  bool operator==(const DayLimit&) const = default;
};

struct PlacedCell {
  int day = 0;
  int period = 0;
  int position = 1;  // the period's place in its cluster, 1 for a regular period
  bool operator==(const PlacedCell&) const = default;
};

struct IndentEntry {
  std::string className;
  std::string resource;
  std::string subject;
  int periods = 0;                // per week cycle
  int clusterSize = 0;            // below 2: regular periods
  int clustersPerWeek = 0;        // cluster indents
  bool onePerDay = false;         // regular indents: at most one period a day
  bool recessPermissible = true;  // cluster indents: a cluster may span a recess
  std::string constraint = "None";
  bool active = false;
  std::vector<PlacedCell> placed;
  bool operator==(const IndentEntry&) const = default;
};

struct SchoolDocument {
  std::string name;
  std::string remark;
  std::string weekSetup = "STANDARD";
  int days = 9;
  int periodsPerDay = 12;
  std::vector<int> recess;  // periods a recess follows
  std::vector<Slot> notAvailable;
  std::vector<SubjectEntry> subjects;
  std::vector<ClassEntry> classes;
  std::vector<ResourceEntry> resources;
  std::vector<DayLimit> subjectLimits;
  std::vector<DayLimit> resourceLimits;
  std::vector<IndentEntry> indents;
  bool operator==(const SchoolDocument&) const = default;
};

// JSON text of a document: stable key order and layout, so that export → import → export gives
// the same text.
std::string toJson(const SchoolDocument& document);

// Reads a document, checking its shape and ranges; a fault names the element by its JSON pointer
// ("/classes/3/notAvailable/0/day: 10 is not a day of the week cycle (1 to 9)").
Result<SchoolDocument> fromJson(const std::string& text);

}  // namespace tavrel::exchange
