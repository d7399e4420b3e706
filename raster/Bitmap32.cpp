#include "raster/Bitmap32.h"

#include "raster/Finally.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

TBitmap32::TBitmap32() : FResampler(std::make_unique<TNearestResampler>()) {}

TBitmap32::~TBitmap32() {
    BeginBatch();
    AcquireLock();
    SetDimensions(0, 0);
    FResampler.reset();
    ReleaseLock();
}

bool TBitmap32::SetDimensions(int NewWidth, int NewHeight) {
    NewWidth = std::max(NewWidth, 0);
    NewHeight = std::max(NewHeight, 0);
    if (NewWidth == FWidth && NewHeight == FHeight)
        return false;
    ReplaceStore(NewWidth, NewHeight);
    NotifyChanged();
    NotifyResized();
    return true;
}

void TBitmap32::ReleaseStore() noexcept {
    FPixels.reset();
    FWidth = 0;
    FHeight = 0;
    FClipArea = TRect{0, 0, 0, 0};
}

void TBitmap32::ReplaceStore(int NewWidth, int NewHeight) {
    TryFinally(
        [&] {
            ReleaseStore();
            if (NewWidth > 0 && NewHeight > 0)
                FPixels = AllocateStore(NewWidth, NewHeight);
            FWidth = NewWidth;
            FHeight = NewHeight;
            SetClipArea(FullArea());
        },
        [this] { NotifyStoreReplaced(); });
}

TBitmap32::TPixelStore TBitmap32::AllocateStore(int Width, int Height) {
    // Both factors are below 2^31, so the pixel count cannot overflow 64 bits; the byte count
    // must also be addressable before the allocator sees it.
    const auto PixelCount = static_cast<std::uint64_t>(Width) * static_cast<std::uint64_t>(Height);
    constexpr auto MaxPixels =
        static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) / sizeof(TColor32);
    if (PixelCount > MaxPixels)
        throw Exception(CantAllocateDibMessage);
    // calloc hands out zero-filled memory, lazily zeroed by the system for large blocks.
    TPixelStore Store(static_cast<TColor32*>(
        std::calloc(static_cast<std::size_t>(PixelCount), sizeof(TColor32))));
    if (!Store)
        throw Exception(CantAllocateDibMessage);
    return Store;
}

void TBitmap32::CopyFrom(const TBitmap32* Source) {
    BeginBatch();
    TryFinally(
        [&] {
            if (!Source) {
                SetDimensions(0, 0);
                return;
            }
            SetDimensions(Source->FWidth, Source->FHeight);
            if (!Source->IsEmpty() && Source != this)
                std::memcpy(FPixels.get(), Source->FPixels.get(), StoreBytes());
            CopySettingsFrom(*Source);
        },
        [this] {
            EndBatch();
            NotifyChanged();
        });
}

void TBitmap32::TakeFrom(TBitmap32& Source) {
    if (&Source == this)
        return CopyFrom(&Source);
    BeginBatch();
    TryFinally(
        [&] {
            const bool SizeChanged = Source.FWidth != FWidth || Source.FHeight != FHeight;
            TryFinally(
                [&] {
                    ReleaseStore();
                    FPixels = std::move(Source.FPixels);
                    FWidth = Source.FWidth;
                    FHeight = Source.FHeight;
                    SetClipArea(FullArea());
                    Source.ReleaseStore();
                },
                [&] {
                    if (SizeChanged)
                        NotifyStoreReplaced();
                });
            if (SizeChanged) {
                NotifyChanged();
                NotifyResized();
            }
            CopySettingsFrom(Source);
        },
        [this] {
            EndBatch();
            NotifyChanged();
        });
}

void TBitmap32::CopySettingsFrom(const TBitmap32& Source) {
    SetDrawMode(Source.FDrawMode);
    SetCombineMode(Source.FCombineMode);
    SetWrapMode(Source.FWrapMode);
    SetMasterAlpha(Source.FMasterAlpha);
    FOuterColor = Source.FOuterColor;
    SetResamplerClassName(Source.ResamplerClassName());
    FResampler->AssignSettings(*Source.FResampler);
}

void TBitmap32::SetClipArea(const TRect& Area) { FClipArea = IntersectRects(Area, FullArea()); }

void TBitmap32::FillRect(const TRect& Area, TColor32 Value) noexcept {
    const auto RowLength = static_cast<std::size_t>(Area.Right - Area.Left);
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        std::fill_n(ScanLine(Y) + Area.Left, RowLength, Value);
}

void TBitmap32::FillAll(TColor32 Value) {
    if (IsEmpty())
        return;
    if (FClipArea == FullArea()) {
        std::fill_n(FPixels.get(), StoreBytes() / sizeof(TColor32), Value);
    } else {
        FillRect(FClipArea, Value);
        NotifyAreaChanged(FClipArea, AREAINFO_RECT);
    }
    NotifyChanged();
}

void TBitmap32::FillArea(const TRect& Area, TColor32 Value) {
    const TRect& C = FClipArea;
    if (!RectIsEmpty(Area) && Area.Left < C.Right && Area.Top < C.Bottom && Area.Right > C.Left &&
        Area.Bottom > C.Top)
        FillRect(IntersectRects(Area, C), Value);
    NotifyAreaChanged(Area, AREAINFO_RECT);
}

void TBitmap32::NotifyChanged() { NotifyAreaChanged(FullArea(), AREAINFO_RECT); }

void TBitmap32::NotifyAreaChanged(const TRect& Area, std::uint32_t Info) {
    if (FBatchDepth != 0)
        return;
    if (OnAreaChanged)
        OnAreaChanged(*this, Area, Info);
    if (OnChange)
        OnChange(*this);
}

void TBitmap32::NotifyResized() {
    if (OnResize)
        OnResize(*this);
}

void TBitmap32::NotifyStoreReplaced() {
    if (OnHandleChanged)
        OnHandleChanged(*this);
}

void TBitmap32::AcquireLock() {
    ++FLockCount;
    FLock.lock();
}

void TBitmap32::ReleaseLock() {
    FLock.unlock();
    --FLockCount;
}

void TBitmap32::SetDrawMode(TDrawMode Value) {
    if (Value != FDrawMode) {
        FDrawMode = Value;
        NotifyChanged();
    }
}

void TBitmap32::SetCombineMode(TCombineMode Value) {
    if (Value != FCombineMode) {
        FCombineMode = Value;
        NotifyChanged();
    }
}

void TBitmap32::SetWrapMode(TWrapMode Value) {
    if (Value != FWrapMode) {
        FWrapMode = Value;
        NotifyChanged();
    }
}

void TBitmap32::SetMasterAlpha(std::uint32_t Value) {
    if (Value != FMasterAlpha) {
        FMasterAlpha = Value;
        NotifyChanged();
    }
}

std::string TBitmap32::ResamplerClassName() const { return FResampler->ClassName(); }

void TBitmap32::SetResamplerClassName(const std::string& ClassName) {
    if (ClassName.empty() || ClassName == FResampler->ClassName())
        return;
    if (const auto Factory = FindResamplerClass(ClassName)) {
        FResampler = Factory();
        NotifyChanged();
    }
}
