// Straightening made scans: a card laid on a white, grey or black bed at tilts of either sign up
// to 5 degrees, a wrap-around scanned sideways, a card with a white frame on a white lid. The
// straightened scan must give the inlay of the same card made straight: the same size within
// 1 %, the same marks within 0.5 mm at tray-card scale, a normalised cross-correlation of at
// least 0.97, and outermost rows and columns like the straight card's (no bed left, nor the
// card's blurred edge).

#include "scan/Straighten.h"

#include "composer/InlayLayout.h"
#include "composer/TrayInlay.h"
#include "raster/QuarterTurn.h"

#include "tests/support/MadeCovers.h"
#include "tests/support/MadeScans.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr TColor32 WhiteLid = 0xFFFFFFFF;
constexpr TColor32 GreyLid = 0xFFA8A8A8;
constexpr TColor32 BlackLid = 0xFF141414;
// A frame printed in a white that the scanner hardly tells from its lid.
constexpr TColor32 FrameWhite = 0xFFF8F8F8;
constexpr TColor32 MarkGreen = 0xFF00C000;
constexpr double TrayCardMm = 151;

enum class TCard { Back, WrapAroundSideways, WhiteFramed };

struct TScanCase {
    std::string Name;
    TCard Card;
    TColor32 Bed;
    double Tilt;
    int PixelsPerMm;
    bool Dust = false;
};

// The straight design, with three green marks on its back card.
void MakeDesign(TCard Card, int P, TBitmap32& Design) {
    TCoverDesign Cover;
    int BackWidth;
    if (Card == TCard::WrapAroundSideways) {
        Cover.Width = 285 * P;
        Cover.Height = 120 * P;
        Cover.SpineLeft = 139 * P + P / 2;
        Cover.SpineRight = Cover.SpineLeft + 6 * P;
        BackWidth = Cover.SpineLeft;
    } else {
        Cover.Width = 151 * P;
        Cover.Height = 118 * P;
        Cover.SpineLeft = Cover.Width - 6 * P;
        Cover.SpineRight = Cover.Width;
        BackWidth = Cover.SpineLeft;
    }
    MakeCover(Cover, Design);
    const double Marks[][2] = {{0.2, 0.3}, {0.75, 0.7}, {0.5, 0.88}};
    for (const auto& Mark : Marks) {
        const int X0 = static_cast<int>(Mark[0] * BackWidth);
        const int Y0 = static_cast<int>(Mark[1] * Cover.Height);
        Design.FillArea(TRect{X0, Y0, X0 + 2 * P, Y0 + 2 * P}, MarkGreen);
    }
}

// The card as it lies on the glass: the design, in a frame, or turned to lie sideways.
void MakeCard(TCard Card, int P, const TBitmap32& Design, TBitmap32& Physical) {
    if (Card == TCard::WhiteFramed) {
        const int Frame = 5 * P;
        Physical.SetDimensions(Design.Width() + 2 * Frame, Design.Height() + 2 * Frame);
        Physical.FillAll(FrameWhite);
        Physical.DrawFrom(TRect{Frame, Frame, Frame + Design.Width(), Frame + Design.Height()},
                          Design.FullArea(), &Design);
        return;
    }
    Physical.CopyFrom(&Design);
    if (Card == TCard::WrapAroundSideways)
        TurnClockwise(Physical, 270); // its top to the left
}

int Grey(TColor32 P) {
    return static_cast<int>(
        (((P >> 16) & 0xFF) * 299 + ((P >> 8) & 0xFF) * 587 + (P & 0xFF) * 114) / 1000);
}

