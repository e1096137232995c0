#include "core/shell/backup_restore.h"

#include "core/shell/backup_folders.h"
#include "tests/core/shell/backup_fixture.h"

namespace tavrel::shell::testing {
namespace {

using BackupRestoreTest = BackupFixture;

std::vector<std::string> tableFilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.starts_with("tvrl_")) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(BackupRestoreTest, EveryBadLineIsRefusedWithTheMessageOfItsRoleBeforeAnythingIsTouched) {
  const fs::path other = makeFolder("other");
  write(folder.path() / "a-file", "not a folder");
  fs::create_symlink("/", folder.path() / "link-to-root");
  const std::string data = dataFolder().string(), missing = (folder.path() / "missing").string();
  struct Case {
    BackupMode mode;
    std::string dataFolder, folderList;
    MessageKind kind;
    std::string message;
    FolderLine focus;
  };
  const MessageKind error = MessageKind::Error, info = MessageKind::Information;
  const Case cases[] = {
      {BackupMode::Backup, missing, other.string(), error, "Invalid Source Path.", FolderLine::DataFolder},
      {BackupMode::Restore, missing, other.string(), error, "Invalid Destination Path.",
       FolderLine::DataFolder},
      {BackupMode::Zip, "", other.string(), error, "Invalid Source Path.", FolderLine::DataFolder},
      {BackupMode::Backup, data, "/", error, "Invalid Destination Path.", FolderLine::FolderList},
      {BackupMode::Restore, data, "/", error, "Invalid Source Path.", FolderLine::FolderList},
      {BackupMode::Unzip, data, "//..", error, "Invalid Source Path.", FolderLine::FolderList},
      {BackupMode::Zip, data, (folder.path() / "link-to-root").string(), error, "Invalid Destination Path.",
       FolderLine::FolderList},
      {BackupMode::Backup, data, "other", error, "Invalid Destination Path.",
       FolderLine::FolderList},  // relative
      {BackupMode::Unzip, data, (folder.path() / "a-file").string(), error, "Invalid Source Path.",
       FolderLine::FolderList},
      {BackupMode::Backup, data, "A:\\Backups", info, "Use Windows Explorer for A: or B:.",
       FolderLine::FolderList},
      {BackupMode::Zip, data, "B:", info, "Use Windows Explorer for A: or B:.", FolderLine::FolderList},
      {BackupMode::Restore, "b:/tavrel", other.string(), info, "Use Windows Explorer for A: or B:.",
       FolderLine::DataFolder},
  };
  const auto before = snapshot(dataFolder());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(textsOf(c.mode).caption) + " [" + c.dataFolder + "] [" + c.folderList + "]");
    prompter.expectMessage(c.kind, c.message);
    ProceedResult result = proceed(c.mode, c.dataFolder, c.folderList);
    EXPECT_EQ(result.outcome, ProceedOutcome::Refused);
    EXPECT_EQ(result.focus, c.focus);
    EXPECT_TRUE(prompter.done());
  }
  EXPECT_TRUE(app->isOpen());
  EXPECT_TRUE(fs::is_empty(other));
  EXPECT_EQ(snapshot(dataFolder()), before);
  EXPECT_TRUE(folderHistory(*app, BackupMode::Zip).empty());
}

