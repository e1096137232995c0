#pragma once
// The choices every command that runs the allocation engine offers: the seed of its random draws
// and how long each pass of the rearrangement may take for one indent.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdint>
#include <optional>

#include "core/engine/allocation_run.h"
#include "core/shell/application.h"

namespace tavrel::cli {

struct RunChoices {
  std::optional<std::uint64_t> seed;
  double timeLimit = 180;  // seconds

  std::chrono::steady_clock::duration rearrangeLimit() const {
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(timeLimit));
  }
};

// `--seed` and `--time-limit` on `command`, written into `choices`.
void addRunChoices(CLI::App& command, RunChoices& choices);

// The engine's view of the program's ports.
engine::EnginePorts enginePorts(shell::Application& application);

}  // namespace tavrel::cli
