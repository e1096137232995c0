#include "app/shell/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "app/grid/grid_pictures.h"

namespace tavrel::app {

namespace {

// Every picture is drawn on a 32 × 32 grid and scaled to the size asked for.
constexpr double kGrid = 32.0;

const QColor kInk(0x27, 0x35, 0x4a);
const QColor kBlue(0x3b, 0x78, 0xc2);
const QColor kLightBlue(0xb9, 0xd3, 0xf0);
const QColor kOrange(0xe8, 0x90, 0x2a);
const QColor kRed(0xc9, 0x40, 0x40);
const QColor kGreen(0x3c, 0x9a, 0x5f);
const QColor kBoard(0x2e, 0x6b, 0x4a);
const QColor kPaper(0xfb, 0xf8, 0xee);
const QColor kStone(0xd9, 0xd4, 0xc7);
const QColor kYellow(0xf4, 0xc4, 0x30);

void outline(QPainter& p, double width = 1.3) {
  p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void person(QPainter& p, double x, double y, double scale, const QColor& coat) {
  // A head and shoulders; (x, y) is the top of the head.
  outline(p);
  p.setBrush(coat);
  QPainterPath body;
  body.moveTo(x - 6 * scale, y + 17 * scale);
  body.cubicTo(x - 6 * scale, y + 9 * scale, x + 6 * scale, y + 9 * scale, x + 6 * scale, y + 17 * scale);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(QColor(0xf2, 0xd2, 0xb0));
  p.drawEllipse(QPointF(x, y + 4 * scale), 3.6 * scale, 3.6 * scale);
}

void house(QPainter& p, double x, double y, double w, double h, const QColor& walls) {
  // (x, y) is the top-left of the walls; the roof rises above them.
  outline(p);
  p.setBrush(walls);
  p.drawRect(QRectF(x, y, w, h));
  p.setBrush(kRed);
  p.drawPolygon(
      QPolygonF({QPointF(x - 2, y + 1), QPointF(x + w / 2, y - h * 0.6), QPointF(x + w + 2, y + 1)}));
  p.setBrush(kInk);
  p.drawRect(QRectF(x + w / 2 - w * 0.12, y + h * 0.45, w * 0.24, h * 0.55));
}

// A days-by-periods grid; `filled` picks the cells shown as allocated.
template <class Filled>
void timetable(QPainter& p, const QRectF& area, int columns, int rows, Filled filled, const QColor& fill) {
  const double cw = area.width() / columns;
  const double rh = area.height() / rows;
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(area);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (!filled(c, r)) continue;
      p.setBrush(fill);
      p.drawRect(QRectF(area.left() + c * cw + 0.8, area.top() + r * rh + 0.8, cw - 1.6, rh - 1.6));
    }
  }
  p.setPen(QPen(kInk, 0.8));
  for (int c = 1; c < columns; ++c)
    p.drawLine(QPointF(area.left() + c * cw, area.top()), QPointF(area.left() + c * cw, area.bottom()));
  for (int r = 1; r < rows; ++r)
    p.drawLine(QPointF(area.left(), area.top() + r * rh), QPointF(area.right(), area.top() + r * rh));
  outline(p);
  p.setBrush(Qt::NoBrush);
  p.drawRect(area);
  // The header row of day names.
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawRect(QRectF(area.left(), area.top() - 4, area.width(), 4));
  outline(p);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(area.left(), area.top() - 4, area.width(), area.height() + 4));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double width = 2.4) {
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  QLineF line(to, from);
  QLineF wing1 = QLineF::fromPolar(5, line.angle() + 35).translated(to);
  QLineF wing2 = QLineF::fromPolar(5, line.angle() - 35).translated(to);
  p.drawLine(wing1);
  p.drawLine(wing2);
}

void drawInstitution(QPainter& p) {
  outline(p);
  p.setBrush(kStone);
  p.drawPolygon(QPolygonF({QPointF(3, 11), QPointF(16, 3), QPointF(29, 11)}));
  p.drawRect(QRectF(4, 11, 24, 2.5));
  for (double x : {6.0, 11.5, 17.5, 23.0}) p.drawRect(QRectF(x, 13.5, 3, 10.5));
  p.drawRect(QRectF(4, 24, 24, 2.5));
  p.drawRect(QRectF(2, 26.5, 28, 2.5));
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(16, 8), 1.6, 1.6);
}

void drawSchool(QPainter& p) {
  house(p, 6, 14, 20, 14, kOrange);
  outline(p);
  p.setBrush(kLightBlue);
  p.drawRect(QRectF(8.5, 17, 4, 4));
  p.drawRect(QRectF(19.5, 17, 4, 4));
  p.drawLine(QPointF(16, 5.5), QPointF(16, 1.5));
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF({QPointF(16, 1.5), QPointF(22, 3), QPointF(16, 4.5)}));
}

