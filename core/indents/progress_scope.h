// The progress display of a long command: shown for the command's length and hidden at its end,
// also when the command ends early or fails.
#pragma once

#include <string_view>

#include "core/ports/progress.h"

namespace tavrel::indents {

class ProgressScope {
 public:
  ProgressScope(Progress& progress, std::string_view text, int maximum) : progress_(progress) {
    progress_.show(text, maximum);
  }
  ~ProgressScope() { progress_.hide(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

  Progress& operator*() { return progress_; }
  Progress* operator->() { return &progress_; }

 private:
  Progress& progress_;
};

}  // namespace tavrel::indents
