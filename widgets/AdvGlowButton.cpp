#include "widgets/AdvGlowButton.h"

#include "widgets/ButtonGroupRules.h"
#include "widgets/RibbonLook.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace {

constexpr int PictureLeft = 5;
constexpr int PictureCaptionGap = 3;
constexpr int CaptionRight = 6;
constexpr double CornerRadius = 5.0;

void FillFace(QPainter& Painter, const QRectF& Face, const QColor& Top, const QColor& Bottom,
              const QColor& Border) {
    const QPainterPath Outline = RoundedOutline(Face, CornerRadius);
    QLinearGradient Fill(0, Face.top(), 0, Face.bottom());
    Fill.setColorAt(0.0, Top);
    Fill.setColorAt(1.0, Bottom);
    Painter.fillPath(Outline, Fill);
    Painter.strokePath(Outline, QPen(Border, 1.0));
}

// A soft light rising from the bottom edge: the glow of a hovered or pressed button.
void AddGlow(QPainter& Painter, const QRectF& Face, const QColor& Light) {
    QRadialGradient Glow(Face.center().x(), Face.bottom(), Face.width() * 0.6);
    Glow.setFocalPoint(Face.center().x(), Face.bottom());
    QColor Transparent = Light;
    Transparent.setAlpha(0);
    Glow.setColorAt(0.0, Light);
    Glow.setColorAt(1.0, Transparent);
    Painter.save();
    Painter.setClipPath(RoundedOutline(Face.adjusted(1, 1, -1, -1), CornerRadius - 1));
    Painter.fillRect(Face, Glow);
    Painter.restore();
}

// Tells a screen reader that the button's down state changed.
void NotifyChecked(QWidget* Button) {
    QAccessible::State Changed;
    Changed.checked = true;
    QAccessibleStateChangeEvent Event(Button, Changed);
    QAccessible::updateAccessibility(&Event);
}

} // namespace

QSize GlowButtonSize(QSize PictureSize, QSize CaptionSize) {
    const bool HasPicture = !PictureSize.isEmpty();
    const bool HasCaption = !CaptionSize.isEmpty();
    if (HasPicture && HasCaption)
        return QSize(PictureLeft + PictureSize.width() + PictureCaptionGap + CaptionSize.width() +
                         CaptionRight,
                     std::max(PictureSize.height(), CaptionSize.height()) + 8);
    if (HasPicture)
        return PictureSize + QSize(10, 6);
    if (HasCaption)
        return CaptionSize + QSize(16, 8);
    return QSize(16, 16);
}

TAdvGlowButton::TAdvGlowButton(QWidget* Parent) : QWidget(Parent) {
    InstallWidgetAccessibility();
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    AdjustSize();
}

void TAdvGlowButton::setPicture(const QString& Value) {
    FPicture = Value;
    // A path that names no readable SVG leaves the renderer empty; nothing is drawn then.
    if (Value.isEmpty() || !FRenderer.load(Value))
        FRenderer.load(QByteArray());
    AdjustSize();
    update();
}

QSize TAdvGlowButton::PictureSize() const {
    if (FPictureSize.isValid())
        return FPictureSize;
    return FRenderer.isValid() ? FRenderer.defaultSize() : QSize(0, 0);
}

void TAdvGlowButton::setPictureSize(const QSize& Value) {
    FPictureSize = Value;
    AdjustSize();
    update();
}

void TAdvGlowButton::setCaption(const QString& Value) {
    if (Value == FCaption)
        return;
    FCaption = Value;
    AdjustSize();
    update();
}

void TAdvGlowButton::setAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustSize();
}

void TAdvGlowButton::setTabStop(bool Value) {
    setFocusPolicy(Value ? Qt::TabFocus : Qt::NoFocus);
}

void TAdvGlowButton::Click() {
    ApplyDown(!FDown);
    emit OnClick();
}

void TAdvGlowButton::setDown(bool Value) {
    ApplyDown(Value);
}

void TAdvGlowButton::setGroupIndex(int Value) {
    FGroupIndex = Value;
    if (FGroupIndex == 0 && FDown) {
        FDown = false;
        update();
    }
}

void TAdvGlowButton::ApplyDown(bool Value) {
    const TDownChange Change = ApplyDownRequest(FDown, Value, FGroupIndex, FAllowAllUp);
    if (Change.Down != FDown) {
        FDown = Change.Down;
        update();
        NotifyChecked(this);
    }
    if (!Change.ReleaseGroup || parentWidget() == nullptr)
        return;
    for (QObject* Sibling : parentWidget()->children()) {
        TAdvGlowButton* const Partner = qobject_cast<TAdvGlowButton*>(Sibling);
        if (Partner != nullptr && Partner != this && Partner->FGroupIndex == FGroupIndex &&
            Partner->FDown)
            Partner->ReleaseFromGroup();
    }
}

void TAdvGlowButton::ReleaseFromGroup() {
    FDown = false;
    update();
    NotifyChecked(this);
}

QSize TAdvGlowButton::CaptionSize() const {
    if (FCaption.isEmpty())
        return QSize(0, 0);
    const QFontMetrics Metrics = fontMetrics();
    return QSize(Metrics.horizontalAdvance(FCaption), Metrics.height());
}

