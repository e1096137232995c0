#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/store/store.h"
#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

// Writes forever: each command changes a class counter and a timetable cell in one transaction,
// always to the same number, so that any committed state has them equal. A byte on `report`
// tells the parent of each commit.
[[noreturn]] void writeUntilKilled(const std::filesystem::path& program, int report) {
  auto store = std::move(Store::open(ProgramFolders{program}, DataSet::Live).value());
  for (int n = 1;; ++n) {
    Transaction tx(*store);
    auto cls = *store->table<TClas>().find(TClas::CLASCODE, {1, 1});
    auto cell = *store->table<TTtbl>().find(TTtbl::TIMESCHL, {1, "C", 1, 1, 1});
    cls.CLSTOTALL = n;
    cell.TSERIAL = n;
    store->table<TClas>().update(cls);
    store->table<TTtbl>().update(cell);
    TSDAll day;  // some growth as well, so that pages are added while the process dies
    day.SDSCHOOL = 1;
    day.SDCLASS = n;
    day.SDSUBJECT = 1;
    day.SDDAYNO = 1;
    store->table<TSDAll>().insert(day);
    tx.commit();
    char done = 1;
    if (write(report, &done, 1) != 1) _exit(1);
  }
}

std::string integrityOf(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  std::string result;
  if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
          *static_cast<std::string*>(out) += values[0];
          return 0;
        },
        &result, nullptr);
  }
  sqlite3_close(db);
  return result;
}

TEST(CrashSafety, AKilledWriterLeavesEveryFileIntactAndEachCommandWhole) {
  testing::TempFolder folder;
  {
    auto store = std::move(Store::open(ProgramFolders{folder.path()}, DataSet::Live).value());
    TClas cls;
    cls.CSCHOOL = 1;
    cls.CLSCODE = 1;
    cls.CLSNAME = "1A";
    ASSERT_EQ(store->table<TClas>().insert(cls), WriteStatus::Ok);
    TTtbl cell;
    cell.TSCHOOL = 1;
    cell.TTYPE = "C";
    cell.TSCHL = 1;
    cell.TCLASS = 1;
    cell.TDAY = 1;
    cell.TLECTNO = 1;
    ASSERT_EQ(store->table<TTtbl>().insert(cell), WriteStatus::Ok);
  }
  int committed = 0;
  // The writer is killed a few commits in, at a different moment of its next command each time.
  for (int delayMs : {0, 1, 3, 7, 15}) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeEnds[0]);
      writeUntilKilled(folder.path(), pipeEnds[1]);
    }
    close(pipeEnds[1]);
    char done;
    for (int commits = 0; commits < 3 && read(pipeEnds[0], &done, 1) == 1; ++commits) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    kill(child, SIGKILL);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);

    // Opening rolls back whatever the killed process left half done.
    auto reopened = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
    ASSERT_TRUE(reopened.ok()) << reopened.error();
    auto& store = *reopened.value();
    auto cls = store.table<TClas>().find(TClas::CLASCODE, {1, 1});
    auto cell = store.table<TTtbl>().find(TTtbl::TIMESCHL, {1, "C", 1, 1, 1});
    ASSERT_TRUE(cls && cell);
    EXPECT_EQ(cls->CLSTOTALL, cell->TSERIAL) << "after " << delayMs << " ms";
    committed = cls->CLSTOTALL;
    reopened.value().reset();
    for (const TableDef* def : allTables()) {
      auto file = folder.path() / "Data" / def->fileName();
      EXPECT_EQ(integrityOf(file), "ok") << def->fileName() << " after " << delayMs << " ms";
    }
  }
  EXPECT_GT(committed, 0) << "the writer never got to commit: the test proved nothing";
}

}  // namespace
}  // namespace tavrel::store
