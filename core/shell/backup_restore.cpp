#include "core/shell/backup_restore.h"

#include "core/shell/backup_validation.h"
#include "core/shell/file_command.h"
#include "core/shell/file_copy.h"

namespace tavrel::shell {

using internal::CommandFolders;

ProceedResult backupOrRestore(Application& application, BackupMode mode, const FolderTexts& texts) {
  Progress& progress = application.ports().progress;
  internal::FileWork work;
  work.check = [](const CommandFolders& folders) { return checkDataSetFolder(folders.source); };
  work.run = [&](const CommandFolders& folders) -> Result<std::optional<StagedReplace>> {
    auto files = listFolderFiles(folders.source, true);
    if (!files) return Error{files.error()};
    progress.show(textsOf(mode).busyText, static_cast<int>(files->size()));

    auto swap = StagedReplace::begin(folders.destination);
    if (!swap) return Error{swap.error()};
    CopyOptions options;
    options.skipHidden = true;
    options.onFile = [&](const std::string& name) { internal::announceFile(progress, name); };
    options.onCopied = [&](const std::string&) { internal::fileDone(progress); };
    if (Status copied = copyFolderFiles(folders.source, swap->staging(), options); !copied) {
      return Error{copied.error()};
    }
    // The source was checked before the tables were closed; what arrived is checked again, since
    // only a complete and sound data set may replace one.
    if (Status staged = checkDataSetFolder(swap->staging()); !staged) return Error{staged.error()};
    if (Status applied = swap->apply(); !applied) return Error{applied.error()};
    if (mode == BackupMode::Restore) return std::optional<StagedReplace>(std::move(swap.value()));
    return std::optional<StagedReplace>();
  };
  return internal::runFileCommand(application, mode, texts, work);
}

}  // namespace tavrel::shell
