// The file-open dialog: the rules of its answer, its settings, and the real
// dialog driven through its widgets with keys and mouse clicks while Execute
// runs its modal loop.

#include "forms/Exceptions.h"
#include "forms/OpenDialogAnswer.h"
#include "forms/OpenDialogFilter.h"
#include "forms/OpenDialogWindow.h"
#include "forms/TOpenDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

Q_DECLARE_METATYPE(LayoutValue)

namespace {

const QString programFilter = QStringLiteral(
    "Всі файли які підтримуються програмою|*.mp3; *.wav; *.midi; *.wma; *.avi; *.mp1; *.mp2; *.ra");

void touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

// Runs `script` on the next file-open dialog that comes up, from inside its
// modal loop. A failing script has the dialog cancelled, and no dialog stays
// up longer than a few seconds, so no test waits for ever.
void driveNextDialog(std::function<void(OpenDialogWindow&)> script) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, script] {
        auto* window = dynamic_cast<OpenDialogWindow*>(QApplication::activeModalWidget());
        if ((!window || !window->isVisible()) && ++*tries < 500) return;
        poll->stop();
        poll->deleteLater();
        if (!window) return;
        script(*window);
        if (!window->isVisible()) return;
        if (QTest::currentTestFailed()) {
            window->reject();
        } else {
            // A script may leave the dialog up on purpose for a while; never for ever.
            QTimer::singleShot(5000, window, [window] {
                qWarning("dialog left open by a test script: cancelled");
                window->reject();
            });
        }
    });
    poll->start(10);
}

// Types text as key presses carrying that text (Cyrillic included).
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void typeIntoNameBox(OpenDialogWindow& w, const QString& text) {
    w.NameEdit()->clear();
    typeText(w.NameEdit(), text);
}

QStringList shownEntries(const OpenDialogWindow& w) {
    QStringList names;
    const QAbstractItemModel* model = w.View()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

QModelIndex entryIndex(const OpenDialogWindow& w, const QString& name) {
    const QAbstractItemModel* model = w.View()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == name) return model->index(row, 0);
    return {};
}

void clickEntry(OpenDialogWindow& w, const QString& name, Qt::KeyboardModifiers modifiers = {}) {
    const QModelIndex index = entryIndex(w, name);
    QVERIFY2(index.isValid(), qPrintable(name));
    w.View()->scrollTo(index);
    QTest::mouseClick(w.View()->viewport(), Qt::LeftButton, modifiers,
                      w.View()->visualRect(index).center());
}

// Sent to the window, as the window system does, so that the toolkit itself
// makes the double click out of two presses.
void doubleClickEntry(OpenDialogWindow& w, const QString& name) {
    const QModelIndex index = entryIndex(w, name);
    QVERIFY2(index.isValid(), qPrintable(name));
    w.View()->scrollTo(index);
    const QPoint at = w.View()->viewport()->mapTo(&w, w.View()->visualRect(index).center());
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, at);
}

TOpenDialog* newProgramDialog() {
    auto* d = new TOpenDialog(nullptr);
    d->FileName = QStringLiteral("Пісня № ...");
    d->Filter = programFilter;
    d->FilterIndex = 0;
    d->Options = {ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing, ofDontAddToRecent};
    return d;
}

// A stand-in for the player window: counts its paint events and clicks.
class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::yellow);
    }
};

} // namespace

class OpenDialogTest : public QObject {
    Q_OBJECT
public:
    explicit OpenDialogTest(QString home) : home_(std::move(home)) {}

private slots:
    void initTestCase();
    void init();

    void answer_data();
    void answer();
    void nameBox_data();
    void nameBox();
    void filter();
    void patterns_data();
    void patterns();
    void settings_data();
    void settings();
    void topLeft_data();
    void topLeft();

    void firstUse();
    void startFolder_data();
    void startFolder();
    void typedName_data();
    void typedName();
    void nextUseStartsAtChosenPath();
    void typedFolder();
    void typedWildcard();
    void walkFolders();
    void multiSelection();
    void overLongAnswer();
    void cancel_data();
    void cancel();
    void options();
    void placement();
    void modalWhileTimersAndPaintingGoOn();

