// `tavrel-cli import-xhstt FILE [--instance ID] --school NAME` and `tavrel-cli import-fet FILE
// --school NAME`: a new school read from another program's timetabling file, imported as an
// exchange file is (one transaction, indents activated), with the report of what became what and
// what was left out. `--document FILE` also writes the school as an exchange file.
#include <CLI/CLI.hpp>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/document_import.h"
#include "core/exchange/fet_import.h"
#include "core/exchange/xhstt_import.h"

namespace tavrel::cli {

namespace {

struct FormatOptions {
  std::string file;
  std::string school;
  std::string instance;
  std::string document;
  std::optional<int> weightAsHard;
};

using Reader = std::function<Result<exchange::ImportedSchool>(const std::string& text, const FormatOptions&)>;

Result<std::string> readWhole(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return Error{"Cannot read " + file + "."};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Status importFormat(shell::Application& application, const FormatOptions& options, const Reader& reader,
                    std::ostream& out) {
  auto text = readWhole(options.file);
  if (!text) return Error{text.error()};
  auto imported = reader(*text, options);
  if (!imported) return importRefused(options.file, imported.error());
  if (!options.document.empty()) {
    std::ofstream file(options.document, std::ios::binary | std::ios::trunc);
    file << exchange::toJson(imported->document);
    file.close();
    if (!file) return Error{"Cannot write " + options.document + "."};
  }
  out << imported->report.text();
  return importDocument(application, imported->document, {options.school}, options.file, out);
}

CLI::App* addFormatCommand(CLI::App& tool, CliContext& context, const char* name, const char* description,
                           Reader reader, std::shared_ptr<FormatOptions> options) {
  CLI::App* command = tool.add_subcommand(name, description);
  command->add_option("file", options->file, "The file to read")->required()->check(CLI::ExistingFile);
  command->add_option("--school", options->school, "Name of the new school")->required()->type_name("NAME");
  command->add_option("--weight-as-hard", options->weightAsHard,
                      "Keep soft constraints of at least this weight as if they were hard")
      ->type_name("W");
  command->add_option("--document", options->document, "Also write the school as an exchange file (JSON)")
      ->type_name("FILE");
  command->callback([&context, options, reader] {
    context.runWithApplication([&context, options, reader](shell::Application& application) {
      return importFormat(application, *options, reader, context.out());
    });
  });
  return command;
}

}  // namespace

void registerImportFormatCommands(CLI::App& tool, CliContext& context) {
  auto xhstt = std::make_shared<FormatOptions>();
  CLI::App* command = addFormatCommand(
      tool, context, "import-xhstt", "Read an XHSTT instance (XML) into a new school, with a report of the mapping",
      [](const std::string& text, const FormatOptions& options) {
        return exchange::importXhstt(text, {options.school, options.instance, options.weightAsHard});
      },
      xhstt);
  command->add_option("--instance", xhstt->instance, "Id of the instance to read (default: the first)")
      ->type_name("ID");
  addFormatCommand(
      tool, context, "import-fet", "Read a FET file into a new school, with a report of the mapping",
      [](const std::string& text, const FormatOptions& options) {
        return exchange::importFet(text, {options.school, options.weightAsHard});
      },
      std::make_shared<FormatOptions>());
}

}  // namespace tavrel::cli
