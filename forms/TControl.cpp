#include "forms/TControl.h"

#include "forms/TPopupMenu.h"

#include <QVariant>
#include <cmath>

namespace {
const char* const controlKey = "lunohrai.control";

int scaled(int v, int num, int den) {
    return static_cast<int>(std::lround(static_cast<double>(v) * num / den));
}
} // namespace

TControl::TControl(TComponent* AOwner, QWidget* widget, bool windowed)
    : TComponent(AOwner), widget_(widget), windowed_(windowed), font_([this] {
          parentFont_ = false;
          Changed();
      }) {
    widget_->setProperty(controlKey, QVariant::fromValue(static_cast<void*>(this)));
}

TControl::~TControl() {
    if (parent_) std::erase(parent_->controls_, this);
    for (TControl* child : controls_)
        child->parent_ = nullptr;
    delete widget_.data();
}

TControl* TControl::FromWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(controlKey);
        if (v.isValid()) return static_cast<TControl*>(v.value<void*>());
        if (w->isWindow()) break;
    }
    return nullptr;
}

void TControl::SetParent(TControl* parent) {
    if (parent_) std::erase(parent_->controls_, this);
    parent_ = parent;
    if (!parent) return;
    parent->controls_.push_back(this);
    widget_->setParent(parent->ClientWidget());
    widget_->setGeometry(left_, top_, width_, height_);
    widget_->setVisible(visible_);
    Changed();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
    if (parent_) widget_->setGeometry(left, top, width, height);
}

void TControl::SetVisible(const bool& v) {
    visible_ = v;
    if (parent_) widget_->setVisible(v);
}

void TControl::SetEnabled(const bool& v) {
    enabled_ = v;
    widget_->setEnabled(v);
    Changed();
}

void TControl::SetColor(const TColor& c) {
    color_ = c;
    parentColor_ = false;
    Changed();
}

bool TControl::GetShowHint() const {
    if (parentShowHint_ && parent_) return parent_->GetShowHint();
    return showHint_;
}

const TFont& TControl::EffectiveFont() const {
    if (parentFont_ && parent_) return parent_->EffectiveFont();
    return font_.Data;
}

TColor TControl::EffectiveColor() const {
    if (parentColor_ && parent_) return parent_->EffectiveColor();
    return color_;
}

void TControl::Changed() {
    applyFont();
    applyColor();
    for (TControl* child : controls_)
        child->Changed();
}

void TControl::applyFont() {
    const TFont& f = EffectiveFont();
    widget_->setFont(f.ToQFont());
    QPalette p = widget_->palette();
    const QColor text = ColorToRGB(f.Color);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ButtonText, text);
    widget_->setPalette(p);
}

void TControl::applyColor() {
    QPalette p = widget_->palette();
    const QColor c = ColorToRGB(EffectiveColor());
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    widget_->setPalette(p);
}

bool TControl::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Left"))
        left_ = value.Int();
    else if (name == QLatin1String("Top"))
        top_ = value.Int();
    else if (name == QLatin1String("Width"))
        width_ = value.Int();
    else if (name == QLatin1String("Height"))
        height_ = value.Int();
    else if (name == QLatin1String("Visible"))
        visible_ = value.Bool();
    else if (name == QLatin1String("Enabled"))
        SetEnabled(value.Bool());
    else if (name == QLatin1String("Color"))
        color_ = ColorFromLayout(value), parentColor_ = false;
    else if (name == QLatin1String("ParentColor"))
        parentColor_ = value.Bool();
    else if (name == QLatin1String("ParentFont"))
        parentFont_ = value.Bool();
    else if (name.startsWith(QLatin1String("Font."))) {
        if (!font_.Data.SetProperty(name.mid(5), value)) return false;
        parentFont_ = false;
    } else if (name == QLatin1String("Cursor"))
        widget_->setCursor(CursorFromName(value.Ident()));
    else if (name == QLatin1String("Hint"))
        hint_ = value.Str();
    else if (name == QLatin1String("ShowHint"))
        showHint_ = value.Bool(), parentShowHint_ = false;
    else if (name == QLatin1String("ParentShowHint"))
        parentShowHint_ = value.Bool();
    else if (name == QLatin1String("TabOrder"))
        tabOrder_ = value.Int();
    else if (name == QLatin1String("TabStop"))
        tabStop_ = value.Bool();
    else if (name == QLatin1String("PopupMenu"))
        popupMenuName_ = value.Ident();
    else
        return false;
    if (parent_) SetBounds(left_, top_, width_, height_);
    return true;
}

bool TControl::InsertChild(TComponent* child) {
    auto* control = dynamic_cast<TControl*>(child);
    if (!control) return false;
    control->SetParent(this);
    return true;
}

void TControl::Loaded() {
    if (!popupMenuName_.isEmpty()) {
        // A form holds its menus itself; a control's menu belongs to its form.
        TComponent* found = FindComponent(popupMenuName_);
        if (!found && Owner()) found = Owner()->FindComponent(popupMenuName_);
        popupMenu_ = dynamic_cast<TPopupMenu*>(found);
        if (!popupMenu_)
            throw ELayoutValueError{QStringLiteral("no menu named '%1'").arg(popupMenuName_)};
    }
    SetParent(parent_); // places the widget with its final settings
}

void TControl::ScaleBy(int num, int den) {
    SetBounds(scaled(left_, num, den), scaled(top_, num, den), scaled(width_, num, den),
              scaled(height_, num, den));
    if (!parentFont_) font_.Data.Scale(num, den);
    Changed();
}
