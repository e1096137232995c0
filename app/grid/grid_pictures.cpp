#include "app/grid/grid_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include "app/shell/pictures.h"

namespace tavrel::app {

namespace {

const QColor kInk(0x27, 0x35, 0x4a);
const QColor kBlue(0x3b, 0x78, 0xc2);
const QColor kLightBlue(0xb9, 0xd3, 0xf0);
const QColor kRed(0xc9, 0x40, 0x40);
const QColor kGreen(0x3c, 0x9a, 0x5f);
const QColor kPaper(0xfb, 0xf8, 0xee);
const QColor kGrey(0xb8, 0xb8, 0xb8);
const QColor kYellow(0xf4, 0xc4, 0x30);

void pen(QPainter& p, const QColor& color, double width) {
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A small week of 3 × 3 cells in the top left; `mark` picks the cells drawn in `fill`.
template <class Mark>
void week(QPainter& p, Mark mark, const QColor& fill) {
  const QRectF area(2, 3, 21, 21);
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(area);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (!mark(c, r)) continue;
      p.setBrush(fill);
      p.drawRect(QRectF(area.left() + c * 7 + 0.8, area.top() + r * 7 + 0.8, 5.4, 5.4));
    }
  }
  pen(p, kInk, 0.8);
  for (int i = 1; i < 3; ++i) {
    p.drawLine(QPointF(area.left() + i * 7, area.top()), QPointF(area.left() + i * 7, area.bottom()));
    p.drawLine(QPointF(area.left(), area.top() + i * 7), QPointF(area.right(), area.top() + i * 7));
  }
  pen(p, kInk, 1.3);
  p.setBrush(Qt::NoBrush);
  p.drawRect(area);
}

void magnifier(QPainter& p) {
  pen(p, kInk, 2.0);
  p.setBrush(QColor(255, 255, 255, 160));
  p.drawEllipse(QPointF(22, 21), 5, 5);
  pen(p, kInk, 3.0);
  p.drawLine(QPointF(25.6, 24.6), QPointF(29.5, 28.5));
}

void badge(QPainter& p, const QColor& color) {
  pen(p, kInk, 1.2);
  p.setBrush(color);
  p.drawEllipse(QPointF(23, 22), 7, 7);
}

void tick(QPainter& p) {
  pen(p, Qt::white, 2.4);
  p.drawPolyline(QPolygonF({QPointF(19.5, 22), QPointF(22, 25), QPointF(26.5, 19)}));
}

void cross(QPainter& p) {
  pen(p, Qt::white, 2.4);
  p.drawLine(QPointF(20, 19), QPointF(26, 25));
  p.drawLine(QPointF(26, 19), QPointF(20, 25));
}

void drawToggle(QPainter& p) {
  pen(p, kBlue, 2.4);
  p.drawArc(QRectF(5, 5, 22, 22), 30 * 16, 150 * 16);
  p.drawArc(QRectF(5, 5, 22, 22), 210 * 16, 150 * 16);
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(25, 4), QPointF(27.5, 11), QPointF(20.5, 10)}));
  p.drawPolygon(QPolygonF({QPointF(7, 28), QPointF(4.5, 21), QPointF(11.5, 22)}));
}

void drawPencil(QPainter& p) {
  pen(p, kInk, 1.2);
  p.setBrush(kYellow);
  p.drawPolygon(QPolygonF({QPointF(8, 27), QPointF(6, 26), QPointF(23, 6), QPointF(26, 9)}));
  p.setBrush(kRed);
  p.drawPolygon(QPolygonF({QPointF(23, 6), QPointF(25, 4), QPointF(28, 7), QPointF(26, 9)}));
}

void drawBars(QPainter& p) {
  pen(p, kInk, 1.2);
  const double heights[] = {10, 18, 14, 22};
  const QColor colors[] = {kBlue, kGreen, kYellow, kRed};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(colors[i]);
    p.drawRect(QRectF(5 + i * 6, 28 - heights[i], 5, heights[i]));
  }
  p.drawLine(QPointF(3, 28.5), QPointF(29, 28.5));
}

void drawPerson(QPainter& p, double x, double y, const QColor& coat) {
  pen(p, kInk, 1.2);
  p.setBrush(coat);
  QPainterPath body;
  body.moveTo(x - 5, y + 13);
  body.cubicTo(x - 5, y + 7, x + 5, y + 7, x + 5, y + 13);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(QColor(0xf2, 0xd2, 0xb0));
  p.drawEllipse(QPointF(x, y + 3), 3, 3);
}

void drawBook(QPainter& p, double x, double y) {
  pen(p, kInk, 1.2);
  p.setBrush(kRed);
  p.drawRect(QRectF(x - 5, y, 10, 12));
  pen(p, Qt::white, 1.0);
  p.drawLine(QPointF(x - 3, y + 3), QPointF(x + 3, y + 3));
}

}  // namespace

bool drawGridPicture(QPainter& p, int number) {
  switch (number) {
    case kPictureToggle:
      drawToggle(p);
      return true;
    case kPictureShowSelected:
      week(p, [](int c, int r) { return (c + r) % 2 == 0; }, kBlue);
      magnifier(p);
      return true;
    case kPictureShowFree:
      week(p, [](int c, int r) { return (c * 2 + r) % 3 != 0; }, kGreen);
      magnifier(p);
      return true;
    case kPictureShowNotAvailable:
      week(p, [](int c, int r) { return (c + 2 * r) % 3 == 0; }, kGrey);
      magnifier(p);
      return true;
    case kPictureShowPartner:
      week(p, [](int c, int r) { return c == r; }, kLightBlue);
      drawPerson(p, 23, 15, kBlue);
      return true;
    case kPictureShowSubject:
      week(p, [](int c, int r) { return c + r == 2; }, kLightBlue);
      drawBook(p, 23, 17);
      return true;
    case kPictureMakeAvailable:
      week(p, [](int c, int r) { return c == 1 && r == 1; }, kGreen);
      badge(p, kGreen);
      tick(p);
      return true;
    case kPictureMakeNotAvailable:
      week(p, [](int c, int r) { return c == 1 && r == 1; }, kGrey);
      badge(p, kRed);
      cross(p);
      return true;
    case kPictureWeekSetup:
      week(p, [](int, int r) { return r < 2; }, kGreen);
      pen(p, kInk, 1.2);
      p.setBrush(kYellow);
      p.drawRect(QRectF(17, 16, 12, 12));
      pen(p, kInk, 1.0);
      for (double y : {20.0, 24.0}) p.drawLine(QPointF(19, y), QPointF(27, y));
      return true;
    case kPictureEdit:
      drawPencil(p);
      return true;
    case kPictureStatistics:
      drawBars(p);
      return true;
    default:
      return false;
  }
}

}  // namespace tavrel::app
