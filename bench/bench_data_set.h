// What the benchmarks share: a prompter that answers every question the same way, and a live
// data set in a fresh temporary program folder, removed again afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "core/ports/prompter.h"
#include "core/store/store.h"

namespace tavrel::bench {

class QuietPrompter final : public Prompter {
 public:
  explicit QuietPrompter(bool answer) : answer_(answer) {}
  void show(MessageKind, std::string_view) override {}
  bool ask(MessageKind, std::string_view) override { return answer_; }
  void beep() override {}

 private:
  bool answer_;
};

class TemporaryDataSet {
 public:
  TemporaryDataSet() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    folder_ = pattern;
    auto opened = store::Store::open(store::ProgramFolders{folder_}, store::DataSet::Live);
    if (!opened) throw std::runtime_error(opened.error());
    store_ = std::move(opened.value());
  }
  TemporaryDataSet(const TemporaryDataSet&) = delete;
  TemporaryDataSet& operator=(const TemporaryDataSet&) = delete;

  ~TemporaryDataSet() {
    store_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  store::Store& store() { return *store_; }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<store::Store> store_;
};

}  // namespace tavrel::bench
