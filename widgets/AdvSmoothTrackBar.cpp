#include "widgets/AdvSmoothTrackBar.h"

#include "widgets/RibbonLook.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Vertical arrangement, centred in the control: thumb, then tick marks, then value labels.
constexpr double BlockHeight = 50.0;
constexpr double ThumbHeight = 24.0;
constexpr double GrooveHeight = 6.0;
constexpr double TickTop = 28.0;
constexpr double TickLength = 5.0;
constexpr double LabelTop = 35.0;
constexpr double LabelHeight = 15.0;
// The thumb is drawn this much inside its ThumbSize-wide slot, leaving room for the focus ring.
constexpr double ThumbInset = 2.0;
// More tick marks than this are not drawn (a tiny Step on a wide range).
constexpr int MaxTickMarks = 200;

} // namespace

TTrackBarKey TrackBarKeyOf(int Key) {
    switch (Key) {
    case Qt::Key_Home:
        return TTrackBarKey::Home;
    case Qt::Key_End:
        return TTrackBarKey::End;
    case Qt::Key_Left:
        return TTrackBarKey::Left;
    case Qt::Key_Down:
        return TTrackBarKey::Down;
    case Qt::Key_Right:
        return TTrackBarKey::Right;
    case Qt::Key_Up:
        return TTrackBarKey::Up;
    default:
        return TTrackBarKey::Other;
    }
}

TAdvSmoothTrackBar::TAdvSmoothTrackBar(QWidget* Parent) : QWidget(Parent) {
    InstallWidgetAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TAdvSmoothTrackBar::setMinimum(double Value) {
    FModel.SetMinimum(Value);
    update();
}

void TAdvSmoothTrackBar::setMaximum(double Value) {
    FModel.SetMaximum(Value);
    update();
}

void TAdvSmoothTrackBar::setStep(double Value) {
    FModel.SetStep(Value);
    update();
}

void TAdvSmoothTrackBar::setPosition(double Value) {
    Fire(FModel.SetPosition(Value));
}

void TAdvSmoothTrackBar::setThumbSize(int Value) {
    FThumbSize = std::max(0, Value);
    update();
}

void TAdvSmoothTrackBar::setValueFormat(const QString& Value) {
    FValueFormat = Value;
    update();
}

void TAdvSmoothTrackBar::setReadOnly(bool Value) {
    FModel.SetReadOnly(Value);
    FPressButton = Qt::NoButton;
}

TTrackBarGeometry TAdvSmoothTrackBar::Geometry() const {
    return TrackBarGeometryFor(width(), FThumbSize);
}

QSize TAdvSmoothTrackBar::sizeHint() const {
    return QSize(250, 70);
}

QSize TAdvSmoothTrackBar::minimumSizeHint() const {
    return QSize(FThumbSize * 2, static_cast<int>(BlockHeight));
}

void TAdvSmoothTrackBar::Fire(const TTrackBarEvents& Events) {
    if (!Events.PositionChanging && !Events.PositionChanged)
        return;
    update();
    QAccessibleValueChangeEvent Changed(this, Position());
    QAccessible::updateAccessibility(&Changed);
    const QPointer<TAdvSmoothTrackBar> Self(this);
    if (Events.PositionChanging)
        emit OnPositionChanging(Position());
    if (Events.PositionChanged && Self != nullptr)
        emit OnPositionChanged(Position());
}

bool TAdvSmoothTrackBar::event(QEvent* Event) {
    // Keep the six keys from window shortcuts while the control has the focus.
    if (Event->type() == QEvent::ShortcutOverride && !ReadOnly()) {
        auto* const Key = static_cast<QKeyEvent*>(Event);
        if ((Key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            TrackBarKeyOf(Key->key()) != TTrackBarKey::Other) {
            Event->accept();
            return true;
        }
    }
    return QWidget::event(Event);
}

void TAdvSmoothTrackBar::mousePressEvent(QMouseEvent* Event) {
    setFocus(Qt::MouseFocusReason);
    if (FPressButton != Qt::NoButton && !Event->buttons().testFlag(FPressButton)) {
        // The release of the earlier press never came (the pointer was taken away, by a
        // dialog say): end that press where the pointer last was, so the control is not stuck.
        FPressButton = Qt::NoButton;
        Fire(FModel.Release(FLastX, Geometry()));
    }
    const Qt::MouseButton Button = Event->button();
    if (FPressButton != Qt::NoButton ||
        (Button != Qt::LeftButton && Button != Qt::RightButton && Button != Qt::MiddleButton))
        return;
    FPressButton = Button;
    FLastX = Event->position().x();
    Fire(FModel.Press(FLastX, Geometry()));
    update();
}

void TAdvSmoothTrackBar::mouseMoveEvent(QMouseEvent* Event) {
    const double X = Event->position().x();
    const bool OnThumb =
        ClassifyAgainstThumb(X, Position(), Geometry(), FModel.Settings()) == TThumbZone::OnThumb;
    if (OnThumb != FHoverThumb) {
        FHoverThumb = OnThumb;
        update();
    }
    if (FPressButton != Qt::NoButton) {
        FLastX = X;
        Fire(FModel.Move(X, Geometry()));
    }
}

void TAdvSmoothTrackBar::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != FPressButton)
        return;
    FPressButton = Qt::NoButton;
    update();
    Fire(FModel.Release(Event->position().x(), Geometry()));
}

