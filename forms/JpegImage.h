#pragma once
// A JPEG picture held as its compressed stream and decoded with libjpeg on
// first use, at full scale, into an image that every later use shares.

#include <QByteArray>
#include <QImage>

class JpegImage {
public:
    explicit JpegImage(QByteArray stream) : stream_(std::move(stream)) {}

    // True for a stream that starts with the JPEG start-of-image marker.
    static bool IsJpeg(const QByteArray& stream);

    // The decoded picture: 24-bit RGB, or at most 236 colours for a display of
    // 8 bits per pixel or fewer. The first call decodes; a stream that cannot be
    // decoded raises EInvalidGraphic once, and later calls return a null image
    // without trying again.
    const QImage& Bitmap(int displayDepth);

    // How many times the stream was decoded (at most once).
    int Decodes() const { return decodes_; }
    const QByteArray& Stream() const { return stream_; }

    // Decodes a stream; raises EInvalidGraphic with libjpeg's own words when the
    // stream is corrupt or of a kind it cannot read.
    static QImage Decode(const QByteArray& stream, int displayDepth);

private:
    QByteArray stream_;
    QImage bitmap_;
    int decodes_ = 0;
};
