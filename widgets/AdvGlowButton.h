#pragma once

// TAdvGlowButton: a picture button with an optional caption to the right of the picture, drawn
// with a soft glow on hover and press and a latched look while Down. It takes the keyboard focus
// only with TabStop, and then only through Tab (never by a click); while it has the focus it
// shows a focus ring, and Space (at its release) or Enter clicks it.
//
// Picture is the path of an SVG file (usually a resource, ":/icons/FileOpen.svg"), drawn at
// PictureSize, or at the SVG's own size when PictureSize is not valid; vector drawing keeps it
// crisp at any device pixel ratio. A path that does not name a readable SVG draws no picture.
//
// Down and the button group (ButtonGroupRules.h): with GroupIndex 0 the button is a plain push
// button and Down stays false. Buttons with the same nonzero GroupIndex under the same parent
// exclude each other: setting Down releases the partner that is down, and a down button stays
// down unless AllowAllUp. Setting Down from code fires no event, for this button or others.
//
// Clicking (left button only): the press shows the button pressed; a release on the button
// applies Down := not Down by the rules above and then fires OnClick, also when Down stayed as
// it was; a release off the button changes nothing and fires nothing. Other buttons are ignored.
// Click() does the same from code, for a key or a screen reader.
//
// With AutoSize (the default) the button keeps itself at GlowButtonSize() for its picture,
// caption and font, and asks its parent for a new layout (QEvent::LayoutRequest) when that
// changes.

#include <QSvgRenderer>
#include <QWidget>

// The size of a glow button for a picture of PictureSize (may be empty) and a caption whose
// text is CaptionSize (empty for no caption):
//   picture and caption: 5 + picture + 3 + caption + 6 wide, max(picture, caption) + 8 high;
//   picture only:        picture + 10 wide, picture + 6 high;
//   caption only:        caption + 16 wide, caption + 8 high.
// With a 64 by 64 picture and the caption "Open" in an 11-pixel font about 29 pixels wide this
// gives 107 by 72; a 74 by 64 picture alone gives 84 by 70.
QSize GlowButtonSize(QSize PictureSize, QSize CaptionSize);

class TAdvGlowButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QSize PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TAdvGlowButton(QWidget* Parent = nullptr);

    QString Picture() const { return FPicture; }
    void setPicture(const QString& Value);
    // The size the picture is drawn at: PictureSize when valid, else the SVG's own size.
    QSize PictureSize() const;
    void setPictureSize(const QSize& Value);
    QString Caption() const { return FCaption; }
    void setCaption(const QString& Value);
    bool Down() const { return FDown; }
    void setDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    // Setting GroupIndex to 0 releases the button.
    void setGroupIndex(int Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void setAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool AutoSize() const { return FAutoSize; }
    void setAutoSize(bool Value);
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool Value);

    // A click: Down := not Down by the group rules, then OnClick.
    void Click();

    // Whether a picture was loaded from Picture.
    bool HasPicture() const { return FRenderer.isValid(); }
    // True while the left button is held after a press on the button and the pointer is on it,
    // or while Space is held on the focused button.
    bool ShowsPressed() const { return (FPressed && FPointerInside) || FKeyPressed; }

    QSize sizeHint() const override;

signals:
    void OnClick();

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void ApplyDown(bool Value);
    void ReleaseFromGroup();
    void AdjustSize();
    QSize CaptionSize() const;

    QString FPicture;
    QSize FPictureSize;
    QSvgRenderer FRenderer;
    QString FCaption;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FAutoSize = true;
    bool FHovered = false;
    bool FPressed = false;
    bool FPointerInside = false;
    bool FKeyPressed = false;
};
