#include "widgets/TrackBarRules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string_view>

TTrackBarGeometry TrackBarGeometryFor(int Width, double ThumbSize) {
    return TTrackBarGeometry{ThumbSize, std::max(0.0, Width - ThumbSize)};
}

double RoundHalfEven(double Value) {
    const double Floor = std::floor(Value);
    const double Fraction = Value - Floor;
    if (Fraction < 0.5)
        return Floor;
    if (Fraction > 0.5)
        return Floor + 1.0;
    return std::fmod(Floor, 2.0) == 0.0 ? Floor : Floor + 1.0;
}

double SnapValue(double Value, const TTrackBarSettings& Settings) {
    double Result = Value;
    if (Settings.SnapToTickMarks && Settings.Step > 0.0) {
        const double Grid = Settings.Step * RoundHalfEven(Value / Settings.Step);
        if (Grid - Settings.SnapMargin <= Value && Value <= Grid + Settings.SnapMargin)
            Result = Grid;
    }
    if (Result >= Settings.Maximum)
        Result = Settings.Maximum;
    if (Result <= Settings.Minimum)
        Result = Settings.Minimum;
    return Result;
}

double TrackBarValueAt(double X, const TTrackBarGeometry& Geometry,
                       const TTrackBarSettings& Settings) {
    const double Range = Settings.Maximum - Settings.Minimum;
    if (!(Range > 0.0) || !(Geometry.TrackLength > 0.0))
        return 0.0;
    const double Raw =
        Settings.Minimum + (X - Geometry.ThumbSize / 2.0) / Geometry.TrackLength * Range;
    return SnapValue(Raw, Settings);
}

double TrackBarThumbLeft(double Position, const TTrackBarGeometry& Geometry,
                         const TTrackBarSettings& Settings) {
    const double Range = Settings.Maximum - Settings.Minimum;
    if (!(Range > 0.0))
        return 0.0;
    return (Position - Settings.Minimum) / Range * Geometry.TrackLength;
}

TThumbZone ClassifyAgainstThumb(double X, double Position, const TTrackBarGeometry& Geometry,
                                const TTrackBarSettings& Settings) {
    const double Left = TrackBarThumbLeft(Position, Geometry, Settings);
    if (X < Left)
        return TThumbZone::LeftOfThumb;
    if (X >= Left + Geometry.ThumbSize)
        return TThumbZone::RightOfThumb;
    return TThumbZone::OnThumb;
}

int TrackBarTickCount(const TTrackBarSettings& Settings, int MaxCount) {
    if (!(Settings.Step > 0.0) || !(Settings.Maximum >= Settings.Minimum))
        return 0;
    const double First = std::ceil(Settings.Minimum / Settings.Step);
    const double Last = std::floor(Settings.Maximum / Settings.Step);
    const double Count = Last - First + 1.0;
    if (!(Count > 0.0))
        return 0;
    return Count > MaxCount ? MaxCount : static_cast<int>(Count);
}

double TrackBarTickValue(const TTrackBarSettings& Settings, int Index) {
    return (std::ceil(Settings.Minimum / Settings.Step) + Index) * Settings.Step;
}

namespace {

// True when Format holds exactly one floating-point conversion and otherwise only "%%".
bool IsSingleDoubleFormat(const std::string& Format) {
    int Conversions = 0;
    for (std::size_t i = 0; i < Format.size(); ++i) {
        if (Format[i] != '%')
            continue;
        ++i;
        if (i < Format.size() && Format[i] == '%')
            continue;
        while (i < Format.size() && std::string_view("-+ #0").find(Format[i]) != std::string::npos)
            ++i;
        while (i < Format.size() && std::isdigit(static_cast<unsigned char>(Format[i])))
            ++i;
        if (i < Format.size() && Format[i] == '.') {
            ++i;
            while (i < Format.size() && std::isdigit(static_cast<unsigned char>(Format[i])))
                ++i;
        }
        if (i >= Format.size() || std::string_view("eEfFgGaA").find(Format[i]) == std::string::npos)
            return false;
        ++Conversions;
    }
    return Conversions == 1;
}

} // namespace

