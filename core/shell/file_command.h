// The course every backup, restore, zip and unzip takes, whatever it does with the files:
// check the folders while the data are open, close every table, do the file work, open the data
// again whatever happened, remember the folder and report. Shared by `backup_restore` and
// `archive`; the windows call those.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "core/shell/application.h"
#include "core/shell/backup_mode.h"
#include "core/shell/staged_replace.h"
#include "core/util/result.h"

namespace tavrel::shell::internal {

struct CommandFolders {
  std::filesystem::path source;
  std::filesystem::path destination;
};

struct FileWork {
  // Runs before any table is closed; a refusal here leaves everything as it was.
  std::function<Status(const CommandFolders&)> check;
  // Runs with every table closed. A work that replaced the files of a data set returns its swap,
  // so that the swap can be undone should the new files not open.
  std::function<Result<std::optional<StagedReplace>>(const CommandFolders&)> run;
};

ProceedResult runFileCommand(Application& application, BackupMode mode, const FolderTexts& texts,
                             const FileWork& work);

// Per-file progress of a command: the file's name before it, a step after it.
void announceFile(Progress& progress, const std::string& name);
void fileDone(Progress& progress);

}  // namespace tavrel::shell::internal
