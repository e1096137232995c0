// `tavrel-cli export --school NAME FILE`: one school as an exchange file (JSON).
#include <CLI/CLI.hpp>
#include <fstream>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/exchange/export_school.h"

namespace tavrel::cli {

void registerExportCommand(CLI::App& tool, CliContext& context) {
  struct Options {
    std::string school;
    std::string file;
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub =
      tool.add_subcommand("export", "Write one school to an exchange file (JSON; '-' for standard output)");
  sub->add_option("--school", options->school, "Name of the school")->required();
  sub->add_option("file", options->file, "File to write")->required();
  sub->callback([&context, options] {
    context.runWithApplication([&context, options](shell::Application& application) -> Status {
      auto school = application.store().table<store::TSchl>().find(store::TSchl::primary, {options->school});
      if (!school) return Error{"There is no school named " + options->school + "."};
      const std::string text =
          exchange::toJson(exchange::exportSchool(application.store(), school->SCHOOLCODE));
      if (options->file == "-") {
        context.out() << text;
        return {};
      }
      std::ofstream out(options->file, std::ios::binary | std::ios::trunc);
      out << text;
      out.close();
      if (!out) return Error{"Cannot write " + options->file + "."};
      return {};
    });
  });
}

}  // namespace tavrel::cli
