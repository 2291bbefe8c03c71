// The program icon: a glossy grey globe, a green play disc with a radiation
// badge, and an S-shaped double arrow, on a transparent ground.
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <cmath>

namespace {

constexpr QPointF globeCentre(78, 78);
constexpr double globeRadius = 47;
constexpr QPointF discCentre(36, 35);
constexpr double discRadius = 29;
constexpr QPointF badgeCentre(58, 57);
constexpr double badgeRadius = 13;

QRectF circle(QPointF centre, double radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

// A closed smooth blob through the given points (Catmull-Rom as cubic Béziers).
QPainterPath blob(const std::vector<QPointF>& pts) {
    QPainterPath path(pts[0]);
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF p0 = pts[(i + n - 1) % n], p1 = pts[i], p2 = pts[(i + 1) % n],
                      p3 = pts[(i + 2) % n];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    path.closeSubpath();
    return path;
}

// An upper glossy reflection: an ellipse fading from white to nothing.
void drawGloss(QPainter& p, const QRectF& rect, int topAlpha, int bottomAlpha) {
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, QColor(255, 255, 255, topAlpha));
    g.setColorAt(1, QColor(255, 255, 255, bottomAlpha));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(rect);
}

void drawGlobe(QPainter& p) {
    const QRectF body = circle(globeCentre, globeRadius);

    // Soft shadow under the globe.
    QRadialGradient shadow(globeCentre + QPointF(2, 3), globeRadius + 3);
    shadow.setColorAt(0.90, QColor(0, 0, 0, 70));
    shadow.setColorAt(1.00, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(circle(globeCentre + QPointF(2, 3), globeRadius + 3));

    QRadialGradient sea(globeCentre + QPointF(-16, -18), globeRadius * 1.45,
                        globeCentre + QPointF(-20, -22));
    sea.setColorAt(0.0, QColor(0xEE, 0xEE, 0xEE));
    sea.setColorAt(0.45, QColor(0xBB, 0xBD, 0xC0));
    sea.setColorAt(0.85, QColor(0x86, 0x88, 0x8C));
    sea.setColorAt(1.0, QColor(0x6A, 0x6C, 0x70));
    p.setBrush(sea);
    p.drawEllipse(body);

    // Paler continents, clipped to the sphere.
    p.save();
    QPainterPath sphere;
    sphere.addEllipse(body);
    p.setClipPath(sphere);
    QRadialGradient land(globeCentre + QPointF(-14, -16), globeRadius * 1.4);
    land.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    land.setColorAt(0.6, QColor(0xE2, 0xE3, 0xE5));
    land.setColorAt(1.0, QColor(0xB4, 0xB6, 0xBA));
    p.setBrush(land);
    p.setPen(QPen(QColor(0x7A, 0x7C, 0x80, 160), 1.0));
    const std::vector<std::vector<QPointF>> continents = {
        // the Americas, running down the left of the globe
        {{42, 48},
         {56, 40},
         {68, 44},
         {66, 56},
         {58, 62},
         {60, 70},
         {54, 76},
         {62, 86},
         {66, 98},
         {60, 112},
         {54, 118},
         {50, 104},
         {46, 88},
         {40, 74},
         {36, 60}},
        // Europe and Africa towards the right
        {{86, 38},
         {98, 34},
         {108, 42},
         {104, 50},
         {96, 54},
         {100, 60},
         {112, 64},
         {116, 76},
         {110, 92},
         {100, 104},
         {92, 100},
         {90, 86},
         {84, 76},
         {82, 64},
         {86, 52}},
        // a small island at the lower right
        {{104, 110}, {112, 106}, {116, 112}, {110, 118}},
    };
    for (const auto& c : continents)
        p.drawPath(blob(c));
    p.restore();

    // Rim and gloss.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x5A, 0x5C, 0x60), 1.4));
    p.drawEllipse(body.adjusted(0.7, 0.7, -0.7, -0.7));
    drawGloss(p, QRectF(globeCentre.x() - 33, globeCentre.y() - 45, 66, 40), 220, 0);
}

void drawPlayDisc(QPainter& p) {
    // Grey metallic rim.
    QLinearGradient rim(circle(discCentre, discRadius).topLeft(),
                        circle(discCentre, discRadius).bottomRight());
    rim.setColorAt(0, QColor(0xF2, 0xF2, 0xF2));
    rim.setColorAt(0.5, QColor(0xA8, 0xA8, 0xA8));
    rim.setColorAt(1, QColor(0x5C, 0x5C, 0x5C));
    p.setPen(QPen(QColor(0x48, 0x48, 0x48), 1.2));
    p.setBrush(rim);
    p.drawEllipse(circle(discCentre, discRadius));

    const double inner = discRadius - 4.5;
    QRadialGradient green(discCentre + QPointF(-4, 6), inner * 1.25, discCentre + QPointF(-2, 10));
    green.setColorAt(0.0, QColor(0x9C, 0xF5, 0x6A));
    green.setColorAt(0.45, QColor(0x3C, 0xC0, 0x2A));
    green.setColorAt(1.0, QColor(0x0B, 0x62, 0x10));
    p.setPen(QPen(QColor(0x3A, 0x3A, 0x3A), 1.0));
    p.setBrush(green);
    p.drawEllipse(circle(discCentre, inner));

    // White play triangle with a soft shadow.
    const QPointF c = discCentre + QPointF(2.5, 0);
    QPolygonF play{c + QPointF(-8, -12), c + QPointF(-8, 12), c + QPointF(12, 0)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 0, 90));
    p.drawPolygon(play.translated(1.2, 1.6));
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(play);

    drawGloss(p, QRectF(discCentre.x() - 18, discCentre.y() - inner + 1, 36, 22), 210, 25);
}

void drawRadiationBadge(QPainter& p) {
    QRadialGradient body(badgeCentre + QPointF(-3, -4), badgeRadius * 1.3);
    body.setColorAt(0, QColor(0x40, 0x40, 0x40));
    body.setColorAt(0.6, QColor(0x10, 0x10, 0x10));
    body.setColorAt(1, QColor(0, 0, 0));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.0));
    p.setBrush(body);
    p.drawEllipse(circle(badgeCentre, badgeRadius));

    // Trefoil: three 60-degree blades with a round hub.
    const QColor bright(0x3C, 0xFF, 0x2E);
    const double hub = 1.9, bladeIn = 3.0, bladeOut = 10.3;
    QPainterPath blades;
    for (double mid : {90.0, 210.0, 330.0}) { // blade directions, counter-clockwise
        QPainterPath blade;
        blade.arcMoveTo(circle(badgeCentre, bladeOut), mid - 30);
        blade.arcTo(circle(badgeCentre, bladeOut), mid - 30, 60);
        blade.arcTo(circle(badgeCentre, bladeIn), mid + 30, -60);
        blade.closeSubpath();
        blades.addPath(blade);
    }
    blades.addEllipse(circle(badgeCentre, hub));
    p.setPen(Qt::NoPen);
    p.setBrush(bright);
    p.drawPath(blades);
    drawGloss(p, QRectF(badgeCentre.x() - 8, badgeCentre.y() - 12, 16, 9), 120, 0);
}

