// The info picture: a placeholder for a photograph, the grey word "Фото"
// rising diagonally from the lower left to the upper right on white.
#include "Pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <numbers>

QImage drawPhoto() {
    QImage image(90, 110, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QString word = QStringLiteral("Фото");
    const QFontMetricsF metrics(font);
    const QRectF box = metrics.tightBoundingRect(word);

    // Along the picture's diagonal, centred.
    const double angle = -std::atan2(110.0, 90.0) * 180.0 / std::numbers::pi;
    p.translate(45, 55);
    p.rotate(angle);
    p.setFont(font);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawText(QPointF(-box.center().x(), -box.center().y()), word);
    p.end();
    return image;
}
