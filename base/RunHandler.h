#pragma once

// Runs Work as a handler entry point (a slot, an event handler): an error that escapes it goes to
// the application's error dispatch instead of into the Qt code that called the handler, which
// must never see an exception.

#include "base/ErrorReporter.h"

template <class TWork>
void RunHandler(TWork&& Work) noexcept {
    try {
        Work();
    } catch (...) {
        ReportCurrentException();
    }
}
