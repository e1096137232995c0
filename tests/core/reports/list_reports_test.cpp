// The list, indent-list and free-period reports, and what every report's pages carry.
#include "core/reports/free_period_report.h"
#include "core/reports/indent_list_report.h"
#include "core/reports/list_report.h"
#include "core/reports/page_header.h"
#include "tests/core/reports/report_test.h"

namespace tavrel::reports {
namespace {

using namespace store;

class ListReportsTest : public ReportTest {};

TEST_F(ListReportsTest, EveryPageCarriesTheSchoolsHeaderAndTheLastClosesTheReport) {
  choose({R::k7A, R::k7B});
  ReportDocument document = build(2);
  ASSERT_EQ(document.pages.size(), 2u);
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    const auto& header = document.pages[i].header;
    ASSERT_EQ(header.size(), 4u);
    EXPECT_EQ(header[0].centre, R::kInstitution);
    EXPECT_EQ(header[1].centre, R::kSchoolName);
    EXPECT_EQ(header[2].centre, R::kRemark);
    EXPECT_EQ(header[3].left, "Printed on: 07 Mar 2025");
    EXPECT_EQ(header[3].right, "Page: " + std::to_string(i + 1));
  }
  EXPECT_TRUE(document.pages[0].closingLines.empty());
  ASSERT_EQ(document.pages[1].closingLines.size(), 1u);
  EXPECT_EQ(document.pages[1].closingLines[0].left, "*** End of Report");
}

TEST_F(ListReportsTest, AnEmptyReportStillPrintsItsHeaderAndItsEnd) {
  updateSchool([](TSchl& s) { s.SREMARK.clear(); });
  choose({R::kScienceGroup});
  ReportOptions options;
  options.choice = {StatusChoice::Incomplete, BasisChoice::Indented};
  ReportDocument document = build(1, options);
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(document.pages[0].header.size(), 3u);  // no remark line
  EXPECT_EQ(captionOf(document.pages[0]), "Class List (Incomplete w.r.t. Indented)");
  EXPECT_TRUE(document.pages[0].table.rows.empty());
  EXPECT_EQ(document.pages[0].table.headingRows.size(), 2u);
  EXPECT_EQ(document.pages[0].closingLines.at(0).left, "*** End of Report");
}

TEST_F(ListReportsTest, ListsShowEachKindsCountsUnderTheirHeadings) {
  auto seven = store->table<TClas>().find(TClas::CLASCODE, {school, R::k7A});
  seven->CLSREQMLT = 3;
  seven->CLSMLTALL = 2;
  store->table<TClas>().update(*seven);
  auto lab = store->table<TTeac>().find(TTeac::TEACCODE, {school, R::kLab});
  lab->TCHREQMLT = 4;
  lab->TCHMLTALL = 1;
  store->table<TTeac>().update(*lab);

  choose({R::k7A, R::k7B});
  ReportDocument classes = build(1);
  EXPECT_EQ(classes.orientation, Orientation::Portrait);
  EXPECT_EQ(captionOf(classes.pages[0]), "Class List (All)");
  const Table& table = classes.pages[0].table;
  EXPECT_EQ(texts(table.headingRows[0]),
            (std::vector<std::string>{"Name", "Available", "Maximum", "Indented", "Allocated"}));
  EXPECT_EQ(table.headingRows[0].cells[3].span, 3);
  EXPECT_EQ(texts(table.headingRows[1]),
            (std::vector<std::string>{"", "", "", "(Solo)", "(Multi)", "(Total)", "(Solo)", "(Multi)", "(Total)"}));
  EXPECT_EQ(texts(rowStartingWith(table, "7A")),
            (std::vector<std::string>{"7A", "40", "N.A.", "9", "3", "12", "8", "2", "10"}));

  choose({R::kLab});
  EXPECT_EQ(texts(build(11).pages[0].table.rows.at(0)),
            (std::vector<std::string>{"LAB 1", "40", "33", "2", "4", "6", "2", "1", "3"}));

  choose({R::kMaths});
  ReportDocument subjects = build(21);
  EXPECT_EQ(captionOf(subjects.pages[0]), "Subject List (All)");
  EXPECT_EQ(texts(subjects.pages[0].table.rows.at(0)),
            (std::vector<std::string>{"MATHEMATICS", "N.A.", "N.A.", "6", "N.A.", "6", "N.A.", "N.A.", "5"}));
}

TEST_F(ListReportsTest, ALongListGoesOnOverPagesOfTheSameTable) {
  Transaction tx(*store);
  for (int code = 10; code < 10 + kListLinesPerPage + 5; ++code) {
    TClas row;
    row.CSCHOOL = school;
    row.CLSCODE = code;
    row.CLSNAME = "CLASS " + std::to_string(code);
    store->table<TClas>().insert(row);
    TRPCode chosen{0, row.CLSNAME, code};
    store->table<TRPCode>().insert(chosen);
  }
  tx.commit();
  ReportDocument document = build(1);
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(document.pages[0].table.rows.size(), static_cast<std::size_t>(kListLinesPerPage));
  EXPECT_EQ(document.pages[1].table.rows.size(), 5u);
  EXPECT_EQ(captionOf(document.pages[1]), "Class List (All)");
  EXPECT_EQ(document.pages[1].table.headingRows.size(), 2u);
}

TEST_F(ListReportsTest, AnIndentListShowsTheActiveIndentsOfEachItemOnItsOwnPage) {
  choose({R::k7A, R::k7B});
  ReportDocument document = build(3);
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(captionOf(document.pages[0]), "Allocation Indents (Class View - 7A)");
  const Table& table = document.pages[0].table;
  EXPECT_EQ(texts(table.headingRows[0]),
            (std::vector<std::string>{"Sr.", "Class", "Type", "Resource", "Subject", "Constraint", "Cluster Of",
                                      "Cluster/Week", "Indented", "Allocated"}));
  // Priority letter first (the cluster indent is "S"), then serial.
  ASSERT_EQ(table.rows.size(), 3u);
  const auto cluster = texts(table.rows[0]);
  EXPECT_EQ(cluster[0], "1");
  EXPECT_EQ(cluster[2], "Cluster");
  EXPECT_EQ(cluster[3], "LAB 1");
  EXPECT_EQ(cluster[4], "PHYSICS(*1");
  EXPECT_TRUE(table.rows[0].cells[5].wrapped);
  EXPECT_EQ(table.rows[0].cells[5].text(" "), R::kPhysicsConstraint);
  EXPECT_EQ(std::vector<std::string>(cluster.begin() + 6, cluster.end()),
            (std::vector<std::string>{"2", "1", "2", "2"}));
  EXPECT_EQ(texts(table.rows[1]), (std::vector<std::string>{"2", "7A", "Regular", "MS OSEI", "MATHEMATIC", "",
                                                            "N.A.", "N.A.", "5", "4"}));
  // The other dimensions are cut to ten characters.
  EXPECT_EQ(texts(table.rows[2])[3], "MR LINDQVI");
  // The passive indent of 7B is not listed.
  EXPECT_EQ(document.pages[1].table.rows.size(), 1u);
  EXPECT_EQ(texts(document.pages[1].table.rows[0])[0], "1");
}

TEST_F(ListReportsTest, IndentListsOfResourcesAndSubjectsNameTheOtherTwoDimensions) {
  choose({R::kOsei});
  ReportDocument resources = build(13);
  EXPECT_EQ(captionOf(resources.pages[0]), "Allocation Indents (Resource View - MS OSEI)");
  EXPECT_EQ(texts(resources.pages[0].table.headingRows[0])[3], "Class");
  EXPECT_EQ(texts(resources.pages[0].table.rows[1])[4], "HISTORY & ");

  choose({R::kMaths});
  ReportDocument subjects = build(23);
  EXPECT_EQ(captionOf(subjects.pages[0]), "Allocation Indents (Subject View - MATHEMATICS)");
  EXPECT_EQ(texts(subjects.pages[0].table.headingRows[0])[4], "Resource");
  EXPECT_EQ(texts(subjects.pages[0].table.rows[1])[3], "EIGHTH GRA");
}

TEST_F(ListReportsTest, SchoolFreePeriodsListEveryFreeSlotByDayAndPeriod) {
  tagOnly({1, 2}, {1, 2});
  ReportDocument document = build(4);
  EXPECT_EQ(document.orientation, Orientation::Landscape);
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(captionOf(document.pages[0]), "Class Free Periods, Whole School");
  EXPECT_EQ(texts(document.pages[0].table.headingRows[0]), (std::vector<std::string>{"Day", "Period", "Class"}));
  std::vector<std::vector<std::string>> rows;
  for (const TableRow& row : document.pages[0].table.rows) rows.push_back(texts(row));
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"Monday", "1", "7B"},
                                                         {"Monday", "1", "EIGHTH GRADE HONOURS"},
                                                         {"Monday", "2", "EIGHTH GRADE HONOURS"},
                                                         {"Tuesday", "1", "7B"},
                                                         {"Tuesday", "1", "EIGHTH GRADE HONOURS"},
                                                         {"Tuesday", "2", "7A"},
                                                         {"Tuesday", "2", "7B"},
                                                         {"Tuesday", "2", "EIGHTH GRADE HONOURS"}}));
}

