#include "core/shell/sample_data_set.h"

#include <algorithm>
#include <system_error>

#include "core/exchange/import_school.h"

namespace tavrel::shell {

namespace fs = std::filesystem;

std::vector<fs::path> sampleFiles(const fs::path& sources) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(sources, ec)) {
    if (entry.is_regular_file(ec) && entry.path().extension() == ".json") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

namespace {

Result<SampleCreation> importInto(const store::ProgramFolders& staging, const std::vector<fs::path>& files,
                                  Progress& progress) {
  auto opened = store::Store::open(staging, store::DataSet::Sample);
  if (!opened) return Error{opened.error()};
  store::Store& store = *opened.value();
  SampleCreation creation;
  for (const fs::path& file : files) {
    auto document = exchange::readDocumentFile(file);
    if (!document) return Error{file.string() + ": " + document.error()};
    auto imported = exchange::importSchool(store, progress, document.value());
    if (!imported) return Error{file.string() + ": " + imported.error()};
    creation.schools.push_back(imported->schoolName);
    for (const auto& failure : imported->activationFailures)
      creation.notices.push_back(imported->schoolName + ": " + failure.text());
    for (const std::string& failure : imported->placementFailures)
      creation.notices.push_back(file.filename().string() + ": " + failure);
  }
  creation.created = true;
  return creation;
}

}  // namespace

Result<SampleCreation> createMissingSampleDataSet(const store::ProgramFolders& folders, const fs::path& sources,
                                                  Progress& progress) {
  std::error_code ec;
  if (fs::exists(folders.sample(), ec)) return SampleCreation{};
  const std::vector<fs::path> files = sampleFiles(sources);
  if (files.empty()) return SampleCreation{};

  // The staging program folder gets a `Samples/` of its own (and the few live tables a data set
  // needs beside it, which are thrown away).
  const store::ProgramFolders staging{folders.program / ".Samples-new"};
  fs::remove_all(staging.program, ec);
  Result<SampleCreation> creation = [&]() -> Result<SampleCreation> {
    try {
      return importInto(staging, files, progress);
    } catch (const std::exception& failure) {
      return Error{failure.what()};
    }
  }();
  if (creation) {
    fs::rename(staging.sample(), folders.sample(), ec);
    if (ec) creation = Error{"Cannot create " + folders.sample().string() + ": " + ec.message()};
  }
  fs::remove_all(staging.program, ec);
  return creation;
}

}  // namespace tavrel::shell
