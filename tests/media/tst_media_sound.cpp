// Sound really reaches a sound server: the test starts a PulseAudio server
// of its own with a null sink (in private folders), plays through the media
// layer and listens on the sink's monitor. Pause and stop cork the stream at
// once (a corked stream is silent whatever it has buffered); close removes it.
//
// The other media tests run with no sound server (the host then plays into
// a silent sink that keeps real time); this one is skipped where PulseAudio
// is not installed.

#include "MediaFixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace media_test;

class MediaSound : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_, home_, runtime_, programHome_;
    QProcess server_;

    QProcessEnvironment serverEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home_.path());
        environment.insert("XDG_RUNTIME_DIR", runtime_.path());
        environment.remove("PULSE_SERVER");
        return environment;
    }

    QString pactl(const QStringList& args) const {
        QProcess tool;
        tool.setProcessEnvironment(serverEnvironment());
        tool.start("pactl", args);
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }
    // "yes" or "no" for our one stream, empty when there is none.
    QString corked() const {
        const QString inputs = pactl({"list", "sink-inputs"});
        const int at = inputs.indexOf("Corked: ");
        return at < 0 ? QString() : inputs.mid(at + 8, inputs.indexOf('\n', at) - at - 8).trimmed();
    }

    // Listens on the null sink's monitor until a tone is heard or the time is up.
    bool hearSound(int timeoutMs) const {
        QProcess listener;
        listener.setProcessEnvironment(serverEnvironment());
        listener.start("parec", {"-d", "lunohrai_test.monitor", "--raw", "--format=s16le",
                                 "--channels=1", "--rate=8000"});
        if (!listener.waitForStarted(5000)) return false;
        QElapsedTimer clock;
        clock.start();
        bool heard = false;
        while (!heard && clock.elapsed() < timeoutMs) {
            listener.waitForReadyRead(100);
            const QByteArray data = listener.readAllStandardOutput();
            for (int i = 0; i + 1 < data.size(); i += 2)
                heard |= std::abs(qFromLittleEndian<qint16>(data.constData() + i)) > 1000;
        }
        listener.kill();
        listener.waitForFinished(2000);
        return heard;
    }

    static MCIERROR send(MCIDEVICEID device, MciCommand command) {
        return mciSendCommandA(device, command, MCI_WAIT);
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            QSKIP("PulseAudio is not installed");
        QVERIFY(dir_.isValid() && home_.isValid() && runtime_.isValid());
        QVERIFY(makeMedia(dir_.filePath("long.wav"), 20000));
        server_.setProcessEnvironment(serverEnvironment());
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1",
                                     "--load=module-native-protocol-unix",
                                     "--load=module-null-sink sink_name=lunohrai_test"});
        QVERIFY(server_.waitForStarted(5000));
        const QString socket = runtime_.filePath("pulse/native");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 10000);
        // The media host finds the server where PulseAudio clients look. It
        // runs with a home folder of its own, which must stay empty.
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        QVERIFY(programHome_.isValid());
        qputenv("HOME", programHome_.path().toLocal8Bit());
        for (const char* name :
             {"XDG_CACHE_HOME", "XDG_CONFIG_HOME", "GST_REGISTRY", "PULSE_COOKIE"})
            qunsetenv(name);
    }

    void cleanupTestCase() {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(5000)) server_.kill();
        }
    }

    void playsIntoTheServerAndPauseCorks() {
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(dir_.filePath("long.wav"), device), MCIERR_NONE);
        QCOMPARE(mciSendCommandA(device, MCI_PLAY, MCI_FLAGS_NONE), MCIERR_NONE);
        QTRY_COMPARE_WITH_TIMEOUT(corked(), QString("no"), 3000);
        QVERIFY(pactl({"list", "sink-inputs"}).contains(QString::fromUtf8("Лунограй")));
        QVERIFY(hearSound(5000));

        QCOMPARE(send(device, MCI_PAUSE), MCIERR_NONE);
        QCOMPARE(corked(), QString("yes"));
        QCOMPARE(mciSendCommandA(device, MCI_RESUME, MCI_FLAGS_NONE), MCIERR_NONE);
        QTRY_COMPARE_WITH_TIMEOUT(corked(), QString("no"), 2000);
        QCOMPARE(send(device, MCI_STOP), MCIERR_NONE);
        QCOMPARE(corked(), QString("yes"));

        QCOMPARE(send(device, MCI_CLOSE), MCIERR_NONE);
        QTRY_COMPARE_WITH_TIMEOUT(corked(), QString(), 2000);
    }

    void theHomeFolderStaysEmpty() {
        // Neither GStreamer's plugin cache nor a PulseAudio cookie lands there.
        QCOMPARE(QDir(programHome_.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(MediaSound)
#include "tst_media_sound.moc"
