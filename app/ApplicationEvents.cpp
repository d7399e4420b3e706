#include "app/ApplicationEvents.h"

#include "base/ErrorReporter.h"

#include <QWidget>

TApplicationEvents::TApplicationEvents(QObject* Parent) : QObject(Parent) {
    SetErrorReporter([this](const std::exception& E) { Dispatch(E); });
}

TApplicationEvents::~TApplicationEvents() {
    SetErrorReporter({});
}

void TApplicationEvents::Dispatch(const std::exception& E) {
    if (QWidget* const Grabber = QWidget::mouseGrabber())
        Grabber->releaseMouse();
    if (OnException)
        OnException(this, E);
}
