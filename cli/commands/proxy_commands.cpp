// `tavrel-cli proxy` and `tavrel-cli unproxy`: the proxy window's run without the window. `proxy`
// moves the allocated periods of an absent resource or class to the substitutes named, in the order
// named; `unproxy` gives the periods of its proxies back. Both print the Results window's lines.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/run_choices.h"
#include "cli/school_option.h"
#include "core/proxy/cell_table.h"
#include "core/proxy/proxy_items.h"
#include "core/proxy/proxy_results.h"
#include "core/proxy/proxy_run.h"

namespace tavrel::cli {

namespace {

struct ProxyCommandOptions {
  std::string school;
  std::string resource;
  std::string cls;
  std::vector<std::string> substitutes;
  std::string days;     // "1,2": the proxy constraint's days
  std::string periods;  // its periods
  bool noShuffle = false;
  bool sameSubject = false;
  bool anywhere = false;
  RunChoices run;
};

// "1,3" as the stored list ",1,3".
std::optional<std::string> encodedList(const std::string& members) {
  if (members.empty()) return std::nullopt;
  return "," + members;
}

std::optional<int> codeOf(const std::vector<proxy::Item>& items, const std::string& name) {
  for (const proxy::Item& item : items)
    if (item.name == name) return item.code;
  return std::nullopt;
}

std::string kindWord(proxy::ItemKind kind) {
  return kind == proxy::ItemKind::Class ? "class" : "resource";
}

void printShares(std::ostream& out, const char* caption, const std::vector<proxy::Share>& shares) {
  out << caption << "\n";
  for (const proxy::Share& share : shares) out << "  " << share.name << ": " << share.periods << "\n";
}

Status runProxyCommand(shell::Application& application, const ProxyCommandOptions& options,
                       proxy::Operation operation, std::ostream& out) {
  auto school = selectSchool(application, options.school);
  if (!school) return Error{school.error()};
  store::Session& session = application.session();
  store::Store& store = application.store();
  const int code = session.schoolCode();
  if (options.resource.empty() && options.cls.empty())
    return Error{"Name the item with --resource or --class."};
  const proxy::ItemKind kind = options.cls.empty() ? proxy::ItemKind::Resource : proxy::ItemKind::Class;
  const std::string& absentName = options.cls.empty() ? options.resource : options.cls;

  const auto absent = codeOf(proxy::absentItems(store, code, operation, kind), absentName);
  if (!absent) {
    return Error{operation == proxy::Operation::Proxy ? absentName + " has no allocated period to proxy."
                                                      : absentName + " has no proxy to undo."};
  }
  std::vector<int> substitutes;
  const auto candidates = proxy::candidates(store, code, kind, *absent, proxy::CandidateFilter::All);
  for (const std::string& name : options.substitutes) {
    const auto substitute = codeOf(candidates, name);
    if (!substitute) return Error{"There is no other " + kindWord(kind) + " named " + name + "."};
    substitutes.push_back(*substitute);
  }

  session.viewKind = proxy::viewKindOf(kind);
  const proxy::CellSelection selection{.constraintDays = encodedList(options.days),
                                       .constraintPeriods = encodedList(options.periods)};
  const proxy::CellTable cells = proxy::CellTable::build(store, code, operation, kind, *absent, selection);
  if (!cells.confirmSelection(session)) return Error{"Nothing was proxied."};

  proxy::ProxyOptions settings;
  settings.shuffle = !options.noShuffle;
  settings.sameSubject = options.sameSubject;
  settings.samePeriod = !options.anywhere;
  settings.seed = options.run.seed;
  settings.rearrangeLimit = options.run.rearrangeLimit();
  const proxy::ProxyOutcome outcome =
      proxy::runProxy(session, enginePorts(application), cells, substitutes, settings);
  if (outcome.refused) return Error{"Nothing was proxied."};

  const proxy::ProxyResults results = proxy::resultsOf(store, code, operation, outcome);
  for (const std::string& line : results.titleLines()) out << line << "\n";
  printShares(out, "Proxied By:", results.proxiedBy);
  printShares(out, "Proxied To:", results.proxiedTo);
  if (outcome.stopped) return Error{"Stopped after the indent in hand."};
  return {};
}

CLI::App* addProxySubcommand(CLI::App& tool, CliContext& context, proxy::Operation operation) {
  const bool proxying = operation == proxy::Operation::Proxy;
  auto options = std::make_shared<ProxyCommandOptions>();
  CLI::App* command = tool.add_subcommand(
      proxying ? "proxy" : "unproxy",
      proxying ? "Proxy: move the allocated periods of an absent resource or class to substitutes"
               : "Undo Proxy: give the periods proxied for a resource or class back to it");
  command->add_option("--school", options->school, "Name of the school")->required()->type_name("NAME");
  auto* resource = command
                       ->add_option("--resource", options->resource,
                                    proxying ? "The absent resource" : "The resource whose proxies to undo")
                       ->type_name("NAME");
  auto* cls = command
                  ->add_option("--class", options->cls,
                               proxying ? "The absent class" : "The class whose proxies to undo")
                  ->type_name("NAME");
  resource->excludes(cls);
  if (proxying) {
    command
        ->add_option("--by", options->substitutes,
                     "A substitute of the same kind; repeat it, in order of priority")
        ->required()
        ->type_name("NAME");
    command->add_flag("--same-subject", options->sameSubject,
                      "Only substitutes that engage the subject of the period");
  }
  command->add_option("--days", options->days, "Only periods on these days of the cycle, e.g. 1,2")
      ->type_name("LIST");
  command->add_option("--periods", options->periods, "Only these periods of the day, e.g. 1,2,3")
      ->type_name("LIST");
  command->add_flag("--anywhere", options->anywhere,
                    proxying ? "Allocate anywhere in the week, not only at the same period and day"
                             : "Restore anywhere in the week, not only at the same period and day");
  command->add_flag("--no-shuffle", options->noShuffle, "Do not shuffle the timetable to make room");
  addRunChoices(*command, options->run);
  command->callback([&context, options, operation] {
    context.runWithApplication([&context, options, operation](shell::Application& application) {
      return runProxyCommand(application, *options, operation, context.out());
    });
  });
  return command;
}

}  // namespace

void registerProxyCommands(CLI::App& tool, CliContext& context) {
  addProxySubcommand(tool, context, proxy::Operation::Proxy);
  addProxySubcommand(tool, context, proxy::Operation::UndoProxy);
}

}  // namespace tavrel::cli
