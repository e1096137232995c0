// `tavrel-cli allocate`: "Allocate All" for one school, as the allocation window runs it, with the
// run's seed and the rearrangement's time limit at hand. `--resume` continues a stopped run.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/run_choices.h"
#include "cli/school_option.h"
#include "core/engine/allocation_run.h"

namespace tavrel::cli {

namespace {

struct AllocateOptions {
  std::string school;
  RunChoices run;
  bool resume = false;
};

int percent(int count, int total) {
  return total > 0 ? static_cast<int>(static_cast<long>(count) * 100 / total) : 0;
}

Status allocate(shell::Application& application, const AllocateOptions& options, std::ostream& out) {
  auto school = selectSchool(application, options.school);
  if (!school) return Error{school.error()};
  engine::RunSettings settings;
  settings.seed = options.run.seed;
  settings.rearrangeLimit = options.run.rearrangeLimit();
  engine::AllocationRun run(application.session(), enginePorts(application), settings);
  if (options.resume && !run.resumeEnabled()) {
    return Error{*school + " has no stopped allocation to resume."};
  }
  const engine::RunOutcome outcome = options.resume ? run.resume() : run.allocate();
  switch (outcome.end) {
    case engine::RunEnd::Declined:
      return Error{"Nothing was allocated."};
    case engine::RunEnd::Refused:
      return Error{"Nothing was allocated."};
    case engine::RunEnd::Stopped:
      return Error{"Stopped. The run was quick-saved; continue it with --resume."};
    case engine::RunEnd::Completed:
      break;
  }
  out << outcome.done << "/" << outcome.totalPeriods << " periods allocated ("
      << percent(outcome.done, outcome.totalPeriods) << "%), " << outcome.failed << " failed.\n";
  for (const engine::CategoryTally& tally : outcome.tallies) {
    out << "  " << (tally.category.empty() ? std::string("(no category)") : tally.category) << ": "
        << tally.allocated << " allocated, " << tally.failed << " failed\n";
  }
  out << "Seed: " << outcome.seed << "\nTime elapsed: " << outcome.elapsed << "\n";
  return {};
}

}  // namespace

void registerAllocateCommand(CLI::App& tool, CliContext& context) {
  auto options = std::make_shared<AllocateOptions>();
  CLI::App* command = tool.add_subcommand(
      "allocate",
      "Allocate All: place every active indent of a school, rearranging for those that do not fit");
  command->add_option("--school", options->school, "Name of the school")->required()->type_name("NAME");
  addRunChoices(*command, options->run);
  command->add_flag("--resume", options->resume,
                    "Continue the school's stopped run instead of starting afresh");
  command->callback([&context, options] {
    context.runWithApplication([&context, options](shell::Application& application) {
      return allocate(application, *options, context.out());
    });
  });
}

}  // namespace tavrel::cli
