#include "core/shell/archive.h"

#include <zip.h>

#include "core/shell/backup_folders.h"
#include "tests/core/shell/backup_fixture.h"

namespace tavrel::shell::testing {
namespace {

using ArchiveTest = BackupFixture;

struct ArchiveEntry {
  std::string name;
  std::string bytes;
};

// Writes an archive the way another program might: any entry names, stored without compression
// so that a test can find an entry's bytes in the file.
void writeArchive(const fs::path& path, const std::vector<ArchiveEntry>& entries) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_NE(archive, nullptr);
  for (const ArchiveEntry& entry : entries) {
    zip_source_t* source = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
    zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_RAW);
    ASSERT_GE(index, 0) << entry.name;
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

struct EntryInfo {
  std::string name;
  int method;
};

std::vector<EntryInfo> entriesOf(const fs::path& path) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  std::vector<EntryInfo> entries;
  if (!archive) return entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
    entries.push_back({stat.name, stat.comp_method});
  }
  zip_discard(archive);
  return entries;
}

bool contains(const std::vector<EntryInfo>& entries, const std::string& name) {
  return std::any_of(entries.begin(), entries.end(), [&](const EntryInfo& e) { return e.name == name; });
}

TEST(ArchiveFileName, IsOneSafeFileNameWhateverTheInstitutionIsCalled) {
  struct Case {
    const char* institution;
    const char* file;
  };
  for (const Case& c : {
           Case{"St. Mary's High School", "St. Mary's High School.zip"},
           Case{"Arts/Science\\College", "Arts_Science_College.zip"},
           Case{"..", "__.zip"},
           Case{"../../etc/passwd", "___.._etc_passwd.zip"},
           Case{"C:\\Data", "C__Data.zip"},
           Case{"What? <Us> | \"Them\" *", "What_ _Us_ _ _Them_ _.zip"},
           Case{"Tab\tand\nnewline", "Tab_and_newline.zip"},
           Case{"  Padded School  ", "Padded School.zip"},
           Case{"School Inc.", "School Inc_.zip"},
           Case{"", "Tavrel.zip"},
           Case{"   ", "Tavrel.zip"},
           Case{"con", "con_.zip"},
           Case{"LPT1", "LPT1_.zip"},
           Case{"École Saint-Éloi", "École Saint-Éloi.zip"},
       }) {
    EXPECT_EQ(archiveFileName(c.institution), c.file) << c.institution;
  }
}

TEST_F(ArchiveTest, ZipPacksTheSubFoldersUnderTheirPathsAndUnzipBringsEverythingBack) {
  const fs::path archives = makeFolder("archives");
  setInstitution("Hill/Side School");
  addSubject("Maths", 1);
  // As after a second start: the first rotation left "Backup Previous" empty.
  fs::copy_file(dataFolder() / "Backup Current" / "tvrl_3.db",
                dataFolder() / "Backup Previous" / "tvrl_3.db");

  prompter.expectMessage(MessageKind::Information, "Zip completed.");
  ASSERT_EQ(proceed(BackupMode::Zip, archives).outcome, ProceedOutcome::Done);
  const fs::path archive = archives / "Hill_Side School.zip";
  const auto entries = entriesOf(archive);
  for (const char* name :
       {"tvrl_3.db", "tvrl_8.db", "Backup Current/tvrl_3.db", "Backup Previous/tvrl_3.db"}) {
    EXPECT_TRUE(contains(entries, name)) << name;
  }
  EXPECT_TRUE(std::all_of(entries.begin(), entries.end(),
                          [](const EntryInfo& e) { return e.method == ZIP_CM_DEFLATE; }));
  EXPECT_EQ(progress.maximum, static_cast<int>(entries.size()));
  EXPECT_EQ(progress.steps, progress.maximum);
  EXPECT_EQ(folderHistory(*app, BackupMode::Unzip), storable({archives}));

  addSubject("Physics", 2);
  fs::remove_all(dataFolder() / "Backup Previous");
  const auto current = snapshot(dataFolder() / "Backup Current");
  prompter.expectMessage(MessageKind::Information, "Unzip completed.");
  ASSERT_EQ(proceed(BackupMode::Unzip, archives).outcome, ProceedOutcome::Done);
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
  EXPECT_TRUE(fs::exists(dataFolder() / "Backup Previous" / "tvrl_3.db"));
  EXPECT_EQ(snapshot(dataFolder() / "Backup Current"), current);
  EXPECT_EQ(progress.names.size(), entries.size());
  EXPECT_FALSE(holdsStagingFolders(dataFolder()));
  EXPECT_EQ(folderHistory(*app, BackupMode::Unzip), storable({archives}));
}

TEST_F(ArchiveTest, AnArchiveWrittenInsideTheDataFolderNeverPacksItself) {
  setInstitution("..");
  const fs::path inside = dataFolder() / "Backup Current";
  for (int run = 0; run < 2; ++run) {  // the second run finds the first archive where it writes
    prompter.expectMessage(MessageKind::Information, "Zip completed.");
    ASSERT_EQ(proceed(BackupMode::Zip, inside).outcome, ProceedOutcome::Done);
  }
  const auto entries = entriesOf(inside / "__.zip");
  ASSERT_FALSE(entries.empty());
  EXPECT_FALSE(contains(entries, "Backup Current/__.zip"));
  EXPECT_TRUE(contains(entries, "Backup Current/tvrl_3.db"));
  EXPECT_FALSE(fs::exists(dataFolder() / ".zip"));
  // The archive window stores the automatic folders like any other.
  EXPECT_EQ(folderHistory(*app, BackupMode::Zip), storable({inside}));
}

