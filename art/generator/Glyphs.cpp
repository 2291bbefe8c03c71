// The expand and collapse glyphs: a glossy red ball on pure white with a pale
// double chevron across rows 4..14. The ball is sampled by hand (16 x 16
// samples a pixel) so that exactly the corner pixels it does not touch stay
// pure white: the button draws pure white (the bottom-left colour) as
// transparent, and the anti-aliased rim must stay visible.
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int glyphWidth = 17;
constexpr int glyphHeight = 18;
constexpr int chevronTop = 4;     // first row the chevrons may touch
constexpr int chevronBottom = 14; // last row the chevrons may touch
constexpr int expectedWhiteCorners = 33;

// The ball: an ellipse a little larger than the picture, cut by its edges.
constexpr double ballCx = 8.6, ballCy = 8.6, ballRx = 8.9, ballRy = 9.2;

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smooth(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Colour of the ball at normalised position (u, v), both -1..1, v downwards:
// pale pink at the top, through pink, to saturated red FF4040 in the lower
// half, with a soft glossy spot at the upper left and a deeper edge.
Rgb ballShade(double u, double v) {
    const Rgb palePink{255, 228, 228}, pink{255, 150, 150}, red{255, 64, 64};
    Rgb c = v < -0.55 ? mix(palePink, pink, smooth(-1.0, -0.55, v))
                      : mix(pink, red, smooth(-0.55, 0.0, v));
    const double gloss = std::hypot((u + 0.2) / 0.4, (v + 0.78) / 0.2);
    c = mix(c, Rgb{255, 246, 246}, 0.8 * (1.0 - smooth(0.4, 1.0, gloss)));
    const double edge = smooth(0.78, 1.0, std::hypot(u, v));
    return mix(c, Rgb{225, 40, 40}, 0.55 * edge * smooth(-0.6, 0.2, v));
}

// The ball over white; coverage[] receives how much of each pixel it covers.
QImage drawBall(std::vector<double>& coverage) {
    constexpr int samples = 16;
    QImage image(glyphWidth, glyphHeight, QImage::Format_RGB32);
    coverage.assign(glyphWidth * glyphHeight, 0.0);
    for (int y = 0; y < glyphHeight; ++y) {
        for (int x = 0; x < glyphWidth; ++x) {
            Rgb sum{0, 0, 0};
            int inside = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double u = (x + (sx + 0.5) / samples - ballCx) / ballRx;
                    const double v = (y + (sy + 0.5) / samples - ballCy) / ballRy;
                    if (u * u + v * v > 1.0) continue;
                    const Rgb c = ballShade(u, v);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                    ++inside;
                }
            }
            const double cover = double(inside) / (samples * samples);
            coverage[y * glyphWidth + x] = cover;
            Rgb c{255, 255, 255};
            if (inside > 0) {
                const Rgb mean{sum.r / inside, sum.g / inside, sum.b / inside};
                c = mix(c, mean, cover);
            }
            image.setPixel(
                x, y, qRgb(int(std::lround(c.r)), int(std::lround(c.g)), int(std::lround(c.b))));
        }
    }
    return image;
}

// Alpha mask of the double chevron, pointing down; clipped to its rows.
QImage chevronMask(bool pointingUp) {
    QImage mask(glyphWidth, glyphHeight, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(QRect(0, chevronTop, glyphWidth, chevronBottom - chevronTop + 1));
    if (pointingUp) // mirror within the band: y -> (top + bottom + 1) - y
        p.setTransform(QTransform(1, 0, 0, -1, 0, chevronTop + chevronBottom + 1));
    QPen pen(Qt::white, 2.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    for (double top : {5.1, 9.9}) {
        QPainterPath v;
        v.moveTo(4.3, top);
        v.lineTo(8.5, top + 3.9);
        v.lineTo(12.7, top);
        p.drawPath(v);
    }
    p.end();
    return mask;
}

QImage drawGlyph(bool pointingUp) {
    std::vector<double> coverage;
    QImage image = drawBall(coverage);
    const QImage mask = chevronMask(pointingUp);
    const Rgb chevron{255, 244, 244};

    int pureWhite = 0;
    for (int y = 0; y < glyphHeight; ++y) {
        for (int x = 0; x < glyphWidth; ++x) {
            const QRgb px = image.pixel(x, y);
            Rgb c{double(qRed(px)), double(qGreen(px)), double(qBlue(px))};
            c = mix(c, chevron, qAlpha(mask.pixel(x, y)) / 255.0);
            int r = int(std::lround(c.r)), g = int(std::lround(c.g)), b = int(std::lround(c.b));
            if (coverage[y * glyphWidth + x] > 0 && r == 255 && g == 255 && b == 255)
                g = b = 254; // a rim pixel must never turn transparent
            if (r == 255 && g == 255 && b == 255) ++pureWhite;
            image.setPixel(x, y, qRgb(r, g, b));
        }
    }
    if (pureWhite != expectedWhiteCorners)
        throw std::runtime_error("glyph has " + std::to_string(pureWhite) +
                                 " pure white corner pixels instead of 33");
    return image;
}

} // namespace

QImage drawExpandGlyph() {
    return drawGlyph(false);
}
QImage drawCollapseGlyph() {
    return drawGlyph(true);
}
