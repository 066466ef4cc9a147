#include "editor/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <array>

namespace {

// Every glyph is drawn on a 16 x 16 grid; the painter scales it to the button's size.
const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kFolder(236, 196, 72);
const QColor kDisk(52, 96, 176);
const QColor kArrow(36, 112, 200);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);
const QColor kGrid(150, 150, 160);

QPen InkPen(qreal width = 1.0, const QColor& colour = kInk) {
  QPen pen(colour, width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

void Page(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
  const qreal fold = w / 3;
  QPolygonF outline({{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}});
  p.setPen(InkPen());
  p.setBrush(kPaper);
  p.drawPolygon(outline);
  p.drawPolyline(QPolygonF({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}}));
}

// A small cel: a framed square with a 4 x 4 grid, the picture the cel commands work on.
void Cel(QPainter& p, qreal x, qreal y, qreal size) {
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(QRectF(x, y, size, size));
  p.setPen(InkPen(0.6, kGrid));
  for (int i = 1; i < 4; ++i) {
    const qreal d = size * i / 4;
    p.drawLine(QPointF(x + d, y), QPointF(x + d, y + size));
    p.drawLine(QPointF(x, y + d), QPointF(x + size, y + d));
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(InkPen());
  p.drawRect(QRectF(x, y, size, size));
}

void Floppy(QPainter& p, qreal x, qreal y, qreal s) {
  const qreal u = s / 12;
  p.setPen(InkPen());
  p.setBrush(kDisk);
  p.drawRoundedRect(QRectF(x, y, s, s), u, u);
  p.setBrush(QColor(210, 214, 222));
  p.drawRect(QRectF(x + 3 * u, y, 6 * u, 4 * u));
  p.setBrush(kPaper);
  p.drawRect(QRectF(x + 2 * u, y + 6.5 * u, 8 * u, 5.5 * u));
}

// A filled arrow from (x1, y1) to (x2, y2) with a head of the given size.
void Arrow(QPainter& p, QPointF from, QPointF to, qreal head, const QColor& colour,
           qreal width = 2.2) {
  const QLineF line(from, to);
  const QLineF unit = line.unitVector();
  const QPointF dir(unit.dx(), unit.dy());
  const QPointF normal(-dir.y(), dir.x());
  const QPointF base = to - dir * head;
  p.setPen(InkPen(width, colour));
  p.drawLine(from, base);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPolygon(QPolygonF({to, base + normal * head * 0.8, base - normal * head * 0.8}));
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& fill) {
  p.setPen(InkPen(0.8));
  p.setBrush(fill);
  p.drawPolygon(QPolygonF({a, b, c}));
}

void Bar(QPainter& p, qreal x, qreal top, qreal bottom) {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRect(QRectF(x, top, 2, bottom - top));
}

void Plus(QPainter& p, QPointF c, qreal r, const QColor& colour) {
  p.setPen(InkPen(2.2, colour));
  p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
  p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
}

void Cross(QPainter& p, QPointF c, qreal r, const QColor& colour) {
  p.setPen(InkPen(2.2, colour));
  p.drawLine(c - QPointF(r, r), c + QPointF(r, r));
  p.drawLine(c - QPointF(r, -r), c + QPointF(r, -r));
}

void Pencil(QPainter& p) {
  p.save();
  p.translate(8, 8);
  p.rotate(45);
  p.setPen(InkPen(0.9));
  p.setBrush(QColor(240, 180, 60));
  p.drawRect(QRectF(-2, -7, 4, 9.5));
  p.setBrush(QColor(230, 140, 150));
  p.drawRect(QRectF(-2, -8.5, 4, 1.5));
  p.setBrush(QColor(245, 222, 180));
  p.drawPolygon(QPolygonF({{-2, 2.5}, {2, 2.5}, {0, 7}}));
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF({{-0.7, 5.5}, {0.7, 5.5}, {0, 7}}));
  p.restore();
}

void Bucket(QPainter& p) {
  p.save();
  p.translate(7, 8.5);
  p.rotate(-30);
  p.setPen(InkPen());
  p.setBrush(QColor(190, 196, 206));
  p.drawRect(QRectF(-4, -3, 8, 8));
  p.setBrush(kArrow);
  p.drawEllipse(QRectF(-4, -4.2, 8, 2.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(-3, -7, 6, 6), 0, 180 * 16);
  p.restore();
  p.setPen(Qt::NoPen);
  p.setBrush(kArrow);
  QPainterPath drop;
  drop.moveTo(13.5, 8);
  drop.cubicTo(15.5, 11, 15.5, 14, 13.5, 14);
  drop.cubicTo(11.5, 14, 11.5, 11, 13.5, 8);
  p.drawPath(drop);
}

void Dropper(QPainter& p) {
  p.save();
  p.translate(8, 8);
  p.rotate(45);
  p.setPen(InkPen(0.9));
  p.setBrush(kInk);
  p.drawRoundedRect(QRectF(-2.5, -8, 5, 4), 1.5, 1.5);
  p.setBrush(QColor(200, 226, 246));
  p.drawRect(QRectF(-1.3, -4, 2.6, 8));
  p.setBrush(kRed);
  p.drawPolygon(QPolygonF({{-1.3, 4}, {1.3, 4}, {0, 7.5}}));
  p.restore();
}

void DrawGlyph(QPainter& p, TGlyph glyph) {
  switch (glyph) {
    case TGlyph::New:
      Page(p, 3, 1, 10, 14);
      Plus(p, {12, 12}, 2.5, kGreen);
      break;
    case TGlyph::Open: {
      p.setPen(InkPen());
      p.setBrush(kFolder.darker(115));
      p.drawPolygon(QPolygonF({{1, 3}, {6, 3}, {7.5, 5}, {14, 5}, {14, 13}, {1, 13}}));
      p.setBrush(kFolder);
      p.drawPolygon(QPolygonF({{3.5, 7}, {15.5, 7}, {13.5, 13}, {1, 13}}));
      break;
    }
    case TGlyph::Save:
      Floppy(p, 2, 2, 12);
      break;
    case TGlyph::SaveCel:
      Cel(p, 1, 1, 10);
      Floppy(p, 8, 8, 7.5);
      break;
    case TGlyph::Undo: {
      QPainterPath path;
      path.moveTo(4, 7);
      path.cubicTo(6, 3, 13, 3, 13.5, 8.5);
      path.cubicTo(13.5, 12, 10, 14, 7, 13.5);
      p.setPen(InkPen(2.2, kArrow));
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
      p.setPen(Qt::NoPen);
      p.setBrush(kArrow);
      p.drawPolygon(QPolygonF({{1.5, 3.5}, {7.5, 8}, {1.5, 10}}));
      break;
    }
    case TGlyph::Clear: {
      Cel(p, 1, 1, 11);
      p.save();
      p.translate(10.5, 10.5);
      p.rotate(-40);
      p.setPen(InkPen(0.9));
      p.setBrush(QColor(236, 130, 150));
      p.drawRoundedRect(QRectF(-5, -2.5, 10, 5), 1, 1);
      p.setBrush(QColor(120, 150, 220));
      p.drawRoundedRect(QRectF(-5, -2.5, 3.5, 5), 1, 1);
      p.restore();
      break;
    }
    case TGlyph::Copy:
      Page(p, 1, 1, 9, 11);
      Page(p, 6, 4, 9, 11);
      break;
    case TGlyph::Add:
      Cel(p, 1, 1, 11);
      p.setPen(Qt::NoPen);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(12, 12), 4, 4);
      Plus(p, {12, 12}, 2.8, kGreen);
      break;
    case TGlyph::Delete:
      Cel(p, 1, 1, 11);
      p.setPen(Qt::NoPen);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(12, 12), 4, 4);
      Cross(p, {12, 12}, 2.4, kRed);
      break;
    case TGlyph::Insert:
      Cel(p, 5, 3, 10);
      Arrow(p, {0.5, 8}, {7.5, 8}, 3, kGreen);
      break;
    case TGlyph::TurnOver:
      Triangle(p, {3, 6.5}, {13, 6.5}, {8, 1.5}, kArrow);
      Triangle(p, {3, 9.5}, {13, 9.5}, {8, 14.5}, kPaper);
      p.setPen(InkPen(1, kGrid));
      p.drawLine(QPointF(1, 8), QPointF(15, 8));
      break;
    case TGlyph::Mirror:
      Triangle(p, {6.5, 3}, {6.5, 13}, {1.5, 8}, kArrow);
      Triangle(p, {9.5, 3}, {9.5, 13}, {14.5, 8}, kPaper);
      p.setPen(InkPen(1, kGrid));
      p.drawLine(QPointF(8, 1), QPointF(8, 15));
      break;
    case TGlyph::MoveLeft:
      Arrow(p, {14, 8}, {2, 8}, 5, kArrow, 3);
      break;
    case TGlyph::MoveRight:
      Arrow(p, {2, 8}, {14, 8}, 5, kArrow, 3);
      break;
    case TGlyph::MoveUp:
      Arrow(p, {8, 14}, {8, 2}, 5, kArrow, 3);
      break;
    case TGlyph::MoveDown:
      Arrow(p, {8, 2}, {8, 14}, 5, kArrow, 3);
      break;
    case TGlyph::Next:
      Triangle(p, {5, 3}, {5, 13}, {12, 8}, kGreen);
      break;
    case TGlyph::Previous:
      Triangle(p, {11, 3}, {11, 13}, {4, 8}, kGreen);
      break;
    case TGlyph::First:
      Bar(p, 3, 3, 13);
      Triangle(p, {13, 3}, {13, 13}, {6, 8}, kGreen);
      break;
    case TGlyph::Last:
      Bar(p, 11, 3, 13);
      Triangle(p, {3, 3}, {3, 13}, {10, 8}, kGreen);
      break;
    case TGlyph::Animate: {
      p.setPen(InkPen());
      p.setBrush(kInk);
      p.drawRect(QRectF(1, 2.5, 14, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(kPaper);
      for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(2 + 3.4 * i, 3.5, 1.8, 1.4));
        p.drawRect(QRectF(2 + 3.4 * i, 11.1, 1.8, 1.4));
      }
      p.setBrush(QColor(200, 226, 246));
      p.drawRect(QRectF(2, 5.8, 12, 4.4));
      Triangle(p, {6.5, 6.2}, {6.5, 9.8}, {10, 8}, kGreen);
      break;
    }
    case TGlyph::Exit:
      p.setPen(InkPen());
      p.setBrush(QColor(176, 120, 70));
      p.drawRect(QRectF(2, 1.5, 8, 13));
      p.setBrush(kFolder);
      p.drawEllipse(QPointF(8, 8), 0.9, 0.9);
      Arrow(p, {8.5, 8}, {15.5, 8}, 3.5, kRed);
      break;
    case TGlyph::Draw:
      Pencil(p);
      break;
    case TGlyph::Fill:
      Bucket(p);
      break;
    case TGlyph::Capture:
      Dropper(p);
      break;
    case TGlyph::Exchange: {
      p.setPen(InkPen());
      p.setBrush(kRed);
      p.drawRect(QRectF(1, 1, 6, 6));
      p.setBrush(kArrow);
      p.drawRect(QRectF(9, 9, 6, 6));
      p.setBrush(Qt::NoBrush);
      p.setPen(InkPen(1.6, kInk));
      p.drawArc(QRectF(6, 1.5, 8, 8), 0, 90 * 16);
      p.drawArc(QRectF(2, 6.5, 8, 8), 180 * 16, 90 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawPolygon(QPolygonF({{12, 7}, {15.5, 6}, {14, 9.5}}));
      p.drawPolygon(QPolygonF({{4, 9}, {0.5, 10}, {2, 6.5}}));
      break;
    }
    case TGlyph::CopyPrev:
      Cel(p, 0.5, 4, 6);
      Cel(p, 9.5, 4, 6);
      Arrow(p, {4, 12.5}, {12, 12.5}, 2.5, kGreen, 1.6);
      break;
    case TGlyph::CopyNext:
      Cel(p, 0.5, 4, 6);
      Cel(p, 9.5, 4, 6);
      Arrow(p, {12, 12.5}, {4, 12.5}, 2.5, kGreen, 1.6);
      break;
  }
}

}  // namespace

QIcon GlyphIcon(TGlyph glyph, int logicalSize) {
  QIcon icon;
  // A few device scales, so the icon is crisp on ordinary and high-density screens alike.
  for (const int scale : std::array{1, 2, 3}) {
    QPixmap pixmap(logicalSize * scale, logicalSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(logicalSize / 16.0, logicalSize / 16.0);
    DrawGlyph(painter, glyph);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
