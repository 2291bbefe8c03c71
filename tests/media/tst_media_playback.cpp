// Playing real files of every offered format through the media layer:
// open, capabilities, play to the end with its notice, position and length,
// and the controls (pause, resume, stop, seek, play from/to) with the
// notices that a later request gives an earlier one.

#include "MediaFixtures.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <thread>

using namespace media_test;

class MediaPlayback : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    void play(MCIDEVICEID device, MciNotifyTarget* target, MciFlags extra = MCI_FLAGS_NONE,
              std::uint32_t from = 0, std::uint32_t to = 0) {
        MciPlayParms parms;
        parms.callback = target;
        parms.from = from;
        parms.to = to;
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY | extra, parms), MCIERR_NONE);
    }
    static MCIERROR send(MCIDEVICEID device, MciCommand command,
                         MciNotifyTarget* target = nullptr) {
        MciGenericParms parms;
        parms.callback = target;
        return mciSendCommandA(device, command, target ? MCI_NOTIFY | MCI_WAIT : MCI_WAIT, parms);
    }
    static MCIERROR seekToStart(MCIDEVICEID device) {
        return mciSendCommandA(device, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // Nothing of the media layer runs before the first open.
        QVERIFY(hostChildren().empty());
        for (const char* name : {"tone.wav", "tone.mp3", "tone.mid", "tone.midi", "tone.avi",
                                 "tone.wma", "tone.mp2", "tone.mp1", "tone.ra"})
            QVERIFY2(makeMedia(path(QString::fromLatin1(name)), 300), name);
        QVERIFY(makeMedia(path("long.wav"), 3000));
    }

    void playsToTheEnd_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("type");
        QTest::addColumn<bool>("video");
        QTest::newRow("wav") << "tone.wav" << uint(MCI_DEVTYPE_WAVEFORM_AUDIO) << false;
        QTest::newRow("mp3") << "tone.mp3" << uint(MCI_DEVTYPE_GENERAL) << false;
        QTest::newRow("mid") << "tone.mid" << uint(MCI_DEVTYPE_SEQUENCER) << false;
        QTest::newRow("midi") << "tone.midi" << uint(MCI_DEVTYPE_SEQUENCER) << false;
        QTest::newRow("avi") << "tone.avi" << uint(MCI_DEVTYPE_AVI_VIDEO) << true;
        QTest::newRow("wma") << "tone.wma" << uint(MCI_DEVTYPE_GENERAL) << false;
        QTest::newRow("mp2") << "tone.mp2" << uint(MCI_DEVTYPE_GENERAL) << false;
        QTest::newRow("mp1") << "tone.mp1" << uint(MCI_DEVTYPE_GENERAL) << false;
        QTest::newRow("ra") << "tone.ra" << uint(MCI_DEVTYPE_GENERAL) << false;
    }

    void playsToTheEnd() {
        QFETCH(QString, name);
        QFETCH(uint, type);
        QFETCH(bool, video);
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path(name), device), MCIERR_NONE);
        QVERIFY(device != 0);

        QCOMPARE(capability(device, MCI_GETDEVCAPS_CAN_PLAY), 1u);
        QCOMPARE(capability(device, MCI_GETDEVCAPS_CAN_RECORD), 0u);
        QCOMPARE(capability(device, MCI_GETDEVCAPS_CAN_EJECT), 0u);
        QCOMPARE(capability(device, MCI_GETDEVCAPS_HAS_VIDEO), video ? 1u : 0u);
        QCOMPARE(capability(device, MCI_GETDEVCAPS_DEVICE_TYPE), type);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_STOP));
        QCOMPARE(status(device, MCI_STATUS_POSITION), 0u);
        const std::uint32_t length = status(device, MCI_STATUS_LENGTH);
        QVERIFY2(length >= 250 && length <= 700, qPrintable(QString::number(length)));

        // Play returns at once; the notice comes at the end of the media.
        NoticeRecorder notices;
        QElapsedTimer clock;
        clock.start();
        play(device, &notices);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(notices.waitFor(1, 10000));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(notices.notices[0].device, device);
        QVERIFY2(clock.elapsed() >= 200, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_STOP));
        const std::uint32_t endLength = status(device, MCI_STATUS_LENGTH);
        QCOMPARE(status(device, MCI_STATUS_POSITION), endLength);

        // At the end a play has nothing to do and is over at once; after a
        // seek to the start it plays the whole media again.
        play(device, &notices);
        QVERIFY(notices.waitFor(2, 2000));
        QCOMPARE(notices.notices[1].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(seekToStart(device), MCIERR_NONE);
        QCOMPARE(status(device, MCI_STATUS_POSITION), 0u);
        clock.restart();
        play(device, &notices);
        QVERIFY(notices.waitFor(3, 10000));
        QCOMPARE(notices.notices[2].kind, MCI_NOTIFY_SUCCESSFUL);
        QVERIFY(clock.elapsed() >= 200);

        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
        MCIERROR error = MCIERR_NONE;
        status(device, MCI_STATUS_MODE, &error);
        QCOMPARE(error, MCIERR_INVALID_DEVICE_ID);
        QCOMPARE(notices.notices.size(), size_t(3));
    }

    void pauseResumeStopKeepThePosition() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("long.wav"), device), MCIERR_NONE);
        NoticeRecorder first, second;
        play(device, &first);
        spin(600);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_PLAY));

        // Pause cuts the play short: its notice says aborted.
        QCOMPARE(send(device, MCI_PAUSE), MCIERR_NONE);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_PAUSE));
        const std::uint32_t paused = status(device, MCI_STATUS_POSITION);
        QVERIFY2(paused >= 300 && paused <= 1500, qPrintable(QString::number(paused)));
        QVERIFY(first.waitFor(1, 2000));
        QCOMPARE(first.notices[0].kind, MCI_NOTIFY_ABORTED);
        spin(300);
        QCOMPARE(status(device, MCI_STATUS_POSITION), paused);

        // Resume goes on from there; stop keeps the position.
        MciGenericParms resume;
        resume.callback = &second;
        QCOMPARE(mciSendCommandA(device, MCI_RESUME, MCI_NOTIFY, resume), MCIERR_NONE);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_PLAY));
        spin(400);
        QCOMPARE(send(device, MCI_STOP), MCIERR_NONE);
        QVERIFY(second.waitFor(1, 2000));
        QCOMPARE(second.notices[0].kind, MCI_NOTIFY_ABORTED);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_STOP));
        const std::uint32_t stopped = status(device, MCI_STATUS_POSITION);
        QVERIFY2(stopped > paused + 150, qPrintable(QString("%1 %2").arg(paused).arg(stopped)));
        // A stopped device has no play to resume.
        QCOMPARE(mciSendCommandA(device, MCI_RESUME, MCI_WAIT), MCIERR_NONAPPLICABLE_FUNCTION);

        // Play after stop goes on from the stopped position.
        NoticeRecorder third, fourth;
        play(device, &third);
        spin(200);
        const std::uint32_t goingOn = status(device, MCI_STATUS_POSITION);
        QVERIFY2(goingOn >= stopped, qPrintable(QString("%1 %2").arg(stopped).arg(goingOn)));
        // A second play with a notice while playing supersedes the first's notice.
        play(device, &fourth);
        QVERIFY(third.waitFor(1, 2000));
        QCOMPARE(third.notices[0].kind, MCI_NOTIFY_SUPERSEDED);
        QVERIFY(status(device, MCI_STATUS_POSITION) >= goingOn);
        // Seek stops the play (aborted) and moves to the start.
        QCOMPARE(seekToStart(device), MCIERR_NONE);
        QVERIFY(fourth.waitFor(1, 2000));
        QCOMPARE(fourth.notices[0].kind, MCI_NOTIFY_ABORTED);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_STOP));
        QCOMPARE(status(device, MCI_STATUS_POSITION), 0u);
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
    }

    void playFromToEndsAtTo() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("long.wav"), device), MCIERR_NONE);
        NoticeRecorder notices;
        QElapsedTimer clock;
        clock.start();
        play(device, &notices, MCI_FROM | MCI_TO, 1000, 1500);
        QVERIFY(notices.waitFor(1, 5000));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QVERIFY2(clock.elapsed() >= 400 && clock.elapsed() < 2500,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(status(device, MCI_STATUS_POSITION), 1500u);
        // Beyond the end is out of range.
        MciPlayParms beyond;
        beyond.from = 60000;
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_FROM, beyond), MCIERR_OUTOFRANGE);
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
    }

    void playWithWaitReturnsAtTheEnd() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("tone.wav"), device), MCIERR_NONE);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_WAIT), MCIERR_NONE);
        QVERIFY(clock.elapsed() >= 250);
        QCOMPARE(status(device, MCI_STATUS_MODE), uint(MCI_MODE_STOP));
        QCOMPARE(status(device, MCI_STATUS_POSITION), status(device, MCI_STATUS_LENGTH));
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
    }

    void closeAbortsAPlayAndOtherRequestsNotify() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("long.wav"), device), MCIERR_NONE);
        NoticeRecorder playing, statusNotice, closing;
        play(device, &playing);
        MciStatusParms parms;
        parms.item = MCI_STATUS_POSITION;
        parms.callback = &statusNotice;
        QCOMPARE(mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_NOTIFY, parms),
                 MCIERR_NONE);
        QCOMPARE(send(device, MCI_CLOSE, &closing), MCIERR_NONE);
        QVERIFY(playing.waitFor(1, 2000));
        QVERIFY(statusNotice.waitFor(1, 2000));
        QVERIFY(closing.waitFor(1, 2000));
        // The status request with its own notice superseded the play's.
        QCOMPARE(playing.notices[0].kind, MCI_NOTIFY_SUPERSEDED);
        QCOMPARE(statusNotice.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(closing.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        spin(100);
        QCOMPARE(playing.notices.size(), size_t(1));
    }

    void aTargetThatIsGoneGetsNothing() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("tone.wav"), device), MCIERR_NONE);
        auto target = std::make_unique<NoticeRecorder>();
        play(device, target.get());
        QCOMPARE(send(device, MCI_STOP), MCIERR_NONE); // queues the aborted notice
        target.reset();
        spin(200); // nothing may reach the destroyed target
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
    }

    void requestsAreChecked_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<uint>("flags");
        QTest::addColumn<uint>("expected");
        QTest::newRow("unknown command")
            << 99 << uint(MCI_WAIT) << uint(MCIERR_UNRECOGNIZED_COMMAND);
        QTest::newRow("flag of another command")
            << int(MCI_STOP) << uint(MCI_SEEK_TO_START) << uint(MCIERR_FLAGS_NOT_COMPATIBLE);
        QTest::newRow("notice without a target")
            << int(MCI_STOP) << uint(MCI_NOTIFY) << uint(MCIERR_MISSING_PARAMETER);
        QTest::newRow("seek without a target")
            << int(MCI_SEEK) << uint(MCI_WAIT) << uint(MCIERR_MISSING_PARAMETER);
        QTest::newRow("seek to start and end")
            << int(MCI_SEEK) << uint(MCI_SEEK_TO_START | MCI_SEEK_TO_END)
            << uint(MCIERR_FLAGS_NOT_COMPATIBLE);
    }

    void requestsAreChecked() {
        QFETCH(int, command);
        QFETCH(uint, flags);
        QFETCH(uint, expected);
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("tone.wav"), device), MCIERR_NONE);
        QCOMPARE(uint(mciSendCommandA(device, static_cast<MciCommand>(command),
                                      static_cast<MciFlags>(flags))),
                 expected);
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_INVALID_DEVICE_ID);
    }

    void wrongParametersForTheCommand() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("tone.wav"), device), MCIERR_NONE);
        MciStatusParms status;
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_STATUS_ITEM, status), MCIERR_BAD_PARAMETERS);
        MciPlayParms play;
        QCOMPARE(mciSendCommandA(device, MCI_STOP, MCI_WAIT, play), MCIERR_BAD_PARAMETERS);
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
    }

    void twoDevicesPlayAtOnce() {
        MCIDEVICEID a = 0, b = 0;
        QCOMPARE(openFile(path("tone.wav"), a), MCIERR_NONE);
        QCOMPARE(openFile(path("tone.mp3"), b), MCIERR_NONE);
        QVERIFY(a != b);
        NoticeRecorder notices;
        play(a, &notices);
        play(b, &notices);
        QVERIFY(notices.waitFor(2, 10000));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(notices.notices[1].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(send(a, MCI_CLOSE), MCIERR_NONE);
        QCOMPARE(send(b, MCI_CLOSE), MCIERR_NONE);
    }

    void onlyTheLayersThreadMaySend() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("tone.wav"), device), MCIERR_NONE);
        MCIERROR fromElsewhere = MCIERR_NONE;
        std::thread([&] { fromElsewhere = mciSendCommandA(device, MCI_STOP, MCI_WAIT); }).join();
        QCOMPARE(fromElsewhere, MCIERR_WRONG_THREAD);
        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
    }

    void gstreamerStaysOutOfThisProcess() {
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libgst"));
    }
};

QTEST_GUILESS_MAIN(MediaPlayback)
#include "tst_media_playback.moc"
