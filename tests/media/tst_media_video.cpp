// A video plays in a window of the media host's own (no surface is ever
// given): the test starts an X server (Xvfb) of its own and finds the window
// there. A display that does not answer does not fail the open: the sound
// plays and the picture goes nowhere.

#include "MediaFixtures.h"
#include "media/MciLayer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace media_test;

class MediaVideo : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QProcess xserver_;
    QByteArray display_;

    QString windows() const {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", QString::fromLatin1(display_));
        tool.setProcessEnvironment(environment);
        tool.start("xwininfo", {"-root", "-tree"});
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    void playToTheEnd(const QString& file) {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(file, device), MCIERR_NONE);
        QCOMPARE(capability(device, MCI_GETDEVCAPS_HAS_VIDEO), 1u);
        NoticeRecorder notices;
        QCOMPARE(playNotifying(device, notices), MCIERR_NONE);
        QVERIFY(notices.waitFor(1, 10000));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(mciSendCommandA(device, MCI_CLOSE, MCI_WAIT), MCIERR_NONE);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(makeMedia(dir_.filePath("clip.avi"), 2000));
    }

    void pictureInAWindowOfItsOwn() {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xwininfo").isEmpty())
            QSKIP("Xvfb and xwininfo are not installed");
        // Xvfb picks a free display and writes its number to the pipe.
        int pipeEnds[2];
        QVERIFY(pipe(pipeEnds) == 0);
        xserver_.setChildProcessModifier([fd = pipeEnds[1]] { dup2(fd, 3); });
        xserver_.start("Xvfb",
                       {"-displayfd", "3", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        QVERIFY(xserver_.waitForStarted(5000));
        ::close(pipeEnds[1]);
        char number[16] = {};
        QVERIFY(read(pipeEnds[0], number, sizeof number - 1) > 0);
        ::close(pipeEnds[0]);
        display_ = ":" + QByteArray(number).trimmed();
        qputenv("DISPLAY", display_);

        MCIDEVICEID device = 0;
        QCOMPARE(openFile(dir_.filePath("clip.avi"), device), MCIERR_NONE);
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_FLAGS_NONE), MCIERR_NONE);
        QTRY_VERIFY_WITH_TIMEOUT(windows().contains(QString::fromUtf8("\"Лунограй\"")), 5000);
        QCOMPARE(mciSendCommandA(device, MCI_CLOSE, MCI_WAIT), MCIERR_NONE);
        QTRY_VERIFY_WITH_TIMEOUT(!windows().contains(QString::fromUtf8("\"Лунограй\"")), 5000);

        xserver_.terminate();
        xserver_.waitForFinished(5000);
    }

    void noDisplayStillPlaysTheSound_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::newRow("no display") << QByteArray();
        QTest::newRow("a display that does not answer") << QByteArray(":1999");
    }
    void noDisplayStillPlaysTheSound() {
        QFETCH(QByteArray, display);
        if (display.isEmpty())
            qunsetenv("DISPLAY");
        else
            qputenv("DISPLAY", display);
        // A host started under another display would keep it: start afresh.
        MciLayer::shutdown();
        playToTheEnd(dir_.filePath("clip.avi"));
    }
};

QTEST_GUILESS_MAIN(MediaVideo)
#include "tst_media_video.moc"