std::string FormatTickLabel(const std::string& Format, double Value) {
    const char* const Used = IsSingleDoubleFormat(Format) ? Format.c_str() : "%g";
    char Buffer[128];
    const int Length = std::snprintf(Buffer, sizeof Buffer, Used, Value);
    if (Length < 0)
        return {};
    return std::string(Buffer, std::min<std::size_t>(Length, sizeof Buffer - 1));
}

void TTrackBarModel::SetMinimum(double Value) {
    FSettings.Minimum = Value;
    KeepPositionInRange();
}

void TTrackBarModel::SetMaximum(double Value) {
    FSettings.Maximum = Value;
    KeepPositionInRange();
}

void TTrackBarModel::SetReadOnly(bool Value) {
    FReadOnly = Value;
    if (FReadOnly)
        FPress = TPress::None;
}

void TTrackBarModel::KeepPositionInRange() {
    if (FSettings.Minimum <= FSettings.Maximum)
        FPosition = std::clamp(FPosition, FSettings.Minimum, FSettings.Maximum);
}

bool TTrackBarModel::TryTake(double Candidate) {
    if (!(Candidate >= FSettings.Minimum && Candidate <= FSettings.Maximum) ||
        Candidate == FPosition)
        return false;
    FPosition = Candidate;
    return true;
}

TTrackBarEvents TTrackBarModel::SetPosition(double Value) {
    TTrackBarEvents Events;
    Events.PositionChanged = TryTake(Value);
    return Events;
}

TTrackBarEvents TTrackBarModel::Press(double X, const TTrackBarGeometry& Geometry) {
    if (FReadOnly || FPress != TPress::None)
        return {};
    FPress = ClassifyAgainstThumb(X, FPosition, Geometry, FSettings) == TThumbZone::OnThumb
                 ? TPress::Thumb
                 : TPress::Beside;
    return {};
}

TTrackBarEvents TTrackBarModel::Move(double X, const TTrackBarGeometry& Geometry) {
    TTrackBarEvents Events;
    if (FPress == TPress::Thumb)
        Events.PositionChanging = TryTake(TrackBarValueAt(X, Geometry, FSettings));
    return Events;
}

TTrackBarEvents TTrackBarModel::Release(double X, const TTrackBarGeometry& Geometry) {
    TTrackBarEvents Events;
    const TPress Press = FPress;
    FPress = TPress::None;
    if (Press == TPress::Thumb) {
        // A release away from the last move point is one more movement.
        Events.PositionChanging = TryTake(TrackBarValueAt(X, Geometry, FSettings));
        Events.PositionChanged = true;
    } else if (Press == TPress::Beside) {
        switch (ClassifyAgainstThumb(X, FPosition, Geometry, FSettings)) {
        case TThumbZone::LeftOfThumb:
            Events.PositionChanged = TryTake(FPosition - FSettings.Step);
            break;
        case TThumbZone::RightOfThumb:
            Events.PositionChanged = TryTake(FPosition + FSettings.Step);
            break;
        case TThumbZone::OnThumb:
            break;
        }
    }
    return Events;
}

TTrackBarEvents TTrackBarModel::KeyDown(TTrackBarKey Key) {
    if (FReadOnly)
        return {};
    double Candidate = FPosition;
    switch (Key) {
    case TTrackBarKey::Home:
        Candidate = FSettings.Minimum;
        break;
    case TTrackBarKey::End:
        Candidate = FSettings.Maximum;
        break;
    case TTrackBarKey::Left:
    case TTrackBarKey::Down:
        Candidate = FPosition - FSettings.Step;
        break;
    case TTrackBarKey::Right:
    case TTrackBarKey::Up:
        Candidate = FPosition + FSettings.Step;
        break;
    case TTrackBarKey::Other:
        return {};
    }
    TTrackBarEvents Events;
    Events.PositionChanging = TryTake(Candidate);
    return Events;
}

TTrackBarEvents TTrackBarModel::KeyUp(TTrackBarKey Key) {
    TTrackBarEvents Events;
    Events.PositionChanged = !FReadOnly && Key != TTrackBarKey::Other;
    return Events;
}
