#pragma once
// How menu items with a picture are drawn: 19 pixels high whatever the
// picture, the picture in a 16 x 16 square at the left edge, the caption after
// it (bold for the default item), the shortcut text right-aligned; the
// highlighted item in the highlight colours. Every other part of a menu
// (frame, separators, items without a picture) keeps the desktop's style.

#include <QProxyStyle>

class MenuItemStyle : public QProxyStyle {
public:
    static constexpr int ItemHeight = 19;
    static constexpr int PictureSize = 16;

    // The one style object of the program's menus; lives as long as the toolkit.
    static MenuItemStyle* Instance();

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};
