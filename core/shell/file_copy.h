// Copying the files of a data folder: the automatic backup rotation and the manual backup and
// restore all copy the ordinary files of one folder into another.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/util/result.h"

namespace tavrel::shell {

struct CopyOptions {
  // Skip a file whose copy in the target has the same size and modification time: the copy made
  // last time is still exact, so an unchanged data set costs next to nothing to back up.
  bool skipUnchanged = false;
  // Called before each file with its name, and after it is copied; for progress displays.
  std::function<void(const std::string&)> onFile;
  std::function<void(const std::string&)> onCopied;
  // Leave out files whose names begin with a dot: the manual backup and restore copy only what
  // the person sees in the folder.
  bool skipHidden = false;
};

// The files `copyFolderFiles` would copy, in name order; "Cannot open file <folder>" when the
// folder cannot be read.
Result<std::vector<std::filesystem::path>> listFolderFiles(const std::filesystem::path& source,
                                                           bool skipHidden);

// Copies every ordinary file directly inside `source` into `target` (created when missing) under
// the same name and in name order, replacing a file of that name. Sub-folders are not copied.
// Each file is written to a temporary name first and renamed into place, so the target never
// holds a half-copied file.
// Errors: "Cannot open file <name>" and "Cannot create file <name>".
Status copyFolderFiles(const std::filesystem::path& source, const std::filesystem::path& target,
                       const CopyOptions& options = {});

// Copies one file; the same two errors.
Status copyFile(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace tavrel::shell
