#include "forms/AviClip.h"

#include <QFile>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// Clips are a few kilobytes; refuse to read anything absurdly large.
constexpr qint64 maxFileBytes = 64 * 1024 * 1024;
constexpr int maxFrameSide = 4096;

[[noreturn]] void fail(const char* reason) {
    throw std::runtime_error(std::string("AVI: ") + reason);
}

constexpr std::uint32_t fourcc(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
           std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
}

// Little-endian reads from a byte span whose bounds the caller has checked.
struct Bytes {
    const unsigned char* data;
    std::size_t size;

    std::uint16_t u16(std::size_t at) const { return std::uint16_t(data[at] | data[at + 1] << 8); }
    std::uint32_t u32(std::size_t at) const {
        return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 |
               std::uint32_t(data[at + 2]) << 16 | std::uint32_t(data[at + 3]) << 24;
    }
    std::int32_t i32(std::size_t at) const { return std::int32_t(u32(at)); }
};

struct Chunk {
    std::uint32_t id;
    std::size_t offset; // of the chunk's data
    std::size_t size;
};

// Calls visit(chunk) for each chunk in [begin, end). A chunk whose size runs
// past the end is an error; a pad byte after an odd size may be missing at
// the very end, and fewer than 8 trailing bytes are ignored.
template <typename Visit>
void forEachChunk(const Bytes& bytes, std::size_t begin, std::size_t end, Visit visit) {
    std::size_t pos = begin;
    while (end - pos >= 8) {
        const Chunk chunk{bytes.u32(pos), pos + 8, bytes.u32(pos + 4)};
        if (chunk.size > end - chunk.offset) fail("chunk runs past its end");
        visit(chunk);
        const std::size_t step = 8 + chunk.size + (chunk.size & 1);
        pos = step >= end - pos ? end : pos + step;
    }
}

// The list type of a LIST chunk, or 0 for other chunks.
std::uint32_t listType(const Bytes& bytes, const Chunk& chunk) {
    if (chunk.id != fourcc("LIST")) return 0;
    if (chunk.size < 4) fail("LIST chunk too short");
    return bytes.u32(chunk.offset);
}

struct Headers {
    bool haveMain = false, haveStreamHeader = false, haveFormat = false;
    std::uint32_t microsecondsPerFrame = 0;
    std::uint32_t streamType = 0, scale = 0, rate = 0;
    std::int32_t width = 0, height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
};

// The first stream's header and format; later streams are not ours.
void readStreamList(const Bytes& bytes, const Chunk& list, Headers& h) {
    forEachChunk(bytes, list.offset + 4, list.offset + list.size, [&](const Chunk& c) {
        if (c.id == fourcc("strh")) {
            if (c.size < 48) fail("stream header too short");
            h.haveStreamHeader = true;
            h.streamType = bytes.u32(c.offset);
            h.scale = bytes.u32(c.offset + 20);
            h.rate = bytes.u32(c.offset + 24);
        } else if (c.id == fourcc("strf")) {
            if (c.size < 40 || bytes.u32(c.offset) < 40 || bytes.u32(c.offset) > c.size)
                fail("stream format too short");
            h.haveFormat = true;
            h.width = bytes.i32(c.offset + 4);
            h.height = bytes.i32(c.offset + 8);
            h.bitCount = bytes.u16(c.offset + 14);
            h.compression = bytes.u32(c.offset + 16);
        }
    });
}

void readHeaderList(const Bytes& bytes, const Chunk& list, Headers& h) {
    bool streamSeen = false;
    forEachChunk(bytes, list.offset + 4, list.offset + list.size, [&](const Chunk& c) {
        if (c.id == fourcc("avih")) {
            if (c.size < 56) fail("main header too short");
            h.haveMain = true;
            h.microsecondsPerFrame = bytes.u32(c.offset);
        } else if (listType(bytes, c) == fourcc("strl") && !streamSeen) {
            streamSeen = true;
            readStreamList(bytes, c, h);
        }
    });
}

} // namespace

