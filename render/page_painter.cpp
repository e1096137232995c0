#include "render/page_painter.h"

#include <QFontDatabase>
#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <algorithm>
#include <map>
#include <numeric>

namespace tavrel::render {

using reports::Align;
using reports::HeaderLine;
using reports::LineSize;
using reports::ReportPage;
using reports::Table;
using reports::TableCell;
using reports::TableRow;

namespace {

constexpr double kTitleScale = 1.45;
constexpr double kHeadingScale = 1.2;
constexpr double kCellPaddingX = 3.0;  // points
constexpr double kCellPaddingY = 1.5;
constexpr double kRulePoints = 0.6;
constexpr double kMostRowGrowth = 2.0;  // a page-filling grid's rows grow to at most twice their height

QString qt(const std::string& text) { return QString::fromStdString(text); }

QString familyName() {
  // DejaVu Sans is shipped with the program's dependencies and covers every script a name may
  // be written in; any sans-serif font does otherwise.
  static const QString family = QFontDatabase::hasFamily("DejaVu Sans") ? QString("DejaVu Sans") : QString("Sans Serif");
  return family;
}

QFont fontOf(double pointSize, bool bold) {
  QFont font(familyName());
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  font.setKerning(false);  // widths must add up the same when measured and when drawn
  // Ligatures would put "ﬃ" for "ffi" into the PDF's text, and a search for a name would miss it.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

struct Fonts {
  double pointSize;
  QFont normal, bold, heading, title;

  explicit Fonts(double size)
      : pointSize(size),
        normal(fontOf(size, false)),
        bold(fontOf(size, true)),
        heading(fontOf(size * kHeadingScale, true)),
        title(fontOf(size * kTitleScale, true)) {}

  const QFont& forLine(const HeaderLine& line) const {
    switch (line.size) {
      case LineSize::Title: return title;
      case LineSize::Heading: return heading;
      case LineSize::Normal: break;
    }
    return line.bold ? bold : normal;
  }
  const QFont& forCell(const TableCell& c) const { return c.bold ? bold : normal; }
};

// Everything measured about a page at one font size.
struct Layout {
  Fonts fonts;
  double unit;  // device units per point
  std::vector<double> columns;
  std::vector<double> headingHeights;
  std::vector<double> rowHeights;
  double headerHeight = 0;
  double captionsHeight = 0;
  double closingHeight = 0;
  double gap = 0;

  Layout(double pointSize, double unitsPerPoint) : fonts(pointSize), unit(unitsPerPoint) {}

  double tableWidth() const { return std::accumulate(columns.begin(), columns.end(), 0.0); }
  double tableHeight() const {
    return std::accumulate(headingHeights.begin(), headingHeights.end(), 0.0) +
           std::accumulate(rowHeights.begin(), rowHeights.end(), 0.0);
  }
  double height() const { return headerHeight + captionsHeight + tableHeight() + closingHeight; }
};

double lineHeight(const QFont& font, QPaintDevice* device) { return QFontMetricsF(font, device).lineSpacing(); }

double textWidth(const QFont& font, QPaintDevice* device, const std::string& text) {
  return QFontMetricsF(font, device).horizontalAdvance(qt(text));
}

double linesHeight(const std::vector<HeaderLine>& lines, const Fonts& fonts, QPaintDevice* device) {
  double height = 0;
  for (const HeaderLine& line : lines) height += lineHeight(fonts.forLine(line), device);
  return height;
}

std::size_t spanOf(const TableCell& c, std::size_t column, std::size_t columns) {
  return std::clamp<std::size_t>(static_cast<std::size_t>(std::max(c.span, 1)), 1, columns - column);
}

// Widths every cell needs, spanned cells widening the last column they cover, one width per group.
std::vector<double> naturalColumns(const Table& table, const Fonts& fonts, QPaintDevice* device, double padding) {
  std::vector<double> widths(table.columns.size(), 2 * padding);
  auto cellWidth = [&](const TableCell& c) {
    double widest = 0;
    for (const std::string& line : c.lines) widest = std::max(widest, textWidth(fonts.forCell(c), device, line));
    return widest + 2 * padding;
  };
  for (bool spanned : {false, true}) {
    for (const auto* rows : {&table.headingRows, &table.rows}) {
      for (const TableRow& row : *rows) {
        std::size_t column = 0;
        for (const TableCell& c : row.cells) {
          if (column >= widths.size()) break;
          const std::size_t span = spanOf(c, column, widths.size());
          if ((span > 1) == spanned) {
            const double room = std::accumulate(widths.begin() + static_cast<std::ptrdiff_t>(column),
                                                widths.begin() + static_cast<std::ptrdiff_t>(column + span), 0.0);
            const double needed = cellWidth(c);
            if (needed > room) widths[column + span - 1] += needed - room;
          }
          column += span;
        }
      }
    }
  }
  std::map<int, double> groups;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (int group = table.columns[i].widthGroup; group > 0) groups[group] = std::max(groups[group], widths[i]);
  }
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (int group = table.columns[i].widthGroup; group > 0) widths[i] = groups[group];
  }
  return widths;
}

double rowHeight(const TableRow& row, const Fonts& fonts, QPaintDevice* device, double padding) {
  const double line = std::max(lineHeight(fonts.normal, device), lineHeight(fonts.bold, device));
  return reports::lineCount(row) * line + 2 * padding;
}

Layout measure(const ReportPage& page, double pointSize, QPaintDevice* device) {
  Layout layout(pointSize, device->logicalDpiY() / 72.0);
  const double padX = kCellPaddingX * layout.unit;
  const double padY = kCellPaddingY * layout.unit;
  layout.gap = lineHeight(layout.fonts.normal, device) * 0.6;
  layout.headerHeight = linesHeight(page.header, layout.fonts, device) + layout.gap;
  layout.captionsHeight = page.captions.empty() ? 0 : linesHeight(page.captions, layout.fonts, device) + layout.gap;
  layout.closingHeight = page.closingLines.empty() ? 0 : linesHeight(page.closingLines, layout.fonts, device) + layout.gap;
  if (!page.table.empty()) {
    layout.columns = naturalColumns(page.table, layout.fonts, device, padX);
    for (const TableRow& row : page.table.headingRows) layout.headingHeights.push_back(rowHeight(row, layout.fonts, device, padY));
    for (const TableRow& row : page.table.rows) layout.rowHeights.push_back(rowHeight(row, layout.fonts, device, padY));
  }
  return layout;
}

bool fits(const Layout& layout, const QRectF& area) {
  return layout.tableWidth() <= area.width() && layout.height() <= area.height();
}

// The largest body size from `largest` down to the smallest at which the page fits.
Layout bestLayout(const ReportPage& page, QPaintDevice* device, const QRectF& area, double largest) {
  Layout layout = measure(page, largest, device);
  if (fits(layout, area)) return layout;
  double low = kSmallestPointSize, high = largest;
  Layout best = measure(page, low, device);
  if (!fits(best, area)) return best;
  while (high - low > 0.1) {
    const double middle = (low + high) / 2;
    Layout trial = measure(page, middle, device);
    if (fits(trial, area)) {
      low = middle;
      best = std::move(trial);
    } else {
      high = middle;
    }
  }
  return best;
}

// Spreads the room left over: columns widen in proportion to the widths the builder meant, and
// the rows of a page-filling grid grow (recess bands stay slim).
void spread(Layout& layout, const ReportPage& page, const QRectF& area) {
  if (layout.columns.empty()) return;
  const double spareWidth = area.width() - layout.tableWidth();
  if (spareWidth > 0) {
    double weights = 0;
    for (const auto& column : page.table.columns) weights += std::max(column.width, 1);
    for (std::size_t i = 0; i < layout.columns.size(); ++i)
      layout.columns[i] += spareWidth * std::max(page.table.columns[i].width, 1) / weights;
  } else if (spareWidth < 0) {
    const double scale = area.width() / layout.tableWidth();
    for (double& width : layout.columns) width *= scale;
  }
  if (!page.table.fillsPage) return;
  const double spareHeight = area.height() - layout.height();
  std::vector<std::size_t> growing;
  for (std::size_t i = 0; i < page.table.rows.size(); ++i) {
    const auto& cells = page.table.rows[i].cells;
    if (cells.empty() || !cells.front().shaded) growing.push_back(i);
  }
  if (spareHeight <= 0 || growing.empty()) return;
  for (std::size_t i : growing) {
    const double grown = layout.rowHeights[i] + spareHeight / static_cast<double>(growing.size());
    layout.rowHeights[i] = std::min(grown, layout.rowHeights[i] * kMostRowGrowth);
  }
}

int alignmentFlags(Align align) {
  switch (align) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

double drawLines(QPainter& painter, const std::vector<HeaderLine>& lines, const Fonts& fonts, double left, double top,
                 double width) {
  double y = top;
  for (const HeaderLine& line : lines) {
    const QFont& font = fonts.forLine(line);
    painter.setFont(font);
    const double height = lineHeight(font, painter.device());
    const QRectF box(left, y, width, height);
    if (!line.left.empty()) painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, qt(line.left));
    if (!line.centre.empty()) painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter, qt(line.centre));
    if (!line.right.empty()) painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, qt(line.right));
    y += height;
  }
  return y;
}

