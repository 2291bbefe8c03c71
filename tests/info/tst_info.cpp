// The info window as the program creates it: its stored layout, the picture
// decoded once with libjpeg, where it is placed when shown, and what closing
// it does to the player window. Runs on two offscreen monitors side by side.
#include "forms/JpegImage.h"
#include "forms/TApplication.h"
#include "info/Unit3.h"
#include "player/Unit1.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Primary monitor left, a larger one to its right.
const QRect monitor0(0, 0, 1024, 768);
const QRect monitor1(1024, 0, 1280, 1024);

QByteArray readSource(const QString& relative) {
    QFile file(qEnvironmentVariable("LUNOHRAI_TEST_SOURCE") + QLatin1Char('/') + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The outer rectangle of a form's window: its frame with the title bar.
QRect outer(const TForm* form) {
    return form->Widget()->frameGeometry();
}

void activate(TForm* form) {
    form->Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form->Widget()));
}

// Runs `action`, answers the error box it opens and returns the box's text;
// empty when no box opened.
QString errorBoxDuring(const std::function<void()>& action) {
    QString text;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        }
    });
    poll.start();
    action();
    QTest::qWait(100);
    return text;
}

// A second info window, created from the same stored layout, for placements
// that only a first showing makes.
std::unique_ptr<TAboutBox1> freshInfoWindow() {
    auto box = std::make_unique<TAboutBox1>(nullptr);
    box->ReadLayout();
    return box;
}

} // namespace

class InfoWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowSettings();
    void controls_data();
    void controls();
    void labelsAndFonts();
    void autoSizeMeasuredWhenShown();
    void pictureDecodedOnceAtFirstPaint();
    void drawing();
    void decodedFormats_data();
    void decodedFormats();
    void corruptStreamIsAClearError_data();
    void corruptStreamIsAClearError();
    void corruptPictureInTheWindowGivesOneErrorBox();
    void firstShowingCentred_data();
    void firstShowingCentred();
    void firstShowingOnTheActiveWindowsMonitor();
    void shownAgainWhereItWasLeft();
    void shownAgainMovesOntoTheActiveWindowsMonitor();
    void shownWhileShownIsActivatedNotMoved();
    void keysAndRightClickDoNothing();
    void closeBoxLeavesTheAuthorButton();
    void closeButtonTurnsAuthorIntoExit();
    void laterClosingsChangeNothingFurther();
};

void InfoWindowTest::initTestCase() {
    QVERIFY(Application);
    QCOMPARE(QGuiApplication::screens().size(), 2);
    Application->Title = "Лунограй 2007";
    Application->CreateForm(Form1);
    Application->CreateForm(AboutBox1);
    QVERIFY(AboutBox1);
    QCOMPARE(Application->MainForm(), static_cast<TForm*>(Form1));
    Form1->Show();
    QVERIFY(QTest::qWaitForWindowActive(Form1->Widget()));
}

void InfoWindowTest::windowSettings() {
    QWidget* w = AboutBox1->Widget();
    QVERIFY(!w->isVisible()); // created hidden
    QCOMPARE(AboutBox1->Caption(), QStringLiteral("Інфо"));
    QCOMPARE(w->size(), QSize(239, 142));
    QCOMPARE(w->minimumSize(), w->maximumSize()); // cannot be resized
    QCOMPARE(ColorToRGB(AboutBox1->EffectiveColor()), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(AboutBox1->BorderStyle(), TFormBorderStyle::bsDialog);
    QCOMPARE(AboutBox1->Position(), TPosition::poScreenCenter);
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    // The stored place, never seen: the first showing centres the window.
    QCOMPARE(AboutBox1->Left(), 416);
    QCOMPARE(AboutBox1->Top(), 373);
}

void InfoWindowTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("box"); // width and height -1: sized by its text
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("boldItalic");
    QTest::addColumn<int>("fontColor");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<bool>("silver"); // the control shows a silver ground

    const int arrow = Qt::ArrowCursor, beam = Qt::IBeamCursor;
    const QString sans = "MS Sans Serif", corsiva = "Monotype Corsiva";
    const auto row = [](const char* name, const char* parent, QRect box, QString face, int height,
                        bool boldItalic, TColor color, int cursor, bool silver) {
        QTest::newRow(name) << QString(name) << QString(parent) << box << face << height
                            << boldItalic << int(color) << cursor << silver;
    };
    // clang-format off
    //  name            parent       Left Top  Width Height  face     height b+i  colour    pointer silver
    row("Panel1",       "AboutBox1", {  6,   4, 227, 133}, sans,    -11, false, clWindowText, arrow, true);
    row("Version",      "Panel1",    {128,  40,  -1,  -1}, corsiva, -19, true,  clPurple,     beam,  true);
    row("SpeedButton1", "Panel1",    {120, 104,  97,  22}, corsiva, -21, true,  clBlack,      arrow, false);
    row("Label2",       "Panel1",    {152,  72,  41,  22}, corsiva, -19, true,  clPurple,     beam,  true);
    row("Panel2",       "Panel1",    {  8,   6, 105, 121}, sans,    -11, false, clWindowText, arrow, true);
    row("Image1",       "Panel2",    {  8,   6,  90, 110}, sans,    -11, false, clWindowText, arrow, false);
    // clang-format on
}

