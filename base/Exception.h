#pragma once

// Root of every error the program raises. The message is an 8-bit text, returned unchanged by
// what(); ClassName() gives the class name that the exception log writes beside it.

#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string Message) : FMessage(std::move(Message)) {}

    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string FMessage;
};

// Declares an error class that adds nothing but its name: DECLARE_EXCEPTION_CLASS(EFoo, Exception)
// gives class EFoo, constructed from a message, whose ClassName() is "EFoo".
#define DECLARE_EXCEPTION_CLASS(Name, Base)                                                        \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* ClassName() const noexcept override { return #Name; }                          \
    }

// The silent error: raised to abandon an operation, never logged and never shown.
DECLARE_EXCEPTION_CLASS(EAbort, Exception);
