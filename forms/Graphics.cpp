#include "forms/Graphics.h"

#include <QApplication>
#include <QPalette>
#include <cmath>

namespace {
struct NamedColor {
    const char* name;
    TColor color;
};
constexpr NamedColor namedColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clWindowText", clWindowText},
    {"clWindow", clWindow},
    {"clBtnFace", clBtnFace},
    {"clBtnText", clBtnText},
    {"clBtnShadow", clBtnShadow},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clGrayText", clGrayText},
    {"clMenu", clMenu},
    {"clMenuText", clMenuText},
};

// The palette entries the system colours stand for, in the order of their numbers.
struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr PaletteEntry systemColors[] = {
    {QPalette::Active, QPalette::WindowText},   {QPalette::Active, QPalette::Base},
    {QPalette::Active, QPalette::Button},       {QPalette::Active, QPalette::ButtonText},
    {QPalette::Active, QPalette::Dark},         {QPalette::Active, QPalette::Light},
    {QPalette::Active, QPalette::Shadow},       {QPalette::Active, QPalette::Midlight},
    {QPalette::Active, QPalette::Highlight},    {QPalette::Active, QPalette::HighlightedText},
    {QPalette::Active, QPalette::ToolTipBase},  {QPalette::Active, QPalette::ToolTipText},
    {QPalette::Disabled, QPalette::WindowText}, {QPalette::Active, QPalette::Window},
    {QPalette::Active, QPalette::WindowText},
};

struct FaceSubstitute {
    const char* original;
    const char* here;
};
// Faces of the original desktop and the installed faces that stand in for them:
// DejaVu Sans at 11 px has the 13-pixel text height the layouts were made for;
// Z003 is a chancery italic with Cyrillic letters.
constexpr FaceSubstitute faces[] = {
    {"MS Sans Serif", "DejaVu Sans"},
    {"Arial Black", "DejaVu Sans"},
    {"Monotype Corsiva", "Z003"},
};
} // namespace

QColor ColorToRGB(TColor color) {
    const int index = color - clSystemColor;
    if (index >= 0 && index < static_cast<int>(std::size(systemColors))) {
        const auto& e = systemColors[index];
        return QApplication::palette().color(e.group, e.role);
    }
    const auto bgr = static_cast<quint32>(color);
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

TColor ColorFromLayout(const LayoutValue& value) {
    if (value.kind == LayoutValue::Kind::Integer) return static_cast<TColor>(value.integer);
    for (const auto& c : namedColors)
        if (value.Ident() == QLatin1String(c.name)) return c.color;
    throw ELayoutValueError{QStringLiteral("unknown colour '%1'").arg(value.text)};
}

QString SubstituteFace(const QString& face) {
    for (const auto& f : faces)
        if (face.compare(QLatin1String(f.original), Qt::CaseInsensitive) == 0)
            return QLatin1String(f.here);
    return face;
}

bool TFont::SetProperty(const QString& sub, const LayoutValue& value) {
    if (sub == QLatin1String("Name")) {
        Name = value.Str();
    } else if (sub == QLatin1String("Height")) {
        Height = value.Int();
    } else if (sub == QLatin1String("Color")) {
        Color = ColorFromLayout(value);
    } else if (sub == QLatin1String("Charset")) {
        Charset = value.Ident();
    } else if (sub == QLatin1String("Style")) {
        Bold = Italic = Underline = StrikeOut = false;
        for (const QString& s : value.SetItems()) {
            if (s == QLatin1String("fsBold"))
                Bold = true;
            else if (s == QLatin1String("fsItalic"))
                Italic = true;
            else if (s == QLatin1String("fsUnderline"))
                Underline = true;
            else if (s == QLatin1String("fsStrikeOut"))
                StrikeOut = true;
            else
                throw ELayoutValueError{QStringLiteral("unknown font style '%1'").arg(s)};
        }
    } else {
        return false;
    }
    return true;
}

QFont TFont::ToQFont() const {
    QFont f(SubstituteFace(Name));
    // A negative height is the character height without internal leading,
    // which is Qt's pixel size (the em height).
    f.setPixelSize(std::max(1, std::abs(Height)));
    f.setBold(Bold);
    f.setItalic(Italic);
    f.setUnderline(Underline);
    f.setStrikeOut(StrikeOut);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void TFont::Scale(int num, int den) {
    Height = static_cast<int>(std::lround(static_cast<double>(Height) * num / den));
}

Qt::CursorShape CursorFromName(const QString& name) {
    if (name == QLatin1String("crDefault") || name == QLatin1String("crArrow"))
        return Qt::ArrowCursor;
    if (name == QLatin1String("crHandPoint")) return Qt::PointingHandCursor;
    if (name == QLatin1String("crIBeam")) return Qt::IBeamCursor;
    if (name == QLatin1String("crCross")) return Qt::CrossCursor;
    if (name == QLatin1String("crHourGlass")) return Qt::WaitCursor;
    throw ELayoutValueError{QStringLiteral("unknown cursor '%1'").arg(name)};
}
