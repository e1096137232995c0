// Zip and unzip of the archive window: the loaded data set, with its sub-folders, packed into one
// zip archive named after the institution, and unpacked again.
#pragma once

#include <string>
#include <string_view>

#include "core/shell/application.h"
#include "core/shell/backup_mode.h"

namespace tavrel::shell {

// The archive's file name: the institution's name and ".zip", made safe as one file name.
// Separators and the characters file systems reserve (\ / : * ? " < > | and control characters)
// become "_", as do leading dots and trailing dots, so that the name neither climbs out of the
// chosen folder nor hides; an empty name becomes "Tavrel", and a device name such as "CON" gets
// a "_" appended. Zip and unzip form the same name, so an unzip finds what the zip wrote.
std::string archiveFileName(std::string_view institution);

// Proceed of the archive window in mode Zip or Unzip.
//
// Refusals before anything is closed: the folder-line messages of the backup window, the same
// folder on both lines, a source without a data set, and for unzip a missing archive, an archive
// that holds no data set or a table entry that is no SQLite database, and an archive with an
// entry whose path is absolute or climbs out of the destination with "..": nothing of such an
// archive is written.
//
// Zip packs every file of the source folder and its sub-folders under its relative path with the
// fastest deflate level, into a new archive that replaces one of the same name only once it is
// complete. An archive written into a sub-folder of the source is never packed into itself.
// Unzip extracts every entry into a staging folder inside the destination and replaces the
// destination's files only when every entry was extracted intact. Failures reopen the data and
// report; then the folder is remembered and "Zip completed." or "Unzip completed." shown.
ProceedResult zipOrUnzip(Application& application, BackupMode mode, const FolderTexts& texts);

}  // namespace tavrel::shell
