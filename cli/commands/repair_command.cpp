// `tavrel-cli repair --school NAME`: "Statistics &Diagnostics/ Repair" for one school. Running the
// command is the answer to the window's opening question; the corrections it offers for single
// indents are asked as usual (answer them with --yes or --no).
#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/school_option.h"
#include "core/indents/statistics_repair.h"

namespace tavrel::cli {

namespace {

// Answers the repair's opening question Yes and passes everything else on.
class RepairPrompter final : public Prompter {
 public:
  explicit RepairPrompter(Prompter& console) : console_(console) {}
  void show(MessageKind kind, std::string_view text) override { console_.show(kind, text); }
  bool ask(MessageKind kind, std::string_view text) override {
    if (text.rfind("Statistics Diagnostic checks all statistics", 0) == 0) return true;
    return console_.ask(kind, text);
  }
  void beep() override { console_.beep(); }

 private:
  Prompter& console_;
};

Status repair(shell::Application& application, const std::string& name, std::ostream& out) {
  auto school = selectSchool(application, name);
  if (!school) return Error{school.error()};
  RepairPrompter prompter(application.ports().prompter);
  store::Session session(application.store(), prompter);
  session.setSchool(application.session().schoolCode());
  // Without an engine here a corrected indent keeps the periods it was found with.
  indents::UnwiredAllocator allocator;
  auto report = indents::statisticsRepair(session, application.ports().progress, allocator);
  if (!report) return Error{"The repair was not run."};
  out << *school << ": " << report->recordsRewritten << " record(s) rewritten, " << report->correctionsMade
      << " of " << report->correctionsOffered << " indent correction(s) made.\n";
  for (const std::string& cell : report->strayCells) out << "Stray cell: " << cell << '\n';
  return {};
}

}  // namespace

void registerRepairCommand(CLI::App& tool, CliContext& context) {
  auto name = std::make_shared<std::string>();
  CLI::App* command = tool.add_subcommand(
      "repair", "Recount every counter of a school from its timetable and indents and rewrite those that differ");
  command->add_option("--school", *name, "Name of the school")->required()->type_name("NAME");
  command->callback([&context, name] {
    context.runWithApplication([&context, name](shell::Application& application) {
      return repair(application, *name, context.out());
    });
  });
}

}  // namespace tavrel::cli
