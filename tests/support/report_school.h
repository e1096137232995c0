// A small school with a timetable, for the report tests: five days (Monday to Friday) of eight
// periods with recesses after periods 2 and 5, four classes (one a group), three resources, five
// subjects (four used by the school, one a one-per-day variant) and six indents (one passive), of
// which some periods are allocated. Names are chosen to exercise the 12-character cuts, the
// one-per-day marker and text that must be escaped.
#pragma once

#include <string>

#include "core/store/store.h"

namespace tavrel::testing {

struct ReportSchool {
  static constexpr int kSchool = 1;
  static constexpr const char* kInstitution = "GREENFIELD ACADEMY";
  static constexpr const char* kSchoolName = "SENIOR SCHOOL";
  static constexpr const char* kRemark = "Affiliated to the State Board";
  static constexpr const char* kPrintRemark = "Assembly 08:00 - 08:20";

  // Classes
  static constexpr int k7A = 1, k7B = 2, kScienceGroup = 3, kHonours = 4;
  // Resources
  static constexpr int kOsei = 1, kLindqvist = 2, kLab = 3;
  // Subjects
  static constexpr int kMaths = 1, kEnglish = 2, kPhysics = 3, kHistory = 4, kArt = 5;

  static constexpr const char* kPhysicsConstraint =
      R"((DAY in the list "MONDAY","WEDNESDAY") and where (PERIOD before and equal to "4"))";
};

// Writes the school into an empty data set and returns its code.
int writeReportSchool(store::Store& store);

// Allocates one period of an indent in the class row and the resource row.
void allocate(store::Store& store, int school, int classCode, int resourceCode, int subject, int serial, int day,
              int period);

}  // namespace tavrel::testing
