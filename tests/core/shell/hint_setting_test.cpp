#include "core/shell/hint_setting.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tavrel::shell {
namespace {

using namespace store;

TEST(HintSetting, ANewInstitutionShowsHints) {
  EXPECT_TRUE(hintsShown(newInstitution()));
}

TEST(HintSetting, StoredSettingSurvivesReopeningTheDataSet) {
  testing::TempFolder folder;
  ProgramFolders folders{folder.path()};
  {
    auto store = Store::open(folders, DataSet::Live);
    ASSERT_TRUE(store.ok());
    storeHintSetting(*store.value(), false);
  }
  auto store = Store::open(folders, DataSet::Live);
  ASSERT_TRUE(store.ok());
  TInst institution = store.value()->institution();
  EXPECT_EQ(institution.IVIEW, "A");
  EXPECT_FALSE(hintsShown(institution));
  storeHintSetting(*store.value(), true);
  EXPECT_EQ(store.value()->institution().IVIEW, "B");
}

}  // namespace
}  // namespace tavrel::shell
