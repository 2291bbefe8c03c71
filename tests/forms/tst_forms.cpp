// The component library's core: the stored-layout reader, the error box and
// the catch of errors that escape handlers, the start-up failure path, and the
// layout scaling.

#include "TestSupport.h"
#include "forms/TApplication.h"
#include "forms/TSpeedButton.h"
#include "forms/TTimer.h"

#include <QProcess>
#include <QtTest>

namespace {
// A form whose layout text the test gives.
class TTestForm : public TForm {
public:
    TSpeedButton* Button1 = nullptr;
    TTimer* Timer1 = nullptr;
    int clicks = 0, ticks = 0;
    explicit TTestForm(TComponent* owner) : TForm(owner) {
        Member("Button1", Button1);
        Member("Timer1", Timer1);
        Handler("Button1Click", &TTestForm::Button1Click);
        Handler("Timer1Timer", &TTestForm::Timer1Timer);
    }
    void Button1Click(TObject*) {
        ++clicks;
        Button1->Caption = "clicked";
        throw EInvalidOperation("Broken in the middle");
    }
    void Timer1Timer(TObject*) { ++ticks; }
    QString ClassName() const override { return "TTestForm"; }
    QString LayoutResource() const override { return ":/none.layout"; }
};

const char* const baseLayout = R"(object Form9: TTestForm
  Left = 10
  Top = 20
  BorderStyle = bsToolWindow
  BorderIcons = [biSystemMenu]
  ClientWidth = 200
  ClientHeight = 50
  Color = clYellow
  Font.Name = 'MS Sans Serif'
  Font.Height = %1
  PixelsPerInch = 96
  TextHeight = 13
  object Button1: TSpeedButton
    Left = 13
    Top = 26
    Width = 39
    Height = 22
    OnClick = Button1Click
  end
  object Timer1: TTimer
    Interval = 10
    OnTimer = Timer1Timer
  end
end
)";

TTestForm* makeForm(const QString& text) {
    auto* form = new TTestForm(Application);
    try {
        form->ReadLayoutText("test.layout", text);
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}
} // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void layoutErrorsNameFileLineAndName_data();
    void layoutErrorsNameFileLineAndName();
    void errorBoxText_data();
    void errorBoxText();
    void handlerErrorIsShownAndLoopGoesOn();
    void startupFailureExitsWithOne();
    void scalingFollowsTextHeight_data();
    void scalingFollowsTextHeight();
};

void FormsTest::layoutErrorsNameFileLineAndName_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown property") << "    Height = 22\n"
                                      << "    Height = 22\n    Colour = 5\n"
                                      << "test.layout:18: Button1: unknown property 'Colour'";
    QTest::newRow("unknown handler") << "OnClick = Button1Click"
                                     << "OnClick = Button2Click"
                                     << "test.layout:18: Button1: unknown handler 'Button2Click'";
    QTest::newRow("unknown class") << "Button1: TSpeedButton"
                                   << "Button1: TSpeedBatton"
                                   << "test.layout:13: Button1: unknown class 'TSpeedBatton'";
    QTest::newRow("unknown value") << "Color = clYellow"
                                   << "Color = clYelow"
                                   << "test.layout:8: Form9.Color: unknown colour 'clYelow'";
    QTest::newRow("unknown event") << "OnTimer = Timer1Timer"
                                   << "OnTick = Timer1Timer"
                                   << "test.layout:22: Timer1: unknown event 'OnTick'";
    QTest::newRow("missing end") << "  end\nend\n"
                                 << "  end\n"
                                 << "test.layout:24: Form9: 'end' missing";
}

void FormsTest::layoutErrorsNameFileLineAndName() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QString text = QString::fromUtf8(baseLayout).arg(-11);
    QVERIFY(text.contains(from));
    text.replace(from, to);
    try {
        delete makeForm(text);
        QFAIL("no layout error");
    } catch (const ELayoutError& e) {
        QCOMPARE(e.Message(), message);
    }
}

