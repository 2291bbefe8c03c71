// The file list's logic on real folders: the wildcard matcher, the I/O error
// texts, reading a folder, and applying a chosen path.

#include "forms/FileListModel.h"
#include "forms/InOutError.h"
#include "forms/Wildcard.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <linux/capability.h>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const QString kStoredMask = QStringLiteral("*... Лунограй");

void MakeFile(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

void MakeFolder(const QString& path) {
    QVERIFY2(QDir().mkpath(path), qPrintable(path));
}

QStringList Entries(const FileListModel& list) {
    QStringList entries;
    for (int i = 0; i < list.Count(); ++i)
        entries << list.Item(i);
    return entries;
}

QString SelectedText(const FileListModel& list) {
    return list.ItemIndex() >= 0 ? list.Item(list.ItemIndex()) : QString();
}

// The error an action raises, as "ClassName: message", or empty.
template <typename Action> QString ErrorOf(Action&& action) {
    try {
        action();
    } catch (const Exception& e) {
        return QString::fromLatin1(e.ClassName()) + QStringLiteral(": ") + e.Message();
    }
    return {};
}

// `relative` under `root`; an empty text is the root itself.
QString Under(const QString& root, const QString& relative) {
    return relative.isEmpty() ? root : root + u'/' + relative;
}

// Root passes every permission check; to meet a folder it may not enter, the
// test gives up the two capabilities behind that for a while.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutPermissionOverride() {
        if (active_) ::syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

// A folder whose permissions are taken away for a while.
class LockedFolder {
public:
    explicit LockedFolder(const QString& path) : path_(QFile::encodeName(path)) {
        ::chmod(path_.constData(), 0);
    }
    ~LockedFolder() { ::chmod(path_.constData(), 0755); }
    // Whether this process can still enter it (it can as root).
    bool Enterable() const {
        const int here = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        const bool entered = ::chdir(path_.constData()) == 0;
        if (entered) [[maybe_unused]]
            const int rc = ::fchdir(here);
        ::close(here);
        return entered;
    }

private:
    QByteArray path_;
};

// A name of 255 bytes, the longest a folder entry may have.
QString LongestName() {
    return QString(125, QChar(u'я')) + QStringLiteral("a.mp3"); // 250 + 5 bytes
}

// Names with characters that mean something elsewhere, and the longest name.
QStringList NamesOfNote() {
    return {"#1.mp3",        "100%.mp3", "[live] 1.mp3", " space 2 .mp3",
            "Пісня № 1.mp3", "-v.mp3",   LongestName()};
}

} // namespace

class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startFolder_ = QDir::currentPath(); }
    // The list moves the process's working folder; each test starts from ours.
    void cleanup() { QVERIFY(QDir::setCurrent(startFolder_)); }

    void wildcard_data();
    void wildcard();
    void errnoCodes_data();
    void errnoCodes();
    void errorTexts_data();
    void errorTexts();
    void readFolder_data();
    void readFolder();
    void settingsBeforeFirstRead();
    void undecodableNames();
    void selectionAndLine();
    void applyFilePath_data();
    void applyFilePath();

private:
    QString startFolder_;
};