QSize TAdvGlowButton::sizeHint() const {
    return GlowButtonSize(PictureSize(), CaptionSize());
}

void TAdvGlowButton::AdjustSize() {
    if (!FAutoSize)
        return;
    const QSize Wanted = sizeHint();
    if (Wanted == size())
        return;
    resize(Wanted);
    updateGeometry();
    // A hidden button gets no resize event until it is shown; tell a self-arranging parent now.
    if (parentWidget() != nullptr) {
        QEvent Request(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(parentWidget(), &Request);
    }
}

void TAdvGlowButton::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        Event->ignore();
        return;
    }
    FPressed = true;
    FPointerInside = true;
    update();
}

void TAdvGlowButton::mouseMoveEvent(QMouseEvent* Event) {
    if (!FPressed)
        return;
    const bool Inside = rect().contains(Event->position().toPoint());
    if (Inside != FPointerInside) {
        FPointerInside = Inside;
        update();
    }
}

void TAdvGlowButton::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton || !FPressed) {
        Event->ignore();
        return;
    }
    FPressed = false;
    update();
    if (!rect().contains(Event->position().toPoint()))
        return;
    Click();
}

void TAdvGlowButton::keyPressEvent(QKeyEvent* Event) {
    const bool Plain = (Event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (Plain && Event->key() == Qt::Key_Space) {
        if (!Event->isAutoRepeat()) {
            FKeyPressed = true;
            update();
        }
        return;
    }
    if (Plain && (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)) {
        if (!Event->isAutoRepeat())
            Click();
        return;
    }
    QWidget::keyPressEvent(Event);
}

void TAdvGlowButton::keyReleaseEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Space && !Event->isAutoRepeat() && FKeyPressed) {
        FKeyPressed = false;
        update();
        Click();
        return;
    }
    QWidget::keyReleaseEvent(Event);
}

void TAdvGlowButton::focusOutEvent(QFocusEvent* Event) {
    // A Space held while the focus leaves does not click.
    FKeyPressed = false;
    update();
    QWidget::focusOutEvent(Event);
}

void TAdvGlowButton::enterEvent(QEnterEvent* Event) {
    FHovered = true;
    update();
    QWidget::enterEvent(Event);
}

void TAdvGlowButton::leaveEvent(QEvent* Event) {
    FHovered = false;
    update();
    QWidget::leaveEvent(Event);
}

void TAdvGlowButton::changeEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::FontChange:
        AdjustSize();
        break;
    case QEvent::EnabledChange:
        FPressed = false;
        FKeyPressed = false;
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(Event);
}

void TAdvGlowButton::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF Face(rect());

    if (ShowsPressed()) {
        FillFace(Painter, Face, QColor(0xC0, 0xDA, 0xF6), QColor(0xA8, 0xCB, 0xF1), AccentColor);
        AddGlow(Painter, Face, QColor(255, 255, 255, 110));
    } else if (FDown) {
        FillFace(Painter, Face, FHovered ? QColor(0xDD, 0xED, 0xFD) : QColor(0xD6, 0xE8, 0xFB),
                 FHovered ? QColor(0xC4, 0xDD, 0xF8) : QColor(0xBD, 0xD8, 0xF6),
                 QColor(0x6F, 0xA5, 0xE2));
        // A faint inner shadow along the top edge: the button sits pressed in.
        QLinearGradient Shadow(0, Face.top(), 0, Face.top() + 6);
        Shadow.setColorAt(0.0, QColor(0x1E, 0x4A, 0x80, 40));
        Shadow.setColorAt(1.0, QColor(0x1E, 0x4A, 0x80, 0));
        Painter.save();
        Painter.setClipPath(RoundedOutline(Face.adjusted(1, 1, -1, -1), CornerRadius - 1));
        Painter.fillRect(Face, Shadow);
        Painter.restore();
    } else if (FHovered || FPressed) {
        FillFace(Painter, Face, QColor(0xFB, 0xFD, 0xFF), AccentLightColor, AccentBorderColor);
        AddGlow(Painter, Face, QColor(0xB9, 0xD9, 0xFB, 170));
    }

    if (hasFocus()) {
        QPen Ring(AccentDarkColor, 1.0, Qt::DotLine);
        Painter.strokePath(RoundedOutline(Face.adjusted(2, 2, -2, -2), CornerRadius - 2), Ring);
    }

    if (!isEnabled())
        Painter.setOpacity(0.45);
    const QSize Picture = PictureSize();
    const bool WithCaption = !FCaption.isEmpty();
    const int PictureX = WithCaption ? PictureLeft : (width() - Picture.width()) / 2;
    const QRectF PictureRect(PictureX, (height() - Picture.height()) / 2, Picture.width(),
                             Picture.height());
    if (FRenderer.isValid() && !Picture.isEmpty())
        FRenderer.render(&Painter, PictureRect);

    if (WithCaption) {
        Painter.setPen(TextColor);
        if (Picture.isEmpty()) {
            Painter.drawText(Face, Qt::AlignCenter | Qt::TextSingleLine, FCaption);
        } else {
            const double CaptionLeft = PictureRect.right() + PictureCaptionGap;
            const QRectF CaptionRect(CaptionLeft, 0, width() - CaptionLeft - CaptionRight,
                                     height());
            Painter.drawText(CaptionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             FCaption);
        }
    }
}
