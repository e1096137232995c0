#include "core/shell/command_state.h"

namespace tavrel::shell {

using namespace store;

CommandState commandState(Store& store, const Session& session) {
  CommandState state;
  const int schools = store.table<TSchl>().count(TSchl::primary);
  if (schools == 0) return state;

  state.resetInstitution = true;
  state.openSchool = schools >= 2;
  state.schoolView = true;
  state.interSchool = schools >= 2;
  state.subjectView = store.table<TSubj>().count(TSubj::primary) > 0;

  // Classes, resources and indents belong to a school: only the current one counts.
  const int school = session.schoolCode();
  if (school != 0) {
    state.classView = store.table<TClas>().count(TClas::primary, {school}) > 0;
    state.resourceView = store.table<TTeac>().count(TTeac::primary, {school}) > 0;
    state.allocate = store.table<TAlloc>().count(TAlloc::ALLOTEAC, {school, "Y"}) > 0;
  }
  state.availability = state.classView || state.resourceView;
  state.reports = state.classView || state.resourceView || state.subjectView;
  return state;
}

void syncInstitutionLimits(Store& store, const Session& session) {
  auto school = session.school();
  if (!school) return;
  TInst institution = store.institution();
  if (institution.IDTUL_DAY == school->SMAXLEC && institution.IDTUL_WEEK == school->STOTLEC) return;
  institution.IDTUL_DAY = school->SMAXLEC;
  institution.IDTUL_WEEK = school->STOTLEC;
  Transaction tx(store);
  store.saveInstitution(institution);
  tx.commit();
}

CommandState refreshCommands(Store& store, Session& session) {
  if (store.table<TSchl>().count(TSchl::primary) > 0) {
    if (!session.school()) session.selectFirstSchool();
    syncInstitutionLimits(store, session);
  }
  return commandState(store, session);
}

}  // namespace tavrel::shell
