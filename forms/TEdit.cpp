#include "forms/TEdit.h"

#include <QFontMetrics>
#include <QLineEdit>

TEdit::TEdit(TComponent* AOwner) : TControl(AOwner, new QLineEdit, true) {
    edit_ = static_cast<QLineEdit*>(Widget());
    edit_->setFocusPolicy(Qt::StrongFocus);
    edit_->setContextMenuPolicy(Qt::DefaultContextMenu); // its own editing menu
    SetColor(clWindow);
    SetTabStop(true);
}

QString TEdit::GetText() const {
    return edit_->text();
}

void TEdit::SetText(const QString& t) {
    edit_->setText(t);
}

void TEdit::SelectAll() {
    edit_->selectAll();
}

// With AutoSize the height follows the font: its text height and the border.
void TEdit::fitHeight() {
    if (!autoSize_) return;
    const int h = QFontMetrics(EffectiveFont().ToQFont()).height() + 8;
    if (h != GetHeight()) SetBounds(GetLeft(), GetTop(), GetWidth(), h);
}

void TEdit::Changed() {
    TControl::Changed();
    fitHeight();
}

void TEdit::ScaleBy(int num, int den) {
    TControl::ScaleBy(num, den);
    fitHeight();
}

bool TEdit::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Text"))
        SetText(value.Str());
    else if (name == QLatin1String("AutoSize"))
        autoSize_ = value.Bool();
    else
        return TControl::SetProperty(name, value);
    return true;
}
