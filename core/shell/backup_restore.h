// Backup and restore of the backup window: the ordinary files of the loaded data set are copied
// to a folder of the person's choice, or back from it.
#pragma once

#include "core/shell/application.h"
#include "core/shell/backup_mode.h"

namespace tavrel::shell {

// Proceed of the backup window in mode Backup or Restore.
//
// Refusals, each before anything is closed or copied (the window focuses the line named in the
// result): "Invalid Source Path." / "Invalid Destination Path." for a line that names no usable
// folder, "Use Windows Explorer for A: or B:.", the same folder on both lines, and a source that
// holds no data set.
//
// The files (not sub-folders, not hidden files) are copied with every table closed, first into a
// staging folder inside the destination; only when all of them are there do they replace the
// destination's files of the same names. Files the source lacks stay. A failure leaves the
// destination as it was, reopens the data and reports "Cannot open file <name>" or "Cannot create
// file <name>". Then the folder is remembered and "Backup completed." or "Restore completed." shown.
ProceedResult backupOrRestore(Application& application, BackupMode mode, const FolderTexts& texts);

}  // namespace tavrel::shell
