// The player window's command menu and its shortcuts, over the real window
// read from its stored layout: the items, how the menu opens, how it is drawn
// and answers typed characters and both mouse buttons, which keys run which
// command and which reach the focused control, the search animation's loops,
// and the roads that end the program. Ending the program ends its event loop,
// so those run the program in a child process of this test.

#include "TestSupport.h"
#include "forms/MenuAccessKeys.h"
#include "forms/MenuItemStyle.h"
#include "forms/TApplication.h"
#include "info/Unit3.h"
#include "player/Unit1.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <cstdio>
#include <map>

namespace {

const QString startText = QStringLiteral("*... Лунограй");

QWindow* windowOf(const TForm* form) {
    return form->Widget()->windowHandle();
}

bool activate(TForm* form) {
    form->Widget()->activateWindow();
    return QTest::qWaitForWindowActive(form->Widget());
}

// A key pressed and released in a window, delivered the way the window system
// delivers it: shortcut check first, then the focused widget.
void pressKey(QWindow* window, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
    QTest::sendKeyEvent(QTest::Click, window, Qt::Key(key), text, modifiers);
}

// Ctrl and a key held down: one press, `repeats` automatic repeats, release.
void holdCtrlKey(QWindow* window, int key, int repeats) {
    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    for (int i = 0; i <= repeats; ++i)
        qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::ControlModifier, {}, i > 0);
    qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::ControlModifier);
    qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

QMenu* openMenu() {
    return Form1->PopupMenu1->OpenWindow();
}

QAction* actionNamed(QMenu* menu, const QString& name) {
    for (QAction* a : menu->actions())
        if (a->objectName() == name) return a;
    return nullptr;
}

// Notes the keys pressed in a widget.
class KeyWatch : public QObject {
public:
    QList<int> keys;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) keys << static_cast<QKeyEvent*>(e)->key();
        return false;
    }
};

// Answers every error box that opens while it lives, noting their texts.
class ErrorBoxes {
public:
    ErrorBoxes() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->windowTitle() + QLatin1Char('|') + box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

} // namespace

class MenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void animationLoops();
    void itemsAsLaidOut_data();
    void itemsAsLaidOut();
    void layoutErrors_data();
    void layoutErrors();
    void shortcuts_data();
    void shortcuts();
    void eachPressAndRepeatRunsOnce();
    void disabledItemTakesItsKey();
    void nothingWhileInfoWindowActive();
    void nothingWhileMenuOpen();
    void commandErrorGoesToErrorBox();
    void rightClickOpensAtPointer_data();
    void rightClickOpensAtPointer();
    void keptOnScreen();
    void keyboardOpens();
    void entries();
    void drawing();
    void typedCharacters_data();
    void typedCharacters();
    void eitherButtonChooses_data();
    void eitherButtonChooses();
    void separatorNeverHighlightedNorChosen();
    void endsTheProgram_data();
    void endsTheProgram();

private:
    void startedAnimation(bool playing);

    std::vector<int> frames_; // frames of the player window's animation, as shown
    QStringList ran_;         // items whose command ran, "(menu open)" when it was
    std::map<TMenuItem*, TNotifyEvent> handlers_;
    KeyWatch lineKeys_, listKeys_;
};

void MenuTest::initTestCase() {
    QVERIFY(Application);
    Application->CreateForm(Form1);
    Form1->Animate1->OnFrameShown = [this](int frame) { frames_.push_back(frame); };
    Application->CreateForm(AboutBox1);
    Form1->Show();
    QVERIFY(activate(Form1));
    Form1->Edit1->LineEdit()->installEventFilter(&lineKeys_);
    Form1->FileListBox1->View()->installEventFilter(&listKeys_);
}

// Every command still runs as the layout bound it; the log notes which ran,
// and whether the menu was still open then.
void MenuTest::init() {
    ran_.clear();
    lineKeys_.keys.clear();
    listKeys_.keys.clear();
    for (TMenuItem* item : Form1->PopupMenu1->Items()) {
        handlers_[item] = item->OnClick;
        if (!item->OnClick) continue;
        item->OnClick = [this, item, original = item->OnClick](TObject* sender) {
            ran_ << item->Name + (QApplication::activePopupWidget() ? " (menu open)" : "");
            original(sender);
        };
    }
}