void TAdvSmoothTrackBar::wheelEvent(QWheelEvent* Event) {
    Event->ignore();
}

void TAdvSmoothTrackBar::keyPressEvent(QKeyEvent* Event) {
    const TTrackBarKey Key = TrackBarKeyOf(Event->key());
    if (Key == TTrackBarKey::Other) {
        QWidget::keyPressEvent(Event);
        return;
    }
    Fire(FModel.KeyDown(Key));
}

void TAdvSmoothTrackBar::keyReleaseEvent(QKeyEvent* Event) {
    const TTrackBarKey Key = TrackBarKeyOf(Event->key());
    if (Key == TTrackBarKey::Other) {
        QWidget::keyReleaseEvent(Event);
        return;
    }
    // A held key repeats as release/press pairs; only the real release ends the change.
    if (!Event->isAutoRepeat())
        Fire(FModel.KeyUp(Key));
}

void TAdvSmoothTrackBar::leaveEvent(QEvent* Event) {
    FHoverThumb = false;
    update();
    QWidget::leaveEvent(Event);
}

void TAdvSmoothTrackBar::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing);
    const TTrackBarSettings& Settings = FModel.Settings();
    const TTrackBarGeometry Geo = Geometry();
    const double Top = std::floor((height() - BlockHeight) / 2.0);
    const double Half = Geo.ThumbSize / 2.0;
    const double Range = Settings.Maximum - Settings.Minimum;
    const auto CentreOf = [&](double Value) {
        return Half + TrackBarThumbLeft(Value, Geo, Settings);
    };
    if (!isEnabled())
        Painter.setOpacity(0.5);

    // Groove, from the thumb centre's first to its last place, with rounded ends.
    const double GrooveY = Top + (ThumbHeight - GrooveHeight) / 2.0;
    const QRectF Groove(Half - GrooveHeight / 2.0, GrooveY, Geo.TrackLength + GrooveHeight,
                        GrooveHeight);
    QLinearGradient GrooveFill(0, Groove.top(), 0, Groove.bottom());
    GrooveFill.setColorAt(0.0, QColor(0xC9, 0xD2, 0xDF));
    GrooveFill.setColorAt(1.0, QColor(0xDF, 0xE5, 0xEE));
    Painter.setPen(QPen(QColor(0xAE, 0xBB, 0xCC), 1.0));
    Painter.setBrush(GrooveFill);
    Painter.drawRoundedRect(Groove.adjusted(0.5, 0.5, -0.5, -0.5), GrooveHeight / 2.0,
                            GrooveHeight / 2.0);

    // The filled part runs from the value nearest zero to the thumb.
    if (Range > 0.0) {
        const double Origin = CentreOf(std::clamp(0.0, Settings.Minimum, Settings.Maximum));
        const double Thumb = CentreOf(Position());
        if (std::abs(Thumb - Origin) > 0.5) {
            const QRectF Fill(std::min(Origin, Thumb), GrooveY + 1, std::abs(Thumb - Origin),
                              GrooveHeight - 2);
            QLinearGradient Accent(0, Fill.top(), 0, Fill.bottom());
            Accent.setColorAt(0.0, QColor(0x6C, 0xA8, 0xEC));
            Accent.setColorAt(1.0, AccentColor);
            Painter.setPen(Qt::NoPen);
            Painter.setBrush(Accent);
            Painter.drawRoundedRect(Fill, 2.0, 2.0);
        }
    }

    // Tick marks and their labels.
    const int Ticks = Range > 0.0 ? TrackBarTickCount(Settings, MaxTickMarks) : 0;
    const std::string Format = FValueFormat.toStdString();
    QFont LabelFont = font();
    for (int i = 0; i < Ticks; ++i) {
        const double Value = TrackBarTickValue(Settings, i);
        const double X = std::round(CentreOf(Value)) + 0.5;
        const bool Current = Value == Position();
        Painter.setPen(QPen(Current ? AccentDarkColor : LineColor, 1.0));
        Painter.drawLine(QPointF(X, Top + TickTop), QPointF(X, Top + TickTop + TickLength));
        LabelFont.setBold(Current);
        Painter.setFont(LabelFont);
        Painter.setPen(Current ? AccentDarkColor : TextMutedColor);
        const QRectF Label(X - 30, Top + LabelTop, 60, LabelHeight);
        Painter.drawText(Label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(FormatTickLabel(Format, Value)));
    }

    // The thumb, with a soft shadow, a grip and, with the focus, a ring around it.
    const double ThumbLeft = TrackBarThumbLeft(Position(), Geo, Settings);
    const QRectF Thumb(ThumbLeft + ThumbInset, Top, Geo.ThumbSize - 2 * ThumbInset, ThumbHeight);
    const bool Held = FModel.DraggingThumb();
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(0x20, 0x3A, 0x60, 28));
    Painter.drawRoundedRect(Thumb.translated(0, 1.5), 6.0, 6.0);
    QLinearGradient ThumbFill(0, Thumb.top(), 0, Thumb.bottom());
    ThumbFill.setColorAt(0.0, Held ? QColor(0xDF, 0xEC, 0xFC) : QColor(0xFF, 0xFF, 0xFF));
    ThumbFill.setColorAt(1.0, Held ? QColor(0xC6, 0xDC, 0xF7) : QColor(0xE6, 0xEC, 0xF4));
    Painter.setBrush(ThumbFill);
    Painter.setPen(QPen(Held || FHoverThumb ? AccentColor : QColor(0x8E, 0xA2, 0xBC), 1.0));
    Painter.drawRoundedRect(Thumb.adjusted(0.5, 0.5, -0.5, -0.5), 6.0, 6.0);
    Painter.setPen(QPen(Held || FHoverThumb ? AccentColor : QColor(0x9A, 0xA8, 0xBB), 1.0));
    const double GripX = std::round(Thumb.center().x()) + 0.5;
    for (const double Offset : {-4.0, 0.0, 4.0})
        Painter.drawLine(QPointF(GripX + Offset, Thumb.top() + 8),
                         QPointF(GripX + Offset, Thumb.bottom() - 8));
    if (hasFocus()) {
        QColor Ring = AccentColor;
        Ring.setAlpha(120);
        Painter.setPen(QPen(Ring, 2.0));
        Painter.setBrush(Qt::NoBrush);
        Painter.drawRoundedRect(Thumb.adjusted(-1, -1, 1, 1), 7.0, 7.0);
    }
}
