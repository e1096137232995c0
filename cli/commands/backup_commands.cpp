// `tavrel-cli backup|restore|zip|unzip FOLDER`: the four commands of the Tools menu. The data
// folder of the loaded data set (live, or the sample with --sample) is the other end.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/shell/archive.h"
#include "core/shell/backup_restore.h"

namespace tavrel::cli {

namespace {

struct FileCommand {
  const char* name;
  shell::BackupMode mode;
  const char* description;
  const char* folderHelp;
};

void registerFileCommand(CLI::App& tool, CliContext& context, const FileCommand& command,
                         std::shared_ptr<std::string> folder) {
  CLI::App* sub = tool.add_subcommand(command.name, command.description);
  sub->add_option("folder", *folder, command.folderHelp)->required();
  const shell::BackupMode mode = command.mode;
  sub->callback([&context, mode, folder] {
    context.runWithApplication([mode, folder](shell::Application& application) -> Status {
      shell::FolderTexts texts{application.store().mainFolder().string(), *folder};
      shell::ProceedResult result = shell::isArchiveMode(mode)
                                        ? shell::zipOrUnzip(application, mode, texts)
                                        : shell::backupOrRestore(application, mode, texts);
      // The core has shown why: the exit status only has to say that it did not happen.
      if (result.outcome != shell::ProceedOutcome::Done) return Error{""};
      return {};
    });
  });
}

}  // namespace

void registerBackupCommands(CLI::App& tool, CliContext& context) {
  static const FileCommand commands[] = {
      {"backup", shell::BackupMode::Backup, "Copy the table files of the data set into FOLDER",
       "Destination folder (must exist)"},
      {"restore", shell::BackupMode::Restore, "Replace the data set with the table files in FOLDER",
       "Folder holding a backup"},
      {"zip", shell::BackupMode::Zip, "Pack the data folder into FOLDER/<institution>.zip",
       "Folder the archive goes to (must exist)"},
      {"unzip", shell::BackupMode::Unzip, "Replace the data folder with FOLDER/<institution>.zip",
       "Folder holding the archive"},
  };
  for (const FileCommand& command : commands) {
    registerFileCommand(tool, context, command, std::make_shared<std::string>());
  }
}

}  // namespace tavrel::cli
