// A media host that crashes or hangs, during an open or during a play: the
// request gets its error, or the play its failure notice, within the bound;
// the host is gone (killed and reaped) and the next open works.

#include "MediaFixtures.h"
#include "media/MciLayer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <thread>

using namespace media_test;

class MediaHostFaults : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    // With no device open, the only host is the warm one that serves the next open.
    pid_t warmHost() {
        MCIDEVICEID device = 0;
        if (openFile(path("tone.wav"), device) != MCIERR_NONE) return 0;
        mciSendCommandA(device, MCI_CLOSE, MCI_WAIT);
        const auto hosts = hostChildren();
        return hosts.size() == 1 ? hosts[0] : 0;
    }

    void nextOpenPlays() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("tone.wav"), device), MCIERR_NONE);
        NoticeRecorder notices;
        QCOMPARE(playNotifying(device, notices), MCIERR_NONE);
        QVERIFY(notices.waitFor(1, 10000));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(mciSendCommandA(device, MCI_CLOSE, MCI_WAIT), MCIERR_NONE);
    }

    static void verifyGone(pid_t pid) {
        // Killed and reaped: not even a zombie is left.
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)), 2000);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(makeMedia(path("tone.wav"), 300));
        QVERIFY(makeMedia(path("long.wav"), 5000));
    }

    void duringOpen_data() {
        QTest::addColumn<int>("sig");
        QTest::addColumn<uint>("expected");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        // A crash ends the open as soon as the pipe closes; a hang waits out
        // the open's bound of 10 s.
        QTest::newRow("SIGSEGV") << SIGSEGV << uint(MCIERR_HOST_DIED) << 200 << 2000;
        QTest::newRow("SIGSTOP") << SIGSTOP << uint(MCIERR_TIMEOUT) << 9500 << 11500;
    }

    void duringOpen() {
        QFETCH(int, sig);
        QFETCH(uint, expected);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        const pid_t host = warmHost();
        QVERIFY(host > 0);
        // The open is sent to a host held still; the fault strikes while the
        // open waits for its answer.
        kill(host, SIGSTOP);
        std::thread fault;
        if (sig != SIGSTOP)
            fault = std::thread([host, sig] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                kill(host, sig);
                kill(host, SIGCONT);
            });
        QElapsedTimer clock;
        clock.start();
        MCIDEVICEID device = 0;
        const MCIERROR error = openFile(path("tone.wav"), device);
        const qint64 took = clock.elapsed();
        if (fault.joinable()) fault.join();
        QCOMPARE(uint(error), expected);
        QCOMPARE(device, MCIDEVICEID(0));
        QVERIFY2(took >= minMs && took <= maxMs, qPrintable(QString::number(took)));
        verifyGone(host);
        nextOpenPlays();
    }

    void duringPlay_data() {
        QTest::addColumn<int>("sig");
        QTest::addColumn<uint>("expected");
        QTest::addColumn<int>("maxMs");
        // A crash is seen at once; a hang when the host's ticks stop for
        // 2 s (checked every 0.5 s).
        QTest::newRow("SIGSEGV") << SIGSEGV << uint(MCIERR_HOST_DIED) << 1000;
        QTest::newRow("SIGKILL") << SIGKILL << uint(MCIERR_HOST_DIED) << 1000;
        QTest::newRow("SIGSTOP") << SIGSTOP << uint(MCIERR_TIMEOUT) << 3200;
    }

    void duringPlay() {
        QFETCH(int, sig);
        QFETCH(uint, expected);
        QFETCH(int, maxMs);
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("long.wav"), device), MCIERR_NONE);
        NoticeRecorder notices;
        QCOMPARE(playNotifying(device, notices), MCIERR_NONE);
        spin(300);
        const pid_t host = MciLayer::existing()->hostOf(device);
        QVERIFY(host > 0);
        QElapsedTimer clock;
        clock.start();
        kill(host, sig);
        QVERIFY(notices.waitFor(1, 5000));
        QVERIFY2(clock.elapsed() <= maxMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_FAILURE);
        verifyGone(host);
        // The device is dead: requests give the reason, close succeeds.
        MCIERROR error = MCIERR_NONE;
        status(device, MCI_STATUS_MODE, &error);
        QCOMPARE(uint(error), expected);
        QCOMPARE(mciSendCommandA(device, MCI_CLOSE, MCI_WAIT), MCIERR_NONE);
        nextOpenPlays();
    }

    void hungWhilePausedTimesTheNextRequestOut() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("long.wav"), device), MCIERR_NONE);
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_FLAGS_NONE), MCIERR_NONE);
        QCOMPARE(mciSendCommandA(device, MCI_PAUSE, MCI_WAIT), MCIERR_NONE);
        const pid_t host = MciLayer::existing()->hostOf(device);
        kill(host, SIGSTOP);
        QElapsedTimer clock;
        clock.start();
        MCIERROR error = MCIERR_NONE;
        status(device, MCI_STATUS_POSITION, &error);
        QCOMPARE(error, MCIERR_TIMEOUT);
        QVERIFY2(clock.elapsed() >= 1900 && clock.elapsed() <= 2600,
                 qPrintable(QString::number(clock.elapsed())));
        verifyGone(host);
        QCOMPARE(mciSendCommandA(device, MCI_CLOSE, MCI_WAIT), MCIERR_NONE);
        nextOpenPlays();
    }

    void hostGoneWhileIdle() {
        // A warm host that died in the meantime is replaced without a word.
        const pid_t host = warmHost();
        QVERIFY(host > 0);
        kill(host, SIGKILL);
        spin(100);
        nextOpenPlays();
    }
};

QTEST_GUILESS_MAIN(MediaHostFaults)
#include "tst_media_host_faults.moc"