    void writesNoFile(); // last: it looks at what all the others left behind

private:
    QString home_;
    QTemporaryDir tree_;
    QString root_;
    QString many_;
    std::unique_ptr<TOpenDialog> dialog_;
};

void OpenDialogTest::initTestCase() {
    QVERIFY(tree_.isValid());
    root_ = QDir::cleanPath(tree_.path());
    for (const char* name : {"a.mp3", "b.MP3", "c.wav", "notes.txt", ".hidden.mp3"})
        touch(root_ + u'/' + QLatin1String(name));
    touch(root_ + QStringLiteral("/Пісня.mp3"));
    QVERIFY(QDir(root_).mkpath(QStringLiteral("sub/deeper")));
    touch(root_ + QStringLiteral("/sub/inner.mp3"));
    // Enough long names that selecting them all exceeds the answer limit.
    many_ = root_ + QStringLiteral("/many");
    QVERIFY(QDir().mkpath(many_));
    for (int i = 0; i < 300; ++i)
        touch(many_ +
              QStringLiteral("/%1%2.mp3").arg(i, 3, 10, QLatin1Char('0')).arg(QString(220, u'x')));
    QVERIFY(QDir::setCurrent(root_));
}

void OpenDialogTest::init() {
    QVERIFY(QDir::setCurrent(root_));
    dialog_.reset(newProgramDialog());
}

// ---- The answer: folder and names to full paths -------------------------------------------

void OpenDialogTest::answer_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("one name") << "/m" << QStringList{"a.mp3"} << true << QStringList{"/m/a.mp3"};
    QTest::newRow("several, dialog order kept")
        << "/m" << QStringList{"b.mp3", "a.mp3"} << true << QStringList{"/m/b.mp3", "/m/a.mp3"};
    QTest::newRow("full path taken as it is")
        << "/m" << QStringList{"/x/y.mp3", "a.mp3"} << true << QStringList{"/x/y.mp3", "/m/a.mp3"};
    QTest::newRow("root folder: one separator")
        << "/" << QStringList{"a.mp3"} << true << QStringList{"/a.mp3"};
    QTest::newRow("folder ending in /")
        << "/m/" << QStringList{"a.mp3"} << true << QStringList{"/m/a.mp3"};
    QTest::newRow("relative name with folders")
        << "/m" << QStringList{"s/../a.mp3"} << true << QStringList{"/m/s/../a.mp3"};
    QTest::newRow("no name") << "/m" << QStringList{} << false << QStringList{};
    // "/m", NUL, the name, NUL, final NUL: 2 + 1 + n + 1 + 1 characters.
    QTest::newRow("exactly at the limit") << "/m" << QStringList{QString(65514, u'n')} << true
                                          << QStringList{"/m/" + QString(65514, u'n')};
    QTest::newRow("one over the limit")
        << "/m" << QStringList{QString(65515, u'n')} << false << QStringList{};
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QString(220, QChar(u'a' + i % 26));
    QTest::newRow("many long names") << "/m" << many << false << QStringList{};
}

void OpenDialogTest::answer() {
    QFETCH(QString, folder);
    QFETCH(QStringList, names);
    QFETCH(bool, ok);
    QFETCH(QStringList, paths);
    const std::optional<QStringList> result = ResolveOpenDialogAnswer(folder, names);
    QCOMPARE(result.has_value(), ok);
    if (ok) QCOMPARE(*result, paths);
}

void OpenDialogTest::nameBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain name") << "a.mp3" << QStringList{"a.mp3"};
    QTest::newRow("spaces kept") << " my song .mp3" << QStringList{" my song .mp3"};
    QTest::newRow("quoted names") << R"("a.mp3" "b c.mp3")" << QStringList{"a.mp3", "b c.mp3"};
    QTest::newRow("one quoted name") << R"("b c.mp3")" << QStringList{"b c.mp3"};
    QTest::newRow("unclosed last quote") << R"("a.mp3" "b)" << QStringList{"a.mp3", "b"};
    QTest::newRow("quote inside a name") << R"(say "hi".mp3)" << QStringList{R"(say "hi".mp3)"};
    QTest::newRow("empty quotes") << R"("")" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void OpenDialogTest::nameBox() {
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QCOMPARE(SplitNameBox(text), names);
    if (names.size() > 1) QCOMPARE(SplitNameBox(JoinNameBox(names)), names);
}