// A brought to W by H with bilinear samples.
void Resized(const TBitmap32& A, int W, int H, TBitmap32& Out) {
    Out.SetDimensions(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Out.ScanLine(Y)[X] = MadeScanDetail::Sample(A, (X + 0.5) * A.Width() / W - 0.5,
                                                        (Y + 0.5) * A.Height() / H - 0.5);
}

double CrossCorrelation(const TBitmap32& A, const TBitmap32& B) {
    double SA = 0, SB = 0, N = 0;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X) {
            SA += Grey(A.Pixel(X, Y));
            SB += Grey(B.Pixel(X, Y));
            N += 1;
        }
    const double MA = SA / N, MB = SB / N;
    double AB = 0, AA = 0, BB = 0;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X) {
            const double DA = Grey(A.Pixel(X, Y)) - MA;
            const double DB = Grey(B.Pixel(X, Y)) - MB;
            AB += DA * DB;
            AA += DA * DA;
            BB += DB * DB;
        }
    return AB / std::sqrt(AA * BB);
}

bool IsMark(TColor32 P) {
    return ((P >> 8) & 0xFF) > 140 && ((P >> 16) & 0xFF) < 90 && (P & 0xFF) < 90;
}

struct TMark {
    double X, Y; // pixels
};

// The centres of the marks in Inlay: the green pixels within Reach of Near, or, without Near,
// each group of green pixels found by flooding.
std::vector<TMark> MarksOf(const TBitmap32& Inlay) {
    const int W = Inlay.Width(), H = Inlay.Height();
    std::vector<char> Seen(static_cast<std::size_t>(W) * H, 0);
    std::vector<TMark> Marks;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            if (Seen[Y * W + X] || !IsMark(Inlay.Pixel(X, Y)))
                continue;
            std::vector<std::pair<int, int>> Stack{{X, Y}};
            Seen[Y * W + X] = 1;
            double SX = 0, SY = 0, N = 0;
            while (!Stack.empty()) {
                const auto [PX, PY] = Stack.back();
                Stack.pop_back();
                SX += PX;
                SY += PY;
                N += 1;
                for (const auto& [DX, DY] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int QX = PX + DX, QY = PY + DY;
                    if (QX < 0 || QY < 0 || QX >= W || QY >= H || Seen[QY * W + QX] ||
                        !IsMark(Inlay.Pixel(QX, QY)))
                        continue;
                    Seen[QY * W + QX] = 1;
                    Stack.push_back({QX, QY});
                }
            }
            if (N >= 4)
                Marks.push_back({SX / N, SY / N});
        }
    return Marks;
}

// How far Got's grey at (X, Y) lies outside the greys of Want up to Reach away: a pixel that
// mixes two of them lies between.
int GreyBeyondNeighbours(const TBitmap32& Got, const TBitmap32& Want, int X, int Y, int Reach) {
    int Low = 255, High = 0;
    for (int DY = -Reach; DY <= Reach; ++DY)
        for (int DX = -Reach; DX <= Reach; ++DX) {
            const int G = Grey(Want.Pixel(std::clamp(X + DX, 0, Want.Width() - 1),
                                          std::clamp(Y + DY, 0, Want.Height() - 1)));
            Low = std::min(Low, G);
            High = std::max(High, G);
        }
    const int G = Grey(Got.Pixel(X, Y));
    return G < Low ? Low - G : G > High ? G - High : 0;
}

// A brought to W by H by averaging the pixels each new one covers (W and H at most A's).
void Shrunk(const TBitmap32& A, int W, int H, TBitmap32& Out) {
    Out.SetDimensions(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const int X0 = X * A.Width() / W, X1 = std::max(X0 + 1, (X + 1) * A.Width() / W);
            const int Y0 = Y * A.Height() / H, Y1 = std::max(Y0 + 1, (Y + 1) * A.Height() / H);
            double Sum[3] = {0, 0, 0};
            for (int V = Y0; V < Y1; ++V)
                for (int U = X0; U < X1; ++U)
                    for (int C = 0; C < 3; ++C)
                        Sum[C] += (A.Pixel(U, V) >> (8 * C)) & 0xFF;
            TColor32 P = 0xFF000000u;
            for (int C = 0; C < 3; ++C)
                P |= static_cast<TColor32>(std::lround(Sum[C] / ((X1 - X0) * (Y1 - Y0))))
                     << (8 * C);
            Out.ScanLine(Y)[X] = P;
        }
}

