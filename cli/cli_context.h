// What every command of the tool shares: the global options, the output streams and the one way a
// command gets at the data, `runWithApplication`, which brings the program up as the desktop
// program does and turns every failure into a message on stderr and an exit code.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

#include "cli/console_prompter.h"
#include "core/shell/application.h"
#include "core/util/result.h"

namespace tavrel::cli {

// Exit codes of the tool.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRefused = 1;  // the command ran and was refused or failed
inline constexpr int kExitUsage = 2;    // the command line itself was wrong

struct GlobalOptions {
  std::filesystem::path home;  // the program folder; empty: the folder of the executable
  std::filesystem::path samples;  // the sample exchange files; empty: samples/ beside the executable
  bool sample = false;         // work on the sample data set
  bool yes = false;            // answer Yes to every question
  bool no = false;             // answer No to every question

  AnswerPolicy answerPolicy() const;
};

class CliContext {
 public:
  using Command = std::function<Status(shell::Application&)>;

  CliContext(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  GlobalOptions options;
  std::ostream& out() { return out_; }
  std::ostream& err() { return err_; }

  // Starts the program on the program folder (start and the first main-window activation with
  // its backup rotation), switches to the sample data set when asked, then runs `command`.
  // Returns the exit code, which is also kept as the tool's exit code: a failure to come up, a
  // refusal returned by the command, an error message shown by the core or an unanswerable
  // question all give kExitRefused.
  int runWithApplication(const Command& command);

  int exitCode() const { return exitCode_; }

 private:
  Result<std::filesystem::path> programFolder() const;
  std::filesystem::path sampleSources() const;
  int fail(const std::string& message);

  std::ostream& out_;
  std::ostream& err_;
  int exitCode_ = kExitSuccess;
};

// The folder that holds the running executable.
Result<std::filesystem::path> executableFolder();

}  // namespace tavrel::cli
