// A started program over a fresh program folder, for the tests of backup, restore and archive.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/shell/application.h"
#include "core/shell/archive.h"
#include "core/shell/backup_restore.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::shell::testing {

namespace fs = std::filesystem;

// Records what a command shows of its progress; `onText` lets a test act at a given file.
class RecordingProgress final : public Progress {
 public:
  void show(std::string_view, int max) override {
    maximum = max;
    steps = 0;
    names.clear();
  }
  void step(int count) override { steps += count; }
  void text(std::string_view name) override {
    names.emplace_back(name);
    if (onText) onText(name);
  }
  bool pump() override { return false; }
  void hide() override {}

  int maximum = 0;
  int steps = 0;
  std::vector<std::string> names;
  std::function<void(std::string_view)> onText;
};

class BackupFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    app =
        std::make_unique<Application>(store::ProgramFolders{folder.path()}, Ports{prompter, progress, clock});
    ASSERT_TRUE(app->start().ok());
    ASSERT_TRUE(app->activate().ok());  // leaves "Backup Current" and "Backup Previous" in the data folder
  }

  fs::path dataFolder() const { return folder.path() / "Data"; }

  fs::path makeFolder(const std::string& name) const {
    fs::create_directories(folder.path() / name);
    return folder.path() / name;
  }

  ProceedResult proceed(BackupMode mode, const std::string& dataFolderText,
                        const std::string& folderListText) {
    FolderTexts texts{dataFolderText, folderListText};
    return isArchiveMode(mode) ? zipOrUnzip(*app, mode, texts) : backupOrRestore(*app, mode, texts);
  }
  ProceedResult proceed(BackupMode mode, const fs::path& folderList) {
    return proceed(mode, dataFolder().string(), folderList.string());
  }

  void addSubject(const std::string& name, int code) {
    store::Transaction tx(app->store());
    store::TSubj subject;
    subject.SUBNAME = name;
    subject.SUBCODE = code;
    ASSERT_EQ(app->store().table<store::TSubj>().insert(subject), store::WriteStatus::Ok);
    tx.commit();
  }

  std::vector<std::string> subjects() {
    std::vector<std::string> names;
    for (const auto& s : app->store().table<store::TSubj>().range(store::TSubj::primary))
      names.push_back(s.SUBNAME);
    return names;
  }

  void setInstitution(const std::string& name) {
    store::TInst institution = app->store().institution();
    institution.INSTITUTION = name;
    app->store().saveInstitution(institution);
  }

  static std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  static void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  // Every file below a folder with its bytes, by relative path.
  static std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_regular_file()) {
        files[entry.path().lexically_relative(root).string()] = bytesOf(entry.path());
      }
    }
    return files;
  }

  // The folders of a list that the history can hold whole (45 characters): the temporary folder
  // of a test run may be longer than that.
  static std::vector<std::string> storable(const std::vector<fs::path>& folders) {
    std::vector<std::string> texts;
    for (const fs::path& f : folders) {
      if (f.string().size() <= 45) texts.push_back(f.string());
    }
    return texts;
  }

  static bool holdsStagingFolders(const fs::path& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.path().filename().string().starts_with(".tavrel-")) return true;
    }
    return false;
  }

  tavrel::testing::TempFolder folder;
  tavrel::testing::ScriptedPrompter prompter;
  RecordingProgress progress;
  SystemClock clock;
  std::unique_ptr<Application> app;
};

}  // namespace tavrel::shell::testing
