#include "forms/Glyph.h"

#include "forms/Exceptions.h"

QImage LoadPicture(const QString& path) {
    QImage image(path);
    if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot load picture %1").arg(path));
    return image;
}

QImage TransparentByBottomLeft(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull()) return out;
    const QRgb key = out.pixel(0, out.height() - 1);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (row[x] == key) row[x] = 0;
    }
    return out;
}
