#include "raster/Bitmap32.h"

#include "tests/support/BitmapTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

int CountPixelsNotEqual(const TBitmap32& Bitmap, TColor32 Value) {
    int N = 0;
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            N += Bitmap.Pixel(X, Y) != Value ? 1 : 0;
    return N;
}

} // namespace

TEST(Bitmap32Test, FreshBitmapIsEmptyWithDefaultsAndAnnouncesNothing) {
    TBitmap32 Bitmap;
    TNotificationRecorder Recorder(Bitmap);
    EXPECT_TRUE(Bitmap.IsEmpty());
    EXPECT_EQ(Bitmap.Width(), 0);
    EXPECT_EQ(Bitmap.Height(), 0);
    EXPECT_EQ(Bitmap.PixelData(), nullptr);
    EXPECT_EQ(Bitmap.FullArea(), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Bitmap.ClipArea(), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Bitmap.DrawMode(), TDrawMode::dmOpaque);
    EXPECT_EQ(Bitmap.CombineMode(), TCombineMode::cmBlend);
    EXPECT_EQ(Bitmap.WrapMode(), TWrapMode::wmClamp);
    EXPECT_EQ(Bitmap.MasterAlpha(), 255u);
    EXPECT_EQ(Bitmap.OuterColor(), 0u);
    EXPECT_EQ(Bitmap.ResamplerClassName(), "TNearestResampler");
    EXPECT_EQ(Bitmap.BatchDepth(), 0);
    EXPECT_EQ(Bitmap.LockCount(), 0);

    Bitmap.SetResamplerClassName("TNearestResampler");
    EXPECT_THAT(Recorder.Events, IsEmpty());
}

TEST(Bitmap32Test, SetDimensionsAnnouncesOnceAndNegativeCountsAsZero) {
    TBitmap32 Bitmap;
    TNotificationRecorder Recorder(Bitmap);

    EXPECT_TRUE(Bitmap.SetDimensions(-5, 10));
    EXPECT_EQ(Bitmap.Width(), 0);
    EXPECT_EQ(Bitmap.Height(), 10);
    EXPECT_TRUE(Bitmap.IsEmpty());
    EXPECT_EQ(Bitmap.PixelData(), nullptr);
    EXPECT_THAT(Recorder.Events, ElementsAre("store", "area (0, 0, 0, 10)", "change", "resize"));

    Recorder.Events.clear();
    EXPECT_FALSE(Bitmap.SetDimensions(-5, 10));
    EXPECT_FALSE(Bitmap.SetDimensions(0, 10));
    EXPECT_THAT(Recorder.Events, IsEmpty());
}

TEST(Bitmap32Test, NewSizeGivesZeroFilledStoreAndFullClip) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(20, 20);
    Bitmap.FillAll(0xFFFFFFFF);
    Bitmap.SetDimensions(100, 50);
    EXPECT_EQ(Bitmap.ClipArea(), (TRect{0, 0, 100, 50}));
    EXPECT_EQ(CountPixelsNotEqual(Bitmap, 0), 0);

    // Shrinking gives fresh memory too: none of the old pixels survive.
    Bitmap.FillAll(0x12345678);
    Bitmap.SetDimensions(10, 5);
    EXPECT_EQ(CountPixelsNotEqual(Bitmap, 0), 0);
}

TEST(Bitmap32Test, SameSizeKeepsEveryPixel) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 7, 3);
    const TColor32* Store = Bitmap.PixelData();
    EXPECT_FALSE(Bitmap.SetDimensions(7, 3));
    EXPECT_EQ(Bitmap.PixelData(), Store);
    EXPECT_EQ(Bitmap.Pixel(6, 2), CoordPixel(6, 2));
}

struct TAllocationFailure {
    const char* Name;
    int Width;
    int Height;
};

class AllocationFailureTest : public testing::TestWithParam<TAllocationFailure> {};

