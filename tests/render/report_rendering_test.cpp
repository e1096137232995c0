// Every kind of report drawn to PDF on its A4 page, read back through the PDF's text layer
// (pdftotext), and the ODT and SVG forms of a timetable.
#include <zip.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/reports/report_catalogue.h"
#include "render/gui_application.h"
#include "render/page_painter.h"
#include "render/report_renderer.h"
#include "tests/core/reports/report_test.h"

namespace tavrel::render {
namespace {

using namespace reports;
using namespace store;
namespace fs = std::filesystem;
using R = testing::ReportSchool;

std::string pdfText(const fs::path& file) {
  const std::string command = "pdftotext -layout '" + file.string() + "' -";
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

std::string zipEntry(const fs::path& file, const char* entry) {
  int error = 0;
  zip_t* archive = zip_open(file.string().c_str(), ZIP_RDONLY, &error);
  if (!archive) return {};
  std::string content;
  if (zip_file_t* f = zip_fopen(archive, entry, 0)) {
    char buffer[4096];
    zip_int64_t n;
    while ((n = zip_fread(f, buffer, sizeof buffer)) > 0) content.append(buffer, static_cast<std::size_t>(n));
    zip_fclose(f);
  }
  zip_close(archive);
  return content;
}

std::string fileText(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ReportRendering : public ReportTest {
 protected:
  void SetUp() override {
    ensureGuiApplication();
    ReportTest::SetUp();
  }

  fs::path pdfOf(int code, ReportOptions options = {}) {
    const fs::path file = folder.path() / ("report-" + std::to_string(code) + ".pdf");
    Status written = renderReport(build(code, options), ReportFormat::Pdf, file);
    EXPECT_TRUE(written.ok()) << (written.ok() ? "" : written.error());
    return file;
  }
};

struct KindCase {
  const char* name;
  int code;
  std::vector<int> items;
  bool consolidated;
  std::vector<std::string> texts;  // besides the running header and the closing line
};

class EveryReportKind : public ReportRendering, public ::testing::WithParamInterface<KindCase> {};

TEST_P(EveryReportKind, PrintsItsTextsOnAnA4Page) {
  const KindCase& c = GetParam();
  store->table<TRPCode>().removeAll();
  for (int item : c.items) {
    TRPCode row{0, "ITEM " + std::to_string(item), item};
    store->table<TRPCode>().insert(row);
  }
  ReportOptions options;
  if (c.consolidated) options.style = TimetableStyle::Consolidated;
  const std::string text = pdfText(pdfOf(c.code, options));
  for (const std::string& expected :
       {std::string(R::kInstitution), std::string(R::kSchoolName), std::string(R::kRemark),
        std::string("Printed on: 07 Mar 2025"), std::string("Page: 1"), std::string("*** End of Report")})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  for (const std::string& expected : c.texts) EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EveryReportKind,
    ::testing::Values(
        KindCase{"ClassTimetable", 2, {R::k7A}, false,
                 {"Timetable For: 7A", R::kPrintRemark, "Monday", "Friday", "First Period", "08:30-09:10",
                  "Eighth Period", "Recess", "MATHEMATICS", "MS OSEI", "MR LINDQVIST", "PHYSICS", "LAB 1"}},
        KindCase{"ResourceTimetable", 12, {R::kOsei}, false,
                 {"Timetable For: MS OSEI", "HISTORY & <C", "7B", "MATHEMATICS", "7A"}},
        KindCase{"ConsolidatedTimetable", 2, {R::k7A, R::k7B}, true,
                 {"Timetable For: Class Consolidated TTbl", "7A", "7B", "Thursday", "Recess", "MATHEMATICS"}},
        KindCase{"SchoolFreePeriods", 4, {}, false,
                 {"Class Free Periods, Whole School", "Day", "Period", "Class", "EIGHTH GRADE HONOURS", "Monday"}},
        KindCase{"ItemFreePeriods", 15, {R::kLab}, false,
                 {"Resource Free Periods (LAB 1)", "Day", "Period", "Resource", "Tuesday"}},
        KindCase{"ClassList", 1, {R::k7A, R::k7B, R::kHonours}, false,
                 {"Class List (All)", "Name", "Available", "Maximum", "Indented", "Allocated", "(Solo)", "(Multi)",
                  "(Total)", "EIGHTH GRADE HONOURS", "N.A."}},
        KindCase{"ResourceList", 11, {R::kLindqvist}, false, {"Resource List (All)", "MR LINDQVIST-BARRINGTON", "32"}},
        KindCase{"SubjectList", 21, {R::kHistory}, false, {"Subject List (All)", "HISTORY & <CIVICS>"}},
        KindCase{"ClassIndentList", 3, {R::k7A}, false,
                 {"Allocation Indents (Class View - 7A)", "Sr.", "Type", "Constraint", "Cluster/Week", "Regular",
                  "Cluster", "MATHEMATIC", "\"MONDAY\""}},
        KindCase{"ResourceIndentList", 13, {R::kLindqvist}, false,
                 {"Allocation Indents (Resource View - MR LINDQVIST-BARRINGTON)", "EIGHTH GRA", "ENGLISH"}},
        KindCase{"SubjectIndentList", 23, {R::kPhysics}, false,
                 {"Allocation Indents (Subject View - PHYSICS(*1))", "LAB 1"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ReportRendering, EachPageOfAReportIsAPageOfThePdf) {
  choose({R::k7A, R::k7B, R::kHonours});
  const std::string text = pdfText(pdfOf(2));
  // pdftotext ends every page with a form feed.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3);
  EXPECT_NE(text.find("Page: 3"), std::string::npos);
  EXPECT_EQ(text.find("*** End of Report"), text.rfind("*** End of Report"));
  EXPECT_GT(text.find("*** End of Report"), text.find("Timetable For: EIGHTH GRADE HONOURS"));
}

// The fullest timetable there is: nine days of twelve periods, every slot holding a subject and a
// partner of twelve characters, three recesses. It must fit an A4 page at a readable size
// without shortening a single name.
TEST_F(ReportRendering, TheFullestTimetableFitsAnA4PageReadably) {
  updateSchool([](TSchl& s) {
    s.SWRKDAYS = 912;
    s.SRECESS = ",2,5,8";
  });
  Transaction tx(*store);
  for (TTtbl row : store->table<TTtbl>().range(TTtbl::TIMECLAS, {school, "C", R::k7A})) {
    row.TSUBJECT = R::kHistory;
    row.TTEACHER = R::kLindqvist;
    store->table<TTtbl>().update(row);
  }
  tx.commit();
  for (bool consolidated : {false, true}) {
    choose({R::k7A});
    ReportOptions options;
    if (consolidated) options.style = TimetableStyle::Consolidated;
    const ReportDocument document = build(2, options);
    const ReportPage& page = document.pages.front();
    EXPECT_EQ(page.table.rows.size(), 15u);
    // A4 landscape at 300 dots per inch, less the margins.
    QImage sheet(3508, 2480, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(11811);
    sheet.setDotsPerMeterY(11811);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    const PagePaint paint = paintPage(painter, page, QRectF(118, 118, 3508 - 236, 2480 - 236));
    painter.end();
    EXPECT_FALSE(paint.elided);
    EXPECT_GE(paint.pointSize, 7.5) << (consolidated ? "consolidated" : "regular");
  }
}

TEST_F(ReportRendering, AnOdtHoldsTheTablesAndBreaksBetweenPages) {
  choose({R::k7A, R::k7B});
  const fs::path file = folder.path() / "timetable.odt";
  ASSERT_TRUE(renderReport(build(2), ReportFormat::Odt, file).ok());
  const std::string content = zipEntry(file, "content.xml");
  for (const char* text : {"Timetable For: 7A", "Timetable For: 7B", "First Period", "MATHEMATICS", "Recess",
                           "HISTORY &amp; &lt;C", "*** End of Report", "table:table"})
    EXPECT_NE(content.find(text), std::string::npos) << text;
  EXPECT_NE(content.find("fo:break-before=\"page\""), std::string::npos);
  // The page is the report's: A4 landscape, named by the package's manifest.
  const std::string styles = zipEntry(file, "styles.xml");
  EXPECT_NE(styles.find("fo:page-width=\"297.00mm\" fo:page-height=\"210.00mm\""), std::string::npos) << styles;
  EXPECT_NE(styles.find("style:print-orientation=\"landscape\""), std::string::npos);
  EXPECT_NE(zipEntry(file, "META-INF/manifest.xml").find("styles.xml"), std::string::npos);
  EXPECT_EQ(content.find("style:width=\"100pt\""), std::string::npos);
}

TEST_F(ReportRendering, AnSvgIsDrawnForEveryPage) {
  choose({R::k7A, R::k7B});
  const fs::path file = folder.path() / "timetable.svg";
  ASSERT_TRUE(renderReport(build(2), ReportFormat::Svg, file).ok());
  const auto files = svgPageFiles(file, 2);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1].filename(), "timetable-2.svg");
  const std::string second = fileText(files[1]);
  EXPECT_NE(second.find("Timetable For: 7B"), std::string::npos);
  EXPECT_NE(second.find("HISTORY &amp; &lt;C"), std::string::npos);
  EXPECT_NE(second.find("viewBox=\"0 0 842 595\""), std::string::npos);  // A4 landscape in points
  EXPECT_EQ(svgPageFiles(file, 1), (std::vector<fs::path>{file}));
}

}  // namespace
}  // namespace tavrel::render