void FormsTest::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    const QStringList unchanged{"Done.", "Stop!", "a,", "(x)", "a-", "trailing "};
    for (const QString& m : unchanged)
        QTest::newRow(qPrintable(m)) << m << m;
    const QStringList dotted{"File not found", "Файл", "Error 42", "What?", "Reason:"};
    for (const QString& m : dotted)
        QTest::newRow(qPrintable(m)) << m << m + ".";
    QTest::newRow("empty") << QString() << QString();
}

void FormsTest::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(TApplication::ErrorBoxText(message), shown);
}

void FormsTest::handlerErrorIsShownAndLoopGoesOn() {
    std::unique_ptr<TTestForm> form(makeForm(QString::fromUtf8(baseLayout).arg(-11)));
    form->Show();
    SeenBox seen;
    int ticksWhileUp = 0;
    const int ticksBefore = form->ticks;
    CloseNextMessageBox(seen, [&] {
        QTest::qWait(50); // the loop of the box goes on: timer ticks arrive
        ticksWhileUp = form->ticks - ticksBefore;
    });
    QTest::mouseClick(form->Button1->Widget(), Qt::LeftButton);
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.text, QString("Broken in the middle."));
    QCOMPARE(seen.caption, Application->Title());
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(form->clicks, 1);
    QCOMPARE(form->Button1->Caption(), QString("clicked")); // what ran before the error stays
    QVERIFY(ticksWhileUp > 0);
    const int ticks = form->ticks;
    QTest::qWait(60);
    QVERIFY(form->ticks > ticks); // and the loop runs on after it
    // Errors in a row give boxes in a row.
    SeenBox again;
    CloseNextMessageBox(again);
    form->Button1->Click();
    QCOMPARE(again.count, 1);
}

// The start-up failure runs in a child process of this test, since it shows
// its box and ends the program.
void FormsTest::startupFailureExitsWithOne() {
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({"--startup-failure"});
    child.start();
    QVERIFY(child.waitForFinished(20000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 1);
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(out.startsWith("Application Error|Exception EInvalidOperation in module "),
             qPrintable(out));
    QVERIFY2(out.contains(QRegularExpression(" at [0-9A-F]{8}\\.\nCannot open AVI\\.$")),
             qPrintable(out));
}

void FormsTest::scalingFollowsTextHeight_data() {
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<bool>("scaled");
    QTest::newRow("design font") << -11 << false;
    QTest::newRow("double font") << -22 << true;
}

void FormsTest::scalingFollowsTextHeight() {
    QFETCH(int, fontHeight);
    QFETCH(bool, scaled);
    std::unique_ptr<TTestForm> form(makeForm(QString::fromUtf8(baseLayout).arg(fontHeight)));
    const int measured = QFontMetrics(form->Font->Data.ToQFont()).height();
    QCOMPARE(measured != 13, scaled);
    auto s = [measured](int v) { return int(std::lround(double(v) * measured / 13)); };
    QCOMPARE(form->ClientWidth(), scaled ? s(200) : 200);
    QCOMPARE(form->ClientHeight(), scaled ? s(50) : 50);
    QCOMPARE(form->Button1->Left(), scaled ? s(13) : 13);
    QCOMPARE(form->Button1->Width(), scaled ? s(39) : 39);
    QCOMPARE(form->Button1->Widget()->geometry(),
             QRect(form->Button1->Left(), form->Button1->Top(), form->Button1->Width(),
                   form->Button1->Height()));
    // Heights set by code are plain pixels.
    form->Show();
    form->Height = 120;
    QCOMPARE(form->Height(), 120);
}

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--startup-failure") {
        return TApplication::Main([] {
            Application->Title = "Start";
            // Report the box the program shows, then let it be closed.
            static SeenBox seen;
            CloseNextMessageBox(seen, [] {
                std::printf("%s|%s", qPrintable(seen.caption), qPrintable(seen.text));
                std::fflush(stdout);
            });
            auto* form = new TTestForm(Application);
            form->ReadLayoutText("broken.layout", "object F: TTestForm\n"
                                                  "  object A: TAnimate\n"
                                                  "    FileName = '/nonexistent/clip.avi'\n"
                                                  "    Active = True\n"
                                                  "  end\n"
                                                  "end\n");
            Application->Run();
        });
    }
    TApplication app;
    app.Title = "Лунограй 2007";
    FormsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_forms.moc"
