// The four file commands of the Tools menu (backup, restore, zip, unzip) and what their two
// windows show for each: the caption is the mode, and the mode decides which of the two input
// lines is the source and which the destination.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel::shell {

enum class BackupMode { Backup, Restore, Zip, Unzip };

// The two input lines of the windows: the data-folder field (the loaded data set by default) and
// the editable folder list fed from the folder history.
enum class FolderLine { DataFolder, FolderList };

enum class FolderRole { Source, Destination };

struct BackupModeTexts {
  std::string_view command;  // menu command
  std::string_view caption;  // window caption
  std::string_view proceedButton;
  std::string_view clearButton;
  std::string_view busyText;
  std::string_view doneMessage;  // information box after the work
  std::string_view sourceLabel;  // the upper line always carries the source
  std::string_view destinationLabel;
  std::string_view clearedList;  // the list named in the clear question
};

const BackupModeTexts& textsOf(BackupMode mode);

// The backup window serves Backup and Restore; the archive window Zip and Unzip.
bool isArchiveMode(BackupMode mode);
std::string_view helpTopic(BackupMode mode);  // "F31" or "F33"

// In backup and zip the data folder is the source; in restore and unzip it is the destination.
FolderRole roleOf(BackupMode mode, FolderLine line);
std::string_view roleName(FolderRole role);  // "Source" or "Destination"
// The line shown on top: the source's line.
FolderLine upperLine(BackupMode mode);

// The fixed notes of the two windows.
const std::array<std::string_view, 3>& backupWindowNotes();
std::string_view archiveWindowNote();

// What the person typed or picked in the two lines.
struct FolderTexts {
  std::string dataFolder;
  std::string folderList;
};

// How a Proceed ended, so that the window knows whether to close and where to put the focus.
enum class ProceedOutcome {
  Done,     // the work is done and reported; the window closes
  Refused,  // a message explained why nothing was touched
  Failed,   // the file work failed and was reported; the data are open again
};

struct ProceedResult {
  ProceedOutcome outcome = ProceedOutcome::Done;
  std::optional<FolderLine> focus;  // the line to focus after a refusal
};

}  // namespace tavrel::shell
