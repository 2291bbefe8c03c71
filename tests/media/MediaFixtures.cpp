#include "MediaFixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <cstdio>
#include <signal.h>

namespace media_test {

bool makeWithGstreamer(const QString& pipeline, const QString& path) {
    QProcess gst;
    QStringList args{QStringLiteral("-q")};
    args += QProcess::splitCommand(pipeline);
    args += {QStringLiteral("!"), QStringLiteral("filesink"), QStringLiteral("location=") + path};
    gst.start(QStringLiteral("gst-launch-1.0"), args);
    if (!gst.waitForFinished(60000) || gst.exitStatus() != QProcess::NormalExit ||
        gst.exitCode() != 0) {
        qWarning("gst-launch-1.0 failed for %s: %s", qPrintable(path),
                 gst.readAllStandardError().constData());
        return false;
    }
    return QFileInfo(path).size() > 0;
}

QByteArray midiFile(int ms) {
    // Format 0, one track, 480 ticks per quarter note at the default tempo
    // of 500 ms per quarter: one tick is 1/960 s. One note, then silence.
    const int ticks = ms * 960 / 1000;
    QByteArray track;
    auto varLen = [&track](quint32 value) {
        QByteArray bytes;
        bytes.prepend(char(value & 0x7f));
        while (value >>= 7)
            bytes.prepend(char((value & 0x7f) | 0x80));
        track += bytes;
    };
    varLen(0);
    track += QByteArray("\xC0\x00", 2); // piano
    varLen(0);
    track += QByteArray("\x90\x3C\x64", 3); // note on, middle C
    varLen(static_cast<quint32>(ticks));
    track += QByteArray("\x80\x3C\x40", 3); // note off
    varLen(0);
    track += QByteArray("\xFF\x2F\x00", 3); // end of track
    QByteArray file("MThd\0\0\0\x06\0\0\0\x01\x01\xE0", 14);
    file += "MTrk";
    const quint32 size = qToBigEndian(static_cast<quint32>(track.size()));
    file += QByteArray(reinterpret_cast<const char*>(&size), 4);
    file += track;
    return file;
}

bool makeMedia(const QString& path, int ms) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("mid") || ext == QLatin1String("midi")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(midiFile(ms)) > 0;
    }
    // 10 ms buffers of a 440 Hz tone at 44.1 kHz.
    const QString tone =
        QStringLiteral("audiotestsrc num-buffers=%1 samplesperbuffer=441 ! audioconvert ! ")
            .arg(ms / 10);
    if (ext == QLatin1String("wav")) return makeWithGstreamer(tone + "wavenc", path);
    if (ext == QLatin1String("mp3"))
        return makeWithGstreamer(tone + "lamemp3enc target=bitrate bitrate=320 cbr=true ! xingmux",
                                 path);
    if (ext == QLatin1String("wma"))
        return makeWithGstreamer(
            tone + "audio/x-raw,channels=2 ! avenc_wmav2 bitrate=128000 ! asfmux", path);
    if (ext == QLatin1String("mp2") || ext == QLatin1String("mp1"))
        return makeWithGstreamer(tone + "twolamemp2enc", path);
    if (ext == QLatin1String("ra")) return makeWithGstreamer(tone + "avenc_ac3 ! avmux_rm", path);
    if (ext == QLatin1String("avi"))
        return makeWithGstreamer(
            QStringLiteral(
                "videotestsrc num-buffers=%1 ! video/x-raw,width=64,height=48,framerate=25/1 "
                "! jpegenc ! avimux name=mux ")
                    .arg(ms / 40) +
                tone + "audio/x-raw,format=S16LE ! mux. mux.",
            path);
    return false;
}

std::string fileName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void NoticeRecorder::MciNotify(MCIDEVICEID device, MciNotifyKind kind) {
    notices.push_back({device, kind, clock_.elapsed()});
}

bool NoticeRecorder::waitFor(int count, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (static_cast<int>(notices.size()) < count && timer.elapsed() < timeoutMs)
        spin(10);
    return static_cast<int>(notices.size()) >= count;
}

void spin(int ms) {
    // Runs the event loop without busy waiting.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::vector<pid_t> hostChildren() {
    std::vector<pid_t> hosts;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid) continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray text = stat.readAll();
        // pid (comm) state ppid ...
        const int close = text.lastIndexOf(')');
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() < 2 || fields[1] != self.toLatin1() || fields[0] == "Z") continue;
        if (QFileInfo(QStringLiteral("/proc/%1/exe").arg(entry))
                .symLinkTarget()
                .endsWith(QLatin1String("/lunohrai-media-host")))
            hosts.push_back(pid);
    }
    return hosts;
}

bool processRuns(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) != "Z";
}

MCIERROR openFile(const QString& path, MCIDEVICEID& device) {
    MciOpenParms open;
    open.elementName = fileName(path);
    const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, open);
    device = open.deviceId;
    return error;
}

MCIERROR playNotifying(MCIDEVICEID device, NoticeRecorder& notices) {
    MciPlayParms play;
    play.callback = &notices;
    return mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, play);
}

std::uint32_t status(MCIDEVICEID device, MciStatusItem item, MCIERROR* error) {
    MciStatusParms parms;
    parms.item = item;
    const MCIERROR result = mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, parms);
    if (error) *error = result;
    return parms.result;
}

std::uint32_t capability(MCIDEVICEID device, MciCapability item) {
    MciGetDevCapsParms parms;
    parms.item = item;
    if (mciSendCommandA(device, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, parms) !=
        MCIERR_NONE)
        return 0xffffffffu;
    return parms.result;
}

QString errorText(MCIERROR error) {
    char buffer[4096];
    if (!mciGetErrorStringA(error, buffer, sizeof buffer)) return QString();
    return QString::fromUtf8(buffer);
}

} // namespace media_test
