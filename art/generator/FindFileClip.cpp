// The search animation: a magnifying glass circling over a sheet of paper.
// Drawn anti-aliased, then flattened onto a flat magenta background with hard
// edges, because the animation control replaces exactly the background colour
// (the first frame's top-left pixel) by its own colour.
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

constexpr int frameSize = 16;
constexpr int frameCount = 16;
constexpr QRgb background = 0xFFFF00FF; // magenta: never used by the drawing

void drawSheet(QPainter& p) {
    // A page with its top-right corner folded over.
    QPainterPath page;
    page.moveTo(2.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(2.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(9.5, 1.5);
    fold.lineTo(9.5, 4.5);
    fold.lineTo(12.5, 4.5);
    p.setBrush(QColor(0xC8, 0xC8, 0xC8));
    p.drawPath(fold);
    // lines of text
    p.setPen(QPen(QColor(0x90, 0x90, 0xA0), 1.0));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(QPointF(4, y + 0.5), QPointF(y == 12 ? 8 : 11, y + 0.5));
}

void drawGlass(QPainter& p, QPointF lens) {
    const double r = 3.0;
    // handle towards the lower right
    const QPointF dir(0.7071, 0.7071);
    p.setPen(QPen(QColor(0x60, 0x30, 0x08), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + dir * (r + 0.6), lens + dir * (r + 3.6));
    QRadialGradient glass(lens - QPointF(1, 1), r * 1.6);
    glass.setColorAt(0, QColor(0xF0, 0xFF, 0xFF));
    glass.setColorAt(1, QColor(0x60, 0xB8, 0xE0));
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.2));
    p.setBrush(glass);
    p.drawEllipse(lens, r, r);
}

// Hard-edged copy of an anti-aliased drawing on the background colour.
QImage flatten(const QImage& drawing) {
    const QImage straight = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage frame(straight.size(), QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb px = straight.pixel(x, y);
            QRgb out = qAlpha(px) >= 128 ? (px | 0xFF000000) : background;
            if (qAlpha(px) >= 128 && out == background)
                out = 0xFFFF01FF; // keep drawn pixels off the background colour
            frame.setPixel(x, y, out);
        }
    }
    return frame;
}

} // namespace

std::vector<QImage> drawFindFileFrames() {
    std::vector<QImage> frames;
    for (int i = 0; i < frameCount; ++i) {
        QImage drawing(frameSize, frameSize, QImage::Format_ARGB32_Premultiplied);
        drawing.fill(Qt::transparent);
        QPainter p(&drawing);
        p.setRenderHint(QPainter::Antialiasing);
        drawSheet(p);
        // The lens circles over the page, one turn per loop, clockwise.
        const double a = 2 * std::numbers::pi * i / frameCount;
        drawGlass(p, QPointF(7.5 + 3.0 * std::cos(a), 8.0 + 3.0 * std::sin(a)));
        p.end();
        frames.push_back(flatten(drawing));
    }
    return frames;
}
