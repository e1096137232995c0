// Reading an exchange document into the data set as a new school. The school is built through the
// same routines the windows use — school creation, its details and week setup, its availability,
// subjects, classes, resources, per-day limits and indents — so it comes out exactly as if a person
// had made it there. The indents marked active are then validated and activated, and the periods
// the file has placed are put back through the engine's placement checks.
//
// The whole import is one transaction: a refusal anywhere leaves the data set as it was. A
// refusal names its place in the file by JSON pointer ("/indents/4/subject: there is no subject
// \"ART\" in /subjects"). An indent that fails validation, or a timetable part that does not fit,
// is not a refusal: the school is imported and the report names them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/exchange/school_document.h"
#include "core/indents/activation_report.h"
#include "core/ports/progress.h"
#include "core/store/store.h"
#include "core/util/result.h"

namespace tavrel::exchange {

struct ImportOptions {
  std::string schoolName;  // empty: the name the document gives
  bool replace = false;    // a school of that name is deleted first, in the same transaction
};

struct ImportReport {
  int schoolCode = 0;
  std::string schoolName;
  int indents = 0;
  int activated = 0;
  // Indents marked active that stayed passive, by class, resource and subject with the reason.
  std::vector<indents::ActivationFailure> activationFailures;
  // Placed periods that were not restored: "/indents/3/placed: day 2 period 4: the resource is
  // busy then".
  std::vector<std::string> placementFailures;

  bool complete() const { return activationFailures.empty() && placementFailures.empty(); }
};

Result<ImportReport> importSchool(store::Store& store, Progress& progress, const SchoolDocument& document,
                                  const ImportOptions& options = {});

// Reads and checks an exchange file; "Cannot read <file>." or the document's fault.
Result<SchoolDocument> readDocumentFile(const std::filesystem::path& file);

}  // namespace tavrel::exchange
