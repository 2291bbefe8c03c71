#pragma once
// One value of a stored layout: a number, a quoted text, an identifier
// (True, clYellow, bsToolWindow ...), a set [a, b], or a picture reference.

#include <QString>
#include <QStringList>

struct LayoutValue {
    enum class Kind { Integer, String, Identifier, Set };
    Kind kind = Kind::Integer;
    qint64 integer = 0;
    QString text;      // String and Identifier
    QStringList items; // Set

    // Typed reads: each throws ELayoutValueError when the value is of another kind,
    // which the layout reader turns into an error naming file, line and property.
    int Int() const;
    bool Bool() const;
    const QString& Str() const;
    const QString& Ident() const;
    const QStringList& SetItems() const;
};

// Raised by a component for a value it does not accept; the reader adds the place.
struct ELayoutValueError {
    QString reason;
};