void InfoWindowTest::controls() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, box);
    QFETCH(QString, face);
    QFETCH(int, height);
    QFETCH(bool, boldItalic);
    QFETCH(int, fontColor);
    QFETCH(int, cursor);
    QFETCH(bool, silver);

    auto* c = dynamic_cast<TControl*>(AboutBox1->FindComponent(name));
    QVERIFY(c);
    QCOMPARE(c->Parent()->Name, parent);
    QCOMPARE(c->Widget()->parentWidget(), c->Parent()->ClientWidget());
    QCOMPARE(c->Left(), box.x());
    QCOMPARE(c->Top(), box.y());
    QCOMPARE(c->Widget()->pos(), box.topLeft());
    if (box.width() >= 0) QCOMPARE(c->Widget()->size(), box.size());
    QVERIFY(c->Visible());
    QVERIFY(!c->Widget()->isHidden());
    if (silver) QCOMPARE(ColorToRGB(c->EffectiveColor()), QColor(0xC0, 0xC0, 0xC0));
    const TFont& f = c->EffectiveFont();
    QCOMPARE(f.Name, face);
    QCOMPARE(f.Height, height);
    QCOMPARE(f.Bold, boldItalic);
    QCOMPARE(f.Italic, boldItalic);
    QCOMPARE(f.Color, TColor(fontColor));
    QCOMPARE(int(c->Widget()->cursor().shape()), cursor);
}

void InfoWindowTest::labelsAndFonts() {
    // Version takes the size of its text; Label2 keeps its stored box.
    const QFontMetrics fm(AboutBox1->Version->Widget()->font());
    QCOMPARE(AboutBox1->Version->Caption(), QStringLiteral("Лунограй"));
    QCOMPARE(AboutBox1->Version->Width(), fm.horizontalAdvance(QStringLiteral("Лунограй")));
    QCOMPARE(AboutBox1->Version->Height(), fm.height());
    QVERIFY(AboutBox1->Version->Width() != 88 || AboutBox1->Version->Height() != 22);
    QCOMPARE(AboutBox1->Label2->Caption(), QStringLiteral("2007"));
    QVERIFY(!AboutBox1->Label2->AutoSize());
    QVERIFY(AboutBox1->Label2->Transparent());
    QCOMPARE(AboutBox1->Label2->Widget()->size(), QSize(41, 22));
    QCOMPARE(AboutBox1->SpeedButton1->Caption(), QStringLiteral("Закрити"));
    QVERIFY(AboutBox1->SpeedButton1->Glyph().isNull());

    // The chancery face that stands in for Monotype Corsiva is there and has
    // every letter the window shows.
    for (const TControl* c :
         {static_cast<TControl*>(AboutBox1->Version), static_cast<TControl*>(AboutBox1->Label2),
          static_cast<TControl*>(AboutBox1->SpeedButton1)}) {
        const QFont font = c->Widget()->font();
        QVERIFY2(QFontInfo(font).family().startsWith("Z003"), qPrintable(QFontInfo(font).family()));
        QVERIFY(QFontInfo(font).italic());
        const QFontMetrics metrics(font);
        for (QChar ch : QStringLiteral("Лунограй2007Закрити"))
            QVERIFY2(metrics.inFont(ch), qPrintable(QString(ch)));
    }

    // No two controls of a container overlap.
    for (const TControl* container :
         {static_cast<TControl*>(AboutBox1->Panel1), static_cast<TControl*>(AboutBox1->Panel2)}) {
        const auto& children = container->Controls();
        for (size_t i = 0; i < children.size(); ++i)
            for (size_t j = i + 1; j < children.size(); ++j)
                QVERIFY2(!children[i]->Widget()->geometry().intersects(
                             children[j]->Widget()->geometry()),
                         qPrintable(children[i]->Name + " / " + children[j]->Name));
    }
}

