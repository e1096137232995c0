#include "core/reports/last_work.h"

namespace tavrel::reports {

using namespace store;

namespace {

// The lists run in name order or in code order; the item is found by the key of the order in use.
template <class Row>
void locate(Cursor<Row>& list, int codeIndex, const Key& byCode, const Key& byName) {
  list.locate(list.index() == codeIndex ? byCode : byName);
}

}  // namespace

std::optional<LastWork> lastWork(Session& session) {
  Store& store = session.store();
  const auto school = session.school();
  std::optional<TAlloc> indent;
  if (school) {
    const int serial = session.viewKind == 'T'   ? school->STCHSRL
                       : session.viewKind == 'S' ? school->SSUBSRL
                                                 : school->SCLSSRL;
    // Serials start at 1: a 0 means no indent was ever remembered.
    if (serial > 0) indent = store.table<TAlloc>().find(TAlloc::primary, {school->SCHOOLCODE, serial});
  }
  if (!indent) {
    session.prompter().error(kLastWorkNotFound);
    return std::nullopt;
  }
  LastWork found{0, indent->ASERIALNO};
  switch (session.viewKind) {
    case 'T':
      found.item = indent->ATEACHER;
      session.selectedResource = found.item;
      if (auto row = store.table<TTeac>().find(TTeac::TEACCODE, {indent->ASCHOOL, found.item}))
        locate(session.resources(), TTeac::TEACCODE, {indent->ASCHOOL, found.item}, {indent->ASCHOOL, row->TCHNAME});
      break;
    case 'S':
      found.item = indent->ASUBJECT;
      session.selectedSubject = found.item;
      if (auto row = store.table<TSubj>().find(TSubj::SUBJCODE, {found.item}))
        locate(session.subjects(), TSubj::SUBJCODE, {found.item}, {row->SUBNAME});
      break;
    default:
      found.item = indent->ACLASS;
      session.selectedClass = found.item;
      if (auto row = store.table<TClas>().find(TClas::CLASCODE, {indent->ASCHOOL, found.item}))
        locate(session.classes(), TClas::CLASCODE, {indent->ASCHOOL, found.item}, {indent->ASCHOOL, row->CLSNAME});
      break;
  }
  return found;
}

}  // namespace tavrel::reports
