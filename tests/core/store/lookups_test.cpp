#include "core/store/lookups.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

TEST(Lookups, FollowTheCodesWithinTheRecordsSchoolAndReadEmptyWhenMissing) {
  testing::TempFolder folder;
  auto store = std::move(Store::open(ProgramFolders{folder.path()}, DataSet::Live).value());
  for (int school : {1, 2}) {
    TTeac t;
    t.TSCHOOL = school;
    t.TCHCODE = 3;
    t.TCHNAME = school == 1 ? "Ms Adeyemi" : "Mr Lindqvist";
    t.TCHOPTION = "N";
    t.TPARTTIME = school == 1 ? "Y" : "N";
    t.TMAXLEC = 5 + school;
    ASSERT_EQ(store->table<TTeac>().insert(t), WriteStatus::Ok);
  }
  TSubj subject;
  subject.SUBNAME = "Chemistry";
  subject.SUBCODE = 8;
  ASSERT_EQ(store->table<TSubj>().insert(subject), WriteStatus::Ok);
  TTOcc limit;
  limit.TOSCHOOL = 2;
  limit.TOCLASS = 4;
  limit.TOTEACHER = 3;
  limit.TOCCURENCE = 2;
  ASSERT_EQ(store->table<TTOcc>().insert(limit), WriteStatus::Ok);

  TAlloc indent;
  indent.ASCHOOL = 2;
  indent.ATEACHER = 3;
  indent.ASUBJECT = 8;
  indent.ACLASS = 4;
  EXPECT_EQ(L_ATEACHERNM(*store, indent), "Mr Lindqvist");
  EXPECT_EQ(L_ATEACHERPT(*store, indent), "N");
  EXPECT_EQ(L_ASUBJECTNM(*store, indent), "Chemistry");
  EXPECT_EQ(L_ACLASSNM(*store, indent), "");

  TAPara inHand;
  inHand.PSCHOOL = 2;
  inHand.PCLASS = 4;
  inHand.PTEACHER = 3;
  inHand.PSUBJECT = 8;
  EXPECT_EQ(L_PTMAXDAY(*store, inHand), 7);
  EXPECT_EQ(L_PTOCC(*store, inHand), 2);
  EXPECT_EQ(L_PSOCC(*store, inHand), 0);

  TOptn member;
  member.OPSCHOOL = 1;
  member.OPSUBCODE = 3;
  EXPECT_EQ(L_OPMAXDAY(*store, member), 6);
}

}  // namespace
}  // namespace tavrel::store
