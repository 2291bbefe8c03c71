#include "forms/TLabel.h"

#include <QFontMetrics>
#include <QPainter>

class LabelWidget : public QWidget {
public:
    explicit LabelWidget(TLabel* owner) : owner_(owner) {}

protected:
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
// line height of the text in the label's font.
void TLabel::fitText() {
    if (!autoSize_) return;
    const QFontMetrics fm(EffectiveFont().ToQFont());
    const int w = fm.horizontalAdvance(caption_);
    const int h = fm.height();
    if (w != GetWidth() || h != GetHeight()) SetBounds(GetLeft(), GetTop(), w, h);
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
