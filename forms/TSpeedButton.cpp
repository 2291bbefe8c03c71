#include "forms/TSpeedButton.h"

#include "forms/Glyph.h"
#include "forms/TApplication.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

class SpeedButtonWidget : public QWidget {
public:
    explicit SpeedButtonWidget(TSpeedButton* owner) : owner_(owner) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
    }
    bool held = false;   // the left button went down over the button
    bool inside = false; // and the pointer is still over it

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QStyleOptionButton opt;
        opt.initFrom(this);
        const bool down = held && inside;
        opt.state |= down ? (QStyle::State_Sunken | QStyle::State_On) : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);

        // Content centred; when held down the glyph moves one pixel to the right.
        const QImage& glyph = owner_->glyph_;
        const QString& caption = owner_->caption_;
        const QFontMetrics fm(font());
        const int textW = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption);
        const int gap = (!glyph.isNull() && textW) ? owner_->spacing_ : 0;
        const int total = glyph.width() + gap + textW;
        int x = (width() - total) / 2;
        if (!glyph.isNull()) {
            p.drawImage(QPoint(x + (down ? 1 : 0), (height() - glyph.height()) / 2), glyph);
            x += glyph.width() + gap;
        }
        if (textW) {
            p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                     QPalette::ButtonText));
            p.drawText(QRect(x, 0, textW, height()), Qt::AlignVCenter | Qt::AlignLeft, caption);
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return e->ignore();
        held = inside = true;
        update();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!held) return;
        const bool now = rect().contains(e->position().toPoint());
        if (now != inside) inside = now, update();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || !held) return e->ignore();
        const bool fire = inside && rect().contains(e->position().toPoint());
        held = inside = false;
        update();
        if (fire) owner_->Click();
    }

private:
    TSpeedButton* owner_;
};

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TControl(AOwner, new SpeedButtonWidget(this), false) {
    button_ = static_cast<SpeedButtonWidget*>(Widget());
}

void TSpeedButton::SetCaption(const QString& c) {
    caption_ = c;
    button_->update();
}

bool TSpeedButton::Down() const {
    return button_->held && button_->inside;
}

void TSpeedButton::Click() {
    Application->CallHandler(OnClick, this);
}

bool TSpeedButton::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Caption"))
        caption_ = value.Str();
    else if (name == QLatin1String("Glyph"))
        glyph_ = TransparentByBottomLeft(LoadPicture(value.Str()));
    else if (name == QLatin1String("Spacing"))
        spacing_ = value.Int();
    // The content is always centred, one picture, on a raised face: these
    // settings are checked but change nothing.
    else if (name == QLatin1String("Flat") || name == QLatin1String("Transparent"))
        value.Bool();
    else if (name == QLatin1String("NumGlyphs") || name == QLatin1String("Margin"))
        value.Int();
    else if (name == QLatin1String("Layout"))
        value.Ident();
    else
        return TControl::SetProperty(name, value);
    return true;
}

bool TSpeedButton::SetEvent(const QString& name, TNotifyEvent handler) {
    if (name != QLatin1String("OnClick")) return false;
    OnClick = std::move(handler);
    return true;
}
