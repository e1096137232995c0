#include "core/store/store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

using testing::TempFolder;

std::unique_ptr<Store> openLive(const TempFolder& folder) {
  auto store = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
  EXPECT_TRUE(store.ok()) << (store.ok() ? "" : store.error());
  return std::move(store.value());
}

TEST(Store, NewDataSetCreatesEveryTableFileAndTheInstitutionRecord) {
  TempFolder folder;
  auto store = openLive(folder);
  for (const TableDef* def : allTables()) {
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Data" / def->fileName())) << def->fileName();
  }
  TInst inst = store->institution();
  EXPECT_EQ(inst.INSTITUTION, "UNKNOWN INSTITUTION");
  EXPECT_EQ(inst.IDTUL_DAY, 12);
  EXPECT_EQ(inst.IDTUL_WEEK, 108);
  EXPECT_EQ(inst.IDTSQUL, 3);
  EXPECT_TRUE(inst.ISUL_CLASS);
  EXPECT_FALSE(inst.ITSQUL);
  EXPECT_EQ(inst.IVIEW, "B");
  EXPECT_EQ(inst.IVIEWTIME, 5);
  EXPECT_EQ(store->table<TInst>().all().size(), 1u);
}

TEST(Store, UniqueIndexesRefuseDuplicatesAndTextIsCutToItsWidth) {
  TempFolder folder;
  auto store = openLive(folder);
  auto& classes = store->table<TClas>();
  TClas a;
  a.CSCHOOL = 1;
  a.CLSNAME = "A name that is longer than twenty-five characters";
  a.CLSCODE = 1;
  ASSERT_EQ(classes.insert(a), WriteStatus::Ok);
  auto stored = classes.find(TClas::CLASCODE, {1, 1});
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->CLSNAME, "A name that is longer tha");

  TClas sameCode;
  sameCode.CSCHOOL = 1;
  sameCode.CLSNAME = "Other";
  sameCode.CLSCODE = 1;
  EXPECT_EQ(classes.insert(sameCode), WriteStatus::DuplicateKey);
  TClas sameCodeOtherSchool = sameCode;
  sameCodeOtherSchool.CSCHOOL = 2;
  EXPECT_EQ(classes.insert(sameCodeOtherSchool), WriteStatus::Ok);
  EXPECT_EQ(classes.count(TClas::primary), 2);
}

// An update against the record as read writes only what changed: a field someone else changed
// meanwhile keeps their value, the changed fields are cut and indexed as usual, and a unique index
// still refuses a duplicate.
TEST(Store, AnUpdateAgainstTheStoredRecordWritesOnlyTheChangedFields) {
  TempFolder folder;
  auto store = openLive(folder);
  auto& classes = store->table<TClas>();
  TClas first{.CSCHOOL = 1, .CLSNAME = "1A", .CLSCODE = 1, .CLSTOTALL = 3};
  TClas second{.CSCHOOL = 1, .CLSNAME = "1B", .CLSCODE = 2};
  ASSERT_EQ(classes.insert(first), WriteStatus::Ok);
  ASSERT_EQ(classes.insert(second), WriteStatus::Ok);

  TClas elsewhere = first;  // another command changes the total in between
  elsewhere.CLSTOTALL = 7;
  classes.update(elsewhere);

  TClas renamed = first;
  renamed.CLSNAME = "A name that is longer than twenty-five characters";
  EXPECT_EQ(classes.update(renamed, first), WriteStatus::Ok);
  auto stored = classes.find(TClas::CLASCODE, {1, 1});
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->CLSNAME, "A name that is longer tha");
  EXPECT_EQ(stored->CLSTOTALL, 7);

  TClas clash = second;
  clash.CLSCODE = 1;
  EXPECT_EQ(classes.update(clash, second), WriteStatus::DuplicateKey);
  EXPECT_EQ(classes.find(TClas::CLASCODE, {1, 2})->CLSNAME, "1B");
  EXPECT_EQ(classes.update(second, second), WriteStatus::Ok);  // nothing to write
}

TEST(Store, RangesWalkTheIndexInOrder) {
  TempFolder folder;
  auto store = openLive(folder);
  auto& indents = store->table<TAlloc>();
  struct Row {
    int serial;
    const char* active;
    int cls;
    const char* priority;
  };
  for (Row r : {Row{1, "Y", 5, "Z"}, Row{2, "N", 5, "A"}, Row{3, "Y", 5, "B"}, Row{4, "Y", 4, "A"}, Row{5, "Y", 5, "B"}}) {
    TAlloc a;
    a.ASCHOOL = 1;
    a.ASERIALNO = r.serial;
    a.AACTIVE = r.active;
    a.ACLASS = r.cls;
    a.APRIORITY = r.priority;
    ASSERT_EQ(indents.insert(a), WriteStatus::Ok);
  }
  std::vector<int> serials;
  for (const TAlloc& a : indents.range(TAlloc::ALLOCLAS, {1, "Y", 5})) serials.push_back(a.ASERIALNO);
  EXPECT_EQ(serials, (std::vector<int>{3, 5, 1}));  // by priority letter, ties by serial
  serials.clear();
  for (const TAlloc& a : indents.range(TAlloc::ALLOCLAS, {1})) serials.push_back(a.ASERIALNO);
  EXPECT_EQ(serials, (std::vector<int>{2, 4, 3, 5, 1}));  // passive ("N") before active
}

