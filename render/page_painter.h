// Lays out and draws one report page with a QPainter: the running header, the captions, the
// table and the closing lines, in the largest font (within limits) at which every column fits the
// width and every row the height, so that no name is clipped and no text overlaps.
#pragma once

#include <QPainter>
#include <QRectF>

#include "core/reports/report_document.h"

namespace tavrel::render {

// Font sizes in points: the body text of a page starts at the largest and shrinks as far as the
// smallest to fit. Headings are drawn larger in proportion.
inline constexpr double kTimetablePointSize = 11.0;
inline constexpr double kListPointSize = 10.0;
inline constexpr double kSmallestPointSize = 6.0;

struct PagePaint {
  double pointSize = 0;  // the body size the page was drawn at
  bool elided = false;   // even the smallest size was too large: texts were shortened to fit
};

// Draws `page` inside `area` (device units of the painter's device).
PagePaint paintPage(QPainter& painter, const reports::ReportPage& page, const QRectF& area);

}  // namespace tavrel::render
