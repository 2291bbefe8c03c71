// The button bar in the real player window: the play sequence started by a
// click on the file list's entry, the bar's automatic states over a real
// device through a whole play, pause, resume, stop and end of the media, the
// keyboard's Space, open failures, and a media host that dies during play.

#include "TestSupport.h"
#include "forms/TApplication.h"
#include "media/MciLayer.h"
#include "player/Unit1.h"
#include "tests/media/MediaFixtures.h"

#include <QAbstractItemView>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>
#include <signal.h>

using namespace media_test;

namespace {

TMediaPlayer* bar() {
    return Form1->MediaPlayer1;
}

// The automatic states of Play, Pause and Stop: "+" enabled, "-" greyed.
QString states() {
    QString s;
    for (TMPBtnType b : {btPlay, btPause, btStop})
        s += bar()->ButtonEnabled(b) ? QLatin1Char('+') : QLatin1Char('-');
    return s;
}

std::uint32_t mode() {
    return status(bar()->DeviceID(), MCI_STATUS_MODE);
}
std::uint32_t position() {
    return status(bar()->DeviceID(), MCI_STATUS_POSITION);
}

// Puts a file into the list the way the open button does.
void choose(const QString& path) {
    Form1->FileListBox1->FileName = path;
}

// A mouse click on the list's first entry.
void clickEntry() {
    auto* view = qobject_cast<QAbstractItemView*>(Form1->FileListBox1->View());
    const QRect row = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
}

// A mouse click on a face of the bar.
void pressFace(TMPBtnType button) {
    const auto& shown = bar()->VisibleButtons();
    const int index = int(std::find(shown.begin(), shown.end(), button) - shown.begin());
    QTest::mouseClick(bar()->Widget(), Qt::LeftButton, {}, bar()->FaceRect(index).center());
}

// Moves the keyboard's focus mark onto a shown button.
void focusFace(TMPBtnType button) {
    QWidget* w = bar()->Widget();
    w->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w, Qt::Key_Left);
    while (bar()->FocusedButton() != button)
        QTest::keyClick(w, Qt::Key_Right);
}

} // namespace

class MediaPlayerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(makeMedia(path("long.wav"), 3000));
        QVERIFY(makeMedia(path("short.wav"), 400));
        QVERIFY(makeMedia(path("пісня #1 100%.wav"), 400));
        Application->CreateForm(Form1);
        Form1->Show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1->Widget()));
        QTest::mouseClick(Form1->SpeedButton3->Widget(), Qt::LeftButton); // expand
        QCOMPARE(Form1->Height(), 120);
    }

    // With no device open, Space on each shown button reports it; the focus
    // mark stops at both ends.
    void spaceWithoutDeviceReports() {
        QVERIFY(!bar()->DeviceOpen());
        focusFace(btPlay);
        QTest::keyClick(bar()->Widget(), Qt::Key_Left);
        QCOMPARE(bar()->FocusedButton(), btPlay);
        for (TMPBtnType button : {btPlay, btPause, btStop}) {
            focusFace(button);
            SeenBox seen;
            CloseNextMessageBox(seen);
            QTest::keyClick(bar()->Widget(), Qt::Key_Space);
            QCOMPARE(seen.count, 1);
            QCOMPARE(seen.text, QString("No MCI device open."));
            QCOMPARE(seen.caption, QString("Лунограй 2007"));
            QCOMPARE(states(), QString("---"));
        }
        QTest::keyClick(bar()->Widget(), Qt::Key_Right);
        QCOMPARE(bar()->FocusedButton(), btStop);
    }

    // The automatic states through a whole play of a real file, with where
    // each step leaves the device and its position.
    void automaticStates() {
        enum Action { ClickEntry, PressPlay, PressPause, PressStop, Wait, WaitForEnd };
        // Where the position stands after the step, against `mark`, the
        // position just before it.
        enum Where { FromStart, SameAsMark, AtLeastMark, AtEnd };
        struct Step {
            const char* what;
            Action action;
            const char* states;
            MciMode mode;
            Where where;
        };
        const Step steps[] = {
            {"click on the entry plays from the start", ClickEntry, "+--", MCI_MODE_PLAY,
             FromStart},
            {"Play during it goes on without a restart", PressPlay, "-++", MCI_MODE_PLAY,
             AtLeastMark},
            {"Pause", PressPause, "+++", MCI_MODE_PAUSE, AtLeastMark},
            {"paused, the position holds", Wait, "+++", MCI_MODE_PAUSE, SameAsMark},
            {"Pause again resumes where it paused", PressPause, "+++", MCI_MODE_PLAY, SameAsMark},
            {"Pause once more", PressPause, "+++", MCI_MODE_PAUSE, AtLeastMark},
            {"Play resumes too", PressPlay, "-++", MCI_MODE_PLAY, SameAsMark},
            {"Stop keeps the position", PressStop, "+--", MCI_MODE_STOP, AtLeastMark},
            {"Play after Stop goes on from there", PressPlay, "-++", MCI_MODE_PLAY, SameAsMark},
            {"the end of the media", WaitForEnd, "+--", MCI_MODE_STOP, AtEnd},
            {"Play after the end starts from the beginning", PressPlay, "-++", MCI_MODE_PLAY,
             FromStart},
        };
        choose(path("long.wav"));
        QCOMPARE(states(), QString("---"));
        const std::uint32_t tolerance = 200;
        for (const Step& step : steps) {
            const std::uint32_t mark = bar()->DeviceOpen() ? position() : 0;
            switch (step.action) {
            case ClickEntry:
                clickEntry();
                break;
            case PressPlay:
                pressFace(btPlay);
                break;
            case PressPause:
                pressFace(btPause);
                break;
            case PressStop:
                pressFace(btStop);
                break;
            case Wait:
                spin(300);
                break;
            case WaitForEnd:
                QTRY_COMPARE_WITH_TIMEOUT(states(), QString(step.states), 8000);
                break;
            }
            const QByteArray what = step.what;
            QVERIFY2(bar()->DeviceOpen(), what);
            QVERIFY2(bar()->Error() == MCIERR_NONE, what);
            QCOMPARE(states(), QString(step.states));
            QVERIFY2(mode() == step.mode, what);
            const std::uint32_t at = position();
            const QByteArray seen = what + ": position " + QByteArray::number(at) + ", before " +
                                    QByteArray::number(mark);
            switch (step.where) {
            case FromStart:
                QVERIFY2(at < tolerance && (mark == 0 || at < mark), seen);
                break;
            case SameAsMark:
                QVERIFY2(at + tolerance >= mark && at <= mark + tolerance, seen);
                QVERIFY2(at > 500, seen); // well away from the beginning
                break;
            case AtLeastMark:
                QVERIFY2(at >= mark, seen);
                break;
            case AtEnd:
                QVERIFY2(at == status(bar()->DeviceID(), MCI_STATUS_LENGTH) && at >= 2900, seen);
                break;
            }
            // Let the media move on before the next step.
            if (step.mode == MCI_MODE_PLAY && step.action != WaitForEnd) spin(300);
        }
        bar()->Close();
        QCOMPARE(states(), QString("---"));
    }

    // A click on the entry while its file plays starts it again from the
    // beginning, on a fresh device, with Play usable and Pause, Stop greyed.
    void clickWhilePlayingRestarts() {
        choose(path("long.wav"));
        clickEntry();
        const MCIDEVICEID first = bar()->DeviceID();
        pressFace(btPlay);
        QCOMPARE(states(), QString("-++"));
        spin(700);
        QVERIFY(position() >= 500);
        clickEntry();
        QVERIFY(bar()->DeviceOpen());
        QVERIFY(bar()->DeviceID() != first);
        MCIERROR error = MCIERR_NONE;
        status(first, MCI_STATUS_MODE, &error);
        QCOMPARE(error, MCIERR_INVALID_DEVICE_ID);
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_PLAY));
        QVERIFY2(position() < 300, qPrintable(QString::number(position())));
        QCOMPARE(states(), QString("+--"));
        bar()->Close();
    }

    // Space runs the action of a greyed button: Pause during a play that
    // the sequence started pauses it, and its row applies.
    void spaceOnGreyedPausePauses() {
        choose(path("long.wav"));
        clickEntry();
        QCOMPARE(states(), QString("+--"));
        focusFace(btPause);
        QTest::keyClick(bar()->Widget(), Qt::Key_Space);
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_PAUSE));
        QCOMPARE(states(), QString("+--"));
        // Space on the greyed Stop stops it.
        focusFace(btStop);
        QTest::keyClick(bar()->Widget(), Qt::Key_Space);
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_STOP));
        QCOMPARE(states(), QString("+--"));
        bar()->Close();
    }

    // The mouse acts only on an enabled button, and only when released over
    // the button it went down on.
    void mouseActsOnReleaseOverTheSameButton() {
        choose(path("long.wav"));
        clickEntry();
        pressFace(btPlay);
        QCOMPARE(states(), QString("-++"));
        QWidget* w = bar()->Widget();
        const QPoint pause = bar()->FaceRect(1).center(), elsewhere = bar()->FaceRect(2).center();
        QTest::mousePress(w, Qt::LeftButton, {}, pause);
        QTest::mouseMove(w, elsewhere);
        QTest::mouseRelease(w, Qt::LeftButton, {}, elsewhere);
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_PLAY));
        // A click on the greyed Play does nothing.
        const MCIDEVICEID device = bar()->DeviceID();
        pressFace(btPlay);
        QCOMPARE(bar()->DeviceID(), device);
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_PLAY));
        QCOMPARE(states(), QString("-++"));
        bar()->Close();
    }

    void openFailures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<uint>("error");
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator generator(7);
        for (char& c : noise)
            c = char(generator.bounded(256));
        QTest::newRow("missing") << "gone.wav" << QByteArray("x") << true
                                 << uint(MCIERR_FILE_NOT_FOUND);
        QTest::newRow("zero bytes")
            << "empty.wav" << QByteArray() << false << uint(MCIERR_INVALID_FILE);
        QTest::newRow("random bytes named .mp3")
            << "noise.mp3" << noise << false << uint(MCIERR_INVALID_FILE);
        QTest::newRow("unknown extension") << "notes.xyz" << QByteArray("plain words\n") << false
                                           << uint(MCIERR_UNKNOWN_DEVICE_TYPE);
    }

    // A file the media layer cannot open: its text in the error box, no
    // device, a file that played before stopped, everything greyed, the
    // list and the title as they were.
    void openFailures() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, removed);
        QFETCH(uint, error);
        choose(path("long.wav"));
        clickEntry();
        const MCIDEVICEID before = bar()->DeviceID();
        QVERIFY(before != 0);

        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        choose(path(name));
        if (removed) QVERIFY(QFile::remove(path(name)));
        QTRY_COMPARE(Form1->Caption(), "Пісня: " + name);
        const QString folder = Form1->FileListBox1->Directory;

        SeenBox seen;
        CloseNextMessageBox(seen);
        clickEntry();
        QCOMPARE(seen.count, 1);
        QCOMPARE(seen.caption, QString("Лунограй 2007"));
        QCOMPARE(seen.text, errorText(MCIERROR(error)));
        QVERIFY(!seen.text.isEmpty());
        QCOMPARE(uint(bar()->Error()), error);
        QVERIFY(!bar()->DeviceOpen());
        QCOMPARE(bar()->DeviceID(), MCIDEVICEID(0));
        QCOMPARE(states(), QString("---"));
        MCIERROR old = MCIERR_NONE;
        status(before, MCI_STATUS_MODE, &old);
        QCOMPARE(old, MCIERR_INVALID_DEVICE_ID);
        QCOMPARE(Form1->FileListBox1->Count(), 1);
        QCOMPARE(Form1->FileListBox1->Item(0), name);
        QCOMPARE(Form1->FileListBox1->GetItemIndex(), 0);
        QCOMPARE(QString(Form1->FileListBox1->Directory), folder);
        QCOMPARE(Form1->Edit1->Text(), name);
        spin(250);
        QCOMPARE(Form1->Caption(), "Пісня: " + name);
    }

    // "#", "%", spaces and Cyrillic letters in the name reach the media
    // layer intact: the file plays to its end.
    void unusualNamePlays() {
        choose(path("пісня #1 100%.wav"));
        clickEntry();
        QVERIFY(bar()->DeviceOpen());
        QCOMPARE(bar()->GetFileName(), path("пісня #1 100%.wav"));
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_PLAY));
        QCOMPARE(states(), QString("+--"));
        QTRY_COMPARE_WITH_TIMEOUT(mode(), std::uint32_t(MCI_MODE_STOP), 5000);
        QVERIFY(position() >= 350);
        bar()->Close();
    }

    // A media host that dies while it plays: the failure notice lets the
    // bar drop the device and grey; the next click plays again.
    void hostDeathGreysTheBar() {
        choose(path("long.wav"));
        clickEntry();
        pressFace(btPlay);
        QCOMPARE(states(), QString("-++"));
        const pid_t host = MciLayer::instance().hostOf(bar()->DeviceID());
        QVERIFY(host > 0);
        QCOMPARE(::kill(host, SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!bar()->DeviceOpen(), 4000);
        QCOMPARE(states(), QString("---"));
        clickEntry();
        QVERIFY(bar()->DeviceOpen());
        QCOMPARE(mode(), std::uint32_t(MCI_MODE_PLAY));
        QCOMPARE(states(), QString("+--"));
        bar()->Close();
    }

    // Destroying a bar closes its device silently.
    void destroyingTheBarClosesItsDevice() {
        auto* own = new TMediaPlayer(nullptr);
        own->FileName = path("long.wav");
        own->Open();
        own->Play();
        const MCIDEVICEID device = own->DeviceID();
        QCOMPARE(status(device, MCI_STATUS_MODE), std::uint32_t(MCI_MODE_PLAY));
        delete own;
        MCIERROR error = MCIERR_NONE;
        status(device, MCI_STATUS_MODE, &error);
        QCOMPARE(error, MCIERR_INVALID_DEVICE_ID);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

int main(int argc, char** argv) {
    TApplication app;
    app.Title = "Лунограй 2007";
    MediaPlayerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mediaplayer.moc"
