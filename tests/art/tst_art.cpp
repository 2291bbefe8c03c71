// Checks the committed pictures and the search-animation clip byte by byte:
// formats, sizes, transparent-colour pixels, and that the clip reader accepts
// the clip and rejects every damaged copy of it without crashing.
#include "forms/AviClip.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

QString sourcePath(const QString& relative) {
    return qEnvironmentVariable("LUNOHRAI_TEST_SOURCE") + QLatin1Char('/') + relative;
}

QByteArray readSource(const QString& relative) {
    QFile file(sourcePath(relative));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

quint32 le32(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}
quint16 le16(const QByteArray& b, qsizetype at) {
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}
quint16 be16(const QByteArray& b, qsizetype at) {
    return quint16(quint8(b[at]) << 8 | quint8(b[at + 1]));
}
quint32 be32(const QByteArray& b, qsizetype at) {
    return quint32(be16(b, at)) << 16 | be16(b, at + 2);
}
void setLe32(QByteArray& b, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A 24-bit BMP read from its bytes, pixels top row first.
struct Bmp {
    int width = 0, height = 0;
    std::vector<QRgb> pixels;
    QRgb at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Checks the header facts shared by all our BMPs and decodes the rows.
void readBmp24(const QString& relative, Bmp& bmp) {
    const QByteArray b = readSource(relative);
    QVERIFY2(b.size() > 54, qPrintable(relative));
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(le32(b, 2), quint32(b.size()));
    QCOMPARE(le32(b, 14), 40u); // BITMAPINFOHEADER
    const qint32 width = qint32(le32(b, 18)), height = qint32(le32(b, 22));
    QVERIFY2(height > 0, "rows must be stored bottom-up");
    QCOMPARE(le16(b, 26), quint16(1));  // planes
    QCOMPARE(le16(b, 28), quint16(24)); // bits per pixel
    QCOMPARE(le32(b, 30), 0u);          // BI_RGB
    const quint32 offset = le32(b, 10);
    const qsizetype rowBytes = (width * 3 + 3) & ~3;
    QVERIFY(offset >= 54);
    QCOMPARE(b.size() - qsizetype(offset), rowBytes * height);
    bmp.width = width;
    bmp.height = height;
    bmp.pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const qsizetype row = offset + (height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const qsizetype p = row + x * 3;
            bmp.pixels[size_t(y) * size_t(width) + size_t(x)] =
                qRgb(quint8(b[p + 2]), quint8(b[p + 1]), quint8(b[p]));
        }
    }
}

constexpr QRgb pureWhite = 0xFFFFFFFF;

// Pure-white pixels reachable from the four corners through pure white.
int whiteCornerPixels(const Bmp& bmp) {
    std::vector<bool> seen(bmp.pixels.size(), false);
    std::vector<QPoint> todo{
        {0, 0}, {bmp.width - 1, 0}, {0, bmp.height - 1}, {bmp.width - 1, bmp.height - 1}};
    int count = 0;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= bmp.width || p.y() >= bmp.height) continue;
        const size_t i = size_t(p.y()) * size_t(bmp.width) + size_t(p.x());
        if (seen[i] || bmp.pixels[i] != pureWhite) continue;
        seen[i] = true;
        ++count;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return count;
}

} // namespace