// The mean difference of the channels along one outermost row or column of A and B.
double EdgeLineDifference(const TBitmap32& A, const TBitmap32& B, bool Row, int Index) {
    const int Count = Row ? A.Width() : A.Height();
    double Sum = 0;
    for (int I = 0; I < Count; ++I) {
        const TColor32 PA = Row ? A.Pixel(I, Index) : A.Pixel(Index, I);
        const TColor32 PB = Row ? B.Pixel(I, Index) : B.Pixel(Index, I);
        for (int Shift = 0; Shift < 24; Shift += 8)
            Sum += std::abs(static_cast<int>((PA >> Shift) & 0xFF) -
                            static_cast<int>((PB >> Shift) & 0xFF));
    }
    return Sum / (3.0 * Count);
}

class StraightenTest : public testing::TestWithParam<TScanCase> {};

TEST_P(StraightenTest, GivesTheInlayOfTheStraightCard) {
    const TScanCase& Case = GetParam();
    const int P = Case.PixelsPerMm;
    TBitmap32 Design, Physical, Picture;
    MakeDesign(Case.Card, P, Design);
    MakeCard(Case.Card, P, Design, Physical);
    TScanSetup Setup;
    Setup.Bed = Case.Bed;
    Setup.TiltDegrees = Case.Tilt;
    Setup.Margin = 8 * P;
    Setup.EdgeBlur = P / 8.0; // 1.5 pixels at 300 dpi
    MakeScan(Physical, Setup, Picture);
    if (Case.Dust)
        for (int I = 0; I < 4; ++I)
            Picture.FillArea(TRect{5 + 40 * I, 3 * P, 10 + 40 * I, 3 * P + 4}, 0xFF303030);

    if (Case.Card == TCard::WrapAroundSideways)
        TurnClockwise(Picture, 90);
    const TCardFinding Finding = StraightenScan(Picture);

    ASSERT_TRUE(Finding.HasBorder);
    EXPECT_NEAR(Finding.TiltDegrees, Case.Tilt, 0.1);
    EXPECT_EQ(Finding.EdgeUncertain, Case.Card == TCard::WhiteFramed);
    if (Case.Tilt == 0) {
        EXPECT_EQ(Finding.LevelDegrees, 0);
    }

    // The card itself.
    EXPECT_NEAR(Picture.Width(), Design.Width(), 0.01 * Design.Width());
    EXPECT_NEAR(Picture.Height(), Design.Height(), 0.01 * Design.Height());
    TBitmap32 SameSize;
    Resized(Picture, Design.Width(), Design.Height(), SameSize);
    for (const bool Row : {true, false})
        for (const int Index : {0, (Row ? Design.Height() : Design.Width()) - 1})
            EXPECT_LE(EdgeLineDifference(SameSize, Design, Row, Index), 8)
                << (Row ? "row " : "column ") << Index << ": bed or the blurred edge left";

    // Its inlay.
    const TInlayLayout Layout = ChooseInlayLayout(Design);
    ASSERT_EQ(ChooseInlayLayout(Picture), Layout);
    TBitmap32 Want, Got, GotResized;
    ComposeTrayInlay(Design, Layout, 0, Want);
    ComposeTrayInlay(Picture, Layout, 0, Got);
    EXPECT_NEAR(Got.Width(), Want.Width(), 0.01 * Want.Width());
    EXPECT_NEAR(Got.Height(), Want.Height(), 0.01 * Want.Height());

    const std::vector<TMark> WantMarks = MarksOf(Want);
    const std::vector<TMark> GotMarks = MarksOf(Got);
    ASSERT_EQ(WantMarks.size(), 3u);
    ASSERT_EQ(GotMarks.size(), WantMarks.size());
    const double WantMm = TrayCardMm / Want.Width();
    const double GotMm = TrayCardMm / Got.Width();
    for (const TMark& W : WantMarks) {
        double Nearest = 1e9;
        for (const TMark& G : GotMarks)
            Nearest = std::min(Nearest,
                               std::hypot(G.X * GotMm - W.X * WantMm, G.Y * GotMm - W.Y * WantMm));
        EXPECT_LE(Nearest, 0.5) << "mark at " << W.X * WantMm << ", " << W.Y * WantMm << " mm";
    }

    // The likeness at one size, a pixel to the millimetre: the card's design as a whole, where a
    // cut a few tenths of a millimetre inside the edge does not count but a tilt left does.
    TBitmap32 WantSmall, GotSmall;
    Shrunk(Want, 151, 117, WantSmall);
    Shrunk(Got, WantSmall.Width(), WantSmall.Height(), GotSmall);
    EXPECT_GE(CrossCorrelation(GotSmall, WantSmall), 0.97);
    Resized(Got, Want.Width(), Want.Height(), GotResized);
    int Worst = 0;
    for (int Y = 0; Y < Want.Height(); ++Y)
        for (int X = 0; X < Want.Width(); ++X) {
            const bool Outermost =
                X < 3 || Y < 3 || X >= Want.Width() - 3 || Y >= Want.Height() - 3;
            if (Outermost)
                Worst = std::max(Worst, GreyBeyondNeighbours(GotResized, Want, X, Y, P / 2));
        }
    EXPECT_LE(Worst, 25) << "the inlay's outermost three rows and columns";
}