void drawClass(QPainter& p) {
  person(p, 8, 8, 0.85, kLightBlue);
  person(p, 24, 8, 0.85, kLightBlue);
  person(p, 16, 12, 1.0, kBlue);
}

void drawResource(QPainter& p) {
  outline(p);
  p.setBrush(kBoard);
  p.drawRect(QRectF(13, 3, 17, 13));
  p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(16, 7), QPointF(26, 7));
  p.drawLine(QPointF(16, 11), QPointF(23, 11));
  person(p, 10, 11, 1.05, kOrange);
  p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(14, 21), QPointF(21, 13));
}

void drawSubject(QPainter& p) {
  outline(p);
  p.setBrush(kPaper);
  QPainterPath left;
  left.moveTo(16, 8);
  left.cubicTo(12, 5, 6, 5, 3, 7);
  left.lineTo(3, 26);
  left.cubicTo(6, 24, 12, 24, 16, 27);
  left.closeSubpath();
  QPainterPath right;
  right.moveTo(16, 8);
  right.cubicTo(20, 5, 26, 5, 29, 7);
  right.lineTo(29, 26);
  right.cubicTo(26, 24, 20, 24, 16, 27);
  right.closeSubpath();
  p.drawPath(left);
  p.drawPath(right);
  p.setPen(QPen(kBlue, 1.0, Qt::SolidLine, Qt::RoundCap));
  for (double y : {11.0, 14.5, 18.0, 21.5}) {
    p.drawLine(QPointF(6, y), QPointF(13, y + 0.8));
    p.drawLine(QPointF(19, y + 0.8), QPointF(26, y));
  }
}

void drawClassAvailability(QPainter& p) {
  timetable(
      p, QRectF(2, 6, 22, 18), 4, 4, [](int c, int r) { return (c + r) % 3 == 0; }, kLightBlue);
  person(p, 24, 14, 0.8, kBlue);
  person(p, 18.5, 16, 0.7, kLightBlue);
}

void drawResourceAvailability(QPainter& p) {
  timetable(
      p, QRectF(2, 6, 22, 18), 4, 4, [](int c, int r) { return (c * 2 + r) % 3 == 1; }, kLightBlue);
  person(p, 23, 13, 0.95, kOrange);
}

void drawAllocateAll(QPainter& p) {
  timetable(
      p, QRectF(2, 7, 28, 22), 5, 4, [](int, int) { return true; }, kGreen.lighter(150));
  outline(p, 1.0);
  p.setBrush(kYellow);
  p.drawPolygon(QPolygonF({QPointF(19, 1), QPointF(11, 16), QPointF(16, 16), QPointF(13, 28), QPointF(23, 11),
                           QPointF(17.5, 11), QPointF(22, 1)}));
}

void drawAllocateSelect(QPainter& p) {
  timetable(
      p, QRectF(2, 7, 28, 22), 5, 4, [](int c, int r) { return (c == 1 && r == 1) || (c == 3 && r == 2); },
      kGreen.lighter(150));
  p.setPen(QPen(kGreen.darker(130), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(9, 18), QPointF(14, 24), QPointF(27, 4)}));
}

void drawReports(QPainter& p) {
  outline(p);
  p.setBrush(kPaper);
  p.drawRect(QRectF(9, 2, 14, 11));
  p.setBrush(kStone);
  p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(8, 19, 16, 11));
  p.setPen(QPen(kBlue, 1.0, Qt::SolidLine, Qt::RoundCap));
  for (double y : {22.5, 25.0, 27.5}) p.drawLine(QPointF(10.5, y), QPointF(21.5, y));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(25.5, 14.5), 1.3, 1.3);
}

void drawInterSchool(QPainter& p) {
  house(p, 2, 19, 10, 10, kOrange);
  house(p, 20, 19, 10, 10, kLightBlue);
  arrow(p, QPointF(8, 4), QPointF(24, 4), kBlue);
  arrow(p, QPointF(24, 10), QPointF(8, 10), kGreen);
}

void drawExit(QPainter& p) {
  outline(p);
  p.setBrush(kStone);
  p.drawRect(QRectF(4, 3, 15, 26));
  p.setBrush(QColor(0x9c, 0x6b, 0x3f));
  p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 6), QPointF(13, 31), QPointF(4, 29)}));
  p.setBrush(kYellow);
  p.drawEllipse(QPointF(11, 17.5), 1.1, 1.1);
  arrow(p, QPointF(15, 16), QPointF(29, 16), kRed, 2.8);
}

