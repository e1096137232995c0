// The folder history of the backup and archive windows (`TBackHist`): every folder the person
// backed up to, restored from, zipped to or unzipped from, offered again in the folder list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/shell/application.h"
#include "core/shell/backup_mode.h"

namespace tavrel::shell {

// The folder list of a window: the stored folders in key order; the backup window adds the two
// automatic backup folders of the live data set, which are never stored.
std::vector<std::string> folderHistory(Application& application, BackupMode mode);

// What a window shows when it opens: the folder list, its last entry as the list's text, and the
// loaded data set's folder in the data-folder line.
struct FolderChoices {
  std::vector<std::string> folderList;
  FolderTexts texts;
};
FolderChoices initialFolderChoices(Application& application, BackupMode mode);

// After a completed command: stores the folder of the folder list (without a trailing separator)
// unless it is stored already. The field holds 45 characters; a longer folder is not stored,
// since its cut text would name another folder. Backup and restore leave out the two automatic
// backup folders, since the backup window always offers them anyway.
void rememberFolder(Application& application, BackupMode mode, std::string_view folderListText);

// The clear button: asks "This will clear the destination path list. Proceed with clearing?"
// (or "source" in restore and unzip) and with Yes deletes every stored folder. True when cleared.
bool clearFolderHistory(Application& application, BackupMode mode);

}  // namespace tavrel::shell
