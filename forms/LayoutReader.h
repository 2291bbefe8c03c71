#pragma once
// Reads a stored layout: nested "object Name: TClass ... end" blocks holding
// "Property = value" lines. Creates each component by its class name, gives it
// its settings, binds its events to the form's handlers and assigns the form's
// members. Every error names the file, the line and the bad name.

#include "forms/TComponent.h"

#include <QHash>
#include <QString>
#include <functional>

class TForm;

class LayoutReader {
public:
    LayoutReader(QString fileName, const QString& text);
    void ReadInto(TForm& form, const QHash<QString, std::function<bool(TComponent*)>>& members,
                  const QHash<QString, TNotifyEvent>& handlers);

private:
    struct Token;
    void readObject(TForm& form, TComponent* parent, bool top);
    void readProperty(TComponent& component, const QString& name);
    LayoutValue readValue();
    QString readString();
    [[noreturn]] void fail(const QString& what) const;
    void skipBlanks();
    QString readWord();
    bool atEnd();
    QChar peek() const;

    QString fileName_;
    QString text_;
    int pos_ = 0;
    int line_ = 1;
    TForm* form_ = nullptr;
    const QHash<QString, std::function<bool(TComponent*)>>* members_ = nullptr;
    const QHash<QString, TNotifyEvent>* handlers_ = nullptr;
    std::vector<TComponent*> created_;
};

// Creates a component of a class the layouts may name; nullptr for an unknown class.
TComponent* CreateComponent(const QString& className, TComponent* owner);
