#include "forms/TForm.h"

#include "forms/Exceptions.h"
#include "forms/LayoutReader.h"
#include "forms/TApplication.h"
#include "forms/TMenuItem.h"
#include "forms/TPopupMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace {
// The monitor a window lies on: the one holding its centre, else the one it
// overlaps most; nullptr when it lies on none.
const QScreen* screenOf(const QRect& frame) {
    if (const QScreen* s = QGuiApplication::screenAt(frame.center())) return s;
    const QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry() & frame;
        const qint64 area = qint64(common.width()) * common.height();
        if (!common.isEmpty() && area > bestArea) best = s, bestArea = area;
    }
    return best;
}

// The monitor of the active window (the window whose command shows another
// one), or the primary monitor when no window of the program is active.
const QScreen* activeScreen() {
    if (const QWidget* active = QApplication::activeWindow())
        if (const QScreen* s = screenOf(active->frameGeometry())) return s;
    return QGuiApplication::primaryScreen();
}

QMargins marginsAround(const QWidget* window) {
    const QRect f = window->frameGeometry(), g = window->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

// The frame and title bar the window system draws around a window. Before a
// window is first shown they are not known yet (and creating the native window
// early to ask would make some window systems place its client area, not its
// frame, at the place given); then the frame of another shown window of the
// program stands in for them. `known` tells whether they are the window's own.
QMargins frameMargins(QWidget* window, bool* known = nullptr) {
    const QWindow* native = window->windowHandle();
    const QMargins own = native ? native->frameMargins() : QMargins();
    if (known) *known = !own.isNull();
    if (!own.isNull()) return own;
    QWidget* active = QApplication::activeWindow();
    if (active && active != window) return marginsAround(active);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && !marginsAround(other).isNull())
            return marginsAround(other);
    return {};
}

// The place that centres a window of this outer size on a monitor: each
// quotient rounded toward zero, and 0 where the window is the larger.
QPoint centredOn(const QRect& monitor, const QSize& outer) {
    return monitor.topLeft() + QPoint(std::max(0, (monitor.width() - outer.width()) / 2),
                                      std::max(0, (monitor.height() - outer.height()) / 2));
}

// A window shown again on another monitor than the active window's moves onto
// that monitor at the same offset from its top-left corner, then back left and
// up as far as needed to lie wholly on it. On the same monitor it stays put.
QPoint onMonitor(const QRect& frame, const QScreen* target) {
    const QScreen* current = screenOf(frame);
    if (!target || current == target) return frame.topLeft();
    const QRect s = target->geometry();
    const QPoint origin = current ? current->geometry().topLeft()
                                  : QGuiApplication::primaryScreen()->geometry().topLeft();
    QPoint at = s.topLeft() + (frame.topLeft() - origin);
    at.setX(std::max(s.left(), std::min(at.x(), s.left() + s.width() - frame.width())));
    at.setY(std::max(s.top(), std::min(at.y(), s.top() + s.height() - frame.height())));
    return at;
}
} // namespace

// The top-level window of a form: routes the window system's close request,
// right clicks and activation back to the form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* form) : form_(form) {
        setAutoFillBackground(true);
        setMouseTracking(true); // the hint display follows the pointer over the background
    }

    // Centres the window on a monitor. When its frame had to be guessed, it is
    // centred again once the window system tells the real one.
    void centreOn(const QRect& monitor) {
        bool known = false;
        const QMargins frame = frameMargins(this, &known);
        moveTo(centredOn(monitor, size().grownBy(frame)));
        if (known)
            pendingCentre_.reset();
        else
            pendingCentre_ = PendingCentre{monitor, frame};
    }
    QSize outerSize() { return size().grownBy(frameMargins(this)); }
    void moveTo(QPoint at) {
        form_->SetBounds(at.x(), at.y(), form_->GetWidth(), form_->TControl::GetHeight());
    }

protected:
    void moveEvent(QMoveEvent* e) override {
        if (pendingCentre_) {
            const QMargins frame = windowHandle()->frameMargins();
            if (!frame.isNull()) {
                const PendingCentre pending = *pendingCentre_;
                pendingCentre_.reset();
                if (frame != pending.assumedFrame)
                    moveTo(centredOn(pending.monitor, size().grownBy(frame)));
            }
        }
        QWidget::moveEvent(e);
    }
    void hideEvent(QHideEvent* e) override {
        pendingCentre_.reset();
        QWidget::hideEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        // The main form ends the program; both windows are hidden together at
        // shutdown, so it stays on screen until then.
        e->ignore();
        form_->Close();
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        const TControl* target = TControl::FromWidget(childAt(e->pos()));
        TPopupMenu* menu = nullptr;
        for (; target && !menu; target = target->Parent())
            menu = target->PopupMenu();
        if (!menu) menu = form_->PopupMenu();
        if (!menu) return;
        const QPoint at =
            e->reason() == QContextMenuEvent::Mouse ? e->globalPos() : mapToGlobal(QPoint(0, 0));
        menu->Popup(at);
    }
    void changeEvent(QEvent* e) override {
        if (e->type() == QEvent::ActivationChange && isActiveWindow() && isHidden()) {
            // A late activation request reached a window already hidden: the
            // main form takes the activation, as when the window closed.
            TForm* main = Application ? Application->MainForm() : nullptr;
            if (main && main != form_ && main->Widget()->isVisible())
                main->Widget()->activateWindow();
        }
        if (e->type() == QEvent::ActivationChange && isActiveWindow() && !focusWidget()) {
            // Activation gives the focus to the first control in tab order that takes it.
            for (TControl* c : form_->TabList()) {
                QWidget* w = c->Widget();
                if (w->isEnabled() && !w->isHidden() && w->focusPolicy() != Qt::NoFocus) {
                    w->setFocus(Qt::ActiveWindowFocusReason);
                    break;
                }
            }
        }
        QWidget::changeEvent(e);
    }