void OpenDialogTest::filter() {
    const QList<OpenDialogFilterEntry> program = ParseOpenDialogFilter(programFilter);
    QCOMPARE(program.size(), 1);
    QCOMPARE(program[0].description, QStringLiteral("Всі файли які підтримуються програмою"));
    QCOMPARE(program[0].patterns,
             (QStringList{"*.mp3", "*.wav", "*.midi", "*.wma", "*.avi", "*.mp1", "*.mp2", "*.ra"}));

    const QList<OpenDialogFilterEntry> two = ParseOpenDialogFilter("A|*.a|B|*.b;*.c ;;");
    QCOMPARE(two.size(), 2);
    QCOMPARE(two[1].patterns, (QStringList{"*.b", "*.c"}));
    QCOMPARE(ParseOpenDialogFilter("A|*.a|B").size(), 1); // description without patterns
    QVERIFY(ParseOpenDialogFilter("").isEmpty());
}

void OpenDialogTest::patterns_data() {
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    const QStringList audio{"*.mp3", "*.wav"};
    QTest::newRow("listed") << audio << "a.mp3" << true;
    QTest::newRow("letter case") << audio << "B.MP3" << true;
    QTest::newRow("Cyrillic name") << audio << "Пісня.WAV" << true;
    QTest::newRow("other type") << audio << "a.mp3.txt" << false;
    QTest::newRow("brackets are letters") << QStringList{"[a].mp3"} << "[a].mp3" << true;
    QTest::newRow("brackets no class") << QStringList{"[a].mp3"} << "a.mp3" << false;
    QTest::newRow("*.* shows all") << QStringList{"*.*"} << "README" << true;
    QTest::newRow("no patterns shows all") << QStringList{} << "README" << true;
}

void OpenDialogTest::patterns() {
    QFETCH(QStringList, patterns);
    QFETCH(QString, name);
    QFETCH(bool, shown);
    QCOMPARE(OpenDialogPatterns(patterns).Matches(name), shown);
}

// ---- Stored settings -----------------------------------------------------------------------

namespace {
LayoutValue str(const QString& s) {
    return {LayoutValue::Kind::String, 0, s, {}};
}
LayoutValue num(qint64 n) {
    return {LayoutValue::Kind::Integer, n, {}, {}};
}
LayoutValue set(const QStringList& items) {
    return {LayoutValue::Kind::Set, 0, {}, items};
}
} // namespace

void OpenDialogTest::settings_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<LayoutValue>("value");
    QTest::addColumn<QString>("outcome"); // "taken", "unknown" or "bad value"
    QTest::newRow("FileName") << "FileName" << str("Пісня № ...") << "taken";
    QTest::newRow("Filter") << "Filter" << str(programFilter) << "taken";
    QTest::newRow("FilterIndex") << "FilterIndex" << num(0) << "taken";
    QTest::newRow("Title") << "Title" << str("Вибір") << "taken";
    QTest::newRow("InitialDir") << "InitialDir" << str("/tmp") << "taken";
    QTest::newRow("DefaultExt") << "DefaultExt" << str("mp3") << "taken";
    QTest::newRow("Options") << "Options"
                             << set({"ofHideReadOnly", "ofAllowMultiSelect", "ofEnableSizing",
                                     "ofDontAddToRecent"})
                             << "taken";
    QTest::newRow("Options, others")
        << "Options" << set({"ofNoChangeDir", "ofFileMustExist"}) << "taken";
    QTest::newRow("Options, empty") << "Options" << set({}) << "taken";
    QTest::newRow("Left") << "Left" << num(168) << "taken";
    QTest::newRow("Top") << "Top" << num(24) << "taken";
    QTest::newRow("unknown property") << "Caption" << str("x") << "unknown";
    QTest::newRow("unknown option") << "Options" << set({"ofHideReadOnly", "ofFly"}) << "bad value";
    QTest::newRow("Options not a set") << "Options" << str("ofHideReadOnly") << "bad value";
    QTest::newRow("FileName not a text") << "FileName" << num(1) << "bad value";
    QTest::newRow("FilterIndex not a number") << "FilterIndex" << str("1") << "bad value";
}