// A label of a window not yet on screen is measured when the window shows,
// even though nobody asked its size; so is a caption changed while hidden.
void InfoWindowTest::autoSizeMeasuredWhenShown() {
    auto box = freshInfoWindow();
    QWidget* label = box->Version->Widget();
    const QFontMetrics fm(label->font());
    box->Show();
    QCOMPARE(label->size(), QSize(fm.horizontalAdvance(QStringLiteral("Лунограй")), fm.height()));
    box->Hide();
    box->Version->SetCaption(QStringLiteral("Лунограй 2007"));
    box->Show();
    QCOMPARE(label->size(),
             QSize(fm.horizontalAdvance(QStringLiteral("Лунограй 2007")), fm.height()));
    box->Hide();
}

void InfoWindowTest::drawing() {
    const QImage shot = AboutBox1->Widget()->grab().toImage();
    QCOMPARE(shot.size(), QSize(239, 142));
    const QColor silver(0xC0, 0xC0, 0xC0);
    const QColor shadow = ColorToRGB(clBtnShadow).rgb(), light = ColorToRGB(clBtnHighlight).rgb();
    QVERIFY(shadow != light && shadow != silver && light != silver);

    // Each panel: lowered outer bevel, raised inner bevel, silver inside.
    for (const TPanel* panel : {AboutBox1->Panel1, AboutBox1->Panel2}) {
        const QRect r(panel->Widget()->mapTo(AboutBox1->Widget(), QPoint(0, 0)),
                      panel->Widget()->size());
        const auto at = [&](int x, int y) { return QColor(shot.pixel(x, y)); };
        QCOMPARE(at(r.left() + 5, r.top()), shadow);        // outer top edge
        QCOMPARE(at(r.left(), r.top() + 5), shadow);        // outer left edge
        QCOMPARE(at(r.right(), r.top() + 5), light);        // outer right edge
        QCOMPARE(at(r.left() + 5, r.bottom()), light);      // outer bottom edge
        QCOMPARE(at(r.left() + 5, r.top() + 1), light);     // inner top edge
        QCOMPARE(at(r.left() + 1, r.top() + 5), light);     // inner left edge
        QCOMPARE(at(r.right() - 1, r.top() + 5), shadow);   // inner right edge
        QCOMPARE(at(r.left() + 5, r.bottom() - 1), shadow); // inner bottom edge
        QCOMPARE(at(r.left() + 2, r.top() + 2), silver);
    }
    // The window's own background outside Panel1.
    QCOMPARE(QColor(shot.pixel(2, 2)), silver);

    // The picture fills Image1's box exactly, drawn as decoded.
    const QPoint imageAt = AboutBox1->Image1->Widget()->mapTo(AboutBox1->Widget(), QPoint(0, 0));
    QCOMPARE(imageAt, QPoint(6 + 8, 4 + 6) + QPoint(8, 6));
    const QImage picture =
        JpegImage::Decode(readSource("art/photo.jpg"), 32).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.copy(QRect(imageAt, QSize(90, 110))).convertToFormat(QImage::Format_RGB32),
             picture);

    // The labels' text is purple on silver, inside their boxes.
    for (const TLabel* label : {AboutBox1->Version, AboutBox1->Label2}) {
        const QRect r(label->Widget()->mapTo(AboutBox1->Widget(), QPoint(0, 0)),
                      label->Widget()->size());
        int purplish = 0, silvery = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c(shot.pixel(x, y));
                purplish += c.red() > c.green() + 40 && c.blue() > c.green() + 40;
                silvery += c == silver;
            }
        QVERIFY2(purplish > 20, qPrintable(label->Name));
        QVERIFY2(silvery > r.width() * r.height() / 3, qPrintable(label->Name));
    }
}

