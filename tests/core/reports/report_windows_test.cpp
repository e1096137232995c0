// The rules of the windows that lead into a report: the catalogue, "&Next" of the report setup,
// "&Preview" of the selection, "&Last Work", the timetable print setup and the print settings.
#include "core/reports/last_work.h"
#include "core/reports/print_settings.h"
#include "core/reports/print_setup.h"
#include "core/reports/report_catalogue.h"
#include "core/reports/report_filters.h"
#include "core/reports/report_selection.h"
#include "core/reports/report_setup.h"
#include "tests/core/reports/report_test.h"

namespace tavrel::reports {
namespace {

using namespace store;

class ReportWindowsTest : public ReportTest {
 protected:
  void deactivateAllIndents() {
    for (TAlloc row : store->table<TAlloc>().range(TAlloc::primary, {school})) {
      row.AACTIVE = "N";
      store->table<TAlloc>().update(row);
    }
  }
};

TEST_F(ReportWindowsTest, TheCatalogueIsSeededOnceWithANameForEveryCode) {
  const std::vector<TReps> rows = reportCatalogue(*store);
  ASSERT_EQ(rows.size(), reportCodes().size());
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1].REPNAME, rows[i].REPNAME);
  for (const TReps& row : rows) {
    EXPECT_LE(row.REPNAME.size(), 35u);
    EXPECT_TRUE(reportKind(row.REPCODE).has_value()) << row.REPCODE;
  }
  // A renamed catalogue is the user's: it is never seeded again.
  auto first = store->table<TReps>().find(TReps::primary, {rows.front().REPNAME});
  store->table<TReps>().remove(*first);
  EXPECT_EQ(reportCatalogue(*store).size(), rows.size() - 1);
}

TEST(ReportCodes, SayWhoseReportItIsAndWhichKind) {
  EXPECT_EQ(reportCodes(), (std::vector<int>{1, 2, 3, 4, 5, 11, 12, 13, 14, 15, 21, 23}));
  EXPECT_EQ(reportView(5), 'C');
  EXPECT_EQ(reportView(14), 'T');
  EXPECT_EQ(reportView(23), 'S');
  EXPECT_EQ(reportKind(13), ReportKind::IndentList);
  EXPECT_EQ(reportKind(14), ReportKind::SchoolFreePeriods);
  EXPECT_EQ(reportKind(15), ReportKind::ItemFreePeriods);
  EXPECT_FALSE(reportKind(22).has_value());
}

TEST_F(ReportWindowsTest, NextLeadsToTheSelectionOrStraightToThePrintSetup) {
  EXPECT_EQ(reportSetupCaption(*session->school()), "SENIOR SCHOOL - Report Setup");
  EXPECT_EQ(reportSetupNext(*session, 12), ReportStep::Selection);
  EXPECT_EQ(session->viewKind, 'T');
  EXPECT_EQ(reportSetupNext(*session, 4), ReportStep::PrintSetup);
  EXPECT_EQ(session->viewKind, 'C');
  EXPECT_EQ(reportSetupNext(*session, 23), ReportStep::Selection);
  EXPECT_EQ(session->viewKind, 'S');
}

TEST_F(ReportWindowsTest, WithoutActiveIndentsOnlyTheListsHaveData) {
  deactivateAllIndents();
  for (int code : reportCodes()) {
    if (reportKind(code) == ReportKind::List) {
      EXPECT_EQ(reportSetupNext(*session, code), ReportStep::Selection) << code;
    } else {
      prompter.expectMessage(MessageKind::Error, "No data for this report.");
      EXPECT_FALSE(reportSetupNext(*session, code).has_value()) << code;
    }
  }
  EXPECT_TRUE(prompter.done());
}

TEST_F(ReportWindowsTest, AReportOfAKindTheSchoolHasNoneOfHasNoData) {
  store->table<TSctl>().removeRange(TSctl::primary, {school});
  prompter.expectMessage(MessageKind::Error, "No data for this report.");
  EXPECT_FALSE(reportSetupNext(*session, 21).has_value());
}

