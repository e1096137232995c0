#include "core/shell/institution_reset.h"

namespace tavrel::shell {

bool resetInstitution(Application& application) {
  Prompter& prompter = application.ports().prompter;
  if (!prompter.ask(MessageKind::Warning,
                    "Resetting the institution will erase all the schools and their respective data. Select Yes to "
                    "continue.")) {
    return false;
  }
  if (!prompter.ask(MessageKind::Warning, "Ok to reset Instiution?")) return false;

  Progress& progress = application.ports().progress;
  progress.show("Resetting Institution...", 8);
  store::Store& store = application.store();
  store::Transaction tx(store);
  store.emptyTables();
  store::TInst institution = store.institution();
  institution.ISECTION = 0;
  institution.ISUBJECT = 0;
  store.saveInstitution(institution);
  tx.commit();
  progress.step(4);
  // With every school gone the lists are empty; the session finds no school to make current.
  application.session().selectFirstSchool();
  application.session().FreeDM();
  progress.step(4);
  progress.hide();
  return true;
}

}  // namespace tavrel::shell
