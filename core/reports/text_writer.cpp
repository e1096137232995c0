#include "core/reports/text_writer.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <system_error>

#include "core/util/text.h"

namespace tavrel::reports {

namespace {

constexpr int kMinimumPageWidth = 78;

std::string padded(const std::string& text, int width, Align align) {
  const int room = std::max(0, width - text::characterCount(text));
  switch (align) {
    case Align::Left: return text + std::string(static_cast<std::size_t>(room), ' ');
    case Align::Right: return std::string(static_cast<std::size_t>(room), ' ') + text;
    case Align::Centre: {
      const int before = room / 2;
      return std::string(static_cast<std::size_t>(before), ' ') + text +
             std::string(static_cast<std::size_t>(room - before), ' ');
    }
  }
  return text;
}

std::string trimmedRight(std::string line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string blanks(int count) { return std::string(static_cast<std::size_t>(std::max(count, 0)), ' '); }

// One line of the page header: the centre text centred on the page, left and right at the edges;
// texts too long for that are kept apart by two blanks.
std::string headerLine(const HeaderLine& line, int width) {
  const int left = text::characterCount(line.left);
  const int centre = text::characterCount(line.centre);
  const int right = text::characterCount(line.right);
  const int centreStart = std::max((width - centre) / 2, left > 0 ? left + 2 : 0);
  std::string row = line.left + blanks(centreStart - left) + line.centre;
  const int used = centreStart + centre;
  const int rightStart = std::max(width - right, used > 0 ? used + 2 : 0);
  row += blanks(rightStart - used) + line.right;
  return trimmedRight(row);
}

std::string rule(const std::vector<int>& widths, char fill) {
  std::string line = "+";
  for (int width : widths) line += std::string(static_cast<std::size_t>(width) + 2, fill) + "+";
  return line;
}

void appendRow(std::string& out, const TableRow& row, const std::vector<int>& widths, bool ruled) {
  const int lines = lineCount(row);
  for (int l = 0; l < lines; ++l) {
    std::string line = ruled ? "|" : "";
    std::size_t column = 0;
    for (const TableCell& c : row.cells) {
      if (column >= widths.size()) break;
      const std::size_t span = std::min<std::size_t>(static_cast<std::size_t>(std::max(c.span, 1)), widths.size() - column);
      int width = static_cast<int>(span) * 3 - 3;
      for (std::size_t i = column; i < column + span; ++i) width += widths[i];
      const std::string piece = l < static_cast<int>(c.lines.size()) ? c.lines[static_cast<std::size_t>(l)] : "";
      line += " " + padded(piece, width, c.align) + (ruled ? " |" : " ");
      column += span;
    }
    while (column < widths.size()) {
      line += " " + std::string(static_cast<std::size_t>(widths[column]), ' ') + (ruled ? " |" : " ");
      ++column;
    }
    out += trimmedRight(line) + "\n";
  }
}

void appendTable(std::string& out, const Table& table) {
  if (table.empty()) return;
  const std::vector<int> widths = characterWidths(table);
  const bool tallRows = std::any_of(table.rows.begin(), table.rows.end(),
                                    [](const TableRow& row) { return lineCount(row) > 1; });
  if (table.ruled) out += rule(widths, '-') + "\n";
  for (const TableRow& row : table.headingRows) appendRow(out, row, widths, table.ruled);
  if (!table.headingRows.empty()) out += rule(widths, '=') + "\n";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    appendRow(out, table.rows[i], widths, table.ruled);
    // Rows of several lines need a rule between them to show which lines belong together.
    if (table.ruled && (tallRows || i + 1 == table.rows.size())) out += rule(widths, '-') + "\n";
  }
}

int pageWidth(const ReportPage& page) {
  if (page.table.empty()) return kMinimumPageWidth;
  const std::vector<int> widths = characterWidths(page.table);
  const int tableWidth = std::accumulate(widths.begin(), widths.end(), 0) + 3 * static_cast<int>(widths.size()) + 1;
  return std::max(kMinimumPageWidth, tableWidth);
}

}  // namespace

std::string reportText(const ReportDocument& document) {
  std::string out;
  for (std::size_t p = 0; p < document.pages.size(); ++p) {
    const ReportPage& page = document.pages[p];
    if (p > 0) out += "\f";
    const int width = pageWidth(page);
    for (const HeaderLine& line : page.header) out += headerLine(line, width) + "\n";
    out += "\n";
    for (const HeaderLine& line : page.captions) out += headerLine(line, width) + "\n";
    if (!page.captions.empty()) out += "\n";
    appendTable(out, page.table);
    for (const HeaderLine& line : page.closingLines) out += "\n" + headerLine(line, width) + "\n";
  }
  return out;
}

Status saveReportFile(const std::string& content, const std::filesystem::path& file) {
  // A report that fails half-way must not leave half a file under the name asked for.
  std::filesystem::path partial = file;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return Error{"Cannot write " + file.string() + "."};
    out << content;
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return Error{"Cannot write " + file.string() + "."};
    }
  }
  std::error_code ec;
  std::filesystem::rename(partial, file, ec);
  if (ec) {
    std::filesystem::remove(partial, ec);
    return Error{"Cannot write " + file.string() + "."};
  }
  return {};
}

}  // namespace tavrel::reports
