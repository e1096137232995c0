#include "core/shell/backup_validation.h"

#include <cctype>
#include <fstream>
#include <regex>
#include <system_error>

namespace tavrel::shell {

namespace fs = std::filesystem;

namespace {

// Floppy drives were never reliable enough to hold a data set mid-copy; the person is sent to
// the file manager for them, whatever platform the text came from.
bool namesFloppyDrive(std::string_view text) {
  return text.size() >= 2 &&
         (std::toupper(static_cast<unsigned char>(text[0])) == 'A' ||
          std::toupper(static_cast<unsigned char>(text[0])) == 'B') &&
         text[1] == ':';
}

// A root ("/", or a link to it) is never a backup folder: copying a data set there would scatter
// table files over the top of the file system, and restoring from it would read whatever lies there.
bool isRoot(const fs::path& folder) {
  if (!folder.has_relative_path()) return true;
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(folder, ec);
  return !ec && !resolved.has_relative_path();
}

bool isUsableFolder(std::string_view text) {
  if (text.empty() || namesFloppyDrive(text)) return false;
  fs::path folder = folderOf(text);
  // A relative path would depend on whatever the program's current folder happens to be.
  if (!folder.is_absolute() || isRoot(folder)) return false;
  std::error_code ec;
  return fs::is_directory(folder, ec);
}

}  // namespace

fs::path folderOf(std::string_view text) {
  fs::path folder = fs::path(text).lexically_normal();
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  return folder;
}

std::optional<FolderRefusal> checkFolderLines(BackupMode mode, const FolderTexts& texts) {
  for (FolderLine line : {FolderLine::DataFolder, FolderLine::FolderList}) {
    const std::string& text = line == FolderLine::DataFolder ? texts.dataFolder : texts.folderList;
    if (isUsableFolder(text)) continue;
    if (namesFloppyDrive(text)) {
      return FolderRefusal{MessageKind::Information, "Use Windows Explorer for A: or B:.", line};
    }
    return FolderRefusal{MessageKind::Error,
                         "Invalid " + std::string(roleName(roleOf(mode, line))) + " Path.", line};
  }
  return std::nullopt;
}

bool isSameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  std::error_code ec1, ec2;
  fs::path ca = fs::weakly_canonical(a, ec1), cb = fs::weakly_canonical(b, ec2);
  return !ec1 && !ec2 && ca == cb;
}

bool isTableFileName(std::string_view name) {
  static const std::regex table(R"(tvrl_[0-9]+\.db)");
  return std::regex_match(name.begin(), name.end(), table);
}

bool hasDatabaseHeader(std::string_view firstBytes) {
  static constexpr std::string_view kHeader("SQLite format 3\0", kDatabaseHeaderSize);
  return firstBytes.substr(0, kDatabaseHeaderSize) == kHeader;
}

Status checkDataSetFolder(const fs::path& folder) {
  std::error_code ec;
  int tables = 0;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file() || !isTableFileName(entry.path().filename().string())) continue;
    ++tables;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string header(kDatabaseHeaderSize, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    // An empty table file is what a copy onto itself leaves behind; it never holds a table of ours.
    if (!in || !hasDatabaseHeader(header)) {
      return Error{"The file " + entry.path().string() +
                   " is not a Tavrel table file (not an SQLite database)."};
    }
  }
  if (ec) return Error{"Cannot open file " + folder.string()};
  if (tables == 0) {
    return Error{"There is no Tavrel data set in " + folder.string() +
                 ": it holds no table files (tvrl_*.db)."};
  }
  return {};
}

}  // namespace tavrel::shell
