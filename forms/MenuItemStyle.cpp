#include "forms/MenuItemStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionMenuItem>

namespace {
constexpr int captionGap = 6;   // between the picture and the caption
constexpr int shortcutGap = 20; // at least between the caption and the shortcut text
constexpr int rightMargin = 6;  // after the shortcut text

const QStyleOptionMenuItem* pictureItem(const QStyleOption* option) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item || item->icon.isNull()) return nullptr;
    const auto type = item->menuItemType;
    return type == QStyleOptionMenuItem::Normal || type == QStyleOptionMenuItem::DefaultItem
               ? item
               : nullptr;
}

constexpr int textFlags = Qt::TextSingleLine | Qt::TextHideMnemonic | Qt::AlignVCenter;
} // namespace

MenuItemStyle* MenuItemStyle::Instance() {
    static QPointer<MenuItemStyle> style;
    if (!style) {
        style = new MenuItemStyle;
        style->setParent(qApp); // gone with the toolkit, after every menu
    }
    return style;
}

QSize MenuItemStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    const QStyleOptionMenuItem* item = type == CT_MenuItem ? pictureItem(option) : nullptr;
    if (!item) return QProxyStyle::sizeFromContents(type, option, size, widget);
    // The menu adds the width of its widest shortcut text to this.
    const QString caption = item->text.section(QLatin1Char('\t'), 0, 0);
    const int captionWidth =
        QFontMetrics(item->font).boundingRect(QRect(), textFlags, caption).width();
    return {PictureSize + captionGap + captionWidth + shortcutGap + rightMargin, ItemHeight};
}

void MenuItemStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const QStyleOptionMenuItem* item = element == CE_MenuItem ? pictureItem(option) : nullptr;
    if (!item) return QProxyStyle::drawControl(element, option, painter, widget);

    const QRect r = item->rect;
    const bool enabled = item->state & State_Enabled;
    const bool selected = item->state & State_Selected;
    painter->save();
    if (selected) painter->fillRect(r, item->palette.brush(QPalette::Highlight));

    const QRect picture(r.left(), r.top() + (r.height() - PictureSize) / 2, PictureSize,
                        PictureSize);
    item->icon.paint(painter, picture, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);

    const QPalette::ColorGroup group = enabled ? QPalette::Normal : QPalette::Disabled;
    painter->setPen(
        item->palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(item->font);
    const QString caption = item->text.section(QLatin1Char('\t'), 0, 0);
    const QString shortcut = item->text.section(QLatin1Char('\t'), 1);
    const QRect text = r.adjusted(PictureSize + captionGap, 0, -rightMargin, 0);
    painter->drawText(text, textFlags | Qt::AlignLeft, caption);
    if (!shortcut.isEmpty()) painter->drawText(text, textFlags | Qt::AlignRight, shortcut);
    painter->restore();
}
