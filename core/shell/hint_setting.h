// The "Show Hint on Mouse Move" setting of the main window, kept in the institution record
// (`IVIEW`: "B" hints shown, "A" hidden) so that it travels with the data set.
#pragma once

#include "core/store/store.h"

namespace tavrel::shell {

bool hintsShown(const store::TInst& institution);
void storeHintSetting(store::Store& store, bool shown);

}  // namespace tavrel::shell