AviClip AviClip::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail("cannot open the file");
    if (file.size() > maxFileBytes) fail("file too large");
    // Read in pieces: asking QIODevice for the whole limit at once reserves
    // that much memory for a clip of a few kilobytes.
    QByteArray data;
    while (data.size() <= maxFileBytes) {
        const QByteArray piece = file.read(64 * 1024);
        if (piece.isEmpty()) break;
        data += piece;
    }
    if (file.error() != QFileDevice::NoError) fail("cannot read the file");
    if (data.size() > maxFileBytes) fail("file too large");
    return fromData(data);
}

AviClip AviClip::fromData(const QByteArray& data) {
    const Bytes bytes{reinterpret_cast<const unsigned char*>(data.constData()),
                      std::size_t(data.size())};
    if (bytes.size < 12) fail("file too short");
    if (bytes.u32(0) != fourcc("RIFF") || bytes.u32(8) != fourcc("AVI ")) fail("not an AVI file");
    const std::size_t riffSize = bytes.u32(4);
    if (riffSize < 4 || riffSize > bytes.size - 8) fail("file truncated");

    Headers h;
    bool haveHeaders = false;
    Chunk movi{0, 0, 0};
    forEachChunk(bytes, 12, 8 + riffSize, [&](const Chunk& c) {
        const std::uint32_t type = listType(bytes, c);
        if (type == fourcc("hdrl") && !haveHeaders) {
            haveHeaders = true;
            readHeaderList(bytes, c, h);
        } else if (type == fourcc("movi") && movi.id == 0) {
            movi = c;
        }
    });

    if (!h.haveMain) fail("no main header");
    if (!h.haveStreamHeader || !h.haveFormat) fail("no stream header");
    if (h.streamType != fourcc("vids")) fail("first stream is not video");
    if (h.compression != 0 || h.bitCount != 24)
        fail("unsupported frame format (only uncompressed 24-bit)");
    if (h.width <= 0 || h.width > maxFrameSide || h.height == 0 || h.height < -maxFrameSide ||
        h.height > maxFrameSide)
        fail("bad frame size");
    if (movi.id == 0) fail("no movie data");

    AviClip clip;
    clip.m_size = QSize(h.width, std::abs(h.height));
    clip.m_microsecondsPerFrame = h.microsecondsPerFrame;
    if (clip.m_microsecondsPerFrame == 0 && h.scale != 0 && h.rate != 0) {
        const std::uint64_t us = std::uint64_t(h.scale) * 1000000u / h.rate;
        clip.m_microsecondsPerFrame = us > 0xFFFFFFFFu ? 0xFFFFFFFFu : std::uint32_t(us);
    }
    if (clip.m_microsecondsPerFrame == 0) fail("no frame rate");

    const int width = clip.m_size.width(), height = clip.m_size.height();
    const std::size_t rowBytes = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    const std::size_t frameBytes = rowBytes * std::size_t(height);
    const bool bottomUp = h.height > 0;

    auto readFrame = [&](const Chunk& c) {
        if (c.size == 0) { // an empty chunk repeats the previous frame
            if (clip.m_frames.empty()) fail("first frame is empty");
            clip.m_frames.push_back(clip.m_frames.back());
            return;
        }
        if (c.size != frameBytes) fail("frame data has the wrong size");
        QImage frame(width, height, QImage::Format_RGB32);
        if (frame.isNull()) fail("out of memory");
        for (int y = 0; y < height; ++y) {
            const std::size_t row = std::size_t(bottomUp ? height - 1 - y : y);
            const unsigned char* src = bytes.data + c.offset + row * rowBytes;
            auto* dst = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = 0; x < width; ++x, src += 3)
                dst[x] = qRgb(src[2], src[1], src[0]);
        }
        clip.m_frames.push_back(std::move(frame));
    };
    auto isFrame = [](std::uint32_t id) { return id == fourcc("00db") || id == fourcc("00dc"); };

    forEachChunk(bytes, movi.offset + 4, movi.offset + movi.size, [&](const Chunk& c) {
        if (isFrame(c.id)) {
            readFrame(c);
        } else if (listType(bytes, c) == fourcc("rec ")) {
            forEachChunk(bytes, c.offset + 4, c.offset + c.size, [&](const Chunk& inner) {
                if (isFrame(inner.id)) readFrame(inner);
            });
        }
    });
    if (clip.m_frames.empty()) fail("no frames");
    return clip;
}