void InfoWindowTest::pictureDecodedOnceAtFirstPaint() {
    const JpegImage* jpeg = AboutBox1->Image1->Jpeg();
    QVERIFY(jpeg);
    // The stream is held whole, exactly as committed.
    QCOMPARE(jpeg->Stream(), readSource("art/photo.jpg"));
    // Created hidden: nothing decoded until the window is first painted.
    QCOMPARE(jpeg->Decodes(), 0);
    AboutBox1->Show();
    QVERIFY(QTest::qWaitForWindowExposed(AboutBox1->Widget()));
    QTRY_COMPARE(jpeg->Decodes(), 1);
    // Repainting, hiding and showing again decode nothing more.
    for (int i = 0; i < 5; ++i) {
        AboutBox1->Image1->Widget()->repaint();
        AboutBox1->Widget()->grab();
    }
    AboutBox1->Close();
    AboutBox1->Show();
    QTest::qWait(20);
    AboutBox1->Close();
    QCOMPARE(jpeg->Decodes(), 1);

    // A window that is never painted never decodes.
    const auto unpainted = freshInfoWindow();
    QCOMPARE(unpainted->Image1->Jpeg()->Decodes(), 0);
}

void InfoWindowTest::decodedFormats_data() {
    QTest::addColumn<int>("displayDepth");
    QTest::addColumn<int>("format");
    QTest::newRow("true colour") << 32 << int(QImage::Format_RGB888);
    QTest::newRow("high colour") << 16 << int(QImage::Format_RGB888);
    QTest::newRow("palette") << 8 << int(QImage::Format_Indexed8);
    QTest::newRow("16 colours") << 4 << int(QImage::Format_Indexed8);
}

void InfoWindowTest::decodedFormats() {
    QFETCH(int, displayDepth);
    QFETCH(int, format);
    const QImage full = JpegImage::Decode(readSource("art/photo.jpg"), 32);
    const QImage image = JpegImage::Decode(readSource("art/photo.jpg"), displayDepth);
    QCOMPARE(image.size(), QSize(90, 110)); // full scale
    QCOMPARE(int(image.format()), format);
    if (image.format() == QImage::Format_Indexed8) {
        QVERIFY(image.colorCount() > 1 && image.colorCount() <= 236);
        // Close to the true-colour picture everywhere.
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7) {
                const QColor a = full.pixelColor(x, y), b = image.pixelColor(x, y);
                QVERIFY(qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) +
                            qAbs(a.blue() - b.blue()) <
                        120);
            }
    }
}

void InfoWindowTest::corruptStreamIsAClearError_data() {
    const QByteArray good = readSource("art/photo.jpg");
    QVERIFY(good.size() > 200);
    QTest::addColumn<QByteArray>("stream");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a JPEG") << QByteArray("BM\x36\x00\x00\x00 this is no picture", 26);
    QTest::newRow("start marker only") << good.left(2);
    QTest::newRow("header cut") << good.left(100);
    QTest::newRow("scan cut") << good.left(good.size() - 40);
    QByteArray zeroWidth = good;
    const qsizetype sof = zeroWidth.indexOf("\xFF\xC2");
    QVERIFY(sof > 0);
    zeroWidth[sof + 7] = 0, zeroWidth[sof + 8] = 0; // frame width 0
    QTest::newRow("zero width") << zeroWidth;
    QByteArray noMarkers = good;
    for (qsizetype i = 2; i < noMarkers.size(); ++i)
        if (noMarkers[i] == '\xFF') noMarkers[i] = '\x00';
    QTest::newRow("markers wiped") << noMarkers;
}

void InfoWindowTest::corruptStreamIsAClearError() {
    QFETCH(QByteArray, stream);
    for (int depth : {32, 8}) {
        try {
            JpegImage::Decode(stream, depth);
            QFAIL("a corrupt stream was decoded");
        } catch (const EInvalidGraphic& e) {
            QVERIFY2(e.Message().startsWith("Cannot decode the JPEG picture: "),
                     qPrintable(e.Message()));
            QVERIFY(e.Message().size() > 40);
        }
    }
}

void InfoWindowTest::corruptPictureInTheWindowGivesOneErrorBox() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("cut.jpg");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(readSource("art/photo.jpg").left(300));
    file.close();

    const auto box = freshInfoWindow();
    box->Image1->LoadPicture(path);
    const QString text = errorBoxDuring([&] {
        box->Show();
        QVERIFY(QTest::qWaitForWindowExposed(box->Widget()));
        box->Widget()->repaint();
    });
    QVERIFY2(text.startsWith("Cannot decode the JPEG picture: "), qPrintable(text));
    // Later paints neither decode again nor report again; the window goes on.
    const QString again = errorBoxDuring([&] {
        for (int i = 0; i < 3; ++i)
            box->Image1->Widget()->repaint();
    });
    QCOMPARE(again, QString());
    QCOMPARE(box->Image1->Jpeg()->Decodes(), 1);
    QVERIFY(box->Widget()->isVisible());
    box->Close();
    activate(Form1);
}

