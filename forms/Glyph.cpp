#include "forms/Glyph.h"

#include "forms/Exceptions.h"

#include <QFileInfo>
#include <QImageReader>

namespace {
// The format is taken from the name alone: letting Qt sniff the content loads
// every image plugin, and they stay in memory for the program's life.
void nameTheFormat(QImageReader& reader, const QString& path) {
    reader.setFileName(path);
    reader.setFormat(QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
}
} // namespace

QImage ReadPicture(const QString& path) {
    QImageReader reader;
    nameTheFormat(reader, path);
    return reader.read();
}

bool PictureReadable(const QString& path) {
    QImageReader reader;
    nameTheFormat(reader, path);
    return reader.canRead();
}

QImage LoadPicture(const QString& path) {
    QImage image = ReadPicture(path);
    if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot load picture %1").arg(path));
    return image;
}

QImage TransparentColour(const QImage& picture, QRgb key) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    key |= 0xFF000000u; // the pictures are opaque: compare the colour alone
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (row[x] == key) row[x] = 0;
    }
    return out;
}

QImage TransparentByBottomLeft(const QImage& picture) {
    if (picture.isNull()) return picture;
    return TransparentColour(picture, picture.pixel(0, picture.height() - 1));
}
