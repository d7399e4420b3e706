#pragma once

// Resamplers scale a bitmap when it is the source of a transfer between rectangles of unequal
// size. Each bitmap owns one; the only one the program uses is TNearestResampler. Classes are
// found by name in a process-wide registry, so a bitmap can switch its resampler by class name.

#include "raster/Rect.h"

#include <functional>
#include <memory>
#include <string>

class TBitmap32;

class TCustomResampler {
public:
    virtual ~TCustomResampler() = default;

    virtual const char* ClassName() const noexcept = 0;

    // Fills the part Clip of DstRect in Dst from SrcRect of Src. Clip lies inside DstRect and
    // inside Dst, is not empty, and SrcRect lies inside Src; callers check this (TransferRect).
    virtual void Resample(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip,
                          const TBitmap32& Src, const TRect& SrcRect) const = 0;

    // Takes the settings of another resampler where it has the same kind of settings.
    virtual void AssignSettings(const TCustomResampler& Source) = 0;
};

enum class TPixelAccessMode : std::uint8_t { pamUnsafe, pamSafe, pamWrap, pamTransparentEdge };

class TBitmap32Resampler : public TCustomResampler {
public:
    TPixelAccessMode PixelAccessMode() const noexcept { return FPixelAccessMode; }
    void SetPixelAccessMode(TPixelAccessMode Value) noexcept { FPixelAccessMode = Value; }

    void AssignSettings(const TCustomResampler& Source) override;

private:
    TPixelAccessMode FPixelAccessMode = TPixelAccessMode::pamSafe;
};

// Nearest-neighbour sampling: every destination pixel is a copy of one source pixel.
class TNearestResampler final : public TBitmap32Resampler {
public:
    const char* ClassName() const noexcept override { return "TNearestResampler"; }
    void Resample(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                  const TRect& SrcRect) const override;
};

using TResamplerFactory = std::function<std::unique_ptr<TCustomResampler>()>;

// Adds a resampler class to the registry, or replaces the factory of a class of that name.
void RegisterResamplerClass(const std::string& ClassName, TResamplerFactory Factory);

// The factory registered under exactly this name (case-sensitive), or an empty one.
TResamplerFactory FindResamplerClass(const std::string& ClassName);
