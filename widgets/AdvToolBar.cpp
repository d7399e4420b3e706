#include "widgets/AdvToolBar.h"

#include "widgets/RibbonLook.h"
#include "widgets/ToolBarLayout.h"

#include <QChildEvent>
#include <QLinearGradient>
#include <QPainter>

namespace {

bool IsExplicitlyHidden(const QWidget* Control) {
    return Control->isHidden() && Control->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

} // namespace

TAdvToolBar::TAdvToolBar(QWidget* Parent) : QWidget(Parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(width(), ToolBarDefaultHeight);
}

void TAdvToolBar::setCaption(const QString& Value) {
    if (Value == FCaption)
        return;
    FCaption = Value;
    DoLayout();
    update();
}

void TAdvToolBar::setAutoSize(bool Value) {
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    DoLayout();
}

std::vector<QWidget*> TAdvToolBar::LaidOutControls() const {
    std::vector<QWidget*> Controls;
    for (QObject* Child : children()) {
        QWidget* Control = qobject_cast<QWidget*>(Child);
        if (Control != nullptr && !Control->isWindow() && !IsExplicitlyHidden(Control))
            Controls.push_back(Control);
    }
    return Controls;
}

int TAdvToolBar::CaptionTextWidth() const {
    return fontMetrics().horizontalAdvance(FCaption);
}

QSize TAdvToolBar::sizeHint() const {
    std::vector<QSize> Sizes;
    for (const QWidget* Control : LaidOutControls())
        Sizes.push_back(Control->size());
    return QSize(LayoutToolBar(Sizes, CaptionTextWidth(), height()).Width, ToolBarDefaultHeight);
}

void TAdvToolBar::DoLayout() {
    if (FLayingOut)
        return;
    FLayingOut = true;
    const std::vector<QWidget*> Controls = LaidOutControls();
    std::vector<QSize> Sizes;
    for (const QWidget* Control : Controls)
        Sizes.push_back(Control->size());
    const TToolBarLayout Layout = LayoutToolBar(Sizes, CaptionTextWidth(), height());
    for (std::size_t i = 0; i < Controls.size(); ++i)
        Controls[i]->move(Layout.Positions[i]);
    if (FAutoSize && Layout.Width != width())
        resize(Layout.Width, height());
    FLayingOut = false;
    updateGeometry();
}

bool TAdvToolBar::event(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::FontChange:
    case QEvent::Resize:
    case QEvent::Polish:
    case QEvent::LayoutRequest:
        DoLayout();
        break;
    default:
        break;
    }
    return QWidget::event(Event);
}

void TAdvToolBar::childEvent(QChildEvent* Event) {
    QWidget::childEvent(Event);
    QObject* const Child = Event->child();
    if (Event->added() && Child->isWidgetType()) {
        Child->installEventFilter(this);
        DoLayout();
    } else if (Event->removed()) {
        // A control being deleted no longer counts as a widget here; one moved to another
        // parent still does and is no longer watched.
        if (Child->isWidgetType())
            Child->removeEventFilter(this);
        DoLayout();
    }
}

bool TAdvToolBar::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched->parent() == this) {
        switch (Event->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            DoLayout();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

void TAdvToolBar::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing);
    const QRectF Card(rect());
    const double Radius = 4.0;

    QLinearGradient Fill(0, 0, 0, height());
    Fill.setColorAt(0.0, CardTopColor);
    Fill.setColorAt(1.0, CardBottomColor);
    const QPainterPath Outline = RoundedOutline(Card, Radius);
    Painter.fillPath(Outline, Fill);

    // The caption strip: the card's lower part, clipped to its rounded outline.
    const QRectF Strip(0, height() - ToolBarCaptionHeight, width(), ToolBarCaptionHeight);
    QLinearGradient StripFill(0, Strip.top(), 0, Strip.bottom());
    StripFill.setColorAt(0.0, CaptionTopColor);
    StripFill.setColorAt(1.0, CaptionBottomColor);
    Painter.save();
    Painter.setClipPath(Outline);
    Painter.fillRect(Strip, StripFill);
    Painter.restore();

    Painter.setPen(QPen(CardBorderColor, 1.0));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawPath(Outline);

    Painter.setPen(CaptionTextColor);
    Painter.drawText(Strip.adjusted(ToolBarCaptionPadding, 0, -ToolBarCaptionPadding, -1),
                     Qt::AlignCenter | Qt::TextSingleLine, FCaption);
}
