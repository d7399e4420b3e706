#include "widgets/StatusLine.h"

#include "widgets/RibbonLook.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QPainter>

namespace {

constexpr int TextLeft = 6;
constexpr int TextRight = 6;

} // namespace

QColor StatusWarningColor() {
    return QColor(0xB0, 0x1E, 0x14);
}

TStatusLine::TStatusLine(QWidget* Parent) : QLabel(Parent) {
    InstallWidgetAccessibility();
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(StatusLineHeight);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

void TStatusLine::setWarning(bool Value) {
    if (Value == FWarning)
        return;
    FWarning = Value;
    update();
}

void TStatusLine::ShowMessage(const QString& Message, bool Warning) {
    FWarning = Warning && !Message.isEmpty();
    if (Message == text()) {
        update();
        return;
    }
    setText(Message);
    UpdateToolTip();
    update();
    QAccessibleEvent Changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&Changed);
}

QSize TStatusLine::sizeHint() const {
    return QSize(TextLeft + TextRight, StatusLineHeight);
}

QSize TStatusLine::minimumSizeHint() const {
    return sizeHint();
}

void TStatusLine::resizeEvent(QResizeEvent* Event) {
    QLabel::resizeEvent(Event);
    UpdateToolTip();
}

void TStatusLine::UpdateToolTip() {
    const int Room = width() - TextLeft - TextRight;
    setToolTip(fontMetrics().horizontalAdvance(text()) > Room ? text() : QString());
}

void TStatusLine::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    Painter.fillRect(rect(), palette().window());
    Painter.setPen(RibbonEdgeColor);
    Painter.drawLine(0, 0, width() - 1, 0);
    if (text().isEmpty())
        return;
    const QRect Room = rect().adjusted(TextLeft, 1, -TextRight, 0);
    Painter.setPen(FWarning ? StatusWarningColor() : palette().color(QPalette::WindowText));
    Painter.drawText(Room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, Room.width()));
}
