#include "core/shell/file_command.h"

#include "core/shell/backup_folders.h"
#include "core/shell/backup_validation.h"

namespace tavrel::shell::internal {

namespace {

CommandFolders commandFolders(BackupMode mode, const FolderTexts& texts) {
  std::filesystem::path dataFolder = folderOf(texts.dataFolder), listed = folderOf(texts.folderList);
  if (roleOf(mode, FolderLine::DataFolder) == FolderRole::Source) return {dataFolder, listed};
  return {listed, dataFolder};
}

}  // namespace

ProceedResult runFileCommand(Application& application, BackupMode mode, const FolderTexts& texts,
                             const FileWork& work) {
  Prompter& prompter = application.ports().prompter;
  Progress& progress = application.ports().progress;

  if (auto refusal = checkFolderLines(mode, texts)) {
    prompter.show(refusal->kind, refusal->text);
    return {ProceedOutcome::Refused, refusal->focus};
  }
  const CommandFolders folders = commandFolders(mode, texts);
  // Copying a folder onto itself would truncate every table file before reading it.
  if (isSameFolder(folders.source, folders.destination)) {
    prompter.error("The source and the destination are the same folder.");
    return {ProceedOutcome::Refused, FolderLine::FolderList};
  }
  if (Status ready = work.check(folders); !ready) {
    prompter.error(ready.error());
    return {ProceedOutcome::Refused, upperLine(mode)};
  }

  progress.show(textsOf(mode).busyText, 0);
  application.release();
  auto done = work.run(folders);
  // The program is never left without its tables: the data are opened again after a failure too,
  // and when the replaced data set will not open, the former files go back first.
  Status reopened = application.create();
  std::string failure;
  if (!reopened && done && done.value()) {
    done.value()->undo();
    failure = "The new data could not be opened, so the former files were put back. " + reopened.error();
    reopened = application.create();
  }
  progress.hide();

  if (!done) failure = done.error();
  if (!reopened) failure = failure.empty() ? reopened.error() : failure + "\n" + reopened.error();
  if (!failure.empty()) {
    prompter.error(failure);
    return {ProceedOutcome::Failed, std::nullopt};
  }
  rememberFolder(application, mode, texts.folderList);
  prompter.info(textsOf(mode).doneMessage);
  return {ProceedOutcome::Done, std::nullopt};
}

void announceFile(Progress& progress, const std::string& name) {
  progress.text(name);
}

void fileDone(Progress& progress) {
  progress.step();
  // Repaint only: the buttons are disabled while the tables are closed, so nothing can be
  // cancelled half-way.
  progress.pump();
}

}  // namespace tavrel::shell::internal