void drawCell(QPainter& painter, const TableCell& c, const QRectF& box, const Layout& layout, bool heading,
              bool ruled, bool& elided) {
  if (c.shaded) {
    painter.fillRect(box, QColor(0xD9, 0xD9, 0xD9));
  } else if (heading) {
    painter.fillRect(box, QColor(0xEE, 0xEE, 0xEE));
  }
  if (ruled) painter.drawRect(box);
  const QFont& font = layout.fonts.forCell(c);
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  const double padX = kCellPaddingX * layout.unit;
  const double line = metrics.lineSpacing();
  const double textHeight = line * static_cast<double>(c.lines.size());
  double y = box.top() + std::max(kCellPaddingY * layout.unit, (box.height() - textHeight) / 2);
  const double room = box.width() - 2 * padX;
  for (const std::string& text : c.lines) {
    QString shown = qt(text);
    if (metrics.horizontalAdvance(shown) > room + 0.01) {
      shown = metrics.elidedText(shown, Qt::ElideRight, room);
      elided = true;
    }
    painter.drawText(QRectF(box.left() + padX, y, room, line), alignmentFlags(c.align) | Qt::AlignVCenter, shown);
    y += line;
  }
}

double drawRows(QPainter& painter, const std::vector<TableRow>& rows, const std::vector<double>& heights,
                const Layout& layout, double left, double top, bool heading, bool ruled, bool& elided) {
  double y = top;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    double x = left;
    std::size_t column = 0;
    for (const TableCell& c : rows[r].cells) {
      if (column >= layout.columns.size()) break;
      const std::size_t span = spanOf(c, column, layout.columns.size());
      double width = 0;
      for (std::size_t i = column; i < column + span; ++i) width += layout.columns[i];
      drawCell(painter, c, QRectF(x, y, width, heights[r]), layout, heading, ruled, elided);
      x += width;
      column += span;
    }
    // Columns the row leaves out still show their frame.
    for (; column < layout.columns.size(); ++column) {
      if (ruled) painter.drawRect(QRectF(x, y, layout.columns[column], heights[r]));
      x += layout.columns[column];
    }
    y += heights[r];
  }
  return y;
}

}  // namespace

