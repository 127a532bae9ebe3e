// The root of every exception the program raises. Each module derives its own
// class (ELangFileError, GIFException, ...); the application shows an
// unhandled one in a message box and goes on. An error raised with a message
// of ours (platform/Wording.h) keeps it, so that the window showing the error
// words it in the chosen language; its what() is the English.
#pragma once

#include "platform/Wording.h"

#include <memory>
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    explicit Exception(TMessage message)
        : std::runtime_error(message.English()), said_(std::make_shared<const TMessage>(std::move(message)))
    {
    }
    std::string Message() const { return what(); }
    // What the error says: the message it was raised with, or its text as it came.
    TMessage Said() const { return said_ ? *said_ : TMessage(what()); }

private:
    // Shared: copying an exception must not throw.
    std::shared_ptr<const TMessage> said_;
};

// What an error says: ours the message it was raised with, another its text as it came.
inline TMessage SaidBy(const std::exception& error)
{
    const auto* ours = dynamic_cast<const Exception*>(&error);
    return ours ? ours->Said() : TMessage(error.what());
}

// Declares `class Name : public Base` with the message constructors.
#define VX_DECLARE_EXCEPTION(Name, Base)                                         \
    class Name : public Base {                                                   \
    public:                                                                      \
        explicit Name(const std::string& message) : Base(message) {}             \
        explicit Name(TMessage message) : Base(std::move(message)) {}            \
    }

// The class library's general file errors.
VX_DECLARE_EXCEPTION(EStreamError, Exception);
VX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
VX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
VX_DECLARE_EXCEPTION(EReadError, EStreamError);
VX_DECLARE_EXCEPTION(EWriteError, EStreamError);
// What an EReadError says of data that ends before what it declares holds:
// "Stream read error".
extern const TWording StreamReadError;
// Index out of range and similar misuse of a list.
VX_DECLARE_EXCEPTION(EListError, Exception);
// What a list says of an index outside it: "List index out of bounds (%1)",
// the index in place of %1.
extern const TWording ListIndexOutOfBounds;
// A string that is not a number, date or the like.
VX_DECLARE_EXCEPTION(EConvertError, Exception);
// What an EConvertError says of a text that is no number: "'%1' is not a valid
// floating point value", the text in place of %1.
extern const TWording NotAFloatingPointValue;
// Ends the current operation silently: the application shows no message for it.
VX_DECLARE_EXCEPTION(EAbort, Exception);
// A failed call of the operating system; the message is the system's own text.
VX_DECLARE_EXCEPTION(EOSError, Exception);
// The system ran out of timers, handles or similar.
VX_DECLARE_EXCEPTION(EOutOfResources, Exception);
