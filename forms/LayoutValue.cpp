#include "forms/LayoutValue.h"

namespace {
[[noreturn]] void wrongKind(const char* wanted) {
    throw ELayoutValueError{QStringLiteral("expected %1").arg(QLatin1String(wanted))};
}
} // namespace

int LayoutValue::Int() const {
    if (kind != Kind::Integer) wrongKind("a number");
    return static_cast<int>(integer);
}

bool LayoutValue::Bool() const {
    if (kind == Kind::Identifier) {
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    }
    wrongKind("True or False");
}

const QString& LayoutValue::Str() const {
    if (kind != Kind::String) wrongKind("a quoted text");
    return text;
}

const QString& LayoutValue::Ident() const {
    if (kind != Kind::Identifier) wrongKind("a name");
    return text;
}

const QStringList& LayoutValue::SetItems() const {
    if (kind != Kind::Set) wrongKind("a set [..]");
    return items;
}
