#include "forms/LayoutReader.h"

#include "forms/Exceptions.h"
#include "forms/TForm.h"

#include <QFileInfo>

LayoutReader::LayoutReader(QString fileName, const QString& text)
    : fileName_(QFileInfo(fileName).fileName()), text_(text) {}

void LayoutReader::fail(const QString& what) const {
    throw ELayoutError(QStringLiteral("%1:%2: %3").arg(fileName_).arg(line_).arg(what));
}

QChar LayoutReader::peek() const {
    return pos_ < text_.size() ? text_[pos_] : QChar();
}

void LayoutReader::skipBlanks() {
    while (pos_ < text_.size()) {
        const QChar c = text_[pos_];
        if (c == QLatin1Char('\n')) ++line_;
        if (c == QLatin1Char('#') && (pos_ == 0 || text_[pos_ - 1] == QLatin1Char('\n'))) {
            while (pos_ < text_.size() && text_[pos_] != QLatin1Char('\n'))
                ++pos_; // comment line
            continue;
        }
        if (!c.isSpace()) break;
        ++pos_;
    }
}

bool LayoutReader::atEnd() {
    skipBlanks();
    return pos_ >= text_.size();
}

// A name: letters, digits, "_" and "." (for Font.Name and the like).
QString LayoutReader::readWord() {
    skipBlanks();
    const int start = pos_;
    while (pos_ < text_.size() &&
           (text_[pos_].isLetterOrNumber() || text_[pos_] == QLatin1Char('_') ||
            text_[pos_] == QLatin1Char('.')))
        ++pos_;
    return text_.mid(start, pos_ - start);
}

// 'text' with '' for a quote; #nnn for a character by code; pieces joined by +.
QString LayoutReader::readString() {
    QString out;
    for (;;) {
        skipBlanks();
        if (peek() == QLatin1Char('\'')) {
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size() || text_[pos_] == QLatin1Char('\n'))
                    fail("unterminated text");
                if (text_[pos_] == QLatin1Char('\'')) {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('\'')) {
                        out += QLatin1Char('\'');
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                out += text_[pos_++];
            }
        } else if (peek() == QLatin1Char('#')) {
            ++pos_;
            const int start = pos_;
            while (pos_ < text_.size() && text_[pos_].isDigit())
                ++pos_;
            bool ok = false;
            const uint code = text_.mid(start, pos_ - start).toUInt(&ok);
            if (!ok || code > 0x10FFFF) fail("bad character code");
            out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else {
            break;
        }
        skipBlanks();
        if (peek() != QLatin1Char('+') && peek() != QLatin1Char('\'') && peek() != QLatin1Char('#'))
            break;
        if (peek() == QLatin1Char('+')) ++pos_;
    }
    return out;
}

LayoutValue LayoutReader::readValue() {
    skipBlanks();
    LayoutValue v;
    const QChar c = peek();
    if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
        v.kind = LayoutValue::Kind::String;
        v.text = readString();
    } else if (c == QLatin1Char('[')) {
        v.kind = LayoutValue::Kind::Set;
        ++pos_;
        for (;;) {
            skipBlanks();
            if (peek() == QLatin1Char(']')) {
                ++pos_;
                break;
            }
            const QString item = readWord();
            if (item.isEmpty()) fail("bad set");
            v.items << item;
            skipBlanks();
            if (peek() == QLatin1Char(',')) ++pos_;
        }
    } else if (c == QLatin1Char('-') || c == QLatin1Char('$') || c.isDigit()) {
        v.kind = LayoutValue::Kind::Integer;
        const int start = pos_;
        ++pos_;
        while (pos_ < text_.size() && text_[pos_].isLetterOrNumber())
            ++pos_;
        QString number = text_.mid(start, pos_ - start);
        bool ok = false;
        if (number.startsWith(QLatin1Char('$')))
            v.integer = number.mid(1).toLongLong(&ok, 16);
        else
            v.integer = number.toLongLong(&ok, 10);
        if (!ok) fail(QStringLiteral("bad number '%1'").arg(number));
    } else {
        v.kind = LayoutValue::Kind::Identifier;
        v.text = readWord();
        if (v.text.isEmpty()) fail("missing value");
    }
    return v;
}

void LayoutReader::readProperty(TComponent& component, const QString& name) {
    skipBlanks();
    if (peek() != QLatin1Char('=')) fail(QStringLiteral("'=' expected after '%1'").arg(name));
    ++pos_;
    const int line = line_;
    const LayoutValue value = readValue();
    const int after = line_;
    line_ = line; // report errors at the property's own line
    try {
        if (name.startsWith(QLatin1String("On"))) {
            const auto handler = handlers_->find(value.Ident());
            if (handler == handlers_->end())
                fail(QStringLiteral("%1: unknown handler '%2'").arg(component.Name, value.text));
            if (!component.SetEvent(name, *handler))
                fail(QStringLiteral("%1: unknown event '%2'").arg(component.Name, name));
        } else if (!component.SetProperty(name, value)) {
            fail(QStringLiteral("%1: unknown property '%2'").arg(component.Name, name));
        }
    } catch (const ELayoutValueError& e) {
        fail(QStringLiteral("%1.%2: %3").arg(component.Name, name, e.reason));
    }
    line_ = after;
}

void LayoutReader::readObject(TForm& form, TComponent* parent, bool top) {
    const QString keyword = readWord();
    if (keyword != QLatin1String("object")) fail(QStringLiteral("'object' expected"));
    const QString name = readWord();
    skipBlanks();
    if (name.isEmpty() || peek() != QLatin1Char(':')) fail("'Name: TClass' expected");
    ++pos_;
    const QString className = readWord();

    TComponent* component = nullptr;
    if (top) {
        if (className != form.ClassName())
            fail(QStringLiteral("unknown class '%1' (expected %2)")
                     .arg(className, form.ClassName()));
        component = &form;
    } else {
        component = CreateComponent(className, &form);
        if (!component) fail(QStringLiteral("%1: unknown class '%2'").arg(name, className));
        created_.push_back(component);
    }
    component->Name = name;
    if (!top) {
        const auto member = members_->find(name);
        if (member != members_->end() && !(*member)(component))
            fail(QStringLiteral("%1: member of another class than '%2'").arg(name, className));
        if (!parent->InsertChild(component))
            fail(QStringLiteral("%1: '%2' cannot hold a %3").arg(name, parent->Name, className));
    }

    for (;;) {
        if (atEnd()) fail(QStringLiteral("%1: 'end' missing").arg(name));
        const int save = pos_, saveLine = line_;
        const QString word = readWord();
        if (word == QLatin1String("end")) break;
        if (word == QLatin1String("object")) {
            pos_ = save, line_ = saveLine;
            readObject(form, component, false);
        } else if (word.isEmpty()) {
            fail(QStringLiteral("unexpected '%1'").arg(peek()));
        } else {
            readProperty(*component, word);
        }
    }
}

void LayoutReader::ReadInto(TForm& form,
                            const QHash<QString, std::function<bool(TComponent*)>>& members,
                            const QHash<QString, TNotifyEvent>& handlers) {
    members_ = &members;
    handlers_ = &handlers;
    readObject(form, nullptr, true);
    if (!atEnd()) fail("text after the final 'end'");
    try {
        for (TComponent* c : created_)
            c->Loaded();
    } catch (const ELayoutValueError& e) {
        fail(e.reason);
    }
    line_ = 0;
    static_cast<TComponent&>(form).Loaded();
}
