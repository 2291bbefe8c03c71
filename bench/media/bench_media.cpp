// Benchmarks of the media layer (not tests), side by side with gst-play-1.0:
//
//   bench_media first-sound [runs]   click to first sound at a PulseAudio null sink
//   bench_media cpu [seconds]        CPU while playing a 320 kbit/s MP3
//   bench_media cycles [count]       memory over open/play/close cycles
//
// first-sound and cpu start a PulseAudio server of their own with a null sink
// (private folders) and listen on its monitor; cycles runs with whatever
// output the host finds.

#include "media/Mci.h"
#include "media/MciLayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

void spin(int ms) {
    // Runs the event loop without busy waiting.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool run(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

// A 320 kbit/s MP3 of a tone, `seconds` long.
QString makeMp3(const QTemporaryDir& dir, int seconds) {
    const QString path = dir.filePath("tone-320k.mp3");
    QStringList args = QProcess::splitCommand(
        QStringLiteral("-q audiotestsrc num-buffers=%1 samplesperbuffer=4410 ! audioconvert ! "
                       "lamemp3enc target=bitrate bitrate=320 cbr=true ! xingmux ! filesink")
            .arg(seconds * 10));
    args << "location=" + path;
    run("gst-launch-1.0", args);
    return path;
}

// CPU time of a process in seconds (user + system), from /proc.
double cpuSeconds(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // Fields after the name: state(0) ppid(1) ... utime(11) stime(12).
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

long rssKb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A PulseAudio server of the benchmark's own, with one null sink "bench".
class SoundServer {
public:
    SoundServer() {
        QDir(home_.path()).mkpath(".");
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("HOME", home_.path());
        environment_.insert("XDG_RUNTIME_DIR", runtime_.path());
        environment_.remove("PULSE_SERVER");
        server_.setProcessEnvironment(environment_);
        server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--log-level=0",
                                     "--load=module-native-protocol-unix",
                                     "--load=module-null-sink sink_name=bench"});
        for (int i = 0; i < 100 && !QFileInfo::exists(runtime_.filePath("pulse/native")); ++i)
            QThread::msleep(50);
        // This process, its media host, gst-play-1.0 and parec all reach the
        // server through the runtime folder, as PulseAudio clients do.
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
    }
    ~SoundServer() {
        server_.terminate();
        if (!server_.waitForFinished(5000)) server_.kill();
    }
    bool ready() const { return QFileInfo::exists(runtime_.filePath("pulse/native")); }
    pid_t pid() const { return static_cast<pid_t>(server_.processId()); }

private:
    QTemporaryDir home_, runtime_;
    QProcessEnvironment environment_;
    QProcess server_;
};

pid_t spawn(const std::vector<std::string>& argv, int stdoutFd = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    posix_spawn_file_actions_adddup2(&actions, null, STDERR_FILENO);
    if (stdoutFd < 0) posix_spawn_file_actions_adddup2(&actions, null, STDOUT_FILENO);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(null);
    return pid;
}

void end(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Listens on the null sink's monitor in a thread of its own, so that the
// time of the first loud chunk is taken when it arrives, even while the
// main thread waits inside a media request.
class Listener {
public:
    Listener() {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid_ = spawn({"parec", "-d", "bench.monitor", "--raw", "--format=s16le", "--channels=1",
                      "--rate=44100", "--latency-msec=10"},
                     ends[1]);
        close(ends[1]);
        fd_ = ends[0];
        thread_ = std::thread([this] { listen(); });
    }
    ~Listener() {
        end(pid_);
        if (thread_.joinable()) thread_.join();
        close(fd_);
    }
    void arm() {
        heard_ = false;
        armed_ = true;
    }
    // Waits for the first sound after arm(); seconds, or -1 on timeout.
    double waitForSound(Clock::time_point since, int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!heard_ && Clock::now() < deadline)
            spin(2);
        armed_ = false;
        if (!heard_) return -1;
        return std::chrono::duration<double>(heardAt_.load() - since).count();
    }
    bool silentFor(int ms) {
        const auto until = Clock::now() + std::chrono::milliseconds(ms);
        lastLoud_ = Clock::time_point{};
        while (Clock::now() < until)
            spin(10);
        return lastLoud_.load() == Clock::time_point{};
    }

private:
    void listen() {
        std::vector<qint16> chunk(441);
        for (;;) {
            const ssize_t got = read(fd_, chunk.data(), chunk.size() * sizeof(qint16));
            if (got <= 0) return;
            const auto now = Clock::now();
            bool loud = false;
            for (ssize_t i = 0; i < got / 2; ++i)
                loud |= std::abs(chunk[static_cast<std::size_t>(i)]) > 1000;
            if (!loud) continue;
            lastLoud_ = now;
            if (armed_ && !heard_) {
                heardAt_ = now;
                heard_ = true;
            }
        }
    }
    pid_t pid_ = 0;
    int fd_ = -1;
    std::thread thread_;
    std::atomic<bool> armed_{false}, heard_{false};
    std::atomic<Clock::time_point> heardAt_{}, lastLoud_{};
};

struct Device {
    MCIDEVICEID id = 0;
    bool open(const QString& file) {
        MciOpenParms parms;
        parms.elementName = QFile::encodeName(file).toStdString();
        const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, parms);
        id = parms.deviceId;
        return error == MCIERR_NONE;
    }
    void play() { mciSendCommandA(id, MCI_PLAY, MCI_FLAGS_NONE); }
    void close() {
        if (id) mciSendCommandA(id, MCI_CLOSE, MCI_WAIT);
        id = 0;
    }
};

