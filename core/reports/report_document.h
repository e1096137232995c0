// The one shape every report takes before it is written anywhere: pages, each with a running page
// header, caption lines, one table of rows and cells, and closing lines. The builders decide every
// text, every page break and every style; the writers (text, CSV, HTML, XLSX here, PDF, ODT and
// SVG in the renderer) only lay the pages out, so that every format prints the same report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel::reports {

enum class Orientation { Portrait, Landscape };

// The sheet the report is laid out for, in inches as the print settings give it.
struct Paper {
  std::string name = "A4";
  double widthInches = 8.27;    // the short side
  double heightInches = 11.69;  // the long side
};

enum class Align { Left, Centre, Right };

// The emphasis of a line of the page header: the institution stands out, the rest follows.
enum class LineSize { Title, Heading, Normal };

// A line of the page header or of the captions: up to three texts at the left, centre and right.
struct HeaderLine {
  std::string left;
  std::string centre;
  std::string right;
  LineSize size = LineSize::Normal;
  bool bold = false;
};

struct TableColumn {
  int width = 10;      // the width in characters the builder meant; a writer may give more
  Align align = Align::Left;
  int widthGroup = 0;  // columns of one group above 0 get the same width
};

struct TableCell {
  std::vector<std::string> lines;  // one entry per printed line; none for an empty cell
  bool bold = false;
  bool shaded = false;  // a band across the table, such as a recess
  Align align = Align::Left;
  int span = 1;  // columns the cell covers, from its own to the right
  bool wrapped = false;  // the lines are one text broken to fit: a writer that wraps by itself
                         // joins them with blanks instead of line breaks

  // The lines joined for a writer that has no line breaks of its own.

  std::string text(std::string_view separator = "\n") const;
  std::string flowingText() const { return text(wrapped ? " " : "\n"); }
};

struct TableRow {
  std::vector<TableCell> cells;
};

// A table with ruled cells. The heading rows are printed first and in bold.
struct Table {
  std::vector<TableColumn> columns;
  std::vector<TableRow> headingRows;
  std::vector<TableRow> rows;
  bool ruled = true;
  bool fillsPage = false;  // a grid to pin up: a page painter may make its rows taller to fill the page

  bool empty() const { return columns.empty(); }
};

struct ReportPage {
  std::string name;                      // what the page shows: an item's name, or "Page 3"
  std::vector<HeaderLine> header;        // the running header, with its page number
  std::vector<HeaderLine> captions;      // what this page is about
  Table table;
  std::vector<HeaderLine> closingLines;  // after the table
};

struct ReportDocument {
  std::string title;  // the report's catalogue name
  Orientation orientation = Orientation::Portrait;
  Paper paper;
  std::vector<ReportPage> pages;
};

// ---- Building blocks the builders share ----------------------------------------------------------

TableCell cell(std::string text, Align align = Align::Left);
TableCell cellLines(std::vector<std::string> lines, Align align = Align::Left);
TableCell boldCell(std::string text, Align align = Align::Centre, int span = 1);

// The words of `text` on lines of at most `width` characters; a word longer than a line is cut
// into pieces. Blank text gives no line.
std::vector<std::string> wrapText(std::string_view text, int width);

// A cell of `text` broken into lines of at most `width` characters (see `wrapText`).
TableCell wrappedCell(std::string_view text, int width, Align align = Align::Left);

// Number of printed lines of a row: the most lines of any of its cells, at least one.
int lineCount(const TableRow& row);

// The width in characters of every column of a table printed in a fixed-width font: the widest
// line of the column, a cell that spans columns widening the last of them, at least the width
// the builder meant, and one width for each group.
std::vector<int> characterWidths(const Table& table);

}  // namespace tavrel::reports

namespace tavrel::reports {

// The rows cut into pages of at most `linesPerPage` printed lines; a row is never split, and a
// row taller than a page gets a page of its own. No rows give no page.
std::vector<std::vector<TableRow>> splitIntoPages(std::vector<TableRow> rows, int linesPerPage);

}  // namespace tavrel::reports
