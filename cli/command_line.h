// The whole tool behind main(): the global options, the subcommands and the exit code.
#pragma once

#include <ostream>

namespace tavrel::cli {

// Parses the command line, runs the chosen subcommand and returns the exit code (see
// cli_context.h). Results go to `out`; messages, questions, progress and usage errors to `err`.
int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace tavrel::cli
