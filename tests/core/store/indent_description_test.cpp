#include "core/store/indent_description.h"

#include <gtest/gtest.h>

#include "core/store/store.h"
#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

class IndentDescription : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = Store::open(ProgramFolders{folder_.path()}, DataSet::Live);
    ASSERT_TRUE(opened.ok()) << opened.error();
    store_ = std::move(opened.value());
    for (int school : {1, 2}) {
      TClas c;
      c.CSCHOOL = school;
      c.CLSCODE = 3;
      c.CLSNAME = school == 1 ? "10A" : "Other class";
      ASSERT_EQ(store_->table<TClas>().insert(c), WriteStatus::Ok);
      TTeac t;
      t.TSCHOOL = school;
      t.TCHCODE = 4;
      t.TCHNAME = school == 1 ? "Mr Okafor" : "Other resource";
      ASSERT_EQ(store_->table<TTeac>().insert(t), WriteStatus::Ok);
    }
    TSubj s;
    s.SUBCODE = 5;
    s.SUBNAME = "Chemistry";
    ASSERT_EQ(store_->table<TSubj>().insert(s), WriteStatus::Ok);
  }

  void addIndent(int school, int serial, int subject, int clusterSize) {
    TAlloc a;
    a.ASCHOOL = school;
    a.ASERIALNO = serial;
    a.ACLASS = 3;
    a.ATEACHER = 4;
    a.ASUBJECT = subject;
    a.AINCLUSOF = clusterSize;
    ASSERT_EQ(store_->table<TAlloc>().insert(a), WriteStatus::Ok);
  }

  testing::TempFolder folder_;
  std::unique_ptr<Store> store_;
};

TEST_F(IndentDescription, NamesClassResourceSubjectAndKind) {
  struct Case {
    int serial;
    int clusterSize;
    std::string_view expected;
  };
  for (Case c :
       {Case{1, 0, "10A, Mr Okafor, Chemistry, Regular"}, Case{2, 1, "10A, Mr Okafor, Chemistry, Regular"},
        Case{3, 2, "10A, Mr Okafor, Chemistry, Cluster(2)"},
        Case{4, 12, "10A, Mr Okafor, Chemistry, Cluster(12)"}}) {
    addIndent(1, c.serial, 5, c.clusterSize);
    EXPECT_EQ(get_prd_dtls(*store_, 1, c.serial), c.expected);
  }
}

TEST_F(IndentDescription, TakesTheNamesOfTheIndentsOwnSchool) {
  addIndent(2, 1, 5, 3);
  EXPECT_EQ(get_prd_dtls(*store_, 2, 1), "Other class, Other resource, Chemistry, Cluster(3)");
  EXPECT_EQ(get_prd_dtls(*store_, 1, 1), "");  // the serial belongs to school 2 only
}

TEST_F(IndentDescription, AMissingSubjectLeavesItsNameEmpty) {
  addIndent(1, 7, 99, 0);
  EXPECT_EQ(get_prd_dtls(*store_, 1, 7), "10A, Mr Okafor, , Regular");
}

}  // namespace
}  // namespace tavrel::store
