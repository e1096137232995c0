#include "core/store/store.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <system_error>

namespace tavrel::store {

namespace fs = std::filesystem;

struct Store::Group {
  Database database;
  int mainTable;
  std::vector<int> attachedTables;
  std::unique_ptr<Connection> connection;
};

namespace {

constexpr int kHighestTableNumber = 30;

struct GroupLayout {
  Database database;
  int mainTable;
  std::vector<int> attachedTables;
};

const std::vector<GroupLayout>& groupLayouts() {
  static const std::vector<GroupLayout> layouts{
      {Database::Main, 8, {1, 2, 4, 5, 6, 9, 10, 11, 16, 17}},
      {Database::Main, 26, {3, 7, 18, 19, 20, 22, 24, 25, 29, 30}},
      {Database::Window, 28, {21, 23}},
  };
  return layouts;
}

std::string schemaOf(const GroupLayout& layout, int table) {
  return table == layout.mainTable ? "main" : "t" + std::to_string(table);
}

std::string sqlType(FieldKind kind) {
  switch (kind) {
    case FieldKind::Int:
    case FieldKind::Bool:
      return "INTEGER NOT NULL DEFAULT 0";
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::Date:
      return "TEXT NOT NULL DEFAULT ''";
  }
  return "TEXT";
}

std::string fieldList(const TableDef& def, const IndexDef& index) {
  std::string list;
  for (int field : index.fields) {
    if (!list.empty()) list += ", ";
    list += def.fields[static_cast<std::size_t>(field)].name;
  }
  return list;
}

// SQL name of an index inside its file: the given name; the unnamed primary key gets "<table>_primary".
std::string indexName(const TableDef& def, const IndexDef& index) {
  return index.name == "primary" ? std::string(def.component) + "_primary" : std::string(index.name);
}

// A table file must be an SQLite database (or empty, which SQLite treats as a new one). Checking the
// header before SQLite touches the file guarantees a foreign file is never written to.
Status checkTableFile(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return {};
  if (!fs::is_regular_file(file, ec)) return Error{"The table file " + file.string() + " is not a regular file."};
  auto size = fs::file_size(file, ec);
  if (ec) return Error{"Cannot read the table file " + file.string() + ": " + ec.message()};
  if (size == 0) return {};
  std::ifstream in(file, std::ios::binary);
  std::array<char, 16> header{};
  in.read(header.data(), header.size());
  static constexpr char kMagic[] = "SQLite format 3";  // followed by a zero byte
  if (!in || !std::equal(std::begin(kMagic), std::end(kMagic), header.begin())) {
    return Error{"The table file " + file.string() +
                 " is not a valid Tavrel table file (not an SQLite database). It was left untouched; "
                 "restore it from a backup or move it away."};
  }
  return {};
}

Status prepareFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Error{"Cannot create the data folder " + folder.string() + ": " + ec.message()};
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return Error{"The data folder " + folder.string() +
                 " is read-only. Tavrel keeps its tables there and needs to write to it."};
  }
  return {};
}

}  // namespace

TInst newInstitution() {
  TInst record;
  record.INSTITUTION = "UNKNOWN INSTITUTION";
  record.ISECTION = 0;
  record.ISUBJECT = 0;
  record.IDSUL_CLASS = 1;
  record.IDTUL_CLASS = 1;
  record.IDTUL_DAY = 12;
  record.IDTUL_WEEK = 108;
  record.IDTSQUL = 3;
  record.ISUL_CLASS = true;
  record.ITUL_CLASS = true;
  record.ITUL_DAY = true;
  record.ITSQUL = false;
  record.IASAVE = false;
  record.IVIEW = "B";
  record.IVIEWTIME = 5;
  return record;
}

Store::Store(ProgramFolders folders, DataSet dataSet) : folders_(std::move(folders)), dataSet_(dataSet) {}

Store::~Store() {
  // Statements must go before their connections.
  typedTables_.clear();
  accesses_.clear();
  groups_.clear();
}

Result<std::unique_ptr<Store>> Store::open(const ProgramFolders& folders, DataSet dataSet) {
  std::unique_ptr<Store> store(new Store(folders, dataSet));
  try {
    Status opened = store->openGroups();
    if (!opened) return Error{opened.error()};
    store->institution();
  } catch (const StoreError& error) {
    return Error{std::string("The tables in ") + store->mainFolder().string() + " cannot be opened: " + error.what()};
  }
  return store;
}

Status Store::openGroups() {
  Status live = prepareFolder(folders_.live());
  if (!live) return live;
  if (dataSet_ == DataSet::Sample) {
    Status sample = prepareFolder(folders_.sample());
    if (!sample) return sample;
  }
  accesses_.resize(kHighestTableNumber + 1);
  typedTables_.resize(kHighestTableNumber + 1);
  for (const GroupLayout& layout : groupLayouts()) {
    auto group = std::make_unique<Group>(Group{layout.database, layout.mainTable, layout.attachedTables, nullptr});
    fs::path folder = layout.database == Database::Window ? folders_.live() : mainFolder();
    Status opened = openGroup(*group, folder);
    if (!opened) return opened;
    groups_.push_back(std::move(group));
  }

#define TAVREL_MAKE_TYPED_TABLE(component, number_, database_, scope_) \
  typedTables_[number_] = std::make_shared<Table<component>>(*accesses_[number_]);
  TAVREL_ALL_TABLES(TAVREL_MAKE_TYPED_TABLE)
#undef TAVREL_MAKE_TYPED_TABLE
  return {};
}