TEST_P(AllocationFailureTest, LeavesBitmapEmptyAndAnnouncesOnlyTheStore) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 4, 4);
    TNotificationRecorder Recorder(Bitmap);
    try {
        Bitmap.SetDimensions(GetParam().Width, GetParam().Height);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.what(), "Can't allocate the DIB handle");
        EXPECT_STREQ(E.ClassName(), "Exception");
    }
    EXPECT_EQ(Bitmap.Width(), 0);
    EXPECT_EQ(Bitmap.Height(), 0);
    EXPECT_TRUE(Bitmap.IsEmpty());
    EXPECT_EQ(Bitmap.PixelData(), nullptr);
    EXPECT_EQ(Bitmap.ClipArea(), (TRect{0, 0, 0, 0}));
    EXPECT_THAT(Recorder.Events, ElementsAre("store"));
}

INSTANTIATE_TEST_SUITE_P(TooLarge, AllocationFailureTest,
                         testing::Values(
                             // 2^62 pixels: the byte count does not fit an address.
                             TAllocationFailure{"PastTheAddressSpace", INT_MAX, INT_MAX},
                             // 2^51 pixels, 8 PiB: addressable, but no system has it.
                             TAllocationFailure{"PastTheMemory", INT_MAX, 1 << 20}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Bitmap32Test, CopyFromTakesSizePixelsAndSettingsWithOneChangeAtTheEnd) {
    TBitmap32 Source;
    FillWithCoordinates(Source, 30, 20);
    Source.SetDrawMode(TDrawMode::dmBlend);
    Source.SetMasterAlpha(128);
    Source.SetOuterColor(0xFF00FF00);

    TBitmap32 Target;
    Target.SetDimensions(10, 10);
    TNotificationRecorder Recorder(Target);
    Target.CopyFrom(&Source);

    ASSERT_EQ(Target.Width(), 30);
    ASSERT_EQ(Target.Height(), 20);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 30; ++X)
            ASSERT_EQ(Target.Pixel(X, Y), CoordPixel(X, Y)) << "at " << X << ", " << Y;
    EXPECT_EQ(Target.DrawMode(), TDrawMode::dmBlend);
    EXPECT_EQ(Target.MasterAlpha(), 128u);
    EXPECT_EQ(Target.OuterColor(), 0xFF00FF00u);
    EXPECT_EQ(Target.BatchDepth(), 0);
    EXPECT_THAT(Recorder.Events, ElementsAre("store", "resize", "area (0, 0, 30, 20)", "change"));
}

TEST(Bitmap32Test, CopyFromNothingOrAnEmptySourceEmptiesWithOneChange) {
    TBitmap32 Empty;
    const TBitmap32* const Sources[] = {nullptr, &Empty};
    for (const TBitmap32* Source : Sources) {
        TBitmap32 Target;
        FillWithCoordinates(Target, 3, 3);
        TNotificationRecorder Recorder(Target);
        Target.CopyFrom(Source);
        EXPECT_TRUE(Target.IsEmpty());
        EXPECT_EQ(Target.Width(), 0);
        EXPECT_EQ(Recorder.Count("change"), 1);
        EXPECT_EQ(Recorder.Count("resize"), 1);
    }
    TBitmap32 AlreadyEmpty;
    TNotificationRecorder Recorder(AlreadyEmpty);
    AlreadyEmpty.CopyFrom(&Empty);
    EXPECT_THAT(Recorder.Events, ElementsAre("area (0, 0, 0, 0)", "change"));
}

TEST(Bitmap32Test, CopyFromClosesItsBatchWhenAHandlerThrows) {
    TBitmap32 Source;
    FillWithCoordinates(Source, 2, 2);
    TBitmap32 Target;
    int Changes = 0;
    Target.OnResize = [](TBitmap32&) { throw Exception("handler failed"); };
    Target.OnChange = [&Changes](TBitmap32&) { ++Changes; };
    EXPECT_THROW(Target.CopyFrom(&Source), Exception);
    EXPECT_EQ(Target.BatchDepth(), 0);
    EXPECT_EQ(Changes, 1);
    Target.OnResize = nullptr;
    Target.OnChange = nullptr;
}

