#pragma once

// TBitmap32: a rectangle of 32-bit pixels in one contiguous, zero-filled block, rows top-down
// with no gap between them, so pixel (x, y) is element y * Width + x. Every picture the program
// holds is one. A bitmap announces its changes to whoever listens (the image views do):
//
//   OnAreaChanged(Area, Info) then OnChange  after pixels, size or settings changed; held back
//                                            while a batch is open (BeginBatch/EndBatch)
//   OnResize                                 after the dimensions changed, never held back
//   OnHandleChanged                          after the pixel store was replaced, never held back
//
// Which operation announces what: SetDimensions that changed the size gives one OnChange and one
// OnResize; CopyFrom one OnChange at its end (and OnResize if the size changed); a DrawFrom that
// transferred one OnChange; each mirror one OnChange; fills at least one OnChange.
//
// A bitmap's owner must unhook its own handlers before the bitmap is destroyed: destruction
// still calls OnHandleChanged and OnResize when the bitmap had a size.

#include "base/Exception.h"
#include "base/Finally.h"
#include "raster/PixelStore.h"
#include "raster/Rect.h"
#include "raster/Resampler.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

// A pixel, 0xAARRGGBB; in memory blue, green, red, alpha. Alpha 255 is opaque.
using TColor32 = std::uint32_t;

class TBitmap32;
class TBitmap;
class TPicture;
enum class TPixelFormat : std::uint8_t;

enum class TDrawMode : std::uint8_t { dmOpaque, dmBlend, dmCustom, dmTransparent };
enum class TCombineMode : std::uint8_t { cmBlend, cmMerge };
enum class TWrapMode : std::uint8_t { wmClamp, wmRepeat, wmMirror };

using TNotifyEvent = std::function<void(TBitmap32& Sender)>;
using TAreaChangedEvent =
    std::function<void(TBitmap32& Sender, const TRect& Area, std::uint32_t Info)>;
using TPixelCombineEvent =
    std::function<void(TColor32 Foreground, TColor32& Background, std::uint32_t MasterAlpha)>;

// The Info value that every change announcement carries.
inline constexpr std::uint32_t AREAINFO_RECT = 0x80000000u;

class TBitmap32 {
public:
    TBitmap32();
    ~TBitmap32();
    TBitmap32(const TBitmap32&) = delete;
    TBitmap32& operator=(const TBitmap32&) = delete;

    // Size.
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    TRect FullArea() const noexcept { return TRect{0, 0, FWidth, FHeight}; }
    // True when there is no pixel store, that is when Width or Height is 0.
    bool IsEmpty() const noexcept { return !FPixels || FWidth == 0 || FHeight == 0; }

    // Gives the bitmap a fresh, zero-filled store of the new size (negative values count as 0)
    // and returns true; returns false and does nothing when the size is already this one.
    // Throws Exception "Can't allocate the DIB handle" when the store cannot be had; the bitmap
    // is then 0 by 0, OnHandleChanged has been called, OnChange and OnResize have not.
    bool SetDimensions(int NewWidth, int NewHeight);

    // Pixel store, null while the bitmap is empty. Callers keep x and y inside FullArea and
    // announce what they changed.
    //
    // Threads: a fresh store may still owe its zero fill (a reused block), which the first access
    // through PixelData, ScanLine or Pixel pays, and PixelsForOverwrite settles for an area about
    // to be written whole. That first access changes the bitmap, so before rows of a bitmap are
    // shared between threads (base/ForkJoin.h), the sharing thread settles the store with one
    // call of PixelData() or PixelsForOverwrite(); after that, threads that read or write
    // distinct rows (and change nothing else of the bitmap) need no lock.
    TColor32* PixelData() noexcept { return Store(); }
    const TColor32* PixelData() const noexcept { return Store(); }
    TColor32* ScanLine(int Y) noexcept { return Store() + std::int64_t{Y} * FWidth; }
    const TColor32* ScanLine(int Y) const noexcept { return Store() + std::int64_t{Y} * FWidth; }
    TColor32 Pixel(int X, int Y) const noexcept { return ScanLine(Y)[X]; }

    // The store for an operation that is about to write every pixel of Area (which lies inside
    // FullArea). Where the store has not been zero-filled yet, only the rest of it is cleared.
    TColor32* PixelsForOverwrite(const TRect& Area) noexcept;

    // Takes size, pixels and settings of Source; none makes the bitmap 0 by 0. Announces one
    // OnChange at the end, also when an error passes through.
    void CopyFrom(const TBitmap32* Source);
    // As CopyFrom, but takes over Source's store instead of copying it; Source is left 0 by 0
    // without announcing anything. This bitmap announces what CopyFrom would.
    void TakeFrom(TBitmap32& Source);

    // Interchange with device-independent bitmaps and picture files (Bitmap32Interchange.cpp).
    // CopyFrom takes Source's size and pixels upright; alpha becomes 255, or the fourth byte of a
    // 32-bit TBitmap. Settings are kept. One OnChange at the end, also when an error passes.
    void CopyFrom(const TBitmap& Source);
    void CopyFrom(const TPicture& Source);
    // Makes Target a 32-bit TBitmap of this size holding these pixels upright, alpha in the
    // fourth byte. The second form then changes Target to Format, for pf24bit in the same pass.
    // This bitmap is not changed.
    void CopyTo(TBitmap& Target) const;
    void CopyTo(TBitmap& Target, TPixelFormat Format) const;
    // Takes the size and pixels of the picture file FileName, read by the kind its extension
    // names (raster/Picture.h), with alpha 255, and announces the change once. Every error, of
    // finding, opening, reading or decoding the file (EInvalidGraphic, EFOpenError, EJPEG and
    // the kinds' own) or of memory, leaves the bitmap untouched and announces nothing.
    void LoadPictureFile(const std::string& FileName);

