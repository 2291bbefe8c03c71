#pragma once
// File formats the generator writes. Every writer throws std::runtime_error
// when the file cannot be written.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

void writeFile(const QString& path, const QByteArray& bytes);

// 24-bit BI_RGB BMP with bottom-up rows, each padded to 4 bytes.
QByteArray encodeBmp24(const QImage& image);

// PNG with alpha channel (8 bits per sample, RGBA).
QByteArray encodePngRgba(const QImage& image);

// Progressive JPEG without chroma subsampling and JFIF density 96 x 96 dpi,
// made by Debian's cjpeg from a PPM of the image.
QByteArray encodeProgressiveJpeg(const QImage& image, int quality);

// A minimal uncompressed RIFF AVI: one video stream of 24-bit DIB frames.
QByteArray encodeAvi(const std::vector<QImage>& frames, quint32 microsecondsPerFrame);