TEST(Store, RolledBackTransactionLeavesEveryTableAsItWas) {
  TempFolder folder;
  auto store = openLive(folder);
  {
    Transaction tx(*store);
    TClas c;
    c.CSCHOOL = 1;
    c.CLSNAME = "1A";
    c.CLSCODE = 1;
    ASSERT_EQ(store->table<TClas>().insert(c), WriteStatus::Ok);
    TSubj s;
    s.SUBNAME = "Maths";
    s.SUBCODE = 1;
    ASSERT_EQ(store->table<TSubj>().insert(s), WriteStatus::Ok);
  }
  EXPECT_EQ(store->table<TClas>().count(TClas::primary), 0);
  EXPECT_EQ(store->table<TSubj>().count(TSubj::primary), 0);
  {
    Transaction tx(*store);
    TSubj s;
    s.SUBNAME = "Maths";
    s.SUBCODE = 1;
    ASSERT_EQ(store->table<TSubj>().insert(s), WriteStatus::Ok);
    tx.commit();
  }
  store.reset();
  auto reopened = openLive(folder);
  EXPECT_EQ(reopened->table<TSubj>().count(TSubj::primary), 1);
}

TEST(Store, AFileThatIsNotATableFileIsReportedAndLeftUntouched) {
  TempFolder folder;
  std::filesystem::create_directories(folder.path() / "Data");
  auto file = folder.path() / "Data" / "tvrl_4.db";
  { std::ofstream(file) << "these are somebody's notes, not a table"; }
  auto store = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
  ASSERT_FALSE(store.ok());
  EXPECT_NE(store.error().find(file.string()), std::string::npos) << store.error();
  std::ifstream in(file);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "these are somebody's notes, not a table");
}

TEST(Store, AReadOnlyDataFolderIsAClearError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes to read-only folders";
  TempFolder folder;
  std::filesystem::create_directories(folder.path() / "Data");
  std::filesystem::permissions(folder.path() / "Data", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  auto store = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
  ASSERT_FALSE(store.ok());
  EXPECT_NE(store.error().find("read-only"), std::string::npos) << store.error();
}

TEST(Store, EmptyingKeepsTheInstitutionHelpTextsAndReportCatalogue) {
  TempFolder folder;
  auto store = openLive(folder);
  TWin w;
  w.WINCODE = "FM";
  w.WINNAME = "Main Menu";
  ASSERT_EQ(store->table<TWin>().insert(w), WriteStatus::Ok);
  TReps r;
  r.REPNAME = "Class Timetable";
  r.REPCODE = 1;
  ASSERT_EQ(store->table<TReps>().insert(r), WriteStatus::Ok);
  TSubj s;
  s.SUBNAME = "Maths";
  s.SUBCODE = 1;
  ASSERT_EQ(store->table<TSubj>().insert(s), WriteStatus::Ok);
  store->emptyTables();
  EXPECT_EQ(store->table<TWin>().count(TWin::primary), 1);
  EXPECT_EQ(store->table<TReps>().count(TReps::primary), 1);
  EXPECT_EQ(store->table<TSubj>().count(TSubj::primary), 0);
  EXPECT_EQ(store->table<TInst>().all().size(), 1u);
}

TEST(Store, IndexRebuildRestoresMissingIndexesAndDropsForeignOnes) {
  TempFolder folder;
  {
    auto store = openLive(folder);
  }
  auto file = folder.path() / "Data" / "tvrl_1.db";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "DROP INDEX CLASCODE; CREATE INDEX stray ON TClas(CLSNOTES);", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);

  auto store = openLive(folder);
  store->rebuildIndexes();
  TClas c;
  c.CSCHOOL = 1;
  c.CLSNAME = "1A";
  c.CLSCODE = 3;
  ASSERT_EQ(store->table<TClas>().insert(c), WriteStatus::Ok);
  c.CLSNAME = "1B";
  EXPECT_EQ(store->table<TClas>().insert(c), WriteStatus::DuplicateKey);  // CLASCODE is unique again
  store.reset();
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  int stray = -1;
  sqlite3_exec(db, "SELECT count(*) FROM sqlite_master WHERE name = 'stray'",
               [](void* out, int, char** values, char**) { *static_cast<int*>(out) = std::atoi(values[0]); return 0; },
               &stray, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(stray, 0);
}

}  // namespace
}  // namespace tavrel::store
