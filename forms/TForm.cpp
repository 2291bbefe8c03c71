#include "forms/TForm.h"

#include "forms/Exceptions.h"
#include "forms/LayoutReader.h"
#include "forms/TApplication.h"
#include "forms/TPopupMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>
#include <algorithm>

// The top-level window of a form: routes the window system's close request,
// right clicks and activation back to the form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* form) : form_(form) { setAutoFillBackground(true); }

protected:
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
    TForm* form_;
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
    } else if (name == QLatin1String("OldCreateOrder") || name == QLatin1String("AutoScroll")) {
        value.Bool(); // no effect here: a fixed frame never scrolls
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
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

void TForm::Loaded() {
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
    if (position_ != TPosition::poScreenCenter) return;
    // Centred on the monitor of the active window, each quotient rounded toward
    // zero and never negative.
    const QWidget* active = QApplication::activeWindow();
    const QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->geometry();
    const QSize outer = window_->frameGeometry().size().expandedTo(window_->size());
    const int x = std::max(0, (s.width() - outer.width()) / 2);
    const int y = std::max(0, (s.height() - outer.height()) / 2);
    TControl::SetBounds(s.x() + x, s.y() + y, GetWidth(), TControl::GetHeight());
    window_->move(s.x() + x, s.y() + y);
}

void TForm::SetVisible(const bool& v) {
    if (v) placeAtFirstShow();
    TControl::SetVisible(v);
    window_->setVisible(v);
}

void TForm::Show() {
    SetVisible(true);
    window_->raise();
    window_->activateWindow();
}

void TForm::Close() {
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}
