#include <gtest/gtest.h>

#include "core/indents/active_grid_statistics.h"
#include "core/indents/item_kind_statistics.h"
#include "core/indents/school_statistics.h"
#include "tests/core/indents/indent_school.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

constexpr const char* kStamp = "01/02/2025 10:30";

// 1A has two Maths indents of 4 and 6 periods (3 and 6 placed) and belongs to a group with an
// indent of 2 (1 placed); 1B took 2 periods of 1A's as a substitute.
struct Statistics {
  SchoolFixture f;
  Uncommitted scratch{f.store()};
  int a = f.addClass("1A");
  int b = f.addClass("1B");
  int group = f.addClass("1A+1B", {a, b});
  int adams = f.addResource("ADAMS");
  int baker = f.addResource("BAKER");
  int team = f.addResource("TEAM", {adams});
  int clark = f.addResource("CLARK");
  int maths = f.addSubject("Maths");
  int art = f.addSubject("Art");
  int four = f.addIndent({.cls = a, .resource = adams, .subject = maths, .periods = 4});
  int six = f.addIndent({.cls = a, .resource = baker, .subject = maths, .periods = 6});
  int groupIndent = f.addIndent({.cls = group, .resource = team, .subject = art, .periods = 2});
  int proxy = f.addIndent({.cls = b, .resource = baker, .subject = art, .periods = 2});

  Statistics() {
    for (int day = 1; day <= 3; ++day) f.place(four, day, 1);
    for (int day = 1; day <= 6; ++day) f.place(six, day, 2);
    f.place(groupIndent, 1, 3);
    f.place(proxy, 1, 4);
    f.place(proxy, 2, 4);
    store::TProxy row{.PXSCHOOL = 1, .PXBYSERIALNO = proxy, .PXTYPE = "C", .PXFORCODE = a, .PXBYCODE = b};
    f.store().table<store::TProxy>().insert(row);
  }
};

std::vector<std::string> title(const std::string& line2, const std::string& line3) {
  return {"SCHOOL1", line2, line3};
}

