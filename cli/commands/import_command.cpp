// `tavrel-cli import FILE [--school NAME] [--replace]`: one school from an exchange file (JSON),
// made through the same routines as the windows use, in one transaction.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/document_import.h"
#include "core/exchange/import_school.h"

namespace tavrel::cli {

namespace {

struct ImportOptions {
  std::string file;
  std::string school;
  bool replace = false;
};

Status importFile(shell::Application& application, const ImportOptions& options, std::ostream& out) {
  auto document = exchange::readDocumentFile(options.file);
  if (!document) return importRefused(options.file, document.error());
  return importDocument(application, document.value(), {options.school, options.replace}, options.file, out);
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
