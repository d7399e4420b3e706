#include "scan/CardFinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

// A run of this many pixels unlike the bed starts the card: a lone speck of dust does not.
constexpr int RunLength = 3;
// Tilts beyond this are no scanner's slip; the picture is cut, not turned.
constexpr double MaxTiltDegrees = 10;
// An edge line that fewer of its points follow is ragged: no card edge, but print on the bed.
constexpr double StraightEdgeShare = 0.7;

// The colour a pixel prints as: transparent parts count as white.
TColor32 OnWhite(TColor32 P) {
    const std::uint32_t A = P >> 24;
    if (A == 255)
        return P;
    TColor32 Out = 0xFF000000u;
    for (int Shift = 0; Shift < 24; Shift += 8) {
        const std::uint32_t C = (P >> Shift) & 0xFF;
        Out |= ((C * A + 255 * (255 - A) + 127) / 255) << Shift;
    }
    return Out;
}

// How far a pixel lies from the bed's colour: its largest channel difference.
int Distance(TColor32 P, TColor32 Bed) {
    P = OnWhite(P);
    int D = 0;
    for (int Shift = 0; Shift < 24; Shift += 8)
        D = std::max(D, std::abs(static_cast<int>((P >> Shift) & 0xFF) -
                                 static_cast<int>((Bed >> Shift) & 0xFF)));
    return D;
}

// The median of a histogram of Count values.
int MedianOf(const std::array<int, 256>& Histogram, int Count) {
    int Seen = 0;
    for (int V = 0; V < 256; ++V) {
        Seen += Histogram[V];
        if (2 * Seen > Count)
            return V;
    }
    return 255;
}

// The pixels of the picture's outermost Ring rows and columns, each once.
std::vector<TColor32> RingPixels(const TBitmap32& Scan, int Ring) {
    const int W = Scan.Width();
    const int H = Scan.Height();
    std::vector<TColor32> Pixels;
    for (int Y = 0; Y < H; ++Y) {
        const TColor32* Row = Scan.ScanLine(Y);
        if (Y < Ring || Y >= H - Ring) {
            Pixels.insert(Pixels.end(), Row, Row + W);
        } else {
            for (int X = 0; X < Ring; ++X) {
                Pixels.push_back(Row[X]);
                Pixels.push_back(Row[W - 1 - X]);
            }
        }
    }
    return Pixels;
}

// A straight edge, S = A + B * T, with the share of its points that follow it.
struct TEdgeLine {
    double A = 0;
    double B = 0;
    int Points = 0;
    int Inliers = 0;
    bool Straight() const { return Points >= 8 && Inliers >= StraightEdgeShare * Points; }
};

struct TEdgePoint {
    double T; // along the edge
    double S; // across it
};

double Median(std::vector<double> Values) {
    if (Values.empty())
        return 0;
    const auto Middle = Values.begin() + static_cast<std::ptrdiff_t>(Values.size() / 2);
    std::nth_element(Values.begin(), Middle, Values.end());
    return *Middle;
}

// Fits a line through Points: a median start (pairs half the edge apart, so that up to half the
// points may be print or dust), then least squares over the points near it.
TEdgeLine FitEdge(const std::vector<TEdgePoint>& Points) {
    TEdgeLine Line;
    Line.Points = static_cast<int>(Points.size());
    if (Points.size() < 8)
        return Line;
    const std::size_t Half = Points.size() / 2;
    std::vector<double> Slopes;
    Slopes.reserve(Half);
    for (std::size_t I = 0; I < Half; ++I) {
        const TEdgePoint& P = Points[I];
        const TEdgePoint& Q = Points[I + Half];
        if (Q.T != P.T)
            Slopes.push_back((Q.S - P.S) / (Q.T - P.T));
    }
    Line.B = Median(Slopes);
    std::vector<double> Offsets;
    Offsets.reserve(Points.size());
    for (const TEdgePoint& P : Points)
        Offsets.push_back(P.S - Line.B * P.T);
    Line.A = Median(Offsets);

    for (int Round = 0; Round < 3; ++Round) {
        std::vector<double> Residuals;
        Residuals.reserve(Points.size());
        for (const TEdgePoint& P : Points)
            Residuals.push_back(std::abs(P.S - Line.A - Line.B * P.T));
        const double Limit = std::max(1.5, 3 * 1.4826 * Median(Residuals));
        double N = 0, ST = 0, SS = 0, STT = 0, STS = 0;
        for (std::size_t I = 0; I < Points.size(); ++I) {
            if (Residuals[I] > Limit)
                continue;
            const TEdgePoint& P = Points[I];
            N += 1;
            ST += P.T;
            SS += P.S;
            STT += P.T * P.T;
            STS += P.T * P.S;
        }
        Line.Inliers = static_cast<int>(N);
        const double Det = N * STT - ST * ST;
        if (N < 2 || Det <= 0)
            break;
        Line.B = (N * STS - ST * SS) / Det;
        Line.A = (SS - Line.B * ST) / N;
    }
    return Line;
}

