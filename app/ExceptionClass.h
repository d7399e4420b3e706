#pragma once

// What the error dispatch needs to know about an error before it is logged.

#include <exception>
#include <string>

// False for EAbort and the classes derived from it, which are silent; true for every other error,
// also one from outside the Exception family (a std::bad_alloc, say), so that nothing unhandled
// goes unrecorded.
bool ShouldLog(const std::exception& E) noexcept;

// The class name an error is logged under: Exception::ClassName() for the program's own errors,
// else the readable name of its dynamic type ("std::bad_alloc").
std::string ExceptionClassName(const std::exception& E);
