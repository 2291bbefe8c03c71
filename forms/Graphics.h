#pragma once
// Colours, fonts and cursors as stored layouts name them, mapped onto Qt.

#include "forms/LayoutValue.h"

#include <QColor>
#include <QFont>
#include <Qt>

// A colour as layouts store it: 0x00BBGGRR for a fixed colour, or a system
// colour (clWindowText, clInfoBk ...) that follows the desktop's palette.
using TColor = qint32;
inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                        clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                        clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                        clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000,
                        clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
inline constexpr TColor clSystemColor = -0x7F000000; // system colours count up from here
inline constexpr TColor clWindowText = clSystemColor + 0, clWindow = clSystemColor + 1,
                        clBtnFace = clSystemColor + 2, clBtnText = clSystemColor + 3,
                        clBtnShadow = clSystemColor + 4, clBtnHighlight = clSystemColor + 5,
                        cl3DDkShadow = clSystemColor + 6, cl3DLight = clSystemColor + 7,
                        clHighlight = clSystemColor + 8, clHighlightText = clSystemColor + 9,
                        clInfoBk = clSystemColor + 10, clInfoText = clSystemColor + 11,
                        clGrayText = clSystemColor + 12, clMenu = clSystemColor + 13,
                        clMenuText = clSystemColor + 14;

QColor ColorToRGB(TColor color);
// A colour given by name or number; throws ELayoutValueError for an unknown name.
TColor ColorFromLayout(const LayoutValue& value);

// The stored description of a font; QFont() gives the substituted face.
struct TFont {
    QString Name = QStringLiteral("MS Sans Serif");
    int Height = -11; // negative: character height in pixels without internal leading
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TColor Color = clWindowText;
    QString Charset = QStringLiteral("DEFAULT_CHARSET");

    // Applies Font.<sub> settings; returns false for an unknown sub-property.
    bool SetProperty(const QString& sub, const LayoutValue& value);
    QFont ToQFont() const;
    // Multiplies the height by num/den, rounded, as the layout scaling does.
    void Scale(int num, int den);
};

// The face that stands in for a face name of the original desktop.
QString SubstituteFace(const QString& face);

Qt::CursorShape CursorFromName(const QString& name);