// The longest stretch of indices where Found holds, gaps of up to two allowed: the card, not a
// speck beside it. First > Last when there is none.
void LongestStretch(const std::vector<int>& Where, int& First, int& Last) {
    First = 1;
    Last = 0;
    int Start = -1, End = -1, Gap = 0;
    for (int I = 0; I < static_cast<int>(Where.size()); ++I) {
        if (Where[I] >= 0) {
            if (Start < 0)
                Start = I;
            End = I;
            Gap = 0;
        } else if (Start >= 0 && ++Gap > 2) {
            if (End - Start > Last - First) {
                First = Start;
                Last = End;
            }
            Start = -1;
        }
    }
    if (Start >= 0 && End - Start > Last - First) {
        First = Start;
        Last = End;
    }
}

// The picture and its bed. What differs from the bed is looked at only where it is needed: from
// the picture's edges inward, up to the card.
class TBedScan {
public:
    TBedScan(const TBitmap32& Scan, TColor32 Bed, int Tolerance)
        : FScan(Scan), FBed(Bed), FTolerance(Tolerance), W(Scan.Width()), H(Scan.Height()) {}

    int D(int X, int Y) const { return Distance(FScan.Pixel(X, Y), FBed); }

    // The first pixel of row Y's first run unlike the bed, from the left (Step 1) or the right
    // (Step -1); -1 when there is none.
    int RunInRow(int Y, int Step) const {
        const TColor32* Row = FScan.ScanLine(Y);
        int Run = 0;
        for (int I = 0; I < W; ++I) {
            const int X = Step > 0 ? I : W - 1 - I;
            Run = Distance(Row[X], FBed) >= FTolerance ? Run + 1 : 0;
            if (Run == RunLength)
                return X - Step * (RunLength - 1);
        }
        return -1;
    }

    // Where the picture crosses from the bed to the card, walking inward from (X, Y), the first
    // pixel of the card's run, by (StepX, StepY): halfway between the bed and the card's own level
    // just inside (or at the tolerance, where that is higher), the middle of a blurred edge
    // whatever its contrast. The result is the coordinate along the walk.
    double EdgeAt(int X, int Y, int StepX, int StepY) const {
        const int Start = StepX != 0 ? X : Y;
        const int Step = StepX != 0 ? StepX : StepY;
        const auto Inside = [&](int K) {
            const int PX = X + K * StepX, PY = Y + K * StepY;
            return PX >= 0 && PX < W && PY >= 0 && PY < H;
        };
        if (!Inside(-1))
            return Start;
        std::array<int, 7> Levels{};
        int Count = 0;
        for (int K = 2; K < 9 && Inside(K); ++K)
            Levels[Count++] = D(X + K * StepX, Y + K * StepY);
        if (Count == 0)
            return Start;
        std::nth_element(Levels.begin(), Levels.begin() + Count / 2, Levels.begin() + Count);
        const double Half = std::max<double>(FTolerance, Levels[Count / 2] / 2.0);
        int Previous = D(X - StepX, Y - StepY);
        for (int K = 0; K < 9 && Inside(K); ++K) {
            const int Current = D(X + K * StepX, Y + K * StepY);
            if (Current >= Half) {
                const double Part =
                    Current > Previous
                        ? std::clamp((Half - Previous) / (Current - Previous), 0.0, 1.0)
                        : 1.0;
                return Start + Step * (K - 1 + Part);
            }
            Previous = Current;
        }
        return Start;
    }

    const TBitmap32& FScan;
    const TColor32 FBed;
    const int FTolerance;
    const int W;
    const int H;

private:
    std::vector<std::uint8_t> FMask;
};

// A corner where a horizontal edge (Y = C + D X) meets a vertical one (X = A + B Y).
struct TPoint {
    double X, Y;
};
TPoint Meet(const TEdgeLine& Horizontal, const TEdgeLine& Vertical) {
    const double Div = 1 - Vertical.B * Horizontal.B;
    const double X = (Vertical.A + Vertical.B * Horizontal.A) / (Div != 0 ? Div : 1);
    return TPoint{X, Horizontal.A + Horizontal.B * X};
}

} // namespace