void OpenDialogTest::settings() {
    QFETCH(QString, name);
    QFETCH(LayoutValue, value);
    QFETCH(QString, outcome);
    TOpenDialog d(nullptr);
    try {
        const bool taken = d.SetProperty(name, value);
        QCOMPARE(taken ? QStringLiteral("taken") : QStringLiteral("unknown"), outcome);
    } catch (const ELayoutValueError& e) {
        QVERIFY2(!e.reason.isEmpty(), "an error says why");
        QCOMPARE(QStringLiteral("bad value"), outcome);
        return;
    }
    if (outcome != QLatin1String("taken")) return;
    if (name == QLatin1String("FileName")) QCOMPARE(d.FileName, value.text);
    if (name == QLatin1String("Filter")) QCOMPARE(d.Filter, value.text);
    if (name == QLatin1String("FilterIndex")) QCOMPARE(qint64(d.FilterIndex), value.integer);
    if (name == QLatin1String("Title")) QCOMPARE(d.Title, value.text);
    if (name == QLatin1String("InitialDir")) QCOMPARE(d.InitialDir, value.text);
    if (name == QLatin1String("DefaultExt")) QCOMPARE(d.DefaultExt, value.text);
    if (name == QLatin1String("Options")) {
        QCOMPARE(d.Options.size(), size_t(value.items.size()));
        for (const QString& item : value.items)
            QVERIFY(d.Options.contains(TOpenOption(TOpenDialog::OptionFromName(item))));
    }
}

void OpenDialogTest::topLeft_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("plain screen") << QRect(0, 0, 800, 600) << QSize(560, 380) << QPoint(120, 73);
    QTest::newRow("panel on top, second monitor")
        << QRect(1920, 30, 1280, 994) << QSize(560, 380) << QPoint(2280, 234);
    QTest::newRow("taller than the screen")
        << QRect(0, 20, 800, 300) << QSize(560, 400) << QPoint(120, 20);
}

void OpenDialogTest::topLeft() {
    QFETCH(QRect, available);
    QFETCH(QSize, frame);
    QFETCH(QPoint, topLeft);
    QCOMPARE(OpenDialogTopLeft(available, frame), topLeft);
}

// ---- The real dialog -----------------------------------------------------------------------

