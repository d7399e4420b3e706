#pragma once

// The input rules of the smooth track bar, kept apart from drawing so that tests reach them
// without a window (as QStyle::sliderPositionFromValue does for Qt's slider).
//
// Geometry. The thumb is ThumbSize pixels wide; its centre travels TrackLength pixels, from
// x = ThumbSize / 2 (at Minimum) to x = ThumbSize / 2 + TrackLength (at Maximum). The inner
// border is 0 horizontally, so the thumb's left edge is at 0 at Minimum and its right edge at
// ThumbSize + TrackLength at Maximum; a control W pixels wide has TrackLength = W - ThumbSize:
//
//   x = 0        ThumbSize/2                          ThumbSize/2 + L        W
//   |[== thumb ==]|---------- centre travels L ---------|[== thumb ==]|
//
// Values. The value under the pointer is
//   r = Minimum + (x - ThumbSize / 2) / TrackLength * (Maximum - Minimum),
// 0 when Maximum - Minimum is not positive; it snaps to the multiples of Step counted from zero
// (quotient rounded half to even) when it lies within SnapMargin of one, and is then clamped:
// at or above Maximum gives Maximum, then not above Minimum gives Minimum.

#include <string>

struct TTrackBarSettings {
    double Minimum = 0.0;
    double Maximum = 100.0;
    double Step = 1.0;
    bool SnapToTickMarks = false;
    double SnapMargin = 0.0;
};

struct TTrackBarGeometry {
    double ThumbSize = 40.0;
    double TrackLength = 0.0;
};

// The geometry of a control Width pixels wide: TrackLength = Width - ThumbSize (at least 0).
TTrackBarGeometry TrackBarGeometryFor(int Width, double ThumbSize);

// Rounds to the nearest integer, exact halves going to the even one (2.5 gives 2, -1.5 gives -2).
double RoundHalfEven(double Value);

// Value snapped to the grid of Step multiples when within SnapMargin of one, then clamped to
// [Minimum, Maximum] in the order above. Without SnapToTickMarks, or with Step not positive,
// only the clamping applies.
double SnapValue(double Value, const TTrackBarSettings& Settings);

// The value under the pointer at horizontal position X (snapped and clamped); 0 when the range
// or the track length is not positive.
double TrackBarValueAt(double X, const TTrackBarGeometry& Geometry,
                       const TTrackBarSettings& Settings);

// The thumb's left edge for Position, in pixels from the control's left edge; 0 when the range
// is not positive. Position is not clamped.
double TrackBarThumbLeft(double Position, const TTrackBarGeometry& Geometry,
                         const TTrackBarSettings& Settings);

// Where X lies relative to the thumb at Position: the thumb covers [ThumbLeft, ThumbLeft +
// ThumbSize) across the whole height of the control.
enum class TThumbZone { LeftOfThumb, OnThumb, RightOfThumb };
TThumbZone ClassifyAgainstThumb(double X, double Position, const TTrackBarGeometry& Geometry,
                                const TTrackBarSettings& Settings);

// The grid points at which tick marks and labels stand: multiples of Step counted from zero,
// from the first at or above Minimum up to Maximum. At most MaxCount of them; none when Step is
// not positive or the range is empty.
int TrackBarTickCount(const TTrackBarSettings& Settings, int MaxCount);
double TrackBarTickValue(const TTrackBarSettings& Settings, int Index);

// A tick label: Format applied to Value in the manner of printf. Format may hold one
// floating-point conversion (%e %E %f %F %g %G %a %A with flags, width and precision) and "%%";
// any other format, which printf could not safely be given a double for, falls back to "%g".
std::string FormatTickLabel(const std::string& Format, double Value);

// The keys that move the track bar.
enum class TTrackBarKey { Home, End, Left, Down, Right, Up, Other };

// Which events one input step asks the control to fire, in this order.
struct TTrackBarEvents {
    bool PositionChanging = false;
    bool PositionChanged = false;
};

// The track bar's value and its mouse and keyboard rules. It holds Position and the state of a
// press in progress; the control feeds it input and fires the events it returns.
//
// Mouse: a press on the thumb starts a drag: each move (and the release point) takes the value
// under the pointer when it differs from Position (PositionChanging), and the release fires
// PositionChanged once, changed or not. A press beside the thumb does nothing until the release,
// whose point gives one step: left of the thumb down, right of it up, on it none; the step is
// taken (PositionChanged) only when it stays in range and changes Position. A press while
// another is in progress is ignored.
// Keys: a key down (auto-repeats included) of Home/End/Left/Down/Right/Up moves to Minimum,
// Maximum, or one step down or up, within range, with PositionChanging; the key up of any of
// them fires PositionChanged, changed or not.
// With ReadOnly, mouse and keys change nothing and fire nothing.
class TTrackBarModel {
public:
    const TTrackBarSettings& Settings() const noexcept { return FSettings; }
    double Position() const noexcept { return FPosition; }
    bool ReadOnly() const noexcept { return FReadOnly; }
    bool Pressed() const noexcept { return FPress != TPress::None; }
    bool DraggingThumb() const noexcept { return FPress == TPress::Thumb; }

    // Setting changes keep Position inside [Minimum, Maximum] whenever Minimum <= Maximum,
    // moving it there silently (no event).
    void SetMinimum(double Value);
    void SetMaximum(double Value);
    void SetStep(double Value) { FSettings.Step = Value; }
    void SetSnapToTickMarks(bool Value) { FSettings.SnapToTickMarks = Value; }
    void SetSnapMargin(double Value) { FSettings.SnapMargin = Value; }
    void SetReadOnly(bool Value);

    // Position from code: taken with PositionChanged when it lies in [Minimum, Maximum] and
    // differs from Position; otherwise (NaN included) nothing happens.
    TTrackBarEvents SetPosition(double Value);

    TTrackBarEvents Press(double X, const TTrackBarGeometry& Geometry);
    TTrackBarEvents Move(double X, const TTrackBarGeometry& Geometry);
    TTrackBarEvents Release(double X, const TTrackBarGeometry& Geometry);
    // Ends a press without its release rule (the control lost the pointer).
    void CancelPress() { FPress = TPress::None; }

    TTrackBarEvents KeyDown(TTrackBarKey Key);
    TTrackBarEvents KeyUp(TTrackBarKey Key);

private:
    enum class TPress { None, Thumb, Beside };

    // Takes Candidate when in range and different; true when Position changed.
    bool TryTake(double Candidate);
    void KeepPositionInRange();

    TTrackBarSettings FSettings;
    double FPosition = 0.0;
    bool FReadOnly = false;
    TPress FPress = TPress::None;
};
