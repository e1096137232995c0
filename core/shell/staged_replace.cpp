#include "core/shell/staged_replace.h"

#include <stdlib.h>

#include <algorithm>
#include <set>
#include <string>
#include <system_error>

#include "core/shell/backup_validation.h"

namespace tavrel::shell {

namespace fs = std::filesystem;

namespace {

Result<fs::path> makeHiddenFolder(const fs::path& parent, const std::string& prefix) {
  std::string pattern = (parent / (prefix + "XXXXXX")).string();
  if (!mkdtemp(pattern.data())) return Error{"Cannot create file " + (parent / prefix).string()};
  return fs::path(pattern);
}

bool isPresent(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

Result<StagedReplace> StagedReplace::begin(const fs::path& target) {
  auto staging = makeHiddenFolder(target, ".tavrel-incoming-");
  if (!staging) return Error{staging.error()};
  return StagedReplace(target, staging.value());
}

StagedReplace::StagedReplace(fs::path target, fs::path staging)
    : target_(std::move(target)), staging_(std::move(staging)) {}

StagedReplace::StagedReplace(StagedReplace&& other) noexcept
    : target_(std::move(other.target_)),
      staging_(std::move(other.staging_)),
      replaced_(std::move(other.replaced_)),
      movedIn_(std::move(other.movedIn_)),
      setAside_(std::move(other.setAside_)),
      keepReplaced_(other.keepReplaced_) {
  other.staging_.clear();
  other.replaced_.clear();
}

StagedReplace::~StagedReplace() {
  std::error_code ec;
  if (!staging_.empty()) fs::remove_all(staging_, ec);
  if (!replaced_.empty() && !keepReplaced_) fs::remove_all(replaced_, ec);
}

bool StagedReplace::setAside(const fs::path& relative) {
  std::error_code ec;
  fs::create_directories((replaced_ / relative).parent_path(), ec);
  fs::rename(target_ / relative, replaced_ / relative, ec);
  if (ec) return false;
  setAside_.push_back(relative);
  return true;
}

Status StagedReplace::apply() {
  std::error_code ec;
  std::vector<fs::path> staged;
  for (auto it = fs::recursive_directory_iterator(staging_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file()) staged.push_back(it->path().lexically_relative(staging_));
  }
  if (ec) return Error{"Cannot open file " + staging_.string()};
  std::sort(staged.begin(), staged.end());

  auto made = makeHiddenFolder(target_, ".tavrel-replaced-");
  if (!made) return Error{made.error()};
  replaced_ = made.value();

  const std::set<fs::path> stagedSet(staged.begin(), staged.end());
  for (const fs::path& relative : staged) {
    fs::path destination = target_ / relative;
    bool placed = true;
    if (isPresent(destination)) placed = setAside(relative);
    if (placed && isTableFileName(relative.filename().string())) {
      for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        fs::path journal = relative;
        journal += suffix;
        if (!stagedSet.contains(journal) && isPresent(target_ / journal)) {
          placed = placed && setAside(journal);
        }
      }
    }
    if (placed) {
      fs::create_directories(destination.parent_path(), ec);
      fs::rename(staging_ / relative, destination, ec);
      placed = !ec;
    }
    if (!placed) {
      undo();
      return Error{"Cannot create file " + destination.string()};
    }
    movedIn_.push_back(relative);
  }
  return {};
}

void StagedReplace::undo() {
  std::error_code ec;
  for (auto it = movedIn_.rbegin(); it != movedIn_.rend(); ++it) fs::remove(target_ / *it, ec);
  movedIn_.clear();
  for (auto it = setAside_.rbegin(); it != setAside_.rend(); ++it) {
    fs::rename(replaced_ / *it, target_ / *it, ec);
    if (ec) keepReplaced_ = true;
  }
  setAside_.clear();
}

}  // namespace tavrel::shell
