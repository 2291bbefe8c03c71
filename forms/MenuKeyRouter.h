#pragma once
// Offers every key pressed in a form to that form's menus before the focused
// control sees it: a key that is an item's shortcut, with exactly the
// modifiers held, runs the item (when enabled) and goes no further. Also
// opens the context menu for Shift+F10, as the context-menu key does.
// Installed once on the application, so it sees keys ahead of every widget.

#include <QObject>

class MenuKeyRouter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