class TestArt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("LUNOHRAI_TEST_SOURCE"),
                 "LUNOHRAI_TEST_SOURCE must name the repository root");
    }

    void bmpHeaders_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("expand") << "art/expand.bmp" << 17 << 18;
        QTest::newRow("collapse") << "art/collapse.bmp" << 17 << 18;
        QTest::newRow("shield") << "art/shield.bmp" << 37 << 46;
        QTest::newRow("clipboard") << "art/clipboard.bmp" << 128 << 128;
        QTest::newRow("power") << "art/power.bmp" << 26 << 26;
    }
    void bmpHeaders() {
        QFETCH(QString, file);
        QFETCH(int, width);
        QFETCH(int, height);
        Bmp bmp;
        readBmp24(file, bmp);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(bmp.width, width);
        QCOMPARE(bmp.height, height);
    }

    // Pure white only in the 33 corner pixels outside the ball, the rim kept
    // off pure white, and saturated red in the lower half.
    void glyphWhiteCorners_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("expand") << "art/expand.bmp";
        QTest::newRow("collapse") << "art/collapse.bmp";
    }
    void glyphWhiteCorners() {
        QFETCH(QString, file);
        Bmp bmp;
        readBmp24(file, bmp);
        if (QTest::currentTestFailed()) return;
        const auto whites = std::count(bmp.pixels.begin(), bmp.pixels.end(), pureWhite);
        QCOMPARE(whites, 33);
        QCOMPARE(whiteCornerPixels(bmp), 33);
        QCOMPARE(bmp.at(0, bmp.height - 1), pureWhite);
        bool red = false;
        for (int y = bmp.height / 2; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x)
                red = red || bmp.at(x, y) == qRgb(0xFF, 0x40, 0x40);
        QVERIFY2(red, "no saturated red FF4040 in the lower half");
    }

    void glyphsDifferOnlyInChevronRows() {
        Bmp expand, collapse;
        readBmp24("art/expand.bmp", expand);
        readBmp24("art/collapse.bmp", collapse);
        if (QTest::currentTestFailed()) return;
        bool chevronsDiffer = false;
        for (int y = 0; y < expand.height; ++y) {
            for (int x = 0; x < expand.width; ++x) {
                if (y >= 4 && y <= 14)
                    chevronsDiffer = chevronsDiffer || expand.at(x, y) != collapse.at(x, y);
                else
                    QVERIFY2(expand.at(x, y) == collapse.at(x, y),
                             qPrintable(QStringLiteral("differ at %1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(chevronsDiffer);
    }

    void menuPicturesTransparentColour() {
        for (const char* file : {"art/shield.bmp", "art/clipboard.bmp"}) {
            Bmp bmp;
            readBmp24(file, bmp);
            if (QTest::currentTestFailed()) return;
            QCOMPARE(bmp.at(0, bmp.height - 1), pureWhite);
        }

        // The power button's transparent colour is a dark blue that only the
        // bottom-left pixel has.
        Bmp power;
        readBmp24("art/power.bmp", power);
        if (QTest::currentTestFailed()) return;
        const QRgb corner = power.at(0, power.height - 1);
        QVERIFY2(qBlue(corner) > qRed(corner) && qBlue(corner) > qGreen(corner) &&
                     qBlue(corner) < 0xA0 && qRed(corner) < 0x40 && qGreen(corner) < 0x40,
                 "bottom-left pixel is not dark blue");
        QCOMPARE(std::count(power.pixels.begin(), power.pixels.end(), corner), 1);
    }

    void programIcon() {
        const QByteArray b = readSource("art/MAINICON.png");
        QVERIFY(b.size() > 33);
        QCOMPARE(b.left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        QCOMPARE(b.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(be32(b, 16), 128u);
        QCOMPARE(be32(b, 20), 128u);
        QCOMPARE(int(quint8(b[24])), 8); // bits per sample
        QCOMPARE(int(quint8(b[25])), 6); // RGBA

        QImage icon;
        QVERIFY(icon.loadFromData(b, "PNG"));
        QVERIFY(icon.hasAlphaChannel());
        for (QPoint p : {QPoint(0, 0), QPoint(127, 0), QPoint(0, 127), QPoint(127, 127)})
            QCOMPARE(qAlpha(icon.pixel(p)), 0);
        QCOMPARE(qAlpha(icon.pixel(64, 64)), 255);
    }

    void infoPicture() {
        const QByteArray b = readSource("art/photo.jpg");
        QVERIFY(b.size() > 20);
        QCOMPARE(be16(b, 0), quint16(0xFFD8)); // SOI
        bool jfif = false, progressive = false;
        qsizetype pos = 2;
        while (pos + 4 <= b.size()) {
            QCOMPARE(quint8(b[pos]), quint8(0xFF));
            const quint8 marker = quint8(b[pos + 1]);
            const qsizetype length = be16(b, pos + 2);
            QVERIFY(length >= 2 && pos + 2 + length <= b.size());
            const qsizetype seg = pos + 4; // segment data after the length
            if (marker == 0xE0 && b.mid(seg, 5) == QByteArray("JFIF\0", 5)) {
                jfif = true;
                QCOMPARE(int(quint8(b[seg + 7])), 1); // density in dots per inch
                QCOMPARE(be16(b, seg + 8), quint16(96));
                QCOMPARE(be16(b, seg + 10), quint16(96));
            }
            QVERIFY2(marker != 0xC0 && marker != 0xC1, "baseline frame instead of progressive");
            if (marker == 0xC2) {
                progressive = true;
                QCOMPARE(int(quint8(b[seg])), 8);         // sample precision
                QCOMPARE(be16(b, seg + 1), quint16(110)); // height
                QCOMPARE(be16(b, seg + 3), quint16(90));  // width
                QCOMPARE(int(quint8(b[seg + 5])), 3);     // components
                for (int c = 0; c < 3; ++c)
                    QCOMPARE(int(quint8(b[seg + 6 + 3 * c + 1])), 0x11); // no subsampling
            }
            if (marker == 0xDA) // start of scan: headers are over
                break;
            pos += 2 + length;
        }
        QVERIFY2(jfif, "no JFIF APP0 segment");
        QVERIFY2(progressive, "no SOF2 segment");
    }

    void buttonBarPictures_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"play", "pause", "stop"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void buttonBarPictures() {
        QFETCH(QString, name);
        QImage coloured, greyed;
        QVERIFY(coloured.load(sourcePath("forms/res/mediaplayer/" + name + ".png")));
        QVERIFY(greyed.load(sourcePath("forms/res/mediaplayer/" + name + "-grey.png")));
        for (const QImage& img : {coloured, greyed}) {
            QVERIFY(img.width() <= 21 && img.height() <= 16);
            QVERIFY(img.hasAlphaChannel());
            QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        }
        QVERIFY(coloured != greyed);
    }

    void findFileClipLoads() {
        const AviClip clip = AviClip::load(sourcePath("forms/res/findfile.avi"));
        QCOMPARE(clip.frameCount(), 16);
        QCOMPARE(clip.frameSize(), QSize(16, 16));
        QVERIFY(clip.microsecondsPerFrame() >= 83000 && clip.microsecondsPerFrame() <= 100000);
        const QRgb background = clip.frames().front().pixel(0, 0);
        for (int i = 0; i < clip.frameCount(); ++i) {
            const QImage& frame = clip.frames()[size_t(i)];
            QCOMPARE(frame.size(), QSize(16, 16));
            QCOMPARE(frame.pixel(0, 0), background);
            QVERIFY2(frame != clip.frames()[size_t((i + 1) % 16)], "animation does not move");
        }
    }

    // A clip stored top-down (negative height) reads the same as bottom-up.
    void topDownClipReadsUpright() {
        QByteArray b = readSource("forms/res/findfile.avi");
        const AviClip upright = AviClip::fromData(b);
        const qsizetype strf = b.indexOf("strf");
        const qsizetype moviList = b.indexOf("movi");
        QVERIFY(strf > 0 && moviList > 0);
        setLe32(b, strf + 8 + 8, quint32(-16));
        // Reverse each frame's rows in place.
        for (qsizetype chunk = moviList + 4; b.mid(chunk, 4) == "00db";
             chunk += 8 + le32(b, chunk + 4)) {
            const QByteArray rows = b.mid(chunk + 8, 16 * 48);
            for (int r = 0; r < 16; ++r)
                b.replace(chunk + 8 + r * 48, 48, rows.mid((15 - r) * 48, 48));
        }
        const AviClip flipped = AviClip::fromData(b);
        QCOMPARE(flipped.frameCount(), upright.frameCount());
        for (int i = 0; i < upright.frameCount(); ++i)
            QCOMPARE(flipped.frames()[size_t(i)], upright.frames()[size_t(i)]);
    }

    void corruptClipsThrow_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = readSource("forms/res/findfile.avi");
        QVERIFY(good.size() > 1000);
        const qsizetype strf = good.indexOf("strf"), strh = good.indexOf("strh");
        const qsizetype avih = good.indexOf("avih"), movi = good.indexOf("movi");
        const qsizetype frame0 = good.indexOf("00db");

        for (qsizetype cut :
             {qsizetype(0), qsizetype(4), qsizetype(11), qsizetype(12), qsizetype(40), strf + 20,
              movi, frame0 + 100, good.size() / 2, good.size() - 1})
            QTest::addRow("truncated at %lld", qlonglong(cut)) << good.left(cut);

        auto patched = [&](qsizetype at, quint32 value) {
            QByteArray b = good;
            setLe32(b, at, value);
            return b;
        };
        QTest::newRow("RIFF size huge") << patched(4, 0xFFFFFFF0u);
        QTest::newRow("RIFF size tiny") << patched(4, 2);
        QTest::newRow("hdrl size past end") << patched(16, 0x7FFFFFFFu);
        QTest::newRow("avih size short") << patched(avih + 4, 8);
        QTest::newRow("strh size past list") << patched(strh + 4, 0x10000u);
        QTest::newRow("strf size short") << patched(strf + 4, 12);
        QTest::newRow("biSize past strf") << patched(strf + 8, 400);
        QTest::newRow("width zero") << patched(strf + 12, 0);
        QTest::newRow("width huge") << patched(strf + 12, 0x7FFFFFFFu);
        QTest::newRow("height most negative") << patched(strf + 16, 0x80000000u);
        QTest::newRow("8-bit frames") << patched(strf + 8 + 12, 8u << 16 | 1);
        QTest::newRow("compressed frames") << patched(strf + 8 + 16, 0x47504A4Du);
        QTest::newRow("audio stream") << patched(strh + 8, 0x73647561u /* auds */);
        QTest::newRow("no frame rate") << [&] {
            QByteArray b = patched(avih + 8, 0);
            setLe32(b, strh + 8 + 24, 0);
            return b;
        }();
        QTest::newRow("frame size field +1") << patched(frame0 + 4, 16 * 48 + 1);
        QTest::newRow("frame size field -2") << patched(frame0 + 4, 16 * 48 - 2);
        QTest::newRow("frame size field flipped") << patched(frame0 + 4, ~quint32(16 * 48));
        QTest::newRow("movi renamed") << [&] {
            QByteArray b = good;
            b[movi] = 'x';
            return b;
        }();
        QTest::newRow("frames renamed") << [&] {
            QByteArray b = good;
            for (qsizetype at = b.indexOf("00db"); at >= 0; at = b.indexOf("00db", at + 1))
                b[at + 2] = 'w';
            return b;
        }();
        QTest::newRow("first frame empty") << patched(frame0 + 4, 0);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("zero bytes") << QByteArray(good.size(), '\0');
        QRandomGenerator random(20070);
        for (int n : {7, 64, 4096, int(good.size())}) {
            QByteArray noise(n, '\0');
            for (char& c : noise)
                c = char(random.bounded(256));
            QTest::addRow("random %d bytes", n) << noise;
            QByteArray riff = good.left(12) + noise.mid(12);
            setLe32(riff, 4, quint32(qMax(riff.size(), qsizetype(12)) - 8));
            QTest::addRow("random %d bytes after a RIFF header", n) << riff;
        }
    }
    void corruptClipsThrow() {
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, AviClip::fromData(bytes));
    }

    // Every prefix of the clip is rejected, and any one header byte changed
    // either is rejected or still gives a sane clip; nothing crashes.
    void damagedClipsNeverCrash() {
        const QByteArray good = readSource("forms/res/findfile.avi");
        for (qsizetype cut = 0; cut < good.size(); ++cut)
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, AviClip::fromData(good.left(cut)));
        const qsizetype headerEnd = good.indexOf("00db") + 8;
        for (qsizetype at = 0; at < headerEnd; ++at) {
            for (quint8 value : {quint8(0x00), quint8(0x7F), quint8(0xFF)}) {
                QByteArray b = good;
                b[at] = char(value);
                try {
                    const AviClip clip = AviClip::fromData(b);
                    QVERIFY(clip.frameCount() > 0);
                    QVERIFY(clip.microsecondsPerFrame() > 0);
                    for (const QImage& frame : clip.frames())
                        QCOMPARE(frame.size(), clip.frameSize());
                } catch (const std::runtime_error&) {
                }
            }
        }
    }

    // The clip is a few kilobytes: reading it must not reserve anything near
    // the size limit, or the program cannot start where memory is capped.
    void clipLoadsUnderATightMemoryCap() {
        const QString path = sourcePath("forms/res/findfile.avi");
        const pid_t child = fork();
        if (child == 0) {
            long pages = 0;
            if (FILE* f = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
                std::fclose(f);
            }
            const rlim_t cap = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (16u << 20);
            const rlimit limit{cap, cap};
            if (pages <= 0 || setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
            try {
                _exit(AviClip::load(path).frameCount() == 16 ? 0 : 3);
            } catch (...) {
                _exit(1);
            }
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "the clip reader died under the memory cap");
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void clipFilesThatCannotBeRead() {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 AviClip::load(sourcePath("forms/res/no-such-clip.avi")));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile bad(dir.filePath("bad.avi"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(readSource("forms/res/findfile.avi").left(500));
        bad.close();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, AviClip::load(bad.fileName()));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, AviClip::load(dir.path())); // a folder
    }
};

QTEST_GUILESS_MAIN(TestArt)
#include "tst_art.moc"
