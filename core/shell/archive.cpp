#include "core/shell/archive.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <memory>
#include <system_error>
#include <vector>

#include "core/shell/backup_validation.h"
#include "core/shell/file_command.h"

namespace tavrel::shell {

namespace fs = std::filesystem;
using internal::CommandFolders;

namespace {

// ---- archive names ------------------------------------------------------------------------------

bool isReservedCharacter(unsigned char c) {
  return c < 0x20 || c == 0x7f ||
         std::string_view(R"(/\:*?"<>|)").find(static_cast<char>(c)) != std::string_view::npos;
}

// Names that Windows file systems keep for devices, whatever the extension: a data set carried
// over to such a machine must still be readable there.
bool isDeviceName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(plain.begin(), plain.end(), upper) != plain.end()) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}

// ---- libzip helpers -----------------------------------------------------------------------------

std::string libzipMessage(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string message = zip_error_strerror(&error);
  zip_error_fini(&error);
  return message;
}

struct ArchiveDiscarder {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveDiscarder>;

struct EntryCloser {
  void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using EntryHandle = std::unique_ptr<zip_file_t, EntryCloser>;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

Result<ArchiveHandle> openArchive(const fs::path& path) {
  int code = 0;
  ArchiveHandle archive(zip_open(path.c_str(), ZIP_RDONLY, &code));
  if (!archive) return Error{"Cannot open the archive " + path.string() + ": " + libzipMessage(code)};
  return archive;
}

// ---- unzip --------------------------------------------------------------------------------------

struct Entry {
  zip_uint64_t index;
  std::string name;
  fs::path relative;  // below the destination; empty for the entry of the base folder itself
  bool folder;
};

// Where an entry lands below the destination, or nothing when its path is absolute or climbs out
// with "..". Archives written on Windows may separate with "\", so both separators count.
std::optional<fs::path> relativePathOf(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.starts_with('/')) return std::nullopt;
  if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':') {
    return std::nullopt;
  }
  fs::path relative;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = std::min(name.find('/', start), name.size());
    std::string part = name.substr(start, end - start);
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") relative /= part;
    start = end + 1;
  }
  return relative;
}

// Every entry with its place below the destination. An archive with a single entry that would be
// written outside the destination is refused whole, before anything of it is written.
Result<std::vector<Entry>> listEntries(zip_t* archive, const fs::path& path) {
  std::vector<Entry> entries;
  zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    auto index = static_cast<zip_uint64_t>(i);
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    if (!raw) return Error{"Cannot read the archive " + path.string() + ": " + zip_strerror(archive)};
    std::string name = raw;
    auto relative = relativePathOf(name);
    if (!relative) {
      return Error{"The archive " + path.string() + " holds the entry \"" + name +
                   "\", which would be written outside the destination folder. Nothing was unzipped."};
    }
    bool folder = name.ends_with('/') || name.ends_with('\\') || relative->empty();
    entries.push_back({index, name, *relative, folder});
  }
  return entries;
}

// The archive must carry a data set at its top level, each table entry an SQLite database: an
// archive of something else never replaces the person's tables.
Status checkArchiveDataSet(zip_t* archive, const std::vector<Entry>& entries, const fs::path& path) {
  int tables = 0;
  for (const Entry& entry : entries) {
    if (entry.folder || entry.relative.has_parent_path() || !isTableFileName(entry.relative.string())) {
      continue;
    }
    ++tables;
    EntryHandle file(zip_fopen_index(archive, entry.index, 0));
    std::string header(kDatabaseHeaderSize, '\0');
    zip_int64_t read = file ? zip_fread(file.get(), header.data(), header.size()) : -1;
    if (read != static_cast<zip_int64_t>(header.size()) || !hasDatabaseHeader(header)) {
      return Error{"The entry " + entry.name + " of the archive " + path.string() +
                   " is not a Tavrel table file (not an SQLite database)."};
    }
  }
  if (tables == 0) {
    return Error{"The archive " + path.string() + " holds no Tavrel data set (no tvrl_*.db table files)."};
  }
  return {};
}