void OpenDialogTest::firstUse() {
    bool seen = false;
    driveNextDialog([&](OpenDialogWindow& w) {
        seen = true;
        QCOMPARE(w.windowTitle(), QStringLiteral("Відкрити"));
        QCOMPARE(w.Folder(), root_); // no folder given: the working folder
        QCOMPARE(w.NameEdit()->text(), QStringLiteral("Пісня № ..."));
        QCOMPARE(w.TypeCombo()->count(), 1);
        QCOMPARE(w.TypeCombo()->currentText(),
                 QStringLiteral("Всі файли які підтримуються програмою"));
        // Folders first, then the files the patterns admit; no hidden names.
        QCOMPARE(shownEntries(w),
                 (QStringList{"many", "sub", "a.mp3", "b.MP3", "c.wav", "Пісня.mp3"}));
        QCOMPARE(w.View()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!w.ReadOnlyBox());
        // The box's first text is selected: typing replaces it.
        QCOMPARE(w.NameEdit()->selectedText(), w.NameEdit()->text());
        QTest::keyClicks(w.NameEdit(), "c.wav");
        QCOMPARE(w.NameEdit()->text(), QStringLiteral("c.wav"));
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QVERIFY(seen);
    QCOMPARE(dialog_->FileName, root_ + "/c.wav");
    QCOMPARE(dialog_->Files, QStringList{root_ + "/c.wav"});
    QCOMPARE(dialog_->FilterIndex, 1);
}

void OpenDialogTest::startFolder_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("initialDir");
    QTest::addColumn<QString>("folder"); // below the tree's root, "" for the root
    QTest::addColumn<QString>("box");
    QTest::newRow("name only") << "Пісня № ..."
                               << ""
                               << ""
                               << "Пісня № ...";
    QTest::newRow("full path") << "@/sub/inner.mp3"
                               << ""
                               << "/sub"
                               << "inner.mp3";
    QTest::newRow("missing file, folder exists") << "@/sub/gone.mp3"
                                                 << ""
                                                 << "/sub"
                                                 << "gone.mp3";
    QTest::newRow("relative path") << "sub/inner.mp3"
                                   << ""
                                   << "/sub"
                                   << "inner.mp3";
    QTest::newRow("missing folder: whole text, working folder") << "/no/such/folder/x.mp3"
                                                                << ""
                                                                << ""
                                                                << "/no/such/folder/x.mp3";
    QTest::newRow("start folder") << "x.mp3"
                                  << "@/sub/deeper"
                                  << "/sub/deeper"
                                  << "x.mp3";
    QTest::newRow("file's folder before start folder") << "@/sub/inner.mp3"
                                                       << "@/many"
                                                       << "/sub"
                                                       << "inner.mp3";
    QTest::newRow("missing start folder") << "x.mp3"
                                          << "/no/such"
                                          << ""
                                          << "x.mp3";
}

void OpenDialogTest::startFolder() {
    QFETCH(QString, fileName);
    QFETCH(QString, initialDir);
    QFETCH(QString, folder);
    QFETCH(QString, box);
    dialog_->FileName = fileName.replace(u'@', root_);
    dialog_->InitialDir = initialDir.replace(u'@', root_);
    QString shownFolder, shownBox;
    driveNextDialog([&](OpenDialogWindow& w) {
        shownFolder = w.Folder();
        shownBox = w.NameEdit()->text();
        QTest::keyClick(w.NameEdit(), Qt::Key_Escape);
    });
    QVERIFY(!dialog_->Execute());
    QCOMPARE(shownFolder, root_ + folder);
    QCOMPARE(shownBox, box);
}

void OpenDialogTest::typedName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("file of the folder") << "a.mp3"
                                        << "@/a.mp3";
    QTest::newRow("Cyrillic name") << "Пісня.mp3"
                                   << "@/Пісня.mp3";
    QTest::newRow("missing file, as typed") << "missing.mp3"
                                            << "@/missing.mp3";
    QTest::newRow("in a subfolder") << "sub/inner.mp3"
                                    << "@/sub/inner.mp3";
    QTest::newRow("full path of a missing folder") << "/nowhere/at/all.mp3"
                                                   << "/nowhere/at/all.mp3";
    QTest::newRow("untouched first text") << ""
                                          << "@/Пісня № ...";
    QTest::newRow("name with ; and brackets") << "[a];b.mp3"
                                              << "@/[a];b.mp3";
    QTest::newRow("one quoted name") << "\"a b.mp3\""
                                     << "@/a b.mp3";
}

