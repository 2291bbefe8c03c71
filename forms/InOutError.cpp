#include "forms/InOutError.h"

#include <cerrno>

namespace {

struct NamedCode {
    int code;
    const char* text;
};
constexpr NamedCode kNamedCodes[] = {
    {2, "File not found"},          {3, "Invalid filename"},          {4, "Too many open files"},
    {5, "File access denied"},      {100, "Read beyond end of file"}, {101, "Disk full"},
    {106, "Invalid numeric input"},
};

// errno values that have a named code. Any other errno value is its own code,
// shown as "I/O error <errno>", so the number a user reports is the system's.
// An unnamed errno whose number equals a named code (ESRCH 3, EIO 5, ENETDOWN
// 100, ENETUNREACH 101, EISCONN 106) would read as that code's text; it is
// reported as 1000 + errno instead ("I/O error 1005" for EIO).
struct ErrnoCode {
    int errnoValue;
    int code;
};
constexpr ErrnoCode kErrnoCodes[] = {
    {ENOENT, 2},       // no such file or folder
    {ENOTDIR, 3},      // a file stands where a folder is expected
    {ENAMETOOLONG, 3}, // a name or path beyond the system's limits
    {EINVAL, 3},       // an argument the system rejects (a malformed name)
    {ELOOP, 3},        // symbolic links that lead round in a circle
    {EILSEQ, 3},       // a name the file system cannot store
    {EMFILE, 4},       // this process's descriptors used up
    {ENFILE, 4},       // the system's descriptors used up
    {EACCES, 5},       // permission denied
    {EPERM, 5},        // operation not permitted
    {EROFS, 5},        // read-only file system
    {ENOSPC, 101},     // no room left on the device
    {EDQUOT, 101},     // the user's quota used up
};
constexpr int kCollisionOffset = 1000;

const char* NamedText(int code) {
    for (const NamedCode& named : kNamedCodes)
        if (named.code == code) return named.text;
    return nullptr;
}

} // namespace

QString InOutErrorMessage(int code) {
    if (const char* text = NamedText(code)) return QString::fromLatin1(text);
    return QStringLiteral("I/O error %1").arg(code);
}

int InOutErrorCode(int errnoValue) {
    for (const ErrnoCode& entry : kErrnoCodes)
        if (entry.errnoValue == errnoValue) return entry.code;
    return NamedText(errnoValue) ? kCollisionOffset + errnoValue : errnoValue;
}
