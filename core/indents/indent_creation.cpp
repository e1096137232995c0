#include "core/indents/indent_creation.h"

#include "core/store/default_constraint.h"

namespace tavrel::indents {

using namespace store;

namespace {

void copyConstraint(TAlloc& indent, const TAlloc& from) {
  indent.AQUERY = from.AQUERY;
  indent.ASTDAY = from.ASTDAY;
  indent.AENDAY = from.AENDAY;
  indent.ASTLEC = from.ASTLEC;
  indent.AENLEC = from.AENLEC;
  indent.ALISTDAY = from.ALISTDAY;
  indent.ALISTLEC = from.ALISTLEC;
}

void setCount(TAlloc& indent, IndentKind kind, const std::optional<TAlloc>& current, bool duplicate) {
  if (kind == IndentKind::Regular) {
    indent.AINCLUSOF = 0;
    indent.ACLUSWEEK = 0;
    indent.ANOOFLEC = duplicate ? current->ANOOFLEC : 0;
    return;
  }
  if (duplicate && isCluster(*current)) {
    indent.AINCLUSOF = current->AINCLUSOF;
    indent.ACLUSWEEK = current->ACLUSWEEK;
  } else {
    indent.AINCLUSOF = 2;
    indent.ACLUSWEEK = 1;
  }
  indent.ANOOFLEC = indent.AINCLUSOF * indent.ACLUSWEEK;
}

}  // namespace

int AppndTAlloc(Session& session, IndentView view, IndentKind kind, const DuplicateOptions& duplicate,
                const std::optional<TAlloc>& current) {
  Store& store = session.store();
  auto school = session.school();
  if (!school) return 0;
  const DuplicateOptions options = current ? duplicate : DuplicateOptions{};

  TAlloc indent;
  indent.ASCHOOL = school->SCHOOLCODE;
  AsgnDefault(indent, qry_init(school->SWRKDAYS));
  if (options.constraint && hasConstraint(*current)) copyConstraint(indent, *current);
  indent.ARECESS = options.recessPermissible ? "N" : "Y";
  setCount(indent, kind, current, options.count);
  indent.ACLASS = view.kind == 'C' ? view.code : options.cls ? current->ACLASS : 0;
  indent.ATEACHER = view.kind == 'T' ? view.code : options.resource ? current->ATEACHER : 0;
  indent.ASUBJECT = view.kind == 'S' ? view.code : options.subject ? current->ASUBJECT : 0;
  indent.AACTIVE = "N";
  indent.ANOLECALL = 0;

  Transaction tx(store);
  TSchl schoolRow = *school;
  schoolRow.SALLSERIAL += 1;
  store.table<TSchl>().update(schoolRow);
  indent.ASERIALNO = schoolRow.SALLSERIAL;
  store.table<TAlloc>().insert(indent);
  tx.commit();
  session.flush(kFlushIndents);
  session.flush(kFlushSchools);
  return indent.ASERIALNO;
}

bool RecPost(Session& session, TAlloc edited) {
  Store& store = session.store();
  auto stored = store.table<TAlloc>().get(edited.rowid);
  if (!stored || stored->ASCHOOL != edited.ASCHOOL || stored->ASERIALNO != edited.ASERIALNO ||
      isActive(*stored)) {
    return false;
  }
  if (isCluster(edited)) edited.ANOOFLEC = edited.AINCLUSOF * edited.ACLUSWEEK;
  // The state and the placements are not the edit panel's to change.
  edited.AACTIVE = stored->AACTIVE;
  edited.ANOLECALL = stored->ANOLECALL;
  Transaction tx(store);
  store.table<TAlloc>().update(edited);
  tx.commit();
  session.flush(kFlushIndents);
  return true;
}

}  // namespace tavrel::indents
