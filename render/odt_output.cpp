#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>

#include <zip.h>

#include <cstdio>

#include "render/page_outputs.h"

namespace tavrel::render {

using reports::Align;
using reports::HeaderLine;
using reports::LineSize;
using reports::Table;
using reports::TableCell;
using reports::TableRow;

namespace {

constexpr double kBodyPointSize = 9.0;

// The width a table may take on the page, in points. Tables are given fixed widths: Qt writes a
// relative width into the file as if it were in points, which a word processor takes at its word.
double contentWidthPoints(const reports::ReportDocument& document) {
  return pageLayoutOf(document).paintRectPoints().width();
}

Qt::Alignment qtAlignment(Align align) {
  switch (align) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

QTextCharFormat textFormat(bool bold, LineSize size = LineSize::Normal) {
  QTextCharFormat format;
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  const double scale = size == LineSize::Title ? 1.45 : size == LineSize::Heading ? 1.2 : 1.0;
  format.setFontPointSize(kBodyPointSize * scale);
  return format;
}

// Starts a paragraph; the first of a page after the first begins a new printed page.
void startBlock(QTextCursor& cursor, Qt::Alignment alignment, bool& pageStart, bool& firstBlock) {
  QTextBlockFormat block;
  block.setAlignment(alignment);
  if (pageStart) {
    block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    pageStart = false;
  }
  if (firstBlock) {
    cursor.setBlockFormat(block);
    firstBlock = false;
  } else {
    cursor.insertBlock(block);
  }
}

// A line with texts at the edges becomes a borderless table of three cells, which every word
// processor lays out the same; a centred line alone is a centred paragraph.
void insertLine(QTextCursor& cursor, const HeaderLine& line, double width, bool& pageStart, bool& firstBlock) {
  const QTextCharFormat format = textFormat(line.bold, line.size);
  if (line.left.empty() && line.right.empty()) {
    startBlock(cursor, Qt::AlignHCenter, pageStart, firstBlock);
    cursor.insertText(QString::fromStdString(line.centre), format);
    return;
  }
  startBlock(cursor, Qt::AlignLeft, pageStart, firstBlock);
  QTextTableFormat frame;
  frame.setBorder(0);
  frame.setCellPadding(0);
  frame.setCellSpacing(0);
  frame.setWidth(QTextLength(QTextLength::FixedLength, width));
  frame.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, width / 3),
                                   QTextLength(QTextLength::FixedLength, width / 3),
                                   QTextLength(QTextLength::FixedLength, width / 3)});
  QTextTable* table = cursor.insertTable(1, 3, frame);
  const std::string* texts[] = {&line.left, &line.centre, &line.right};
  const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  for (int c = 0; c < 3; ++c) {
    QTextCursor cellCursor = table->cellAt(0, c).firstCursorPosition();
    QTextBlockFormat block;
    block.setAlignment(alignments[c]);
    cellCursor.setBlockFormat(block);
    cellCursor.insertText(QString::fromStdString(*texts[c]), format);
  }
  cursor.movePosition(QTextCursor::End);
}

void fillCell(QTextTable* table, int row, int column, const TableCell& c, bool heading) {
  QTextTableCell cell = table->cellAt(row, column);
  if (c.shaded || heading) {
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    format.setBackground(c.shaded ? QColor(0xD9, 0xD9, 0xD9) : QColor(0xEE, 0xEE, 0xEE));
    cell.setFormat(format);
  }
  QTextCursor cursor = cell.firstCursorPosition();
  QTextBlockFormat block;
  block.setAlignment(qtAlignment(c.align));
  cursor.setBlockFormat(block);
  const QTextCharFormat format = textFormat(c.bold);
  if (c.wrapped) {
    cursor.insertText(QString::fromStdString(c.text(" ")), format);
    return;
  }
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    if (i > 0) cursor.insertBlock(block);
    cursor.insertText(QString::fromStdString(c.lines[i]), format);
  }
}

void insertTable(QTextCursor& cursor, const Table& source, double width, bool& pageStart, bool& firstBlock) {
  if (source.empty()) return;
  startBlock(cursor, Qt::AlignLeft, pageStart, firstBlock);
  const int columns = static_cast<int>(source.columns.size());
  const int rows = static_cast<int>(source.headingRows.size() + source.rows.size());
  QTextTableFormat format;
  format.setBorder(source.ruled ? 0.5 : 0);
  format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  format.setBorderCollapse(true);
  format.setCellPadding(2);
  format.setCellSpacing(0);
  format.setHeaderRowCount(static_cast<int>(source.headingRows.size()));
  format.setWidth(QTextLength(QTextLength::FixedLength, width));
  const std::vector<int> widths = reports::characterWidths(source);
  double total = 0;
  for (int characters : widths) total += characters;
  QList<QTextLength> constraints;
  for (int characters : widths) constraints.append(QTextLength(QTextLength::FixedLength, width * characters / total));
  format.setColumnWidthConstraints(constraints);
  QTextTable* table = cursor.insertTable(std::max(rows, 1), columns, format);
  int r = 0;
  for (const auto* group : {&source.headingRows, &source.rows}) {
    const bool heading = group == &source.headingRows;
    for (const TableRow& row : *group) {
      int column = 0;
      for (const TableCell& c : row.cells) {
        if (column >= columns) break;
        const int span = std::clamp(c.span, 1, columns - column);
        if (span > 1) table->mergeCells(r, column, 1, span);
        fillCell(table, r, column, c, heading);
        column += span;
      }
      ++r;
    }
  }
  cursor.movePosition(QTextCursor::End);
}

