#pragma once
// The right-click menu of a form or control: its items in order, opening at
// a point of the screen, and the shortcuts of its items.

#include "forms/ShortCut.h"
#include "forms/TComponent.h"

#include <QPoint>
#include <memory>
#include <vector>

class MenuWindow;
class QMenu;
class TMenuItem;

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    const std::vector<TMenuItem*>& Items() const { return items_; }
    // Opens the menu with its top-left corner at a screen point, moved as far
    // as needed to lie wholly on the screen. Returns at once; a chosen item's
    // command runs once the menu has closed.
    virtual void Popup(QPoint screenPos);
    // The menu's window while it is open, else nullptr.
    QMenu* OpenWindow() const;

    // The item whose shortcut this is, or nullptr.
    TMenuItem* FindItem(TShortCut shortCut) const;
    // Runs the command of the item with this shortcut when that item is
    // enabled; true when an item has the shortcut, enabled or not.
    bool IsShortCut(TShortCut shortCut);

    bool InsertChild(TComponent* child) override;

private:
    friend class TMenuItem;
    void RemoveItem(TMenuItem* item);

    std::vector<TMenuItem*> items_;
    std::unique_ptr<MenuWindow> window_;
};
