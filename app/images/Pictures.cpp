#include "app/images/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace pictures {
namespace {

QPixmap Blank(int width, int height) {
  QPixmap pm(width, height);
  pm.fill(Qt::transparent);
  return pm;
}

void Smooth(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// A database drum: an ellipse on top, straight sides, a curved bottom, and two bands.
void Drum(QPainter& p, const QRectF& r, const QColor& fill) {
  const qreal cap = r.height() * 0.22;
  QPainterPath body;
  body.moveTo(r.left(), r.top() + cap / 2);
  body.lineTo(r.left(), r.bottom() - cap / 2);
  body.arcTo(QRectF(r.left(), r.bottom() - cap, r.width(), cap), 180, 180);
  body.lineTo(r.right(), r.top() + cap / 2);
  body.arcTo(QRectF(r.left(), r.top(), r.width(), cap), 0, -180);
  p.setBrush(fill);
  p.drawPath(body);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(r.left(), r.top(), r.width(), cap));
  for (int band = 1; band <= 2; ++band) {
    const qreal y = r.top() + (r.height() - cap) * band / 3.0;
    p.drawArc(QRectF(r.left(), y, r.width(), cap), 180 * 16, 180 * 16);
  }
}

// A sheet of rows and columns: a legacy table.
void Sheet(QPainter& p, const QRectF& r) {
  p.drawRoundedRect(r, 2, 2);
  const qreal head = r.height() * 0.22;
  p.drawLine(QPointF(r.left(), r.top() + head), QPointF(r.right(), r.top() + head));
  for (int row = 1; row <= 3; ++row) {
    const qreal y = r.top() + head + (r.height() - head) * row / 4.0;
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
  const qreal x = r.left() + r.width() * 0.38;
  p.drawLine(QPointF(x, r.top() + head), QPointF(x, r.bottom()));
}

void ArrowHead(QPainter& p, QPointF tip, QPointF dir, qreal size) {
  const QPointF n(-dir.y(), dir.x());
  QPolygonF head;
  head << tip << tip - dir * size + n * size * 0.6 << tip - dir * size - n * size * 0.6;
  p.setBrush(p.pen().color());
  p.drawPolygon(head);
  p.setBrush(Qt::NoBrush);
}

// Where the drawing lies inside the header picture, in its own 199 x 78 units: the
// whole of it (tables, arrow, database), and the database alone.
const QRectF kLogoWhole(16, 10, 164, 58);
const QRectF kLogoDatabase(134, 10, 46, 58);

}  // namespace

QPixmap Logo(int width, int height) {
  QPixmap pm = Blank(width, height);
  QPainter p(&pm);
  Smooth(p);
  p.scale(width / 199.0, height / 78.0);
  QPen pen(Qt::white, 2.2);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  // Two stacked tables on the left ...
  Sheet(p, QRectF(24, 22, 40, 34));
  p.setBrush(Qt::NoBrush);
  Sheet(p, QRectF(18, 16, 40, 34));
  // ... an arrow ...
  QPen arrow(Qt::white, 3.0);
  arrow.setCapStyle(Qt::RoundCap);
  p.setPen(arrow);
  p.drawLine(QPointF(78, 39), QPointF(112, 39));
  ArrowHead(p, QPointF(121, 39), QPointF(1, 0), 9);
  // ... into a database on the right.
  p.setPen(pen);
  Drum(p, QRectF(136, 12, 42, 54), QColor(255, 255, 255, 60));
  return pm;
}

QPixmap Emblem(int width, int height) {
  QPixmap pm = Blank(width, height);
  QPainter p(&pm);
  Smooth(p);
  p.scale(width / 132.0, height / 132.0);
  p.setPen(QPen(QColor(255, 255, 255, 70), 10));
  p.drawEllipse(QRectF(14, 14, 104, 104));
  p.setPen(QPen(QColor(255, 255, 255, 150), 2.5));
  Drum(p, QRectF(44, 34, 44, 58), QColor(255, 255, 255, 40));
  return pm;
}

QPixmap FolderOpen(int width, int height) {
  QPixmap pm = Blank(width, height);
  QPainter p(&pm);
  Smooth(p);
  p.scale(width / 33.0, height / 33.0);
  QPen pen(Qt::white, 1.8);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
  // The back of the folder with its tab.
  QPainterPath back;
  back.moveTo(5, 25);
  back.lineTo(5, 9);
  back.lineTo(12, 9);
  back.lineTo(14.5, 11.5);
  back.lineTo(25, 11.5);
  back.lineTo(25, 15);
  p.drawPath(back);
  // The open front flap, filled.
  QPolygonF front;
  front << QPointF(5, 25) << QPointF(9.5, 15) << QPointF(29, 15) << QPointF(24.5, 25);
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawPolygon(front);
  return pm;
}

QPixmap Convert(int width, int height) {
  QPixmap pm = Blank(width, height);
  QPainter p(&pm);
  Smooth(p);
  p.scale(width / 41.0, height / 41.0);
  QPen pen(Qt::white, 3.2);
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  const QRectF ring(9, 9, 23, 23);
  // Two half-turn arrows chasing each other: the data going round into the target.
  p.drawArc(ring, 20 * 16, 140 * 16);
  p.drawArc(ring, 200 * 16, 140 * 16);
  p.setPen(QPen(Qt::white, 1));
  ArrowHead(p, QPointF(9.8, 24.5), QPointF(-0.2, 1), 6.5);
  ArrowHead(p, QPointF(31.2, 16.5), QPointF(0.2, -1), 6.5);
  return pm;
}

QPixmap Exit(int width, int height) {
  QPixmap pm = Blank(width, height);
  QPainter p(&pm);
  Smooth(p);
  p.scale(width / 41.0, height / 41.0);
  QPen pen(Qt::white, 3.2);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  // A power sign: an open ring with a bar through its gap.
  p.drawArc(QRectF(9.5, 10.5, 22, 22), 125 * 16, 290 * 16);
  p.drawLine(QPointF(20.5, 7.5), QPointF(20.5, 20));
  return pm;
}

QPixmap AppIcon(int size, const QColor& tile) {
  QPixmap pm = Blank(size, size);
  QPainter p(&pm);
  Smooth(p);
  const qreal margin = size / 16.0;
  const QRectF area(margin, margin, size - 2 * margin, size - 2 * margin);
  p.setPen(Qt::NoPen);
  p.setBrush(tile);
  p.drawRoundedRect(area, area.width() * 0.18, area.height() * 0.18);
  // Below 32 pixels the lines of the whole picture thin out to a blur: the database
  // alone still reads as one.
  const QRectF part = size >= 32 ? kLogoWhole : kLogoDatabase;
  const qreal fill = size >= 32 ? 0.86 : 0.8;
  const qreal scale = std::min(area.width() * fill / part.width(), area.height() * fill / part.height());
  const QPointF at = area.center() - part.center() * scale;
  // Only that part: the rest must not peek in. The clip snaps to whole pixels, so it
  // is a pixel wider than the part.
  p.setClipRect(QRectF(at + part.topLeft() * scale, part.size() * scale).adjusted(-1, -1, 1, 1));
  p.drawPixmap(at, Logo(qRound(199 * scale), qRound(78 * scale)));
  return pm;
}

}  // namespace pictures
