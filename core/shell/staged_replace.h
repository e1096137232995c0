// Replacing the files of a folder all at once or not at all.
//
// A restore or an unzip must never leave a data set half old and half new: a table file of one
// state beside a table file of another breaks every counter that spans them. So the new files are
// first gathered in a hidden staging folder inside the target, where a failure costs nothing.
// Only when every file is there are they renamed into place, one rename per file; the files they
// replace are renamed aside first, so that the whole swap can be undone, also after it finished
// (for instance when the new data set will not open). The staging folder lives inside the target
// because a rename is atomic only within one file system, and a target that is a mount point may
// have a parent of another file system or one the person cannot write to.
#pragma once

#include <filesystem>
#include <vector>

#include "core/util/result.h"

namespace tavrel::shell {

class StagedReplace {
 public:
  // Creates the staging folder inside `target`; "Cannot create file <folder>" when it cannot.
  static Result<StagedReplace> begin(const std::filesystem::path& target);

  StagedReplace(StagedReplace&& other) noexcept;
  StagedReplace& operator=(StagedReplace&&) = delete;
  StagedReplace(const StagedReplace&) = delete;
  StagedReplace& operator=(const StagedReplace&) = delete;
  // Removes the staging folder and the replaced files; after an undo that could not put every
  // file back, the replaced files are kept so that nothing is lost.
  ~StagedReplace();

  // Where the new files go, with their sub-folders, before `apply`.
  const std::filesystem::path& staging() const { return staging_; }

  // Moves every staged file to the same relative path in the target. A replaced table file takes
  // its SQLite journal files with it, so that a stale journal is never rolled into the new file.
  // On failure the target is put back as it was and "Cannot create file <name>" is returned.
  Status apply();

  // Puts the target back as it was before `apply`.
  void undo();

 private:
  StagedReplace(std::filesystem::path target, std::filesystem::path staging);
  bool setAside(const std::filesystem::path& relative);

  std::filesystem::path target_;
  std::filesystem::path staging_;
  std::filesystem::path replaced_;
  std::vector<std::filesystem::path> movedIn_;   // relative paths, in the order they were moved
  std::vector<std::filesystem::path> setAside_;  // relative paths now under replaced_
  bool keepReplaced_ = false;
};

}  // namespace tavrel::shell