void drawProxy(QPainter& p) {
  // The periods of an absent resource (pale) go over to a substitute.
  person(p, 8, 13, 0.9, kStone);
  person(p, 24, 13, 0.9, kOrange);
  QPainterPath over;
  over.moveTo(7, 10);
  over.cubicTo(9, 1, 23, 1, 25, 9);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(over);
  const QPointF tip = over.pointAtPercent(1.0);
  const double angle = over.angleAtPercent(1.0);
  p.setBrush(kGreen);
  p.setPen(QPen(kGreen, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolygon(
      QPolygonF({tip + QLineF::fromPolar(1.5, angle).p2(), tip + QLineF::fromPolar(5, angle + 150).p2(),
                 tip + QLineF::fromPolar(5, angle - 150).p2()}));
}

// A slot of the school grid: a card that holds one school.
void slotCard(QPainter& p, const QColor& fill, Qt::PenStyle edge) {
  p.setPen(QPen(kInk, 1.1, edge, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);
}

void smallSchool(QPainter& p) {
  house(p, 8, 15, 16, 11, kOrange);
  outline(p);
  p.setBrush(kLightBlue);
  p.drawRect(QRectF(10, 17.5, 3, 3));
  p.drawRect(QRectF(19, 17.5, 3, 3));
}

void drawEmptySlot(QPainter& p) {
  slotCard(p, QColor(0xf3, 0xf1, 0xea), Qt::DashLine);
}

void drawSchoolSlot(QPainter& p) {
  slotCard(p, kPaper, Qt::SolidLine);
  smallSchool(p);
}

void drawSchoolSlotEditing(QPainter& p) {
  // The same school on a highlighted card, with a pencil: its details are open for editing.
  slotCard(p, kYellow.lighter(150), Qt::SolidLine);
  smallSchool(p);
  p.save();
  p.translate(24, 8);
  p.rotate(45);
  outline(p, 1.0);
  p.setBrush(kYellow);
  p.drawRect(QRectF(-1.8, -7, 3.6, 10));
  p.setBrush(kPaper);
  p.drawPolygon(QPolygonF({QPointF(-1.8, 3), QPointF(1.8, 3), QPointF(0, 6.5)}));
  p.restore();
}

void drawAddSchool(QPainter& p) {
  house(p, 3, 15, 16, 13, kOrange);
  outline(p);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(24, 9), 6.5, 6.5);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(24, 5.5), QPointF(24, 12.5));
  p.drawLine(QPointF(20.5, 9), QPointF(27.5, 9));
}

void drawListSelect(QPainter& p) {
  outline(p);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3, 3, 20, 25));
  p.setBrush(kLightBlue);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(4.5, 11.5, 17, 4));
  p.setPen(QPen(kBlue, 1.2, Qt::SolidLine, Qt::RoundCap));
  for (double y : {8.0, 13.5, 19.0, 24.0}) p.drawLine(QPointF(6.5, y), QPointF(19.5, y));
  // A magnifying glass over the list.
  outline(p, 2.0);
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawEllipse(QPointF(22, 20), 5, 5);
  p.setPen(QPen(kInk, 3.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(25.6, 23.6), QPointF(29.5, 27.5));
}

void drawNumberTile(QPainter& p, int number) {
  outline(p);
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
  QFont font = p.font();
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("B%1").arg(number));
}

QPixmap render(int number, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kGrid, size / kGrid);
  switch (number) {
    case kPictureClassView:
      drawClass(p);
      break;
    case kPictureResourceView:
      drawResource(p);
      break;
    case kPictureSubjectView:
      drawSubject(p);
      break;
    case kPictureSchoolView:
      drawSchool(p);
      break;
    case kPictureInstitutionView:
      drawInstitution(p);
      break;
    case kPictureClassAvailability:
      drawClassAvailability(p);
      break;
    case kPictureResourceAvailability:
      drawResourceAvailability(p);
      break;
    case kPictureAllocateAll:
      drawAllocateAll(p);
      break;
    case kPictureInterSchool:
      drawInterSchool(p);
      break;
    case kPictureExit:
      drawExit(p);
      break;
    case kPictureReports:
      drawReports(p);
      break;
    case kPictureAllocateSelect:
      drawAllocateSelect(p);
      break;
    case kPictureProxy:
      drawProxy(p);
      break;
    case kPictureEmptySlot:
      drawEmptySlot(p);
      break;
    case kPictureSchoolSlot:
      drawSchoolSlot(p);
      break;
    case kPictureSchoolSlotEditing:
      drawSchoolSlotEditing(p);
      break;
    case kPictureAddSchool:
      drawAddSchool(p);
      break;
    case kPictureListSelect:
      drawListSelect(p);
      break;
    default:
      if (!drawGridPicture(p, number)) drawNumberTile(p, number);
      break;
  }
  return pixmap;
}

}  // namespace

QIcon picture(int number) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(render(number, size));
  return icon;
}

}  // namespace tavrel::app
