#include "core/grid/grid_navigation.h"

namespace tavrel::grid {

using namespace store;

namespace {

bool passivePresentChosen(Session& session, char list) {
  return session.listFilter() && session.choice(list).status == StatusChoice::PassivePresent;
}

template <class Row>
bool positionOn(Cursor<Row>& cursor, const std::optional<Row>& row) {
  return row && cursor.gotoBookmark(row->rowid);
}

bool positionOnClass(Session& session, int code) {
  return positionOn(session.classes(),
                    session.store().table<TClas>().find(TClas::CLASCODE, {session.schoolCode(), code}));
}

bool positionOnResource(Session& session, int code) {
  return positionOn(session.resources(),
                    session.store().table<TTeac>().find(TTeac::TEACCODE, {session.schoolCode(), code}));
}

std::optional<GridOwner> ownerOfList(Session& session, GridKind kind) {
  if (kind == GridKind::Class) {
    if (auto row = session.classes().current()) return GridOwner{kind, row->CLSCODE};
  } else if (kind == GridKind::Resource) {
    if (auto row = session.resources().current()) return GridOwner{kind, row->TCHCODE};
  }
  return std::nullopt;
}

}  // namespace

bool navigatorEnabled(GridKind kind) {
  return kind != GridKind::School;
}

namespace {

// A skipping step that runs off the end of the list leaves the list on the last item it looked
// at, which need not have a passive indent; the grid then stays on the item it showed, so that it
// never shows an item the choice leaves out.
template <class Row>
void stepSkipping(Session& session, Cursor<Row>& list, Step step, void (Session::*skip)(Step), int index,
                  int Row::*code) {
  const auto before = list.bookmark();
  (session.*skip)(step);
  auto row = list.current();
  const bool hasPassive =
      row && session.store().table<TAlloc>().count(index, {session.schoolCode(), "N", (*row).*code}) > 0;
  if (!hasPassive && before) list.gotoBookmark(*before);
}

}  // namespace

std::optional<GridOwner> stepOwner(Session& session, GridKind kind, Step step) {
  if (kind == GridKind::Class) {
    if (passivePresentChosen(session, 'C')) {
      stepSkipping(session, session.classes(), step, &Session::CNext, TAlloc::ALLOCLAS, &TClas::CLSCODE);
    } else {
      session.Tblop(step, TClas::kNumber);
    }
  } else if (kind == GridKind::Resource) {
    if (passivePresentChosen(session, 'T')) {
      stepSkipping(session, session.resources(), step, &Session::TNext, TAlloc::ALLOTEAC, &TTeac::TCHCODE);
    } else {
      session.Tblop(step, TTeac::kNumber);
    }
  }
  return ownerOfList(session, kind);
}

bool selectOwner(Session& session, GridOwner owner) {
  switch (owner.kind) {
    case GridKind::Class:
      return positionOnClass(session, owner.code);
    case GridKind::Resource:
      return positionOnResource(session, owner.code);
    case GridKind::School:
      return session.setSchool(owner.code);
  }
  return false;
}

std::string toggleCaption(GridKind kind) {
  return kind == GridKind::Class ? "Resource Availa&bility" : "Class Availa&bility";
}

bool toggleEnabled(Session& session, GridKind kind) {
  if (kind == GridKind::Class) return !session.resources().empty();
  if (kind == GridKind::Resource) return !session.classes().empty();
  return false;
}

std::optional<GridOwner> toggleView(Session& session, GridKind kind) {
  if (!toggleEnabled(session, kind)) return std::nullopt;
  const GridKind other = kind == GridKind::Class ? GridKind::Resource : GridKind::Class;
  session.viewKind = rowType(other);
  return ownerOfList(session, other);
}

bool viewRequestEnabled(Session& session, ViewRequest request) {
  switch (request) {
    case ViewRequest::Class:
      return !session.classes().empty();
    case ViewRequest::Resource:
      return !session.resources().empty();
    case ViewRequest::Subject:
      return !session.subjects().empty();
    case ViewRequest::School:
    case ViewRequest::Institution:
      return session.schoolCode() > 0;
  }
  return false;
}

bool requestView(Session& session, ViewRequest request, GridOwner owner, const GridCell* selectedCell) {
  if (!viewRequestEnabled(session, request)) return false;
  const bool allocated = selectedCell && selectedCell->state == CellState::Allocated;
  switch (request) {
    case ViewRequest::Class:
      if (allocated && owner.kind == GridKind::Resource) {
        positionOnClass(session, selectedCell->partner);
      } else if (owner.kind == GridKind::Class) {
        positionOnClass(session, owner.code);
      }
      session.viewKind = 'C';
      session.pendingWindow = 'V';
      return true;
    case ViewRequest::Resource:
      if (allocated && owner.kind == GridKind::Class) {
        positionOnResource(session, selectedCell->partner);
      } else if (owner.kind == GridKind::Resource) {
        positionOnResource(session, owner.code);
      }
      session.viewKind = 'T';
      session.pendingWindow = 'V';
      return true;
    case ViewRequest::Subject:
      session.viewKind = 'S';
      session.pendingWindow = 'V';
      return true;
    case ViewRequest::School:
      // The school view comes back to the item of the view kind's saved position.
      session.GetDM();
      session.pendingWindow = 'S';
      return true;
    case ViewRequest::Institution:
      session.pendingWindow = 'I';
      return true;
  }
  return false;
}

}  // namespace tavrel::grid
