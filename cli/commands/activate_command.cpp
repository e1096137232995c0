// `tavrel-cli activate --school NAME`: "Activate  A&ll" for a school's passive indents, naming each
// indent that fails validation with its reason. Exit 1 when any failed.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/school_option.h"
#include "core/indents/activation_report.h"

namespace tavrel::cli {

namespace {

Status activate(shell::Application& application, const std::string& name, std::ostream& out) {
  auto school = selectSchool(application, name);
  if (!school) return Error{school.error()};
  store::Session& session = application.session();
  const indents::ActivationReport report = indents::activateAndReport(session, indents::passiveIndents(session));
  out << *school << ": " << report.activated.size() << " indent(s) activated.\n";
  for (const auto& failure : report.failures) out << "Not activated: " << failure.text() << '\n';
  if (report.failures.empty()) return {};
  return Error{*school + ": " + std::to_string(report.failures.size()) + " indent(s) failed validation."};
}

}  // namespace

void registerActivateCommand(CLI::App& tool, CliContext& context) {
  auto name = std::make_shared<std::string>();
  CLI::App* command = tool.add_subcommand(
      "activate", "Validate and activate every passive indent of a school; exit 1 when any fails validation");
  command->add_option("--school", *name, "Name of the school")->required()->type_name("NAME");
  command->callback([&context, name] {
    context.runWithApplication([&context, name](shell::Application& application) {
      return activate(application, *name, context.out());
    });
  });
}

}  // namespace tavrel::cli
