// `tavrel-cli export-fet (--school NAME | --from-document FILE) OUT`: a school as a FET file, so
// that FET can be given the problem Tavrel allocates. What FET is not told is listed on stderr.
#include <CLI/CLI.hpp>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/exchange/export_school.h"
#include "core/exchange/fet_export.h"

namespace tavrel::cli {

namespace {

struct ExportFetOptions {
  std::string school;
  std::string document;
  std::string file;
};

Result<exchange::SchoolDocument> sourceDocument(shell::Application& application, const ExportFetOptions& options) {
  if (!options.document.empty()) {
    std::ifstream in(options.document, std::ios::binary);
    if (!in) return Error{"Cannot read " + options.document + "."};
    std::ostringstream text;
    text << in.rdbuf();
    auto document = exchange::fromJson(text.str());
    if (!document) return Error{options.document + ": " + document.error()};
    return document;
  }
  auto school = application.store().table<store::TSchl>().find(store::TSchl::primary, {options.school});
  if (!school) return Error{"There is no school named " + options.school + "."};
  return exchange::exportSchool(application.store(), school->SCHOOLCODE);
}

Status exportFet(shell::Application& application, const ExportFetOptions& options, std::ostream& out,
                 std::ostream& err) {
  auto document = sourceDocument(application, options);
  if (!document) return Error{document.error()};
  const exchange::FetExport written = exchange::toFet(*document);
  for (const std::string& line : written.leftOut) err << "Not in the FET file: " << line << "\n";
  if (options.file == "-") {
    out << written.text;
    return {};
  }
  std::ofstream file(options.file, std::ios::binary | std::ios::trunc);
  file << written.text;
  file.close();
  if (!file) return Error{"Cannot write " + options.file + "."};
  return {};
}

}  // namespace

void registerExportFetCommand(CLI::App& tool, CliContext& context) {
  auto options = std::make_shared<ExportFetOptions>();
  CLI::App* command = tool.add_subcommand("export-fet", "Write one school as a FET file ('-' for standard output)");
  auto* school = command->add_option("--school", options->school, "Name of the school")->type_name("NAME");
  auto* document = command->add_option("--from-document", options->document, "Read the school from an exchange file instead")
                       ->type_name("FILE")
                       ->check(CLI::ExistingFile);
  school->excludes(document);
  command->add_option("file", options->file, "File to write")->required();
  command->callback([&context, options] {
    if (options->school.empty() && options->document.empty()) throw CLI::RequiredError("--school or --from-document");
    context.runWithApplication([&context, options](shell::Application& application) {
      return exportFet(application, *options, context.out(), context.err());
    });
  });
}

}  // namespace tavrel::cli
