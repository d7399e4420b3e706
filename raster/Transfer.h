#pragma once

// Transfers of rectangles between bitmaps. TBitmap32::DrawFrom calls TransferRect, which clips
// once and then hands the clipped area to a loop that checks nothing more: BlockCopy when source
// and destination rectangles have the same size, the source's resampler otherwise.

#include "raster/Bitmap32.h"

DECLARE_EXCEPTION_CLASS(ESrcInvalidException, Exception);

inline constexpr const char* SrcInvalidMessage = "Source rectangle is invalid";

// Copies SrcRect of Src into DstRect of Dst, writing only inside Clip cut to Dst and DstRect,
// and announces DstRect on Dst (one OnChange). Does nothing and announces nothing when Src, Dst
// or SrcRect is empty or the clip comes out empty. Throws ESrcInvalidException when SrcRect
// reaches outside Src, before any clipping. Under the opaque draw mode a destination pixel is
// replaced by the source pixel, alpha included; the other draw modes also copy opaquely.
void TransferRect(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                  const TRect& SrcRect, const TCustomResampler& Resampler, TDrawMode DrawMode,
                  const TPixelCombineEvent& CombineCallback);

// Copies Area's pixels of Dst from Src, starting at source pixel (SrcX, SrcY), a row at a time.
// Not validated: Area lies inside Dst and the source block inside Src.
void BlockCopy(TBitmap32& Dst, const TRect& Area, const TBitmap32& Src, int SrcX, int SrcY);

// Nearest-neighbour stretch of SrcRect of Src onto DstRect of Dst, computing only the part Clip.
// Column x of DstRect takes source column floor(x * ScaleX) + SrcRect.Left with ScaleX the
// single-precision quotient SrcW / DstW (the middle column when DstW is 1); rows likewise.
// Not validated: Clip is not empty and lies inside Dst and DstRect; SrcRect lies inside Src.
void NearestStretch(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                    const TRect& SrcRect);

// The source row that NearestStretch takes for destination row Index (counted from the top of a
// destination DstLength rows high) when the source rows are [SrcStart, SrcEnd); columns alike.
// Not validated: 0 <= Index < DstLength and SrcStart < SrcEnd.
int NearestSourceIndex(std::int64_t Index, std::int64_t DstLength, int SrcStart, int SrcEnd);
