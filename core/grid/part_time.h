// A resource is part time (`TPARTTIME` "Y") when it is not available in a period in which the
// school is. The allocation engine gives indents of part-time resources their own priority
// category, so the flag must follow the resource's availability.
#pragma once

#include "core/store/store.h"

namespace tavrel::grid {

bool schoolAvailableAt(store::Store& store, int school, int day, int period);

// Whether any of the resource's 108 cells is not available where the school's cell is available.
bool notAvailableWhereSchoolIs(store::Store& store, int school, int resource);

void setPartTime(store::Store& store, int school, int resource, bool partTime);

}  // namespace tavrel::grid
