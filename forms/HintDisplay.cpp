#include "forms/HintDisplay.h"

#include "forms/TApplication.h"
#include "forms/TControl.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QScreen>

QString ShortHint(const QString& hint) {
    return hint.section(QLatin1Char('|'), 0, 0);
}

HintDisplay::HintDisplay(TApplication& app) : app_(app) {
    pause_.setSingleShot(true);
    hide_.setSingleShot(true);
    connect(&pause_, &QTimer::timeout, this, [this] { show(); });
    connect(&hide_, &QTimer::timeout, this, [this] { Cancel(); });
    qApp->installEventFilter(this);
}

HintDisplay::~HintDisplay() {
    qApp->removeEventFilter(this);
    delete window_;
}

QLabel* HintDisplay::Visible() const {
    return window_ && window_->isVisible() ? window_ : nullptr;
}

void HintDisplay::Cancel() {
    pause_.stop();
    hide_.stop();
    if (window_) window_->hide();
}

void HintDisplay::pointerOver(TControl* control) {
    if (control == over_) return;
    // The pointer moved onto another control: the hint may show again later.
    Cancel();
    over_ = control;
    shownForOver_ = false;
    if (control && app_.ShowHint && control->GetShowHint() && !control->GetHint().isEmpty())
        pause_.start(app_.HintPause);
}

void HintDisplay::show() {
    if (!over_ || shownForOver_ || !QApplication::activeWindow()) return;
    shownForOver_ = true;
    if (!window_) {
        window_ = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        window_->setWordWrap(true);
        window_->setMargin(2);
        window_->setFrameStyle(QFrame::Box | QFrame::Plain);
        window_->setAutoFillBackground(true);
    }
    QPalette p = window_->palette();
    p.setColor(QPalette::Window, ColorToRGB(app_.HintColor));
    p.setColor(QPalette::WindowText, ColorToRGB(clInfoText));
    window_->setPalette(p);
    window_->setText(ShortHint(over_->GetHint()));
    // Word-wrapped within a third of the screen, below the pointer, on the desktop.
    const QPoint cursor = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(cursor);
    const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    window_->setMaximumWidth(std::max(100, desk.width() / 3));
    window_->adjustSize();
    QPoint at = cursor + QPoint(0, 20);
    at.setX(std::clamp(at.x(), desk.left(), desk.right() - window_->width() + 1));
    if (at.y() + window_->height() > desk.bottom() + 1) at.setY(cursor.y() - window_->height() - 4);
    at.setY(std::max(at.y(), desk.top()));
    window_->move(at);
    window_->show();
    hide_.start(app_.HintHidePause);
}

bool HintDisplay::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w != window_) {
            QWidget* under = QApplication::widgetAt(QCursor::pos());
            pointerOver(under ? TControl::FromWidget(under) : nullptr);
        }
        break;
    case QEvent::Leave:
        // Leaving a control for its parent's background brings no Enter: ask
        // what lies under the pointer now.
        if (auto* w = qobject_cast<QWidget*>(watched); w && w != window_) {
            QWidget* under = w->isWindow() ? nullptr : QApplication::widgetAt(QCursor::pos());
            pointerOver(under ? TControl::FromWidget(under) : nullptr);
        }
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ApplicationStateChange:
    case QEvent::WindowDeactivate:
        if (window_ && window_->isVisible())
            Cancel();
        else
            pause_.stop();
        break;
    default:
        break;
    }
    return false;
}
