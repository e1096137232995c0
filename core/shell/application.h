// The running program's data side: which data set is loaded, the store and the session over it,
// start-up, the main-window activation with its backup rotation and per-school repair, the
// release and re-creation of the data around file work, the switch between the live and the
// sample data set, and the resume check of an interrupted allocation job.
//
// The desktop program and the command-line tool each create one Application with their ports.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/ports/clock.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/session.h"
#include "core/store/store.h"
#include "core/util/result.h"

namespace tavrel::shell {

struct Ports {
  Prompter& prompter;
  Progress& progress;
  const Clock& clock;
};

class Application {
 public:
  Application(store::ProgramFolders folders, Ports ports);
  ~Application();

  // Program start: makes the sample data set when its folder is missing (see sample_data_set.h),
  // drops stale companion files of the live folder, opens the live data set (a new one gets its
  // institution record) and rebuilds the indexes. Always starts on live.
  Status start();

  // The folder of the exchange files the sample data set is made from; empty: none is made.
  void setSampleSources(std::filesystem::path folder) { sampleSources_ = std::move(folder); }

  // Main-window activation: at the first activation after start or after a data-set switch the
  // automatic backups are rotated; every activation reopens the data when closed, repairs each
  // school's counters and marks saved allocation jobs as interrupted. The current school stays
  // current (the first school only when it no longer exists).
  Status activate();

  // `frm_release` and `frm_create`: close every table around file work and open them again.
  // The release handler lets the windows that show data close first.
  void release();
  Status create();
  void setReleaseHandler(std::function<void()> handler) { releaseHandler_ = std::move(handler); }
  bool isOpen() const { return store_ != nullptr; }

  // Load Sample / Load Live.
  Status loadDataSet(store::DataSet dataSet);
  store::DataSet dataSet() const { return dataSet_; }

  // `rsumechk`: offers to resume an interrupted allocation job of the current school; true when
  // the person accepts (the caller then opens the allocation window).
  bool rsumechk();
  // `TblInit`: clears every allocation of the current school, keeping availability.
  void TblInit();

  // Open School, after the person picked a school: it becomes current and is announced.
  void openSchool(int schoolCode);

  store::Store& store() { return *store_; }
  store::Session& session() { return *session_; }
  const store::ProgramFolders& folders() const { return folders_; }
  Ports ports() const { return ports_; }

 private:
  Status rotateBackups();
  void makeMissingSample();
  // Counter repair, nine-day upgrade and interrupted-job marking of every school. A failed
  // upgrade is reported once and not retried until the next start: its message box would
  // otherwise activate the main window again, which would retry and report it again for ever.
  void repairSchools(bool upgrade);

  store::ProgramFolders folders_;
  Ports ports_;
  store::DataSet dataSet_ = store::DataSet::Live;
  std::unique_ptr<store::Store> store_;
  std::unique_ptr<store::Session> session_;
  std::function<void()> releaseHandler_;
  std::filesystem::path sampleSources_;
  int rememberedSchool_ = 0;
  bool backupsRotated_ = false;
  std::set<std::pair<store::DataSet, int>> failedUpgrades_;
};

// Main window caption and status-bar text.
std::string mainWindowCaption(Application& application);
std::string statusBarText(store::DataSet dataSet);

}  // namespace tavrel::shell