TEST_F(BackupRestoreTest, BackupCopiesTheDataFilesAndRestoreBringsThemBack) {
  const fs::path backups = makeFolder("backups");
  write(backups / "notes.txt", "the person's own file");
  write(dataFolder() / ".hidden", "not shown, not copied");
  addSubject("Maths", 1);
  {
    store::Transaction tx(app->store());
    for (int code : {1, 2}) {
      store::TSchl school;
      school.SCHOOLCODE = code;
      school.SNAME = code == 1 ? "ALPHA" : "BETA";
      school.SSAVEDONE = "N";
      ASSERT_EQ(app->store().table<store::TSchl>().insert(school), store::WriteStatus::Ok);
    }
    tx.commit();
  }
  prompter.expectMessage(MessageKind::Information, "School: BETA is active.");
  app->openSchool(2);

  prompter.expectMessage(MessageKind::Information, "Backup completed.");
  EXPECT_EQ(proceed(BackupMode::Backup, backups).outcome, ProceedOutcome::Done);
  const auto dataFiles = tableFilesIn(dataFolder());
  EXPECT_EQ(tableFilesIn(backups), dataFiles);
  EXPECT_EQ(progress.maximum, static_cast<int>(dataFiles.size()));
  EXPECT_EQ(progress.steps, progress.maximum);
  EXPECT_EQ(progress.names, dataFiles);  // one line per file, in name order
  EXPECT_TRUE(fs::exists(backups / "notes.txt"));
  EXPECT_FALSE(fs::exists(backups / ".hidden"));
  EXPECT_FALSE(fs::exists(backups / "Backup Current"));  // sub-folders are not copied
  EXPECT_FALSE(holdsStagingFolders(backups));
  EXPECT_EQ(folderHistory(*app, BackupMode::Zip), storable({backups}));

  addSubject("Physics", 2);
  // A journal left by a crash would be rolled into the restored table when it next opens.
  app->release();
  write(dataFolder() / "tvrl_3.db-journal", "stale journal of the replaced table");
  prompter.expectMessage(MessageKind::Information, "Restore completed.");
  EXPECT_EQ(proceed(BackupMode::Restore, backups.string() + "/").outcome, ProceedOutcome::Done);
  EXPECT_FALSE(fs::exists(dataFolder() / "tvrl_3.db-journal"));
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
  EXPECT_EQ(app->session().schoolCode(), 2);
  EXPECT_FALSE(holdsStagingFolders(dataFolder()));
  EXPECT_EQ(folderHistory(*app, BackupMode::Zip), storable({backups}));  // stored once

  prompter.expectMessage(MessageKind::Information, "Backup completed.");
  EXPECT_EQ(proceed(BackupMode::Backup, dataFolder() / "Backup Current").outcome, ProceedOutcome::Done);
  EXPECT_EQ(folderHistory(*app, BackupMode::Zip),
            storable({backups}));  // the automatic folders are not stored
}

TEST_F(BackupRestoreTest, TheSameFolderOnBothLinesIsRefusedAlsoThroughALink) {
  addSubject("Maths", 1);
  fs::create_directory_symlink(dataFolder(), folder.path() / "data-link");
  const auto before = snapshot(dataFolder());
  struct Case {
    BackupMode mode;
    fs::path folderList;
  };
  for (const Case& c :
       {Case{BackupMode::Restore, dataFolder()}, Case{BackupMode::Backup, folder.path() / "data-link"},
        Case{BackupMode::Restore, dataFolder() / ".." / "Data" / ""},
        Case{BackupMode::Zip, folder.path() / "data-link"}, Case{BackupMode::Unzip, dataFolder()}}) {
    SCOPED_TRACE(c.folderList.string());
    prompter.expectMessage(MessageKind::Error, "The source and the destination are the same folder.");
    ProceedResult result = proceed(c.mode, c.folderList);
    EXPECT_EQ(result.outcome, ProceedOutcome::Refused);
    EXPECT_EQ(result.focus, FolderLine::FolderList);
  }
  EXPECT_EQ(snapshot(dataFolder()), before);
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
}

TEST_F(BackupRestoreTest, ASourceWithoutASoundDataSetIsRefusedBeforeAnythingIsReplaced) {
  addSubject("Maths", 1);
  const fs::path empty = makeFolder("empty"), garbage = makeFolder("garbage"),
                 truncated = makeFolder("truncated");
  write(empty / "notes.txt", "no tables here");
  write(garbage / "tvrl_3.db", "this is not a database at all");
  write(truncated / "tvrl_3.db", "");  // what a copy onto itself leaves behind
  struct Case {
    fs::path source;
    std::string message;
  };
  const auto before = snapshot(dataFolder());
  for (const Case& c : {
           Case{empty, "There is no Tavrel data set in " + empty.string() +
                           ": it holds no table files (tvrl_*.db)."},
           Case{garbage, "The file " + (garbage / "tvrl_3.db").string() +
                             " is not a Tavrel table file (not an SQLite database)."},
           Case{truncated, "The file " + (truncated / "tvrl_3.db").string() +
                               " is not a Tavrel table file (not an SQLite database)."},
       }) {
    prompter.expectMessage(MessageKind::Error, c.message);
    ProceedResult result = proceed(BackupMode::Restore, c.source);
    EXPECT_EQ(result.outcome, ProceedOutcome::Refused);
    EXPECT_EQ(result.focus, FolderLine::FolderList);  // the source's line
  }
  EXPECT_EQ(snapshot(dataFolder()), before);
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
}

