#include "Writers.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

#include <cstring>
#include <stdexcept>

namespace {

void putLe16(QByteArray& out, quint16 v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void putLe32(QByteArray& out, quint32 v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}

void setLe32(QByteArray& out, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xFF);
}

int dibRowBytes(int width) {
    return (width * 3 + 3) & ~3;
}

// Pixel rows of a bottom-up 24-bit DIB: blue, green, red, padded to 4 bytes.
QByteArray dibPixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = dibRowBytes(rgb.width());
    QByteArray out;
    out.reserve(qsizetype(rowBytes) * rgb.height());
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        for (int pad = rgb.width() * 3; pad < rowBytes; ++pad)
            out.append('\0');
    }
    return out;
}

void putBitmapInfoHeader(QByteArray& out, const QImage& image) {
    putLe32(out, 40); // biSize
    putLe32(out, quint32(image.width()));
    putLe32(out, quint32(image.height())); // positive: rows stored bottom-up
    putLe16(out, 1);                       // planes
    putLe16(out, 24);                      // bits per pixel
    putLe32(out, 0);                       // BI_RGB
    putLe32(out, quint32(dibRowBytes(image.width()) * image.height()));
    putLe32(out, 3780); // 96 dpi in pixels per metre
    putLe32(out, 3780);
    putLe32(out, 0); // colours used
    putLe32(out, 0); // important colours
}

} // namespace

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray encodeBmp24(const QImage& image) {
    const QByteArray pixels = dibPixels(image);
    QByteArray out;
    out.append("BM");
    putLe32(out, quint32(14 + 40 + pixels.size()));
    putLe32(out, 0);       // reserved
    putLe32(out, 14 + 40); // offset of the pixel rows
    putBitmapInfoHeader(out, image);
    out.append(pixels);
    return out;
}

QByteArray encodePngRgba(const QImage& image) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG"))
        throw std::runtime_error("PNG encoding failed");
    return out;
}

QByteArray encodeProgressiveJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray ppm = QByteArray("P6\n") + QByteArray::number(rgb.width()) + ' ' +
                     QByteArray::number(rgb.height()) + "\n255\n";
    for (int y = 0; y < rgb.height(); ++y)
        ppm.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);

    QProcess cjpeg;
    cjpeg.start(QStringLiteral("cjpeg"), {QStringLiteral("-progressive"), QStringLiteral("-sample"),
                                          QStringLiteral("1x1,1x1,1x1"), QStringLiteral("-quality"),
                                          QString::number(quality)});
    if (!cjpeg.waitForStarted())
        throw std::runtime_error("cannot start cjpeg (Debian package libjpeg-turbo-progs)");
    cjpeg.write(ppm);
    cjpeg.closeWriteChannel();
    if (!cjpeg.waitForFinished() || cjpeg.exitStatus() != QProcess::NormalExit ||
        cjpeg.exitCode() != 0)
        throw std::runtime_error("cjpeg failed: " + cjpeg.readAllStandardError().toStdString());
    QByteArray jpeg = cjpeg.readAllStandardOutput();

    // cjpeg writes a JFIF APP0 segment right after SOI with an aspect-ratio-only
    // density; set it to 96 x 96 dots per inch, the picture's design resolution.
    if (jpeg.size() < 18 || !jpeg.startsWith("\xFF\xD8\xFF\xE0") ||
        std::memcmp(jpeg.constData() + 6, "JFIF", 5) != 0)
        throw std::runtime_error("cjpeg output has no JFIF header");
    jpeg[13] = 1; // units: dots per inch
    jpeg[14] = 0;
    jpeg[15] = 96;
    jpeg[16] = 0;
    jpeg[17] = 96;
    return jpeg;
}

QByteArray encodeAvi(const std::vector<QImage>& frames, quint32 microsecondsPerFrame) {
    if (frames.empty()) throw std::runtime_error("an AVI needs at least one frame");
    const QImage& first = frames.front();
    const quint32 frameBytes = quint32(dibRowBytes(first.width()) * first.height());
    const quint32 frameCount = quint32(frames.size());
    const quint32 rate = 1000000 / microsecondsPerFrame; // whole frames per second

    QByteArray out;
    out.append("RIFF");
    putLe32(out, 0); // patched at the end
    out.append("AVI ");

    out.append("LIST");
    putLe32(out, 4 + (8 + 56) + 8 + 4 + (8 + 56) + (8 + 40));
    out.append("hdrl");
    out.append("avih");
    putLe32(out, 56);
    putLe32(out, microsecondsPerFrame);
    putLe32(out, frameBytes * rate); // max bytes per second
    putLe32(out, 0);                 // padding granularity
    putLe32(out, 0x10);              // AVIF_HASINDEX
    putLe32(out, frameCount);
    putLe32(out, 0); // initial frames
    putLe32(out, 1); // streams
    putLe32(out, frameBytes);
    putLe32(out, quint32(first.width()));
    putLe32(out, quint32(first.height()));
    for (int i = 0; i < 4; ++i)
        putLe32(out, 0);

    out.append("LIST");
    putLe32(out, 4 + (8 + 56) + (8 + 40));
    out.append("strl");
    out.append("strh");
    putLe32(out, 56);
    out.append("vids");
    out.append("DIB ");
    putLe32(out, 0); // flags
    putLe16(out, 0); // priority
    putLe16(out, 0); // language
    putLe32(out, 0); // initial frames
    putLe32(out, 1); // scale
    putLe32(out, rate);
    putLe32(out, 0); // start
    putLe32(out, frameCount);
    putLe32(out, frameBytes);
    putLe32(out, 0xFFFFFFFF); // default quality
    putLe32(out, 0);          // sample size: one chunk per frame
    putLe16(out, 0);          // frame rectangle
    putLe16(out, 0);
    putLe16(out, quint16(first.width()));
    putLe16(out, quint16(first.height()));
    out.append("strf");
    putLe32(out, 40);
    putBitmapInfoHeader(out, first);

    out.append("LIST");
    putLe32(out, 4 + frameCount * (8 + frameBytes));
    const qsizetype moviStart = out.size();
    out.append("movi");
    QByteArray index;
    for (const QImage& frame : frames) {
        if (frame.size() != first.size()) throw std::runtime_error("AVI frames differ in size");
        index.append("00db");
        putLe32(index, 0x10); // key frame
        putLe32(index, quint32(out.size() - moviStart));
        putLe32(index, frameBytes);
        out.append("00db");
        putLe32(out, frameBytes);
        out.append(dibPixels(frame));
    }
    out.append("idx1");
    putLe32(out, quint32(index.size()));
    out.append(index);

    setLe32(out, 4, quint32(out.size() - 8));
    return out;
}
