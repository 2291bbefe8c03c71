#include "forms/TPopupMenu.h"

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

void TPopupMenu::Popup(QPoint) {}

bool TPopupMenu::SetProperty(const QString& name, const LayoutValue& value) {
    return TComponent::SetProperty(name, value);
}
