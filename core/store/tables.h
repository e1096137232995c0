// Typed rows of every table and the table definitions they are read and written by.
// The rows are plain values: `row.CLSREQLEC += n;` then `store.table<TClas>().update(row)`.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/table_catalog.h"

namespace tavrel::store {

enum class FieldKind { Int, Text, Memo, Bool, Date };
enum class Database { Main, Window };  // DBtvwin and DBtvw
enum class Scope { School, Institution, None };

struct FieldDef {
  std::string_view name;
  FieldKind kind;
  int width;  // characters for Text; 0 for the others
};

struct IndexDef {
  std::string_view name;  // "primary" for the unnamed primary key
  bool unique;
  std::vector<int> fields;  // positions in TableDef::fields
};

struct TableDef {
  std::string_view component;  // "TClas"
  int number;                  // the N of tvrl_N.db, also the table's tag
  Database database;
  Scope scope;
  std::vector<FieldDef> fields;
  std::vector<IndexDef> indexes;  // indexes[0] is the primary key (absent for TInst)

  std::string fileName() const { return "tvrl_" + std::to_string(number) + ".db"; }
  int fieldPosition(std::string_view name) const;  // -1 when there is no such field
};

// Every table definition, in declaration order.
std::span<const TableDef* const> allTables();
const TableDef* tableByNumber(int number);

namespace detail {
template <FieldKind K>
struct CppTypeOf;
template <>
struct CppTypeOf<FieldKind::Int> { using type = int; };
template <>
struct CppTypeOf<FieldKind::Text> { using type = std::string; };
template <>
struct CppTypeOf<FieldKind::Memo> { using type = std::string; };
template <>
struct CppTypeOf<FieldKind::Bool> { using type = bool; };
template <>
struct CppTypeOf<FieldKind::Date> { using type = std::string; };  // ISO date, empty when unset
}  // namespace detail

#define TAVREL_ROW_MEMBER(name, kind, width) detail::CppTypeOf<FieldKind::kind>::type name{};
#define TAVREL_ROW_VISIT(name, kind, width) visitor(name);
#define TAVREL_INDEX_ENUM(name, unique, fields) name,

#define TAVREL_DECLARE_ROW(component, number_, database_, scope_)                     \
  struct component {                                                                   \
    static constexpr int kNumber = number_;                                            \
    static const TableDef& def();                                                      \
    enum Index : int { TAVREL_INDEXES_##component(TAVREL_INDEX_ENUM) kIndexCount };    \
    std::int64_t rowid = 0; /* the record's identity in its file; 0 before insert */   \
    TAVREL_FIELDS_##component(TAVREL_ROW_MEMBER)                                       \
    template <class V>                                                                 \
    void visit(V&& visitor) { TAVREL_FIELDS_##component(TAVREL_ROW_VISIT) }           \
    template <class V>                                                                 \
    void visit(V&& visitor) const { TAVREL_FIELDS_##component(TAVREL_ROW_VISIT) }     \
    bool operator==(const component&) const = default;                                 \
  };

TAVREL_ALL_TABLES(TAVREL_DECLARE_ROW)

#undef TAVREL_DECLARE_ROW
#undef TAVREL_INDEX_ENUM
#undef TAVREL_ROW_VISIT
#undef TAVREL_ROW_MEMBER

}  // namespace tavrel::store