void MenuTest::cleanup() {
    for (auto& [item, handler] : handlers_)
        item->OnClick = handler;
    handlers_.clear();
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (AboutBox1->Widget()->isVisible()) AboutBox1->Close();
    QVERIFY(activate(Form1));
    QVERIFY(!Application->Terminated());
}

// Puts the animation into a known state through its own commands.
void MenuTest::startedAnimation(bool playing) {
    (playing ? Form1->START1 : Form1->STOP1)->Click();
    ran_.clear();
    QCOMPARE(Form1->Animate1->Active(), playing);
}

void MenuTest::animationLoops() {
    // Playing since start-up: frames 1 to 8, over and over.
    TAnimate* a = Form1->Animate1;
    QCOMPARE(a->FrameCount(), 16);
    const auto loops = [this] { return std::count(frames_.begin(), frames_.end(), 1); };
    const auto checkLoop = [this](int last) {
        for (size_t i = 1; i < frames_.size(); ++i)
            QCOMPARE(frames_[i], frames_[i - 1] == last ? 1 : frames_[i - 1] + 1);
        QCOMPARE(*std::max_element(frames_.begin(), frames_.end()), last);
    };
    QTRY_VERIFY_WITH_TIMEOUT(loops() >= 3, 10000);
    checkLoop(8);

    // Stopped and started by the menu's shortcuts: each loop covers the whole clip.
    pressKey(windowOf(Form1), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!a->Active());
    frames_.clear();
    pressKey(windowOf(Form1), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(frames_.front(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(loops() >= 3, 15000);
    checkLoop(16);
    QCOMPARE(ran_, QStringList({"STOP1", "START1"}));
}

void MenuTest::itemsAsLaidOut_data() {
    QTest::addColumn<TMenuItem*>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("shortCut");
    QTest::addColumn<QString>("shortCutText");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("isDefault");
    QTest::addColumn<QString>("hint");
    QTest::newRow("STOP1") << Form1->STOP1 << "Анімал STOP" << 16474 << "Ctrl+Z" << QSize(37, 46)
                           << true << false << "";
    QTest::newRow("START1") << Form1->START1 << "Анімал START" << 16467 << "Ctrl+S" << QSize(37, 46)
                            << true << false << "";
    QTest::newRow("N3") << Form1->N3 << "Автор" << 16449 << "Ctrl+A" << QSize(128, 128) << true
                        << false << "";
    QTest::newRow("N1") << Form1->N1 << "-" << 0 << "" << QSize(0, 0) << false << false << "";
    QTest::newRow("N2") << Form1->N2 << "Вихід" << 16472 << "Ctrl+X" << QSize(26, 26) << true
                        << true << "Закрити програму";
}

void MenuTest::itemsAsLaidOut() {
    QFETCH(TMenuItem*, item);
    QFETCH(QString, caption);
    QFETCH(int, shortCut);
    QFETCH(QString, shortCutText);
    QFETCH(QSize, picture);
    QFETCH(bool, enabled);
    QFETCH(bool, isDefault);
    QFETCH(QString, hint);
    QVERIFY(item);
    QCOMPARE(item->Menu(), Form1->PopupMenu1);
    QCOMPARE(item->Caption(), caption);
    QCOMPARE(item->ShortCut(), shortCut);
    QCOMPARE(ShortCutToText(item->ShortCut()), shortCutText);
    QCOMPARE(item->Bitmap().size(), picture);
    if (!picture.isEmpty()) // the bottom-left pixel's colour is left undrawn
        QCOMPARE(qAlpha(item->Bitmap().pixel(0, picture.height() - 1)), 0);
    QCOMPARE(item->Enabled(), enabled);
    QCOMPARE(item->Default(), isDefault);
    QCOMPARE(item->Hint(), hint);
    QCOMPARE(bool(handlers_[item]), !item->IsLine());
    // The menu order, and the window's object-verbs item, which disabled N1.
    const std::vector<TMenuItem*> order{Form1->STOP1, Form1->START1, Form1->N3, Form1->N1,
                                        Form1->N2};
    QVERIFY(Form1->PopupMenu1->Items() == order);
    QCOMPARE(Form1->ObjectMenuItem(), Form1->N1);
    QCOMPARE(Form1->PopupMenu(), Form1->PopupMenu1);
}

namespace {
QString playerLayout() {
    QFile file(Form1->LayoutResource());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

// A bad menu setting in the layout is an error naming the place and the value.
void MenuTest::layoutErrors_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QString>("message");
    QTest::newRow("object-verbs item unknown") << "ObjectMenuItem = N1"
                                               << "ObjectMenuItem = N9"
                                               << "Unit1.layout: Form1: no menu item named 'N9'";
    QTest::newRow("object-verbs item not an item")
        << "ObjectMenuItem = N1"
        << "ObjectMenuItem = Edit1"
        << "Unit1.layout: Form1: no menu item named 'Edit1'";
    QTest::newRow("picture missing") << "Bitmap = ':/art/power.bmp'"
                                     << "Bitmap = ':/art/missing.bmp'"
                                     << "N2.Bitmap: Cannot load picture :/art/missing.bmp";
    QTest::newRow("shortcut as text") << "ShortCut = 16472"
                                      << "ShortCut = 'Ctrl+X'"
                                      << "N2.ShortCut:";
    QTest::newRow("unknown item setting") << "ShortCut = 16472"
                                          << "Checked = True"
                                          << "N2: unknown property 'Checked'";
    QTest::newRow("item outside a menu") << "object PopupMenu1: TPopupMenu"
                                         << "object Timer9: TTimer"
                                         << "STOP1: 'Timer9' cannot hold a TMenuItem";
}

void MenuTest::layoutErrors() {
    QFETCH(QString, stored);
    QFETCH(QString, changed);
    QFETCH(QString, message);
    QString layout = playerLayout();
    QCOMPARE(layout.count(stored), 1);
    layout.replace(stored, changed);
    TForm1 form(nullptr);
    try {
        form.ReadLayoutText("Unit1.layout", layout);
        QFAIL("the layout was read");
    } catch (const ELayoutError& e) {
        QVERIFY2(e.Message().contains(message), qPrintable(e.Message()));
        QVERIFY2(e.Message().startsWith("Unit1.layout:"), qPrintable(e.Message()));
    }
}

void MenuTest::shortcuts_data() {
    QTest::addColumn<QString>("focus"); // "line" or "list"
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("playing"); // the animation, before the key
    QTest::addColumn<QString>("runs"); // the item whose command runs, or ""
    QTest::addColumn<bool>("reachesControl");
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    QTest::newRow("Ctrl+Z stops") << "line" << int(Qt::Key_Z) << ctrl << "" << true << "STOP1"
                                  << false;
    QTest::newRow("Ctrl+Z again changes nothing")
        << "line" << int(Qt::Key_Z) << ctrl << "" << false << "STOP1" << false;
    QTest::newRow("Ctrl+S after a stop starts at frame 1")
        << "line" << int(Qt::Key_S) << ctrl << "" << false << "START1" << false;
    QTest::newRow("Ctrl+S while playing does not restart")
        << "line" << int(Qt::Key_S) << ctrl << "" << true << "START1" << false;
    QTest::newRow("Ctrl+A shows the info window")
        << "line" << int(Qt::Key_A) << ctrl << "" << true << "N3" << false;
    QTest::newRow("Ctrl+Z in the file list")
        << "list" << int(Qt::Key_Z) << ctrl << "" << true << "STOP1" << false;
    QTest::newRow("Ctrl+S in the file list")
        << "list" << int(Qt::Key_S) << ctrl << "" << false << "START1" << false;
    QTest::newRow("Ctrl+Shift+A") << "line" << int(Qt::Key_A) << (ctrl | shift) << "" << true << ""
                                  << true;
    QTest::newRow("Ctrl+Alt+X") << "line" << int(Qt::Key_X) << (ctrl | alt) << "" << true << ""
                                << true;
    QTest::newRow("Ctrl+Shift+Z") << "line" << int(Qt::Key_Z) << (ctrl | shift) << "" << true << ""
                                  << true;
    QTest::newRow("Ctrl+Alt+Z") << "line" << int(Qt::Key_Z) << (ctrl | alt) << "" << true << ""
                                << true;
    QTest::newRow("Alt+S") << "line" << int(Qt::Key_S) << alt << "" << true << "" << true;
    for (const char* letter : {"a", "s", "x", "z"})
        QTest::newRow(letter) << "line" << int(QChar(letter[0]).toUpper().unicode()) << 0 << letter
                              << true << "" << true;
    QTest::newRow("z in the file list")
        << "list" << int(Qt::Key_Z) << 0 << "z" << true << "" << true;
}

void MenuTest::shortcuts() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(bool, playing);
    QFETCH(QString, runs);
    QFETCH(bool, reachesControl);

    TAnimate* a = Form1->Animate1;
    startedAnimation(playing);
    Form1->Edit1->Text = startText; // the cursor at its end, nothing selected
    QWidget* control = focus == "line" ? Form1->Edit1->Widget() : Form1->FileListBox1->View();
    control->setFocus();
    QCOMPARE(QApplication::focusWidget(), control);
    if (playing) QTRY_COMPARE(a->CurrentFrame(), 2); // a restart would show frame 1
    frames_.clear();

    pressKey(windowOf(Form1), key, Qt::KeyboardModifiers(modifiers), text);

    QCOMPARE(ran_, runs.isEmpty() ? QStringList() : QStringList(runs));
    KeyWatch& watch = focus == "line" ? lineKeys_ : listKeys_;
    QCOMPARE(watch.keys.contains(key), reachesControl);
    const QString lineText = focus == "line" ? startText + text : startText;
    QCOMPARE(Form1->Edit1->Text(), lineText);
    QCOMPARE(AboutBox1->Widget()->isVisible(), runs == "N3");
    if (runs == "STOP1") {
        QVERIFY(!a->Active());
        QVERIFY(!a->Visible());
        QVERIFY(a->Widget()->isHidden());
        QCOMPARE(a->CurrentFrame(), 1);
        if (!playing) QVERIFY(frames_.empty());
    } else if (runs == "START1") {
        QVERIFY(a->Active());
        QVERIFY(a->Visible());
        QVERIFY(!a->Widget()->isHidden());
        if (playing)
            QVERIFY(std::find(frames_.begin(), frames_.end(), 1) == frames_.end());
        else
            QCOMPARE(frames_.front(), 1);
    } else {
        QCOMPARE(a->Active(), playing);
    }
    if (runs == "N3") QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
}

void MenuTest::eachPressAndRepeatRunsOnce() {
    Form1->Edit1->Widget()->setFocus();
    holdCtrlKey(windowOf(Form1), Qt::Key_Z, 3);
    QCOMPARE(ran_, QStringList({"STOP1", "STOP1", "STOP1", "STOP1"}));
    QCOMPARE(lineKeys_.keys, QList<int>{Qt::Key_Control}); // only the Ctrl key
}

void MenuTest::disabledItemTakesItsKey() {
    Form1->N3->Enabled = false;
    Form1->Edit1->Text = startText;
    Form1->Edit1->Widget()->setFocus();
    pressKey(windowOf(Form1), Qt::Key_A, Qt::ControlModifier);
    Form1->N3->Enabled = true;
    QVERIFY(ran_.isEmpty());
    QVERIFY(!AboutBox1->Widget()->isVisible());
    QCOMPARE(lineKeys_.keys, QList<int>{Qt::Key_Control}); // the line did not select all
    QVERIFY(!Form1->Edit1->LineEdit()->hasSelectedText());
}

void MenuTest::nothingWhileInfoWindowActive() {
    startedAnimation(true);
    AboutBox1->Show();
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    for (int key : {Qt::Key_A, Qt::Key_S, Qt::Key_Z, Qt::Key_X})
        pressKey(windowOf(AboutBox1), key, Qt::ControlModifier);
    QVERIFY(ran_.isEmpty());
    QVERIFY(Form1->Animate1->Active());
    QVERIFY(AboutBox1->Widget()->isVisible());
    // Once the player window is active again, they work.
    QVERIFY(activate(Form1));
    pressKey(windowOf(Form1), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ran_, QStringList("STOP1"));
}

void MenuTest::nothingWhileMenuOpen() {
    startedAnimation(true);
    Form1->PopupMenu1->Popup(Form1->Widget()->mapToGlobal(QPoint(100, 10)));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    for (int key : {Qt::Key_A, Qt::Key_S, Qt::Key_Z, Qt::Key_X})
        pressKey(menu->windowHandle(), key, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QVERIFY(ran_.isEmpty());
    QVERIFY(Form1->Animate1->Active());
    pressKey(menu->windowHandle(), Qt::Key_Escape, {});
    QTRY_VERIFY(!openMenu());
    QVERIFY(ran_.isEmpty());
}

// A second player window whose clip cannot be opened: starting its animation
// fails each time, the error goes to the error box, the key counts as handled
// and the animation stays stopped and hidden.
void MenuTest::commandErrorGoesToErrorBox() {
    QString layout = playerLayout();
    QCOMPARE(layout.count("Active = True"), 1);
    QCOMPARE(layout.count("CommonAVI = aviFindFile"), 1);
    layout.replace("Active = True", "Active = False");
    layout.replace("CommonAVI = aviFindFile", "FileName = '/nonexistent/clip.avi'");
    auto form = std::make_unique<TForm1>(nullptr);
    form->ReadLayoutText("Unit1.layout", layout);
    form->Show();
    QVERIFY(activate(form.get()));
    KeyWatch keys;
    form->Edit1->LineEdit()->installEventFilter(&keys);
    form->Edit1->Widget()->setFocus();

    pressKey(windowOf(form.get()), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(form->Animate1->Widget()->isHidden());
    ErrorBoxes boxes;
    holdCtrlKey(windowOf(form.get()), Qt::Key_S, 1);
    QCOMPARE(boxes.texts, QStringList(2, "Лунограй 2007|Cannot open AVI."));
    QVERIFY(!form->Animate1->Active());
    QVERIFY(!form->Animate1->Visible());
    QVERIFY(form->Animate1->Widget()->isHidden());
    // The Ctrl key of each shortcut, never S or Z.
    QCOMPARE(keys.keys, QList<int>({Qt::Key_Control, Qt::Key_Control}));
    QCOMPARE(form->Edit1->Text(), startText);
}

void MenuTest::rightClickOpensAtPointer_data() {
    QTest::addColumn<QPoint>("at"); // in the client area
    QTest::newRow("background") << QPoint(100, 10);
    QTest::newRow("animation") << QPoint(12, 12);
    QTest::newRow("open button") << QPoint(40, 35);
    QTest::newRow("expand button") << QPoint(10, 35);
    QTest::newRow("Author button") << QPoint(150, 35);
    QTest::newRow("button bar") << QPoint(150, 12);
}

void MenuTest::rightClickOpensAtPointer() {
    QFETCH(QPoint, at);
    QTest::mouseClick(windowOf(Form1), Qt::RightButton, {}, at);
    QMenu* menu = openMenu();
    QVERIFY(menu);
    QCOMPARE(QApplication::activePopupWidget(), menu);
    QCOMPARE(menu->geometry().topLeft(), Form1->Widget()->mapToGlobal(at));
    pressKey(menu->windowHandle(), Qt::Key_Escape, {});
    QTRY_VERIFY(!openMenu());
    QVERIFY(ran_.isEmpty());
}

void MenuTest::keptOnScreen() {
    const QRect screen = Form1->Widget()->screen()->geometry();
    Form1->PopupMenu1->Popup(screen.bottomRight() - QPoint(2, 2));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    QVERIFY2(screen.contains(menu->geometry()), qPrintable(QDebug::toString(menu->geometry())));
}

// Shift+F10 opens the menu at the client area's top-left, except in the
// file-name line, which opens its own editing menu.
void MenuTest::keyboardOpens() {
    Form1->FileListBox1->View()->setFocus();
    pressKey(windowOf(Form1), Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = openMenu();
    QVERIFY(menu);
    QCOMPARE(menu->geometry().topLeft(), Form1->Widget()->mapToGlobal(QPoint(0, 0)));
    pressKey(menu->windowHandle(), Qt::Key_Escape, {});
    QTRY_VERIFY(!openMenu());

    Form1->Edit1->Widget()->setFocus();
    pressKey(windowOf(Form1), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QVERIFY(!openMenu());
    QVERIFY(ran_.isEmpty());
}

void MenuTest::entries() {
    Form1->PopupMenu1->Popup(Form1->Widget()->mapToGlobal(QPoint(100, 10)));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    QStringList names, keys, texts;
    for (QAction* a : menu->actions()) {
        names << a->objectName();
        const QChar key = AccessKeyOf(a->text());
        keys << (key.isNull() ? QString() : QString(key));
        texts << CaptionText(a->text());
    }
    QCOMPARE(names, QStringList({"STOP1", "START1", "N3", "N1", "N2"}));
    // Access keys given at opening: STOP takes S, so START gets T.
    QCOMPARE(keys, QStringList({"S", "T", "", "", ""}));
    QCOMPARE(texts, QStringList({"Анімал STOP\tCtrl+Z", "Анімал START\tCtrl+S", "Автор\tCtrl+A", "",
                                 "Вихід\tCtrl+X"}));
    QAction* line = actionNamed(menu, "N1");
    QVERIFY(line->isSeparator());
    QVERIFY(!line->isEnabled());
    for (const char* name : {"STOP1", "START1", "N3", "N2"}) {
        QAction* a = actionNamed(menu, name);
        QCOMPARE(menu->actionGeometry(a).height(), MenuItemStyle::ItemHeight);
        QCOMPARE(a->font().bold(), QString(name) == "N2"); // the default item in bold
    }
    QCOMPARE(menu->defaultAction(), actionNamed(menu, "N2"));
}

// The picture is squeezed into 16 x 16 at the item's left edge; its
// bottom-left colour (white for the shield and the clipboard) is not drawn,
// so the highlight or the menu's own colour shows there.
void MenuTest::drawing() {
    Form1->PopupMenu1->Popup(Form1->Widget()->mapToGlobal(QPoint(100, 10)));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    menu->setActiveAction(actionNamed(menu, "STOP1"));
    const QImage shot = menu->grab().toImage();
    const QColor highlight = menu->palette().color(QPalette::Highlight);

    const QRect stop = menu->actionGeometry(actionNamed(menu, "STOP1"));
    const QPoint stopPicture = stop.topLeft() + QPoint(0, (stop.height() - 16) / 2);
    QCOMPARE(shot.pixelColor(stopPicture), highlight);                     // white corner
    QCOMPARE(shot.pixelColor(stop.topRight() - QPoint(1, -1)), highlight); // item's far end
    const QColor shield = shot.pixelColor(stopPicture + QPoint(4, 5));
    QVERIFY(shield.green() > shield.red() + 40 && shield.green() > shield.blue() + 40);

    const QRect author = menu->actionGeometry(actionNamed(menu, "N3"));
    const QPoint authorPicture = author.topLeft() + QPoint(0, (author.height() - 16) / 2);
    const QColor menuColour = shot.pixelColor(author.topRight() - QPoint(1, -1));
    QVERIFY(menuColour != highlight);
    QCOMPARE(shot.pixelColor(authorPicture), menuColour);
    QVERIFY(shot.pixelColor(authorPicture + QPoint(8, 8)) != menuColour);
}

void MenuTest::typedCharacters_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("runs"); // item, or "" when nothing runs
    QTest::addColumn<bool>("closes");
    QTest::newRow("S") << int(Qt::Key_S) << "S"
                       << "STOP1" << true;
    QTest::newRow("s") << int(Qt::Key_S) << "s"
                       << "STOP1" << true;
    QTest::newRow("T") << int(Qt::Key_T) << "T"
                       << "START1" << true;
    QTest::newRow("t") << int(Qt::Key_T) << "t"
                       << "START1" << true;
    QTest::newRow("Cyrillic А") << 0x0410 << "А"
                                << "N3" << true;
    QTest::newRow("Cyrillic а") << 0x0410 << "а"
                                << "N3" << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-"
                           << "" << true;
    QTest::newRow("Latin A") << int(Qt::Key_A) << "a"
                             << "" << false;
    QTest::newRow("x") << int(Qt::Key_X) << "x"
                       << "" << false;
    QTest::newRow("Cyrillic Б") << 0x0411 << "б"
                                << "" << false;
    QTest::newRow("1") << int(Qt::Key_1) << "1"
                       << "" << false;
    QTest::newRow("space") << int(Qt::Key_Space) << " "
                           << "" << false;
}

void MenuTest::typedCharacters() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, runs);
    QFETCH(bool, closes);
    startedAnimation(runs != "START1");
    QTest::mouseClick(windowOf(Form1), Qt::RightButton, {}, QPoint(100, 10));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    pressKey(menu->windowHandle(), key, {}, text);
    QCOMPARE(!openMenu(), closes);
    // The command runs once the menu has closed.
    if (!runs.isEmpty()) QTRY_COMPARE(ran_, QStringList(runs));
    QTest::qWait(50);
    QCOMPARE(ran_, runs.isEmpty() ? QStringList() : QStringList(runs));
    if (runs == "STOP1") QVERIFY(!Form1->Animate1->Active());
    if (runs == "START1") QVERIFY(Form1->Animate1->Active());
    if (runs == "N3") QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
}

void MenuTest::eitherButtonChooses_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("item");
    QTest::newRow("left on Анімал STOP") << Qt::LeftButton << "STOP1";
    QTest::newRow("right on Анімал STOP") << Qt::RightButton << "STOP1";
    QTest::newRow("left on Автор") << Qt::LeftButton << "N3";
    QTest::newRow("right on Автор") << Qt::RightButton << "N3";
}

void MenuTest::eitherButtonChooses() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, item);
    startedAnimation(true);
    QTest::mouseClick(windowOf(Form1), Qt::RightButton, {}, QPoint(100, 10));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    const QPoint at = menu->actionGeometry(actionNamed(menu, item)).center();
    QTest::mouseMove(menu->windowHandle(), at);
    QTRY_COMPARE(menu->activeAction(), actionNamed(menu, item));
    QTest::mouseClick(menu->windowHandle(), button, {}, at);
    QTRY_COMPARE(ran_, QStringList(item));
    QVERIFY(!openMenu());
}

void MenuTest::separatorNeverHighlightedNorChosen() {
    QTest::mouseClick(windowOf(Form1), Qt::RightButton, {}, QPoint(100, 10));
    QMenu* menu = openMenu();
    QVERIFY(menu);
    // The arrow keys pass over it.
    menu->setActiveAction(actionNamed(menu, "N3"));
    pressKey(menu->windowHandle(), Qt::Key_Down, {});
    QCOMPARE(menu->activeAction(), actionNamed(menu, "N2"));
    pressKey(menu->windowHandle(), Qt::Key_Up, {});
    QCOMPARE(menu->activeAction(), actionNamed(menu, "N3"));
    // The pointer over it highlights nothing, and a click there chooses nothing.
    const QPoint at = menu->actionGeometry(actionNamed(menu, "N1")).center();
    QTest::mouseMove(menu->windowHandle(), at);
    QTRY_VERIFY(menu->activeAction() != actionNamed(menu, "N3"));
    QVERIFY(menu->activeAction() != actionNamed(menu, "N1"));
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton})
        QTest::mouseClick(menu->windowHandle(), button, {}, at);
    QTest::qWait(50);
    QCOMPARE(openMenu(), menu);
    QVERIFY(ran_.isEmpty());
}

