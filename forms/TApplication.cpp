#include "forms/TApplication.h"

#include "forms/Glyph.h"
#include "forms/HintDisplay.h"
#include "forms/MenuKeyRouter.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

TApplication* Application = nullptr;

namespace {
// The toolkit gets no arguments from the command line.
int qtArgc = 1;
char qtArg0[] = "lunohrai";
char* qtArgv[] = {qtArg0, nullptr};

// Last line of defence: an error that escapes an event delivery outside
// CallHandler is shown as well, and the loop goes on.
class GuardedApplication : public QApplication {
public:
    GuardedApplication() : QApplication(qtArgc, qtArgv) {}
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const Exception& e) {
            if (Application) Application->ShowException(e.Message());
        } catch (const std::exception& e) {
            if (Application) Application->ShowException(QString::fromUtf8(e.what()));
        }
        return false;
    }
};

int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}
} // namespace

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    qt_ = std::make_unique<GuardedApplication>();
    QApplication::setApplicationName(QStringLiteral("lunohrai"));
    QApplication::setQuitOnLastWindowClosed(false); // the main form ends the program
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(ReadPicture(QStringLiteral(":/app/MAINICON.png")))));
    // Keys reach the forms' menus before any control. Filters installed later
    // run earlier, so the hint display still sees every key first.
    qt_->installEventFilter(new MenuKeyRouter(qt_.get()));
    hints_ = std::make_unique<HintDisplay>(*this);
    watchSignals();
    // At the end of the desktop session the program agrees at once.
    QObject::connect(qt_.get(), &QGuiApplication::commitDataRequest, [](QSessionManager&) {});
}

TApplication::~TApplication() {
    Shutdown();
    // Whatever else the application owns goes while the toolkit still runs.
    while (!Components().empty())
        delete Components().back();
    hints_.reset();
    qt_.reset();
    Application = nullptr;
}

void TApplication::watchSignals() {
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qt_.get());
    QObject::connect(notifier, &QSocketNotifier::activated, [this] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        Terminate();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void TApplication::SetTitle(const QString& t) {
    title_ = t;
}

void TApplication::addForm(TForm* form) {
    forms_.push_back(form);
}

void TApplication::Run() {
    if (TForm* main = MainForm()) main->Show();
    if (!terminated_) QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::exit(0);
}

void TApplication::Shutdown() {
    hints_->Cancel();
    for (TForm* f : forms_)
        f->Widget()->hide();
    while (!forms_.empty()) {
        TForm* last = forms_.back();
        forms_.pop_back();
        delete last;
    }
}

void TApplication::CallHandler(const TNotifyEvent& handler, TObject* sender) {
    if (!handler) return;
    try {
        handler(sender);
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    }
}

QString TApplication::ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + QLatin1Char('.');
    return message;
}

void TApplication::ShowException(const QString& message) {
    hints_->Cancel();
    QPointer<QWidget> active = QApplication::activeWindow();
    QPointer<QWidget> focus = active ? active->focusWidget() : nullptr;
    QMessageBox box(QMessageBox::Critical, title_, ErrorBoxText(message), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal); // no window of the program takes input
    box.exec();
    if (active) {
        active->activateWindow();
        if (focus) focus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

QString TApplication::StartupErrorText(const char* className, const void* address,
                                       const QString& message) {
    Dl_info info{};
    QString module = QStringLiteral("lunohrai");
    quintptr offset = reinterpret_cast<quintptr>(address);
    if (address && dladdr(address, &info) && info.dli_fname) {
        module = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).fileName();
        offset -= reinterpret_cast<quintptr>(info.dli_fbase);
    }
    const QString at =
        QString::number(offset & 0xFFFFFFFFu, 16).toUpper().rightJustified(8, QLatin1Char('0'));
    const QString text = QStringLiteral("Exception %1 in module %2 at %3.")
                             .arg(QLatin1String(className), module, at);
    QString detail = message;
    if (!detail.isEmpty() && !detail.endsWith(QLatin1Char('.'))) detail += QLatin1Char('.');
    return text + QLatin1Char('\n') + detail;
}

namespace {
void showStartupError(TApplication* app, const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (!app) return;
    app->Shutdown();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), text,
                    QMessageBox::Ok);
    box.exec();
}
} // namespace

int TApplication::Main(const std::function<void()>& body) {
    std::unique_ptr<TApplication> app;
    try {
        app = std::make_unique<TApplication>();
        body();
    } catch (const Exception& e) {
        showStartupError(app.get(), StartupErrorText(e.ClassName(), e.Address(), e.Message()));
        return 1;
    } catch (const std::exception& e) {
        showStartupError(app.get(),
                         StartupErrorText("Exception", nullptr, QString::fromUtf8(e.what())));
        return 1;
    }
    return 0; // the destructor shuts down in order
}
