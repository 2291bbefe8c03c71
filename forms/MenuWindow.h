#pragma once
// The window of an open pop-up menu: one entry per item, drawn by
// MenuItemStyle; a typed character chooses by access key or first letter;
// the chosen item's command runs once the menu has closed.

#include <QMenu>
#include <vector>

class TMenuItem;

class MenuWindow : public QMenu {
public:
    MenuWindow();
    // Shows these items, each without an access key given one.
    void Fill(const std::vector<TMenuItem*>& items);
    // The entry that shows an item, or nullptr.
    QAction* ActionOf(const TMenuItem* item) const;
    // An item is going away: its entry no longer runs anything.
    void Forget(const TMenuItem* item);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    TMenuItem* itemOf(const QAction* action) const;
    void typed(QChar c);
    void choose(TMenuItem* item);

    std::vector<TMenuItem*> items_; // in the order of actions()
    QStringList captions_;          // with their access keys
    TMenuItem* pending_ = nullptr;  // chosen, to run once the menu has closed
};
