// Large, regular data sets for benchmarks and tests: schools of a full 9-day, 12-period week, each
// with plain classes and resources that are available everywhere and have no indents yet. The
// records look as if the institution view and the school view had made them one by one.
#pragma once

#include "core/store/store.h"

namespace tavrel::testing {

struct BulkShape {
  int schools = 1;
  int classesPerSchool = 1;
  int resourcesPerSchool = 1;
};

// Adds the schools after the highest school code issued so far, in one transaction: the school
// records, their classes and resources, and the 108 timetable rows of every school, class and
// resource. Names are "SCHOOL<code>", "CLASS <code>" and "RESOURCE <code>" (codes zero-padded to
// three digits so that name order is code order).
void writeBulkDataSet(store::Store& store, const BulkShape& shape);

// How many timetable rows `writeBulkDataSet` writes for a shape.
long bulkTimetableRows(const BulkShape& shape);

}  // namespace tavrel::testing