    // Clip area: transfers and fills into the bitmap write only inside it.
    const TRect& ClipArea() const noexcept { return FClipArea; }
    void SetClipArea(const TRect& Area);

    void FillAll(TColor32 Value);
    void FillArea(const TRect& Area, TColor32 Value);

    // Copies SrcRect of Source into DstRect of this bitmap: a block copy when the two have the
    // same size, otherwise Source's resampler scales. Writes only inside ClipArea. Does nothing
    // without a source, from or into an empty bitmap, or for an empty SrcRect; throws
    // ESrcInvalidException when SrcRect reaches outside Source.
    void DrawFrom(const TRect& DstRect, const TRect& SrcRect, const TBitmap32* Source);

    // Reverse the columns, or the rows, in place. Both together turn the bitmap by 180 degrees.
    void MirrorHorizontal();
    void MirrorVertical();

    // Notification protocol.
    void BeginBatch() noexcept { ++FBatchDepth; }
    void EndBatch() noexcept { --FBatchDepth; }
    int BatchDepth() const noexcept { return FBatchDepth; }
    void NotifyChanged();
    void NotifyAreaChanged(const TRect& Area, std::uint32_t Info);

    // Recursive lock, held by a view while it draws the bitmap.
    void AcquireLock();
    void ReleaseLock();
    int LockCount() const noexcept { return FLockCount.load(); }

    // Settings. Only their defaults are used: opaque drawing and nearest-neighbour scaling.
    TDrawMode DrawMode() const noexcept { return FDrawMode; }
    void SetDrawMode(TDrawMode Value);
    TCombineMode CombineMode() const noexcept { return FCombineMode; }
    void SetCombineMode(TCombineMode Value);
    TWrapMode WrapMode() const noexcept { return FWrapMode; }
    void SetWrapMode(TWrapMode Value);
    std::uint32_t MasterAlpha() const noexcept { return FMasterAlpha; }
    void SetMasterAlpha(std::uint32_t Value);
    TColor32 OuterColor() const noexcept { return FOuterColor; }
    void SetOuterColor(TColor32 Value) noexcept { FOuterColor = Value; }

    const TCustomResampler& Resampler() const noexcept { return *FResampler; }
    TCustomResampler& Resampler() noexcept { return *FResampler; }
    std::string ResamplerClassName() const;
    // Switches to the registered resampler class of that name; an empty name, the current class
    // or an unknown name change nothing.
    void SetResamplerClassName(const std::string& ClassName);

    TNotifyEvent OnChange;
    TNotifyEvent OnResize;
    TNotifyEvent OnHandleChanged;
    TAreaChangedEvent OnAreaChanged;
    TPixelCombineEvent OnPixelCombine;

private:
    using TPixelStore = TPixelBlock;

    // Runs Work with the change notifications held, then announces one change: also when Work
    // throws, whose error then continues.
    template <class TWork>
    void InOneChange(TWork&& Work) {
        BeginBatch();
        TryFinally(std::forward<TWork>(Work), [this] {
            EndBatch();
            NotifyChanged();
        });
    }

    // The store, zero-filled first if its zero fill is still owed. The deferred fill takes no
    // lock: it is settled before rows are shared between threads (see PixelData).
    TColor32* Store() const noexcept {
        if (FZeroFillOwed)
            ZeroFillNow();
        return FPixels.get();
    }
    void ZeroFillNow() const noexcept;
    void AllocateStore(int Width, int Height);
    std::size_t StoreBytes() const noexcept {
        return static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight) *
               sizeof(TColor32);
    }
    void ReplaceStore(int NewWidth, int NewHeight);
    void ReleaseStore() noexcept;
    void NotifyResized();
    void NotifyStoreReplaced();
    void CopySettingsFrom(const TBitmap32& Source);
    void FillRect(const TRect& Area, TColor32 Value) noexcept;

    int FBatchDepth = 0;
    std::recursive_mutex FLock;
    std::atomic<int> FLockCount{0};
    int FWidth = 0;
    int FHeight = 0;
    TPixelStore FPixels;
    // A reused block still holds old pixels; they are cleared on first access, except where the
    // first operation overwrites them anyway (PixelsForOverwrite).
    mutable bool FZeroFillOwed = false;
    TRect FClipArea{0, 0, 0, 0};
    TDrawMode FDrawMode = TDrawMode::dmOpaque;
    TCombineMode FCombineMode = TCombineMode::cmBlend;
    TWrapMode FWrapMode = TWrapMode::wmClamp;
    std::uint32_t FMasterAlpha = 255;
    TColor32 FOuterColor = 0;
    std::unique_ptr<TCustomResampler> FResampler;
};

// The store for Width x Height pixels cannot be had: too large to address, or refused.
inline constexpr const char* CantAllocateDibMessage = "Can't allocate the DIB handle";
