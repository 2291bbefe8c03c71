// The player window as its stored layout makes it: places, sizes, looks,
// the tab cycle, expand and collapse, and the caption refresh.

#include "TestSupport.h"
#include "forms/HintDisplay.h"
#include "forms/TApplication.h"
#include "player/Unit1.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class PlayerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void controlsAsLaidOut_data();
    void controlsAsLaidOut();
    void windowAsLaidOut();
    void tabCycle();
    void expandThenCollapse();
    void captionRefresh();
    void fileListHint();
};

void PlayerTest::initTestCase() {
    Application->CreateForm(Form1);
    Form1->Show();
    QVERIFY(QTest::qWaitForWindowExposed(Form1->Widget()));
}

void PlayerTest::controlsAsLaidOut_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("fontFace");
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("textColour");
    const int hand = Qt::PointingHandCursor, arrow = Qt::ArrowCursor, beam = Qt::IBeamCursor;
    const QColor silver(0xC0, 0xC0, 0xC0), purple(0x80, 0, 0x80);
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    QTest::newRow("Author") << "SpeedButton1" << QRect(145, 26, 85, 22) << true << hand
                            << "Arial Black" << -16 << true << silver;
    QTest::newRow("Exit") << "SpeedButton2" << QRect(145, 26, 85, 22) << false << hand
                          << "Arial Black" << -16 << true << windowText;
    QTest::newRow("expand") << "SpeedButton3" << QRect(1, 26, 23, 22) << true << hand
                            << "MS Sans Serif" << -11 << false << windowText;
    QTest::newRow("collapse") << "SpeedButton4" << QRect(1, 26, 23, 22) << false << hand
                              << "MS Sans Serif" << -11 << false << windowText;
    QTest::newRow("open") << "SpeedButton5" << QRect(32, 26, 23, 22) << true << hand
                          << "MS Sans Serif" << -11 << false << windowText;
    QTest::newRow("file list") << "FileListBox1" << QRect(0, 51, 233, 46) << true << hand
                               << "MS Sans Serif" << -11 << false << windowText;
    QTest::newRow("animation") << "Animate1" << QRect(5, 6, 16, 16) << true << arrow
                               << "MS Sans Serif" << -11 << false << windowText;
    QTest::newRow("file-name line") << "Edit1" << QRect(16, 142, 201, 21) << true << beam
                                    << "MS Sans Serif" << -11 << true << purple;
    QTest::newRow("button bar") << "MediaPlayer1" << QRect(145, 3, 85, 20) << true << hand
                                << "MS Sans Serif" << -11 << false << windowText;
}

void PlayerTest::controlsAsLaidOut() {
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(bool, visible);
    QFETCH(int, cursor);
    QFETCH(QString, fontFace);
    QFETCH(int, fontHeight);
    QFETCH(bool, bold);
    QFETCH(QColor, textColour);
    auto* control = dynamic_cast<TControl*>(Form1->FindComponent(name));
    QVERIFY(control);
    QCOMPARE(control->Widget()->geometry(), bounds);
    QCOMPARE(control->Widget()->parentWidget(), Form1->Widget());
    QCOMPARE(!control->Widget()->isHidden(), visible);
    QCOMPARE(int(control->Widget()->cursor().shape()), cursor);
    const TFont& font = control->EffectiveFont();
    QCOMPARE(font.Name, fontFace);
    QCOMPARE(font.Height, fontHeight);
    QCOMPARE(font.Bold, bold);
    QCOMPARE(control->Widget()->palette().color(QPalette::WindowText), textColour);
}

void PlayerTest::windowAsLaidOut() {
    QWidget* w = Form1->Widget();
    QCOMPARE(w->size(), QSize(232, 50));
    QCOMPARE(w->minimumSize(), w->maximumSize()); // a fixed frame
    QVERIFY(w->windowFlags() & Qt::Tool);
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(w->palette().color(QPalette::Window), QColor(Qt::yellow));
    QCOMPARE(Form1->FileListBox1->Widget()->palette().color(QPalette::Base),
             QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(Form1->Animate1->Widget()->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Shadow));
    QCOMPARE(Form1->SpeedButton1->Caption(), QString("Автор"));
    QVERIFY(Form1->SpeedButton5->Caption().isEmpty() && Form1->SpeedButton5->Glyph().isNull());
    QCOMPARE(Form1->SpeedButton3->Glyph().size(), QSize(17, 18));
    QCOMPARE(Form1->FileListBox1->GetHint(),
             QString("Для вибору файла чолкніть на ньому два рази"));
    QVERIFY(Form1->FileListBox1->GetShowHint());
    QCOMPARE(Form1->Edit1->Text(), QString("*... Лунограй"));
    QCOMPARE(Form1->FileListBox1->Count(), 0);
    QVERIFY(Form1->Animate1->Active());
    for (TMPBtnType b : {btPlay, btPause, btStop})
        QVERIFY(!Form1->MediaPlayer1->ButtonEnabled(b));
    // Every windowed control lies above every speed button.
    const QObjectList children = w->children();
    const auto indexOf = [&](TControl* c) { return children.indexOf(c->Widget()); };
    for (TControl* button : {Form1->SpeedButton1, Form1->SpeedButton2, Form1->SpeedButton3,
                             Form1->SpeedButton4, Form1->SpeedButton5})
        for (TControl* windowed : std::initializer_list<TControl*>{
                 Form1->FileListBox1, Form1->Animate1, Form1->Edit1, Form1->MediaPlayer1})
            QVERIFY(indexOf(button) < indexOf(windowed));
}

