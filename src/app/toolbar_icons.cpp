#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qvr {
namespace {

const QColor kOutline(40, 40, 40);

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  QLineF shaft(to, from);
  QLineF wing1 = shaft, wing2 = shaft;
  wing1.setLength(4.5);
  wing2.setLength(4.5);
  wing1.setAngle(shaft.angle() + 40);
  wing2.setAngle(shaft.angle() - 40);
  p.drawLine(wing1);
  p.drawLine(wing2);
}

// A small device: a box with a row of pins.
void Device(QPainter& p, QRectF box) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(120, 130, 145));
  p.drawRect(box);
  p.setBrush(QColor(170, 230, 170));
  p.drawRect(QRectF(box.left() + 2, box.top() + 2, box.width() - 4, 3));
}

void DrawUpdate(QPainter& p) {
  Device(p, QRectF(2.5, 9.5, 11, 5));
  Arrow(p, {8, 1}, {8, 8}, QColor(0, 140, 0));
}

void DrawReadConfig(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(235, 190, 60));
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6.5, 3.5);
  back.lineTo(7.5, 5.5);
  back.lineTo(13.5, 5.5);
  back.lineTo(13.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(250, 215, 100));
  QPolygonF front{{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}};
  p.drawPolygon(front);
}

void DrawWriteConfig(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(50, 90, 190));
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setBrush(QColor(245, 245, 245));
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

void DrawReadDevice(QPainter& p) {
  Device(p, QRectF(9.5, 2.5, 5, 11));
  Arrow(p, {8, 8}, {1.5, 8}, QColor(20, 90, 200));
}

void DrawWriteDevice(QPainter& p) {
  Device(p, QRectF(9.5, 2.5, 5, 11));
  Arrow(p, {1, 8}, {7.5, 8}, QColor(200, 40, 30));
}

void DrawToDefault(QPainter& p) {
  p.setPen(QPen(QColor(220, 120, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, -300 * 16);
  p.setPen(QPen(QColor(220, 120, 0), 1));
  p.setBrush(QColor(220, 120, 0));
  p.drawPolygon(QPolygonF{{1.0, 2.0}, {6.5, 2.0}, {3.0, 7.0}});
}

void DrawReset(QPainter& p) {
  QColor red(200, 30, 30);
  p.setPen(QPen(red, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, 300 * 16);
  p.drawLine(QPointF(8, 1.5), QPointF(8, 7.5));
}

}  // namespace

QIcon ToolbarIcon(ToolbarGlyph glyph) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (glyph) {
    case ToolbarGlyph::Update:
      DrawUpdate(p);
      break;
    case ToolbarGlyph::ReadConfig:
      DrawReadConfig(p);
      break;
    case ToolbarGlyph::WriteConfig:
      DrawWriteConfig(p);
      break;
    case ToolbarGlyph::ReadDevice:
      DrawReadDevice(p);
      break;
    case ToolbarGlyph::WriteDevice:
      DrawWriteDevice(p);
      break;
    case ToolbarGlyph::ToDefault:
      DrawToDefault(p);
      break;
    case ToolbarGlyph::Reset:
      DrawReset(p);
      break;
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace qvr
