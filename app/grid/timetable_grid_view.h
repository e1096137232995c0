// The drawn grid of the availability window: one column per day of the week, one row per period,
// each cell split into its two labels (upper: what occupies the period; lower: with whom). A click
// selects one label; the labels the Show commands found are drawn in the shadow colour until the
// highlight goes. The widget draws what the window's model holds and reports clicks; it keeps no
// state of its own beyond what it was last given.
#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

#include "core/grid/cell_search.h"
#include "core/grid/label_selection.h"
#include "core/grid/timetable_grid.h"

namespace tavrel::app {

class TimetableGridView final : public QWidget {
  Q_OBJECT
 public:
  explicit TimetableGridView(QWidget* parent = nullptr);

  // What to draw: the grid (none: an empty frame), the day headings, the selected label and the
  // highlight of a Show command.
  void show(const grid::TimetableGrid* grid, const QStringList& dayNames,
            const std::optional<grid::LabelPosition>& selected, const std::optional<grid::Highlight>& highlight);

  int dayColumns() const { return days_; }
  int periodRows() const { return periods_; }
  // Where a label is drawn, for the window's popup menu and for tests that click it.
  QRect labelRect(const grid::LabelPosition& label) const;
  std::optional<grid::LabelPosition> labelAt(const QPoint& point) const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 signals:
  void labelClicked(const grid::LabelPosition& label);
  void labelMenuRequested(const grid::LabelPosition& label, const QPoint& globalPosition);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;  // a label's full text as its tooltip

 private:
  QRect cellRect(int day, int period) const;
  int headingWidth() const;
  int headingHeight() const;
  int widestLabel() const;
  void paintHeadings(QPainter& painter) const;
  void paintCell(QPainter& painter, const grid::GridCell& cell) const;
  bool lit(const grid::GridCell& cell, grid::LabelLine line) const;

  const grid::TimetableGrid* grid_ = nullptr;
  QStringList dayNames_;
  std::optional<grid::LabelPosition> selected_;
  std::optional<grid::Highlight> highlight_;
  int days_ = grid::kDays;
  int periods_ = grid::kPeriods;
};

}  // namespace tavrel::app
