#include "core/grid/grid_owner.h"

#include "core/store/lookups.h"

namespace tavrel::grid {

using namespace store;

char rowType(GridKind kind) {
  switch (kind) {
    case GridKind::Class:
      return 'C';
    case GridKind::Resource:
      return 'T';
    case GridKind::School:
      return 'L';
  }
  return 'C';
}

std::optional<GridKind> gridKindOfView(char viewKind) {
  switch (viewKind) {
    case 'C':
      return GridKind::Class;
    case 'T':
      return GridKind::Resource;
    case 'L':
      return GridKind::School;
    default:
      return std::nullopt;
  }
}

std::optional<GridOwner> currentOwner(Session& session) {
  auto kind = gridKindOfView(session.viewKind);
  if (!kind) return std::nullopt;
  switch (*kind) {
    case GridKind::Class:
      if (auto row = session.classes().current()) return GridOwner{*kind, row->CLSCODE};
      return std::nullopt;
    case GridKind::Resource:
      if (auto row = session.resources().current()) return GridOwner{*kind, row->TCHCODE};
      return std::nullopt;
    case GridKind::School:
      if (session.schoolCode() > 0) return GridOwner{*kind, session.schoolCode()};
      return std::nullopt;
  }
  return std::nullopt;
}

std::string ownerName(Store& store, int school, GridOwner owner) {
  switch (owner.kind) {
    case GridKind::Class:
      return className(store, school, owner.code);
    case GridKind::Resource:
      return resourceName(store, school, owner.code);
    case GridKind::School:
      return schoolName(store, owner.code);
  }
  return {};
}

int availabilityTotal(Store& store, int school, GridOwner owner) {
  switch (owner.kind) {
    case GridKind::Class: {
      auto row = store.table<TClas>().find(TClas::CLASCODE, {school, owner.code});
      return row ? row->CLSTOTLEC : 0;
    }
    case GridKind::Resource: {
      auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, owner.code});
      return row ? row->TCHTOTLEC : 0;
    }
    case GridKind::School: {
      auto row = store.table<TSchl>().find(TSchl::SCLCODE, {owner.code});
      return row ? row->STOTLEC : 0;
    }
  }
  return 0;
}

void setAvailabilityTotal(Store& store, int school, GridOwner owner, int total) {
  switch (owner.kind) {
    case GridKind::Class:
      if (auto row = store.table<TClas>().find(TClas::CLASCODE, {school, owner.code})) {
        row->CLSTOTLEC = total;
        store.table<TClas>().update(*row);
      }
      return;
    case GridKind::Resource:
      if (auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, owner.code})) {
        row->TCHTOTLEC = total;
        store.table<TTeac>().update(*row);
      }
      return;
    case GridKind::School:
      if (auto row = store.table<TSchl>().find(TSchl::SCLCODE, {owner.code})) {
        row->STOTLEC = total;
        store.table<TSchl>().update(*row);
      }
      return;
  }
}

int ownerFlushCode(GridKind kind) {
  switch (kind) {
    case GridKind::Class:
      return kFlushClasses;
    case GridKind::Resource:
      return kFlushResources;
    case GridKind::School:
      return kFlushSchools;
  }
  return kFlushClasses;
}

}  // namespace tavrel::grid