// One half of the S: a thick curved stroke with an arrowhead at its far end.
QPainterPath arrowHalf(const QTransform& place, double startAngle, double sweep, QPointF centre,
                       double radius) {
    QPainterPath spine;
    const QRectF arc = circle(centre, radius);
    spine.arcMoveTo(arc, startAngle);
    spine.arcTo(arc, startAngle, sweep);
    spine = place.map(spine);

    QPainterPathStroker stroker;
    stroker.setWidth(9);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath shape = stroker.createStroke(spine);

    // Direction of travel at the end, taken from the last stretch of the spine.
    const QPointF tip = spine.pointAtPercent(1.0);
    const QPointF step = tip - spine.pointAtPercent(0.97);
    const QPointF dir = step / std::hypot(step.x(), step.y()), normal(-dir.y(), dir.x());
    QPainterPath head;
    head.moveTo(tip + dir * 13);
    head.lineTo(tip + normal * 8.5 - dir * 1);
    head.lineTo(tip - normal * 8.5 - dir * 1);
    head.closeSubpath();
    // Overlap the stroke a little so head and stroke fuse into one outline.
    return shape.united(head).simplified();
}

void drawDoubleArrow(QPainter& p) {
    // An upright S of two bowls, tilted so its ends point up-right and down-left.
    QTransform place;
    place.translate(29, 95);
    place.rotate(-25);
    const double r = 13;
    const QPainterPath upper = arrowHalf(place, -90, -165, QPointF(0, -r), r);
    const QPainterPath lower = arrowHalf(place, 90, -165, QPointF(0, r), r);

    auto paintHalf = [&](const QPainterPath& shape, QColor light, QColor mid, QColor dark,
                         QColor outline) {
        const QRectF box = shape.boundingRect();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawPath(shape.translated(1.5, 2));
        QLinearGradient g(box.topLeft(), box.bottomRight());
        g.setColorAt(0, light);
        g.setColorAt(0.5, mid);
        g.setColorAt(1, dark);
        p.setPen(QPen(outline, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPath(shape);
    };
    paintHalf(lower, QColor(0xFF, 0xF1, 0x7A), QColor(0xFF, 0xC0, 0x20), QColor(0xE8, 0x78, 0x00),
              QColor(0x8A, 0x48, 0x00));
    paintHalf(upper, QColor(0x9C, 0xD8, 0xFF), QColor(0x2E, 0x8C, 0xF0), QColor(0x0A, 0x40, 0xA8),
              QColor(0x06, 0x26, 0x70));
}

} // namespace

QImage drawMainIcon() {
    QImage icon(128, 128, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    drawGlobe(p);
    drawDoubleArrow(p);
    drawPlayDisc(p);
    drawRadiationBadge(p);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}
