#include "widgets/AdvToolBar.h"

#include "widgets/RibbonLook.h"
#include "widgets/ToolBarLayout.h"

#include <QApplication>
#include <QChildEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

bool IsExplicitlyHidden(const QWidget* Control) {
    return Control->isHidden() && Control->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// The window that holds a toolbar away from the ribbon: a popup or a floating tool window. It
// tells when it is closed (a popup closes itself on a click outside it or on Esc).
class TToolBarHolder : public QWidget {
public:
    TToolBarHolder(QWidget* Owner, Qt::WindowFlags Flags) : QWidget(Owner, Flags) {
        setAttribute(Qt::WA_DeleteOnClose);
    }
    std::function<void()> OnClosed;

protected:
    void hideEvent(QHideEvent* Event) override {
        QWidget::hideEvent(Event);
        if (OnClosed) {
            const std::function<void()> Closed = std::move(OnClosed);
            OnClosed = nullptr;
            Closed();
        }
    }
};

// Top-left corner for a window of Size at Wanted, moved just as far as it takes to lie on the
// screen that holds Wanted.
QPoint OnScreen(const QPoint& Wanted, const QSize& Size) {
    const QScreen* Screen = QGuiApplication::screenAt(Wanted);
    if (Screen == nullptr)
        Screen = QGuiApplication::primaryScreen();
    if (Screen == nullptr)
        return Wanted;
    const QRect Area = Screen->availableGeometry();
    return QPoint(
        std::clamp(Wanted.x(), Area.left(), std::max(Area.left(), Area.right() + 1 - Size.width())),
        std::clamp(Wanted.y(), Area.top(),
                   std::max(Area.top(), Area.bottom() + 1 - Size.height())));
}

} // namespace

TAdvToolBar::TAdvToolBar(QWidget* Parent) : QWidget(Parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(width(), ToolBarDefaultHeight);
}

TAdvToolBar::~TAdvToolBar() {
    // Deleted while away from the ribbon, not by its holder: the empty holder goes too.
    if (FHolder && FHolder != parentWidget())
        FHolder->deleteLater();
}

void TAdvToolBar::setCompactPicture(const QString& Value) {
    FCompactPicture = Value;
    // A path that names no readable SVG leaves the renderer empty; nothing is drawn then.
    FCompactRenderer.load(Value);
    update();
}

void TAdvToolBar::setFloatable(bool Value) {
    FFloatable = Value;
}

int TAdvToolBar::FullWidth() const {
    if (!FCompact)
        return width();
    if (!FAutoSize)
        return FFullWidth;
    // The hidden controls still follow their own changes (a font, a caption): measured anew.
    std::vector<QSize> Sizes;
    for (const QPointer<QWidget>& Control : FHiddenByCompact)
        if (Control)
            Sizes.push_back(Control->size());
    return LayoutToolBar(Sizes, CaptionTextWidth(), height()).Width;
}

int TAdvToolBar::CompactWidth() const {
    return FCompactPicture.isEmpty() ? 0 : CompactToolBarWidth(CaptionTextWidth());
}

void TAdvToolBar::setCompact(bool Value) {
    if (Value == FCompact || FPlace != TPlace::Docked || (Value && CompactWidth() <= 0))
        return;
    if (Value) {
        FFullWidth = width();
        FHiddenByCompact.clear();
        for (QWidget* const Control : LaidOutControls())
            FHiddenByCompact.emplace_back(Control);
        FCompact = true; // before hiding: the hidden controls ask for no new layout
        for (const QPointer<QWidget>& Control : FHiddenByCompact)
            Control->hide();
        resize(CompactWidth(), height());
    } else {
        FCompact = false;
        for (const QPointer<QWidget>& Control : FHiddenByCompact)
            if (Control)
                Control->show();
        FHiddenByCompact.clear();
        resize(FFullWidth, height());
        DoLayout();
    }
    setCursor(FCompact ? Qt::PointingHandCursor : Qt::ArrowCursor);
    updateGeometry();
    update();
}

void TAdvToolBar::ShowPopup() {
    if (FPlace != TPlace::Docked || !FCompact || parentWidget() == nullptr)
        return;
    const QPoint Below = mapToGlobal(QPoint(0, height()));
    FHome = parentWidget();
    FHomePos = pos();
    setCompact(false);
    FPlace = TPlace::PoppedUp;
    auto* const Holder = new TToolBarHolder(window(), Qt::Popup);
    FHolder = Holder;
    Holder->setObjectName(objectName() + QStringLiteral("Popup"));
    setParent(Holder);
    move(0, 0);
    show();
    Holder->resize(size());
    Holder->move(OnScreen(Below, size()));
    Holder->OnClosed = [this] { ReturnFromHolder(); };
    Holder->show();
}

void TAdvToolBar::Float(const QPoint& At) {
    if (FPlace != TPlace::Docked || parentWidget() == nullptr)
        return;
    FHome = parentWidget();
    FHomePos = pos();
    setCompact(false);
    FPlace = TPlace::Floating;
    auto* const Holder = new TToolBarHolder(window(), Qt::Tool | Qt::FramelessWindowHint);
    FHolder = Holder;
    Holder->setObjectName(objectName() + QStringLiteral("Window"));
    Holder->setWindowTitle(FCaption);
    Holder->setAccessibleName(FCaption);
    setParent(Holder);
    move(0, 0);
    show();
    Holder->resize(size());
    Holder->move(OnScreen(At, size()));
    Holder->OnClosed = [this] { ReturnFromHolder(); };
    Holder->show();
}

