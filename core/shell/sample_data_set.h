// The sample data set on first start. The program ships its demonstration schools as exchange
// files (`samples/*.json`, installed beside the program); when the sample folder `Samples/` does
// not exist yet, it is made from them through the import, so the sample schools are built by the
// same routines as any school a person makes, and a change of the table layout never leaves
// shipped table files behind.
//
// The new data set is built in a staging folder beside `Samples/` and renamed into place only when
// every file imported: a failure leaves no half-made sample behind, and the next start tries again.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/ports/progress.h"
#include "core/store/store.h"
#include "core/util/result.h"

namespace tavrel::shell {

// The exchange files of a folder that make the sample, in name order; none when it has none.
std::vector<std::filesystem::path> sampleFiles(const std::filesystem::path& sources);

// What the creation did: the schools it imported and, for each of them, what the import reported
// (indents that stayed passive, periods not restored).
struct SampleCreation {
  bool created = false;  // false: the folder existed already, or there were no files to make it from
  std::vector<std::string> schools;
  std::vector<std::string> notices;
};

// Makes `Samples/` below the program folder from the exchange files in `sources` when it is
// missing. A refusal names the file and its fault; the sample folder is then still missing.
Result<SampleCreation> createMissingSampleDataSet(const store::ProgramFolders& folders,
                                                  const std::filesystem::path& sources, Progress& progress);

}  // namespace tavrel::shell
