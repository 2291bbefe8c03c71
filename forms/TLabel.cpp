#include "forms/TLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

class LabelWidget : public QWidget {
public:
    explicit LabelWidget(TLabel* owner) : owner_(owner) {}

protected:
    bool event(QEvent* e) override {
        // Polished before its window is first shown, shown with it each time.
        if (e->type() == QEvent::Polish || e->type() == QEvent::Show) owner_->fitPendingText();
        return QWidget::event(e);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!owner_->transparent_) p.fillRect(rect(), palette().color(QPalette::Window));
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, owner_->caption_);
    }

private:
    TLabel* owner_;
};

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, new LabelWidget(this), false) {
    view_ = static_cast<LabelWidget*>(Widget());
    // A label shows its parent's colour unless it is given one of its own.
    LayoutValue parentColor;
    parentColor.kind = LayoutValue::Kind::Identifier;
    parentColor.text = QStringLiteral("True");
    TControl::SetProperty(QStringLiteral("ParentColor"), parentColor);
}

void TLabel::SetCaption(const QString& c) {
    caption_ = c;
    fitText();
    view_->update();
}

void TLabel::SetAutoSize(const bool& v) {
    autoSize_ = v;
    fitText();
}

void TLabel::SetTransparent(const bool& v) {
    transparent_ = v;
    view_->update();
}

// With AutoSize the box keeps its Left and Top and takes the width and the
// line height of the text in the label's font. Measuring loads the font, so a
// label on a window that is not on screen waits until it is shown or its size
// is asked for: a window created hidden at start-up costs no font.
void TLabel::fitText() {
    if (!autoSize_) return;
    fitPending_ = true;
    if (view_->isVisible()) fitPendingText();
}

void TLabel::fitPendingText() {
    if (!fitPending_) return;
    fitPending_ = false;
    if (!autoSize_) return;
    const QFontMetrics fm(EffectiveFont().ToQFont());
    const int w = fm.horizontalAdvance(caption_);
    const int h = fm.height();
    if (w != TControl::GetWidth() || h != TControl::GetHeight())
        SetBounds(GetLeft(), GetTop(), w, h);
}

// Measuring changes no property a caller can see other than the size itself.
int TLabel::GetWidth() const {
    const_cast<TLabel*>(this)->fitPendingText();
    return TControl::GetWidth();
}

int TLabel::GetHeight() const {
    const_cast<TLabel*>(this)->fitPendingText();
    return TControl::GetHeight();
}

void TLabel::Changed() {
    TControl::Changed();
    fitText();
}

void TLabel::ScaleBy(int num, int den) {
    TControl::ScaleBy(num, den);
    fitText();
}

bool TLabel::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Caption"))
        SetCaption(value.Str());
    else if (name == QLatin1String("AutoSize"))
        SetAutoSize(value.Bool());
    else if (name == QLatin1String("Transparent"))
        SetTransparent(value.Bool());
    else
        return TControl::SetProperty(name, value);
    return true;
}
