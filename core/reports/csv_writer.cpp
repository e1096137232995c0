#include "core/reports/csv_writer.h"

#include <algorithm>

namespace tavrel::reports {

namespace {

// Lines end in CRLF, as spreadsheets expect of CSV.
constexpr std::string_view kLineEnd = "\r\n";

void appendLine(std::string& out, const HeaderLine& line) {
  std::string fields;
  for (const std::string* piece : {&line.left, &line.centre, &line.right}) {
    if (piece->empty()) continue;
    if (!fields.empty()) fields += ',';
    fields += csvField(*piece);
  }
  if (!fields.empty()) out += fields + std::string(kLineEnd);
}

void appendRow(std::string& out, const TableRow& row) {
  std::string fields;
  bool first = true;
  for (const TableCell& c : row.cells) {
    if (!first) fields += ',';
    first = false;
    fields += csvField(c.flowingText());
    for (int i = 1; i < c.span; ++i) fields += ',';
  }
  out += fields + std::string(kLineEnd);
}

bool sameRows(const std::vector<TableRow>& a, const std::vector<TableRow>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t r = 0; r < a.size(); ++r) {
    if (a[r].cells.size() != b[r].cells.size()) return false;
    for (std::size_t c = 0; c < a[r].cells.size(); ++c) {
      if (a[r].cells[c].lines != b[r].cells[c].lines) return false;
    }
  }
  return true;
}

bool sameCaptions(const std::vector<HeaderLine>& a, const std::vector<HeaderLine>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const HeaderLine& x, const HeaderLine& y) {
    return x.left == y.left && x.centre == y.centre && x.right == y.right;
  });
}

}  // namespace

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string reportCsv(const ReportDocument& document) {
  std::string out;
  for (std::size_t p = 0; p < document.pages.size(); ++p) {
    const ReportPage& page = document.pages[p];
    if (p == 0) {
      // The running header once; its page number means nothing without pages.
      for (HeaderLine line : page.header) {
        line.right.clear();
        appendLine(out, line);
      }
    }
    // A page that goes on with the table of the page before adds only its rows.
    const bool continued = p > 0 && sameCaptions(page.captions, document.pages[p - 1].captions) &&
                           sameRows(page.table.headingRows, document.pages[p - 1].table.headingRows);
    if (!continued) {
      for (const HeaderLine& line : page.captions) appendLine(out, line);
      for (const TableRow& row : page.table.headingRows) appendRow(out, row);
    }
    for (const TableRow& row : page.table.rows) appendRow(out, row);
    for (const HeaderLine& line : page.closingLines) appendLine(out, line);
  }
  return out;
}

}  // namespace tavrel::reports