Status Store::openGroup(Group& group, const fs::path& folder) {
  std::vector<int> tables{group.mainTable};
  tables.insert(tables.end(), group.attachedTables.begin(), group.attachedTables.end());
  for (int number : tables) {
    Status file = checkTableFile(folder / tableByNumber(number)->fileName());
    if (!file) return file;
  }
  const GroupLayout layout{group.database, group.mainTable, group.attachedTables};
  group.connection = std::make_unique<Connection>(folder / tableByNumber(group.mainTable)->fileName());
  Connection& connection = *group.connection;
  connection.execute("PRAGMA busy_timeout = 2000");
  for (int number : group.attachedTables) {
    connection.attach(folder / tableByNumber(number)->fileName(), schemaOf(layout, number));
  }
  if (group.mainTable == TTtbl::kNumber) connection.execute("PRAGMA main.cache_size = -16000");
  // One transaction for the whole group: creating a new data set is one commit, not one per table.
  connection.execute("BEGIN");
  for (int number : tables) {
    const TableDef& def = *tableByNumber(number);
    std::string schema = schemaOf(layout, number);
    try {
      ensureTable(connection, schema, def);
    } catch (const StoreError& error) {
      connection.execute("ROLLBACK");
      return Error{"The table file " + (folder / def.fileName()).string() + " cannot be used: " + error.what()};
    }
    accesses_[static_cast<std::size_t>(number)] = std::make_unique<TableAccess>(connection, def, schema);
  }
  connection.execute("COMMIT");
  return {};
}

// `MakeTblProc` for one table: creates the table in its file when missing, adds fields a file of an
// earlier version lacks, and builds the indexes the file does not have yet.
void Store::ensureTable(Connection& connection, const std::string& schema, const TableDef& def) {
  std::string table = schema + "." + std::string(def.component);
  std::set<std::string> existingColumns;
  {
    Statement info(connection.handle(), "PRAGMA " + schema + ".table_info(" + std::string(def.component) + ")");
    while (info.step()) existingColumns.insert(info.columnText(1));
  }
  if (existingColumns.empty()) {
    std::string columns;
    for (const FieldDef& field : def.fields) {
      if (!columns.empty()) columns += ", ";
      columns += std::string(field.name) + " " + sqlType(field.kind);
    }
    connection.execute("CREATE TABLE " + table + " (" + columns + ")");
  } else {
    for (const FieldDef& field : def.fields) {
      if (!existingColumns.count(std::string(field.name))) {
        connection.execute("ALTER TABLE " + table + " ADD COLUMN " + std::string(field.name) + " " + sqlType(field.kind));
      }
    }
  }
  for (const IndexDef& index : def.indexes) {
    connection.execute(std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS " + schema +
                       "." + indexName(def, index) + " ON " + std::string(def.component) + " (" +
                       fieldList(def, index) + ")");
  }
}

void Store::rebuildIndexes() {
  for (const auto& group : groups_) {
    group->connection->execute("BEGIN");
    const GroupLayout layout{group->database, group->mainTable, group->attachedTables};
    std::vector<int> tables{group->mainTable};
    tables.insert(tables.end(), group->attachedTables.begin(), group->attachedTables.end());
    for (int number : tables) {
      const TableDef& def = *tableByNumber(number);
      std::string schema = schemaOf(layout, number);
      std::set<std::string> wanted;
      for (const IndexDef& index : def.indexes) wanted.insert(indexName(def, index));
      std::vector<std::string> stale;
      {
        Statement list(group->connection->handle(),
                       "SELECT name FROM " + schema + ".sqlite_master WHERE type = 'index' AND sql IS NOT NULL");
        while (list.step()) {
          std::string name = list.columnText(0);
          if (!wanted.count(name)) stale.push_back(name);
        }
      }
      for (const std::string& name : stale) group->connection->execute("DROP INDEX " + schema + "." + name);
      ensureTable(*group->connection, schema, def);
    }
    group->connection->execute("COMMIT");
  }
}

void Store::emptyTables() {
  for (const TableDef* def : allTables()) {
    if (def->number == TReps::kNumber || def->number == TWin::kNumber || def->number == TInst::kNumber) continue;
    Statement& erase = accesses_[static_cast<std::size_t>(def->number)]->deleteAll();
    erase.step();
    erase.reset();
  }
}

TInst Store::institution() {
  auto& table = this->table<TInst>();
  std::vector<TInst> records = table.all();
  if (!records.empty()) return records.front();
  TInst record = newInstitution();
  if (table.insert(record) != WriteStatus::Ok) throw StoreError("cannot create the institution record", 0);
  return record;
}

void Store::saveInstitution(const TInst& record) {
  TInst copy = record;
  if (copy.rowid == 0) copy.rowid = institution().rowid;
  table<TInst>().update(copy);
}

void Store::begin() {
  ++depth_;
  std::string savepoint = "SAVEPOINT level" + std::to_string(depth_);
  for (const auto& group : groups_) group->connection->execute(savepoint);
}

void Store::commit() {
  if (depth_ == 0) return;
  std::string release = "RELEASE level" + std::to_string(depth_);
  for (const auto& group : groups_) group->connection->execute(release);
  --depth_;
}

void Store::rollback() {
  if (depth_ == 0) return;
  std::string level = "level" + std::to_string(depth_);
  for (const auto& group : groups_) {
    try {
      group->connection->execute("ROLLBACK TO " + level);
      group->connection->execute("RELEASE " + level);
    } catch (const StoreError&) {
      // The savepoint is already gone (SQLite rolled the transaction back itself after an I/O
      // error); there is nothing left to undo on this connection.
    }
  }
  --depth_;
}

void Store::checkpoint() {
  if (depth_ != 1) return;
  commit();
  begin();
}

}  // namespace tavrel::store
