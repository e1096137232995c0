#include "core/shell/backup_mode.h"

namespace tavrel::shell {

namespace {

constexpr BackupModeTexts kTexts[] = {
    {"&Backup", "Backup Data", "&Proceed with Backup", "&Clear Destination List", "Backing up...",
     "Backup completed.", "Source Directory:", "Destination Directory:", "destination"},
    {"&Restore Backup", "Restore Backup Data", "&Proceed with Restore", "&Clear Source List",
     "Restoring Backup...", "Restore completed.", "Source Directory:", "Destination Directory:", "source"},
    {"&Zip", "Zip Data", "&Proceed with Zip", "&Clear Destination List", "Zipping...", "Zip completed.",
     "Source Folder:", "Destination Folder:", "destination"},
    {"&Unzip", "Unzip Data", "&Proceed with Unzip", "&Clear Source List", "Unzipping...", "Unzip completed.",
     "Source Folder:", "Destination Folder:", "source"},
};

bool dataFolderIsSource(BackupMode mode) {
  return mode == BackupMode::Backup || mode == BackupMode::Zip;
}

}  // namespace

const BackupModeTexts& textsOf(BackupMode mode) {
  return kTexts[static_cast<int>(mode)];
}

bool isArchiveMode(BackupMode mode) {
  return mode == BackupMode::Zip || mode == BackupMode::Unzip;
}

std::string_view helpTopic(BackupMode mode) {
  return isArchiveMode(mode) ? "F33" : "F31";
}

FolderRole roleOf(BackupMode mode, FolderLine line) {
  bool source = dataFolderIsSource(mode) == (line == FolderLine::DataFolder);
  return source ? FolderRole::Source : FolderRole::Destination;
}

std::string_view roleName(FolderRole role) {
  return role == FolderRole::Source ? "Source" : "Destination";
}

FolderLine upperLine(BackupMode mode) {
  return dataFolderIsSource(mode) ? FolderLine::DataFolder : FolderLine::FolderList;
}

const std::array<std::string_view, 3>& backupWindowNotes() {
  static constexpr std::array<std::string_view, 3> notes = {
      "Every time you load Tavrel. your data is automatically backed up to Backup Current folder...",
      "....And before this is done, the Backup Current folder is automatically backed up to Backup Previous "
      "folder...",
      "...Two versions of data backups are therefore available at any time for restoration through this "
      "utility "
      "or Windows Explorer.",
  };
  return notes;
}

std::string_view archiveWindowNote() {
  return "Zip file has your institution name.";
}

}  // namespace tavrel::shell
