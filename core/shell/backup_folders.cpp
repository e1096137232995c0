#include "core/shell/backup_folders.h"

#include "core/shell/backup_validation.h"
#include "core/util/text.h"

namespace tavrel::shell {

using namespace store;

namespace {

bool isAutomaticBackupFolder(const ProgramFolders& folders, const std::filesystem::path& folder) {
  return folder == folders.backupCurrent() || folder == folders.backupPrevious() ||
         isSameFolder(folder, folders.backupCurrent()) || isSameFolder(folder, folders.backupPrevious());
}

}  // namespace

std::vector<std::string> folderHistory(Application& application, BackupMode mode) {
  std::vector<std::string> list;
  for (const TBackHist& record : application.store().table<TBackHist>().range(TBackHist::primary)) {
    list.push_back(record.BACK_DIR);
  }
  if (!isArchiveMode(mode)) {
    list.push_back(application.folders().backupCurrent().string());
    list.push_back(application.folders().backupPrevious().string());
  }
  return list;
}

FolderChoices initialFolderChoices(Application& application, BackupMode mode) {
  FolderChoices choices;
  choices.folderList = folderHistory(application, mode);
  if (!choices.folderList.empty()) choices.texts.folderList = choices.folderList.back();
  choices.texts.dataFolder = application.folders().dataSet(application.dataSet()).string();
  return choices;
}

void rememberFolder(Application& application, BackupMode mode, std::string_view folderListText) {
  std::filesystem::path folder = folderOf(folderListText);
  if (!isArchiveMode(mode) && isAutomaticBackupFolder(application.folders(), folder)) return;
  // A folder cut to the field's width is another folder, or none: offered later, it could send a
  // restore to the wrong data. A folder the field cannot hold whole is therefore not remembered.
  TBackHist record;
  record.BACK_DIR = folder.string();
  if (text::characterCount(record.BACK_DIR) > TBackHist::def().fields[0].width) return;
  auto& history = application.store().table<TBackHist>();
  Transaction tx(application.store());
  if (!history.find(TBackHist::primary, {record.BACK_DIR})) history.insert(record);
  tx.commit();
}

bool clearFolderHistory(Application& application, BackupMode mode) {
  std::string question =
      "This will clear the " + std::string(textsOf(mode).clearedList) + " path list. Proceed with clearing?";
  if (!application.ports().prompter.ask(MessageKind::Information, question)) return false;
  Transaction tx(application.store());
  application.store().table<TBackHist>().removeAll();
  tx.commit();
  return true;
}

}  // namespace tavrel::shell
