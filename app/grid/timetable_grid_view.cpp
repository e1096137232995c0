#include "app/grid/timetable_grid_view.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace tavrel::app {

using grid::CellState;
using grid::GridCell;
using grid::LabelLine;
using grid::LabelPosition;

namespace {

// The smallest cell that still shows a subject name and a partner name in full at the usual font
// sizes; the window grows the cells with itself.
constexpr int kMinimumCellWidth = 96;
constexpr int kMinimumLabelHeight = 17;

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TimetableGridView::TimetableGridView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("DGTmTbl"));
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMouseTracking(false);
}

void TimetableGridView::show(const grid::TimetableGrid* grid, const QStringList& dayNames,
                             const std::optional<LabelPosition>& selected,
                             const std::optional<grid::Highlight>& highlight) {
  grid_ = grid;
  dayNames_ = dayNames;
  selected_ = selected;
  highlight_ = highlight;
  if (grid_ && !grid_->shape().everyCellLive) {
    days_ = std::clamp(grid_->shape().days, 1, grid::kDays);
    periods_ = std::clamp(grid_->shape().periods, 1, grid::kPeriods);
  } else {
    days_ = grid::kDays;
    periods_ = grid::kPeriods;
  }
  updateGeometry();  // the names shown decide the width a day needs
  update();
}

int TimetableGridView::headingWidth() const {
  return fontMetrics().horizontalAdvance(QStringLiteral("12")) + 16;
}

int TimetableGridView::headingHeight() const {
  return fontMetrics().height() + 8;
}

int TimetableGridView::widestLabel() const {
  // Subjects of allocated cells are drawn bold; every name must show whole.
  QFont bold = font();
  bold.setBold(true);
  const QFontMetrics boldMetrics(bold);
  int widest = 0;
  if (!grid_) return widest;
  for (int day = 1; day <= days_; ++day) {
    for (int period = 1; period <= periods_; ++period) {
      const GridCell& cell = grid_->at(day, period);
      if (!cell.live) continue;
      const QFontMetrics& upperMetrics = cell.state == CellState::Allocated ? boldMetrics : fontMetrics();
      widest = std::max({widest, upperMetrics.horizontalAdvance(fromUtf8(cell.upper)),
                         fontMetrics().horizontalAdvance(fromUtf8(cell.lower))});
    }
  }
  return widest;
}

QSize TimetableGridView::minimumSizeHint() const {
  const int labelHeight = std::max(kMinimumLabelHeight, fontMetrics().height() + 2);
  const int cellWidth = std::max(kMinimumCellWidth, widestLabel() + 10);
  return {headingWidth() + days_ * cellWidth + 1, headingHeight() + periods_ * 2 * labelHeight + 1};
}

QSize TimetableGridView::sizeHint() const {
  return minimumSizeHint();
}

QRect TimetableGridView::cellRect(int day, int period) const {
  const int left = headingWidth();
  const int top = headingHeight();
  const int cellWidth = std::max(1, (width() - left - 1) / days_);
  const int cellHeight = std::max(2, (height() - top - 1) / periods_);
  return {left + (day - 1) * cellWidth, top + (period - 1) * cellHeight, cellWidth, cellHeight};
}

QRect TimetableGridView::labelRect(const LabelPosition& label) const {
  const QRect cell = cellRect(label.day, label.period);
  const int half = cell.height() / 2;
  return label.line == LabelLine::Upper ? QRect(cell.left(), cell.top(), cell.width(), half)
                                        : QRect(cell.left(), cell.top() + half, cell.width(), cell.height() - half);
}

std::optional<LabelPosition> TimetableGridView::labelAt(const QPoint& point) const {
  for (int day = 1; day <= days_; ++day) {
    for (int period = 1; period <= periods_; ++period) {
      for (LabelLine line : {LabelLine::Upper, LabelLine::Lower}) {
        const LabelPosition label{day, period, line};
        if (labelRect(label).contains(point)) return label;
      }
    }
  }
  return std::nullopt;
}

