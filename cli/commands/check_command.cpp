// `tavrel-cli check`: the audit of a school's timetable, every broken rule on its own line. The
// exit status says whether there was any, so scripts can use it as a gate.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/school_option.h"
#include "core/engine/audit.h"

namespace tavrel::cli {

namespace {

Status check(shell::Application& application, const std::string& name, std::ostream& out) {
  auto school = selectSchool(application, name);
  if (!school) return Error{school.error()};
  const engine::AuditReport report = engine::check(application.store(), application.session().schoolCode());
  for (const engine::Violation& violation : report.violations) out << violation.text << '\n';
  if (report.passed()) {
    out << *school << ": the timetable keeps every rule.\n";
    return {};
  }
  const std::size_t count = report.violations.size();
  return Error{*school + ": " + std::to_string(count) + (count == 1 ? " violation." : " violations.")};
}

}  // namespace

void registerCheckCommand(CLI::App& tool, CliContext& context) {
  auto name = std::make_shared<std::string>();
  CLI::App* command = tool.add_subcommand(
      "check", "Audit a school's timetable against every hard rule and counter; exit 1 on any violation");
  command->add_option("--school", *name, "Name of the school")->required()->type_name("NAME");
  command->callback([&context, name] {
    context.runWithApplication([&context, name](shell::Application& application) {
      return check(application, *name, context.out());
    });
  });
}

}  // namespace tavrel::cli
