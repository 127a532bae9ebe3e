// The root of every exception the program raises. Each module derives its own
// class (ELangFileError, GIFException, ...) with fixed English messages; the
// application shows an unhandled one in a message box and goes on.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Declares `class Name : public Base` with the message constructor.
#define VX_DECLARE_EXCEPTION(Name, Base)                                         \
    class Name : public Base {                                                   \
    public:                                                                      \
        explicit Name(const std::string& message) : Base(message) {}             \
    }

// The class library's general file errors.
VX_DECLARE_EXCEPTION(EStreamError, Exception);
VX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
VX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
VX_DECLARE_EXCEPTION(EReadError, EStreamError);
VX_DECLARE_EXCEPTION(EWriteError, EStreamError);
// Index out of range and similar misuse of a list.
VX_DECLARE_EXCEPTION(EListError, Exception);
// A string that is not a number, date or the like.
VX_DECLARE_EXCEPTION(EConvertError, Exception);
// Ends the current operation silently: the application shows no message for it.
VX_DECLARE_EXCEPTION(EAbort, Exception);
// A failed call of the operating system; the message is the system's own text.
VX_DECLARE_EXCEPTION(EOSError, Exception);
// The system ran out of timers, handles or similar.
VX_DECLARE_EXCEPTION(EOutOfResources, Exception);