bool ScanWantsStraightening(const TCardFinding& Finding) noexcept {
    return Finding.HasBorder || std::abs(Finding.TiltDegrees) > NoticeableTiltDegrees;
}

TCardFinding FindCard(const TBitmap32& Scan) {
    TCardFinding Finding;
    Finding.Card = Scan.FullArea();
    const int W = Scan.Width();
    const int H = Scan.Height();
    if (Scan.IsEmpty() || W < 16 || H < 16)
        return Finding;

    // The bed: the median colour of the picture's outermost two rows and columns, and how much
    // the bed itself varies there (grain, dust), which sets what counts as unlike it.
    const std::vector<TColor32> Ring = RingPixels(Scan, 2);
    const int RingCount = static_cast<int>(Ring.size());
    std::array<std::array<int, 256>, 3> Channels{};
    for (const TColor32 P : Ring) {
        const TColor32 C = OnWhite(P);
        for (int I = 0; I < 3; ++I)
            ++Channels[I][(C >> (8 * I)) & 0xFF];
    }
    TColor32 Bed = 0xFF000000u;
    for (int I = 0; I < 3; ++I)
        Bed |= static_cast<TColor32>(MedianOf(Channels[I], RingCount)) << (8 * I);
    std::array<int, 256> Spread{};
    double RingDistance = 0;
    for (const TColor32 P : Ring) {
        const int D = Distance(P, Bed);
        ++Spread[D];
        RingDistance += D;
    }
    RingDistance /= RingCount;
    const int Tolerance = std::clamp(3 * MedianOf(Spread, RingCount) + 10, 14, 48);
    Finding.Bed = Bed;

    // A bed shows on every side: most of each outermost row and column is its colour.
    const auto MostlyBed = [&](int X0, int Y0, int DX, int DY, int Count) {
        int Near = 0;
        for (int I = 0; I < Count; ++I)
            Near += Distance(Scan.Pixel(X0 + I * DX, Y0 + I * DY), Bed) < Tolerance ? 1 : 0;
        return 2 * Near >= Count;
    };
    if (!MostlyBed(0, 0, 1, 0, W) || !MostlyBed(0, H - 1, 1, 0, W) || !MostlyBed(0, 0, 0, 1, H) ||
        !MostlyBed(W - 1, 0, 0, 1, H))
        return Finding;

    const TBedScan Bedded(Scan, Bed, Tolerance);

    // Each row's first and last run unlike the bed: every fourth row first, which finds the card's
    // rows, then every row around them. Rows of bed alone cost a whole row each.
    constexpr int Coarse = 4;
    std::vector<int> CoarseLeft((H + Coarse - 1) / Coarse, -1);
    for (int I = 0; I < static_cast<int>(CoarseLeft.size()); ++I)
        CoarseLeft[I] = Bedded.RunInRow(I * Coarse, 1);
    int Y0, Y1;
    LongestStretch(CoarseLeft, Y0, Y1);
    if (Y1 - Y0 < 4)
        return Finding;
    std::vector<int> Left(H, -1), Right(H, -1);
    for (int Y = std::max(0, (Y0 - 1) * Coarse); Y < std::min(H, (Y1 + 1) * Coarse + 1); ++Y) {
        Left[Y] = Bedded.RunInRow(Y, 1);
        if (Left[Y] >= 0)
            Right[Y] = Bedded.RunInRow(Y, -1);
    }
    LongestStretch(Left, Y0, Y1);
    if (Y1 - Y0 < 16)
        return Finding;
    int X0 = W, X1 = -1;
    for (int Y = Y0; Y <= Y1; ++Y)
        if (Left[Y] >= 0) {
            X0 = std::min(X0, Left[Y]);
            X1 = std::max(X1, Right[Y]);
        }
    if (X1 - X0 < 16)
        return Finding;

    // Each column's first and last run, looked for only where the rows found the card: its columns,
    // from a few rows above its first row (no run of a column starts far above a run of a row)
    // and below its last.
    std::vector<int> Top(W, -1), Bottom(W, -1);
    const auto FindColumnEnds = [&](std::vector<int>& Ends, int From, int Step) {
        std::vector<int> Run(W, 0);
        int Remaining = X1 - X0 + 1;
        for (int Y = From; Y >= 0 && Y < H && Remaining > 0; Y += Step) {
            const TColor32* Row = Scan.ScanLine(Y);
            for (int X = X0; X <= X1; ++X) {
                if (Ends[X] >= 0)
                    continue;
                Run[X] = Distance(Row[X], Bed) >= Tolerance ? Run[X] + 1 : 0;
                if (Run[X] == RunLength) {
                    Ends[X] = Y - Step * (RunLength - 1);
                    --Remaining;
                }
            }
        }
    };
    FindColumnEnds(Top, std::max(0, Y0 - 2 * RunLength), 1);
    FindColumnEnds(Bottom, std::min(H - 1, Y1 + 2 * RunLength), -1);
    int CX0, CX1;
    LongestStretch(Top, CX0, CX1);
    if (CX1 - CX0 < 16)
        return Finding;

    // Edge points from the middle three fifths of each side (where a tilted card's corners
    // cannot reach), placed where the picture crosses the tolerance.
    std::vector<TEdgePoint> LeftPoints, RightPoints, TopPoints, BottomPoints;
    const int RowFrom = Y0 + (Y1 - Y0) / 5;
    const int RowTo = Y1 - (Y1 - Y0) / 5;
    for (int Y = RowFrom; Y <= RowTo; ++Y) {
        if (Left[Y] < 0)
            continue;
        const int L = Left[Y];
        LeftPoints.push_back({static_cast<double>(Y), Bedded.EdgeAt(L, Y, 1, 0)});
        RightPoints.push_back({static_cast<double>(Y), Bedded.EdgeAt(Right[Y], Y, -1, 0)});
    }
    const int ColumnFrom = CX0 + (CX1 - CX0) / 5;
    const int ColumnTo = CX1 - (CX1 - CX0) / 5;
    for (int X = ColumnFrom; X <= ColumnTo; ++X) {
        if (Top[X] < 0)
            continue;
        const int T = Top[X];
        TopPoints.push_back({static_cast<double>(X), Bedded.EdgeAt(X, T, 0, 1)});
        BottomPoints.push_back({static_cast<double>(X), Bedded.EdgeAt(X, Bottom[X], 0, -1)});
    }
    std::array<TEdgeLine, 4> Edges{FitEdge(LeftPoints), FitEdge(TopPoints), FitEdge(RightPoints),
                                   FitEdge(BottomPoints)};
    const std::array<const std::vector<TEdgePoint>*, 4> EdgePoints{&LeftPoints, &TopPoints,
                                                                   &RightPoints, &BottomPoints};
    enum { LeftEdge, TopEdge, RightEdge, BottomEdge };

    // The tilt from the long edges where they are straight, else from the short ones. A
    // vertical edge X = A + B Y of a card turned clockwise by T has B = -tan T.
    const auto AngleOf = [&](int Edge) {
        const double Degrees = std::atan(Edges[Edge].B) * 180 / std::numbers::pi;
        return Edge == LeftEdge || Edge == RightEdge ? -Degrees : Degrees;
    };
    const bool Wide = CX1 - CX0 >= Y1 - Y0;
    const std::array<int, 2> LongEdges =
        Wide ? std::array<int, 2>{TopEdge, BottomEdge} : std::array<int, 2>{LeftEdge, RightEdge};
    const std::array<int, 2> ShortEdges =
        Wide ? std::array<int, 2>{LeftEdge, RightEdge} : std::array<int, 2>{TopEdge, BottomEdge};
    double Tilt = 0;
    bool Measured = false;
    for (const auto& Pair : {LongEdges, ShortEdges}) {
        double Sum = 0, Weight = 0;
        for (const int Edge : Pair)
            if (Edges[Edge].Straight()) {
                Sum += AngleOf(Edge) * Edges[Edge].Inliers;
                Weight += Edges[Edge].Inliers;
            }
        if (Weight > 0) {
            Tilt = Sum / Weight;
            Measured = true;
            break;
        }
    }
    bool Uncertain = !Measured || std::abs(Tilt) > MaxTiltDegrees;
    if (Uncertain)
        Tilt = 0;
    for (const TEdgeLine& Edge : Edges)
        Uncertain = Uncertain || !Edge.Straight();

    // A side that is no straight edge is cut at the outermost of its points, along the tilt, so
    // that all that differs from the bed stays.
    const double Slope = std::tan(Tilt * std::numbers::pi / 180);
    for (int Edge = 0; Edge < 4; ++Edge) {
        TEdgeLine& Line = Edges[Edge];
        if (Line.Straight())
            continue;
        const bool Vertical = Edge == LeftEdge || Edge == RightEdge;
        Line.B = Vertical ? -Slope : Slope;
        const bool Low = Edge == LeftEdge || Edge == TopEdge;
        double Extreme = Low ? 1e300 : -1e300;
        for (const TEdgePoint& P : *EdgePoints[Edge]) {
            const double A = P.S - Line.B * P.T;
            Extreme = Low ? std::min(Extreme, A) : std::max(Extreme, A);
        }
        if (EdgePoints[Edge]->empty())
            Extreme = Edge == LeftEdge ? X0 : Edge == RightEdge ? X1 : Edge == TopEdge ? Y0 : Y1;
        Line.A = Extreme;
    }

    // The corners, turned into the levelled picture; the cut is the largest box inside them,
    // moved in by the edge's blur (which widens with the resolution) and a pixel for resampling.
    const double Level = std::abs(Tilt) >= MinLevelledTiltDegrees ? Tilt : 0;
    const double Cos = std::cos(Level * std::numbers::pi / 180);
    const double Sin = std::sin(Level * std::numbers::pi / 180);
    const double CX = (W - 1) / 2.0;
    const double CY = (H - 1) / 2.0;
    const auto Levelled = [&](TPoint P) {
        const double DX = P.X - CX;
        const double DY = P.Y - CY;
        return TPoint{CX + Cos * DX + Sin * DY, CY - Sin * DX + Cos * DY};
    };
    const TPoint TL = Levelled(Meet(Edges[TopEdge], Edges[LeftEdge]));
    const TPoint TR = Levelled(Meet(Edges[TopEdge], Edges[RightEdge]));
    const TPoint BL = Levelled(Meet(Edges[BottomEdge], Edges[LeftEdge]));
    const TPoint BR = Levelled(Meet(Edges[BottomEdge], Edges[RightEdge]));
    const double BoxLeft = std::max(TL.X, BL.X);
    const double BoxRight = std::min(TR.X, BR.X);
    const double BoxTop = std::max(TL.Y, TR.Y);
    const double BoxBottom = std::min(BL.Y, BR.Y);
    const double Inset = 1.5 + std::min(BoxRight - BoxLeft, BoxBottom - BoxTop) / 600;
    const TRect Card{std::max(0, static_cast<int>(std::ceil(BoxLeft + Inset))),
                     std::max(0, static_cast<int>(std::ceil(BoxTop + Inset))),
                     std::min(W, static_cast<int>(std::floor(BoxRight - Inset)) + 1),
                     std::min(H, static_cast<int>(std::floor(BoxBottom - Inset)) + 1)};
    if (RectWidth(Card) < 8 || RectHeight(Card) < 8)
        return Finding;

    // A frame of nearly the lid's colour shows as a band just outside the cut that is less like
    // the bed than the bed's own edges are: the card's edge lies further out, unseen.
    const int Band =
        std::max(3, static_cast<int>(std::min(BoxRight - BoxLeft, BoxBottom - BoxTop) / 60));
    const int Skip = static_cast<int>(std::ceil(Inset)) + 2;
    double BandSum = 0;
    int BandCount = 0;
    for (int Edge = 0; Edge < 4; ++Edge) {
        const TEdgeLine& Line = Edges[Edge];
        const bool Vertical = Edge == LeftEdge || Edge == RightEdge;
        const int Outward = Edge == LeftEdge || Edge == TopEdge ? -1 : 1;
        const int From = Vertical ? RowFrom : ColumnFrom;
        const int To = Vertical ? RowTo : ColumnTo;
        for (int T = From; T <= To; T += 2)
            for (int K = Skip; K < Skip + Band; ++K) {
                const int S = static_cast<int>(std::lround(Line.A + Line.B * T)) + Outward * K;
                const int X = Vertical ? S : T;
                const int Y = Vertical ? T : S;
                if (X < 0 || X >= W || Y < 0 || Y >= H)
                    break;
                BandSum += Bedded.D(X, Y);
                ++BandCount;
            }
    }
    if (BandCount > 0 && BandSum / BandCount > RingDistance + std::max(2.0, 0.15 * Tolerance))
        Uncertain = true;

    Finding.HasBorder = true;
    Finding.TiltDegrees = Tilt;
    Finding.LevelDegrees = Level;
    Finding.Card = Card;
    Finding.EdgeUncertain = Uncertain;
    return Finding;
}
