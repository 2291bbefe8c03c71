#include "forms/TPopupMenu.h"

#include "forms/MenuWindow.h"
#include "forms/TMenuItem.h"

#include <algorithm>

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

TPopupMenu::~TPopupMenu() {
    for (TMenuItem* item : items_)
        item->menu_ = nullptr;
}

void TPopupMenu::Popup(QPoint screenPos) {
    if (!window_) window_ = std::make_unique<MenuWindow>();
    window_->Fill(items_);
    window_->popup(screenPos);
}

QMenu* TPopupMenu::OpenWindow() const {
    return window_ && window_->isVisible() ? window_.get() : nullptr;
}

TMenuItem* TPopupMenu::FindItem(TShortCut shortCut) const {
    if (shortCut == scNone) return nullptr;
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [shortCut](TMenuItem* i) { return i->GetShortCut() == shortCut; });
    return it == items_.end() ? nullptr : *it;
}

bool TPopupMenu::IsShortCut(TShortCut shortCut) {
    TMenuItem* item = FindItem(shortCut);
    if (!item) return false;
    item->Click(); // does nothing for a disabled item; the key is taken all the same
    return true;
}

bool TPopupMenu::InsertChild(TComponent* child) {
    auto* item = dynamic_cast<TMenuItem*>(child);
    if (!item || item->menu_) return false;
    item->menu_ = this;
    items_.push_back(item);
    return true;
}

void TPopupMenu::RemoveItem(TMenuItem* item) {
    std::erase(items_, item);
    if (window_) window_->Forget(item);
}
