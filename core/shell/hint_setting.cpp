#include "core/shell/hint_setting.h"

namespace tavrel::shell {

bool hintsShown(const store::TInst& institution) {
  return institution.IVIEW == "B";
}

void storeHintSetting(store::Store& store, bool shown) {
  store::TInst institution = store.institution();
  // Built from a char: GCC 12 gives a false -Wrestrict warning for a choice between two literals.
  institution.IVIEW = std::string(1, shown ? 'B' : 'A');
  store::Transaction tx(store);
  store.saveInstitution(institution);
  tx.commit();
}

}  // namespace tavrel::shell