// ---- Ending the program: each road runs the real program in a child process.

void MenuTest::endsTheProgram_data() {
    QTest::addColumn<QString>("road");
    QTest::newRow("Ctrl+X in the file-name line") << "ctrl-x-line";
    QTest::newRow("Ctrl+X in the file list") << "ctrl-x-list";
    QTest::newRow("В in the open menu") << "menu-letter";
    QTest::newRow("Вихід by right button, info window shown") << "menu-right-button";
    QTest::newRow("Exit button") << "exit-button";
}

void MenuTest::endsTheProgram() {
    QFETCH(QString, road);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUNOHRAI_MENU_ROAD", road);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(60000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    const QString err = QString::fromUtf8(child.readAllStandardError());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(out + err));
    // The loop ended by the command itself, and the line never saw Ctrl+X.
    QCOMPARE(out.trimmed(), "ended; line: " + startText);
}

namespace {
bool rightClickOnItem(const QString& item) {
    QTest::mouseClick(windowOf(Form1), Qt::RightButton, {}, QPoint(100, 10));
    QMenu* menu = openMenu();
    if (!menu) return false;
    const QPoint at = menu->actionGeometry(actionNamed(menu, item)).center();
    QTest::mouseMove(menu->windowHandle(), at);
    QTest::mouseClick(menu->windowHandle(), Qt::RightButton, {}, at);
    return true;
}

// Drives the running program along one road to its end.
void drive(const QString& road) {
    if (!activate(Form1)) return;
    QWindow* window = windowOf(Form1);
    if (road == "ctrl-x-line") {
        Form1->Edit1->Widget()->setFocus();
        Form1->Edit1->SelectAll(); // what Ctrl+X would cut
        pressKey(window, Qt::Key_X, Qt::ControlModifier);
    } else if (road == "ctrl-x-list") {
        Form1->FileListBox1->View()->setFocus();
        pressKey(window, Qt::Key_X, Qt::ControlModifier);
    } else if (road == "menu-letter") {
        QTest::mouseClick(window, Qt::RightButton, {}, QPoint(100, 10));
        if (QMenu* menu = openMenu()) pressKey(menu->windowHandle(), 0x0412, {}, "в");
    } else if (road == "menu-right-button") {
        pressKey(window, Qt::Key_A, Qt::ControlModifier);
        if (!QTest::qWaitForWindowActive(AboutBox1->Widget()) || !activate(Form1)) return;
        rightClickOnItem("N2");
    } else if (road == "exit-button") {
        AboutBox1->Show();
        if (!QTest::qWaitForWindowActive(AboutBox1->Widget())) return;
        QTest::mouseClick(AboutBox1->SpeedButton1->Widget(), Qt::LeftButton);
        if (!activate(Form1)) return;
        QTest::mouseClick(Form1->SpeedButton2->Widget(), Qt::LeftButton);
    }
}

int runRoad(const QString& road) {
    return TApplication::Main([&] {
        Application->Title = "Лунограй 2007";
        Application->CreateForm(Form1);
        Application->CreateForm(AboutBox1);
        QTimer::singleShot(0, [road] { drive(road); });
        QTimer::singleShot(20000, [] {
            std::puts("still running");
            Application->Terminate();
        });
        Application->Run();
        std::printf("ended; line: %s\n", Form1->Edit1->Text().toUtf8().constData());
    });
}
} // namespace

int main(int argc, char** argv) {
    const QString road = qEnvironmentVariable("LUNOHRAI_MENU_ROAD");
    if (!road.isEmpty()) return runRoad(road);
    TApplication app;
    app.Title = "Лунограй 2007";
    MenuTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_menu.moc"
