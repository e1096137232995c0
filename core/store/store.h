// The table store: every table of the data set, one SQLite file per table, opened together.
//
// Files and connections. SQLite lets one connection hold at most eleven files (a main file and
// ten attached), and only files on one connection commit atomically together. The tables are
// therefore grouped by the commands that change them together:
//   timetable group   TTtbl with TClas, TTeac, TAlloc, TTOcc, TSOcc, TSchl, TSDAll, TTDAll, TSctl,
//                     TTDMAll: every allocation, release and counter change commits atomically.
//   institution group TInst with TSubj, TOptn, the report settings, the engine's parameter rows,
//                     TBackHist and TProxy.
//   window group      TWin with TRPCode and TReps (database DBtvw, always in the live folder).
// A command commits the groups one after the other; a crash between two group commits can leave a
// counter of one group behind the other, which the statistics repair recomputes. No file is ever
// left half-written: each group commit is SQLite's own atomic commit.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/store/sqlite.h"
#include "core/store/table.h"
#include "core/store/tables.h"
#include "core/util/result.h"

namespace tavrel::store {

enum class DataSet { Live, Sample };

// The folders below the program folder (the folder of the executable).
struct ProgramFolders {
  std::filesystem::path program;

  std::filesystem::path live() const { return program / "Data"; }
  std::filesystem::path sample() const { return program / "Samples"; }
  std::filesystem::path backupCurrent() const { return live() / "Backup Current"; }
  std::filesystem::path backupPrevious() const { return live() / "Backup Previous"; }
  std::filesystem::path dataSet(DataSet set) const { return set == DataSet::Live ? live() : sample(); }
};

class Store {
 public:
  // Opens every table of the data set, creating a missing folder and missing table files empty
  // (`MakeTblProc`). A file that is not a table file of ours is reported and left as it is.
  static Result<std::unique_ptr<Store>> open(const ProgramFolders& folders, DataSet dataSet);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  template <class Row>
  Table<Row>& table() {
    return *static_cast<Table<Row>*>(typedTables_.at(static_cast<std::size_t>(Row::kNumber)).get());
  }

  DataSet dataSet() const { return dataSet_; }
  const ProgramFolders& folders() const { return folders_; }
  std::filesystem::path mainFolder() const { return folders_.dataSet(dataSet_); }

  // Builds every index of the definitions that the files lack and drops indexes that are no
  // longer defined: after this every index of Part 1.1 is consistent with its records.
  void rebuildIndexes();

  // Group operation 4: empties every table except the report catalogue and the help texts.
  void emptyTables();

  // The institution record; a new data set gets its single record with the initial values.
  TInst institution();
  void saveInstitution(const TInst& record);

  // Transactions span every connection. Nested transactions join the outermost one, which alone
  // commits. A command that is not committed (an exception, an early return) is rolled back.
  void begin();
  void commit();
  void rollback();
  void checkpoint();  // outermost transaction only: commit what is done and go on
  bool inTransaction() const { return depth_ > 0; }

 private:
  struct Group;
  Store(ProgramFolders folders, DataSet dataSet);
  Status openGroups();
  Status openGroup(Group& group, const std::filesystem::path& folder);
  void ensureTable(Connection& connection, const std::string& schema, const TableDef& def);

  ProgramFolders folders_;
  DataSet dataSet_;
  std::vector<std::unique_ptr<Group>> groups_;
  std::vector<std::unique_ptr<TableAccess>> accesses_;            // by table number
  std::vector<std::shared_ptr<void>> typedTables_;                // Table<Row> by table number
  int depth_ = 0;
};

// RAII form of a command's transaction.
class Transaction {
 public:
  explicit Transaction(Store& store) : store_(store) { store_.begin(); }
  ~Transaction() {
    if (!done_) store_.rollback();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit() {
    done_ = true;
    store_.commit();
  }
  // Long commands make their work durable at the points where the system flushes.
  void checkpoint() { store_.checkpoint(); }
  // Gives up what the command wrote since it began (or since its last checkpoint).
  void rollback() {
    if (done_) return;
    done_ = true;
    store_.rollback();
  }

 private:
  Store& store_;
  bool done_ = false;
};

// The initial values of the institution record of a new data set.
TInst newInstitution();

}  // namespace tavrel::store
