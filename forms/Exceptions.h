#pragma once
// The error types of the component library. Every error the program raises is
// an Exception; the application object shows its Message() in the error box.

#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(const QString& message);
    const QString& Message() const noexcept { return message_; }
    // The kind of error, as named in the start-up failure box.
    virtual const char* ClassName() const noexcept { return "Exception"; }
    // The code address that raised the error (the caller of the constructor).
    const void* Address() const noexcept { return address_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
    const void* address_;
};

#define LUNOHRAI_DECLARE_EXCEPTION(Name, Base)                                                     \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* ClassName() const noexcept override { return #Name; }                          \
    };

// A misuse of a component, or a resource it cannot open ("Cannot open AVI").
LUNOHRAI_DECLARE_EXCEPTION(EInvalidOperation, Exception)
// A stored layout that cannot be read: the message names file, line and the bad name.
LUNOHRAI_DECLARE_EXCEPTION(ELayoutError, Exception)
// A picture that cannot be decoded.
LUNOHRAI_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
// An error of the media button bar ("No MCI device open", the media layer's texts).
LUNOHRAI_DECLARE_EXCEPTION(EMCIDeviceError, Exception)