TEST(Bitmap32Test, TakeFromAnnouncesWhatCopyFromWouldAndEmptiesTheSource) {
    for (const bool SameSize : {false, true}) {
        TBitmap32 Source;
        FillWithCoordinates(Source, 6, 4);
        const TColor32* Store = Source.PixelData();
        TBitmap32 Copied;
        TBitmap32 Taken;
        Copied.SetDimensions(SameSize ? 6 : 9, 4);
        Taken.SetDimensions(SameSize ? 6 : 9, 4);
        TNotificationRecorder CopyEvents(Copied);
        TNotificationRecorder TakeEvents(Taken);

        Copied.CopyFrom(&Source);
        Taken.TakeFrom(Source);

        EXPECT_EQ(TakeEvents.Events, CopyEvents.Events) << "same size " << SameSize;
        EXPECT_EQ(Taken.PixelData(), Store);
        EXPECT_EQ(Taken.Pixel(5, 3), CoordPixel(5, 3));
        EXPECT_EQ(Taken.ClipArea(), (TRect{0, 0, 6, 4}));
        EXPECT_TRUE(Source.IsEmpty());
        EXPECT_EQ(Source.Width(), 0);
    }
}

struct TClipCase {
    const char* Name;
    TRect Area;
    TRect Expected;
};

class SetClipAreaTest : public testing::TestWithParam<TClipCase> {};

TEST_P(SetClipAreaTest, CutsToTheFullArea) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(100, 50);
    Bitmap.SetClipArea(GetParam().Area);
    EXPECT_EQ(Bitmap.ClipArea(), GetParam().Expected) << RectText(Bitmap.ClipArea());
}

INSTANTIATE_TEST_SUITE_P(
    Areas, SetClipAreaTest,
    testing::Values(TClipCase{"ReachingOutTopLeft", {-10, -10, 20, 20}, {0, 0, 20, 20}},
                    TClipCase{"WhollyOutside", {200, 0, 300, 10}, {0, 0, 0, 0}},
                    TClipCase{"TouchingTheRightEdge", {100, 0, 200, 10}, {100, 0, 100, 10}},
                    TClipCase{"Inside", {10, 5, 20, 15}, {10, 5, 20, 15}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Bitmap32Test, FillAllOnEmptyBitmapDoesNothing) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(0, 5);
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.FillAll(0xFFFFFFFF);
    EXPECT_THAT(Recorder.Events, IsEmpty());
}

TEST(Bitmap32Test, FillAllWritesOnlyTheClipArea) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(6, 4);
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.FillAll(0xFF112233);
    EXPECT_EQ(CountPixelsNotEqual(Bitmap, 0xFF112233), 0);
    EXPECT_THAT(Recorder.Events, ElementsAre("area (0, 0, 6, 4)", "change"));

    Bitmap.SetClipArea(TRect{1, 1, 3, 4});
    Bitmap.FillAll(0);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 6; ++X) {
            const bool InClip = X >= 1 && X < 3 && Y >= 1;
            EXPECT_EQ(Bitmap.Pixel(X, Y), InClip ? 0u : 0xFF112233u) << X << ", " << Y;
        }
    EXPECT_GE(Recorder.Count("change"), 2);
}

struct TFillAreaCase {
    const char* Name;
    TRect Clip;
    TRect Area;
    TRect Written; // the pixels that must change, (0, 0, 0, 0) for none
};

class FillAreaTest : public testing::TestWithParam<TFillAreaCase> {};

