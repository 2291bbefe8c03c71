#pragma once
// Menu shortcuts as stored layouts hold them: the key's virtual-key code (a
// letter's upper-case ASCII code, a digit's ASCII code, F1 = 112 ...) plus
// 8192 for Shift, 16384 for Ctrl and 32768 for Alt.

#include <QString>
#include <Qt>

using TShortCut = int;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// The shortcut a key press gives with exactly the modifiers held; scNone for a
// key that has no virtual-key code or a modifier no shortcut can hold (Meta).
TShortCut ShortCutFromKey(int qtKey, Qt::KeyboardModifiers modifiers);
// "Ctrl+Z", "Shift+F10", ...; empty for scNone or an unknown key.
QString ShortCutToText(TShortCut shortCut);