void FileListTest::wildcard_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("star, any name") << "*"
                                    << "anything.mp3" << true;
    QTest::newRow("star, empty name") << "*"
                                      << "" << true;
    QTest::newRow("two stars, empty name") << "**"
                                           << "" << true;
    QTest::newRow("empty pattern, empty name") << ""
                                               << "" << true;
    QTest::newRow("empty pattern, a name") << ""
                                           << "a" << false;
    QTest::newRow("extension") << "*.mp3"
                               << "song.mp3" << true;
    QTest::newRow("extension, other case") << "*.mp3"
                                           << "Song.MP3" << true;
    QTest::newRow("upper-case pattern") << "*.MP3"
                                        << "song.mp3" << true;
    QTest::newRow("extension not at the end") << "*.mp3"
                                              << "song.mp3.bak" << false;
    QTest::newRow("star-dot-star needs a dot") << "*.*"
                                               << "readme" << false;
    QTest::newRow("star-dot-star") << "*.*"
                                   << "a.b" << true;
    QTest::newRow("star-dot-star, hidden") << "*.*"
                                           << ".hidden" << true;
    QTest::newRow("question mark") << "a?c"
                                   << "abc" << true;
    QTest::newRow("question mark is one") << "a?c"
                                          << "ac" << false;
    QTest::newRow("trailing question mark") << "song.mp?"
                                            << "song.mp3" << true;
    QTest::newRow("trailing question mark, none left") << "song.mp?"
                                                       << "song.mp" << false;
    QTest::newRow("trailing question mark, two left") << "song.mp?"
                                                      << "song.mp34" << false;
    QTest::newRow("question mark, Cyrillic letter") << "?"
                                                    << "я" << true;
    QTest::newRow("question mark, surrogate pair") << "?.txt"
                                                   << "😀.txt" << true;
    QTest::newRow("two question marks, surrogate pair") << "??.txt"
                                                        << "😀.txt" << false;
    QTest::newRow("Cyrillic, other case") << "ПІСНЯ*"
                                          << "пісня № 1.mp3" << true;
    QTest::newRow("Ukrainian ghe") << "*ґ*"
                                   << "Ґанок" << true;
    QTest::newRow("final sigma") << "ς"
                                 << "Σ" << true;
    QTest::newRow("simple folding only") << "ß"
                                         << "SS" << false;
    QTest::newRow("brackets are no set") << "[ab].mp3"
                                         << "a.mp3" << false;
    QTest::newRow("brackets are literal") << "[ab].mp3"
                                          << "[AB].MP3" << true;
    QTest::newRow("closing bracket") << "*]"
                                     << "x]" << true;
    QTest::newRow("stars in order") << "a*b*c"
                                    << "aXbYc" << true;
    QTest::newRow("stars, last part missing") << "a*b*c"
                                              << "aXbY" << false;
    QTest::newRow("star takes back") << "*x"
                                     << "xx" << true;
    QTest::newRow("many stars, long name")
        << "*a*a*a*a*a*a*a*b" << QString(2000, QChar(u'a')) << false;
    QTest::newRow("stored mask, ordinary name") << kStoredMask << "Пісня.mp3" << false;
    QTest::newRow("stored mask, other case") << kStoredMask << "x... ЛУНОГРАЙ" << true;
}

void FileListTest::wildcard() {
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(WildcardMatch(pattern, name), matches);
}

void FileListTest::errnoCodes_data() {
    QTest::addColumn<int>("errnoValue");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("ENOENT") << ENOENT << 2 << "File not found";
    QTest::newRow("ENOTDIR") << ENOTDIR << 3 << "Invalid filename";
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << 3 << "Invalid filename";
    QTest::newRow("ELOOP") << ELOOP << 3 << "Invalid filename";
    QTest::newRow("EMFILE") << EMFILE << 4 << "Too many open files";
    QTest::newRow("ENFILE") << ENFILE << 4 << "Too many open files";
    QTest::newRow("EACCES") << EACCES << 5 << "File access denied";
    QTest::newRow("EPERM") << EPERM << 5 << "File access denied";
    QTest::newRow("ENOSPC") << ENOSPC << 101 << "Disk full";
    QTest::newRow("EXDEV, its own number") << EXDEV << EXDEV << QString("I/O error %1").arg(EXDEV);
    QTest::newRow("EIO, clear of code 5")
        << EIO << 1000 + EIO << QString("I/O error %1").arg(1000 + EIO);
}

void FileListTest::errnoCodes() {
    QFETCH(int, errnoValue);
    QFETCH(int, code);
    QFETCH(QString, text);
    const EInOutError error(InOutErrorCode(errnoValue));
    QCOMPARE(error.ErrorCode(), code);
    QCOMPARE(error.Message(), text);
}

void FileListTest::errorTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("2") << 2 << "File not found";
    QTest::newRow("3") << 3 << "Invalid filename";
    QTest::newRow("4") << 4 << "Too many open files";
    QTest::newRow("5") << 5 << "File access denied";
    QTest::newRow("100") << 100 << "Read beyond end of file";
    QTest::newRow("101") << 101 << "Disk full";
    QTest::newRow("106") << 106 << "Invalid numeric input";
    QTest::newRow("other") << 32 << "I/O error 32";
}

void FileListTest::errorTexts() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(InOutErrorMessage(code), text);
}

