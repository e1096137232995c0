#include "core/store/tables.h"

#include <stdexcept>

namespace tavrel::store {

int TableDef::fieldPosition(std::string_view name) const {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// Index fields are written "F1;F2" in the catalogue; resolve them to positions once.
IndexDef makeIndex(const std::vector<FieldDef>& fields, std::string_view name, bool unique,
                   std::string_view spec) {
  IndexDef index{name, unique, {}};
  std::size_t start = 0;
  while (start <= spec.size()) {
    std::size_t end = spec.find(';', start);
    if (end == std::string_view::npos) end = spec.size();
    std::string_view field = spec.substr(start, end - start);
    int position = -1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].name == field) position = static_cast<int>(i);
    }
    if (position < 0) throw std::logic_error("index " + std::string(name) + " names unknown field " + std::string(field));
    index.fields.push_back(position);
    start = end + 1;
  }
  return index;
}

}  // namespace

#define TAVREL_FIELD_DEF(name, kind, width) FieldDef{#name, FieldKind::kind, width},
#define TAVREL_INDEX_DEF(name, unique, spec) makeIndex(def.fields, #name, unique, spec),
#define TAVREL_DEFINE_TABLE(component, number_, database_, scope_)                            \
  const TableDef& component::def() {                                                          \
    static const TableDef instance = [] {                                                     \
      TableDef def{#component, number_, Database::database_, Scope::scope_,                   \
                   {TAVREL_FIELDS_##component(TAVREL_FIELD_DEF)}, {}};                        \
      def.indexes = {TAVREL_INDEXES_##component(TAVREL_INDEX_DEF)};                           \
      return def;                                                                             \
    }();                                                                                      \
    return instance;                                                                          \
  }

TAVREL_ALL_TABLES(TAVREL_DEFINE_TABLE)

#define TAVREL_TABLE_POINTER(component, number_, database_, scope_) &component::def(),

std::span<const TableDef* const> allTables() {
  static const std::vector<const TableDef*> tables{TAVREL_ALL_TABLES(TAVREL_TABLE_POINTER)};
  return tables;
}

const TableDef* tableByNumber(int number) {
  for (const TableDef* table : allTables()) {
    if (table->number == number) return table;
  }
  return nullptr;
}

}  // namespace tavrel::store