TEST_F(ReportWindowsTest, PreviewRecordsTheTickedItemsOfTheSchool) {
  EXPECT_EQ(selectableNames(*store, school, 'T'),
            (std::vector<std::string>{"LAB 1", "MR LINDQVIST-BARRINGTON", "MS OSEI"}));
  EXPECT_EQ(selectableNames(*store, school, 'S'),
            (std::vector<std::string>{"ENGLISH", "HISTORY & <CIVICS>", "MATHEMATICS", "PHYSICS(*1)"}));
  EXPECT_EQ(filterPanelCaption('T'), "Resource Filter");
  EXPECT_EQ(itemLabel('S'), "Subject :");

  choose({99});
  EXPECT_EQ(previewSelection(*session, 13, {"MS OSEI", "LAB 1"}), SelectionStep::Preview);
  std::vector<std::pair<std::string, int>> chosen;
  for (const TRPCode& row : chosenItems(*store)) chosen.emplace_back(row.RPTNAME, row.RPTCODE);
  EXPECT_EQ(chosen, (std::vector<std::pair<std::string, int>>{{"MS OSEI", R::kOsei}, {"LAB 1", R::kLab}}));
  EXPECT_EQ(previewSelection(*session, 2, {"7A"}), SelectionStep::PrintSetup);
}

TEST_F(ReportWindowsTest, PreviewWithNothingTickedIsRefused) {
  prompter.expectMessage(MessageKind::Error, "No items tagged in the checked list box. Click the box to tag.");
  EXPECT_FALSE(previewSelection(*session, 1, {}).has_value());
  EXPECT_TRUE(chosenItems(*store).empty());
}

TEST_F(ReportWindowsTest, LastWorkReturnsToTheRememberedIndentOfTheView) {
  updateSchool([](TSchl& s) {
    s.SCLSSRL = 4;
    s.STCHSRL = 3;
    s.SSUBSRL = 99;
  });
  session->viewKind = 'C';
  auto found = lastWork(*session);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->item, R::k7B);
  EXPECT_EQ(found->serial, 4);
  EXPECT_EQ(session->classes().current()->CLSNAME, "7B");

  session->viewKind = 'T';
  found = lastWork(*session);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->item, R::kLab);
  EXPECT_EQ(session->resources().current()->TCHNAME, "LAB 1");

  session->viewKind = 'S';
  prompter.expectMessage(MessageKind::Error, "Last Work not found.");
  EXPECT_FALSE(lastWork(*session).has_value());
}

TEST_F(ReportWindowsTest, ThePrintSetupOpensOnTheStoredTicks) {
  tagOnly({1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 3});
  PrintSetup setup(*session, 12);
  EXPECT_EQ(setup.dayNames().front(), "Monday");
  EXPECT_EQ(setup.dayNames().back(), "Day9");
  EXPECT_TRUE(setup.allDaysTagged());
  EXPECT_FALSE(setup.allPeriodsTagged());
  EXPECT_TRUE(setup.periodTagged(3));
  EXPECT_FALSE(setup.periodTagged(2));
  EXPECT_TRUE(setup.periodHeadings);
  EXPECT_EQ(setup.remark, R::kPrintRemark);
  EXPECT_TRUE(setup.showsReportType());
  EXPECT_EQ(setup.reportTypeNames(), (std::vector<std::string>{"Resource Regular TTbl", "Resource Consolidated TTbl"}));
  EXPECT_FALSE(PrintSetup(*session, 14).showsReportType());
  setup.selectAllPeriods(true);
  EXPECT_TRUE(setup.allPeriodsTagged());
}