TEST(ActiveGridStatistics, ClassViewSumsItsIndentsAndRecountsItsOwnCounters) {
  Statistics s;
  store::TClas drifted = s.f.classRecord(s.a);
  drifted.CLSREQLEC = 9;
  drifted.CLSTOTALL = 8;
  s.f.store().table<store::TClas>().update(drifted);

  const ActiveGridStatistics stats = activeGridStatistics(s.f.session(), 'C', s.a, kStamp);
  EXPECT_EQ(s.f.classRecord(s.a).CLSREQLEC, 10);
  EXPECT_EQ(s.f.classRecord(s.a).CLSTOTALL, 9);
  EXPECT_EQ(stats.caption, "1A - Statistics");
  EXPECT_EQ(stats.firstDimension, (std::vector<NameTotals>{{"ADAMS", 4, 1, 3}, {"BAKER", 6, 0, 6}}));
  EXPECT_EQ(stats.secondDimension, (std::vector<NameTotals>{{"Maths", 10, 1, 9}}));
  ASSERT_EQ(stats.pages.size(), 10u);

  const std::vector<ChartPage>& p = stats.pages;
  EXPECT_EQ(p[0].caption, "Active Indents");
  EXPECT_EQ(p[0].title, title("1A - Active Indents (01/02/2025 10:30)", "Total Active Indents : 2"));
  EXPECT_EQ(p[0].slices,
            (std::vector<Slice>{{"Allocated", 1, Colour::Green}, {"Incomplete", 1, Colour::Blue}}));
  EXPECT_EQ(p[1].title, title("1A - Indented Periods (01/02/2025 10:30)", "Total Available Periods: 108"));
  EXPECT_EQ(p[1].slices, (std::vector<Slice>{{"Indented(Solo)", 10, Colour::Green},
                                             {"Indented(Group)", 2, Colour::Yellow},
                                             {"Not Indented", 96, Colour::Red}}));
  EXPECT_EQ(p[2].title, title("1A - Allocated Periods (01/02/2025 10:30)", "Total Indented Periods : 12"));
  EXPECT_EQ(p[2].slices, (std::vector<Slice>{{"Allocated(Solo)", 9, Colour::Green},
                                             {"Incomplete(Solo)", 1, Colour::Blue},
                                             {"Allocated(Group)", 1, Colour::Yellow},
                                             {"Incomplete(Group)", 1, Colour::White}}));
  const char* captions[] = {"Indented Resource",  "Indented Subject",   "Incomplete Resource",
                            "Incomplete Subject", "Allocated Resource", "Allocated Subject"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(p[static_cast<std::size_t>(3 + i)].caption, captions[i]);
  EXPECT_EQ(p[3].title,
            title("1A - Indented Resource (01/02/2025 10:30)", "Total Indented Periods(Solo): 10"));
  EXPECT_EQ(p[3].slices, (std::vector<Slice>{{"ADAMS", 4, Colour::White}, {"BAKER", 6, Colour::Black}}));
  EXPECT_EQ(p[5].title,
            title("1A - Incomplete Resource (01/02/2025 10:30)", "Total Incomplete Periods(Solo): 1"));
  EXPECT_EQ(p[5].slices, (std::vector<Slice>{{"ADAMS", 1, Colour::White}}));
  EXPECT_EQ(p[8].title,
            title("1A - Allocated Subject (01/02/2025 10:30)", "Total Allocated Periods(Solo): 9"));
  EXPECT_EQ(p[9].caption, "Proxied By");
  EXPECT_EQ(p[9].title, title("1A - Proxied By (01/02/2025 10:30)", "Total Proxied Periods : 2"));
  EXPECT_EQ(p[9].slices, (std::vector<Slice>{{"1B", 2, Colour::White}}));
}

TEST(ActiveGridStatistics, ResourceAndSubjectViewsUseTheirOwnDimensions) {
  Statistics s;
  const ActiveGridStatistics resource = activeGridStatistics(s.f.session(), 'T', s.baker, kStamp);
  EXPECT_EQ(resource.firstDimension, (std::vector<NameTotals>{{"1A", 6, 0, 6}, {"1B", 2, 0, 2}}));
  EXPECT_EQ(resource.secondDimension, (std::vector<NameTotals>{{"Maths", 6, 0, 6}, {"Art", 2, 0, 2}}));
  EXPECT_EQ(resource.pages[3].caption, "Indented Class");
  EXPECT_EQ(resource.pages[4].caption, "Indented Subject");

  const ActiveGridStatistics subject = activeGridStatistics(s.f.session(), 'S', s.art, kStamp);
  EXPECT_EQ(subject.firstDimension, (std::vector<NameTotals>{{"TEAM", 2, 1, 1}, {"BAKER", 2, 0, 2}}));
  EXPECT_EQ(subject.secondDimension, (std::vector<NameTotals>{{"1A+1B", 2, 1, 1}, {"1B", 2, 0, 2}}));
  EXPECT_EQ(subject.pages[1].title[2], "Total Available Periods: 4");
  EXPECT_EQ(subject.pages[1].slices, (std::vector<Slice>{{"Indented(Solo)", 4, Colour::Green}}));
  EXPECT_EQ(subject.pages[3].caption, "Indented Resource");
  EXPECT_EQ(subject.pages[4].caption, "Indented Class");
  EXPECT_EQ(subject.pages[9].title[2], "Total Proxied Periods : N.A.");
  EXPECT_TRUE(subject.pages[9].slices.empty());

  // An item without active indents keeps its counters.
  store::TTeac clark = s.f.resourceRecord(s.clark);
  clark.TCHREQLEC = 5;
  s.f.store().table<store::TTeac>().update(clark);
  EXPECT_EQ(activeGridStatistics(s.f.session(), 'T', s.clark, kStamp).activeIndents, 0);
  EXPECT_EQ(s.f.resourceRecord(s.clark).TCHREQLEC, 5);
}

TEST(ItemKindStatistics, CompositionAndAllocationAgainstIndentedAndAvailablePeriods) {
  Statistics s;
  store::TTeac baker = s.f.resourceRecord(s.baker);
  baker.TPARTTIME = "Y";
  s.f.store().table<store::TTeac>().update(baker);
  // ADAMS has placed 3 of its own and 1 through TEAM: with a weekly limit of 4 it is full, though
  // its indent is not complete.
  store::TTeac adams = s.f.resourceRecord(s.adams);
  adams.TMAXLECWK = 4;
  s.f.store().table<store::TTeac>().update(adams);

  const ItemKindStatistics stats = itemKindStatistics(s.f.session(), 'T', kStamp);
  EXPECT_EQ(stats.caption, "Resource Statistics");
  EXPECT_EQ(std::tie(stats.total, stats.simple, stats.group, stats.partTime, stats.notIndented),
            std::make_tuple(4, 2, 1, 1, 1));
  EXPECT_EQ(stats.incompleteIndented, (std::vector<Shortfall>{{"ADAMS", 1}, {"TEAM", 1}}));
  EXPECT_EQ(stats.allocatedAvailable, 1);
  EXPECT_EQ(stats.incompleteAvailable, (std::vector<Shortfall>{{"BAKER", 100}, {"TEAM", 107}}));
  ASSERT_EQ(stats.pages.size(), 5u);
  EXPECT_EQ(stats.pages[0].title, title("Resource Composition (01/02/2025 10:30)", "Total Resources : 4"));
  EXPECT_EQ(stats.pages[0].slices,
            (std::vector<Slice>{
                {"Simple", 2, Colour::Green}, {"Group", 1, Colour::Yellow}, {"Part Time", 1, Colour::Red}}));
  EXPECT_EQ(stats.pages[1].caption, "Allocated (w.r.t Indented)");
  EXPECT_EQ(stats.pages[1].title[1], "Allocated with respect to Indented periods (01/02/2025 10:30)");
  EXPECT_EQ(stats.pages[1].slices, (std::vector<Slice>{{"Allocated", 1, Colour::Green},
                                                       {"Incomplete", 2, Colour::Red},
                                                       {"Not Indented", 1, Colour::White}}));
  EXPECT_EQ(stats.pages[2].caption, "Allocated (w.r.t Available)");
  EXPECT_EQ(stats.pages[3].caption, "Incomplete(w.r.t Indented)");
  EXPECT_EQ(stats.pages[3].title, title("Incomplete with respect to Indented periods (01/02/2025 10:30)",
                                        "Total Incomplete Resources : 2"));
  EXPECT_EQ(stats.pages[4].caption, "Incomplete(w.r.t. Available)");
  EXPECT_EQ(stats.pages[4].slices,
            (std::vector<Slice>{{"BAKER", 100, Colour::White}, {"TEAM", 107, Colour::Black}}));

  // Subject links are measured against what is indented on both pages.
  const ItemKindStatistics subjects = itemKindStatistics(s.f.session(), 'S', kStamp);
  EXPECT_EQ(subjects.caption, "Subject Statistics");
  EXPECT_EQ(subjects.incompleteIndented, subjects.incompleteAvailable);
  EXPECT_EQ(subjects.incompleteIndented, (std::vector<Shortfall>{{"Maths", 1}, {"Art", 1}}));
  EXPECT_EQ(subjects.pages[0].title[2], "Total Subjects : 2");
}

TEST(SchoolStatistics, PeriodsByCategoryLetterAndAllocation) {
  SchoolFixture f;
  Uncommitted scratch(f.store());
  const int cls = f.addClass("1A");
  const int resource = f.addResource("ADAMS");
  const int subject = f.addSubject("Maths");
  EXPECT_EQ(schoolStatistics(f.session(), kStamp).pages[3].title[3],
            "Allocation Status : 0%");  // nothing to do

  struct Made {
    char letter;
    int periods;
  };
  for (const Made& m : {Made{'Z', 20}, Made{'A', 5}, Made{'Y', 10}, Made{'Z', 10}}) {
    TAlloc indent =
        f.indent(f.addIndent({.cls = cls, .resource = resource, .subject = subject, .periods = m.periods}));
    indent.APRIORITY = std::string(1, m.letter);
    f.store().table<TAlloc>().update(indent);
  }
  TAlloc first = f.indent(1);
  for (int day = 1; day <= 9; ++day) f.place(first.ASERIALNO, day, 1);

  const SchoolStatistics stats = schoolStatistics(f.session(), kStamp, "0:3:12");
  EXPECT_EQ(stats.caption, "SCHOOL1 - Statistics");
  EXPECT_EQ(stats.categories, (std::vector<PeriodsOf>{{"SPECIFIC", 5}, {"CONSTRAINT", 10}, {"SIMPLE", 30}}));
  EXPECT_EQ(stats.letters, (std::vector<PeriodsOf>{{"A", 5}, {"Y", 10}, {"Z", 30}}));
  EXPECT_EQ(std::tie(stats.total, stats.simple, stats.allocated, stats.notAllocated, stats.percentAllocated),
            std::make_tuple(45, 30, 9, 36, 20));
  ASSERT_EQ(stats.pages.size(), 4u);
  EXPECT_EQ(stats.pages[0].title,
            title("Period Distribution - Category(01/02/2025 10:30)", "Total periods : 45"));
  EXPECT_EQ(stats.pages[0].slices, (std::vector<Slice>{{"SPECIFIC", 5, Colour::White},
                                                       {"CONSTRAINT", 10, Colour::Black},
                                                       {"SIMPLE", 30, Colour::Red}}));
  EXPECT_EQ(stats.pages[0].advice.size(), 3u);
  EXPECT_EQ(stats.pages[1].caption, "Period Distribution (Priority)");
  EXPECT_EQ(stats.pages[2].slices,
            (std::vector<Slice>{{"Simple", 30, Colour::Yellow}, {"Controlled", 15, Colour::Red}}));
  EXPECT_EQ(
      stats.pages[2].advice,
      (std::vector<std::string>{"Best allocations are obtained by controlling less number of periods."}));
  EXPECT_EQ(stats.pages[3].title,
            (std::vector<std::string>{"SCHOOL1", "Allocation Status (01/02/2025 10:30)", "Total periods : 45",
                                      "Allocation Status : 20%", "Time Elapsed : 0:3:12"}));
  EXPECT_EQ(stats.pages[3].slices,
            (std::vector<Slice>{{"Allocated", 9, Colour::Yellow}, {"Not Allocated", 36, Colour::Blue}}));
  EXPECT_TRUE(stats.pages[3].advice.empty());
}

}  // namespace
}  // namespace tavrel::indents