private:
    struct PendingCentre {
        QRect monitor;
        QMargins assumedFrame;
    };
    TForm* form_;
    std::optional<PendingCentre> pendingCentre_;
};

TForm::TForm(TComponent* AOwner) : TControl(AOwner, new FormWindow(this), true) {
    window_ = static_cast<FormWindow*>(Widget());
    TControl::SetVisible(false); // a form is shown when asked, never by its creation
    SetColor(clBtnFace);
}

TForm::~TForm() = default;

void TForm::ReadLayout() {
    QFile file(LayoutResource());
    if (!file.open(QIODevice::ReadOnly))
        throw ELayoutError(QStringLiteral("%1: cannot read the layout").arg(LayoutResource()));
    ReadLayoutText(LayoutResource(), QString::fromUtf8(file.readAll()));
}

void TForm::ReadLayoutText(const QString& fileName, const QString& text) {
    LayoutReader(fileName, text).ReadInto(*this, members_, handlers_);
}

QString TForm::GetCaption() const {
    return window_->windowTitle();
}

void TForm::SetCaption(const QString& c) {
    window_->setWindowTitle(c);
}

int TForm::frameHeight() const {
    return window_->frameGeometry().height() - window_->geometry().height();
}

int TForm::GetHeight() const {
    return clientHeight_ + frameHeight();
}

void TForm::SetHeight(const int& h) {
    SetClientHeight(h - frameHeight());
}

void TForm::SetClientWidth(const int& w) {
    clientWidth_ = w;
    applyClientSize();
}

void TForm::SetClientHeight(const int& h) {
    clientHeight_ = std::max(0, h);
    applyClientSize();
}

void TForm::applyClientSize() {
    if (borderStyle_ == TFormBorderStyle::bsSizeable ||
        borderStyle_ == TFormBorderStyle::bsSizeToolWin) {
        window_->setMinimumSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window_->resize(clientWidth_, clientHeight_);
    } else {
        window_->setFixedSize(clientWidth_, clientHeight_); // fixed frame: not resizable
    }
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    window_->move(left, top); // a window's place is that of its outer frame
}

void TForm::applyFrame() {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderStyle_ == TFormBorderStyle::bsToolWindow ||
        borderStyle_ == TFormBorderStyle::bsSizeToolWin)
        flags = (flags & ~Qt::Window) | Qt::Tool;
    else if (borderStyle_ == TFormBorderStyle::bsDialog)
        flags = (flags & ~Qt::Window) | Qt::Dialog;
    const bool dialogLike = borderStyle_ == TFormBorderStyle::bsDialog ||
                            borderStyle_ == TFormBorderStyle::bsToolWindow ||
                            borderStyle_ == TFormBorderStyle::bsSizeToolWin;
    if (borderIcons_.contains(QLatin1String("biSystemMenu"))) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (!dialogLike && borderIcons_.contains(QLatin1String("biMinimize")))
            flags |= Qt::WindowMinimizeButtonHint;
        if (!dialogLike && borderIcons_.contains(QLatin1String("biMaximize")))
            flags |= Qt::WindowMaximizeButtonHint;
    }
    window_->setWindowFlags(flags);
    applyClientSize();
}

