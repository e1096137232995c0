#include "core/shell/backup_folders.h"

#include "tests/core/shell/backup_fixture.h"

namespace tavrel::shell::testing {
namespace {

using BackupFoldersTest = BackupFixture;

std::vector<std::string> stored(Application& app) {
  std::vector<std::string> folders;
  for (const auto& r : app.store().table<store::TBackHist>().range(store::TBackHist::primary))
    folders.push_back(r.BACK_DIR);
  return folders;
}

TEST_F(BackupFoldersTest, TheListHoldsStoredFoldersInKeyOrderAndTheBackupWindowAddsTheAutomaticOnes) {
  const std::string current = (dataFolder() / "Backup Current").string();
  const std::string previous = (dataFolder() / "Backup Previous").string();
  EXPECT_EQ(initialFolderChoices(*app, BackupMode::Zip).texts.folderList, "");  // nothing stored yet
  EXPECT_EQ(initialFolderChoices(*app, BackupMode::Restore).texts.folderList, previous);

  rememberFolder(*app, BackupMode::Backup, "/srv/z-backups");
  rememberFolder(*app, BackupMode::Zip, "/srv/a-archives");
  for (BackupMode mode : {BackupMode::Backup, BackupMode::Restore, BackupMode::Zip, BackupMode::Unzip}) {
    FolderChoices choices = initialFolderChoices(*app, mode);
    std::vector<std::string> expected{"/srv/a-archives", "/srv/z-backups"};
    if (!isArchiveMode(mode)) expected.insert(expected.end(), {current, previous});
    EXPECT_EQ(choices.folderList, expected);
    EXPECT_EQ(choices.texts.folderList, expected.back());
    EXPECT_EQ(choices.texts.dataFolder, dataFolder().string());
  }
  ASSERT_TRUE(app->loadDataSet(store::DataSet::Sample).ok());
  EXPECT_EQ(initialFolderChoices(*app, BackupMode::Backup).texts.dataFolder,
            (folder.path() / "Samples").string());
}

TEST_F(BackupFoldersTest, AFolderIsStoredOnceAndOnlyWhenTheFieldHoldsItWhole) {
  const std::string fits = "/srv/tavrel/backups/of/the/institution/2025-a";  // 45 characters
  const std::string tooLong = "/srv/tavrel/backups/of/the/institution/2025-ab";
  ASSERT_EQ(fits.size(), 45u);
  for (const std::string& text :
       {fits, fits + "/", tooLong, std::string("/srv/short/"), std::string("/srv/short"), fits}) {
    rememberFolder(*app, BackupMode::Backup, text);
  }
  // Cut to 45 characters, the longer folder would have been stored as `fits`: a different folder.
  EXPECT_EQ(stored(*app), (std::vector<std::string>{"/srv/short", fits}));  // key order
}

TEST_F(BackupFoldersTest, OnlyTheArchiveWindowStoresTheAutomaticBackupFolders) {
  struct Case {
    BackupMode mode;
    bool stores;
  };
  if ((dataFolder() / "Backup Previous").string().size() > 45) {
    GTEST_SKIP() << "the temporary folder is too long";
  }
  for (const Case& c : {Case{BackupMode::Backup, false}, Case{BackupMode::Restore, false},
                        Case{BackupMode::Zip, true}, Case{BackupMode::Unzip, true}}) {
    SCOPED_TRACE(textsOf(c.mode).caption);
    rememberFolder(*app, c.mode, (dataFolder() / "Backup Current").string() + "/");
    rememberFolder(*app, c.mode, (dataFolder() / "Backup Previous").string());
    std::vector<std::string> expected;
    if (c.stores) {
      expected = {(dataFolder() / "Backup Current").string(), (dataFolder() / "Backup Previous").string()};
    }
    EXPECT_EQ(stored(*app), expected);
    store::Transaction tx(app->store());
    app->store().table<store::TBackHist>().removeAll();
    tx.commit();
  }
}

TEST_F(BackupFoldersTest, ClearingAsksWithTheListOfTheModeAndClearsOnlyOnYes) {
  struct Case {
    BackupMode mode;
    const char* list;
    bool answer;
  };
  for (const Case& c :
       {Case{BackupMode::Backup, "destination", false}, Case{BackupMode::Zip, "destination", true},
        Case{BackupMode::Restore, "source", false}, Case{BackupMode::Unzip, "source", true}}) {
    SCOPED_TRACE(textsOf(c.mode).caption);
    rememberFolder(*app, BackupMode::Zip, "/srv/archives");
    prompter.expectQuestion(
        MessageKind::Information,
        std::string("This will clear the ") + c.list + " path list. Proceed with clearing?", c.answer);
    EXPECT_EQ(clearFolderHistory(*app, c.mode), c.answer);
    EXPECT_EQ(stored(*app).size(), c.answer ? 0u : 1u);
    // The automatic folders are never stored, so the backup window offers them again.
    if (c.answer) {
      EXPECT_EQ(folderHistory(*app, BackupMode::Backup).size(), 2u);
    }
  }
}

}  // namespace
}  // namespace tavrel::shell::testing
