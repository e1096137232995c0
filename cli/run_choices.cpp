#include "cli/run_choices.h"

namespace tavrel::cli {

void addRunChoices(CLI::App& command, RunChoices& choices) {
  command.add_option("--seed", choices.seed, "Seed of the run's random draws (default: from the clock)")
      ->type_name("N");
  command
      .add_option("--time-limit", choices.timeLimit,
                  "Most seconds each pass of the rearrangement may take for one indent (default: 180)")
      ->type_name("SECONDS")
      ->check(CLI::PositiveNumber);
}

engine::EnginePorts enginePorts(shell::Application& application) {
  const shell::Ports ports = application.ports();
  return engine::EnginePorts{ports.prompter, ports.progress, ports.clock};
}

}  // namespace tavrel::cli
