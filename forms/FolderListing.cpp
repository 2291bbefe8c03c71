#include "forms/FolderListing.h"

#include "forms/CaseFold.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Whether a folder entry is a folder; a link counts as what it leads to, since
// it is walked into like one.
bool IsFolder(int dirFd, const dirent& entry) {
    switch (entry.d_type) {
    case DT_DIR:
        return true;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    default:
        return false;
    }
}

// Decodes a name's bytes as UTF-8 (as QFile::decodeName does; bytes that are
// not UTF-8 become U+FFFD) into `text`, and its folded form into `folded`.
// ASCII names, the common case, skip the decoder.
class NameDecoder {
public:
    void Decode(const char* name, std::u16string& text, std::u32string& folded) {
        const size_t length = std::strlen(name);
        text.clear();
        folded.clear();
        const auto* bytes = reinterpret_cast<const unsigned char*>(name);
        if (std::all_of(bytes, bytes + length, [](unsigned char b) { return b < 0x80; })) {
            for (size_t i = 0; i < length; ++i) {
                text.push_back(bytes[i]);
                folded.push_back(FoldCodePoint(bytes[i]));
            }
            return;
        }
        text.resize(decoder_.requiredSpace(qsizetype(length)));
        auto* begin = reinterpret_cast<QChar*>(text.data());
        QChar* end = decoder_.appendToBuffer(begin, QByteArrayView(name, qsizetype(length)));
        text.resize(size_t(end - begin));
        AppendFolded(QStringView(text), folded);
    }

private:
    // Stateless: a broken sequence at the end of one name must not run on
    // into the next.
    QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

} // namespace

FolderListing FolderListing::ReadWorkingFolder(const WildcardMask& mask) {
    FolderListing listing;
    DIR* dir = ::opendir(".");
    if (!dir) {
        listing.error_ = errno;
        return listing;
    }
    NameDecoder decoder;
    std::u16string text;
    std::u32string folded;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            listing.error_ = errno;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) continue;
        decoder.Decode(entry->d_name, text, folded);
        if (mask.Matches(folded)) listing.Add(text, folded, IsFolder(::dirfd(dir), *entry));
    }
    ::closedir(dir);
    listing.Sort();
    return listing;
}

void FolderListing::Add(std::u16string_view text, std::u32string_view folded, bool folder) {
    Entry entry{qsizetype(texts_.size()), qsizetype(text.size()), qsizetype(folded_.size()),
                qsizetype(folded.size())};
    if (folder) {
        texts_ += u'[';
        folded_ += U'[';
        entry.textLength += 2;
        entry.foldedLength += 2;
    }
    texts_ += text;
    folded_ += folded;
    if (folder) {
        texts_ += u']';
        folded_ += U']';
    }
    entries_.push_back(entry);
}

void FolderListing::Sort() {
    std::sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
        if (const int order = FoldedOf(a).compare(FoldedOf(b))) return order < 0;
        return TextOf(a) < TextOf(b);
    });
}

QStringView FolderListing::Text(qsizetype index) const {
    return TextOf(entries_[size_t(index)]);
}

qsizetype FolderListing::IndexOf(QStringView name) const {
    const std::u32string folded = Folded(name);
    const auto first = std::partition_point(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return FoldedOf(e) < std::u32string_view(folded);
    });
    auto last = first;
    while (last != entries_.end() && FoldedOf(*last) == folded)
        ++last;
    if (first == last) return -1;
    const auto exact = std::find_if(first, last, [&](const Entry& e) { return TextOf(e) == name; });
    return (exact != last ? exact : first) - entries_.begin();
}