TEST_F(BackupRestoreTest, ACopyThatFailsHalfWayLeavesTheDataIntactAndReopensIt) {
  const fs::path backups = makeFolder("backups");
  addSubject("Maths", 1);
  prompter.expectMessage(MessageKind::Information, "Backup completed.");
  ASSERT_EQ(proceed(BackupMode::Backup, backups).outcome, ProceedOutcome::Done);
  addSubject("Physics", 2);
  app->release();
  const auto before = snapshot(dataFolder());
  ASSERT_TRUE(app->create().ok());

  // The backup loses a table file while the restore is copying: the files before it are staged.
  int copiedBefore = 0;
  progress.onText = [&](std::string_view name) {
    if (name == "tvrl_3.db") {
      copiedBefore = progress.steps;
      fs::remove(backups / "tvrl_3.db");
    }
  };
  prompter.expectMessage(MessageKind::Error, "Cannot open file " + (backups / "tvrl_3.db").string());
  EXPECT_EQ(proceed(BackupMode::Restore, backups).outcome, ProceedOutcome::Failed);
  EXPECT_GT(copiedBefore, 0);
  ASSERT_TRUE(app->isOpen());
  EXPECT_EQ(subjects(), (std::vector<std::string>{"Maths", "Physics"}));
  app->release();
  EXPECT_EQ(snapshot(dataFolder()), before);
  EXPECT_FALSE(holdsStagingFolders(dataFolder()));
}

TEST_F(BackupRestoreTest, ARestoredDataSetThatWillNotOpenIsUndone) {
  const fs::path backups = makeFolder("backups");
  addSubject("Maths", 1);
  prompter.expectMessage(MessageKind::Information, "Backup completed.");
  ASSERT_EQ(proceed(BackupMode::Backup, backups).outcome, ProceedOutcome::Done);
  // The header is sound, the rest is not: only opening the tables finds out.
  std::string damaged = bytesOf(backups / "tvrl_3.db");
  std::fill(damaged.begin() + 100, damaged.end(), '\xA5');
  write(backups / "tvrl_3.db", damaged);
  addSubject("Physics", 2);

  // SQLite words the reason itself; the test pins the part that is ours.
  struct CapturingPrompter final : Prompter {
    void show(MessageKind kind, std::string_view text) override {
      shown.emplace_back(kind, std::string(text));
    }
    bool ask(MessageKind, std::string_view) override { return false; }
    void beep() override {}
    std::vector<std::pair<MessageKind, std::string>> shown;
  } capture;
  app.reset();
  Application restoring(store::ProgramFolders{folder.path()}, Ports{capture, progress, clock});
  ASSERT_TRUE(restoring.start().ok());
  ProceedResult result =
      backupOrRestore(restoring, BackupMode::Restore, {dataFolder().string(), backups.string()});
  EXPECT_EQ(result.outcome, ProceedOutcome::Failed);
  ASSERT_EQ(capture.shown.size(), 1u);
  EXPECT_EQ(capture.shown[0].first, MessageKind::Error);
  EXPECT_TRUE(capture.shown[0].second.starts_with(
      "The new data could not be opened, so the former files were put back. The tables in " +
      dataFolder().string() + " cannot be opened: "))
      << capture.shown[0].second;
  ASSERT_TRUE(restoring.isOpen());
  std::vector<std::string> names;
  for (const auto& s : restoring.store().table<store::TSubj>().range(store::TSubj::primary))
    names.push_back(s.SUBNAME);
  EXPECT_EQ(names, (std::vector<std::string>{"Maths", "Physics"}));
  EXPECT_FALSE(holdsStagingFolders(dataFolder()));
}

}  // namespace
}  // namespace tavrel::shell::testing
