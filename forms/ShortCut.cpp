#include "forms/ShortCut.h"

namespace {
struct NamedKey {
    int qtKey;
    int virtualKey;
    const char* name;
};
// Keys other than letters, digits and function keys that a shortcut may use.
constexpr NamedKey namedKeys[] = {
    {Qt::Key_Backspace, 0x08, "BkSp"}, {Qt::Key_Tab, 0x09, "Tab"},
    {Qt::Key_Return, 0x0D, "Enter"},   {Qt::Key_Enter, 0x0D, "Enter"},
    {Qt::Key_Escape, 0x1B, "Esc"},     {Qt::Key_Space, 0x20, "Space"},
    {Qt::Key_PageUp, 0x21, "PgUp"},    {Qt::Key_PageDown, 0x22, "PgDn"},
    {Qt::Key_End, 0x23, "End"},        {Qt::Key_Home, 0x24, "Home"},
    {Qt::Key_Left, 0x25, "Left"},      {Qt::Key_Up, 0x26, "Up"},
    {Qt::Key_Right, 0x27, "Right"},    {Qt::Key_Down, 0x28, "Down"},
    {Qt::Key_Insert, 0x2D, "Ins"},     {Qt::Key_Delete, 0x2E, "Del"},
};
constexpr int vkF1 = 0x70, functionKeys = 24;

int virtualKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // Qt's codes for these are their ASCII codes, as the virtual keys are
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + functionKeys) return vkF1 + qtKey - Qt::Key_F1;
    for (const NamedKey& k : namedKeys)
        if (k.qtKey == qtKey) return k.virtualKey;
    return 0;
}

QString keyName(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return QString(QChar(vk));
    if (vk >= vkF1 && vk < vkF1 + functionKeys) return QStringLiteral("F%1").arg(vk - vkF1 + 1);
    for (const NamedKey& k : namedKeys)
        if (k.virtualKey == vk) return QLatin1String(k.name);
    return {};
}
} // namespace

TShortCut ShortCutFromKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    const int vk = virtualKey(qtKey);
    modifiers &= ~Qt::KeypadModifier; // the number pad's Enter is Enter all the same
    if (!vk || (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return scNone;
    TShortCut s = vk;
    if (modifiers & Qt::ShiftModifier) s |= scShift;
    if (modifiers & Qt::ControlModifier) s |= scCtrl;
    if (modifiers & Qt::AltModifier) s |= scAlt;
    return s;
}

QString ShortCutToText(TShortCut shortCut) {
    const QString name = keyName(shortCut & 0xFF);
    if (name.isEmpty()) return {};
    QString text;
    if (shortCut & scShift) text += QLatin1String("Shift+");
    if (shortCut & scCtrl) text += QLatin1String("Ctrl+");
    if (shortCut & scAlt) text += QLatin1String("Alt+");
    return text + name;
}
