// The command menu's pictures. The menu leaves out every pixel of the colour
// of a picture's bottom-left pixel: pure white for the shield and the
// clipboard, a dark blue found in no other pixel for the power button.
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QImage whiteCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

QImage drawShield() {
    QImage image = whiteCanvas(37, 46);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Flat top with rounded shoulders, straight flanks, curving to a point.
    QPainterPath shield;
    shield.moveTo(18.5, 2.0);
    shield.cubicTo(24, 4.5, 29, 5.5, 34.5, 5.0);
    shield.lineTo(34.5, 20);
    shield.cubicTo(34.5, 31, 27, 38.5, 18.5, 43.5);
    shield.cubicTo(10, 38.5, 2.5, 31, 2.5, 20);
    shield.lineTo(2.5, 5.0);
    shield.cubicTo(8, 5.5, 13, 4.5, 18.5, 2.0);
    shield.closeSubpath();

    QLinearGradient green(0, 0, 37, 46);
    green.setColorAt(0, QColor(0x8C, 0xE8, 0x6C));
    green.setColorAt(0.45, QColor(0x2E, 0xB0, 0x2E));
    green.setColorAt(1, QColor(0x0A, 0x5E, 0x14));
    p.setPen(QPen(QColor(0x14, 0x22, 0x78), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(green);
    p.drawPath(shield);

    // Glossy left half.
    p.save();
    p.setClipPath(shield);
    QLinearGradient gloss(0, 0, 18.5, 0);
    gloss.setColorAt(0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRect(QRectF(0, 0, 18.5, 46));
    p.restore();

    // White tick with a dark shadow under it.
    QPainterPath tick;
    tick.moveTo(10, 22.5);
    tick.lineTo(16, 29);
    tick.lineTo(27.5, 13.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x06, 0x40, 0x10, 120), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(0.8, 1.2));
    p.setPen(QPen(Qt::white, 4.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.end();
    return image;
}

QImage drawClipboard() {
    QImage image = whiteCanvas(128, 128);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Brown board with a soft shadow.
    const QRectF board(20, 16, 82, 106);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawRoundedRect(board.translated(3, 3), 7, 7);
    QLinearGradient wood(board.topLeft(), board.bottomRight());
    wood.setColorAt(0, QColor(0xD0, 0x92, 0x52));
    wood.setColorAt(0.5, QColor(0xA8, 0x6A, 0x30));
    wood.setColorAt(1, QColor(0x70, 0x42, 0x18));
    p.setPen(QPen(QColor(0x4E, 0x2C, 0x0E), 1.6));
    p.setBrush(wood);
    p.drawRoundedRect(board, 7, 7);

    // The sheet.
    const QRectF sheet(29, 30, 64, 84);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x20, 0x00, 70));
    p.drawRect(sheet.translated(2, 2));
    p.setPen(QPen(QColor(0xA8, 0xA8, 0xA0), 1.0));
    p.setBrush(QColor(0xFA, 0xFA, 0xF4));
    p.drawRect(sheet);

    // Three entries: tick, tick, cross, each followed by two grey lines.
    const double rowsY[] = {48, 70, 92};
    for (int i = 0; i < 3; ++i) {
        const double y = rowsY[i];
        p.setPen(QPen(QColor(0xB0, 0xB4, 0xC0), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(55, y - 3), QPointF(86, y - 3));
        p.drawLine(QPointF(55, y + 4), QPointF(78, y + 4));
        if (i < 2) {
            QPainterPath tick;
            tick.moveTo(35, y);
            tick.lineTo(40.5, y + 6);
            tick.lineTo(50, y - 8);
            p.setBrush(Qt::NoBrush);
            p.setPen(
                QPen(QColor(0x1C, 0xA0, 0x24), 4.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(tick);
        } else {
            p.setPen(QPen(QColor(0xE0, 0x1C, 0x1C), 4.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(36, y - 7), QPointF(49, y + 6));
            p.drawLine(QPointF(49, y - 7), QPointF(36, y + 6));
        }
    }

    // Metal clip at the top.
    const QRectF clip(42, 8, 38, 18);
    QLinearGradient metal(clip.topLeft(), clip.bottomLeft());
    metal.setColorAt(0, QColor(0xF4, 0xF4, 0xF4));
    metal.setColorAt(0.5, QColor(0xB8, 0xBC, 0xC4));
    metal.setColorAt(1, QColor(0x78, 0x7C, 0x84));
    p.setPen(QPen(QColor(0x50, 0x54, 0x5C), 1.4));
    p.setBrush(metal);
    p.drawRoundedRect(clip, 5, 5);
    p.setBrush(QColor(0x6A, 0x46, 0x22));
    p.drawEllipse(QRectF(56, 10, 10, 7));

    // Blue pencil lying across the lower right, its point on the sheet.
    p.save();
    p.translate(74, 106);
    p.rotate(-50);
    const double len = 56, w = 9;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRect(QRectF(14, -w / 2 + 3, len, w));
    QLinearGradient blue(0, -w / 2, 0, w / 2);
    blue.setColorAt(0, QColor(0x7C, 0xB4, 0xFF));
    blue.setColorAt(0.5, QColor(0x1E, 0x5E, 0xE0));
    blue.setColorAt(1, QColor(0x0C, 0x2C, 0x86));
    p.setPen(QPen(QColor(0x08, 0x1C, 0x5A), 1.0));
    p.setBrush(blue);
    p.drawRect(QRectF(14, -w / 2, len - 14, w));
    // metal band and eraser
    p.setBrush(QColor(0xC8, 0xCC, 0xD0));
    p.drawRect(QRectF(len, -w / 2, 5, w));
    p.setBrush(QColor(0xF2, 0x9A, 0xA6));
    p.drawRoundedRect(QRectF(len + 5, -w / 2, 6, w), 2, 2);
    // sharpened wood and graphite point
    QPolygonF wood2{QPointF(14, -w / 2), QPointF(14, w / 2), QPointF(0, 0)};
    p.setBrush(QColor(0xF0, 0xD0, 0x9C));
    p.drawPolygon(wood2);
    QPolygonF lead{QPointF(4.5, -1.5), QPointF(4.5, 1.5), QPointF(0, 0)};
    p.setBrush(QColor(0x1C, 0x2A, 0x60));
    p.drawPolygon(lead);
    p.restore();
    p.end();
    return image;
}

QImage drawPower() {
    QImage image = whiteCanvas(26, 26);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Dark blue shading down the right and along the bottom, under the square.
    const QRectF square(1, 1, 21.5, 21.5);
    for (int i = 3; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x18, 0x60, 120 + 50 * (3 - i)));
        p.drawRoundedRect(square.translated(i, i), 5, 5);
    }

    QRadialGradient red(QPointF(8, 7), 20);
    red.setColorAt(0, QColor(0xFF, 0x8A, 0x7A));
    red.setColorAt(0.5, QColor(0xE8, 0x22, 0x1A));
    red.setColorAt(1, QColor(0xA0, 0x08, 0x08));
    p.setPen(QPen(QColor(0x7A, 0x06, 0x06), 1.0));
    p.setBrush(red);
    p.drawRoundedRect(square, 5, 5);

    // Power symbol: an open ring with a bar through its gap.
    const QPointF c = square.center() + QPointF(0, 0.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - 6, c.y() - 6, 12, 12), 125 * 16, 290 * 16);
    p.drawLine(QPointF(c.x(), c.y() - 8), QPointF(c.x(), c.y() - 1));
    p.end();

    // The bottom-left pixel carries the transparent colour: a dark blue that
    // no other pixel may have, so the menu leaves out only that corner.
    const QRgb corner = qRgb(0x0C, 0x10, 0x48);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == corner) image.setPixel(x, y, qRgb(0x0C, 0x10, 0x49));
    image.setPixel(0, image.height() - 1, corner);
    return image;
}
