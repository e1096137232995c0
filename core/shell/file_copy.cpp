#include "core/shell/file_copy.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>
#include <vector>

namespace tavrel::shell {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool sameFile(const fs::path& source, const fs::path& target) {
  std::error_code ec1, ec2, ec3, ec4;
  if (!fs::exists(target, ec1)) return false;
  return fs::file_size(source, ec1) == fs::file_size(target, ec2) &&
         fs::last_write_time(source, ec3) == fs::last_write_time(target, ec4) && !ec1 && !ec2 && !ec3 && !ec4;
}

}  // namespace

Status copyFile(const fs::path& source, const fs::path& target) {
  File in(std::fopen(source.c_str(), "rb"));
  if (!in) return Error{"Cannot open file " + source.string()};
  fs::path temporary = target;
  temporary += ".tavrel-copy";
  File out(std::fopen(temporary.c_str(), "wb"));
  if (!out) return Error{"Cannot create file " + target.string()};
  // Large blocks: the timetable file of a big institution is a hundred megabytes.
  std::vector<char> block(1 << 20);
  bool failed = false;
  while (true) {
    std::size_t read = std::fread(block.data(), 1, block.size(), in.get());
    if (read > 0 && std::fwrite(block.data(), 1, read, out.get()) != read) failed = true;
    if (read < block.size() || failed) break;
  }
  failed = failed || std::ferror(in.get()) || std::fflush(out.get()) != 0 || ::fsync(fileno(out.get())) != 0;
  out.reset();
  std::error_code ec;
  if (failed) {
    fs::remove(temporary, ec);
    return Error{"Cannot create file " + target.string()};
  }
  fs::last_write_time(temporary, fs::last_write_time(source, ec), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return Error{"Cannot create file " + target.string()};
  }
  return {};
}

Result<std::vector<fs::path>> listFolderFiles(const fs::path& source, bool skipHidden) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(source, ec)) {
    if (!entry.is_regular_file()) continue;
    if (skipHidden && entry.path().filename().string().starts_with('.')) continue;
    files.push_back(entry.path());
  }
  if (ec) return Error{"Cannot open file " + source.string()};
  std::sort(files.begin(), files.end());
  return files;
}

Status copyFolderFiles(const fs::path& source, const fs::path& target, const CopyOptions& options) {
  std::error_code ec;
  fs::create_directories(target, ec);
  if (ec) return Error{"Cannot create file " + target.string()};
  auto files = listFolderFiles(source, options.skipHidden);
  if (!files) return Error{files.error()};
  for (const fs::path& file : files.value()) {
    if (options.onFile) options.onFile(file.filename().string());
    fs::path destination = target / file.filename();
    if (options.skipUnchanged && sameFile(file, destination)) continue;
    Status copied = copyFile(file, destination);
    if (!copied) return copied;
    if (options.onCopied) options.onCopied(file.filename().string());
  }
  return {};
}

}  // namespace tavrel::shell