Status extractEntry(zip_t* archive, const Entry& entry, const fs::path& target, const fs::path& shownAs,
                    const fs::path& path) {
  std::error_code ec;
  fs::create_directories(entry.folder ? target : target.parent_path(), ec);
  if (ec) return Error{"Cannot create file " + shownAs.string()};
  if (entry.folder) return {};
  EntryHandle file(zip_fopen_index(archive, entry.index, 0));
  if (!file) {
    return Error{"Cannot read " + entry.name + " from the archive " + path.string() + ": " +
                 zip_strerror(archive)};
  }
  FileHandle out(std::fopen(target.c_str(), "wb"));
  if (!out) return Error{"Cannot create file " + shownAs.string()};
  std::vector<char> block(8192);
  while (true) {
    // A damaged entry fails its checksum at the end of its data: it is never taken as intact.
    zip_int64_t read = zip_fread(file.get(), block.data(), block.size());
    if (read < 0) {
      return Error{"Cannot read " + entry.name + " from the archive " + path.string() + ": " +
                   zip_file_strerror(file.get())};
    }
    if (read == 0) break;
    if (std::fwrite(block.data(), 1, static_cast<std::size_t>(read), out.get()) !=
        static_cast<std::size_t>(read)) {
      return Error{"Cannot create file " + shownAs.string()};
    }
  }
  if (std::fflush(out.get()) != 0) return Error{"Cannot create file " + shownAs.string()};
  return {};
}

Status checkUnzip(const fs::path& path) {
  auto archive = openArchive(path);
  if (!archive) return Error{archive.error()};
  auto entries = listEntries(archive->get(), path);
  if (!entries) return Error{entries.error()};
  return checkArchiveDataSet(archive->get(), entries.value(), path);
}

Result<std::optional<StagedReplace>> unzip(const fs::path& path, const fs::path& destination,
                                           Progress& progress, std::string_view busyText) {
  auto archive = openArchive(path);
  if (!archive) return Error{archive.error()};
  auto entries = listEntries(archive->get(), path);
  if (!entries) return Error{entries.error()};
  progress.show(busyText, static_cast<int>(entries->size()));
  auto swap = StagedReplace::begin(destination);
  if (!swap) return Error{swap.error()};
  for (const Entry& entry : entries.value()) {
    internal::announceFile(progress, entry.name);
    Status extracted = extractEntry(archive->get(), entry, swap->staging() / entry.relative,
                                    destination / entry.relative, path);
    if (!extracted) return Error{extracted.error()};
    internal::fileDone(progress);
  }
  if (Status staged = checkDataSetFolder(swap->staging()); !staged) return Error{staged.error()};
  if (Status applied = swap->apply(); !applied) return Error{applied.error()};
  return std::optional<StagedReplace>(std::move(swap.value()));
}

// ---- zip ----------------------------------------------------------------------------------------

bool isStagingFolder(const fs::path& folder) {
  return folder.filename().string().starts_with(".tavrel-");
}