TEST_F(ListReportsTest, FreePeriodsOfChosenItemsGiveEachItemItsOwnTitledPages) {
  choose({R::kOsei, R::kLab});
  ReportDocument document = build(15);
  // MS OSEI has 34 free slots: two pages; LAB 1 has 38: two pages.
  ASSERT_EQ(document.pages.size(), 4u);
  EXPECT_EQ(captionOf(document.pages[0]), "Resource Free Periods (MS OSEI)");
  EXPECT_EQ(captionOf(document.pages[2]), "Resource Free Periods (LAB 1)");
  EXPECT_EQ(texts(document.pages[0].table.headingRows[0])[2], "Resource");
  EXPECT_EQ(texts(document.pages[0].table.rows[0]), (std::vector<std::string>{"Monday", "3", "MS OSEI"}));
  EXPECT_EQ(document.pages[0].table.rows.size() + document.pages[1].table.rows.size(), 34u);
}

TEST(PrintedDate, SpellsTheMonthOut) {
  EXPECT_EQ(printedDate("2025-03-07"), "07 Mar 2025");
  EXPECT_EQ(printedDate("2024-12-31"), "31 Dec 2024");
  EXPECT_EQ(printedDate("not a date"), "not a date");
  EXPECT_EQ(printedDate("2025-13-01"), "2025-13-01");
}

}  // namespace
}  // namespace tavrel::reports
