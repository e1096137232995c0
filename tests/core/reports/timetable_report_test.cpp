#include "core/reports/timetable_report.h"

#include "tests/core/reports/report_test.h"

namespace tavrel::reports {
namespace {

using namespace store;

class TimetableReportTest : public ReportTest {};

// The first cells of the rows: the heading column as printed.
std::vector<std::string> headingColumn(const Table& table) {
  std::vector<std::string> column;
  for (const TableRow& row : table.rows) column.push_back(row.cells.front().text("/"));
  return column;
}

TEST_F(TimetableReportTest, ARegularTimetablePrintsOneItemPerPageOverTheSchoolsWeek) {
  choose({R::k7A, R::k7B});
  ReportDocument document = build(2);
  EXPECT_EQ(document.orientation, Orientation::Landscape);
  ASSERT_EQ(document.pages.size(), 2u);
  const ReportPage& page = document.pages[0];
  EXPECT_EQ(page.name, "7A");
  ASSERT_EQ(page.captions.size(), 2u);
  EXPECT_EQ(page.captions[0].centre, "Timetable For: 7A");
  EXPECT_EQ(page.captions[1].centre, R::kPrintRemark);
  EXPECT_EQ(captionOf(document.pages[1]), "Timetable For: 7B");

  // All nine days are tagged, but the school's week has five.
  ASSERT_EQ(page.table.headingRows.size(), 1u);
  EXPECT_EQ(texts(page.table.headingRows[0]),
            (std::vector<std::string>{"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday"}));
  EXPECT_EQ(headingColumn(page.table),
            (std::vector<std::string>{"First Period/08:30-09:10", "Second Period/09:10-09:50", "Recess",
                                      "Third Period/10:10-10:50", "Fourth Period/10:50-11:30",
                                      "Fifth Period/11:30-12:10", "Recess", "Sixth Period/13:00-13:40",
                                      "Seventh Period/13:40-14:20", "Eighth Period/14:20-15:00"}));
  // Subject, then the resource; names cut to 12 characters, the one-per-day marker gone.
  EXPECT_EQ(texts(page.table.rows[0])[1], "MATHEMATICS/MS OSEI");
  EXPECT_EQ(texts(page.table.rows[1])[1], "ENGLISH/MR LINDQVIST");
  EXPECT_EQ(texts(page.table.rows[3])[1], "PHYSICS/LAB 1");
  EXPECT_EQ(texts(page.table.rows[4])[2], "");  // free
  const TableRow& recess = page.table.rows[2];
  for (const TableCell& c : recess.cells) {
    EXPECT_EQ(c.text(), "Recess");
    EXPECT_TRUE(c.shaded);
  }
  // 7B is not available in the last period of Friday: the slot prints empty.
  EXPECT_EQ(texts(document.pages[1].table.rows.back())[5], "");
}

TEST_F(TimetableReportTest, AResourceTimetableNamesTheClassUnderTheSubject) {
  choose({R::kOsei});
  ReportDocument document = build(12);
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(captionOf(document.pages[0]), "Timetable For: MS OSEI");
  EXPECT_EQ(texts(document.pages[0].table.rows[0])[1], "MATHEMATICS/7A");
  EXPECT_EQ(texts(document.pages[0].table.rows[1])[1], "HISTORY & <C/7B");
}

struct TagCase {
  const char* name;
  std::vector<int> days;
  std::vector<int> periods;
  std::string recess;
  int swrkdays;
  std::vector<std::string> dayTitles;
  std::vector<std::string> headings;  // first line of each heading cell
};

class TimetableTags : public TimetableReportTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(TimetableTags, PrintOnlyTaggedDaysAndPeriodsAndTheRecessesAfterThem) {
  const TagCase& c = GetParam();
  updateSchool([&](TSchl& s) {
    s.SRECESS = c.recess;
    s.SWRKDAYS = c.swrkdays;
  });
  // Rows that are missing print nothing, like rows that are not tagged.
  store->table<TRPDay>().removeRange(TRPDay::primary, {school});
  store->table<TRPLect>().removeRange(TRPLect::primary, {school});
  for (int day : c.days) {
    TRPDay row{0, school, day, true};
    store->table<TRPDay>().insert(row);
  }
  for (int period : c.periods) {
    TRPLect row{0, school, period, true};
    store->table<TRPLect>().insert(row);
  }
  choose({R::k7A});
  ReportDocument document = build(2);
  const Table& table = document.pages.at(0).table;
  std::vector<std::string> titles = texts(table.headingRows.at(0));
  titles.erase(titles.begin());
  EXPECT_EQ(titles, c.dayTitles);
  std::vector<std::string> headings;
  for (const TableRow& row : table.rows) headings.push_back(row.cells.front().lines.at(0));
  EXPECT_EQ(headings, c.headings);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimetableTags,
    ::testing::Values(
        TagCase{"MondayAndTuesdayPeriodsOneToFour", {1, 2}, {1, 2, 3, 4}, ",2,5", 508,
                {"Monday", "Tuesday"},
                {"First Period", "Second Period", "Recess", "Third Period", "Fourth Period"}},
        TagCase{"NoRecessAfterAnUntaggedPeriod", {3}, {1, 3, 5, 6}, ",2,5", 508,
                {"Wednesday"},
                {"First Period", "Third Period", "Fifth Period", "Recess", "Sixth Period"}},
        // Recesses late in a long day are whole numbers, not the digit after a comma.
        TagCase{"RecessAfterPeriodsTenAndEleven", {1}, {1, 2, 10, 11, 12}, ",10,11", 512,
                {"Monday"},
                {"First Period", "Second Period", "Tenth Period", "Recess", "Eleventh Period", "Recess",
                 "Twelfth Period"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(TimetableReportTest, WithoutPeriodHeadingsTheTimingStandsAlone) {
  choose({R::k7A});
  ReportOptions options;
  options.periodHeadings = false;
  ReportDocument document = build(2, options);
  EXPECT_EQ(document.pages[0].table.rows[0].cells[0].lines, (std::vector<std::string>{"08:30-09:10"}));
}

TEST_F(TimetableReportTest, TheDayTitlesOfThePrintSetupHeadTheColumns) {
  auto title = store->table<TRPDate>().find(TRPDate::primary, {school, 1});
  title->RPDDAY = "Mon 10 Mar";
  store->table<TRPDate>().update(*title);
  choose({R::k7A});
  EXPECT_EQ(texts(build(2).pages[0].table.headingRows[0])[1], "Mon 10 Mar");
}

TEST_F(TimetableReportTest, AConsolidatedTimetablePutsNineItemDayColumnsOnAPage) {
  choose({R::k7A, R::k7B, R::kHonours});
  ReportOptions options;
  options.style = TimetableStyle::Consolidated;
  ReportDocument document = build(2, options);
  // Three classes of five days: fifteen columns, nine and six.
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(document.pages[0].table.columns.size(), 10u);
  EXPECT_EQ(document.pages[1].table.columns.size(), 7u);
  EXPECT_EQ(captionOf(document.pages[0]), "Timetable For: Class Consolidated TTbl");
  const TableRow& titles = document.pages[0].table.headingRows[0];
  EXPECT_EQ(titles.cells[1].lines, (std::vector<std::string>{"7A", "Monday"}));
  EXPECT_EQ(titles.cells[6].lines, (std::vector<std::string>{"7B", "Monday"}));
  EXPECT_EQ(document.pages[1].table.headingRows[0].cells[2].lines,
            (std::vector<std::string>{"EIGHTH GRADE", "HONOURS", "Monday"}));
  EXPECT_EQ(texts(document.pages[0].table.rows[0])[1], "MATHEMATICS/MS OSEI");
  EXPECT_EQ(texts(document.pages[0].table.rows[1])[6], "HISTORY & <C/MS OSEI");
  EXPECT_EQ(document.pages[0].table.rows[2].cells.size(), 10u);  // the recess spans every column
}

struct NameCase {
  const char* stored;
  const char* printed;
};

class PrintedSubjectNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PrintedSubjectNames, LoseTheOnePerDayMarkerAndAreCutToTwelve) {
  EXPECT_EQ(printedSubjectName(GetParam().stored), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintedSubjectNames,
                         ::testing::Values(NameCase{"PHYSICS(*1)", "PHYSICS"}, NameCase{"PHYSICS (*9)", "PHYSICS"},
                                           NameCase{"ART(*3) CLUB", "ART CLUB"},
                                           NameCase{"MUSIC(*xyz", "MUSIC"},
                                           NameCase{"ENVIRONMENTAL SCIENCE", "ENVIRONMENTA"},
                                           NameCase{"BIOLOGY", "BIOLOGY"}));

TEST(PeriodHeadings, NameThePeriodsOneToTwelve) {
  EXPECT_EQ(periodHeading(1), "First Period");
  EXPECT_EQ(periodHeading(11), "Eleventh Period");
  EXPECT_EQ(periodHeading(12), "Twelfth Period");
  EXPECT_EQ(periodHeading(13), "");
}

}  // namespace
}  // namespace tavrel::reports