// Qt writes the text but no page: the report's paper, orientation and margins go into a styles
// part of the package, which the manifest then names.
Status addPageStyle(const reports::ReportDocument& document, const std::filesystem::path& file) {
  const QPageLayout layout = pageLayoutOf(document);
  const QSizeF sheet = layout.fullRect(QPageLayout::Millimeter).size();
  char properties[512];
  std::snprintf(properties, sizeof properties,
                "fo:page-width=\"%.2fmm\" fo:page-height=\"%.2fmm\" style:print-orientation=\"%s\" "
                "fo:margin-top=\"%.1fmm\" fo:margin-bottom=\"%.1fmm\" fo:margin-left=\"%.1fmm\" "
                "fo:margin-right=\"%.1fmm\"",
                sheet.width(), sheet.height(),
                document.orientation == reports::Orientation::Landscape ? "landscape" : "portrait", kMarginMillimetres,
                kMarginMillimetres, kMarginMillimetres, kMarginMillimetres);
  // The buffers are read when the archive is closed, below.
  const std::string styles = std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
                       R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
                       R"(xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2">
<office:automatic-styles><style:page-layout style:name="ReportPage"><style:page-layout-properties )") +
           properties + R"(/></style:page-layout></office:automatic-styles>
<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="ReportPage"/></office:master-styles>
</office:document-styles>
)";
  static const std::string manifest = R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:media-type="application/vnd.oasis.opendocument.text" manifest:full-path="/"/>
 <manifest:file-entry manifest:media-type="text/xml" manifest:full-path="content.xml"/>
 <manifest:file-entry manifest:media-type="text/xml" manifest:full-path="styles.xml"/>
</manifest:manifest>
)";
  int error = 0;
  zip_t* archive = zip_open(file.string().c_str(), 0, &error);
  if (!archive) return Error{"Cannot write " + file.string() + "."};
  zip_source_t* stylesSource = zip_source_buffer(archive, styles.data(), styles.size(), 0);
  zip_source_t* manifestSource = zip_source_buffer(archive, manifest.data(), manifest.size(), 0);
  const bool added = stylesSource && zip_file_add(archive, "styles.xml", stylesSource, ZIP_FL_OVERWRITE) >= 0;
  const zip_int64_t manifestIndex = zip_name_locate(archive, "META-INF/manifest.xml", 0);
  const bool replaced = manifestSource && manifestIndex >= 0 && zip_file_replace(archive, static_cast<zip_uint64_t>(manifestIndex), manifestSource, 0) >= 0;
  if (!added && stylesSource) zip_source_free(stylesSource);
  if (!replaced && manifestSource) zip_source_free(manifestSource);
  if (!added || !replaced) {
    zip_discard(archive);
    return Error{"Cannot write " + file.string() + "."};
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return Error{"Cannot write " + file.string() + "."};
  }
  return {};
}

}  // namespace

Status writeOdt(const reports::ReportDocument& document, const std::filesystem::path& file) {
  QTextDocument text;
  QFont font("DejaVu Sans");
  font.setPointSizeF(kBodyPointSize);
  text.setDefaultFont(font);
  text.setMetaInformation(QTextDocument::DocumentTitle, QString::fromStdString(document.title));
  QTextCursor cursor(&text);
  const double width = contentWidthPoints(document);
  bool firstBlock = true;
  for (std::size_t p = 0; p < document.pages.size(); ++p) {
    const reports::ReportPage& page = document.pages[p];
    bool pageStart = p > 0;
    for (const HeaderLine& line : page.header) insertLine(cursor, line, width, pageStart, firstBlock);
    for (const HeaderLine& line : page.captions) insertLine(cursor, line, width, pageStart, firstBlock);
    insertTable(cursor, page.table, width, pageStart, firstBlock);
    for (const HeaderLine& line : page.closingLines) insertLine(cursor, line, width, pageStart, firstBlock);
  }
  QTextDocumentWriter writer(qtPath(file), "odf");
  if (!writer.write(&text)) return Error{"Cannot write " + file.string() + "."};
  return addPageStyle(document, file);
}

}  // namespace tavrel::render