void FileListTest::readFolder_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("entries");

    // Sorted by folded text in code-point order; equal but for case, by code units.
    QTest::newRow("everything") << "*"
                                << QStringList{" spaced.wav", ".hidden",  "[.config]", "[link]",
                                               "[sub]",       "A.txt",    "a.TXT",     "b.txt",
                                               "dangling",    "song.wav", "x.mp3",     "Пісня.mp3",
                                               "Юра.wav",     "ґанок.mp3"};
    QTest::newRow("space after semicolon stays")
        << "*.mp3; *.wav" << QStringList{" spaced.wav", "x.mp3", "Пісня.mp3", "ґанок.mp3"};
    QTest::newRow("two patterns") << "*.mp3;*.wav"
                                  << QStringList{" spaced.wav", "song.wav", "x.mp3",
                                                 "Пісня.mp3",   "Юра.wav",  "ґанок.mp3"};
    QTest::newRow("matched twice, listed once")
        << "*.MP3;x*" << QStringList{"x.mp3", "Пісня.mp3", "ґанок.mp3"};
    QTest::newRow("hidden names") << ".*" << QStringList{".hidden", "[.config]"};
    QTest::newRow("folders match by name") << "s*" << QStringList{"[sub]", "song.wav"};
    QTest::newRow("brackets are not part of the name") << "[sub]" << QStringList{};
    QTest::newRow("case of letters") << "a.txt" << QStringList{"A.txt", "a.TXT"};
    QTest::newRow("Cyrillic, other case") << "ПІСНЯ.*" << QStringList{"Пісня.mp3"};
    QTest::newRow("empty mask") << "" << QStringList{};
    QTest::newRow("stored mask") << kStoredMask << QStringList{};
}

void FileListTest::readFolder() {
    QFETCH(QString, mask);
    QFETCH(QStringList, entries);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = QDir(tmp.path()).canonicalPath();
    for (const char* name : {" spaced.wav", ".hidden", "A.txt", "a.TXT", "b.txt", "song.wav",
                             "x.mp3", "Пісня.mp3", "Юра.wav", "ґанок.mp3"})
        MakeFile(root + u'/' + QString::fromUtf8(name));
    MakeFolder(root + "/sub");
    MakeFolder(root + "/.config");
    QVERIFY(QFile::link(root + "/sub", root + "/link"));
    QVERIFY(QFile::link(root + "/nowhere", root + "/dangling"));

    FileListModel list;
    QString line;
    connect(&list, &FileListModel::LineUpdate, this, [&](const QString& text) { line = text; });
    list.SetFolder(root);
    list.SetMask(mask);
    list.ReadFolder();

    QCOMPARE(Entries(list), entries);
    QCOMPARE(list.rowCount(), entries.size());
    QCOMPARE(list.ItemIndex(), -1);
    QCOMPARE(line, mask);
    QCOMPARE(list.Folder(), root);
    QCOMPARE(QDir::currentPath(), root);
}

void FileListTest::settingsBeforeFirstRead() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    MakeFile(tmp.path() + "/a.mp3");
    FileListModel list;
    int lineUpdates = 0;
    connect(&list, &FileListModel::LineUpdate, this, [&] { ++lineUpdates; });
    list.SetMask("*");
    QCOMPARE(list.Count(), 0);
    QCOMPARE(lineUpdates, 0);
    QCOMPARE(QDir::currentPath(), startFolder_);

    list.SetFolder(tmp.path());
    list.ReadFolder();
    QCOMPARE(Entries(list), QStringList{"a.mp3"});
    QCOMPARE(lineUpdates, 1);
}

void FileListTest::undecodableNames() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QByteArray folder = QFile::encodeName(tmp.path());
    const QByteArrayList names{folder + "/bad\xff.mp3", folder + "/cut\xd0"};
    // QTemporaryDir cannot remove names it cannot decode.
    const auto removeNames = qScopeGuard([&] {
        for (const QByteArray& name : names)
            ::unlink(name.constData());
    });
    for (const QByteArray& name : names) {
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    FileListModel list;
    list.SetFolder(tmp.path());
    list.SetMask("*");
    list.ReadFolder();
    // Shown with U+FFFD for the bytes that are not UTF-8, one per bad byte.
    QCOMPARE(Entries(list), (QStringList{u"bad\uFFFD.mp3"_qs, u"cut\uFFFD"_qs}));

    list.SetMask("bad?.mp3");
    QCOMPARE(list.Count(), 1);
    // The decoded name leads nowhere: the list says so and stays as it was.
    const QString error = ErrorOf([&] { list.ApplyFilePath(tmp.path() + u"/bad\uFFFD.mp3"_qs); });
    QCOMPARE(error, QString("EInOutError: File not found"));
    QCOMPARE(list.Count(), 1);
}

