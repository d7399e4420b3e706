#pragma once

// Runs Body, then Finally, also when Body throws; the exception then continues. Unlike a
// destructor-based guard, Finally may itself throw (an event handler that fails, say): its
// exception then replaces Body's instead of ending the program.
template <class TBody, class TFinallyAction>
void TryFinally(TBody&& Body, TFinallyAction&& Finally) {
    try {
        Body();
    } catch (...) {
        Finally();
        throw;
    }
    Finally();
}
