#pragma once
// The process's working folder, and the few questions the file list asks the
// file system. Paths are text here; on their way to the system they become
// bytes with QFile::encodeName (UTF-8), and names coming back are decoded with
// the same codec, bytes that are not UTF-8 becoming U+FFFD.

#include <QString>

// The working folder as the system spells it (absolute, links resolved).
// Raises EInOutError when the system cannot tell it.
QString CurrentFolder();

// Moves the working folder; raises EInOutError with the system's reason.
void ChangeFolder(const QString& path);

// Whether `path` names an existing file that is not a folder (links followed).
bool FileExists(const QString& path);

// Two paths name the same thing when their texts are equal without regard to
// letter case, unless the file system holds both as distinct objects (two
// files "A.mp3" and "a.mp3" side by side on a case-sensitive file system).
bool SamePath(const QString& a, const QString& b);

// `folder`, one "/" (none when the folder already ends in one, as the root
// does) and `name`.
QString JoinPath(const QString& folder, QStringView name);

// Notes the working folder and puts it back when it goes out of scope, also
// when an error is on its way; the folder is held open, so it comes back even
// if its path changed meanwhile.
class WorkingFolderKeeper {
public:
    WorkingFolderKeeper();
    ~WorkingFolderKeeper();
    WorkingFolderKeeper(const WorkingFolderKeeper&) = delete;
    WorkingFolderKeeper& operator=(const WorkingFolderKeeper&) = delete;

private:
    int fd_;
    QByteArray path_; // used only when the folder could not be held open
};
