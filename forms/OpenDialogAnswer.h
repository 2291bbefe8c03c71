#pragma once
// What the file-open dialog answers on confirmation: the shown folder and the
// chosen names, turned into full paths. Kept free of widgets so that the rules
// (joining, full names, the size limit) can be checked on their own.

#include <QString>
#include <QStringList>
#include <optional>

// The answer is passed as one buffer: the folder, a NUL, each name followed by
// a NUL, and a final NUL. A buffer longer than this makes the dialog fail,
// which the caller treats as a cancel.
inline constexpr qsizetype MaxOpenDialogAnswer = 65519;

// A name that starts at the root is a full path and is taken as it stands.
bool IsFullPath(const QString& name);

// `name` joined to `folder` with one "/" between them (none added when the
// folder already ends in "/"), or `name` itself when it is a full path.
QString JoinToFolder(const QString& folder, const QString& name);

// The full paths of the chosen names, in the dialog's order (the first is the
// one a single-file user takes); nullopt when there is no name or the answer
// is too long.
std::optional<QStringList> ResolveOpenDialogAnswer(const QString& folder, const QStringList& names);

// The names in the dialog's file-name box: several names are each written in
// double quotes ("a.mp3" "b.mp3"); any other text is one name. Empty names are
// dropped.
QStringList SplitNameBox(const QString& text);

// The text the file-name box shows for the given selected names.
QString JoinNameBox(const QStringList& names);
