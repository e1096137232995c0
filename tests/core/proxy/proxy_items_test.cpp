#include "core/proxy/proxy_items.h"

#include <gtest/gtest.h>

#include "core/proxy/proxy_records.h"
#include "core/proxy/substitute_list.h"
#include "tests/core/proxy/proxy_school.h"

namespace tavrel::proxy {
namespace {

using namespace store;
using testing::ProxySchool;

// ADAMS teaches 1A Maths (placed); CLARK teaches 1B Maths and 1A Art (placed); BAKER has nothing.
class ProxyItemsTest : public ::testing::Test {
 protected:
  ProxyItemsTest() {
    school.lesson({.cls = school.x, .resource = school.adams, .subject = school.maths, .periods = 1},
                  {{1, 1}});
    school.lesson({.cls = school.y, .resource = school.clark, .subject = school.maths, .periods = 1},
                  {{2, 1}});
    school.lesson({.cls = school.x, .resource = school.clark, .subject = school.art, .periods = 1}, {{3, 1}});
  }
  Store& store() { return school.store(); }

  ProxySchool school;
};

TEST_F(ProxyItemsTest, ProxyListsOnlyItemsWithAllocatedPeriods) {
  EXPECT_EQ(absentItems(store(), 1, Operation::Proxy, ItemKind::Resource),
            (std::vector<Item>{{school.adams, "ADAMS"}, {school.clark, "CLARK"}}));
  EXPECT_EQ(absentItems(store(), 1, Operation::Proxy, ItemKind::Class),
            (std::vector<Item>{{school.x, "1A"}, {school.y, "1B"}}));
  EXPECT_TRUE(absentItems(store(), 1, Operation::UndoProxy, ItemKind::Resource).empty());
}

TEST_F(ProxyItemsTest, UndoListsOnlyItemsWhoseProxyIndentsStillExist) {
  {
    Transaction tx(store());
    appendProxyRecord(store(), 1, ItemKind::Resource, school.baker, school.clark, 999,
                      "2026-01-05");  // no indent
    appendProxyRecord(store(), 1, ItemKind::Resource, school.adams, school.clark, 3, "2026-01-05");
    tx.commit();
  }
  EXPECT_EQ(absentItems(store(), 1, Operation::UndoProxy, ItemKind::Resource),
            (std::vector<Item>{{school.adams, "ADAMS"}}));
  EXPECT_EQ(proxiedPeriods(store(), 1, ItemKind::Resource, school.adams), 1);
  EXPECT_EQ(periodsCoveredBy(store(), 1, ItemKind::Resource, school.clark), 1);
  EXPECT_EQ(proxiedPeriods(store(), 1, ItemKind::Resource, school.baker), 0);
}

TEST_F(ProxyItemsTest, PickListsHoldTheSubjectsAndPartnersOfTheItemsActiveIndents) {
  EXPECT_EQ(subjectsOfActiveIndents(store(), 1, ItemKind::Resource, school.clark),
            (std::vector<Item>{{school.art, "Art"}, {school.maths, "Maths"}}));
  EXPECT_EQ(partnersOfActiveIndents(store(), 1, ItemKind::Resource, school.clark),
            (std::vector<Item>{{school.x, "1A"}, {school.y, "1B"}}));
  EXPECT_EQ(partnersOfActiveIndents(store(), 1, ItemKind::Class, school.x),
            (std::vector<Item>{{school.adams, "ADAMS"}, {school.clark, "CLARK"}}));
  school.prompter().expectMessage(MessageKind::Information, "No items in the list.");
  EXPECT_FALSE(
      offerPickList(school.session(), subjectsOfActiveIndents(store(), 1, ItemKind::Resource, school.baker)));
}

struct CandidateCase {
  const char* name;
  CandidateFilter filter;
  std::vector<std::string> names;
};

class CandidateTest : public ProxyItemsTest, public ::testing::WithParamInterface<CandidateCase> {};

// The Subject case picks Maths, the Partner case 1B.
TEST_P(CandidateTest, CandidatesExcludeTheAbsentItem) {
  const CandidateCase& c = GetParam();
  const int picked = c.filter == CandidateFilter::Subject ? school.maths : school.y;
  std::vector<std::string> names;
  for (const Item& item : candidates(store(), 1, ItemKind::Resource, school.adams, c.filter, picked))
    names.push_back(item.name);
  EXPECT_EQ(names, c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, CandidateTest,
    ::testing::Values(CandidateCase{"All", CandidateFilter::All, {"BAKER", "CLARK", "DAVIS", "LAB TEAM"}},
                      CandidateCase{"Subject", CandidateFilter::Subject, {"CLARK"}},
                      CandidateCase{"Partner", CandidateFilter::Partner, {"CLARK"}}),
    testing::CaseName{});

TEST_F(ProxyItemsTest, TheTickedOrderIsThePriority) {
  SubstituteList list;
  EXPECT_FALSE(list.canAllocate());
  list.tick(school.clark);
  list.tick(school.baker);
  list.tick(school.clark);
  EXPECT_EQ(list.order(), (std::vector<int>{school.clark, school.baker}));
  EXPECT_EQ(list.priorityText(school.baker), "2");
  EXPECT_EQ(list.priorityText(school.davis), "N.A.");
  list.untick(school.clark);
  EXPECT_EQ(list.priorityText(school.baker), "1");
  list.selectAll(candidates(store(), 1, ItemKind::Resource, school.adams, CandidateFilter::All));
  EXPECT_EQ(list.order(), (std::vector<int>{school.baker, school.clark, school.davis, school.team}));
  EXPECT_TRUE(list.canAllocate());
  EXPECT_EQ(allocatedTotal(store(), 1, ItemKind::Resource, school.clark), 2);
}

}  // namespace
}  // namespace tavrel::proxy