void FileListTest::selectionAndLine() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = QDir(tmp.path()).canonicalPath();
    MakeFile(root + "/a.mp3");
    MakeFile(root + "/b.mp3");

    FileListModel list;
    QStringList lines;
    QList<int> selections;
    connect(&list, &FileListModel::LineUpdate, this, [&](const QString& t) { lines << t; });
    connect(&list, &FileListModel::ItemIndexChanged, this, [&](int i) { selections << i; });
    list.SetFolder(root);
    list.SetMask("*.mp3");
    list.ReadFolder();
    QCOMPARE(lines, QStringList{"*.mp3"});
    QCOMPARE(list.SelectedPath(), QString());

    // The user's selection: the line follows only with the line update.
    QVERIFY(list.SelectItem(1));
    QVERIFY(!list.SelectItem(1));
    QCOMPARE(selections, QList<int>{1});
    QCOMPARE(list.LastItemIndex(), -1);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(list.SelectedPath(), root + "/b.mp3");
    list.UpdateLine();
    QCOMPARE(list.LastItemIndex(), 1);
    QCOMPARE(lines.last(), QString("b.mp3"));

    QVERIFY(list.SelectItem(-1));
    list.UpdateLine();
    QCOMPARE(lines.last(), QString("*.mp3"));

    // Reading again drops the selection.
    list.SelectItem(0);
    list.ReadFolder();
    QCOMPARE(list.ItemIndex(), -1);
    QCOMPARE(selections.last(), -1);

    // In the root folder no second "/" is put between folder and entry.
    list.SetFolder("/");
    list.SetMask("tmp");
    QCOMPARE(Entries(list), QStringList{"[tmp]"});
    list.SelectItem(0);
    QCOMPARE(list.SelectedPath(), QString("/[tmp]"));
}

void FileListTest::applyFilePath_data() {
    QTest::addColumn<QStringList>("before"); // chosen first, each must succeed
    QTest::addColumn<QString>("path");       // under the tree's root; empty: no path
    QTest::addColumn<bool>("vanish");        // the file goes while the list looks for it
    QTest::addColumn<bool>("locked");        // "locked" cannot be entered
    QTest::addColumn<QString>("folder");     // expected, under the root
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("selected"); // the selected entry's text; empty: none
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("workingFolder"); // under the root
    QTest::addColumn<QString>("error");         // "{root}" stands for the root

    const QStringList none;
    const QStringList a{"music/a.mp3"};
    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

    // clang-format off
    row("first pick") << none << "music/a.mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music" << "";
    row("same folder") << a << "music/b.mp3" << false << false
        << "music" << "b.mp3" << QStringList{"b.mp3"} << "b.mp3" << "b.mp3" << "music" << "";
    row("other folder") << a << "other/c.mp3" << false << false
        << "other" << "c.mp3" << QStringList{"c.mp3"} << "c.mp3" << "c.mp3" << "other" << "";
    row("folder spelled with ..") << none << "other/../music/a.mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music" << "";
    row("same file, other case") << a << "music/A.MP3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music" << "";
    row("same file, folder in other case") << a << "MUSIC/a.mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music" << "";
    row("same Cyrillic file, other case") << QStringList{"names/Пісня № 1.mp3"}
        << "names/ПІСНЯ № 1.MP3" << false << false << "names" << "Пісня № 1.mp3"
        << QStringList{"Пісня № 1.mp3"} << "Пісня № 1.mp3" << "Пісня № 1.mp3" << "names" << "";
    row("two files differing in case") << QStringList{"case/Song.mp3"} << "case/song.mp3"
        << false << false << "case" << "Song.mp3" << QStringList{"Song.mp3", "song.mp3"}
        << "song.mp3" << "song.mp3" << "case" << "";
    row("no path") << a << "" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music" << "";
    row("typed missing name") << a << "music/missing.mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music"
        << "EInOutError: File not found";
    row("missing name in another folder") << a << "other/missing.mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music"
        << "EInOutError: File not found";
    row("missing folder") << a << "nowhere/a.mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music"
        << "EInOutError: File not found";
    row("file in place of a folder") << none << "plainfile/a.mp3" << false << false
        << "" << kStoredMask << none << "" << kStoredMask << "" << "EInOutError: Invalid filename";
    row("folder that cannot be entered") << none << "locked/inside.mp3" << false << true
        << "" << kStoredMask << none << "" << kStoredMask << "" << "EInOutError: File access denied";
    row("name too long") << a << "music/" + QString(300, u'n') + ".mp3" << false << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music"
        << "EInOutError: Invalid filename";
    row("NUL character in the name") << a << QString("music/a.mp3") + QChar(0) + "x" << false
        << false << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music"
        << "EInOutError: Invalid filename";
    row("NUL character in the folder") << a << QString("music") + QChar(0) + "/a.mp3" << false
        << false << "music" << "a.mp3" << QStringList{"a.mp3"} << "a.mp3" << "a.mp3" << "music"
        << "EInOutError: Invalid filename";
    row("semicolon: two patterns") << none << "music/x;y.mp3" << false << false
        << "music" << "x;y.mp3" << QStringList{"y.mp3"} << "" << "x;y.mp3" << "music" << "";
    row("star") << a << "music/*.MP3" << false << false << "music" << "*.MP3"
        << QStringList{"a.mp3", "b.mp3", "x;y.mp3", "y.mp3"} << "" << "*.MP3" << "music" << "";
    row("question mark") << none << "music/?.mp3" << false << false << "music" << "?.mp3"
        << QStringList{"a.mp3", "b.mp3", "y.mp3"} << "" << "?.mp3" << "music" << "";
    row("subfolder") << none << "music/sub" << false << false
        << "music/sub" << kStoredMask << none << "" << kStoredMask << "music/sub" << "";
    row("subfolder with a slash") << a << "music/sub/" << false << false
        << "music/sub" << "a.mp3" << none << "" << "a.mp3" << "music/sub" << "";
    row("vanished, same folder") << a << "music/b.mp3" << true << false
        << "music" << "a.mp3" << QStringList{"a.mp3"} << "" << "a.mp3" << "music"
        << "EInvalidFileName: Invalid file name - {root}/music/b.mp3";
    row("vanished, other folder") << a << "other/c.mp3" << true << false
        << "other" << "a.mp3" << none << "" << "a.mp3" << "other"
        << "EInvalidFileName: Invalid file name - {root}/other/c.mp3";
    // clang-format on

    for (const QString& name : NamesOfNote())
        QTest::addRow("name %s", qPrintable(name.left(20)))
            << none << "names/" + name << false << false << "names" << name << QStringList{name}
            << name << name << "names"
            << "";
}

