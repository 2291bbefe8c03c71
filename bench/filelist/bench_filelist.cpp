// How fast the file list reads a big folder, against `ls -a | sort` on the
// same folder in the same run. Makes a folder of N entries (100,000 unless
// given), then times, several runs each, medians:
//   ls     sh -c 'ls -a | sort >/dev/null' in that folder
//   read   the list reading it with the mask "*"
//   apply  the list, elsewhere with its stored mask, given the path of one
//          file there: it moves, reads, narrows its mask to the name, reads
//          again and selects the file
// Targets: read ≤ 2 × ls, apply ≤ 1.5 × ls. Exit code 1 when one is missed.

#include "forms/FileListModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 7;

// Most names plain ASCII, one in eight Cyrillic, one in a thousand a folder.
QString NameOf(int i) {
    if (i % 1000 == 999) return QString::asprintf("folder_%06d", i);
    if (i % 8 == 0) return QStringLiteral("Пісня_%1.mp3").arg(i, 6, 10, QChar(u'0'));
    return QString::asprintf("track_%06d.mp3", i);
}

bool MakeFolder(const QString& folder, int count) {
    for (int i = 0; i < count; ++i) {
        const QByteArray path = QFile::encodeName(folder + u'/' + NameOf(i));
        if (i % 1000 == 999) {
            if (::mkdir(path.constData(), 0755) != 0) return false;
            continue;
        }
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        ::close(fd);
    }
    return true;
}

double MedianMs(const std::function<void()>& prepare, const std::function<void()>& timed) {
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        timed();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;

    QTemporaryDir tmp;
    const QString big = tmp.path() + QStringLiteral("/big");
    const QString start = tmp.path() + QStringLiteral("/start");
    if (!tmp.isValid() || !QDir().mkpath(big) || !QDir().mkpath(start) || !MakeFolder(big, count)) {
        std::fprintf(stderr, "cannot make the folder of %d entries in %s\n", count,
                     qPrintable(tmp.path()));
        return 2;
    }
    const QString chosen = big + u'/' + NameOf(count / 2 - count / 2 % 8 + 1);

    const double ls =
        MedianMs([] {},
                 [&] {
                     QProcess sh;
                     sh.setWorkingDirectory(big);
                     sh.start(QStringLiteral("sh"),
                              {QStringLiteral("-c"), QStringLiteral("ls -a | sort >/dev/null")});
                     sh.waitForFinished(-1);
                 });

    int listed = 0;
    const double read = MedianMs([] {},
                                 [&] {
                                     FileListModel list;
                                     list.SetFolder(big);
                                     list.SetMask(QStringLiteral("*"));
                                     list.ReadFolder();
                                     listed = list.Count();
                                 });

    std::unique_ptr<FileListModel> list;
    const double apply = MedianMs(
        [&] {
            QDir::setCurrent(start);
            list = std::make_unique<FileListModel>();
            list->SetMask(QStringLiteral("*... Лунограй"));
            list->ReadFolder();
        },
        [&] { list->ApplyFilePath(chosen); });
    const bool applied = list->Count() == 1 && list->ItemIndex() == 0;

    const double readRatio = read / ls, applyRatio = apply / ls;
    std::printf("folder of %d entries, median of %d runs\n", count, kRuns);
    std::printf("ls -a | sort   %8.1f ms\n", ls);
    std::printf("read, mask *   %8.1f ms  %5.2f x ls  (target <= 2.00)  %d entries\n", read,
                readRatio, listed);
    std::printf("apply a path   %8.1f ms  %5.2f x ls  (target <= 1.50)  %s\n", apply, applyRatio,
                applied ? "one entry, selected" : "NOT SELECTED");
    const bool ok = applied && listed == count && readRatio <= 2.0 && applyRatio <= 1.5;
    std::printf("%s\n", ok ? "OK" : "MISSED");
    return ok ? 0 : 1;
}
