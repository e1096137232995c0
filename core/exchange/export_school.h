// A school of the data set as an exchange document.
#pragma once

#include "core/exchange/school_document.h"
#include "core/store/store.h"

namespace tavrel::exchange {

SchoolDocument exportSchool(store::Store& store, int school);

}  // namespace tavrel::exchange
