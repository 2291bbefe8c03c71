// The media host lives no longer than the program: whether the program ends
// normally with a device still playing, leaves through exit(), or is killed,
// no host remains. And a host writes nothing into the home folder.
//
// The test starts this same executable in a "program" role (--program),
// which opens and plays a file, prints its host's process id and then ends
// the way the test asks.

#include "MediaFixtures.h"
#include "media/MciLayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace media_test;

namespace {

int runProgram(const char* file, const char* ending) {
    MCIDEVICEID device = 0;
    if (openFile(QFile::decodeName(file), device) != MCIERR_NONE) return 2;
    if (mciSendCommandA(device, MCI_PLAY, MCI_FLAGS_NONE) != MCIERR_NONE) return 3;
    std::printf("%d\n", static_cast<int>(MciLayer::existing()->hostOf(device)));
    std::fflush(stdout);
    spin(300);
    if (std::strcmp(ending, "exit") == 0) std::exit(0);
    if (std::strcmp(ending, "wait") == 0)
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    if (std::strcmp(ending, "close") == 0) mciSendCommandA(device, MCI_CLOSE, MCI_WAIT);
    return 0; // "return": the device is still open and playing
}

} // namespace

class MediaLifetime : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QProcess* startProgram(const QString& ending, const QProcessEnvironment& environment =
                                                      QProcessEnvironment::systemEnvironment()) {
        auto* program = new QProcess(this);
        program->setProcessEnvironment(environment);
        program->start(QCoreApplication::applicationFilePath(),
                       {"--program", dir_.filePath("long.wav"), ending});
        return program;
    }
    static pid_t hostOf(QProcess* program) {
        if (!program->waitForReadyRead(15000)) return 0;
        return static_cast<pid_t>(program->readLine().trimmed().toInt());
    }
    static void verifyGone(pid_t host) { QTRY_VERIFY_WITH_TIMEOUT(!processRuns(host), 1500); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(makeMedia(dir_.filePath("long.wav"), 10000));
    }

    void noHostOutlivesTheProgram_data() {
        QTest::addColumn<QString>("ending");
        QTest::newRow("closes its device") << "close";
        QTest::newRow("returns from main with a device playing") << "return";
        QTest::newRow("calls exit() with a device playing") << "exit";
    }
    void noHostOutlivesTheProgram() {
        QFETCH(QString, ending);
        QProcess* program = startProgram(ending);
        const pid_t host = hostOf(program);
        QVERIFY(host > 0);
        QVERIFY(processRuns(host));
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitCode(), 0);
        verifyGone(host);
    }

    void aKilledProgramTakesItsHostAlong() {
        QProcess* program = startProgram("wait");
        const pid_t host = hostOf(program);
        QVERIFY(host > 0);
        program->kill();
        QVERIFY(program->waitForFinished(5000));
        verifyGone(host);
    }

    void theHomeFolderStaysEmpty() {
        QTemporaryDir home, runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        for (const char* name :
             {"XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "GST_REGISTRY"})
            environment.remove(name);
        QProcess* program = startProgram("close", environment);
        QVERIFY(hostOf(program) > 0);
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(
            QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
        // GStreamer's plugin cache went to the per-user runtime folder instead.
        QVERIFY(QFileInfo::exists(runtime.filePath("lunohrai/gst-registry.bin")));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--program") == 0) return runProgram(argv[2], argv[3]);
    MediaLifetime test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_media_lifetime.moc"