void PlayerTest::tabCycle() {
    Form1->Widget()->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), Form1->FileListBox1->View());
    QWidget* order[] = {Form1->Edit1->Widget(), Form1->MediaPlayer1->Widget(),
                        Form1->FileListBox1->View()};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void PlayerTest::expandThenCollapse() {
    QWidget* w = Form1->Widget();
    Form1->Edit1->Widget()->setFocus();
    const QPoint topLeft = w->frameGeometry().topLeft();
    const int width = w->frameGeometry().width();
    struct Step {
        TSpeedButton* press;
        int height;
        TSpeedButton* shown;
        TSpeedButton* hidden;
    };
    for (const Step& s :
         {Step{Form1->SpeedButton3, 120, Form1->SpeedButton4, Form1->SpeedButton3},
          Step{Form1->SpeedButton4, 74, Form1->SpeedButton3, Form1->SpeedButton4}}) {
        QTest::mouseClick(s.press->Widget(), Qt::LeftButton);
        QCOMPARE(Form1->Height(), s.height);
        QCOMPARE(w->frameGeometry().height(), s.height);
        QCOMPARE(w->frameGeometry().topLeft(), topLeft);
        QCOMPARE(w->frameGeometry().width(), width);
        QVERIFY(!s.shown->Widget()->isHidden());
        QVERIFY(s.hidden->Widget()->isHidden());
        QCOMPARE(QApplication::focusWidget(), Form1->Edit1->Widget());
    }
}

void PlayerTest::captionRefresh() {
    QTRY_COMPARE(Form1->Caption(), QString("Пісня: *... Лунограй"));
    // Whatever stands in the line reaches the title within a tick.
    Form1->Edit1->Text = "мелодія.mp3";
    QTRY_COMPARE_WITH_TIMEOUT(Form1->Caption(), QString("Пісня: мелодія.mp3"), 300);
}

void PlayerTest::fileListHint() {
    QTest::mouseClick(Form1->SpeedButton3->Widget(), Qt::LeftButton); // the list comes into view
    Form1->Widget()->activateWindow();
    QTRY_VERIFY(Form1->Widget()->isActiveWindow());
    QWidget* list = Form1->FileListBox1->View();
    QCursor::setPos(list->mapToGlobal(QPoint(100, 20)));
    QTest::mouseMove(list, QPoint(100, 20));
    QVERIFY(!Application->Hints().Visible());
    QTRY_VERIFY_WITH_TIMEOUT(Application->Hints().Visible(), 1000);
    QCOMPARE(Application->Hints().Visible()->text(),
             QString("Для вибору файла чолкніть на ньому два рази"));
    QVERIFY(Application->Hints().Visible()->pos().y() > QCursor::pos().y()); // below the pointer
    QTRY_VERIFY_WITH_TIMEOUT(!Application->Hints().Visible(), 3500);
    // Not again while the pointer stays; again after it left and came back.
    QTest::mouseMove(list, QPoint(110, 22));
    QTest::qWait(700);
    QVERIFY(!Application->Hints().Visible());
    QCursor::setPos(Form1->Widget()->mapToGlobal(QPoint(100, 10)));
    QTest::mouseMove(Form1->Widget(), QPoint(100, 10));
    QCursor::setPos(list->mapToGlobal(QPoint(100, 20)));
    QTest::mouseMove(list, QPoint(100, 20));
    QTRY_VERIFY_WITH_TIMEOUT(Application->Hints().Visible(), 1000);
    QTest::mouseClick(Form1->SpeedButton4->Widget(), Qt::LeftButton);
}

int main(int argc, char** argv) {
    TApplication app;
    app.Title = "Лунограй 2007";
    PlayerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_player.moc"
