#include "forms/MenuWindow.h"

#include "forms/MenuAccessKeys.h"
#include "forms/MenuItemStyle.h"
#include "forms/TMenuItem.h"

#include <QKeyEvent>
#include <QPixmap>
#include <algorithm>

MenuWindow::MenuWindow() {
    setStyle(MenuItemStyle::Instance());
    // Items lie inside the menu's border, so no picture covers it.
    const int border = std::max(1, style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this));
    setContentsMargins(border, border, border, border);
    connect(this, &QMenu::triggered, this, [this](QAction* a) { choose(itemOf(a)); });
}

void MenuWindow::Fill(const std::vector<TMenuItem*>& items) {
    clear();
    setDefaultAction(nullptr);
    items_ = items;
    QStringList captions;
    for (const TMenuItem* item : items)
        captions << item->GetCaption();
    captions_ = WithAccessKeys(captions);
    for (size_t i = 0; i < items.size(); ++i) {
        const TMenuItem* item = items[i];
        QAction* a = nullptr;
        if (item->IsLine()) {
            a = addSeparator();
        } else {
            // The caption keeps its "&" marker; the shortcut follows a tab.
            QString text =
                QString(captions_[qsizetype(i)]).replace(QLatin1Char('\t'), QLatin1Char(' '));
            const QString shortcut = ShortCutToText(item->GetShortCut());
            if (!shortcut.isEmpty()) text += QLatin1Char('\t') + shortcut;
            a = addAction(text);
        }
        a->setObjectName(item->Name);
        a->setEnabled(item->GetEnabled());
        if (!item->Bitmap().isNull()) {
            // Squeezed into the square without keeping its proportions.
            const QImage picture =
                item->Bitmap().scaled(MenuItemStyle::PictureSize, MenuItemStyle::PictureSize,
                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            a->setIcon(QIcon(QPixmap::fromImage(picture)));
        }
        if (item->GetDefault() && !item->IsLine()) {
            QFont bold = font();
            bold.setBold(true);
            a->setFont(bold);
            setDefaultAction(a);
        }
    }
}

TMenuItem* MenuWindow::itemOf(const QAction* action) const {
    const qsizetype i = actions().indexOf(action);
    return i >= 0 && size_t(i) < items_.size() ? items_[size_t(i)] : nullptr;
}

QAction* MenuWindow::ActionOf(const TMenuItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? nullptr : actions().value(it - items_.begin());
}

void MenuWindow::Forget(const TMenuItem* item) {
    if (pending_ == item) pending_ = nullptr;
    std::replace(items_.begin(), items_.end(), const_cast<TMenuItem*>(item),
                 static_cast<TMenuItem*>(nullptr));
}

void MenuWindow::choose(TMenuItem* item) {
    if (!item) return;
    close();
    // The command runs from the event loop, once the menu is closed and the
    // window it came from has the focus again.
    pending_ = item;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (TMenuItem* chosen = std::exchange(pending_, nullptr)) chosen->Click();
        },
        Qt::QueuedConnection);
}

void MenuWindow::keyPressEvent(QKeyEvent* e) {
    const QString text = e->text();
    const Qt::KeyboardModifiers typing =
        Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier;
    if ((e->modifiers() & ~typing) || text.size() != 1 || !text.front().isPrint())
        return QMenu::keyPressEvent(e); // arrows, Enter, Esc ...
    typed(text.front());
}

void MenuWindow::typed(QChar c) {
    const std::vector<int> matches = ItemsForCharacter(captions_, c);
    if (matches.empty()) return; // ignored
    const auto usable = [this](int i) {
        const TMenuItem* item = items_[size_t(i)];
        return item && item->GetEnabled() && !item->IsLine();
    };
    if (matches.size() == 1) {
        if (usable(matches.front()))
            choose(items_[size_t(matches.front())]);
        else
            close(); // only a disabled item or a line answers to it
        return;
    }
    // Several items answer: the next of them after the highlighted one is highlighted.
    const qsizetype current = actions().indexOf(activeAction());
    std::vector<int> candidates;
    std::copy_if(matches.begin(), matches.end(), std::back_inserter(candidates), usable);
    if (candidates.empty()) {
        close();
        return;
    }
    const auto next = std::find_if(candidates.begin(), candidates.end(),
                                   [current](int i) { return i > current; });
    setActiveAction(actions().value(next == candidates.end() ? candidates.front() : *next));
}
