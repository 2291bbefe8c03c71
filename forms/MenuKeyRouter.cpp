#include "forms/MenuKeyRouter.h"

#include "forms/TForm.h"
#include "forms/TMenuItem.h"
#include "forms/TPopupMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

namespace {
// The form whose window holds a widget, or nullptr (message boxes, dialogs
// and menus of the toolkit are no forms).
TForm* formOf(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget ? dynamic_cast<TForm*>(TControl::FromWidget(widget->window())) : nullptr;
}

TPopupMenu* menuWithShortCut(const TForm& form, TShortCut shortCut) {
    for (TComponent* c : form.Components())
        if (auto* menu = dynamic_cast<TPopupMenu*>(c); menu && menu->FindItem(shortCut))
            return menu;
    return nullptr;
}

// Shift+F10 asks for the context menu of the focused control, as the
// context-menu key does (the window system turns only that key into a request).
bool isContextMenuKey(const QKeyEvent& key) {
    return key.key() == Qt::Key_F10 && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
}

void requestContextMenu(QWidget* widget) {
    const QPoint at = widget->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &request);
}
} // namespace

bool MenuKeyRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    // An open menu takes the keys itself.
    if (QApplication::activePopupWidget()) return false;
    const TForm* form = formOf(watched);
    if (!form) return false;
    const auto* key = static_cast<QKeyEvent*>(event);

    if (isContextMenuKey(*key)) {
        if (type == QEvent::KeyPress) requestContextMenu(static_cast<QWidget*>(watched));
        event->accept();
        return true;
    }
    const TShortCut shortCut = ShortCutFromKey(key->key(), key->modifiers());
    TPopupMenu* menu = menuWithShortCut(*form, shortCut);
    if (!menu) return false;
    // ShortcutOverride: claim the key, so no widget's own shortcut takes it and
    // the key press comes here. KeyPress: run the item; the key goes no further.
    if (type == QEvent::KeyPress) menu->IsShortCut(shortCut);
    event->accept();
    return true;
}
