#include "forms/TPanel.h"

#include <QPainter>

namespace {
// One frame `width` pixels thick just inside `r`: top and left edges in `topLeft`,
// bottom and right edges (with the top-right and bottom-left corners) in
// `bottomRight`. Returns the rectangle inside it.
QRect frame3D(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

TBevelCut bevelFromLayout(const LayoutValue& value) {
    static const QStringList names{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    const auto i = names.indexOf(value.Ident());
    if (i < 0) throw ELayoutValueError{QStringLiteral("unknown bevel '%1'").arg(value.text)};
    return static_cast<TBevelCut>(i);
}
} // namespace

class PanelWidget : public QWidget {
public:
    explicit PanelWidget(TPanel* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor face = palette().color(QPalette::Window);
        const QColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
        const auto bevel = [&](QRect r, TBevelCut cut) {
            switch (cut) {
            case TBevelCut::bvLowered:
                return frame3D(p, r, shadow, light, owner_->bevelWidth_);
            case TBevelCut::bvRaised:
                return frame3D(p, r, light, shadow, owner_->bevelWidth_);
            case TBevelCut::bvSpace:
                return frame3D(p, r, face, face, owner_->bevelWidth_);
            case TBevelCut::bvNone:
                break;
            }
            return r;
        };
        QRect r = bevel(rect(), owner_->bevelOuter_);
        r = frame3D(p, r, face, face, owner_->borderWidth_);
        r = bevel(r, owner_->bevelInner_);
        p.fillRect(r, face);
        if (!owner_->caption_.isEmpty()) {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, owner_->caption_);
        }
    }

private:
    TPanel* owner_;
};

TPanel::TPanel(TComponent* AOwner) : TControl(AOwner, new PanelWidget(this), true) {
    view_ = static_cast<PanelWidget*>(Widget());
}

void TPanel::SetCaption(const QString& c) {
    caption_ = c;
    view_->update();
}

bool TPanel::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Caption"))
        SetCaption(value.Str());
    else if (name == QLatin1String("BevelOuter"))
        bevelOuter_ = bevelFromLayout(value);
    else if (name == QLatin1String("BevelInner"))
        bevelInner_ = bevelFromLayout(value);
    else if (name == QLatin1String("BevelWidth"))
        bevelWidth_ = std::max(1, value.Int());
    else if (name == QLatin1String("BorderWidth"))
        borderWidth_ = std::max(0, value.Int());
    else
        return TControl::SetProperty(name, value);
    view_->update();
    return true;
}
