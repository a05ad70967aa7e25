#include "versend/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace versend {
namespace {

QPixmap blank(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    return picture;
}

QPixmap shapeIcon(int width, int height) {
    QPixmap picture = blank(22);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x33, 0x44, 0x55), 1.5));
    p.setBrush(QColor(0xe8, 0xee, 0xf5));
    const QRectF frame((22 - width) / 2.0, (22 - height) / 2.0, width, height);
    p.drawRoundedRect(frame, 2, 2);
    p.fillRect(QRectF(frame.left() + 1, frame.top() + 1, frame.width() - 2, 3), QColor(0x1a, 0x4f, 0x8b));
    return picture;
}

}  // namespace

QPixmap busyPicture() {
    QPixmap picture = blank(20);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0x7a, 0x00));
    p.drawEllipse(QRectF(2, 2, 16, 16));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(10, 5), QPointF(10, 10));
    p.drawLine(QPointF(10, 10), QPointF(14, 12));
    return picture;
}

QPixmap idlePicture() {
    QPixmap picture = blank(20);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x8b, 0x57));
    p.drawEllipse(QRectF(2, 2, 16, 16));
    p.setPen(QPen(Qt::white, 2));
    QPainterPath tick;
    tick.moveTo(6, 10);
    tick.lineTo(9, 13);
    tick.lineTo(14, 7);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return picture;
}

QPixmap narrowShapePicture() { return shapeIcon(10, 18); }

QPixmap wideShapePicture() { return shapeIcon(19, 11); }

}  // namespace versend
