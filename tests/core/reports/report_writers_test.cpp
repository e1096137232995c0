// The text, CSV, HTML and XLSX forms of a report.
#include <zip.h>

#include <fstream>
#include <sstream>

#include "core/reports/csv_writer.h"
#include "core/reports/html_writer.h"
#include "core/reports/report_formats.h"
#include "core/reports/text_writer.h"
#include "core/reports/xlsx_writer.h"
#include "tests/core/reports/report_test.h"

namespace tavrel::reports {
namespace {

// A document of two pages: a list that goes on over a page break, with a spanned heading, a
// two-line cell and texts that need quoting and escaping.
ReportDocument twoPages() {
  ReportDocument document;
  document.title = "Rock & <Roll>";
  document.orientation = Orientation::Landscape;
  for (int p = 1; p <= 2; ++p) {
    ReportPage page;
    page.name = "Staff: \"A/B\"";
    page.header = {{"", "ST. MARY'S", "", LineSize::Title, true},
                   {"Printed on: 07 Mar 2025", "", "Page: " + std::to_string(p), LineSize::Normal, false}};
    page.captions = {{"", "Class List (All)", "", LineSize::Heading, true}};
    page.table.columns = {{10, Align::Left, 0}, {5, Align::Right, 0}, {5, Align::Right, 0}};
    TableRow heading;
    heading.cells = {boldCell("Name", Align::Left), boldCell("Indented", Align::Centre, 2)};
    page.table.headingRows.push_back(heading);
    TableRow row;
    row.cells = {cellLines({"MATHS", "MS OSEI"}), cell(p == 1 ? "12" : "3", Align::Right), cell("a,b", Align::Right)};
    page.table.rows.push_back(row);
    document.pages.push_back(page);
  }
  document.pages.back().closingLines.push_back({"*** End of Report", "", "", LineSize::Normal, true});
  return document;
}

std::string zipEntry(const std::filesystem::path& file, const char* entry) {
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

TEST(TextWriter, PrintsRuledPagesSeparatedByAFormFeed) {
  const std::string text = reportText(twoPages());
  const auto pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos);
  EXPECT_EQ(text.find('\f', pageBreak + 1), std::string::npos);
  const std::string first = text.substr(0, pageBreak);
  EXPECT_NE(first.find("ST. MARY'S"), std::string::npos);
  EXPECT_NE(first.find("Page: 1"), std::string::npos);
  EXPECT_EQ(first.find("*** End of Report"), std::string::npos);
  EXPECT_NE(text.find("*** End of Report", pageBreak), std::string::npos);
  // The "Printed on:" line holds both ends on one line.
  std::istringstream lines(first);
  std::string line;
  bool dated = false;
  while (std::getline(lines, line)) {
    if (line.rfind("Printed on: 07 Mar 2025", 0) == 0) {
      dated = true;
      EXPECT_EQ(line.substr(line.size() - 7), "Page: 1");
      EXPECT_EQ(line.size(), 78u);
    }
  }
  EXPECT_TRUE(dated);
  // The two lines of a cell are printed one under the other, in one column.
  EXPECT_NE(first.find("| MATHS      |    12 |   a,b |"), std::string::npos) << first;
  EXPECT_NE(first.find("| MS OSEI    |       |       |"), std::string::npos) << first;
  EXPECT_NE(first.find("| Name       |   Indented    |"), std::string::npos) << first;
}

TEST(CsvWriter, QuotesWhatNeedsItAndKeepsValuesUnderTheirHeadings) {
  EXPECT_EQ(csvField("plain"), "plain");
  EXPECT_EQ(csvField("a,b"), "\"a,b\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  const std::string csv = reportCsv(twoPages());
  EXPECT_EQ(csv,
            "ST. MARY'S\r\n"
            "Printed on: 07 Mar 2025\r\n"
            "Class List (All)\r\n"
            "Name,Indented,\r\n"
            "\"MATHS\nMS OSEI\",12,\"a,b\"\r\n"
            "\"MATHS\nMS OSEI\",3,\"a,b\"\r\n"
            "*** End of Report\r\n");
}

TEST(HtmlWriter, GivesEveryReportPageAPrintablePageAndEscapesEverything) {
  const std::string html = reportHtml(twoPages());
  EXPECT_NE(html.find("<title>Rock &amp; &lt;Roll&gt;</title>"), std::string::npos);
  EXPECT_NE(html.find("size: 11.69in 8.27in"), std::string::npos);
  EXPECT_NE(html.find("ST. MARY&#39;S"), std::string::npos);
  EXPECT_EQ(html.find("MARY'S"), std::string::npos);
  EXPECT_NE(html.find("<th class=\"centre bold\" colspan=\"2\">Indented</th>"), std::string::npos);
  EXPECT_NE(html.find("MATHS<br>MS OSEI"), std::string::npos);
  std::size_t sections = 0;
  for (auto at = html.find("<section class=\"page\">"); at != std::string::npos;
       at = html.find("<section class=\"page\">", at + 1))
    ++sections;
  EXPECT_EQ(sections, 2u);
  EXPECT_NE(html.find("page-break-after: always"), std::string::npos);
}

TEST(XlsxWriter, WritesAWorksheetPerPageWithValidUniqueNames) {
  testing::TempFolder folder;
  const auto file = folder.path() / "report.xlsx";
  ASSERT_TRUE(saveReport(twoPages(), ReportFormat::Xlsx, file).ok());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "report.xlsx.part"));
  const std::string workbook = zipEntry(file, "xl/workbook.xml");
  EXPECT_NE(workbook.find("name=\"Staff- &quot;A-B&quot;\""), std::string::npos) << workbook;
  EXPECT_NE(workbook.find("name=\"Staff- &quot;A-B&quot; (2)\""), std::string::npos) << workbook;
  const std::string strings = zipEntry(file, "xl/sharedStrings.xml");
  for (const char* text : {"ST. MARY'S", "Class List (All)", "Indented", "MATHS\nMS OSEI", "*** End of Report"})
    EXPECT_NE(strings.find(text), std::string::npos) << text;
  const std::string sheet = zipEntry(file, "xl/worksheets/sheet1.xml");
  EXPECT_NE(sheet.find("<mergeCell ref=\"B6:C6\"/>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("orientation=\"landscape\""), std::string::npos);
  EXPECT_NE(sheet.find("<v>12</v>"), std::string::npos);  // counts are numbers
}

TEST(XlsxWriter, SheetNamesAreCutAndMadeUnique) {
  ReportDocument document;
  for (const char* name : {"A VERY LONG NAME OF A CLASS THAT GOES ON", "a very long name of a class that goes on",
                           "'quoted'", "[x]", ""}) {
    ReportPage page;
    page.name = name;
    document.pages.push_back(page);
  }
  EXPECT_EQ(worksheetNames(document),
            (std::vector<std::string>{"A VERY LONG NAME OF A CLASS THA", "a very long name of a class (2)",
                                      "quoted", "-x-", "Page 5"}));
}

TEST(ReportFormats, AreNamedByTheirExtension) {
  EXPECT_EQ(reportFormat("pdf"), ReportFormat::Pdf);
  EXPECT_EQ(reportFormat("txt"), ReportFormat::Text);
  EXPECT_FALSE(reportFormat("doc").has_value());
  EXPECT_TRUE(writtenByCore(ReportFormat::Xlsx));
  EXPECT_FALSE(writtenByCore(ReportFormat::Svg));
  testing::TempFolder folder;
  EXPECT_FALSE(saveReport(twoPages(), ReportFormat::Pdf, folder.path() / "x.pdf").ok());
}

class WrittenReportTest : public ReportTest {};

TEST_F(WrittenReportTest, EveryFormatOfATimetableHoldsItsTexts) {
  choose({R::k7A, R::k7B});
  const ReportDocument document = build(2);
  for (ReportFormat format : {ReportFormat::Text, ReportFormat::Csv, ReportFormat::Html}) {
    const auto file = folder.path() / ("timetable." + std::string(formatName(format)));
    ASSERT_TRUE(saveReport(document, format, file).ok());
    std::ifstream in(file);
    std::stringstream content;
    content << in.rdbuf();
    for (const char* text : {R::kInstitution, "Timetable For: 7A", "Monday", "First Period", "MATHEMATICS", "Recess",
                             "MR LINDQVIST", "*** End of Report"})
      EXPECT_NE(content.str().find(text), std::string::npos) << formatName(format) << ": " << text;
  }
  EXPECT_NE(reportHtml(document).find("HISTORY &amp; &lt;C"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::reports