TEST_F(ArchiveTest, AFailedZipReopensTheDataAndReportsIt) {
  const fs::path archives = makeFolder("archives");
  fs::create_directory(archives / "UNKNOWN INSTITUTION.zip");  // the archive's name is taken by a folder
  addSubject("Maths", 1);
  prompter.expectMessage(MessageKind::Error, "Cannot create the archive " +
                                                 (archives / "UNKNOWN INSTITUTION.zip").string() +
                                                 ": a folder of that name is in the way.");
  EXPECT_EQ(proceed(BackupMode::Zip, archives).outcome, ProceedOutcome::Failed);
  ASSERT_TRUE(app->isOpen());
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
  EXPECT_TRUE(folderHistory(*app, BackupMode::Zip).empty());
}

TEST_F(ArchiveTest, AnEntryThatWouldLandOutsideTheDestinationRefusesTheWholeArchive) {
  const fs::path archives = makeFolder("archives");
  const std::string table = bytesOf(dataFolder() / "tvrl_3.db");
  const fs::path outside = folder.path() / "escaped.txt";
  addSubject("Maths", 1);
  app->release();
  const auto before = snapshot(dataFolder());
  ASSERT_TRUE(app->create().ok());
  for (const std::string& name :
       {std::string("../escaped.txt"), outside.string(), std::string("Backup Current/../../escaped.txt"),
        std::string("..\\escaped.txt"), std::string("C:\\escaped.txt")}) {
    SCOPED_TRACE(name);
    const fs::path archive = archives / "UNKNOWN INSTITUTION.zip";
    writeArchive(archive, {{"tvrl_3.db", table}, {name, "written where it must not be"}});
    prompter.expectMessage(MessageKind::Error,
                           "The archive " + archive.string() + " holds the entry \"" + name +
                               "\", which would be written outside the destination folder. "
                               "Nothing was unzipped.");
    ProceedResult result = proceed(BackupMode::Unzip, archives);
    EXPECT_EQ(result.outcome, ProceedOutcome::Refused);
    EXPECT_EQ(result.focus, FolderLine::FolderList);
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_FALSE(fs::exists(folder.path() / "C:\\escaped.txt"));
  }
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
  app->release();
  EXPECT_EQ(snapshot(dataFolder()), before);
}

TEST_F(ArchiveTest, AnArchiveWithoutASoundDataSetIsRefused) {
  const fs::path archives = makeFolder("archives");
  const fs::path archive = archives / "UNKNOWN INSTITUTION.zip";
  struct Case {
    std::vector<ArchiveEntry> entries;
    std::string message;
  };
  const Case cases[] = {
      {{},
       "There is no archive UNKNOWN INSTITUTION.zip in " + archives.string() +
           ". Unzip looks for the archive named after the institution."},
      {{{"notes.txt", "just notes"}, {"Backup Current/tvrl_3.db", bytesOf(dataFolder() / "tvrl_3.db")}},
       "The archive " + archive.string() + " holds no Tavrel data set (no tvrl_*.db table files)."},
      {{{"tvrl_3.db", "SQLite format 2 and then some"}},
       "The entry tvrl_3.db of the archive " + archive.string() +
           " is not a Tavrel table file (not an SQLite database)."},
      {{{"tvrl_3.db", ""}},
       "The entry tvrl_3.db of the archive " + archive.string() +
           " is not a Tavrel table file (not an SQLite database)."},
  };
  const auto before = snapshot(dataFolder());
  for (const Case& c : cases) {
    fs::remove(archive);
    if (!c.entries.empty()) writeArchive(archive, c.entries);
    prompter.expectMessage(MessageKind::Error, c.message);
    EXPECT_EQ(proceed(BackupMode::Unzip, archives).outcome, ProceedOutcome::Refused);
  }
  write(archive, "PK but not really an archive");
  prompter.expectMessage(MessageKind::Error,
                         "Cannot open the archive " + archive.string() + ": Not a zip archive");
  EXPECT_EQ(proceed(BackupMode::Unzip, archives).outcome, ProceedOutcome::Refused);
  EXPECT_EQ(snapshot(dataFolder()), before);
  EXPECT_TRUE(folderHistory(*app, BackupMode::Unzip).empty());
}

TEST_F(ArchiveTest, ADamagedEntryStopsTheUnzipAndLeavesTheDataIntact) {
  const fs::path archives = makeFolder("archives");
  const fs::path archive = archives / "UNKNOWN INSTITUTION.zip";
  std::vector<ArchiveEntry> entries;
  for (const char* table : {"tvrl_1.db", "tvrl_3.db"})
    entries.push_back({table, bytesOf(dataFolder() / table)});
  const std::string marker = "the middle entry, damaged on the way";
  entries.push_back({"notes.txt", marker});
  entries.push_back({"tvrl_8.db", bytesOf(dataFolder() / "tvrl_8.db")});
  writeArchive(archive, entries);
  std::string bytes = bytesOf(archive);
  std::size_t at = bytes.find(marker);
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'T';  // same size, wrong checksum
  write(archive, bytes);

  addSubject("Maths", 1);
  app->release();
  const auto before = snapshot(dataFolder());
  ASSERT_TRUE(app->create().ok());
  prompter.expectMessage(MessageKind::Error,
                         "Cannot read notes.txt from the archive " + archive.string() + ": CRC error");
  EXPECT_EQ(proceed(BackupMode::Unzip, archives).outcome, ProceedOutcome::Failed);
  EXPECT_EQ(progress.steps, 2);  // the two tables before it were extracted to the staging folder
  ASSERT_TRUE(app->isOpen());
  EXPECT_EQ(subjects(), std::vector<std::string>{"Maths"});
  app->release();
  EXPECT_EQ(snapshot(dataFolder()), before);
  EXPECT_FALSE(holdsStagingFolders(dataFolder()));
}

}  // namespace
}  // namespace tavrel::shell::testing
