// The checks a backup, restore, zip or unzip passes before any table is closed: the two folder
// lines, the pair of folders, and whether a folder holds a data set at all. Each refusal leaves
// everything as it was.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/ports/prompter.h"
#include "core/shell/backup_mode.h"
#include "core/util/result.h"

namespace tavrel::shell {

struct FolderRefusal {
  MessageKind kind;
  std::string text;
  FolderLine focus;
};

// Tests the data-folder line, then the folder list's line. Each must name an existing folder by
// an absolute path that is not a file-system root and does not begin with "A:" or "B:".
std::optional<FolderRefusal> checkFolderLines(BackupMode mode, const FolderTexts& texts);

// The folder a line names, without a trailing separator.
std::filesystem::path folderOf(std::string_view text);

// True when the two paths reach the same folder, through links and mounts as well.
bool isSameFolder(const std::filesystem::path& a, const std::filesystem::path& b);

// A table file of a data set: "tvrl_<number>.db".
bool isTableFileName(std::string_view name);
// The first bytes of an SQLite database file: "SQLite format 3" and a zero byte.
bool hasDatabaseHeader(std::string_view firstBytes);
inline constexpr std::size_t kDatabaseHeaderSize = 16;

// A folder whose files may replace a data set or be saved as one: it holds at least one table
// file, and every table file in it is an SQLite database.
Status checkDataSetFolder(const std::filesystem::path& folder);

}  // namespace tavrel::shell
