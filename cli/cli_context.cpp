#include "cli/cli_context.h"

#include <exception>
#include <system_error>

#include "cli/console_progress.h"
#include "core/ports/clock.h"

namespace tavrel::cli {

namespace fs = std::filesystem;

AnswerPolicy GlobalOptions::answerPolicy() const {
  if (yes) return AnswerPolicy::Yes;
  if (no) return AnswerPolicy::No;
  return AnswerPolicy::None;
}

Result<fs::path> executableFolder() {
  std::error_code ec;
  fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return Error{"Cannot find the folder of the program (" + ec.message() + "); give it with --home."};
  return executable.parent_path();
}

Result<fs::path> CliContext::programFolder() const {
  if (options.home.empty()) return executableFolder();
  // A mistyped --home must not quietly start a new, empty data set somewhere else.
  std::error_code ec;
  fs::path folder = fs::absolute(options.home, ec);
  if (ec || !fs::exists(folder, ec))
    return Error{"The program folder " + options.home.string() + " does not exist."};
  if (!fs::is_directory(folder, ec))
    return Error{"The program folder " + options.home.string() + " is not a folder."};
  return folder;
}

fs::path CliContext::sampleSources() const {
  if (!options.samples.empty()) return options.samples;
  auto folder = executableFolder();
  return folder ? *folder / "samples" : fs::path{};
}

int CliContext::fail(const std::string& message) {
  err_ << kindName(MessageKind::Error) << ": " << message << '\n' << std::flush;
  exitCode_ = kExitRefused;
  return exitCode_;
}

int CliContext::runWithApplication(const Command& command) {
  auto folder = programFolder();
  if (!folder) return fail(folder.error());

  ConsolePrompter prompter(err_, options.answerPolicy());
  ConsoleProgress progress(err_);
  SystemClock clock;
  Status result;
  try {
    shell::Application application(store::ProgramFolders{*folder}, shell::Ports{prompter, progress, clock});
    application.setSampleSources(sampleSources());
    result = application.start();
    if (result) result = application.activate();
    if (result && options.sample) result = application.loadDataSet(store::DataSet::Sample);
    if (result) result = command(application);
  } catch (const std::exception& failure) {
    // Unanswerable questions and failures of the table files end the command; the application
    // is gone by now and every open transaction has been rolled back.
    return fail(failure.what());
  }
  if (!result) {
    // An empty refusal: the core has already said why through the prompter.
    if (result.error().empty()) return exitCode_ = kExitRefused;
    return fail(result.error());
  }
  exitCode_ = prompter.refused() ? kExitRefused : kExitSuccess;
  return exitCode_;
}

}  // namespace tavrel::cli