TEST_P(FillAreaTest, WritesTheAreaCutToTheClipAndAlwaysAnnounces) {
    const TFillAreaCase& C = GetParam();
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(10, 8);
    Bitmap.SetClipArea(C.Clip);
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.FillArea(C.Area, 0xFFABCDEF);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 10; ++X) {
            const bool Inside = X >= C.Written.Left && X < C.Written.Right && Y >= C.Written.Top &&
                                Y < C.Written.Bottom;
            EXPECT_EQ(Bitmap.Pixel(X, Y), Inside ? 0xFFABCDEFu : 0u) << X << ", " << Y;
        }
    EXPECT_THAT(Recorder.Events, ElementsAre("area " + RectText(C.Area), "change"));
}

INSTANTIATE_TEST_SUITE_P(Areas, FillAreaTest,
                         testing::Values(
                             TFillAreaCase{
                                 "ReachingOutTopLeft", {0, 0, 10, 8}, {-5, -5, 3, 3}, {0, 0, 3, 3}},
                             TFillAreaCase{"CutToClip", {2, 2, 6, 6}, {0, 0, 4, 10}, {2, 2, 4, 6}},
                             TFillAreaCase{"OutsideClip", {2, 2, 6, 6}, {6, 0, 9, 8}, {0, 0, 0, 0}},
                             TFillAreaCase{"EmptyArea", {0, 0, 10, 8}, {4, 4, 4, 8}, {0, 0, 0, 0}},
                             TFillAreaCase{"Inverted", {0, 0, 10, 8}, {5, 5, 2, 2}, {0, 0, 0, 0}}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Bitmap32Test, BatchHoldsChangesButNotResizeOrStore) {
    TBitmap32 Bitmap;
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.BeginBatch();
    Bitmap.BeginBatch();
    Bitmap.SetDimensions(3, 3);
    Bitmap.FillAll(1);
    Bitmap.EndBatch();
    Bitmap.MirrorHorizontal();
    EXPECT_THAT(Recorder.Events, ElementsAre("store", "resize"));
    Bitmap.EndBatch();
    Bitmap.NotifyChanged();
    EXPECT_THAT(Recorder.Events, ElementsAre("store", "resize", "area (0, 0, 3, 3)", "change"));
}

TEST(Bitmap32Test, LockIsRecursiveAndCountsHolders) {
    TBitmap32 Bitmap;
    Bitmap.AcquireLock();
    Bitmap.AcquireLock();
    EXPECT_EQ(Bitmap.LockCount(), 2);
    Bitmap.ReleaseLock();
    EXPECT_EQ(Bitmap.LockCount(), 1);
    Bitmap.ReleaseLock();
    EXPECT_EQ(Bitmap.LockCount(), 0);
}

namespace {

class TCountingResampler final : public TBitmap32Resampler {
public:
    const char* ClassName() const noexcept override { return "TCountingResampler"; }
    void Resample(TBitmap32&, const TRect&, const TRect&, const TBitmap32&,
                  const TRect&) const override {
        ++Calls;
    }
    static inline int Calls = 0;
};

} // namespace

TEST(Bitmap32Test, ResamplerClassNameSwitchesOnlyToRegisteredClasses) {
    RegisterResamplerClass("TCountingResampler",
                           [] { return std::make_unique<TCountingResampler>(); });
    TBitmap32 Bitmap;
    TNotificationRecorder Recorder(Bitmap);

    for (const char* Ignored : {"", "TNearestResampler", "TUnknownResampler", "tnearestresampler"})
        Bitmap.SetResamplerClassName(Ignored);
    EXPECT_EQ(Bitmap.ResamplerClassName(), "TNearestResampler");
    EXPECT_THAT(Recorder.Events, IsEmpty());

    Bitmap.SetResamplerClassName("TCountingResampler");
    EXPECT_EQ(Bitmap.ResamplerClassName(), "TCountingResampler");
    EXPECT_EQ(Recorder.Count("change"), 1);

    // The resampler that scales is the source's.
    TBitmap32 Target;
    Target.SetDimensions(8, 8);
    Bitmap.SetDimensions(2, 2);
    TCountingResampler::Calls = 0;
    Target.DrawFrom(TRect{0, 0, 8, 8}, TRect{0, 0, 2, 2}, &Bitmap);
    EXPECT_EQ(TCountingResampler::Calls, 1);

    // A copy takes the resampler class too.
    Target.CopyFrom(&Bitmap);
    EXPECT_EQ(Target.ResamplerClassName(), "TCountingResampler");
}

TEST(Bitmap32Test, DestructionAnnouncesStoreAndResizeButNoChange) {
    std::vector<std::string> Events;
    {
        TBitmap32 Bitmap;
        Bitmap.SetDimensions(4, 4);
        Bitmap.OnHandleChanged = [&Events](TBitmap32&) { Events.push_back("store"); };
        Bitmap.OnChange = [&Events](TBitmap32&) { Events.push_back("change"); };
        Bitmap.OnResize = [&Events](TBitmap32& Sender) {
            Events.push_back("resize to " + std::to_string(Sender.Width()));
        };
    }
    EXPECT_THAT(Events, ElementsAre("store", "resize to 0"));
}

// Large stores are recycled: a bitmap that gets the memory another one gave back must still read
// as zero-filled everywhere it has not written, whichever way it is reached first.
struct TReuseCase {
    const char* Name;
    void (*FirstUse)(TBitmap32& Reused, const TBitmap32& Source);
    TRect Written; // what FirstUse wrote from Source (CoordPixel values)
};

class ReusedStoreTest : public testing::TestWithParam<TReuseCase> {};

TEST_P(ReusedStoreTest, ReadsAsZeroWhereNothingWasWritten) {
    constexpr int W = 1500;
    constexpr int H = 1000; // 6 MB: large enough to be kept for reuse
    TBitmap32 Source;
    FillWithCoordinates(Source, W, H);
    {
        TBitmap32 Previous;
        Previous.SetDimensions(W, H);
        Previous.FillAll(0xFFFFFFFF);
    }
    TBitmap32 Reused;
    Reused.SetDimensions(W - 10, H);
    GetParam().FirstUse(Reused, Source);
    const TRect& R = GetParam().Written;
    for (int Y = 0; Y < Reused.Height(); ++Y)
        for (int X = 0; X < Reused.Width(); ++X) {
            const bool Inside = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
            ASSERT_EQ(Reused.Pixel(X, Y), Inside ? CoordPixel(X, Y) : 0u) << X << ", " << Y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    FirstUses, ReusedStoreTest,
    testing::Values(
        TReuseCase{"Read", [](TBitmap32&, const TBitmap32&) {}, {0, 0, 0, 0}},
        TReuseCase{
            "BlockCopyInTheMiddle",
            [](TBitmap32& Reused, const TBitmap32& Source) {
                Reused.DrawFrom(TRect{100, 200, 400, 300}, TRect{100, 200, 400, 300}, &Source);
            },
            {100, 200, 400, 300}},
        TReuseCase{"StretchReachingOut",
                   [](TBitmap32& Reused, const TBitmap32& Source) {
                       Reused.SetClipArea(TRect{0, 500, 700, 1000});
                       Reused.DrawFrom(TRect{0, 0, 1490, 1000}, TRect{0, 0, 1490, 1000}, &Source);
                   },
                   {0, 500, 700, 1000}},
        TReuseCase{"FillAreaOfZeroWidth",
                   [](TBitmap32& Reused, const TBitmap32&) {
                       Reused.FillArea(TRect{5, 5, 5, 9}, 0xFFFFFFFF);
                   },
                   {0, 0, 0, 0}},
        TReuseCase{"CopiedOnward",
                   [](TBitmap32& Reused, const TBitmap32&) {
                       TBitmap32 Copy;
                       Copy.CopyFrom(&Reused);
                       Reused.TakeFrom(Copy);
                   },
                   {0, 0, 0, 0}},
        TReuseCase{"MirroredUntouched",
                   [](TBitmap32& Reused, const TBitmap32&) { Reused.MirrorVertical(); },
                   {0, 0, 0, 0}}),
    [](const auto& Info) { return std::string(Info.param.Name); });
