// A corpus of damaged files under every offered extension: truncations,
// changed bytes and plain noise. Each is opened and, if it opens, played to
// its notice and closed. Nothing may crash or hang this process: every
// request returns within its bound (open 10 s, others 2 s).

#include "MediaFixtures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace media_test;

namespace {

constexpr qint64 openBoundMs = 10000, requestBoundMs = 2000, slackMs = 700;

struct Variant {
    const char* tag;
    QByteArray (*make)(const QByteArray& good, QRandomGenerator& random);
};

QByteArray flip(QByteArray bytes, QRandomGenerator& random, int count, int within) {
    for (int i = 0; i < count; ++i) {
        const int at = random.bounded(std::min<int>(within, bytes.size()));
        bytes[at] = static_cast<char>(bytes[at] ^ (1 + random.bounded(255)));
    }
    return bytes;
}

const Variant variants[] = {
    {"half", [](const QByteArray& g, QRandomGenerator&) { return g.left(g.size() / 2); }},
    {"header only", [](const QByteArray& g, QRandomGenerator&) { return g.left(64); }},
    {"one header byte a",
     [](const QByteArray& g, QRandomGenerator& r) { return flip(g, r, 1, 256); }},
    {"one header byte b",
     [](const QByteArray& g, QRandomGenerator& r) { return flip(g, r, 1, 256); }},
    {"one header byte c",
     [](const QByteArray& g, QRandomGenerator& r) { return flip(g, r, 1, 256); }},
    {"bytes all over",
     [](const QByteArray& g, QRandomGenerator& r) { return flip(g, r, 24, g.size()); }},
    {"noise",
     [](const QByteArray& g, QRandomGenerator& r) {
         QByteArray bytes(g.size(), '\0');
         for (char& c : bytes)
             c = static_cast<char>(r.bounded(256));
         return bytes;
     }},
};

const char* const extensions[] = {"mp3", "wav", "midi", "wma", "avi", "mp1", "mp2", "ra"};

} // namespace

class MediaCorrupt : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QMap<QString, int> outcomes_;

    template <typename F> static qint64 timed(F&& request) {
        QElapsedTimer clock;
        clock.start();
        request();
        return clock.elapsed();
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void survives_data() {
        QTest::addColumn<QString>("file");
        for (const char* ext : extensions) {
            const QString good = dir_.filePath(QStringLiteral("good.%1").arg(ext));
            QVERIFY2(makeMedia(good, 1000), ext);
            QFile in(good);
            QVERIFY(in.open(QIODevice::ReadOnly));
            const QByteArray bytes = in.readAll();
            int n = 0;
            for (const Variant& variant : variants) {
                QRandomGenerator random(static_cast<quint32>(qHash(QByteArray(ext)) + n));
                const QString name = dir_.filePath(
                    QStringLiteral("bad-%1-%2.%3")
                        .arg(n++)
                        .arg(QString::fromLatin1(variant.tag).replace(' ', '-'), ext));
                QFile out(name);
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(variant.make(bytes, random));
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(ext, variant.tag))) << name;
            }
        }
    }

    void survives() {
        QFETCH(QString, file);
        MCIDEVICEID device = 0;
        MCIERROR error = MCIERR_NONE;
        const qint64 openMs = timed([&] { error = openFile(file, device); });
        QVERIFY2(openMs <= openBoundMs + slackMs, qPrintable(QString::number(openMs)));
        if (error != MCIERR_NONE) {
            ++outcomes_[QStringLiteral("open failed: ") + errorText(error)];
            QCOMPARE(device, MCIDEVICEID(0));
            QVERIFY(!errorText(error).isEmpty());
            return;
        }
        NoticeRecorder notices;
        const qint64 playMs = timed([&] { playNotifying(device, notices); });
        QVERIFY2(playMs <= requestBoundMs + slackMs, qPrintable(QString::number(playMs)));
        // A damaged file may play longer than the good one (a changed length
        // field); two seconds tell enough.
        notices.waitFor(1, 2000);
        ++outcomes_[notices.notices.empty() ? QStringLiteral("opened, still playing after 2 s")
                    : notices.notices[0].kind == MCI_NOTIFY_SUCCESSFUL
                        ? QStringLiteral("opened, played to the end")
                        : QStringLiteral("opened, play failed")];
        const qint64 statusMs = timed([&] { status(device, MCI_STATUS_POSITION); });
        QVERIFY2(statusMs <= requestBoundMs + slackMs, qPrintable(QString::number(statusMs)));
        const qint64 closeMs = timed([&] { error = mciSendCommandA(device, MCI_CLOSE, MCI_WAIT); });
        QVERIFY2(closeMs <= requestBoundMs + slackMs, qPrintable(QString::number(closeMs)));
        QCOMPARE(error, MCIERR_NONE);
    }

    void goodFilesStillPlay() {
        for (const char* ext : extensions) {
            MCIDEVICEID device = 0;
            QCOMPARE(openFile(dir_.filePath(QStringLiteral("good.%1").arg(ext)), device),
                     MCIERR_NONE);
            QCOMPARE(mciSendCommandA(device, MCI_CLOSE, MCI_WAIT), MCIERR_NONE);
        }
        // Nothing is left behind but the one warm host.
        QVERIFY(hostChildren().size() <= 1);
    }

    void cleanupTestCase() {
        for (auto it = outcomes_.cbegin(); it != outcomes_.cend(); ++it)
            qInfo("%3d  %s", it.value(), qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(MediaCorrupt)
#include "tst_media_corrupt.moc"
