#pragma once
// Letter case for names, paths and masks: the file list compares them all
// without regard to case, the Unicode way, so "ПІСНЯ" and "пісня" are one name.
// Folding is Unicode simple case folding: one code point to one code point
// (so "ß" stays "ß"; a full folding to "ss" would change the length and the
// meaning of "?"). Text is handled as code points: a surrogate pair is one
// character, a lone surrogate stands for itself.

#include <QChar>
#include <QStringView>
#include <string>
#include <string_view>

inline char32_t FoldCodePoint(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    return QChar::toCaseFolded(c);
}

// Appends the folded code points of `text` to `out`.
void AppendFolded(QStringView text, std::u32string& out);

std::u32string Folded(QStringView text);

// Whether `a` and `b` are the same text when letter case does not count.
bool EqualIgnoringCase(QStringView a, QStringView b);