bool TimetableGridView::lit(const GridCell& cell, LabelLine line) const {
  if (!highlight_ || !highlight_->lit(cell.day, cell.period)) return false;
  return !highlight_->line || *highlight_->line == line;
}

void TimetableGridView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  paintHeadings(painter);
  if (!grid_) return;
  for (int day = 1; day <= days_; ++day) {
    for (int period = 1; period <= periods_; ++period) paintCell(painter, grid_->at(day, period));
  }
}

void TimetableGridView::paintHeadings(QPainter& painter) const {
  painter.setPen(palette().color(QPalette::WindowText));
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  const int top = headingHeight();
  for (int day = 1; day <= days_; ++day) {
    const QRect cell = cellRect(day, 1);
    const QRect heading(cell.left(), 0, cell.width(), top);
    const QString name = day <= dayNames_.size() ? dayNames_[day - 1] : QString::number(day);
    painter.drawText(heading, Qt::AlignCenter,
                     painter.fontMetrics().elidedText(name, Qt::ElideRight, heading.width() - 4));
  }
  for (int period = 1; period <= periods_; ++period) {
    const QRect cell = cellRect(1, period);
    painter.drawText(QRect(0, cell.top(), headingWidth(), cell.height()), Qt::AlignCenter,
                     QString::number(period));
  }
  painter.setFont(font());
}

void TimetableGridView::paintCell(QPainter& painter, const GridCell& cell) const {
  const QRect whole = cellRect(cell.day, cell.period);
  if (!cell.live) {
    painter.fillRect(whole, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(whole);
    return;
  }
  // The face colour of a label by what the cell holds, so free, blocked and taken periods read
  // apart at a glance; a found label takes the shadow colour, the selected one the selection's.
  QColor face = palette().color(QPalette::Base);
  QColor ink = palette().color(QPalette::Text);
  if (cell.state == CellState::NotAvailable) {
    face = palette().color(QPalette::Button);
    ink = palette().color(QPalette::Disabled, QPalette::Text);
  } else if (cell.state == CellState::Allocated) {
    face = palette().color(QPalette::AlternateBase);
  }
  for (LabelLine line : {LabelLine::Upper, LabelLine::Lower}) {
    const LabelPosition position{cell.day, cell.period, line};
    const QRect area = labelRect(position);
    QColor fill = face;
    QColor pen = ink;
    if (lit(cell, line)) {
      fill = palette().color(QPalette::Dark);
      pen = palette().color(QPalette::BrightText);
    }
    if (selected_ && *selected_ == position) {
      fill = palette().color(QPalette::Highlight);
      pen = palette().color(QPalette::HighlightedText);
    }
    painter.fillRect(area, fill);
    painter.setPen(pen);
    QFont labelFont = font();
    labelFont.setBold(line == LabelLine::Upper && cell.state == CellState::Allocated);
    painter.setFont(labelFont);
    const QString text = fromUtf8(line == LabelLine::Upper ? cell.upper : cell.lower);
    painter.drawText(area.adjusted(3, 0, -3, 0), Qt::AlignCenter,
                     painter.fontMetrics().elidedText(text, Qt::ElideRight, area.width() - 6));
  }
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::Mid));
  const int middle = whole.top() + whole.height() / 2;
  painter.drawLine(whole.left(), middle, whole.right(), middle);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(whole);
}

void TimetableGridView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  if (auto label = labelAt(event->position().toPoint())) emit labelClicked(*label);
}

void TimetableGridView::contextMenuEvent(QContextMenuEvent* event) {
  auto label = labelAt(event->pos());
  if (!label) return;
  emit labelClicked(*label);
  emit labelMenuRequested(*label, event->globalPos());
}

bool TimetableGridView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && grid_) {
    auto* help = static_cast<QHelpEvent*>(event);
    auto label = labelAt(help->pos());
    if (label && grid_->at(label->day, label->period).live) {
      QToolTip::showText(help->globalPos(), fromUtf8(grid::labelText(*grid_, *label)), this);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace tavrel::app
