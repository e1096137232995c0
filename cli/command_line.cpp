#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"

namespace tavrel::cli {

namespace {

void addGlobalOptions(CLI::App& tool, GlobalOptions& options) {
  tool.add_option("--home", options.home,
                  "Program folder holding Data/ and Samples/ (default: the folder of this program)")
      ->type_name("DIR");
  tool.add_option("--samples", options.samples,
                  "Folder of the exchange files the sample data set is made from when Samples/ is missing "
                  "(default: samples/ beside this program)")
      ->type_name("DIR");
  tool.add_flag("--sample", options.sample, "Work on the sample data set instead of the live one");
  auto* yes = tool.add_flag("--yes", options.yes, "Answer Yes to every question");
  auto* no = tool.add_flag("--no", options.no, "Answer No to every question");
  yes->excludes(no);
}

}  // namespace

int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CliContext context(out, err);
  CLI::App tool{"Tavrel timetabling without windows: the same data and rules as the desktop program.",
                "tavrel-cli"};
  tool.footer(
      "Without --yes or --no a command that has to ask a question stops there.\n"
      "Exit status: 0 done, 1 refused or failed, 2 wrong command line.");
  // Global options are also accepted after the subcommand's name.
  tool.fallthrough();
  // At most one subcommand; a missing one is reported after parsing, so that a mistyped name is
  // reported as such and not as a missing subcommand.
  tool.require_subcommand(0, 1);
  addGlobalOptions(tool, context.options);
  registerCommands(tool, context);

  try {
    tool.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    int code = tool.exit(error, out, err);
    return code == 0 ? kExitSuccess : kExitUsage;
  } catch (const std::exception& failure) {
    // The last boundary: a command that let a failure escape still ends with a message.
    err << kindName(MessageKind::Error) << ": " << failure.what() << '\n';
    return kExitRefused;
  }
  if (tool.get_subcommands().empty()) {
    err << "A subcommand is required.\n" << tool.help();
    return kExitUsage;
  }
  return context.exitCode();
}

}  // namespace tavrel::cli
