#include "core/reports/xlsx_writer.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <map>
#include <set>
#include <system_error>
#include <tuple>

#include "core/util/text.h"

namespace tavrel::reports {

namespace {

constexpr int kSheetNameWidth = 31;
constexpr double kLineHeight = 15.0;  // points per line of text in a row
constexpr uint8_t kPaperLetter = 1;
constexpr uint8_t kPaperA4 = 9;

bool isNumber(const TableCell& c) {
  if (c.lines.size() != 1 || c.lines.front().empty() || c.lines.front().size() > 9) return false;
  return std::all_of(c.lines.front().begin(), c.lines.front().end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

uint8_t alignmentOf(Align align) {
  switch (align) {
    case Align::Left: return LXW_ALIGN_LEFT;
    case Align::Centre: return LXW_ALIGN_CENTER;
    case Align::Right: return LXW_ALIGN_RIGHT;
  }
  return LXW_ALIGN_LEFT;
}

// The formats of one workbook, made once for each look they give.
class Formats {
 public:
  explicit Formats(lxw_workbook* workbook) : workbook_(workbook) {}

  lxw_format* cell(const TableCell& c, bool ruled) {
    const auto key = std::make_tuple(c.bold, c.shaded, static_cast<int>(c.align), ruled);
    auto found = cells_.find(key);
    if (found != cells_.end()) return found->second;
    lxw_format* format = workbook_add_format(workbook_);
    if (c.bold) format_set_bold(format);
    if (c.shaded) format_set_bg_color(format, 0xD9D9D9);
    if (ruled) format_set_border(format, LXW_BORDER_THIN);
    format_set_align(format, alignmentOf(c.align));
    format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    format_set_text_wrap(format);
    cells_.emplace(key, format);
    return format;
  }

  lxw_format* line(const HeaderLine& line, Align align) {
    const auto key = std::make_tuple(line.bold, static_cast<int>(line.size), static_cast<int>(align));
    auto found = lines_.find(key);
    if (found != lines_.end()) return found->second;
    lxw_format* format = workbook_add_format(workbook_);
    if (line.bold) format_set_bold(format);
    if (line.size == LineSize::Title) format_set_font_size(format, 14);
    if (line.size == LineSize::Heading) format_set_font_size(format, 12);
    format_set_align(format, alignmentOf(align));
    lines_.emplace(key, format);
    return format;
  }

 private:
  lxw_workbook* workbook_;
  std::map<std::tuple<bool, bool, int, bool>, lxw_format*> cells_;
  std::map<std::tuple<bool, int, int>, lxw_format*> lines_;
};

// Writes a header, caption or closing line on `row`: a centred text alone is merged across the
// sheet; texts at the edges go in the first and last columns.
void writeLine(lxw_worksheet* sheet, Formats& formats, lxw_row_t row, const HeaderLine& line, lxw_col_t lastColumn) {
  const bool alone = line.left.empty() && line.right.empty();
  if (!line.centre.empty()) {
    lxw_format* format = formats.line(line, Align::Centre);
    if (alone && lastColumn > 0) {
      worksheet_merge_range(sheet, row, 0, row, lastColumn, line.centre.c_str(), format);
    } else {
      worksheet_write_string(sheet, row, static_cast<lxw_col_t>(alone ? 0 : lastColumn / 2), line.centre.c_str(), format);
    }
  }
  if (!line.left.empty()) worksheet_write_string(sheet, row, 0, line.left.c_str(), formats.line(line, Align::Left));
  if (!line.right.empty())
    worksheet_write_string(sheet, row, lastColumn, line.right.c_str(), formats.line(line, Align::Right));
  if (line.size == LineSize::Title) worksheet_set_row(sheet, row, 20, nullptr);
}

void writeRow(lxw_worksheet* sheet, Formats& formats, lxw_row_t row, const TableRow& tableRow, bool ruled) {
  lxw_col_t column = 0;
  for (const TableCell& c : tableRow.cells) {
    lxw_format* format = formats.cell(c, ruled);
    const std::string text = c.flowingText();
    const auto span = static_cast<lxw_col_t>(std::max(c.span, 1));
    if (span > 1) {
      worksheet_merge_range(sheet, row, column, row, static_cast<lxw_col_t>(column + span - 1), text.c_str(), format);
    } else if (isNumber(c)) {
      worksheet_write_number(sheet, row, column, std::stod(c.lines.front()), format);
    } else if (text.empty()) {
      worksheet_write_blank(sheet, row, column, format);
    } else {
      worksheet_write_string(sheet, row, column, text.c_str(), format);
    }
    column = static_cast<lxw_col_t>(column + span);
  }
  // A sheet does not grow a row for its line breaks by itself.
  const int lines = [&] {
    int most = 1;
    for (const TableCell& c : tableRow.cells) {
      if (!c.wrapped) most = std::max(most, static_cast<int>(c.lines.size()));
    }
    return most;
  }();
  if (lines > 1) worksheet_set_row(sheet, row, kLineHeight * lines, nullptr);
}

void writePage(lxw_workbook* workbook, Formats& formats, const ReportDocument& document, const ReportPage& page,
               const std::string& name) {
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, name.c_str());
  if (!sheet) sheet = workbook_add_worksheet(workbook, nullptr);  // the library's own "SheetN"
  if (!sheet) return;
  const std::vector<int> widths = page.table.empty() ? std::vector<int>{40} : characterWidths(page.table);
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const auto column = static_cast<lxw_col_t>(i);
    worksheet_set_column(sheet, column, column, widths[i] + 2, nullptr);
  }
  const auto lastColumn = static_cast<lxw_col_t>(widths.size() - 1);
  lxw_row_t row = 0;
  for (const HeaderLine& line : page.header) writeLine(sheet, formats, row++, line, lastColumn);
  ++row;
  for (const HeaderLine& line : page.captions) writeLine(sheet, formats, row++, line, lastColumn);
  if (!page.captions.empty()) ++row;
  for (const TableRow& tableRow : page.table.headingRows) writeRow(sheet, formats, row++, tableRow, page.table.ruled);
  for (const TableRow& tableRow : page.table.rows) writeRow(sheet, formats, row++, tableRow, page.table.ruled);
  for (const HeaderLine& line : page.closingLines) writeLine(sheet, formats, ++row, line, lastColumn);

  if (document.orientation == Orientation::Landscape) {
    worksheet_set_landscape(sheet);
  } else {
    worksheet_set_portrait(sheet);
  }
  if (document.paper.name == "A4") worksheet_set_paper(sheet, kPaperA4);
  if (document.paper.name == "Letter") worksheet_set_paper(sheet, kPaperLetter);
  worksheet_set_margins(sheet, 0.4, 0.4, 0.4, 0.4);
  worksheet_fit_to_pages(sheet, 1, 1);
}

std::string validSheetName(std::string name) {
  for (char& c : name) {
    if (std::string_view("[]:*?/\\").find(c) != std::string_view::npos) c = '-';
  }
  name = text::cutToWidth(name, kSheetNameWidth);
  while (!name.empty() && name.front() == '\'') name.erase(name.begin());
  while (!name.empty() && name.back() == '\'') name.pop_back();
  return name;
}

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::vector<std::string> worksheetNames(const ReportDocument& document) {
  std::vector<std::string> names;
  std::set<std::string> taken;  // sheet names are unique regardless of case
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    std::string base = validSheetName(document.pages[i].name);
    if (base.empty()) base = "Page " + std::to_string(i + 1);
    std::string name = base;
    for (int n = 2; taken.contains(lowerCase(name)); ++n) {
      const std::string suffix = " (" + std::to_string(n) + ")";
      name = text::cutToWidth(base, kSheetNameWidth - static_cast<int>(suffix.size())) + suffix;
    }
    taken.insert(lowerCase(name));
    names.push_back(name);
  }
  return names;
}

Status saveReportXlsx(const ReportDocument& document, const std::filesystem::path& file) {
  // Written beside the file and renamed, so that a failure never leaves half a workbook.
  std::filesystem::path partial = file;
  partial += ".part";
  lxw_workbook* workbook = workbook_new(partial.string().c_str());
  if (!workbook) return Error{"Cannot write " + file.string() + "."};
  Formats formats(workbook);
  const std::vector<std::string> names = worksheetNames(document);
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    writePage(workbook, formats, document, document.pages[i], names[i]);
  }
  const lxw_error closed = workbook_close(workbook);
  std::error_code ec;
  if (closed != LXW_NO_ERROR) {
    std::filesystem::remove(partial, ec);
    return Error{"Cannot write " + file.string() + ": " + lxw_strerror(closed)};
  }
  std::filesystem::rename(partial, file, ec);
  if (ec) {
    std::filesystem::remove(partial, ec);
    return Error{"Cannot write " + file.string() + "."};
  }
  return {};
}

}  // namespace tavrel::reports