void FileListTest::applyFilePath() {
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(bool, vanish);
    QFETCH(bool, locked);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = QDir(tmp.path()).canonicalPath();
    for (const char* folder : {"music/sub", "case", "names", "other", "locked"})
        MakeFolder(root + u'/' + QLatin1String(folder));
    for (const char* file :
         {"music/a.mp3", "music/b.mp3", "music/y.mp3", "music/x;y.mp3", "case/Song.mp3",
          "case/song.mp3", "other/c.mp3", "plainfile", "locked/inside.mp3"})
        MakeFile(root + u'/' + QLatin1String(file));
    for (const QString& name : NamesOfNote())
        MakeFile(root + "/names/" + name);
    QCOMPARE(QFile::encodeName(LongestName()).size(), 255);

    // The list starts in the root with the stored mask, as the player's does.
    QVERIFY(QDir::setCurrent(root));
    FileListModel list;
    QString line;
    connect(&list, &FileListModel::LineUpdate, this, [&](const QString& text) { line = text; });
    list.SetMask(kStoredMask);
    list.ReadFolder();
    for (const QString& earlier : before) {
        const QString error = ErrorOf([&] { list.ApplyFilePath(Under(root, earlier)); });
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    std::optional<LockedFolder> lockedFolder;
    std::optional<WithoutPermissionOverride> withoutOverride;
    if (locked) {
        lockedFolder.emplace(root + "/locked");
        if (lockedFolder->Enterable()) withoutOverride.emplace();
        if (lockedFolder->Enterable()) QSKIP("this process enters every folder");
    }
    if (vanish) {
        const QString file = Under(root, path);
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = connect(&list, &FileListModel::LineUpdate, this, [file, connection] {
            QFile::remove(file);
            disconnect(*connection);
        });
    }

    const QString raised =
        ErrorOf([&] { list.ApplyFilePath(path.isEmpty() ? QString() : Under(root, path)); });
    withoutOverride.reset();

    QFETCH(QString, folder);
    QFETCH(QString, workingFolder);
    QFETCH(QString, selected);
    QFETCH(QString, error);
    QCOMPARE(raised, error.replace(QLatin1String("{root}"), root));
    QCOMPARE(list.Folder(), Under(root, folder));
    QTEST(list.Mask(), "mask");
    QTEST(Entries(list), "entries");
    QCOMPARE(SelectedText(list), selected);
    QCOMPARE(list.SelectedPath(),
             selected.isEmpty() ? QString() : Under(root, folder) + u'/' + selected);
    QCOMPARE(list.LastItemIndex(), list.ItemIndex());
    QTEST(line, "line");
    QCOMPARE(QDir::currentPath(), Under(root, workingFolder));
}

QTEST_GUILESS_MAIN(FileListTest)
#include "tst_filelist.moc"