void report(const char* what, const std::vector<double>& seconds) {
    if (seconds.empty()) return;
    std::printf("  %-34s median %6.0f ms   min %6.0f   max %6.0f   (%zu runs)\n", what,
                median(seconds) * 1000, *std::min_element(seconds.begin(), seconds.end()) * 1000,
                *std::max_element(seconds.begin(), seconds.end()) * 1000, seconds.size());
}

int firstSound(const QString& file, int runs) {
    SoundServer server;
    if (!server.ready()) return std::fprintf(stderr, "no PulseAudio server\n"), 1;
    Listener listener;
    spin(500);
    std::vector<double> gstPlay, firstClick, laterClick;
    Device device;
    for (int i = 0; i < runs; ++i) {
        // gst-play-1.0: from exec to its first sound.
        listener.arm();
        auto t0 = Clock::now();
        const pid_t player = spawn({"gst-play-1.0", "--no-interactive", "-q", file.toStdString()});
        if (const double s = listener.waitForSound(t0, 10000); s >= 0) gstPlay.push_back(s);
        end(player);
        listener.silentFor(400);

        // The first click: no host runs yet (the layer starts afresh).
        device.close();
        MciLayer::shutdown();
        listener.arm();
        t0 = Clock::now();
        if (device.open(file)) device.play();
        if (const double s = listener.waitForSound(t0, 10000); s >= 0) firstClick.push_back(s);
        listener.silentFor(0);

        // A later click, as the play sequence does it: close, open, play.
        device.close();
        listener.silentFor(400);
        listener.arm();
        t0 = Clock::now();
        device.close();
        if (device.open(file)) device.play();
        if (const double s = listener.waitForSound(t0, 10000); s >= 0) laterClick.push_back(s);
        device.close();
        listener.silentFor(400);
    }
    std::printf("Click to first sound (320 kbit/s MP3, PulseAudio null sink):\n");
    report("gst-play-1.0, exec to sound", gstPlay);
    report("first click (host starts)", firstClick);
    report("later click (warm host)", laterClick);
    if (!gstPlay.empty() && !firstClick.empty() && !laterClick.empty())
        std::printf("  ratios to gst-play-1.0: first %.2f, later %.2f\n",
                    median(firstClick) / median(gstPlay), median(laterClick) / median(gstPlay));
    MciLayer::shutdown();
    return 0;
}

int cpu(const QString& file, int seconds) {
    SoundServer server;
    if (!server.ready()) return std::fprintf(stderr, "no PulseAudio server\n"), 1;
    const auto measure = [&](pid_t pid, pid_t other) {
        spin(1500); // past the start
        const double a = cpuSeconds(pid), b = cpuSeconds(other), s = cpuSeconds(server.pid());
        spin(seconds * 1000);
        return std::array<double, 3>{(cpuSeconds(pid) - a) / seconds * 100,
                                     other ? (cpuSeconds(other) - b) / seconds * 100 : 0,
                                     (cpuSeconds(server.pid()) - s) / seconds * 100};
    };
    const pid_t player = spawn({"gst-play-1.0", "--no-interactive", "-q", file.toStdString()});
    const auto theirs = measure(player, 0);
    end(player);

    Device device;
    device.open(file);
    device.play();
    const auto ours = measure(MciLayer::existing()->hostOf(device.id), getpid());
    device.close();
    MciLayer::shutdown();

    std::printf("CPU while playing a 320 kbit/s MP3 (%% of one core, over %d s):\n", seconds);
    std::printf("  gst-play-1.0                 %5.2f %%   (sound server %5.2f %%)\n", theirs[0],
                theirs[2]);
    std::printf("  media host + program         %5.2f %% + %.2f %%   (sound server %5.2f %%)\n",
                ours[0], ours[1], ours[2]);
    if (theirs[0] > 0) std::printf("  ratio %.2f\n", (ours[0] + ours[1]) / theirs[0]);
    return 0;
}

int cycles(const QString& file, int count) {
    Device device;
    QElapsedTimer clock;
    clock.start();
    std::printf("Open, play, close cycles on %s:\n", qPrintable(QFileInfo(file).fileName()));
    std::printf("  %6s %12s %12s %10s\n", "cycle", "program kB", "host kB", "ms/cycle");
    qint64 last = 0;
    for (int i = 1; i <= count; ++i) {
        if (!device.open(file)) return std::fprintf(stderr, "open failed at %d\n", i), 1;
        device.play();
        const pid_t host = MciLayer::existing()->hostOf(device.id);
        const long hostKb = i % 100 == 0 || i == 1 ? rssKb(host) : 0;
        device.close();
        QCoreApplication::processEvents();
        if (i % 100 == 0 || i == 1) {
            std::printf("  %6d %12ld %12ld %10.1f\n", i, rssKb(getpid()), hostKb,
                        double(clock.elapsed() - last) / (i == 1 ? 1 : 100));
            std::fflush(stdout);
            last = clock.elapsed();
        }
    }
    MciLayer::shutdown();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    QTemporaryDir dir;
    if (command == "first-sound") return firstSound(makeMp3(dir, 10), args.value(2, "11").toInt());
    if (command == "cpu") return cpu(makeMp3(dir, 30), args.value(2, "10").toInt());
    if (command == "cycles") return cycles(makeMp3(dir, 2), args.value(2, "1000").toInt());
    std::fprintf(stderr,
                 "usage: bench_media first-sound [runs] | cpu [seconds] | cycles [count]\n");
    return 2;
}
