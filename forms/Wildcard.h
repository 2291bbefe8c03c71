#pragma once
// File-name patterns of the file list's mask. Our own rules, the same on every
// file system: "*" stands for any run of characters (the empty run too), "?"
// for exactly one character, every other character for itself ("[" and "]"
// included, so "[x].mp3" names the file "[x].mp3"); letter case does not
// count. A character is one Unicode code point: a surrogate pair is one
// character for "?". Names are compared in folded form (CaseFold.h).
//
// Matching is the greedy algorithm with one remembered star: on a mismatch it
// only moves the last "*" on by one character, so a match costs at most
// pattern length × name length steps, never an exponential search.

#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

class WildcardPattern {
public:
    explicit WildcardPattern(QStringView pattern);
    // `foldedName`: the name folded with AppendFolded.
    bool Matches(std::u32string_view foldedName) const;

private:
    enum class Kind { AnyName, Literal, General };
    std::u32string folded_;
    Kind kind_;
};

// A mask: patterns separated by ";", each used as it stands (a space after ";"
// belongs to the next pattern, so "*.mp3; *.wav" lists only .wav names that
// begin with a space). A name matches the mask when it matches any pattern.
class WildcardMask {
public:
    explicit WildcardMask(QStringView mask);
    bool Matches(std::u32string_view foldedName) const;

private:
    std::vector<WildcardPattern> patterns_;
};

bool ContainsWildcard(QStringView text);

// Convenience for one name against one pattern.
bool WildcardMatch(QStringView pattern, QStringView name);
