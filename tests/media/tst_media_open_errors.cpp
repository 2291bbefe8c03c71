// Files the media layer cannot open: each gives its own error code with a
// clear text, and no device stays open. Names that need escaping in a URI
// still play, and GStreamer recognises media by content whatever the name.

#include "MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace media_test;

class MediaOpenErrors : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    static QByteArray noise(int size) {
        QByteArray bytes(size, '\0');
        QRandomGenerator generator(size);
        for (char& c : bytes)
            c = static_cast<char>(generator.bounded(256));
        return bytes;
    }
    static MCIERROR close(MCIDEVICEID device) {
        return mciSendCommandA(device, MCI_CLOSE, MCI_WAIT);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        write("empty.mp3", {});
        write("noise.mp3", noise(4000));
        write("noise.wav", noise(4001));
        write("noise.midi", noise(4002));
        write("noise.xyz", noise(4003));
        write("noise", noise(4004));
        write("words.wav", "These are words, not sound.\n");
        QVERIFY(QDir(dir_.path()).mkdir("folder.mp3"));
        // A picture whose coding no installed decoder knows: a video-only
        // AVI with its codec's code changed to one nobody claims.
        QVERIFY(makeWithGstreamer("videotestsrc num-buffers=5 ! video/x-raw,width=32,height=24,"
                                  "framerate=25/1 ! jpegenc ! avimux",
                                  path("mjpeg.avi")));
        QFile avi(path("mjpeg.avi"));
        QVERIFY(avi.open(QIODevice::ReadOnly));
        write("unknown-codec.avi", avi.readAll().replace("MJPG", "QQQQ"));
        QVERIFY(makeMedia(path("tone.wav"), 300));
        QVERIFY(QFile::copy(path("tone.wav"), path("tone.xyz")));
        QVERIFY(QFile::copy(path("tone.wav"), path("tone")));
    }

    void failures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("expected");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* tag, const QString& name, MCIERROR code, const char* text) {
            QTest::newRow(tag) << name << uint(code) << QString::fromLatin1(text);
        };
        row("missing file", "missing.mp3", MCIERR_FILE_NOT_FOUND, "The media file was not found.");
        row("missing folder", "no/such/folder/x.wav", MCIERR_FILE_NOT_FOUND,
            "The media file was not found.");
        row("zero bytes", "empty.mp3", MCIERR_INVALID_FILE,
            "The file is not a media file, or it is damaged.");
        row("random bytes .mp3", "noise.mp3", MCIERR_INVALID_FILE,
            "The file is not a media file, or it is damaged.");
        row("random bytes .wav", "noise.wav", MCIERR_INVALID_FILE,
            "The file is not a media file, or it is damaged.");
        row("random bytes .midi", "noise.midi", MCIERR_INVALID_FILE,
            "The file is not a media file, or it is damaged.");
        row("text .wav", "words.wav", MCIERR_INVALID_FILE,
            "The file is not a media file, or it is damaged.");
        row("a folder", "folder.mp3", MCIERR_INVALID_FILE,
            "The file is not a media file, or it is damaged.");
        row("unknown extension", "noise.xyz", MCIERR_UNKNOWN_DEVICE_TYPE,
            "No media device handles files of this type.");
        row("no extension", "noise", MCIERR_UNKNOWN_DEVICE_TYPE,
            "No media device handles files of this type.");
        row("no decoder", "unknown-codec.avi", MCIERR_NO_DECODER,
            "No installed decoder plays this file's format.");
    }

    void failures() {
        QFETCH(QString, name);
        QFETCH(uint, expected);
        QFETCH(QString, text);
        MCIDEVICEID device = 12345;
        QCOMPARE(uint(openFile(path(name), device)), expected);
        QCOMPARE(device, MCIDEVICEID(0));
        QCOMPARE(errorText(static_cast<MCIERROR>(expected)), text);
    }

    void unreadableFile() {
        if (geteuid() == 0) QSKIP("root reads every file");
        QVERIFY(makeMedia(path("locked.wav"), 300));
        QVERIFY(QFile::setPermissions(path("locked.wav"), QFileDevice::WriteOwner));
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path("locked.wav"), device), MCIERR_FILE_READ);
        QCOMPARE(errorText(MCIERR_FILE_READ), QString("The media file cannot be read."));
    }

    void unknownDeviceTypeByName() {
        MciOpenParms open;
        open.elementName = fileName(path("tone.wav"));
        open.deviceType = "turntable";
        QCOMPARE(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_OPEN_TYPE | MCI_WAIT, open),
                 MCIERR_UNKNOWN_DEVICE_TYPE);
        open.deviceType = "WaveAudio";
        QCOMPARE(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_OPEN_TYPE | MCI_WAIT, open),
                 MCIERR_NONE);
        QVERIFY(open.deviceId != 0);
        QCOMPARE(close(open.deviceId), MCIERR_NONE);
    }

    void openWithoutAFile() {
        MciOpenParms open;
        QCOMPARE(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, open),
                 MCIERR_MISSING_PARAMETER);
        open.elementName = fileName(path("tone.wav"));
        QCOMPARE(mciSendCommandA(0, MCI_OPEN, MCI_WAIT, open), MCIERR_MISSING_PARAMETER);
    }

    // Media under a name that claims nothing, or lies, is recognised by its
    // content and opens on the general device.
    void mediaRecognisedByContent_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown extension") << "tone.xyz";
        QTest::newRow("no extension") << "tone";
    }
    void mediaRecognisedByContent() {
        QFETCH(QString, name);
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(path(name), device), MCIERR_NONE);
        QCOMPARE(capability(device, MCI_GETDEVCAPS_DEVICE_TYPE), uint(MCI_DEVTYPE_GENERAL));
        QCOMPARE(close(device), MCIERR_NONE);
    }

    // Characters that mean something in a URI, and Cyrillic letters, in the
    // folder and in the file name.
    void namesThatNeedEscaping_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("hash percent semicolon") << "a #1 %41;b"
                                                << "x #2 %20;y.wav";
        QTest::newRow("question mark, ampersand") << "q?&="
                                                  << "what?&x=1.mp3";
        QTest::newRow("cyrillic") << QString::fromUtf8("Пісні")
                                  << QString::fromUtf8("Лунограй — пісня №1.midi");
        QTest::newRow("all together")
            << QString::fromUtf8("Тест #%;?") << QString::fromUtf8("ґанок #5 %zz;?.wav");
    }
    void namesThatNeedEscaping() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QVERIFY(QDir(dir_.path()).mkpath(folder));
        const QString file = path(folder + "/" + name);
        QVERIFY(makeMedia(file, 300));
        MCIDEVICEID device = 0;
        QCOMPARE(openFile(file, device), MCIERR_NONE);
        NoticeRecorder notices;
        QCOMPARE(playNotifying(device, notices), MCIERR_NONE);
        QVERIFY(notices.waitFor(1, 10000));
        QCOMPARE(notices.notices[0].kind, MCI_NOTIFY_SUCCESSFUL);
        QCOMPARE(status(device, MCI_STATUS_POSITION), status(device, MCI_STATUS_LENGTH));
        QCOMPARE(close(device), MCIERR_NONE);
    }

    void errorTexts() {
        QSet<QString> texts;
        for (std::uint32_t code = MCIERR_INVALID_DEVICE_ID; code <= MCIERR_WRONG_THREAD; ++code) {
            const QString text = errorText(static_cast<MCIERROR>(code));
            QVERIFY2(text.endsWith('.') && text.size() > 10, qPrintable(QString::number(code)));
            texts.insert(text);
        }
        QCOMPARE(texts.size(), int(MCIERR_WRONG_THREAD - MCIERR_INVALID_DEVICE_ID + 1));
        QVERIFY(!errorText(MCIERR_NONE).isEmpty());

        char buffer[16] = "untouched";
        QVERIFY(!mciGetErrorStringA(static_cast<MCIERROR>(9999), buffer, sizeof buffer));
        QCOMPARE(buffer[0], '\0');
        QVERIFY(!mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, buffer, 0));
        // Cut to fit and always terminated.
        QVERIFY(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, buffer, 8));
        QCOMPARE(QByteArray(buffer), QByteArray("The med"));
    }
};

QTEST_GUILESS_MAIN(MediaOpenErrors)
#include "tst_media_open_errors.moc"
