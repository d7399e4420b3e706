#include "base/ErrorReporter.h"

#include "base/Exception.h"
#include "base/ExceptionClassName.h"
#include "base/StandardError.h"

#include <utility>

namespace {

TErrorReporter& InstalledReporter() {
    static TErrorReporter Reporter;
    return Reporter;
}

void WriteErrorToStandardError(const std::exception& Error) noexcept {
    try {
        WriteToStandardError(ExceptionClassName(Error) + ": " + Error.what() + "\n");
    } catch (...) {
        WriteToStandardError("An error could not be reported.\n");
    }
}

} // namespace

void SetErrorReporter(TErrorReporter Reporter) {
    InstalledReporter() = std::move(Reporter);
}

void ReportError(const std::exception& Error) noexcept {
    if (dynamic_cast<const EAbort*>(&Error))
        return;
    const TErrorReporter& Reporter = InstalledReporter();
    if (!Reporter) {
        WriteErrorToStandardError(Error);
        return;
    }
    try {
        Reporter(Error);
    } catch (const std::exception& ReporterError) {
        WriteErrorToStandardError(Error);
        WriteErrorToStandardError(ReporterError);
    } catch (...) {
        WriteErrorToStandardError(Error);
    }
}

void ReportCurrentException() noexcept {
    try {
        throw;
    } catch (const std::exception& Error) {
        ReportError(Error);
    } catch (...) {
        try {
            ReportError(Exception("Unknown exception"));
        } catch (...) {
            // Not even the message could be had; there is nothing left to report with.
        }
    }
}
