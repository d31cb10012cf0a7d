#include "platform/qt/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Canvas(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A wheeled robot seen from above on a rail: body, two wheels, a direction arrow.
QPixmap DrawProgramIcon(int size) {
  QPixmap pixmap = Canvas(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 70, 140));
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  p.setBrush(QColor(160, 160, 160));
  p.drawRect(QRectF(3, 24, 26, 3)); // rail
  p.setBrush(QColor(242, 128, 26));
  p.drawRoundedRect(QRectF(9, 7, 14, 15), 2, 2); // body
  p.setBrush(QColor(20, 20, 20));
  p.drawRect(QRectF(5, 9, 4, 11)); // wheels
  p.drawRect(QRectF(23, 9, 4, 11));
  p.setBrush(Qt::white);
  QPainterPath arrow;
  arrow.moveTo(16, 9);
  arrow.lineTo(20, 15);
  arrow.lineTo(12, 15);
  arrow.closeSubpath();
  p.drawPath(arrow);
  return pixmap;
}

QPixmap DrawAnimate(int size) {
  QPixmap pixmap = Canvas(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 140, 50));
  QPainterPath play;
  play.moveTo(1, 2);
  play.lineTo(9, 8);
  play.lineTo(1, 14);
  play.closeSubpath();
  p.drawPath(play);
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(QRectF(10, 3, 2, 10));
  p.drawRect(QRectF(13.5, 3, 2, 10));
  return pixmap;
}

QPixmap DrawResetView(int size) {
  QPixmap pixmap = Canvas(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(QPen(QColor(30, 80, 170), 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(2, 2, 12, 12), 100 * 16, 290 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 80, 170));
  QPainterPath head;
  head.moveTo(6.5, 0.5);
  head.lineTo(10, 2.2);
  head.lineTo(6.5, 4.5);
  head.closeSubpath();
  p.drawPath(head);
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
  return pixmap;
}

// One step: a bar, then a play triangle.
QPixmap DrawStep(int size) {
  QPixmap pixmap = Canvas(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(QRectF(2, 3, 2, 10));
  p.setBrush(QColor(30, 140, 50));
  QPainterPath play;
  play.moveTo(6, 3);
  play.lineTo(13, 8);
  play.lineTo(6, 13);
  play.closeSubpath();
  p.drawPath(play);
  return pixmap;
}

QIcon Sizes(QPixmap (*draw)(int), std::initializer_list<int> sizes) {
  QIcon icon;
  for (int s : sizes)
    icon.addPixmap(draw(s));
  return icon;
}

} // namespace

QIcon ProgramIcon() {
  return Sizes(DrawProgramIcon, {16, 32, 48, 64, 128});
}
QIcon AnimateIcon() {
  return Sizes(DrawAnimate, {16, 24, 32});
}
QIcon ResetViewIcon() {
  return Sizes(DrawResetView, {16, 24, 32});
}
QIcon StepIcon() {
  return Sizes(DrawStep, {16, 24, 32});
}
