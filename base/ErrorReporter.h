#pragma once

// The one place where errors that nothing can handle end up. Code that must not let an exception
// escape (Qt event handlers, slots) catches everything and reports it here; the program routes
// the reports to its error dispatch (the exception log) by installing a reporter at start. Until
// then reports go to standard error as "ClassName: message".
//
// Reporters run on the GUI thread; install one before the first event is handled.

#include <exception>
#include <functional>

using TErrorReporter = std::function<void(const std::exception& Error)>;

// Installs Reporter for all later reports; an empty one restores the standard-error default.
void SetErrorReporter(TErrorReporter Reporter);

// Hands Error to the reporter. EAbort, the silent error, is dropped. Never throws: a reporter
// that throws is cut short, and its error is written to standard error.
void ReportError(const std::exception& Error) noexcept;

// Reports the exception being handled; call it only inside a catch block. Exceptions that do not
// derive from std::exception are reported as Exception "Unknown exception".
void ReportCurrentException() noexcept;
