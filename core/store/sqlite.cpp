#include "core/store/sqlite.h"

#include <sqlite3.h>

namespace tavrel::store {

namespace {

[[noreturn]] void fail(sqlite3* db, int code, std::string_view context) {
  std::string message(context);
  message += ": ";
  message += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  throw StoreError(message, code);
}

}  // namespace

bool isConstraintViolation(const StoreError& error) { return (error.code() & 0xff) == SQLITE_CONSTRAINT; }

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                              &stmt_, nullptr);
  if (rc != SQLITE_OK) fail(db, rc, std::string("prepare ") + std::string(sql));
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
  other.db_ = nullptr;
  other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    db_ = other.db_;
    stmt_ = other.stmt_;
    other.db_ = nullptr;
    other.stmt_ = nullptr;
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::bind(int position, std::int64_t value) {
  int rc = sqlite3_bind_int64(stmt_, position, value);
  if (rc != SQLITE_OK) fail(db_, rc, "bind");
}

void Statement::bind(int position, std::string_view text) {
  int rc = sqlite3_bind_text(stmt_, position, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) fail(db_, rc, "bind");
}

void Statement::bindNull(int position) {
  int rc = sqlite3_bind_null(stmt_, position);
  if (rc != SQLITE_OK) fail(db_, rc, "bind");
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  int extended = sqlite3_extended_errcode(db_);
  std::string message = sqlite3_errmsg(db_);
  sqlite3_reset(stmt_);
  throw StoreError(message, extended);
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::columnInt(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::columnText(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

bool Statement::columnIsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

Connection::Connection(const std::filesystem::path& file) {
  int rc = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("Cannot open " + file.string() + ": " + message, rc);
  }
  sqlite3_extended_result_codes(db_, 1);
}

Connection::~Connection() { sqlite3_close_v2(db_); }

void Connection::execute(std::string_view sql) {
  char* error = nullptr;
  std::string text(sql);
  int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::string message = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw StoreError(message, sqlite3_extended_errcode(db_));
  }
}

void Connection::attach(const std::filesystem::path& file, std::string_view schema) {
  Statement attach(db_, "ATTACH DATABASE ?1 AS " + std::string(schema));
  attach.bind(1, file.string());
  attach.step();
}

std::int64_t Connection::lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }

int Connection::changes() const { return sqlite3_changes(db_); }

}  // namespace tavrel::store
