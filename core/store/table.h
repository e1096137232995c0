// Generic access to one table: find by a full key on an index, walk a range on an index prefix in
// index order, insert, update, delete and count. Statements are prepared once and kept.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/store/sqlite.h"
#include "core/store/tables.h"
#include "core/util/text.h"

namespace tavrel::store {

using KeyValue = std::variant<std::int64_t, std::string>;

// Values of the leading fields of an index: {school, "Y", classCode}.
class Key {
 public:
  Key() = default;
  Key(std::initializer_list<KeyValue> values) : values_(values) {}
  explicit Key(std::vector<KeyValue> values) : values_(std::move(values)) {}
  const std::vector<KeyValue>& values() const { return values_; }
  std::size_t size() const { return values_.size(); }

 private:
  std::vector<KeyValue> values_;
};

enum class WriteStatus { Ok, DuplicateKey };

// The untyped half: SQL text and the statement cache of one table on its connection.
class TableAccess {
 public:
  TableAccess(Connection& connection, const TableDef& def, std::string schema);

  const TableDef& def() const { return def_; }
  Connection& connection() { return connection_; }

  Statement& selectByKey(int index, std::size_t keyLength, bool firstOnly);
  Statement& countByKey(int index, std::size_t keyLength);
  Statement& deleteByKey(int index, std::size_t keyLength);
  Statement& selectByRowid();
  Statement& selectAll();
  Statement& insert();
  Statement& update();
  // An update of only the fields whose bits are set (bit i: field i); SQLite then leaves the
  // indexes over the other fields alone.
  Statement& updateFields(std::uint64_t fields);
  Statement& deleteByRowid();
  Statement& deleteAll();

  void bindKey(Statement& statement, const Key& key, int firstPosition = 1);
  std::string qualifiedName() const { return schema_ + "." + std::string(def_.component); }

 private:
  Statement& cached(int slot, const std::function<std::string()>& sql);
  std::string whereClause(int index, std::size_t keyLength) const;
  std::string orderClause(int index) const;
  std::string columnList() const;

  Connection& connection_;
  const TableDef& def_;
  std::string schema_;
  std::map<int, std::unique_ptr<Statement>> statements_;
  std::map<std::uint64_t, std::unique_ptr<Statement>> fieldUpdates_;
};

template <class Row>
class Table {
 public:
  explicit Table(TableAccess& access) : access_(access) {}

  // First record (in index order) whose index fields equal the full key.
  std::optional<Row> find(int index, const Key& key) {
    Statement& s = access_.selectByKey(index, key.size(), true);
    access_.bindKey(s, key);
    std::optional<Row> row;
    if (s.step()) row = readRow(s);
    s.reset();
    return row;
  }

  // Every record whose leading index fields equal the prefix, in index order (ties by rowid).
  std::vector<Row> range(int index, const Key& prefix = {}) {
    std::vector<Row> rows;
    forEach(index, prefix, [&rows](const Row& row) { rows.push_back(row); });
    return rows;
  }

  // Walks a range without materialising it. The callback must not write to this table.
  template <class F>
  void forEach(int index, const Key& prefix, F&& f) {
    Statement& s = access_.selectByKey(index, prefix.size(), false);
    access_.bindKey(s, prefix);
    try {
      while (s.step()) f(readRow(s));
    } catch (...) {
      s.reset();
      throw;
    }
    s.reset();
  }

  int count(int index, const Key& prefix = {}) {
    Statement& s = access_.countByKey(index, prefix.size());
    access_.bindKey(s, prefix);
    s.step();
    int n = static_cast<int>(s.columnInt(0));
    s.reset();
    return n;
  }

  std::optional<Row> get(std::int64_t rowid) {
    Statement& s = access_.selectByRowid();
    s.bind(1, rowid);
    std::optional<Row> row;
    if (s.step()) row = readRow(s);
    s.reset();
    return row;
  }

  // Every record in file order.
  std::vector<Row> all() {
    Statement& s = access_.selectAll();
    std::vector<Row> rows;
    while (s.step()) rows.push_back(readRow(s));
    s.reset();
    return rows;
  }

