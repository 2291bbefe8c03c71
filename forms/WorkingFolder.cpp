#include "forms/WorkingFolder.h"

#include "forms/CaseFold.h"
#include "forms/InOutError.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray CurrentFolderBytes() {
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.data());
}

// The path's bytes for the system. A NUL character would cut the path short
// there and name another file, so such a path is refused (EINVAL).
bool SystemPath(const QString& path, QByteArray& bytes) {
    if (path.contains(QChar(0))) {
        errno = EINVAL;
        return false;
    }
    bytes = QFile::encodeName(path);
    return true;
}

bool StatPath(const QString& path, struct stat& st) {
    QByteArray bytes;
    return SystemPath(path, bytes) && ::stat(bytes.constData(), &st) == 0;
}

} // namespace

QString CurrentFolder() {
    const QByteArray bytes = CurrentFolderBytes();
    if (bytes.isEmpty()) throw EInOutError(InOutErrorCode(errno));
    return QFile::decodeName(bytes);
}

void ChangeFolder(const QString& path) {
    QByteArray bytes;
    if (!SystemPath(path, bytes) || ::chdir(bytes.constData()) != 0)
        throw EInOutError(InOutErrorCode(errno));
}

bool FileExists(const QString& path) {
    struct stat st;
    return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool SamePath(const QString& a, const QString& b) {
    if (a == b) return true;
    if (!EqualIgnoringCase(a, b)) return false;
    struct stat sa, sb;
    const bool distinct =
        StatPath(a, sa) && StatPath(b, sb) && (sa.st_dev != sb.st_dev || sa.st_ino != sb.st_ino);
    return !distinct;
}

QString JoinPath(const QString& folder, QStringView name) {
    QString path = folder;
    if (!path.endsWith(u'/')) path += u'/';
    path += name;
    return path;
}

WorkingFolderKeeper::WorkingFolderKeeper() : fd_(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) path_ = CurrentFolderBytes();
}

WorkingFolderKeeper::~WorkingFolderKeeper() {
    // Nothing sensible is left to do if the way back is gone as well.
    if (fd_ >= 0) {
        [[maybe_unused]] const int rc = ::fchdir(fd_);
        ::close(fd_);
    } else if (!path_.isEmpty()) {
        [[maybe_unused]] const int rc = ::chdir(path_.constData());
    }
}
