#include "core/reports/report_document.h"

#include <algorithm>
#include <map>

#include "core/util/text.h"

namespace tavrel::reports {

std::string TableCell::text(std::string_view separator) const {
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += separator;
    joined += lines[i];
  }
  return joined;
}

TableCell cell(std::string text, Align align) {
  TableCell result;
  if (!text.empty()) result.lines.push_back(std::move(text));
  result.align = align;
  return result;
}

TableCell cellLines(std::vector<std::string> lines, Align align) {
  // Trailing blank lines print nothing and would only make rows taller.
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  TableCell result;
  result.lines = std::move(lines);
  result.align = align;
  return result;
}

TableCell boldCell(std::string text, Align align, int span) {
  TableCell result = cell(std::move(text), align);
  result.bold = true;
  result.span = span;
  return result;
}

std::vector<std::string> wrapText(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (width < 1) width = 1;
  std::string line;
  auto flush = [&] {
    if (!line.empty()) lines.push_back(line);
    line.clear();
  };
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t start = text.find_first_not_of(' ', position);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    std::string word(text.substr(start, end - start));
    position = end;
    const int wordLength = text::characterCount(word);
    const int lineLength = text::characterCount(line);
    if (!line.empty() && lineLength + 1 + wordLength <= width) {
      line += ' ' + word;
      continue;
    }
    flush();
    while (text::characterCount(word) > width) {
      std::string piece = text::cutToWidth(word, width);
      lines.push_back(piece);
      word.erase(0, piece.size());
    }
    line = word;
  }
  flush();
  return lines;
}

TableCell wrappedCell(std::string_view text, int width, Align align) {
  TableCell result = cellLines(wrapText(text, width), align);
  result.wrapped = true;
  return result;
}

std::vector<int> characterWidths(const Table& table) {
  std::vector<int> widths;
  for (const TableColumn& column : table.columns) widths.push_back(std::max(column.width, 1));
  auto widen = [&](const TableRow& row) {
    std::size_t column = 0;
    for (const TableCell& c : row.cells) {
      if (column >= widths.size()) break;
      const std::size_t span = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(c.span, 1)), 1, widths.size() - column);
      int widest = 0;
      for (const std::string& line : c.lines) widest = std::max(widest, text::characterCount(line));
      // A spanned cell also covers the separators between its columns.
      int room = static_cast<int>(span) * 3 - 3;
      for (std::size_t i = column; i < column + span; ++i) room += widths[i];
      if (widest > room) widths[column + span - 1] += widest - room;
      column += span;
    }
  };
  // Single cells first, so that a spanned heading only widens what the rows leave too narrow.
  for (const auto* rows : {&table.headingRows, &table.rows}) {
    for (const TableRow& row : *rows) {
      TableRow singles;
      for (const TableCell& c : row.cells) {
        TableCell copy = c;
        if (c.span > 1) copy.lines.clear();
        singles.cells.push_back(std::move(copy));
      }
      widen(singles);
    }
  }
  for (const auto* rows : {&table.headingRows, &table.rows}) {
    for (const TableRow& row : *rows) widen(row);
  }
  std::map<int, int> groupWidths;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const int group = table.columns[i].widthGroup;
    if (group > 0) groupWidths[group] = std::max(groupWidths[group], widths[i]);
  }
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const int group = table.columns[i].widthGroup;
    if (group > 0) widths[i] = groupWidths[group];
  }
  return widths;
}

int lineCount(const TableRow& row) {
  std::size_t most = 1;
  for (const TableCell& c : row.cells) most = std::max(most, c.lines.size());
  return static_cast<int>(most);
}

}  // namespace tavrel::reports

namespace tavrel::reports {

std::vector<std::vector<TableRow>> splitIntoPages(std::vector<TableRow> rows, int linesPerPage) {
  std::vector<std::vector<TableRow>> pages;
  int used = 0;
  for (TableRow& row : rows) {
    const int lines = lineCount(row);
    if (pages.empty() || (used > 0 && used + lines > linesPerPage)) {
      pages.emplace_back();
      used = 0;
    }
    pages.back().push_back(std::move(row));
    used += lines;
  }
  return pages;
}

}  // namespace tavrel::reports
