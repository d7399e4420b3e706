#include "raster/ErrorReporter.h"

#include "raster/Exception.h"

#include <cstdio>
#include <utility>

namespace {

TErrorReporter& InstalledReporter() {
    static TErrorReporter Reporter;
    return Reporter;
}

const char* ClassNameOf(const std::exception& Error) noexcept {
    if (const auto* Own = dynamic_cast<const Exception*>(&Error))
        return Own->ClassName();
    return "std::exception";
}

void WriteToStandardError(const std::exception& Error) noexcept {
    std::fprintf(stderr, "%s: %s\n", ClassNameOf(Error), Error.what());
    std::fflush(stderr);
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
        WriteToStandardError(Error);
        return;
    }
    try {
        Reporter(Error);
    } catch (const std::exception& ReporterError) {
        WriteToStandardError(Error);
        WriteToStandardError(ReporterError);
    } catch (...) {
        WriteToStandardError(Error);
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