void InfoWindowTest::firstShowingCentred_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("xAtZero");
    QTest::addColumn<bool>("yAtZero");
    QTest::newRow("stored size") << QSize() << false << false;
    QTest::newRow("wider than the screen") << QSize(1500, 142) << true << false;
    QTest::newRow("taller than the screen") << QSize(239, 900) << false << true;
    QTest::newRow("larger both ways") << QSize(2000, 2000) << true << true;
}

void InfoWindowTest::firstShowingCentred() {
    QFETCH(QSize, client);
    QFETCH(bool, xAtZero);
    QFETCH(bool, yAtZero);
    QVERIFY(Form1->Widget()->screen()->geometry() == monitor0);
    activate(Form1);
    const auto box = freshInfoWindow();
    if (client.isValid()) {
        box->ClientWidth = client.width();
        box->ClientHeight = client.height();
    }
    box->Show();
    QVERIFY(QTest::qWaitForWindowExposed(box->Widget()));
    const QRect r = outer(box.get());
    // Each quotient rounded toward zero, never negative.
    const int x = (monitor0.width() - r.width()) / 2, y = (monitor0.height() - r.height()) / 2;
    QCOMPARE(r.x(), xAtZero ? 0 : x);
    QCOMPARE(r.y(), yAtZero ? 0 : y);
    if (xAtZero) QVERIFY(x < 0);
    if (yAtZero) QVERIFY(y < 0);
    QCOMPARE(QApplication::activeWindow(), box->Widget());
    box->Close();
    QTRY_COMPARE(QApplication::activeWindow(), Form1->Widget()); // handed back to the player
}

void InfoWindowTest::firstShowingOnTheActiveWindowsMonitor() {
    const QPoint home = Form1->Widget()->pos();
    Form1->Widget()->move(monitor1.topLeft() + QPoint(100, 100));
    activate(Form1);
    QCOMPARE(Form1->Widget()->screen()->geometry(), monitor1);
    const auto box = freshInfoWindow();
    box->Show();
    QVERIFY(QTest::qWaitForWindowExposed(box->Widget()));
    const QRect r = outer(box.get());
    QCOMPARE(r.topLeft(), monitor1.topLeft() + QPoint((monitor1.width() - r.width()) / 2,
                                                      (monitor1.height() - r.height()) / 2));
    box->Close();
    Form1->Widget()->move(home);
    activate(Form1);
}

void InfoWindowTest::shownAgainWhereItWasLeft() {
    activate(Form1);
    Form1->SpeedButton1Click(Form1->SpeedButton1); // the Author button's handler
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    const QRect first = outer(AboutBox1);
    QCOMPARE(first.topLeft(), QPoint((monitor0.width() - first.width()) / 2,
                                     (monitor0.height() - first.height()) / 2));
    // The user drags it elsewhere, closes it and asks for it again.
    const QPoint moved(37, 611);
    AboutBox1->Widget()->move(moved);
    QTRY_COMPARE(outer(AboutBox1).topLeft(), moved);
    AboutBox1->Widget()->close();
    QVERIFY(!AboutBox1->Widget()->isVisible());
    Form1->N3Click(nullptr); // the menu's Author item
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    QCOMPARE(outer(AboutBox1).topLeft(), moved);
    AboutBox1->Close();
}

void InfoWindowTest::shownAgainMovesOntoTheActiveWindowsMonitor() {
    // The user leaves the window on the right monitor and shows it again from
    // the player window on the left one: it comes at the same offset from the
    // left monitor's corner, pulled back left and up where it would not fit.
    const auto leaveAt = [](QPoint offset) {
        AboutBox1->Show();
        QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
        AboutBox1->Widget()->move(monitor1.topLeft() + offset);
        QTRY_COMPARE(outer(AboutBox1).topLeft(), monitor1.topLeft() + offset);
        AboutBox1->Widget()->close();
        activate(Form1);
        AboutBox1->Show();
        QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    };
    leaveAt(QPoint(1000, 850));
    const QRect r = outer(AboutBox1);
    QCOMPARE(r.topLeft(), QPoint(monitor0.width() - r.width(), monitor0.height() - r.height()));
    AboutBox1->Close();

    leaveAt(QPoint(300, 200)); // fits as it is
    QCOMPARE(outer(AboutBox1).topLeft(), QPoint(300, 200));
    AboutBox1->Close();
}