void TAdvToolBar::Dock() {
    if (FPlace == TPlace::Floating && FHolder)
        FHolder->close(); // its OnClosed brings the toolbar back
}

// Back to the ribbon page at the place it left: the pager lays it out there (compact again where
// the ribbon is still too narrow). The empty holder goes once its close has finished.
void TAdvToolBar::ReturnFromHolder() {
    QWidget* const Holder = FHolder;
    FHolder = nullptr;
    FPlace = TPlace::Docked;
    if (FHome) {
        setParent(FHome);
        move(FHomePos);
        show();
    }
    if (Holder)
        Holder->deleteLater();
}

bool TAdvToolBar::IsOverHome(const QPoint& GlobalPos) const {
    QWidget* const Home = FPlace == TPlace::Docked ? parentWidget() : FHome.data();
    if (Home == nullptr)
        return false;
    return Home->rect().contains(Home->mapFromGlobal(GlobalPos));
}

void TAdvToolBar::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(Event);
        return;
    }
    FPressed = true;
    FDragging = false;
    FPressGlobal = Event->globalPosition().toPoint();
    FPressOffset = Event->position().toPoint();
    Event->accept();
}

void TAdvToolBar::mouseMoveEvent(QMouseEvent* Event) {
    if (!FPressed || !(Event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(Event);
        return;
    }
    const QPoint Global = Event->globalPosition().toPoint();
    if (!FDragging) {
        if (!FFloatable || FPlace == TPlace::PoppedUp ||
            (Global - FPressGlobal).manhattanLength() < QApplication::startDragDistance())
            return;
        FDragging = true;
    }
    if (FPlace == TPlace::Floating) {
        if (FHolder)
            FHolder->move(Global - FPressOffset);
        return;
    }
    // Docked: an outline of the whole toolbar follows the pointer until it is let go.
    if (!FDragOutline) {
        FDragOutline = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
        FDragOutline->resize(FullWidth(), height());
    }
    FDragOutline->move(Global - FPressOffset);
    FDragOutline->setVisible(!IsOverHome(Global));
}

void TAdvToolBar::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton || !FPressed) {
        QWidget::mouseReleaseEvent(Event);
        return;
    }
    FPressed = false;
    FDragOutline.reset();
    const QPoint Global = Event->globalPosition().toPoint();
    if (FDragging) {
        FDragging = false;
        const bool OverHome = IsOverHome(Global);
        if (FPlace == TPlace::Docked && !OverHome)
            Float(Global - FPressOffset);
        else if (FPlace == TPlace::Floating && OverHome)
            Dock();
        return;
    }
    if (FPlace == TPlace::Docked && FCompact && rect().contains(Event->position().toPoint()))
        ShowPopup();
}

void TAdvToolBar::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton && FPlace == TPlace::Floating &&
        Event->position().y() >= height() - ToolBarCaptionHeight) {
        Dock();
        return;
    }
    QWidget::mouseDoubleClickEvent(Event);
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
    if (FCompact)
        return QSize(CompactWidth(), ToolBarDefaultHeight);
    std::vector<QSize> Sizes;
    for (const QWidget* Control : LaidOutControls())
        Sizes.push_back(Control->size());
    return QSize(LayoutToolBar(Sizes, CaptionTextWidth(), height()).Width, ToolBarDefaultHeight);
}

void TAdvToolBar::DoLayout() {
    // The compact form keeps its width; its hidden controls are laid out when it ends.
    if (FLayingOut || FCompact)
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
    // A click on one of its controls closes the popup, once the control has had it.
    if (FPlace == TPlace::PoppedUp && Event->type() == QEvent::MouseButtonRelease && FHolder)
        QTimer::singleShot(0, FHolder.data(), &QWidget::close);
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
    if (FCompact)
        PaintCompact(Painter);
}

// The compact form's picture, centred above the caption strip, with a small arrow at the
// bottom right that says a click shows more.
void TAdvToolBar::PaintCompact(QPainter& Painter) {
    const int Band = std::max(0, height() - ToolBarCaptionHeight);
    const QRectF Picture((width() - CompactPictureSize) / 2.0,
                         std::max(0, (Band - CompactPictureSize) / 2), CompactPictureSize,
                         CompactPictureSize);
    if (FCompactRenderer.isValid())
        FCompactRenderer.render(&Painter, Picture);
    const double ArrowX = width() - 9.5;
    const double ArrowY = height() - ToolBarCaptionHeight / 2.0;
    QPainterPath Arrow;
    Arrow.moveTo(ArrowX - 3, ArrowY - 1.5);
    Arrow.lineTo(ArrowX + 3, ArrowY - 1.5);
    Arrow.lineTo(ArrowX, ArrowY + 2);
    Arrow.closeSubpath();
    Painter.fillPath(Arrow, CaptionTextColor);
}
