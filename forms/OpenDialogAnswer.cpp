#include "forms/OpenDialogAnswer.h"

bool IsFullPath(const QString& name) {
    return name.startsWith(u'/');
}

QString JoinToFolder(const QString& folder, const QString& name) {
    if (IsFullPath(name)) return name;
    if (folder.endsWith(u'/')) return folder + name;
    return folder + u'/' + name;
}

std::optional<QStringList> ResolveOpenDialogAnswer(const QString& folder,
                                                   const QStringList& names) {
    if (names.isEmpty()) return std::nullopt;
    qsizetype length = folder.size() + 1 + 1; // folder, its NUL, the final NUL
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names) {
        length += name.size() + 1;
        paths << JoinToFolder(folder, name);
    }
    if (length > MaxOpenDialogAnswer) return std::nullopt;
    return paths;
}

QStringList SplitNameBox(const QString& text) {
    QStringList names;
    // Quoted names only when the text opens with a quote and closes it.
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'"') && trimmed.indexOf(u'"', 1) > 0) {
        for (qsizetype open = trimmed.indexOf(u'"'); open >= 0;) {
            const qsizetype close = trimmed.indexOf(u'"', open + 1);
            if (close < 0) {
                // An unclosed last quote: the rest is one more name.
                names << trimmed.mid(open + 1);
                break;
            }
            names << trimmed.mid(open + 1, close - open - 1);
            open = trimmed.indexOf(u'"', close + 1);
        }
    } else {
        names << text;
    }
    names.removeAll(QString());
    return names;
}

QString JoinNameBox(const QStringList& names) {
    if (names.size() == 1) return names.first();
    QString text;
    for (const QString& name : names) {
        if (!text.isEmpty()) text += u' ';
        text += u'"' + name + u'"';
    }
    return text;
}
