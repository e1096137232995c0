#include "core/reports/report_filters.h"

#include "tests/core/reports/report_test.h"

namespace tavrel::reports {
namespace {

using namespace store;

class ReportFiltersTest : public ReportTest {
 protected:
  ReportFilters filters(int code, ListChoice choice = {}) {
    return ReportFilters(*store, readSelection(*store, school, code, choice));
  }

  // The (day, period) slots of an owner's rows that the timetable-row filter accepts.
  std::vector<std::pair<int, int>> acceptedSlots(const ReportFilters& f, const char* kind, int owner) {
    std::vector<std::pair<int, int>> slots;
    const int index = kind[0] == 'T' ? TTtbl::TIMETEAC : TTtbl::TIMECLAS;
    for (const TTtbl& row : store->table<TTtbl>().range(index, {school, kind, owner})) {
      if (f.timetableRow(row)) slots.emplace_back(row.TDAY, row.TLECTNO);
    }
    return slots;
  }

  std::vector<std::string> acceptedClasses(const ReportFilters& f) {
    std::vector<std::string> names;
    for (const TClas& row : store->table<TClas>().range(TClas::primary, {school})) {
      if (f.classRow(row)) names.push_back(row.CLSNAME);
    }
    return names;
  }
};

TEST_F(ReportFiltersTest, ATimetableTakesTheChosenItemsOnTaggedDaysAndPeriods) {
  tagOnly({1, 2}, {1, 2, 3, 4});
  choose({R::k7A});
  const ReportFilters f = filters(2);
  std::vector<std::pair<int, int>> expected;
  for (int day : {1, 2}) {
    for (int period : {1, 2, 3, 4}) expected.emplace_back(day, period);
  }
  EXPECT_EQ(acceptedSlots(f, "C", R::k7A), expected);
  EXPECT_TRUE(acceptedSlots(f, "C", R::k7B).empty());
  EXPECT_TRUE(acceptedSlots(f, "T", R::kOsei).empty());  // the class view reads class rows
}

TEST_F(ReportFiltersTest, SchoolFreePeriodsAreFreeTaggedSlotsOfItemsThatAreNotGroups) {
  tagOnly({1}, {1, 2, 3});
  choose({});
  const ReportFilters f = filters(4);
  // 7A is busy in periods 1 to 3 of Monday; 7B is busy in period 2.
  EXPECT_TRUE(acceptedSlots(f, "C", R::k7A).empty());
  EXPECT_EQ(acceptedSlots(f, "C", R::k7B), (std::vector<std::pair<int, int>>{{1, 1}, {1, 3}}));
  EXPECT_TRUE(acceptedSlots(f, "C", R::kScienceGroup).empty());
}

TEST_F(ReportFiltersTest, FreePeriodsOfChosenItemsIgnoreTheTags) {
  tagOnly({1}, {1});
  choose({R::k7B});
  const ReportFilters f = filters(5);
  // 5 days of 8 periods, less two allocated and one not available.
  EXPECT_EQ(acceptedSlots(f, "C", R::k7B).size(), 37u);
  EXPECT_TRUE(acceptedSlots(f, "C", R::k7A).empty());
}

struct ListCase {
  const char* name;
  StatusChoice status;
  BasisChoice basis;
  std::vector<std::string> classes;
};

class ClassListFilter : public ReportFiltersTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ClassListFilter, AcceptsTheChosenClassesThatMeetTheChoice) {
  const ListCase& c = GetParam();
  // 7A: 9 indented, 8 allocated. 7B: 3 and 2, allocated 2 more through the group, with 38 of 39
  // available periods filled. EIGHTH GRADE HONOURS: 1 and 1. The group: no active indent.
  auto seven = store->table<TClas>().find(TClas::CLASCODE, {school, R::k7B});
  seven->CLSMLTALL = 36;
  seven->CLSTOTLEC = 38;
  store->table<TClas>().update(*seven);
  choose({R::k7A, R::k7B, R::kScienceGroup, R::kHonours});
  EXPECT_EQ(acceptedClasses(filters(1, ListChoice{c.status, c.basis})), c.classes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClassListFilter,
    ::testing::Values(
        ListCase{"All", StatusChoice::All, BasisChoice::Indented, {"7A", "7B", "EIGHTH GRADE HONOURS", "SCIENCE GROUP"}},
        ListCase{"AllocatedIndented", StatusChoice::Allocated, BasisChoice::Indented, {"EIGHTH GRADE HONOURS"}},
        ListCase{"IncompleteIndented", StatusChoice::Incomplete, BasisChoice::Indented, {"7A", "7B"}},
        ListCase{"AllocatedAvailable", StatusChoice::Allocated, BasisChoice::Available, {"7B"}},
        ListCase{"IncompleteAvailable", StatusChoice::Incomplete, BasisChoice::Available, {"7A", "EIGHTH GRADE HONOURS"}},
        ListCase{"NoActiveIndent", StatusChoice::NoActiveIndent, BasisChoice::Indented, {"SCIENCE GROUP"}},
        ListCase{"PassivePresent", StatusChoice::PassivePresent, BasisChoice::Indented, {"7B"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ReportFiltersTest, AGroupIsNeverMeasuredAgainstWhatIsAvailable) {
  auto group = store->table<TClas>().find(TClas::CLASCODE, {school, R::kScienceGroup});
  group->CLSREQLEC = 4;
  group->CLSTOTALL = 40;
  store->table<TClas>().update(*group);
  choose({R::kScienceGroup});
  EXPECT_TRUE(acceptedClasses(filters(1, {StatusChoice::Allocated, BasisChoice::Available})).empty());
  EXPECT_EQ(acceptedClasses(filters(1, {StatusChoice::Allocated, BasisChoice::Indented})),
            (std::vector<std::string>{"SCIENCE GROUP"}));
}

TEST_F(ReportFiltersTest, ResourceAndSubjectListsFollowTheirOwnCounters) {
  choose({R::kOsei, R::kLindqvist, R::kLab});
  const ReportFilters incomplete = filters(11, {StatusChoice::Incomplete, BasisChoice::Indented});
  std::vector<std::string> resources;
  for (const TTeac& row : store->table<TTeac>().range(TTeac::primary, {school})) {
    if (incomplete.resourceRow(row)) resources.push_back(row.TCHNAME);
  }
  EXPECT_EQ(resources, (std::vector<std::string>{"MS OSEI"}));

  choose({R::kMaths, R::kEnglish, R::kPhysics, R::kHistory, R::kArt});
  auto subjects = [&](StatusChoice status) {
    const ReportFilters f = filters(21, {status, BasisChoice::Indented});
    std::vector<std::string> names;
    for (const TSubj& row : store->table<TSubj>().range(TSubj::primary)) {
      if (f.subjectRow(row)) names.push_back(row.SUBNAME);
    }
    return names;
  };
  EXPECT_EQ(subjects(StatusChoice::Allocated), (std::vector<std::string>{"ENGLISH", "PHYSICS(*1)"}));
  EXPECT_EQ(subjects(StatusChoice::Incomplete), (std::vector<std::string>{"HISTORY & <CIVICS>", "MATHEMATICS"}));
  EXPECT_EQ(subjects(StatusChoice::NoActiveIndent), (std::vector<std::string>{"ART"}));
  EXPECT_EQ(subjects(StatusChoice::PassivePresent), (std::vector<std::string>{"PHYSICS(*1)"}));
}

TEST_F(ReportFiltersTest, IndentsOfTheChosenItemsOfTheView) {
  choose({R::kLab});
  const ReportFilters byResource = filters(13);
  std::vector<int> serials;
  for (const TAlloc& row : store->table<TAlloc>().range(TAlloc::primary, {school})) {
    if (byResource.indentRow(row)) serials.push_back(row.ASERIALNO);
  }
  EXPECT_EQ(serials, (std::vector<int>{3, 6}));
}

}  // namespace
}  // namespace tavrel::reports
