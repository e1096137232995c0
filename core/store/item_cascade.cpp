#include "core/store/item_cascade.h"

#include <string>
#include <vector>

namespace tavrel::store {

namespace {

template <class Row, class Field>
void lowerBy(Store& store, int index, const Key& key, Field Row::*field, int n) {
  auto& table = store.table<Row>();
  if (auto row = table.find(index, key)) {
    (*row).*field -= n;
    table.update(*row);
  }
}

std::vector<TAlloc> activeIndentsOf(Store& store, int school, char view, int code) {
  auto& indents = store.table<TAlloc>();
  switch (view) {
    case 'C':
      return indents.range(TAlloc::ALLOCLAS, {school, "Y", code});
    case 'T':
      return indents.range(TAlloc::ALLOTEAC, {school, "Y", code});
    case 'S':
      return indents.range(TAlloc::ALLOSUBJ, {school, "Y", code});
    default:
      return {};
  }
}

void releaseCells(Session& session, ReleaseMode mode, const TAlloc& indent) {
  const Owner owner = ownerInView(session.viewKind, indent);
  // The class's per-day limit of the resource serves the class's other subjects with that
  // resource as well; deleting one subject's indents must not take it away from them.
  const ReleaseMode partnerMode = session.viewKind == 'S' ? ReleaseMode::Erase : mode;
  TTRecIProc(session, partnerMode, owner, indent.ASERIALNO);
  TTRecInit(session, owner, indent.ASERIALNO, CountAs::Own);
  TTOptnInit(session, owner, indent.ASERIALNO);
}

void eraseAllocation(Session& session, TAlloc indent) {
  indent.ANOLECALL = 0;
  session.store().table<TAlloc>().update(indent);
  if (session.viewKind == 'C') {
    upd_mlt_ind(session, indent.ANOOFLEC, CountChange::Subtract, GroupSide::Class, indent.ACLASS, 0);
  } else if (session.viewKind == 'T') {
    upd_mlt_ind(session, indent.ANOOFLEC, CountChange::Subtract, GroupSide::Resource, 0, indent.ATEACHER);
  }
}

// The indent's count leaves every requirement counter, the item's own included: the item may
// stay (a caller that only clears it), and its counters must then still add up.
void deleteIndent(Session& session, const TAlloc& indent) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const int n = indent.ANOOFLEC;
  lowerBy(store, TClas::CLASCODE, {school, indent.ACLASS}, &TClas::CLSREQLEC, n);
  lowerBy(store, TTeac::TEACCODE, {school, indent.ATEACHER}, &TTeac::TCHREQLEC, n);
  lowerBy(store, TSctl::primary, {school, indent.ASUBJECT}, &TSctl::SCTREQLEC, n);
  upd_mlt_ind(session, n, CountChange::Subtract, GroupSide::Both, indent.ACLASS, indent.ATEACHER);
  const char view = session.viewKind;
  if (view == 'C' || view == 'T') {
    store.table<TTOcc>().removeRange(TTOcc::primary, {school, indent.ACLASS, indent.ATEACHER});
  }
  if (view == 'C' || view == 'S') {
    store.table<TSOcc>().removeRange(TSOcc::primary, {school, indent.ACLASS, indent.ASUBJECT});
  }
  store.table<TProxy>().removeRange(TProxy::primary, {school, indent.ASERIALNO});
  store.table<TAlloc>().remove(indent);
}

}  // namespace

void ItmDel(Session& session, ReleaseMode mode, int code) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const char view = session.viewKind;
  Transaction tx(store);
  for (const TAlloc& indent : activeIndentsOf(store, school, view, code)) {
    // In subject view the resource is the owner of the cells; an indent whose resource is gone
    // has no owner to release from and is left for the statistics repair.
    if (view == 'S' && !store.table<TTeac>().find(TTeac::TEACCODE, {school, indent.ATEACHER})) continue;
    releaseCells(session, mode, indent);
    // The release changed counters only, but read the indent again so nothing stale is posted.
    auto current = store.table<TAlloc>().get(indent.rowid);
    if (!current) continue;
    if (mode == ReleaseMode::Erase) {
      eraseAllocation(session, *current);
    } else {
      deleteIndent(session, *current);
    }
  }
  if (view == 'C' || view == 'T') {
    OptnDel(session, code);
    ProxyDel(session, code);
  }
  tx.commit();
}

void OptnDel(Session& session, int code) {
  const char view = session.viewKind;
  if (view != 'C' && view != 'T') return;
  session.store().table<TOptn>().removeRange(TOptn::primary,
                                             {session.schoolCode(), std::string(1, view), code});
}

void ProxyDel(Session& session, int code) {
  const char view = session.viewKind;
  if (view != 'C' && view != 'T') return;
  session.store().table<TProxy>().removeRange(TProxy::TYPFORBY,
                                              {session.schoolCode(), std::string(1, view), code});
}

void upd_mlt_ind(Session& session, int n, CountChange change, GroupSide side, int classCode,
                 int resourceCode) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const int delta = change == CountChange::Add ? n : -n;
  Transaction tx(store);
  if (side != GroupSide::Resource) {
    auto& classes = store.table<TClas>();
    if (auto group = classes.find(TClas::CLASCODE, {school, classCode}); group && group->CLSOPTION == "Y") {
      for (const TOptn& member : store.table<TOptn>().range(TOptn::primary, {school, "C", classCode})) {
        if (auto row = classes.find(TClas::CLASCODE, {school, member.OPSUBCODE})) {
          row->CLSREQMLT += delta;
          classes.update(*row);
        }
      }
    }
  }
  if (side != GroupSide::Class) {
    auto& resources = store.table<TTeac>();
    if (auto group = resources.find(TTeac::TEACCODE, {school, resourceCode});
        group && group->TCHOPTION == "Y") {
      for (const TOptn& member : store.table<TOptn>().range(TOptn::primary, {school, "T", resourceCode})) {
        if (auto row = resources.find(TTeac::TEACCODE, {school, member.OPSUBCODE})) {
          row->TCHREQMLT += delta;
          resources.update(*row);
        }
      }
    }
  }
  tx.commit();
}

}  // namespace tavrel::store
