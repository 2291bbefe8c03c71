#pragma once
// Reader for uncompressed animation clips: RIFF AVI files with one video
// stream of 24-bit BI_RGB frames (DIB rows, bottom-up or top-down). It checks
// every size field against the data it has and throws std::runtime_error with
// a short reason for anything malformed, truncated or unsupported.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

class AviClip {
public:
    // Reads the file through QFile, so Qt resource paths (":/...") work too.
    static AviClip load(const QString& path);
    static AviClip fromData(const QByteArray& data);

    // Frames in play order, each QImage::Format_RGB32 of frameSize().
    const std::vector<QImage>& frames() const { return m_frames; }
    int frameCount() const { return int(m_frames.size()); }
    QSize frameSize() const { return m_size; }
    std::uint32_t microsecondsPerFrame() const { return m_microsecondsPerFrame; }

private:
    AviClip() = default;

    std::vector<QImage> m_frames;
    QSize m_size;
    std::uint32_t m_microsecondsPerFrame = 0;
};