TEST_F(ReportWindowsTest, PreviewStoresTheTicksAndTheRemarkAndMakesMissingRows) {
  store->table<TRPDate>().removeRange(TRPDate::primary, {school});
  store->table<TRPTime>().removeRange(TRPTime::primary, {school});
  PrintSetup setup(*session, 2);
  EXPECT_TRUE(setup.dayTitles().empty());
  setup.selectAllDays(false);
  setup.tagDay(2, true);
  setup.selectAllPeriods(false);
  setup.tagPeriod(7, true);
  setup.remark = "Prayer 07:45";
  ASSERT_TRUE(setup.preview());
  EXPECT_EQ(setup.dayTitles().size(), 9u);
  EXPECT_EQ(setup.dayTitles()[4].RPDDAY, "Friday");
  EXPECT_EQ(setup.timings().size(), 12u);
  const ReportSelection selection = readSelection(*store, school, 2);
  for (int day = 1; day <= 9; ++day) EXPECT_EQ(selection.dayTagged(day), day == 2);
  for (int period = 1; period <= 12; ++period) EXPECT_EQ(selection.periodTagged(period), period == 7);
  EXPECT_EQ(session->school()->SPREMARK, "Prayer 07:45");
}

TEST_F(ReportWindowsTest, PreviewNeedsADayAndAPeriod) {
  PrintSetup setup(*session, 4);
  setup.selectAllPeriods(false);
  prompter.expectMessage(MessageKind::Error,
                         "At least one day and one period must be tagged. Click on the box to tag.");
  EXPECT_FALSE(setup.preview());
  setup.tagPeriod(1, true);
  setup.selectAllDays(false);
  prompter.expectMessage(MessageKind::Error,
                         "At least one day and one period must be tagged. Click on the box to tag.");
  EXPECT_FALSE(setup.preview());
  EXPECT_TRUE(prompter.done());
}

TEST_F(ReportWindowsTest, TimingsAndDayTitlesAreEditedButNeverAddedOrDeleted) {
  PrintSetup setup(*session, 2);
  EXPECT_TRUE(setup.setTiming(3, "10:15-10:55"));
  EXPECT_TRUE(setup.setDayTitle(1, "Mon 10 Mar"));
  EXPECT_FALSE(setup.setTiming(13, "late"));
  prompter.expectMessage(MessageKind::Information, "Cannot append.");
  setup.appendRow();
  prompter.expectMessage(MessageKind::Information, "Cannot delete.");
  setup.deleteRow();
  EXPECT_EQ(setup.timings().size(), 12u);
  EXPECT_EQ(setup.timings()[2].RPTMTIME, "10:15-10:55");
  EXPECT_EQ(setup.dayTitles()[0].RPDDAY, "Mon 10 Mar");
}

TEST(PrintSettings, PapersFillTheirLengthAndWidth) {
  PrintSettings settings = openPrintSettings({"Office Laser", "PDF"});
  EXPECT_EQ(settings.printer, "Office Laser");
  EXPECT_EQ(settings.copies, 1);
  EXPECT_EQ(settings.orientation, Orientation::Portrait);
  EXPECT_EQ(settings.font, "Arial");
  EXPECT_EQ(settings.paper, "A4");
  struct Case {
    const char* paper;
    const char* length;
    const char* width;
  };
  for (const Case& c : {Case{"Letter", "11.00", "8.50"}, Case{"15\"X12\"", "15.00", "12.00"},
                        Case{"10\"X12\"", "12.00", "10.00"}, Case{"A4", "11.69", "8.27"}}) {
    EXPECT_TRUE(settings.choosePaper(c.paper));
    EXPECT_EQ(settings.length, c.length);
    EXPECT_EQ(settings.width, c.width);
  }
  EXPECT_FALSE(settings.choosePaper("A3"));
  EXPECT_EQ(settings.paper, "A4");
  const Paper letter = paperOf(*findPaperSize("Letter"));
  EXPECT_DOUBLE_EQ(letter.widthInches, 8.5);
  EXPECT_DOUBLE_EQ(letter.heightInches, 11.0);
}

}  // namespace
}  // namespace tavrel::reports
