// The generated data sets that benchmarks and tests build on have the shape they promise.
#include "tests/support/bulk_data_set.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

using testing::BulkShape;
using testing::TempFolder;

TEST(BulkDataSet, WritesSchoolsClassesResourcesAndTheirFreeTimetableRows) {
  TempFolder folder;
  auto opened = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
  ASSERT_TRUE(opened.ok()) << opened.error();
  Store& store = **opened;
  const BulkShape shape{2, 3, 4};
  testing::writeBulkDataSet(store, shape);

  EXPECT_EQ(store.institution().ISECTION, 2);
  EXPECT_EQ(store.table<TTtbl>().count(TTtbl::primary), testing::bulkTimetableRows(shape));
  for (const TSchl& school : store.table<TSchl>().range(TSchl::primary)) {
    const int code = school.SCHOOLCODE;
    EXPECT_EQ(school.SNAME, "SCHOOL" + std::to_string(code));
    EXPECT_EQ(school.SWRKDAYS, 912);
    EXPECT_EQ(school.STOTCLS, store.table<TClas>().count(TClas::primary, {code}));
    EXPECT_EQ(school.STOTTCH, store.table<TTeac>().count(TTeac::primary, {code}));
    // Every owner has its 108 cells, free, day by day and period by period.
    const struct {
      const char* kind;
      int owner;
    } owners[] = {{"L", code}, {"C", shape.classesPerSchool}, {"T", shape.resourcesPerSchool}};
    for (const auto& owner : owners) {
      auto cells = store.table<TTtbl>().range(TTtbl::TIMESCHL, {code, owner.kind, owner.owner});
      ASSERT_EQ(cells.size(), 108u) << owner.kind;
      for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cells[i].TDAY, static_cast<int>(i / 12) + 1);
        EXPECT_EQ(cells[i].TLECTNO, static_cast<int>(i % 12) + 1);
        EXPECT_EQ(cells[i].TSUBJECT, 999);
        EXPECT_EQ(cells[i].TCLASS, owner.kind[0] == 'C' ? owner.owner : 999);
        EXPECT_EQ(cells[i].TTEACHER, owner.kind[0] == 'T' ? owner.owner : 999);
      }
    }
  }

  // A second batch continues after the schools already issued.
  testing::writeBulkDataSet(store, {1, 1, 1});
  EXPECT_EQ(store.institution().ISECTION, 3);
  EXPECT_TRUE(store.table<TSchl>().find(TSchl::SCLCODE, {3}));
}

}  // namespace
}  // namespace tavrel::store
