#include "cli/console_progress.h"

#include <csignal>

namespace tavrel::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
  interrupted = 1;
}

}  // namespace

void catchInterrupt() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // The handler runs once; the next Ctrl+C has the default effect and ends the program, so a
  // loop that never asks whether to stop cannot hold the person hostage.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
}

// A heading becomes one line of the log; the details a window shows under its bar while the work
// goes on (each file name, each indent) would only flood a terminal.
void ConsoleProgress::show(std::string_view text, int) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\n') c = ' ';
  }
  print(line);
}

void ConsoleProgress::text(std::string_view) {}

bool ConsoleProgress::pump() {
  return interrupted != 0;
}

void ConsoleProgress::print(std::string_view text) {
  if (text.empty() || text == shown_) return;
  shown_ = text;
  err_ << text << '\n' << std::flush;
}

}  // namespace tavrel::cli
