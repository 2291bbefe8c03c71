#pragma once
// The file-open dialog's list of file types, stored as one text:
// "description|patterns|description|patterns...". The patterns of an entry are
// separated by ";", with spaces around them ignored ("*.mp3; *.wav").

#include "forms/Wildcard.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

struct OpenDialogFilterEntry {
    QString description;
    QStringList patterns;
};

// The entries of a stored filter text; a last description without patterns
// is left out.
QList<OpenDialogFilterEntry> ParseOpenDialogFilter(const QString& filter);

// Whether a file name is shown under a set of patterns. Matching follows the
// file list's wildcard rules; "*.*" and an empty set show every file, as users
// of such dialogs expect.
class OpenDialogPatterns {
public:
    explicit OpenDialogPatterns(const QStringList& patterns);
    bool Matches(QStringView name) const;

private:
    std::vector<WildcardPattern> patterns_;
    bool all_ = false;
};