void InfoWindowTest::shownWhileShownIsActivatedNotMoved() {
    AboutBox1->Show();
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    const QPoint at = outer(AboutBox1).topLeft();
    activate(Form1); // the info window is now behind the player window
    QVERIFY(AboutBox1->Widget()->isVisible());
    Form1->SpeedButton1->Click();
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    QCOMPARE(outer(AboutBox1).topLeft(), at);
    AboutBox1->Close();
}

void InfoWindowTest::keysAndRightClickDoNothing() {
    AboutBox1->Show();
    QWidget* w = AboutBox1->Widget();
    QVERIFY(QTest::qWaitForWindowActive(w));
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(w, key);
        QVERIFY(w->isVisible());
    }
    QTest::mouseClick(AboutBox1->Panel1->Widget(), Qt::RightButton);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(3, 3),
                                w->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(w, &menuEvent);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QVERIFY(w->isVisible());
    QVERIFY(Form1->SpeedButton1->Visible());
    QVERIFY(!Form1->SpeedButton2->Visible());
    AboutBox1->Close();
}

void InfoWindowTest::closeBoxLeavesTheAuthorButton() {
    AboutBox1->Show();
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    QVERIFY(AboutBox1->Widget()->close() == false); // hidden, never destroyed
    QVERIFY(!AboutBox1->Widget()->isVisible());
    QVERIFY(AboutBox1);
    QTRY_COMPARE(QApplication::activeWindow(), Form1->Widget());
    QVERIFY(Form1->SpeedButton1->Visible());
    QVERIFY(!Form1->SpeedButton2->Visible());
    QCOMPARE(Form1->SpeedButton2->Caption(), QString());
    QVERIFY(Form1->Widget()->isVisible()); // the program runs on
}

void InfoWindowTest::closeButtonTurnsAuthorIntoExit() {
    Form1->SpeedButton1->Click();
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    QTest::mouseClick(AboutBox1->SpeedButton1->Widget(), Qt::LeftButton);
    QVERIFY(!AboutBox1->Widget()->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), Form1->Widget());
    QVERIFY(!Form1->SpeedButton1->Visible());
    QVERIFY(Form1->SpeedButton1->Widget()->isHidden());
    QVERIFY(Form1->SpeedButton2->Visible());
    QVERIFY(!Form1->SpeedButton2->Widget()->isHidden());
    QCOMPARE(Form1->SpeedButton2->Caption(), QStringLiteral("Вихід"));
    const TFont& f = Form1->SpeedButton2->EffectiveFont();
    QCOMPARE(f.Color, clMaroon);
    QCOMPARE(f.Color, TColor(128));
    QCOMPARE(Form1->SpeedButton2->Widget()->palette().color(QPalette::ButtonText),
             QColor(0x80, 0, 0));
    // Its other font settings stay as laid out.
    QCOMPARE(f.Name, QStringLiteral("Arial Black"));
    QCOMPARE(f.Height, -16);
    QVERIFY(f.Bold && f.Italic);
    QVERIFY(Form1->Widget()->isVisible());
}

void InfoWindowTest::laterClosingsChangeNothingFurther() {
    const auto exitButtonUnchanged = [] {
        QVERIFY(!Form1->SpeedButton1->Visible());
        QVERIFY(Form1->SpeedButton2->Visible());
        QCOMPARE(Form1->SpeedButton2->Caption(), QStringLiteral("Вихід"));
        QCOMPARE(Form1->SpeedButton2->EffectiveFont().Color, clMaroon);
    };
    Form1->N3Click(nullptr);
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    AboutBox1->Widget()->close();
    exitButtonUnchanged();
    Form1->N3Click(nullptr);
    QVERIFY(QTest::qWaitForWindowActive(AboutBox1->Widget()));
    QTest::mouseClick(AboutBox1->SpeedButton1->Widget(), Qt::LeftButton);
    QVERIFY(!AboutBox1->Widget()->isVisible());
    exitButtonUnchanged();
    QVERIFY(Form1->Widget()->isVisible());
}

// Two offscreen monitors; the application object is the program's own.
int main(int argc, char** argv) {
    QTemporaryDir dir;
    const QString config = dir.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    const auto screen = [](const char* name, const QRect& r) {
        return QStringLiteral(R"({"name": "%1", "x": %2, "y": %3, "width": %4, "height": %5,
                               "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1})")
            .arg(QLatin1String(name))
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height());
    };
    file.write(QStringLiteral(R"({"screens": [%1, %2]})")
                   .arg(screen("left", monitor0), screen("right", monitor1))
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());

    TApplication app;
    InfoWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_info.moc"
