#include "raster/Bitmap32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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
    FZeroFillOwed = false;
    FWidth = 0;
    FHeight = 0;
    FClipArea = TRect{0, 0, 0, 0};
}

void TBitmap32::ReplaceStore(int NewWidth, int NewHeight) {
    TryFinally(
        [&] {
            ReleaseStore();
            if (NewWidth > 0 && NewHeight > 0)
                AllocateStore(NewWidth, NewHeight);
            FWidth = NewWidth;
            FHeight = NewHeight;
            SetClipArea(FullArea());
        },
        [this] { NotifyStoreReplaced(); });
}

void TBitmap32::AllocateStore(int Width, int Height) {
    // Both factors are below 2^31, so the pixel count cannot overflow 64 bits.
    TPixelAllocation Allocation =
        AllocatePixelBlock(static_cast<std::uint64_t>(Width) * static_cast<std::uint64_t>(Height));
    if (!Allocation.Block)
        throw Exception(CantAllocateDibMessage);
    FPixels = std::move(Allocation.Block);
    FZeroFillOwed = !Allocation.Zeroed;
}

void TBitmap32::ZeroFillNow() const noexcept {
    std::memset(FPixels.get(), 0, StoreBytes());
    FZeroFillOwed = false;
}

TColor32* TBitmap32::PixelsForOverwrite(const TRect& Area) noexcept {
    TColor32* const Pixels = FPixels.get();
    if (!FZeroFillOwed)
        return Pixels;
    const auto RowPixels = static_cast<std::size_t>(FWidth);
    const auto Clear = [](TColor32* From, std::size_t Count) {
        std::memset(From, 0, Count * sizeof(TColor32));
    };
    Clear(Pixels, static_cast<std::size_t>(Area.Top) * RowPixels);
    for (int Y = Area.Top; Y < Area.Bottom; ++Y) {
        TColor32* const Row = Pixels + static_cast<std::size_t>(Y) * RowPixels;
        Clear(Row, static_cast<std::size_t>(Area.Left));
        Clear(Row + Area.Right, static_cast<std::size_t>(FWidth - Area.Right));
    }
    Clear(Pixels + static_cast<std::size_t>(Area.Bottom) * RowPixels,
          static_cast<std::size_t>(FHeight - Area.Bottom) * RowPixels);
    FZeroFillOwed = false;
    return Pixels;
}

void TBitmap32::CopyFrom(const TBitmap32* Source) {
    InOneChange([&] {
        if (!Source) {
            SetDimensions(0, 0);
            return;
        }
        SetDimensions(Source->FWidth, Source->FHeight);
        if (!Source->IsEmpty() && Source != this)
            std::memcpy(PixelsForOverwrite(FullArea()), Source->Store(), StoreBytes());
        CopySettingsFrom(*Source);
    });
}

void TBitmap32::TakeFrom(TBitmap32& Source) {
    if (&Source == this)
        return CopyFrom(&Source);
    InOneChange([&] {
        const bool SizeChanged = Source.FWidth != FWidth || Source.FHeight != FHeight;
        ReleaseStore();
        FPixels = std::move(Source.FPixels);
        FZeroFillOwed = Source.FZeroFillOwed;
        FWidth = Source.FWidth;
        FHeight = Source.FHeight;
        SetClipArea(FullArea());
        Source.ReleaseStore();
        // What SetDimensions announces when CopyFrom changes the size.
        if (SizeChanged) {
            NotifyStoreReplaced();
            NotifyChanged();
            NotifyResized();
        }
        CopySettingsFrom(Source);
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

void TBitmap32::SetClipArea(const TRect& Area) {
    FClipArea = IntersectRects(Area, FullArea());
}

void TBitmap32::FillRect(const TRect& Area, TColor32 Value) noexcept {
    const auto RowLength = static_cast<std::size_t>(Area.Right - Area.Left);
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        std::fill_n(ScanLine(Y) + Area.Left, RowLength, Value);
}

void TBitmap32::FillAll(TColor32 Value) {
    if (IsEmpty())
        return;
    if (FClipArea == FullArea()) {
        std::fill_n(PixelsForOverwrite(FullArea()), StoreBytes() / sizeof(TColor32), Value);
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

void TBitmap32::NotifyChanged() {
    NotifyAreaChanged(FullArea(), AREAINFO_RECT);
}

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

std::string TBitmap32::ResamplerClassName() const {
    return FResampler->ClassName();
}

void TBitmap32::SetResamplerClassName(const std::string& ClassName) {
    if (ClassName.empty() || ClassName == FResampler->ClassName())
        return;
    if (const auto Factory = FindResamplerClass(ClassName)) {
        FResampler = Factory();
        NotifyChanged();
    }
}
