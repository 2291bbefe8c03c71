#include "forms/OpenDialogFilter.h"

#include "forms/CaseFold.h"

QList<OpenDialogFilterEntry> ParseOpenDialogFilter(const QString& filter) {
    QList<OpenDialogFilterEntry> entries;
    if (filter.isEmpty()) return entries;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        OpenDialogFilterEntry entry{parts[i], {}};
        for (const QString& pattern : parts[i + 1].split(u';')) {
            const QString p = pattern.trimmed();
            if (!p.isEmpty()) entry.patterns << p;
        }
        entries << entry;
    }
    return entries;
}

OpenDialogPatterns::OpenDialogPatterns(const QStringList& patterns) {
    for (const QString& p : patterns) {
        if (p == QLatin1String("*.*") || p == QLatin1String("*")) all_ = true;
        patterns_.emplace_back(p);
    }
    if (patterns_.empty()) all_ = true;
}

bool OpenDialogPatterns::Matches(QStringView name) const {
    if (all_) return true;
    const std::u32string folded = Folded(name);
    for (const WildcardPattern& p : patterns_)
        if (p.Matches(folded)) return true;
    return false;
}