void OpenDialogTest::typedName() {
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    driveNextDialog([&](OpenDialogWindow& w) {
        if (!typed.isEmpty()) typeIntoNameBox(w, typed);
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->FileName, chosen.replace(u'@', root_));
    QCOMPARE(dialog_->Files, QStringList{dialog_->FileName});
}

void OpenDialogTest::nextUseStartsAtChosenPath() {
    driveNextDialog([&](OpenDialogWindow& w) {
        typeIntoNameBox(w, "sub/inner.mp3");
        QTest::mouseClick(w.OpenButton(), Qt::LeftButton);
    });
    QVERIFY(dialog_->Execute());
    QString shownFolder, shownBox;
    driveNextDialog([&](OpenDialogWindow& w) {
        shownFolder = w.Folder();
        shownBox = w.NameEdit()->text();
        QTest::keyClick(w.NameEdit(), Qt::Key_Return); // takes the same file again
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(shownFolder, root_ + "/sub");
    QCOMPARE(shownBox, QStringLiteral("inner.mp3"));
    QCOMPARE(dialog_->FileName, root_ + "/sub/inner.mp3");
}

void OpenDialogTest::typedFolder() {
    driveNextDialog([&](OpenDialogWindow& w) {
        typeIntoNameBox(w, "sub");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Folder(), root_ + "/sub");
        QCOMPARE(shownEntries(w), (QStringList{"deeper", "inner.mp3"}));
        QCOMPARE(w.NameEdit()->text(), QString());

        typeIntoNameBox(w, "../many/");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QCOMPARE(w.Folder(), many_);

        typeIntoNameBox(w, root_ + "/sub/deeper");
        QTest::mouseClick(w.OpenButton(), Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Folder(), root_ + "/sub/deeper");
        QVERIFY(shownEntries(w).isEmpty());
        QVERIFY(w.StatusText().isEmpty());

        // A file in place of a folder: answered as a file name below it.
        typeIntoNameBox(w, root_ + "/a.mp3/x.mp3");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->FileName, root_ + "/a.mp3/x.mp3");
}

void OpenDialogTest::typedWildcard() {
    driveNextDialog([&](OpenDialogWindow& w) {
        typeIntoNameBox(w, "*.wav");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Folder(), root_);
        QCOMPARE(shownEntries(w), (QStringList{"many", "sub", "c.wav"}));
        QCOMPARE(w.NameEdit()->text(), QStringLiteral("*.wav"));

        typeIntoNameBox(w, "?.MP3");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QCOMPARE(shownEntries(w), (QStringList{"many", "sub", "a.mp3", "b.MP3"}));

        typeIntoNameBox(w, "*.txt"); // beyond the file types: the typed pattern rules
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QCOMPARE(shownEntries(w), (QStringList{"many", "sub", "notes.txt"}));

        typeIntoNameBox(w, "sub/*.mp3"); // a folder in front is entered first
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QCOMPARE(w.Folder(), root_ + "/sub");
        QCOMPARE(shownEntries(w), (QStringList{"deeper", "inner.mp3"}));
        QCOMPARE(w.NameEdit()->text(), QStringLiteral("*.mp3"));

        typeIntoNameBox(w, "/no/such/*.mp3"); // a folder that is not there: stays
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Folder(), root_ + "/sub");
        QVERIFY(w.StatusText().contains("/no/such"));
        QTest::mouseClick(w.CancelButton(), Qt::LeftButton);
    });
    QVERIFY(!dialog_->Execute());
    QCOMPARE(dialog_->FileName, QStringLiteral("Пісня № ..."));
}

void OpenDialogTest::walkFolders() {
    driveNextDialog([&](OpenDialogWindow& w) {
        doubleClickEntry(w, "sub");
        QCOMPARE(w.Folder(), root_ + "/sub");

        // Backspace goes up and keeps the folder left as the current entry.
        w.View()->setFocus();
        QTest::keyClick(w.View(), Qt::Key_Backspace);
        QCOMPARE(w.Folder(), root_);
        QCOMPARE(w.View()->currentIndex().data().toString(), QStringLiteral("sub"));

        // Enter on a folder enters it and confirms nothing.
        QTest::keyClick(w.View(), Qt::Key_Return);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Folder(), root_ + "/sub");

        QTest::mouseClick(w.UpButton(), Qt::LeftButton);
        QTest::mouseClick(w.UpButton(), Qt::LeftButton);
        QCOMPARE(w.Folder(), QDir::cleanPath(root_ + "/.."));
        typeIntoNameBox(w, "/");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QCOMPARE(w.Folder(), QStringLiteral("/"));
        QVERIFY(!w.UpButton()->isEnabled());

        // Back down, and a double click on a file confirms it.
        typeIntoNameBox(w, root_);
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        doubleClickEntry(w, "b.MP3");
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->FileName, root_ + "/b.MP3");
}

void OpenDialogTest::multiSelection() {
    QString box;
    driveNextDialog([&](OpenDialogWindow& w) {
        clickEntry(w, "c.wav");
        clickEntry(w, "a.mp3", Qt::ControlModifier);
        clickEntry(w, "sub", Qt::ControlModifier); // a folder in the selection is no answer
        clickEntry(w, "b.MP3", Qt::ControlModifier);
        box = w.NameEdit()->text();
        QTest::mouseClick(w.OpenButton(), Qt::LeftButton);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(box, QStringLiteral("\"a.mp3\" \"b.MP3\" \"c.wav\""));
    QCOMPARE(dialog_->Files, (QStringList{root_ + "/a.mp3", root_ + "/b.MP3", root_ + "/c.wav"}));
    QCOMPARE(dialog_->FileName, root_ + "/a.mp3"); // the first is taken

    // Names typed in quotes answer together too, and Enter in the list confirms.
    driveNextDialog([&](OpenDialogWindow& w) {
        typeIntoNameBox(w, "\"c.wav\" \"/x/y.mp3\"");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->Files, (QStringList{root_ + "/c.wav", "/x/y.mp3"}));
    QCOMPARE(dialog_->FileName, root_ + "/c.wav");
}

void OpenDialogTest::overLongAnswer() {
    dialog_->FileName = many_ + "/keep.mp3";
    dialog_->Files = QStringList{"before"};
    bool allSelected = false;
    driveNextDialog([&](OpenDialogWindow& w) {
        QCOMPARE(w.Folder(), many_);
        w.View()->setFocus();
        QTest::keyClick(w.View(), Qt::Key_A, Qt::ControlModifier);
        allSelected = w.View()->selectionModel()->selectedRows().size() == 300;
        QTest::mouseClick(w.OpenButton(), Qt::LeftButton);
    });
    QVERIFY(!dialog_->Execute());
    QVERIFY(allSelected);
    QCOMPARE(dialog_->FileName, many_ + "/keep.mp3");
    QCOMPARE(dialog_->Files, QStringList{"before"});

    // Fewer of the same names fit: 280 × 228 characters and the folder.
    driveNextDialog([&](OpenDialogWindow& w) {
        const QAbstractItemModel* model = w.View()->model();
        clickEntry(w, model->index(0, 0).data().toString());
        clickEntry(w, model->index(279, 0).data().toString(), Qt::ShiftModifier);
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->Files.size(), 280);
    QCOMPARE(dialog_->FileName, dialog_->Files.first());
    QVERIFY(dialog_->FileName.startsWith(many_ + "/000"));
}

void OpenDialogTest::cancel_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("window closed") << "close";
}

void OpenDialogTest::cancel() {
    QFETCH(QString, how);
    dialog_->Files = QStringList{"before"};
    driveNextDialog([&](OpenDialogWindow& w) {
        typeIntoNameBox(w, "a.mp3");
        clickEntry(w, "c.wav");
        if (how == "escape") QTest::keyClick(w.NameEdit(), Qt::Key_Escape);
        if (how == "button") QTest::mouseClick(w.CancelButton(), Qt::LeftButton);
        if (how == "close") w.close();
    });
    QVERIFY(!dialog_->Execute());
    QCOMPARE(dialog_->FileName, QStringLiteral("Пісня № ..."));
    QCOMPARE(dialog_->Files, QStringList{"before"});
    QCOMPARE(dialog_->FilterIndex, 0);
}

void OpenDialogTest::options() {
    // Without the program's options: one file at a time, fixed size, a
    // read-only box; hidden names on request; an extension added to a typed name.
    dialog_->Options = {ofReadOnly, ofForceShowHidden};
    dialog_->DefaultExt = "mp3";
    dialog_->Title = "Вибір пісні";
    driveNextDialog([&](OpenDialogWindow& w) {
        QCOMPARE(w.windowTitle(), QStringLiteral("Вибір пісні"));
        QCOMPARE(w.View()->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.ReadOnlyBox() && w.ReadOnlyBox()->isChecked());
        QVERIFY(shownEntries(w).contains(".hidden.mp3"));
        QTest::keyClick(w.ReadOnlyBox(), Qt::Key_Space);
        typeIntoNameBox(w, "song");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->FileName, root_ + "/song.mp3");
    QVERIFY(!dialog_->Options.contains(ofReadOnly));
    QVERIFY(!dialog_->Options.contains(ofExtensionDifferent));

    // The program's options: resizable; existence required only when asked.
    dialog_->Options = {ofHideReadOnly, ofEnableSizing, ofFileMustExist};
    driveNextDialog([&](OpenDialogWindow& w) {
        QVERIFY(w.minimumSize() != w.maximumSize());
        QVERIFY(!w.ReadOnlyBox());
        typeIntoNameBox(w, "missing.wav");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
        QVERIFY(w.isVisible());
        QVERIFY(w.StatusText().contains("missing.wav"));
        typeIntoNameBox(w, "c.wav");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialog_->FileName, root_ + "/c.wav");
    QVERIFY(dialog_->Options.contains(ofExtensionDifferent));
}

void OpenDialogTest::placement() {
    QRect frame;
    driveNextDialog([&](OpenDialogWindow& w) {
        frame = w.frameGeometry();
        QTest::keyClick(w.NameEdit(), Qt::Key_Escape);
    });
    QVERIFY(!dialog_->Execute());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(frame.isValid());
    QCOMPARE(frame.left(), available.left() + (available.width() - frame.width()) / 2);
    QCOMPARE(frame.top(), available.top() + (available.height() - frame.height()) / 3);
}

void OpenDialogTest::modalWhileTimersAndPaintingGoOn() {
    PaintCounter player;
    player.resize(200, 120);
    auto* button = new QPushButton("Play", &player);
    button->setGeometry(10, 10, 80, 30);
    int clicks = 0;
    connect(button, &QPushButton::clicked, [&] { ++clicks; });
    player.show();
    player.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&player));

    int ticks = 0;
    int paintsWhenUp = -1;
    QTimer caption;
    connect(&caption, &QTimer::timeout, [&] {
        ++ticks;
        player.update();
    });
    caption.start(20);

    bool parented = false;
    driveNextDialog([&](OpenDialogWindow& w) {
        parented = w.parentWidget() == &player;
        paintsWhenUp = player.paints;
        ticks = 0;
        // A click on the player's button while the dialog is up does nothing.
        QTest::mouseClick(player.windowHandle(), Qt::LeftButton, {}, QPoint(30, 20));
        // Leave the dialog up for a while, then close it from its own loop.
        QTimer::singleShot(400, &w, [&w] { QTest::keyClick(w.NameEdit(), Qt::Key_Return); });
    });
    QVERIFY(dialog_->Execute());
    caption.stop();
    QVERIFY(parented);
    QCOMPARE(clicks, 0);
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    QVERIFY(player.paints > paintsWhenUp);
    QVERIFY(!QApplication::activeModalWidget());

    // Once the dialog is gone the button answers again.
    QTest::mouseClick(player.windowHandle(), Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(clicks, 1);
}

void OpenDialogTest::writesNoFile() {
    // Nothing of the dialog exists before or after a use.
    auto dialogs = [] {
        int n = 0;
        for (QWidget* w : QApplication::allWidgets())
            n += dynamic_cast<OpenDialogWindow*>(w) != nullptr;
        return n;
    };
    QCOMPARE(dialogs(), 0);
    driveNextDialog([&](OpenDialogWindow& w) {
        clickEntry(w, "a.mp3");
        QTest::keyClick(w.NameEdit(), Qt::Key_Return);
    });
    QVERIFY(dialog_->Execute());
    QCOMPARE(dialogs(), 0);

    // Every test above ran its dialogs with this fresh home: it is still empty.
    QStringList written;
    QDirIterator it(home_, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        written << it.next();
    QCOMPARE(written, QStringList{});
}

// A fresh home and XDG folders before the toolkit starts, so that anything
// written there by the dialog (or the toolkit under it) is seen.
int main(int argc, char** argv) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) return 2;
    const QString home = scratch.path() + "/home";
    const QString runtime = scratch.path() + "/runtime";
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/.cache").toUtf8());
    qputenv("XDG_STATE_HOME", (home + "/.local/state").toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    QApplication app(argc, argv);
    OpenDialogTest test(home);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_opendialog.moc"
