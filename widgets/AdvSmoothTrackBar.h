#pragma once

// TAdvSmoothTrackBar: a horizontal slider with a thumb, a groove, and tick marks with value
// labels at every multiple of Step. Its value rules and its track geometry are in
// TrackBarRules.h: the thumb is ThumbSize pixels wide and its centre travels the control's
// width less ThumbSize, so the thumb touches both ends at Minimum and Maximum.
//
// Input (all three mouse buttons; each press first takes the keyboard focus):
// - press on the thumb and drag: Position follows the value under the pointer, with
//   OnPositionChanging for each change; the release fires OnPositionChanged once, also
//   without movement;
// - press beside the thumb: dragging does nothing; the release point gives one Step down (left
//   of the thumb) or up (right of it), with OnPositionChanged when that stays in range and
//   changes Position;
// - keys Home, End, Left, Down, Right, Up: the key down (and each auto-repeat) moves with
//   OnPositionChanging; the key up fires OnPositionChanged once, changed or not;
// - the mouse wheel does nothing.
// The control is a tab stop and keeps those six keys from shortcuts and focus navigation
// while it has the focus. With ReadOnly it ignores mouse and keys. A press whose release never
// arrives (the pointer was taken away) is ended, as a release where the pointer last was, by
// the next press.
//
// Position set from code is taken, with OnPositionChanged, only when it lies in
// [Minimum, Maximum] and differs from Position. Changing Minimum or Maximum moves Position into
// the new range without an event.

#include "widgets/TrackBarRules.h"

#include <QWidget>

class TAdvSmoothTrackBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double Minimum READ Minimum WRITE setMinimum)
    Q_PROPERTY(double Maximum READ Maximum WRITE setMaximum)
    Q_PROPERTY(double Step READ Step WRITE setStep)
    Q_PROPERTY(bool SnapToTickMarks READ SnapToTickMarks WRITE setSnapToTickMarks)
    Q_PROPERTY(double SnapMargin READ SnapMargin WRITE setSnapMargin)
    Q_PROPERTY(double Position READ Position WRITE setPosition)
    Q_PROPERTY(int ThumbSize READ ThumbSize WRITE setThumbSize)
    Q_PROPERTY(QString ValueFormat READ ValueFormat WRITE setValueFormat)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)

public:
    explicit TAdvSmoothTrackBar(QWidget* Parent = nullptr);

    double Minimum() const { return FModel.Settings().Minimum; }
    void setMinimum(double Value);
    double Maximum() const { return FModel.Settings().Maximum; }
    void setMaximum(double Value);
    double Step() const { return FModel.Settings().Step; }
    void setStep(double Value);
    bool SnapToTickMarks() const { return FModel.Settings().SnapToTickMarks; }
    void setSnapToTickMarks(bool Value) { FModel.SetSnapToTickMarks(Value); }
    double SnapMargin() const { return FModel.Settings().SnapMargin; }
    void setSnapMargin(double Value) { FModel.SetSnapMargin(Value); }
    double Position() const { return FModel.Position(); }
    void setPosition(double Value);
    int ThumbSize() const { return FThumbSize; }
    // Negative values count as 0.
    void setThumbSize(int Value);
    QString ValueFormat() const { return FValueFormat; }
    // A printf format for one double (TrackBarRules.h, FormatTickLabel); others show "%g".
    void setValueFormat(const QString& Value);
    bool ReadOnly() const { return FModel.ReadOnly(); }
    void setReadOnly(bool Value);

    // The geometry the rules use at the control's current width.
    TTrackBarGeometry Geometry() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OnPositionChanging(double Position);
    void OnPositionChanged(double Position);

protected:
    bool event(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void Fire(const TTrackBarEvents& Events);

    TTrackBarModel FModel;
    int FThumbSize = 40;
    QString FValueFormat = QStringLiteral("%g");
    Qt::MouseButton FPressButton = Qt::NoButton;
    double FLastX = 0.0; // where the pointer was at the last press or move of a press
    bool FHoverThumb = false;
};

// The key of the track bar's rules that Key is, or TTrackBarKey::Other.
TTrackBarKey TrackBarKeyOf(int Key);
