// The button bar's Play, Pause and Stop pictures, pixel-drawn in the classic
// look: black-outlined coloured shapes for a usable button; for an unusable one the shape in
// grey over a white copy one pixel to the right and down (embossed).
#include "Pictures.h"

#include <QPainter>

namespace {

constexpr int width = 21, height = 16;

// The shape's pixels, in coordinates of the 21 x 16 picture.
QRegion shape(MediaButton button) {
    QRegion region;
    switch (button) {
    case MediaButton::Play: // right-pointing triangle, 11 x 11
        for (int i = 0; i < 11; ++i)
            region += QRect(5 + i, 2 + i / 2, 1, 11 - 2 * (i / 2));
        break;
    case MediaButton::Pause: // two bars, 4 wide and 11 high
        region += QRect(5, 2, 4, 11);
        region += QRect(12, 2, 4, 11);
        break;
    case MediaButton::Stop: // an 11 x 11 square
        region += QRect(5, 2, 11, 11);
        break;
    }
    return region;
}

QColor shapeColour(MediaButton button) {
    switch (button) {
    case MediaButton::Play:
        return QColor(0x00, 0xC0, 0x00);
    case MediaButton::Pause:
        return QColor(0x20, 0x40, 0xE0);
    case MediaButton::Stop:
        return QColor(0xB0, 0x00, 0x00);
    }
    return Qt::black;
}

} // namespace

QImage drawMediaButton(MediaButton button, bool enabled) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QRegion region = shape(button);
    auto fill = [&](const QRegion& r, const QColor& colour) {
        for (const QRect& rect : r)
            p.fillRect(rect, colour);
    };
    if (enabled) {
        // Black outline around the coloured inside.
        const QRegion inside = region & region.translated(1, 0) & region.translated(-1, 0) &
                               region.translated(0, 1) & region.translated(0, -1);
        fill(region, Qt::black);
        fill(inside, shapeColour(button));
    } else {
        fill(region.translated(1, 1), Qt::white);
        fill(region, QColor(0x80, 0x80, 0x80));
    }
    p.end();
    return image;
}
