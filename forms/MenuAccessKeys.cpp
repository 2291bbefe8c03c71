#include "forms/MenuAccessKeys.h"

namespace {
bool sameLetter(QChar a, QChar b) {
    return QString(a).compare(QString(b), Qt::CaseInsensitive) == 0;
}

bool isLatinLetterOrDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}
} // namespace

QChar AccessKeyOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1].toUpper();
        ++i; // "&&": a plain "&"
    }
    return {};
}

QString CaptionText(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

QStringList WithAccessKeys(const QStringList& captions) {
    QStringList out;
    QString taken;
    for (const QString& caption : captions) {
        QString withKey = caption;
        QChar key = AccessKeyOf(caption);
        if (key.isNull() && caption != QLatin1String("-")) {
            for (qsizetype i = 0; i < caption.size(); ++i) {
                const QChar c = caption[i].toUpper();
                if (isLatinLetterOrDigit(c) && !taken.contains(c)) {
                    withKey.insert(i, QLatin1Char('&'));
                    key = c;
                    break;
                }
            }
        }
        if (!key.isNull()) taken += key;
        out << withKey;
    }
    return out;
}

std::vector<int> ItemsForCharacter(const QStringList& captions, QChar typed) {
    std::vector<int> byKey, byFirst;
    for (int i = 0; i < captions.size(); ++i) {
        const QChar key = AccessKeyOf(captions[i]);
        if (!key.isNull()) {
            if (sameLetter(key, typed)) byKey.push_back(i);
        } else if (const QString text = CaptionText(captions[i]);
                   !text.isEmpty() && sameLetter(text.front(), typed)) {
            byFirst.push_back(i);
        }
    }
    return byKey.empty() ? byFirst : byKey;
}
