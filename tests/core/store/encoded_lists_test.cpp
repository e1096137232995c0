#include "core/store/encoded_lists.h"

#include <gtest/gtest.h>

#include "core/store/store.h"
#include "core/util/text.h"
#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

// The members of a list, by splitting at the commas: the reading that holds for every list written
// in ascending order.
std::vector<std::string> splitAtCommas(std::string_view list) {
  std::vector<std::string> members;
  std::size_t start = 1;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    members.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return members;
}

TEST(BldNoStr, ListsEveryMemberFromOne) {
  EXPECT_EQ(BldNoStr(-1), "");
  EXPECT_EQ(BldNoStr(0), "");
  EXPECT_EQ(BldNoStr(1), ",1");
  EXPECT_EQ(BldNoStr(6), ",1,2,3,4,5,6");
  EXPECT_EQ(BldNoStr(12), ",1,2,3,4,5,6,7,8,9,10,11,12");
  EXPECT_EQ(BldNoStr(12).size(), 27u);
}

TEST(MakList, ReadsEveryAscendingListOfOneToTwelveExactly) {
  for (unsigned set = 0; set < (1u << 12); ++set) {
    std::string list;
    for (int member = 1; member <= 12; ++member) {
      if (set & (1u << (member - 1))) list += "," + std::to_string(member);
    }
    ASSERT_EQ(MakList(list), splitAtCommas(list)) << list;
  }
}

TEST(MakList, TheFullPeriodListSurvivesItsFieldWidth) {
  const std::string stored = text::cutToWidth(BldNoStr(12), 25);
  EXPECT_EQ(stored, ",1,2,3,4,5,6,7,8,9,10,11,");
  EXPECT_EQ(listMembers(stored), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

  testing::TempFolder folder;
  auto store = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
  ASSERT_TRUE(store.ok()) << store.error();
  auto& indents = store.value()->table<TAlloc>();
  TAlloc indent;
  indent.ASCHOOL = 1;
  indent.ASERIALNO = 1;
  indent.ALISTLEC = BldNoStr(12);
  indent.ALISTDAY = BldNoStr(9);
  ASSERT_EQ(indents.insert(indent), WriteStatus::Ok);
  auto read = indents.find(TAlloc::primary, {1, 1});
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ALISTLEC.size(), 25u);
  EXPECT_EQ(listMembers(read->ALISTLEC), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(listMembers(read->ALISTDAY), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

struct ReadCase {
  const char* name;
  std::string_view list;
  std::vector<std::string> members;
};

class MakListReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MakListReads, TheMembersOfTheText) {
  EXPECT_EQ(MakList(GetParam().list), GetParam().members);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakListReads,
    ::testing::Values(
        ReadCase{"Empty", "", {}}, ReadCase{"OneAndTwelveIsNotTwo", ",1,12", {"1", "12"}},
        ReadCase{"TwoAndTwelve", ",2,12", {"2", "12"}},
        ReadCase{"TenAndElevenIsNotOne", ",10,11", {"10", "11"}},
        ReadCase{"TwelveAloneIsNeitherOneNorTwo", ",12", {"12"}},
        ReadCase{"OneBeforeTen", ",1,10", {"1", "10"}},
        ReadCase{"AClosingCommaBringsBackTwelve", ",3,", {"3", "12"}},
        ReadCase{"ALoneCommaIsTwelve", ",", {"12"}}, ReadCase{"NoLeadingComma", "1,12", {"1", "12"}},
        // Without any "12" in the text a "2" at the very start is a member like any other.
        ReadCase{"TwoAtTheStartWithoutTwelve", "2,3", {"2", "3"}},
        // Out of order, the first occurrence decides: the "1" and "2" inside "12" hide the later ones.
        ReadCase{"DescendingHidesOneAndTwo", ",12,2,1", {"12"}},
        ReadCase{"DigitsWithoutCommas", "345", {"3", "4", "5"}},
        ReadCase{"ThirteenIsOneAndThree", ",13", {"1", "3"}}, ReadCase{"NotANumberList", "Monday", {}},
        ReadCase{"EmbeddedZeroByte", std::string_view(",4\0,7", 5), {"4", "7"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace tavrel::store
