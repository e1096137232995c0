// `tavrel-cli import FILE [--school NAME] [--replace]`: one school from an exchange file (JSON),
// made through the same routines as the windows use, in one transaction.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/exchange/import_school.h"

namespace tavrel::cli {

namespace {

struct ImportOptions {
  std::string file;
  std::string school;
  bool replace = false;
};

// A refusal, and that the data set is as it was.
Error refused(const std::string& file, const std::string& why) {
  const bool sentence = !why.empty() && why.back() == '.';
  return Error{file + ": " + why + (sentence ? " " : ". ") + "Nothing was imported."};
}

Status importFile(shell::Application& application, const ImportOptions& options, std::ostream& out) {
  auto document = exchange::readDocumentFile(options.file);
  if (!document) return refused(options.file, document.error());
  // One line for the import, not one for the rows of every class and resource it makes.
  Progress& progress = application.ports().progress;
  progress.show("Importing " + options.file + "...", 0);
  SilentProgress quiet;
  auto report = exchange::importSchool(application.store(), quiet, document.value(), {options.school, options.replace});
  progress.hide();
  if (!report) {
    const std::string hint =
        report.error().rfind("There is a school named", 0) == 0 ? " Give --replace to replace it." : "";
    return refused(options.file, report.error() + hint);
  }
  application.session().flush(store::kFlushSchools);
  out << "Imported " << report->schoolName << ": " << report->indents << " indent(s), " << report->activated
      << " active.\n";
  for (const auto& failure : report->activationFailures) out << "Not activated: " << failure.text() << '\n';
  for (const std::string& failure : report->placementFailures) out << "Not placed: " << failure << '\n';
  return {};
}

}  // namespace

void registerImportCommand(CLI::App& tool, CliContext& context) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* command = tool.add_subcommand(
      "import", "Read one school from an exchange file (JSON) into the data set, all of it or nothing");
  command->add_option("file", options->file, "Exchange file to read")->required()->type_name("FILE");
  command->add_option("--school", options->school, "Name of the new school (default: the name in the file)")
      ->type_name("NAME");
  command->add_flag("--replace", options->replace, "Delete a school of that name first, in the same transaction");
  command->footer(
      "Indents marked active are validated and activated; each that fails is listed with its reason and "
      "stays passive. Placed periods are restored when they fit, otherwise listed.");
  command->callback([&context, options] {
    context.runWithApplication([&context, options](shell::Application& application) {
      return importFile(application, *options, context.out());
    });
  });
}

}  // namespace tavrel::cli