// Every file below the base folder in path order, relative to it. Leftover staging folders of an
// interrupted restore are no part of the data set, and an archive written inside the base folder
// (or an older one at the same place) would otherwise pack itself.
Result<std::vector<fs::path>> filesToPack(const fs::path& base, const fs::path& archive) {
  std::error_code ec;
  const fs::path archiveResolved = fs::weakly_canonical(archive, ec);
  std::vector<fs::path> files;
  auto it = fs::recursive_directory_iterator(base, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory() && isStagingFolder(it->path())) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    std::error_code same;
    if (fs::weakly_canonical(it->path(), same) == archiveResolved && !same) continue;
    files.push_back(it->path().lexically_relative(base));
  }
  if (ec) {
    return Error{"Cannot open file " +
                 (it == fs::recursive_directory_iterator() ? base : it->path()).string()};
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct PackProgress {
  Progress& progress;
  int files;
  int shown = 0;
};

// libzip compresses while the archive is closed and reports the share done; the bar steps per
// file's worth of that share.
void onPackProgress(zip_t*, double done, void* state) {
  auto& pack = *static_cast<PackProgress*>(state);
  int reached = std::min(pack.files, static_cast<int>(done * pack.files));
  if (reached > pack.shown) {
    internal::fileDone(pack.progress);
    if (reached - pack.shown > 1) pack.progress.step(reached - pack.shown - 1);
    pack.shown = reached;
  }
}

Status zip(const fs::path& base, const fs::path& path, Progress& progress, std::string_view busyText) {
  auto files = filesToPack(base, path);
  if (!files) return Error{files.error()};
  std::error_code ec;
  if (fs::exists(path, ec) && !fs::is_regular_file(path, ec)) {
    return Error{"Cannot create the archive " + path.string() + ": a folder of that name is in the way."};
  }
  int code = 0;
  // libzip writes a new archive under a temporary name and renames it over the old one only when
  // it is complete, so a failed zip leaves the former archive as it was.
  ArchiveHandle archive(zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!archive) return Error{"Cannot create the archive " + path.string() + ": " + libzipMessage(code)};
  for (const fs::path& relative : files.value()) {
    zip_source_t* source = zip_source_file(archive.get(), (base / relative).c_str(), 0, -1);
    zip_int64_t index =
        source ? zip_file_add(archive.get(), relative.generic_string().c_str(), source, 0) : -1;
    if (index < 0) {
      if (source) zip_source_free(source);
      return Error{"Cannot open file " + (base / relative).string()};
    }
    zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
  }
  progress.show(busyText, static_cast<int>(files->size()));
  PackProgress state{progress, static_cast<int>(files->size())};
  zip_register_progress_callback_with_state(archive.get(), 0.001, onPackProgress, nullptr, &state);
  if (zip_close(archive.get()) != 0) {
    return Error{"Cannot create the archive " + path.string() + ": " + zip_strerror(archive.get())};
  }
  archive.release();  // closed and freed by zip_close
  return {};
}

}  // namespace

std::string archiveFileName(std::string_view institution) {
  std::string name;
  for (char c : institution) name += isReservedCharacter(static_cast<unsigned char>(c)) ? '_' : c;
  std::size_t first = name.find_first_not_of(' '), last = name.find_last_not_of(' ');
  name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
  for (std::size_t i = 0; i < name.size() && name[i] == '.'; ++i) name[i] = '_';
  for (std::size_t i = name.size(); i > 0 && name[i - 1] == '.'; --i) name[i - 1] = '_';
  if (name.empty()) name = "Tavrel";
  if (isDeviceName(name)) name += '_';
  return name + ".zip";
}

ProceedResult zipOrUnzip(Application& application, BackupMode mode, const FolderTexts& texts) {
  const std::string name = archiveFileName(application.store().institution().INSTITUTION);
  Progress& progress = application.ports().progress;
  const std::string_view busyText = textsOf(mode).busyText;
  internal::FileWork work;
  if (mode == BackupMode::Zip) {
    work.check = [](const CommandFolders& folders) { return checkDataSetFolder(folders.source); };
    work.run = [&](const CommandFolders& folders) -> Result<std::optional<StagedReplace>> {
      if (Status packed = zip(folders.source, folders.destination / name, progress, busyText); !packed) {
        return Error{packed.error()};
      }
      return std::optional<StagedReplace>();
    };
  } else {
    work.check = [&](const CommandFolders& folders) -> Status {
      std::error_code ec;
      if (!fs::is_regular_file(folders.source / name, ec)) {
        return Error{"There is no archive " + name + " in " + folders.source.string() +
                     ". Unzip looks for the archive named after the institution."};
      }
      return checkUnzip(folders.source / name);
    };
    work.run = [&](const CommandFolders& folders) {
      return unzip(folders.source / name, folders.destination, progress, busyText);
    };
  }
  return internal::runFileCommand(application, mode, texts, work);
}

}  // namespace tavrel::shell
