#include "core/reports/html_writer.h"

#include <cstdio>

namespace tavrel::reports {

namespace {

const char* alignClass(Align align) {
  switch (align) {
    case Align::Left: return "left";
    case Align::Centre: return "centre";
    case Align::Right: return "right";
  }
  return "left";
}

const char* sizeClass(LineSize size) {
  switch (size) {
    case LineSize::Title: return "title";
    case LineSize::Heading: return "heading";
    case LineSize::Normal: return "normal";
  }
  return "normal";
}

std::string inches(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2fin", value);
  return buffer;
}

std::string styleSheet(const ReportDocument& document) {
  const bool landscape = document.orientation == Orientation::Landscape;
  const double width = landscape ? document.paper.heightInches : document.paper.widthInches;
  const double height = landscape ? document.paper.widthInches : document.paper.heightInches;
  return "@page { size: " + inches(width) + " " + inches(height) + "; margin: 0.4in; }\n" +
         R"(body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; font-size: 10pt; color: #000; margin: 0; }
section.page { break-after: page; page-break-after: always; }
section.page:last-child { break-after: auto; page-break-after: auto; }
@media screen {
  body { background: #eee; }
  section.page { background: #fff; max-width: 11in; margin: 1em auto; padding: 0.4in; box-shadow: 0 0 4px #999; }
}
.line { display: grid; grid-template-columns: 1fr auto 1fr; column-gap: 1em; }
.line .left { text-align: left; }
.line .centre { text-align: center; }
.line .right { text-align: right; }
.title { font-size: 15pt; }
.heading { font-size: 12pt; }
.bold { font-weight: bold; }
header { margin-bottom: 0.6em; }
.captions { margin-bottom: 0.6em; }
table { border-collapse: collapse; width: 100%; page-break-inside: avoid; }
th, td { padding: 2px 5px; vertical-align: top; }
table.ruled th, table.ruled td { border: 1px solid #000; }
th { font-weight: bold; }
td.left, th.left { text-align: left; }
td.centre, th.centre { text-align: center; }
td.right, th.right { text-align: right; }
.shaded { background: #d9d9d9; }
.closing { margin-top: 0.8em; font-weight: bold; }
)";
}

void appendLine(std::string& out, const HeaderLine& line) {
  out += "<div class=\"line ";
  out += sizeClass(line.size);
  if (line.bold) out += " bold";
  out += "\"><span class=\"left\">" + htmlEscaped(line.left) + "</span><span class=\"centre\">" +
         htmlEscaped(line.centre) + "</span><span class=\"right\">" + htmlEscaped(line.right) + "</span></div>\n";
}

std::string cellHtml(const TableCell& c) {
  std::string html;
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    if (i > 0) html += c.wrapped ? " " : "<br>";
    html += htmlEscaped(c.lines[i]);
  }
  return html;
}

void appendRow(std::string& out, const TableRow& row, const char* tag) {
  out += "<tr>";
  for (const TableCell& c : row.cells) {
    out += "<";
    out += tag;
    out += " class=\"";
    out += alignClass(c.align);
    if (c.bold) out += " bold";
    if (c.shaded) out += " shaded";
    out += "\"";
    if (c.span > 1) out += " colspan=\"" + std::to_string(c.span) + "\"";
    out += ">" + cellHtml(c) + "</" + tag + ">";
  }
  out += "</tr>\n";
}

void appendTable(std::string& out, const Table& table) {
  if (table.empty()) return;
  out += table.ruled ? "<table class=\"ruled\">\n" : "<table>\n";
  if (!table.headingRows.empty()) {
    out += "<thead>\n";
    for (const TableRow& row : table.headingRows) appendRow(out, row, "th");
    out += "</thead>\n";
  }
  out += "<tbody>\n";
  for (const TableRow& row : table.rows) appendRow(out, row, "td");
  out += "</tbody>\n</table>\n";
}

}  // namespace

std::string htmlEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string reportHtml(const ReportDocument& document) {
  std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                    htmlEscaped(document.title) + "</title>\n<style>\n" + styleSheet(document) + "</style>\n</head>\n<body>\n";
  for (const ReportPage& page : document.pages) {
    out += "<section class=\"page\">\n<header>\n";
    for (const HeaderLine& line : page.header) appendLine(out, line);
    out += "</header>\n";
    if (!page.captions.empty()) {
      out += "<div class=\"captions\">\n";
      for (const HeaderLine& line : page.captions) appendLine(out, line);
      out += "</div>\n";
    }
    appendTable(out, page.table);
    for (const HeaderLine& line : page.closingLines) {
      out += "<div class=\"closing\">";
      appendLine(out, line);
      out += "</div>\n";
    }
    out += "</section>\n";
  }
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace tavrel::reports