bool TForm::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Caption")) {
        SetCaption(value.Str());
    } else if (name == QLatin1String("ClientWidth")) {
        clientWidth_ = value.Int();
    } else if (name == QLatin1String("ClientHeight")) {
        clientHeight_ = value.Int();
    } else if (name == QLatin1String("BorderStyle")) {
        static const QStringList names{"bsNone",   "bsSingle",     "bsSizeable",
                                       "bsDialog", "bsToolWindow", "bsSizeToolWin"};
        const auto i = names.indexOf(value.Ident());
        if (i < 0) throw ELayoutValueError{QStringLiteral("unknown border style")};
        borderStyle_ = static_cast<TFormBorderStyle>(i);
    } else if (name == QLatin1String("BorderIcons")) {
        borderIcons_ = value.SetItems();
    } else if (name == QLatin1String("Position")) {
        static const QStringList names{"poDesigned", "poDefault", "poScreenCenter",
                                       "poMainFormCenter"};
        const auto i = names.indexOf(value.Ident());
        if (i < 0) throw ELayoutValueError{QStringLiteral("unknown position")};
        position_ = static_cast<TPosition>(i);
    } else if (name == QLatin1String("PixelsPerInch")) {
        pixelsPerInch_ = value.Int();
    } else if (name == QLatin1String("TextHeight")) {
        textHeight_ = value.Int();
    } else if (name == QLatin1String("Scaled")) {
        scaled_ = value.Bool();
    } else if (name == QLatin1String("ObjectMenuItem")) {
        objectMenuItemName_ = value.Ident();
    } else if (name == QLatin1String("OldCreateOrder") || name == QLatin1String("AutoScroll")) {
        value.Bool(); // no effect here: a fixed frame never scrolls
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

bool TForm::InsertChild(TComponent* child) {
    return dynamic_cast<TControl*>(child) ? TControl::InsertChild(child) : true;
}

namespace {
// Depth first, each container's children by their stored TabOrder.
void collectTabOrder(const TControl& container, std::vector<TControl*>& out) {
    std::vector<TControl*> children;
    for (TControl* c : container.Controls())
        if (c->TabOrder() >= 0) children.push_back(c);
    std::stable_sort(children.begin(), children.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TControl* c : children) {
        if (c->Widget()->focusPolicy() != Qt::NoFocus) out.push_back(c);
        collectTabOrder(*c, out);
    }
}
} // namespace

// The form's own menu and its object-verbs item are among its components.
void TForm::resolveMenus() {
    try {
        TControl::Loaded();
        if (objectMenuItemName_.isEmpty()) return;
        objectMenuItem_ = dynamic_cast<TMenuItem*>(FindComponent(objectMenuItemName_));
        if (!objectMenuItem_)
            throw ELayoutValueError{
                QStringLiteral("no menu item named '%1'").arg(objectMenuItemName_)};
        objectMenuItem_->Enabled = false;
    } catch (const ELayoutValueError& e) {
        throw ELayoutError(QStringLiteral("%1: %2: %3")
                               .arg(QFileInfo(LayoutResource()).fileName(), Name, e.reason));
    }
}

void TForm::Loaded() {
    resolveMenus();
    // Windowed controls lie above graphic ones, each group in creation order.
    for (TControl* c : Controls())
        if (c->Windowed()) c->Widget()->raise();
    tabList_.clear();
    collectTabOrder(*this, tabList_);
    for (size_t i = 1; i < tabList_.size(); ++i)
        QWidget::setTabOrder(tabList_[i - 1]->Widget(), tabList_[i]->Widget());

    // The layout was made for pixelsPerInch_ with the font's "0" textHeight_ high;
    // on another screen or font the font follows the resolution first, then the
    // whole layout follows the measured text height.
    if (scaled_) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : pixelsPerInch_;
        if (dpi != pixelsPerInch_) Font->Data.Scale(dpi, pixelsPerInch_);
        // The text height of "0": ascent plus descent of the window font.
        const int measured = QFontMetrics(Font->Data.ToQFont()).height();
        if (measured != textHeight_) ScaleBy(measured, textHeight_);
    }
    applyFrame();
    SetBounds(GetLeft(), GetTop(), GetWidth(), TControl::GetHeight());
    Changed();
    for (TComponent* c : Components())
        if (auto* control = dynamic_cast<TControl*>(c)) control->LayoutDone();
}

void TForm::ScaleBy(int num, int den) {
    for (TControl* c : Controls())
        c->ScaleBy(num, den);
    clientWidth_ = static_cast<int>(std::lround(double(clientWidth_) * num / den));
    clientHeight_ = static_cast<int>(std::lround(double(clientHeight_) * num / den));
}

void TForm::placeAtFirstShow() {
    if (placed_) return;
    placed_ = true;
    if (position_ == TPosition::poScreenCenter) window_->centreOn(activeScreen()->geometry());
}

void TForm::SetVisible(const bool& v) {
    if (v && !window_->isVisible()) {
        if (placed_) {
            const QRect frame(window_->pos(), window_->outerSize());
            const QPoint at = onMonitor(frame, activeScreen());
            if (at != frame.topLeft()) window_->moveTo(at);
        }
        placeAtFirstShow();
    }
    TControl::SetVisible(v);
    window_->setVisible(v);
}

void TForm::Show() {
    SetVisible(true);
    window_->raise();
    window_->activateWindow();
}

void TForm::Close() {
    TForm* main = Application ? Application->MainForm() : nullptr;
    if (main == this) return Application->Terminate();
    // Any other form only hides; when it was the active window, the main form
    // takes over.
    const bool wasActive = window_->isActiveWindow();
    Hide();
    if (wasActive && main && main->Widget()->isVisible()) main->Widget()->activateWindow();
}
