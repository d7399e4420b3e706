#pragma once

// The class name under which an error is reported, in the log and on standard error.

#include <exception>
#include <string>

// Exception::ClassName() for the program's own errors, else the readable name of the error's
// dynamic type ("std::bad_alloc").
std::string ExceptionClassName(const std::exception& E);
