// A thin RAII layer over the SQLite C interface: connections, prepared statements and the
// error that every unexpected SQLite failure becomes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tavrel::store {

// An unexpected failure of the table files (disk full, a file that is not a database, I/O error).
// Expected refusals (a duplicate key) are results, not exceptions.
class StoreError : public std::runtime_error {
 public:
  StoreError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, std::string_view sql);
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  void bind(int position, std::int64_t value);
  void bind(int position, std::string_view text);
  void bindNull(int position);
  // Steps once: true while a row is available, false when done. A constraint failure throws
  // StoreError with the SQLite code, which callers that expect it catch.
  bool step();
  void reset();  // reset and clear bindings, ready for the next use

  std::int64_t columnInt(int column) const;
  std::string columnText(int column) const;
  bool columnIsNull(int column) const;

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

class Connection {
 public:
  explicit Connection(const std::filesystem::path& file);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  void execute(std::string_view sql);
  void attach(const std::filesystem::path& file, std::string_view schema);
  std::int64_t lastInsertRowid() const;
  int changes() const;
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// SQLite's primary result code for a violated UNIQUE constraint.
bool isConstraintViolation(const StoreError& error);

}  // namespace tavrel::store
