#pragma once
// One reading of the working folder for the file list: every name that matches
// the mask, whatever its kind (hidden names included, "." and ".." never), a
// folder as "[name]", sorted by folded text and, among texts equal but for
// letter case, by code units (so the order never depends on the reading
// order). A name matched by several patterns of the mask is listed once.
// The texts live in two flat buffers, so 100,000 names cost a handful of
// allocations rather than 100,000 strings.

#include "forms/Wildcard.h"

#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

class FolderListing {
public:
    // Reads the working folder. When the folder cannot be listed, or the
    // listing breaks off, the listing holds what was read and Error() the
    // errno value; otherwise Error() is 0.
    static FolderListing ReadWorkingFolder(const WildcardMask& mask);

    qsizetype Count() const { return qsizetype(entries_.size()); }
    QStringView Text(qsizetype index) const;
    int Error() const { return error_; }

    // The entry whose text is `name` without regard to letter case; the one
    // spelled exactly so when there are several. -1 when there is none.
    qsizetype IndexOf(QStringView name) const;

private:
    struct Entry {
        qsizetype text, textLength;     // in texts_
        qsizetype folded, foldedLength; // in folded_
    };
    QStringView TextOf(const Entry& e) const {
        return QStringView(texts_).mid(e.text, e.textLength);
    }
    std::u32string_view FoldedOf(const Entry& e) const {
        return std::u32string_view(folded_).substr(e.folded, e.foldedLength);
    }
    void Add(std::u16string_view text, std::u32string_view folded, bool folder);
    void Sort();

    std::u16string texts_;
    std::u32string folded_;
    std::vector<Entry> entries_;
    int error_ = 0;
};