PagePaint paintPage(QPainter& painter, const ReportPage& page, const QRectF& sheetArea) {
  QPaintDevice* device = painter.device();
  // Rules are drawn centred on the cell edges: half a rule's width must stay inside the area.
  const double rule = kRulePoints * device->logicalDpiY() / 72.0;
  const QRectF area = sheetArea.adjusted(rule, rule, -rule, -rule);
  const double largest = page.table.fillsPage ? kTimetablePointSize : kListPointSize;
  Layout layout = bestLayout(page, device, area, largest);
  spread(layout, page, area);

  painter.save();
  painter.setClipRect(sheetArea);
  painter.setPen(QPen(Qt::black, kRulePoints * layout.unit));
  double y = drawLines(painter, page.header, layout.fonts, area.left(), area.top(), area.width());
  // A rule closes the running header off from what the page is about.
  painter.drawLine(QPointF(area.left(), y + layout.gap / 2), QPointF(area.right(), y + layout.gap / 2));
  y += layout.gap;
  if (!page.captions.empty()) y = drawLines(painter, page.captions, layout.fonts, area.left(), y, area.width()) + layout.gap;

  PagePaint result{layout.fonts.pointSize, false};
  if (!page.table.empty()) {
    const double left = area.left() + std::max(0.0, (area.width() - layout.tableWidth()) / 2);
    y = drawRows(painter, page.table.headingRows, layout.headingHeights, layout, left, y, true, page.table.ruled,
                 result.elided);
    y = drawRows(painter, page.table.rows, layout.rowHeights, layout, left, y, false, page.table.ruled, result.elided);
  }
  if (!page.closingLines.empty()) drawLines(painter, page.closingLines, layout.fonts, area.left(), y + layout.gap, area.width());
  painter.restore();
  return result;
}

}  // namespace tavrel::render
