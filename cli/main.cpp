#include <iostream>

#include "cli/command_line.h"
#include "cli/console_progress.h"

int main(int argc, char** argv) {
  tavrel::cli::catchInterrupt();
  return tavrel::cli::runCommandLine(argc, argv, std::cout, std::cerr);
}
