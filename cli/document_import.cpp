#include "cli/document_import.h"

#include "core/ports/progress.h"

namespace tavrel::cli {

Error importRefused(const std::string& source, const std::string& why) {
  const bool sentence = !why.empty() && why.back() == '.';
  return Error{source + ": " + why + (sentence ? " " : ". ") + "Nothing was imported."};
}

Status importDocument(shell::Application& application, const exchange::SchoolDocument& document,
                      const exchange::ImportOptions& options, const std::string& source, std::ostream& out) {
  // One line for the import, not one for the rows of every class and resource it makes.
  Progress& progress = application.ports().progress;
  progress.show("Importing " + source + "...", 0);
  SilentProgress quiet;
  auto report = exchange::importSchool(application.store(), quiet, document, options);
  progress.hide();
  if (!report) {
    const std::string hint =
        report.error().rfind("There is a school named", 0) == 0 ? " Give --replace to replace it." : "";
    return importRefused(source, report.error() + hint);
  }
  application.session().flush(store::kFlushSchools);
  out << "Imported " << report->schoolName << ": " << report->indents << " indent(s), " << report->activated
      << " active.\n";
  for (const auto& failure : report->activationFailures) out << "Not activated: " << failure.text() << '\n';
  for (const std::string& failure : report->placementFailures) out << "Not placed: " << failure << '\n';
  return {};
}

}  // namespace tavrel::cli
