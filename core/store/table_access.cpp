#include "core/store/table.h"

#include <stdexcept>

namespace tavrel::store {

namespace {

// Statement slots: the kind in the low byte, then index and key length.
enum SlotKind : int {
  kSelectKey = 1,
  kSelectFirst,
  kCount,
  kDeleteKey,
  kSelectRowid,
  kSelectAll,
  kInsert,
  kUpdate,
  kDeleteRowid,
  kDeleteAll
};

int slot(SlotKind kind, int index = 0, std::size_t keyLength = 0) {
  return kind | (index << 8) | (static_cast<int>(keyLength) << 16);
}

}  // namespace

TableAccess::TableAccess(Connection& connection, const TableDef& def, std::string schema)
    : connection_(connection), def_(def), schema_(std::move(schema)) {}

Statement& TableAccess::cached(int key, const std::function<std::string()>& sql) {
  auto it = statements_.find(key);
  if (it == statements_.end()) {
    it = statements_.emplace(key, std::make_unique<Statement>(connection_.handle(), sql())).first;
  }
  return *it->second;
}

std::string TableAccess::columnList() const {
  std::string columns;
  for (const FieldDef& field : def_.fields) {
    if (!columns.empty()) columns += ", ";
    columns += field.name;
  }
  return columns;
}

std::string TableAccess::whereClause(int index, std::size_t keyLength) const {
  if (keyLength == 0) return {};
  const IndexDef& def = def_.indexes.at(static_cast<std::size_t>(index));
  if (keyLength > def.fields.size()) throw std::logic_error("key longer than index " + std::string(def.name));
  std::string where = " WHERE ";
  for (std::size_t i = 0; i < keyLength; ++i) {
    if (i) where += " AND ";
    where += def_.fields[static_cast<std::size_t>(def.fields[i])].name;
    where += " = ?" + std::to_string(i + 1);
  }
  return where;
}

std::string TableAccess::orderClause(int index) const {
  std::string order = " ORDER BY ";
  if (!def_.indexes.empty()) {
    for (int field : def_.indexes.at(static_cast<std::size_t>(index)).fields) {
      order += def_.fields[static_cast<std::size_t>(field)].name;
      order += ", ";
    }
  }
  return order + "rowid";
}

Statement& TableAccess::selectByKey(int index, std::size_t keyLength, bool firstOnly) {
  return cached(slot(firstOnly ? kSelectFirst : kSelectKey, index, keyLength), [&] {
    return "SELECT rowid, " + columnList() + " FROM " + qualifiedName() + whereClause(index, keyLength) +
           orderClause(index) + (firstOnly ? " LIMIT 1" : "");
  });
}

Statement& TableAccess::countByKey(int index, std::size_t keyLength) {
  return cached(slot(kCount, index, keyLength),
                [&] { return "SELECT count(*) FROM " + qualifiedName() + whereClause(index, keyLength); });
}

Statement& TableAccess::deleteByKey(int index, std::size_t keyLength) {
  return cached(slot(kDeleteKey, index, keyLength),
                [&] { return "DELETE FROM " + qualifiedName() + whereClause(index, keyLength); });
}

Statement& TableAccess::selectByRowid() {
  return cached(slot(kSelectRowid),
                [&] { return "SELECT rowid, " + columnList() + " FROM " + qualifiedName() + " WHERE rowid = ?1"; });
}

Statement& TableAccess::selectAll() {
  return cached(slot(kSelectAll),
                [&] { return "SELECT rowid, " + columnList() + " FROM " + qualifiedName() + " ORDER BY rowid"; });
}

Statement& TableAccess::insert() {
  return cached(slot(kInsert), [&] {
    std::string values;
    for (std::size_t i = 0; i < def_.fields.size(); ++i) values += (i ? ", ?" : "?") + std::to_string(i + 1);
    return "INSERT INTO " + qualifiedName() + " (" + columnList() + ") VALUES (" + values + ")";
  });
}

Statement& TableAccess::update() {
  return cached(slot(kUpdate), [&] {
    std::string sets;
    for (std::size_t i = 0; i < def_.fields.size(); ++i) {
      if (i) sets += ", ";
      sets += std::string(def_.fields[i].name) + " = ?" + std::to_string(i + 1);
    }
    return "UPDATE " + qualifiedName() + " SET " + sets + " WHERE rowid = ?" + std::to_string(def_.fields.size() + 1);
  });
}

Statement& TableAccess::updateFields(std::uint64_t fields) {
  auto it = fieldUpdates_.find(fields);
  if (it != fieldUpdates_.end()) return *it->second;
  if (def_.fields.size() > 64) throw std::logic_error("too many fields for an update by field: " + qualifiedName());
  std::string sets;
  int position = 0;
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (!(fields & (std::uint64_t{1} << i))) continue;
    if (position) sets += ", ";
    sets += std::string(def_.fields[i].name) + " = ?" + std::to_string(++position);
  }
  const std::string sql =
      "UPDATE " + qualifiedName() + " SET " + sets + " WHERE rowid = ?" + std::to_string(position + 1);
  return *fieldUpdates_.emplace(fields, std::make_unique<Statement>(connection_.handle(), sql)).first->second;
}

Statement& TableAccess::deleteByRowid() {
  return cached(slot(kDeleteRowid), [&] { return "DELETE FROM " + qualifiedName() + " WHERE rowid = ?1"; });
}

Statement& TableAccess::deleteAll() {
  return cached(slot(kDeleteAll), [&] { return "DELETE FROM " + qualifiedName(); });
}

void TableAccess::bindKey(Statement& statement, const Key& key, int firstPosition) {
  int position = firstPosition;
  for (const KeyValue& value : key.values()) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      statement.bind(position++, *number);
    } else {
      statement.bind(position++, std::get<std::string>(value));
    }
  }
}

}  // namespace tavrel::store
