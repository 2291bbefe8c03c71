#pragma once
// Access keys of menu items: the character marked by "&" in a caption ("&&"
// stands for "&" itself), given automatically when a menu opens, and the
// matching of a character typed while the menu is open.

#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

// The caption's access key in upper case, or a null QChar when it has none.
QChar AccessKeyOf(const QString& caption);
// The caption as shown: "&" markers removed, "&&" turned into "&".
QString CaptionText(const QString& caption);
// Gives every caption without an access key the first Latin letter or digit
// that no earlier caption has taken, marked with "&"; "-" lines get none.
QStringList WithAccessKeys(const QStringList& captions);
// The items a typed character chooses, in menu order: those whose access key
// it is; when there are none, those without an access key whose caption starts
// with it. Letter case does not count.
std::vector<int> ItemsForCharacter(const QStringList& captions, QChar typed);