  // Appends the record and gives it its rowid; a second record with the key of a unique index is
  // refused and nothing is written.
  WriteStatus insert(Row& row) {
    Statement& s = access_.insert();
    bindFields(s, row);
    if (!runWrite(s)) return WriteStatus::DuplicateKey;
    row.rowid = access_.connection().lastInsertRowid();
    return WriteStatus::Ok;
  }

  WriteStatus update(const Row& row) {
    Statement& s = access_.update();
    int next = bindFields(s, row);
    s.bind(next, row.rowid);
    return runWrite(s) ? WriteStatus::Ok : WriteStatus::DuplicateKey;
  }

  // Writes only the fields in which `row` differs from `stored`, the record as it was read: an
  // index none of whose fields changed is not touched, so a long command that rewrites a few
  // fields of many records dirties far fewer pages. Nothing is written when nothing differs.
  WriteStatus update(const Row& row, const Row& stored) {
    const std::uint64_t changed = changedFields(row, stored);
    if (changed == 0) return WriteStatus::Ok;
    Statement& s = access_.updateFields(changed);
    int position = 1;
    int field = 0;
    const auto& fields = access_.def().fields;
    row.visit([&](const auto& value) {
      if (changed & (std::uint64_t{1} << field)) {
        bindField(s, position++, value, fields[static_cast<std::size_t>(field)]);
      }
      ++field;
    });
    s.bind(position, row.rowid);
    return runWrite(s) ? WriteStatus::Ok : WriteStatus::DuplicateKey;
  }

  void remove(const Row& row) { removeRowid(row.rowid); }

  void removeRowid(std::int64_t rowid) {
    Statement& s = access_.deleteByRowid();
    s.bind(1, rowid);
    runWrite(s);
  }

  // Deletes every record of a range; returns how many went.
  int removeRange(int index, const Key& prefix) {
    Statement& s = access_.deleteByKey(index, prefix.size());
    access_.bindKey(s, prefix);
    runWrite(s);
    return access_.connection().changes();
  }

  void removeAll() { runWrite(access_.deleteAll()); }

 private:
  static Row readRow(Statement& s) {
    Row row;
    row.rowid = s.columnInt(0);
    int column = 1;
    row.visit([&](auto& field) { readField(s, column++, field); });
    return row;
  }

  static void readField(Statement& s, int column, int& field) { field = static_cast<int>(s.columnInt(column)); }
  static void readField(Statement& s, int column, bool& field) { field = s.columnInt(column) != 0; }
  static void readField(Statement& s, int column, std::string& field) { field = s.columnText(column); }

  int bindFields(Statement& s, const Row& row) {
    int position = 1;
    const auto& fields = access_.def().fields;
    row.visit([&](const auto& field) {
      bindField(s, position, field, fields[static_cast<std::size_t>(position - 1)]);
      ++position;
    });
    return position;
  }

  static void bindField(Statement& s, int position, int field, const FieldDef&) { s.bind(position, std::int64_t{field}); }
  static void bindField(Statement& s, int position, bool field, const FieldDef&) { s.bind(position, std::int64_t{field ? 1 : 0}); }
  static void bindField(Statement& s, int position, const std::string& field, const FieldDef& def) {
    if (def.kind == FieldKind::Text) {
      s.bind(position, text::cutToWidth(field, def.width));
    } else {
      s.bind(position, field);
    }
  }

  // Bit i set when field i of the two rows differs. The fields are compared member by member: the
  // same member of the other row lies at the same offset.
  static std::uint64_t changedFields(const Row& row, const Row& stored) {
    std::uint64_t changed = 0;
    int field = 0;
    const char* const base = reinterpret_cast<const char*>(&row);
    const char* const other = reinterpret_cast<const char*>(&stored);
    row.visit([&](const auto& value) {
      using Value = std::remove_cvref_t<decltype(value)>;
      const auto offset = reinterpret_cast<const char*>(&value) - base;
      if (!(value == *reinterpret_cast<const Value*>(other + offset))) changed |= std::uint64_t{1} << field;
      ++field;
    });
    return changed;
  }

  // Runs a write; false when a unique index refused it.
  static bool runWrite(Statement& s) {
    try {
      s.step();
    } catch (const StoreError& error) {
      s.reset();
      if (isConstraintViolation(error)) return false;
      throw;
    }
    s.reset();
    return true;
  }

  TableAccess& access_;
};

}  // namespace tavrel::store