INSTANTIATE_TEST_SUITE_P(
    MadeScans, StraightenTest,
    testing::Values(TScanCase{"WhiteLid_Straight", TCard::Back, WhiteLid, 0, 12},
                    TScanCase{"WhiteLid_Plus1_5", TCard::Back, WhiteLid, 1.5, 12},
                    TScanCase{"WhiteLid_Minus3", TCard::Back, WhiteLid, -3, 12},
                    TScanCase{"WhiteLid_Plus0_03", TCard::Back, WhiteLid, 0.03, 12},
                    TScanCase{"GreyLid_Plus5", TCard::Back, GreyLid, 5, 12},
                    TScanCase{"GreyLid_Minus5_Dusty", TCard::Back, GreyLid, -5, 12, true},
                    TScanCase{"BlackLid_Plus2_3", TCard::Back, BlackLid, 2.3, 12},
                    TScanCase{"BlackLid_Minus0_7", TCard::Back, BlackLid, -0.7, 12},
                    TScanCase{"WhiteLid_Minus2_600dpi", TCard::Back, WhiteLid, -2, 24},
                    TScanCase{"WrapAroundSideways_WhiteLid_Plus1_2", TCard::WrapAroundSideways,
                              WhiteLid, 1.2, 10},
                    TScanCase{"WrapAroundSideways_BlackLid_Minus4", TCard::WrapAroundSideways,
                              BlackLid, -4, 10},
                    TScanCase{"WhiteFramed_WhiteLid_Plus1", TCard::WhiteFramed, WhiteLid, 1, 12}),
    [](const auto& Info) { return Info.param.Name; });

TEST(Straighten, APictureWithoutBorderComesBackAsItIs) {
    TBitmap32 Design, Picture;
    MakeDesign(TCard::Back, 4, Design);
    Picture.CopyFrom(&Design);
    const TCardFinding Finding = StraightenScan(Picture);
    EXPECT_FALSE(Finding.HasBorder);
    EXPECT_EQ(Finding.TiltDegrees, 0);
    EXPECT_EQ(Finding.Card, Design.FullArea());
    EXPECT_FALSE(ScanWantsStraightening(Finding));
    ASSERT_EQ(Picture.Width(), Design.Width());
    ASSERT_EQ(Picture.Height(), Design.Height());
    for (int Y = 0; Y < Design.Height(); ++Y)
        ASSERT_TRUE(std::equal(Picture.ScanLine(Y), Picture.ScanLine(Y) + Design.Width(),
                               Design.ScanLine(Y)))
            << "row " << Y;
}

} // namespace
