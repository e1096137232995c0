// The tool's console ports and the exit code a command ends with.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "cli/cli_context.h"
#include "cli/console_progress.h"
#include "cli/console_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::cli {
namespace {

using testing::TempFolder;

TEST(ConsolePrompter, WritesEachMessageAsOneLineWithItsKindAndCountsErrorsAsRefusals) {
  std::ostringstream err;
  ConsolePrompter prompter(err, AnswerPolicy::None);
  prompter.info("School: SCHOOL1 is active.");
  prompter.warning("Careful.");
  EXPECT_FALSE(prompter.refused());
  prompter.error("Cannot append.");
  EXPECT_TRUE(prompter.refused());
  EXPECT_EQ(err.str(), "information: School: SCHOOL1 is active.\nwarning: Careful.\nerror: Cannot append.\n");
}

struct QuestionCase {
  AnswerPolicy policy;
  bool answer;
  const char* line;
};

class ConsoleQuestion : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(ConsoleQuestion, IsAnsweredByThePolicyAndPrintedWithTheAnswer) {
  const QuestionCase& c = GetParam();
  std::ostringstream err;
  ConsolePrompter prompter(err, c.policy);
  EXPECT_EQ(prompter.ask(MessageKind::Warning, "Resume?"), c.answer);
  EXPECT_EQ(err.str(), c.line);
  EXPECT_FALSE(prompter.refused());
}

INSTANTIATE_TEST_SUITE_P(
    Policies, ConsoleQuestion,
    ::testing::Values(QuestionCase{AnswerPolicy::Yes, true, "warning: Resume? [answered Yes]\n"},
                      QuestionCase{AnswerPolicy::No, false, "warning: Resume? [answered No]\n"}));

TEST(ConsoleQuestion, WithoutPolicyStopsTheCommand) {
  std::ostringstream err;
  ConsolePrompter prompter(err, AnswerPolicy::None);
  EXPECT_THROW(prompter.ask(MessageKind::Information, "Go on?"), UnansweredQuestion);
  EXPECT_EQ(err.str(), "information: Go on? [Yes/No]\n");
}

TEST(ConsoleProgress, PrintsEachHeadingOnceOnOneLineAndLeavesOutTheDetails) {
  std::ostringstream err;
  ConsoleProgress progress(err);
  progress.show("Restoring Data...", 10);
  for (int i = 0; i < 10; ++i) progress.step();
  progress.show("Restoring Data...", 20);
  progress.text("tvrl_1.db");  // a detail under the bar: not for the log
  progress.hide();
  progress.show("Backup from:\n/a\nBackup to:\n/b", 3);
  progress.hide();
  progress.show("Restoring Data...", 3);  // a new display after the old one was hidden
  EXPECT_FALSE(progress.pump());
  EXPECT_EQ(err.str(), "Restoring Data...\nBackup from: /a Backup to: /b\nRestoring Data...\n");
}

// What a command does once the program is up, and the exit code and last stderr line it ends with.
struct CommandCase {
  const char* name;
  bool yes;
  std::function<Status(shell::Application&)> command;
  int exitCode;
  const char* lastLine;
};

class CommandOutcome : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandOutcome, GivesTheExitCode) {
  const CommandCase& c = GetParam();
  TempFolder home;
  std::ostringstream out, err;
  CliContext context(out, err);
  context.options.home = home.path();
  context.options.yes = c.yes;
  EXPECT_EQ(context.runWithApplication(c.command), c.exitCode);
  EXPECT_EQ(context.exitCode(), c.exitCode);
  std::string text = err.str();
  ASSERT_FALSE(text.empty());
  text.pop_back();
  EXPECT_EQ(text.substr(text.rfind('\n') + 1), c.lastLine) << err.str();
}

Status askAQuestion(shell::Application& application) {
  application.ports().prompter.ask(MessageKind::Warning, "Proceed?");
  return {};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandOutcome,
    ::testing::Values(
        CommandCase{"Done", false,
                    [](shell::Application& a) {
                      a.ports().prompter.info("Done.");
                      return Status{};
                    },
                    0, "information: Done."},
        CommandCase{"ErrorMessageOfTheCore", false,
                    [](shell::Application& a) {
                      a.ports().prompter.error("Cannot delete.");
                      return Status{};
                    },
                    1, "error: Cannot delete."},
        CommandCase{"RefusalReturned", false,
                    [](shell::Application&) { return Status{Error{"No such school."}}; }, 1,
                    "error: No such school."},
        CommandCase{"QuestionWithoutPolicy", false, askAQuestion, 1,
                    "error: The question above needs an answer: run the command again with --yes or --no."},
        CommandCase{"QuestionAnswered", true, askAQuestion, 0, "warning: Proceed? [answered Yes]"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace tavrel::cli
