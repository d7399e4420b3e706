#pragma once

// TApplicationEvents: the window's hook into the application's error dispatch. While it exists,
// every error that a handler could not handle ends up in its OnException, on the GUI thread:
// the dispatch first releases a mouse grab (so a failed drag does not keep the pointer), then
// drops EAbort, the silent error, and hands every other error on. Errors from outside the
// Exception family are handed on too, so that nothing goes unrecorded; nothing is ever shown.

#include <QObject>

#include <exception>
#include <functional>

class TApplicationEvents : public QObject {
    Q_OBJECT

public:
    using TExceptionEvent = std::function<void(QObject* Sender, const std::exception& E)>;

    explicit TApplicationEvents(QObject* Parent = nullptr);
    ~TApplicationEvents() override;
    TApplicationEvents(const TApplicationEvents&) = delete;
    TApplicationEvents& operator=(const TApplicationEvents&) = delete;

    TExceptionEvent OnException;

private:
    void Dispatch(const std::exception& E);
};
