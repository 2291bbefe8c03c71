#pragma once
// The right-click menu of a form or control.

#include "forms/TComponent.h"

#include <QPoint>

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    // Opens the menu with its top-left corner at a screen point.
    virtual void Popup(QPoint screenPos);
    bool SetProperty(const QString& name, const LayoutValue& value) override;
};
